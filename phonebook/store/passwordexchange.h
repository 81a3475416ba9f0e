#pragma once

#include <QString>
#include <chrono>

// How a PostgreSQL server reached over TCP would take a password, asked before the
// password is given: the client library of this system (PostgreSQL 15) sends it to
// whichever server asks, in clear text too. Over TLS, or by SCRAM (which never sends
// the password), it is safe; a server that asks for it plainly or as MD5, without
// TLS, is not given it. This guards against a server set up so, and against a network
// that is only listened to; one that answers in the server's place can still lie.
enum class PasswordExchange {
    Safe, // TLS, SCRAM, no password asked, or a refusal the connection will tell
    InTheClear,
    Unknown, // no answer in time, or no server there: the connection will tell
};

struct PasswordServer {
    QString host;
    int port = 5432;
    QString user;       // the login name when empty, as the client library takes it
    QString database;   // the user's name when empty
    bool tryTls = true; // false for SSL Mode "disable" or "allow", which try without first
};

PasswordExchange passwordExchange(const PasswordServer &server,
                                  std::chrono::steady_clock::time_point deadline);
