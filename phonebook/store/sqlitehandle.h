#pragma once

#include <QString>
#include <memory>
#include <sqlite3.h>

// An SQLite database handle that closes itself, for the store, the tools and the tests.
struct SqliteCloser {
    void operator()(sqlite3 *db) const { sqlite3_close(db); }
};
using SqliteHandle = std::unique_ptr<sqlite3, SqliteCloser>;

// Opens a database file with SQLite's open flags and sets `code` to its answer; the
// handle is kept even when opening failed, for its message.
inline SqliteHandle openSqlite(const QString &path, int flags, int &code) {
    sqlite3 *raw = nullptr;
    code = sqlite3_open_v2(path.toUtf8().constData(), &raw, flags, nullptr);
    return SqliteHandle(raw);
}

// SQLite's words for the last failure on a handle.
inline QString sqliteMessage(sqlite3 *db) {
    return QString::fromUtf8(sqlite3_errmsg(db));
}
