#pragma once

#include <libpq-fe.h>

// The server's client library, loaded when the program first connects to a phone book
// server. Linked into the program, it and the libraries it needs (TLS, Kerberos, LDAP)
// would cost every start 3.5 ms, whether a server is ever used or not; Qt's PostgreSQL
// driver loads it the same way, when a server connection is made.
struct ClientLibrary {
    decltype(&::PQconnectStartParams) connectStartParams;
    decltype(&::PQconnectPoll) connectPoll;
    decltype(&::PQstatus) status;
    decltype(&::PQsocket) socket;
    decltype(&::PQsendQuery) sendQuery;
    decltype(&::PQisBusy) isBusy;
    decltype(&::PQconsumeInput) consumeInput;
    decltype(&::PQgetResult) getResult;
    decltype(&::PQclear) clear;
    decltype(&::PQfinish) finish;
    decltype(&::PQexec) exec;
    decltype(&::PQresultStatus) resultStatus;
    decltype(&::PQresultErrorMessage) resultErrorMessage;
    decltype(&::PQputCopyData) putCopyData;
    decltype(&::PQputCopyEnd) putCopyEnd;
    decltype(&::PQerrorMessage) errorMessage;
};

// The library, loaded on first use; raises a run-time error that names it when it is
// not there.
const ClientLibrary &clientLibrary();
