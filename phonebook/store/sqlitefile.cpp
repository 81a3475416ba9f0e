#include "phonebook/store/sqlitefile.h"

#include "phonebook/store/phonebooktable.h"
#include "phonebook/store/sqlitehandle.h"
#include "platform/filewriter.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>

namespace {

std::optional<long long> countIn(sqlite3 *db) {
    sqlite3_stmt *statement = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT count(*) FROM PHONEBOOK", -1, &statement, nullptr) !=
        SQLITE_OK)
        return std::nullopt;
    std::optional<long long> count;
    if (sqlite3_step(statement) == SQLITE_ROW)
        count = sqlite3_column_int64(statement, 0);
    sqlite3_finalize(statement);
    return count;
}

bool intact(sqlite3 *db) {
    sqlite3_stmt *statement = nullptr;
    if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &statement, nullptr) != SQLITE_OK)
        return false;
    const bool ok =
        sqlite3_step(statement) == SQLITE_ROW &&
        qstrcmp(reinterpret_cast<const char *>(sqlite3_column_text(statement, 0)), "ok") == 0;
    sqlite3_finalize(statement);
    return ok;
}

} // namespace

namespace SqliteFile {

QString create(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return file.exists() ? QStringLiteral("%1 already exists").arg(path) : file.errorString();
    file.close();
    int code = SQLITE_OK;
    SqliteHandle db = openSqlite(path, SQLITE_OPEN_READWRITE, code);
    QString failure;
    if (code != SQLITE_OK)
        failure = sqliteMessage(db.get());
    else if (sqlite3_exec(db.get(),
                          phoneBookSchema(Engine::SQLite).constFirst().toUtf8().constData(),
                          nullptr, nullptr, nullptr) != SQLITE_OK)
        failure = sqliteMessage(db.get());
    db.reset();
    if (!failure.isEmpty())
        QFile::remove(path);
    return failure;
}

std::optional<long long> contactCount(const QString &path) {
    if (!QFile::exists(path))
        return std::nullopt;
    int code = SQLITE_OK;
    SqliteHandle db = openSqlite(path, SQLITE_OPEN_READONLY, code);
    if (code != SQLITE_OK)
        return std::nullopt;
    return countIn(db.get());
}

QString copy(const QString &from, const QString &to) {
    int code = SQLITE_OK;
    SqliteHandle source = openSqlite(from, SQLITE_OPEN_READONLY, code);
    if (code != SQLITE_OK)
        return sqliteMessage(source.get());
    const std::optional<long long> contacts = countIn(source.get());
    if (!contacts)
        return QStringLiteral("%1 is not a phone book: %2").arg(from, sqliteMessage(source.get()));

    const QString staging = to + QStringLiteral(".copying");
    QFile::remove(staging);
    SqliteHandle target = openSqlite(
        staging, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_EXCLUSIVE, code);
    QString failure;
    if (code != SQLITE_OK) {
        failure = sqliteMessage(target.get());
    } else if (sqlite3_backup *backup =
                   sqlite3_backup_init(target.get(), "main", source.get(), "main")) {
        // A file that another program holds locked is waited for a little, page by page.
        int step = SQLITE_OK;
        for (int tries = 0; tries < 30; ++tries) {
            step = sqlite3_backup_step(backup, -1);
            if (step != SQLITE_BUSY && step != SQLITE_LOCKED)
                break;
            sqlite3_sleep(100);
        }
        sqlite3_backup_finish(backup);
        if (step != SQLITE_DONE)
            failure = sqliteMessage(target.get());
        else if (!intact(target.get()) || countIn(target.get()) != contacts)
            failure = QStringLiteral("the copy of %1 did not read back whole").arg(from);
    } else {
        failure = sqliteMessage(target.get());
    }
    if (failure.isEmpty() && sqlite3_exec(target.get(), "PRAGMA journal_mode=DELETE", nullptr,
                                          nullptr, nullptr) != SQLITE_OK)
        failure = sqliteMessage(target.get());
    target.reset();
    source.reset();
    if (failure.isEmpty() &&
        ::rename(QFile::encodeName(staging).constData(), QFile::encodeName(to).constData()) != 0)
        failure = qt_error_string(errno);
    if (failure.isEmpty())
        syncFolder(QFileInfo(to).absolutePath());
    if (!failure.isEmpty())
        QFile::remove(staging);
    return failure;
}

} // namespace SqliteFile
