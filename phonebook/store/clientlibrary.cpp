#include "phonebook/store/clientlibrary.h"

#include "phonebook/store/storetexts.h"
#include "platform/runtimeerror.h"

#include <QLibrary>

namespace {

template <typename Function> void resolve(QLibrary &library, Function &function, const char *name) {
    function = reinterpret_cast<Function>(library.resolve(name));
    if (!function)
        raiseError(ErrorNumber::DatabaseError,
                   StoreText::clientLibraryMissing(library.fileName(), library.errorString()));
}

ClientLibrary load() {
    QLibrary library(QStringLiteral("pq"), 5);
    if (!library.load())
        raiseError(
            ErrorNumber::DatabaseError,
            StoreText::clientLibraryMissing(QStringLiteral("libpq.so.5"), library.errorString()));
    ClientLibrary functions{};
    resolve(library, functions.connectStartParams, "PQconnectStartParams");
    resolve(library, functions.connectPoll, "PQconnectPoll");
    resolve(library, functions.status, "PQstatus");
    resolve(library, functions.socket, "PQsocket");
    resolve(library, functions.sendQuery, "PQsendQuery");
    resolve(library, functions.isBusy, "PQisBusy");
    resolve(library, functions.consumeInput, "PQconsumeInput");
    resolve(library, functions.getResult, "PQgetResult");
    resolve(library, functions.clear, "PQclear");
    resolve(library, functions.finish, "PQfinish");
    resolve(library, functions.exec, "PQexec");
    resolve(library, functions.resultStatus, "PQresultStatus");
    resolve(library, functions.resultErrorMessage, "PQresultErrorMessage");
    resolve(library, functions.putCopyData, "PQputCopyData");
    resolve(library, functions.putCopyEnd, "PQputCopyEnd");
    resolve(library, functions.errorMessage, "PQerrorMessage");
    // The library stays loaded for the rest of the run: the functions are kept.
    return functions;
}

} // namespace

const ClientLibrary &clientLibrary() {
    static const ClientLibrary functions = load();
    return functions;
}
