#include "phonebook/store/sqliteconnection.h"

#include "phonebook/store/phonebooksql.h"
#include "phonebook/store/sqlitehandle.h"
#include "phonebook/store/storetexts.h"
#include "platform/runtimeerror.h"

#include <QFile>
#include <QFileInfo>
#include <sqlite3.h>
#include <sys/stat.h>

namespace {
std::optional<SqliteConnection::FileIdentity> identityOf(const QString &path) {
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return std::nullopt;
    return SqliteConnection::FileIdentity{quint64(status.st_dev), quint64(status.st_ino)};
}

// How long a command waits for another program's write to end before it gives up.
constexpr int busyTimeoutMilliseconds = 3000;

// The statements of a file, as SQLite writes them.
const PhoneBookSql sqlite{Engine::SQLite};

// The column an engine message names after "PHONEBOOK.", or -1.
int columnNamedIn(const QString &message) {
    const qsizetype at = message.indexOf(QStringLiteral("PHONEBOOK."), 0, Qt::CaseInsensitive);
    if (at < 0)
        return -1;
    const QString rest = message.mid(at + 10);
    for (int i = 0; i < fieldCount; ++i) {
        if (rest.startsWith(columnName(i), Qt::CaseInsensitive))
            return i;
    }
    return -1;
}
} // namespace

// A prepared statement that is finalised however the step that uses it ends.
class SqliteConnection::Statement {
public:
    Statement(const SqliteConnection &connection, const QString &sql)
        : connection_(connection), statement_(connection.prepare(sql)), owned_(true) {}
    // A statement the connection keeps for use again: it is reset when done with.
    Statement(const SqliteConnection &connection, sqlite3_stmt *kept)
        : connection_(connection), statement_(kept), owned_(false) {}
    ~Statement() {
        if (owned_) {
            sqlite3_finalize(statement_);
        } else {
            sqlite3_reset(statement_);
            sqlite3_clear_bindings(statement_);
        }
    }
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    void bind(int parameter, const Value &value) {
        int code = SQLITE_OK;
        if (!value) {
            code = sqlite3_bind_null(statement_, parameter);
        } else {
            const QByteArray text = value->toUtf8();
            code = sqlite3_bind_text64(statement_, parameter, text.constData(),
                                       static_cast<sqlite3_uint64>(text.size()), SQLITE_TRANSIENT,
                                       SQLITE_UTF8);
        }
        if (code != SQLITE_OK)
            connection_.fail(code);
    }

    // A value as the bytes it was read as, compared as text of exactly those bytes.
    void bindStored(int parameter, const std::optional<std::string_view> &bytes) {
        const int code = bytes ? sqlite3_bind_text64(statement_, parameter, bytes->data(),
                                                     static_cast<sqlite3_uint64>(bytes->size()),
                                                     SQLITE_TRANSIENT, SQLITE_UTF8)
                               : sqlite3_bind_null(statement_, parameter);
        if (code != SQLITE_OK)
            connection_.fail(code);
    }

    // Steps once: true while there is a row, false when done.
    bool step(const std::vector<Change> &changes = {}) {
        const int code = sqlite3_step(statement_);
        if (code == SQLITE_ROW)
            return true;
        if (code == SQLITE_DONE)
            return false;
        connection_.fail(code, changes);
    }

    RowTable::RawValues raw() const {
        RowTable::RawValues values;
        for (int i = 0; i < fieldCount; ++i) {
            if (sqlite3_column_type(statement_, i) == SQLITE_NULL)
                continue;
            const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(statement_, i));
            const int bytes = sqlite3_column_bytes(statement_, i);
            values[static_cast<size_t>(i)] =
                std::string_view(text ? text : "", static_cast<size_t>(bytes));
        }
        return values;
    }

    StoredValues stored() const {
        StoredValues stored;
        const RowTable::RawValues bytes = raw();
        for (int i = 0; i < fieldCount; ++i) {
            if (const auto &value = bytes[static_cast<size_t>(i)])
                stored[static_cast<size_t>(i)] = std::string(*value);
        }
        return stored;
    }

    Values values() const {
        Values values;
        const RowTable::RawValues bytes = raw();
        for (int i = 0; i < fieldCount; ++i)
            values[static_cast<size_t>(i)] = toValue(bytes[static_cast<size_t>(i)]);
        return values;
    }

    QString text(int column) const {
        return QString::fromUtf8(
            reinterpret_cast<const char *>(sqlite3_column_text(statement_, column)));
    }
    int integer(int column) const { return sqlite3_column_int(statement_, column); }

private:
    const SqliteConnection &connection_;
    sqlite3_stmt *statement_ = nullptr;
    bool owned_;
};

sqlite3_stmt *SqliteConnection::prepare(const QString &sql) const {
    const QByteArray text = sql.toUtf8();
    sqlite3_stmt *statement = nullptr;
    const int code = sqlite3_prepare_v2(db_.get(), text.constData(), static_cast<int>(text.size()),
                                        &statement, nullptr);
    if (code != SQLITE_OK)
        fail(code);
    return statement;
}

SqliteConnection::SqliteConnection(const QString &path) : path_(path) {
    open();
}

void SqliteConnection::open() {
    const QString &path = path_;
    const QFileInfo file(path);
    if (!file.exists())
        raiseError(ErrorNumber::FileNotFound, StoreText::fileMissing(path));
    if (!file.isFile())
        raiseError(ErrorNumber::FileNotFound, StoreText::notAFile(path));
    // Which file was opened; taken before, so that a file put in its place meanwhile is
    // found at the next command, and kept only once the file opened as a phone book.
    const std::optional<FileIdentity> opening = identityOf(path);
    // Opened for reading and writing, never created: a missing file stays missing. Only
    // the user-interface thread uses a connection, so SQLite need not lock its calls.
    int code = SQLITE_OK;
    SqliteHandle opened = openSqlite(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, code);
    if (code != SQLITE_OK)
        raiseError(ErrorNumber::DatabaseError,
                   StoreText::cannotOpen(path, opened ? sqliteMessage(opened.get())
                                                      : QString::fromUtf8(sqlite3_errstr(code))));
    db_ = std::move(opened);
    sqlite3_extended_result_codes(db_.get(), 1);
    sqlite3_busy_timeout(db_.get(), busyTimeoutMilliseconds);
    try {
        checkTable();
    } catch (...) {
        db_.reset();
        throw;
    }
    identity_ = opening;
}

SqliteConnection::~SqliteConnection() {
    close();
}

void SqliteConnection::close() {
    for (sqlite3_stmt *statement : std::as_const(keptInserts_))
        sqlite3_finalize(statement);
    keptInserts_.clear();
    db_.reset();
}

void SqliteConnection::requireSameFile(bool reopen) {
    // The open connection keeps the file it opened, even once another took its name or
    // it was deleted: what the window would read and write would then be lost.
    const std::optional<FileIdentity> now = identityOf(path_);
    if (!now)
        raiseError(ErrorNumber::FileNotFound, StoreText::fileRemoved(path_));
    if (*now == identity_)
        return;
    if (!reopen)
        raiseError(ErrorNumber::DatabaseError, StoreText::fileReplaced(path_));
    close();
    open();
}

void SqliteConnection::checkTable() {
    QStringList found;
    int keyColumns = 0;
    {
        Statement info(*this, QStringLiteral("PRAGMA table_info(PHONEBOOK)"));
        while (info.step()) {
            const QString name = info.text(1);
            found << name;
            if (info.integer(5) == 0)
                continue;
            ++keyColumns;
            for (int i = 0; i < fieldCount; ++i) {
                if (name.compare(columnName(i), Qt::CaseInsensitive) == 0 &&
                    info.text(2).compare(QStringLiteral("INTEGER"), Qt::CaseInsensitive) == 0)
                    rowIdColumn_ = i;
            }
        }
    }
    if (found.isEmpty())
        raiseError(ErrorNumber::DatabaseError, StoreText::noTable(path_));
    {
        Statement kind(*this, QStringLiteral("SELECT type FROM sqlite_master WHERE name = "
                                             "'PHONEBOOK' COLLATE NOCASE"));
        isView_ = kind.step() && kind.text(0) == QLatin1String("view");
    }
    for (int i = 0; i < fieldCount; ++i) {
        if (!found.contains(columnName(i), Qt::CaseInsensitive))
            raiseError(ErrorNumber::DatabaseError, StoreText::noColumn(path_, columnName(i)));
    }
    sqlite3_stmt *probe = nullptr;
    hasRowIds_ = sqlite3_prepare_v2(db_.get(), "SELECT rowid FROM PHONEBOOK LIMIT 0", -1, &probe,
                                    nullptr) == SQLITE_OK;
    sqlite3_finalize(probe);
    // An INTEGER PRIMARY KEY of a table with row ids is its row id; a table whose key
    // spans several columns has none.
    if (!hasRowIds_ || keyColumns != 1)
        rowIdColumn_ = -1;
}

void SqliteConnection::fail(int code, const std::vector<Change> &changes) const {
    const QString message = QString::fromUtf8(sqlite3_errmsg(db_.get()));
    const int column = columnNamedIn(message);
    const QString value = changedValue(changes, column);
    switch (code & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        raiseRefusal(Refusal::Busy, column, value, message);
    case SQLITE_READONLY:
        if (code == SQLITE_READONLY_DBMOVED)
            raiseError(ErrorNumber::DatabaseError, StoreText::fileReplaced(path_));
        if (code == SQLITE_READONLY_DIRECTORY || code == SQLITE_READONLY_CANTINIT ||
            !QFileInfo(QFileInfo(path_).absolutePath()).isWritable())
            raiseError(ErrorNumber::PermissionDenied,
                       StoreText::folderReadOnly(path_, QFileInfo(path_).absolutePath()));
        raiseError(ErrorNumber::PermissionDenied, StoreText::readOnly(path_));
    case SQLITE_FULL:
        raiseRefusal(Refusal::DiskFull, column, value, message);
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
        raiseError(ErrorNumber::DatabaseError, StoreText::notADatabase(path_));
    case SQLITE_MISMATCH:
        // Only a table's row id refuses a value for its kind.
        raiseRefusal(rowIdColumn_ >= 0 ? Refusal::NotWholeNumber : Refusal::Other, rowIdColumn_,
                     changedValue(changes, rowIdColumn_), message);
    case SQLITE_CONSTRAINT:
        raiseRefusal(code == SQLITE_CONSTRAINT_PRIMARYKEY || code == SQLITE_CONSTRAINT_UNIQUE
                         ? Refusal::DuplicateValue
                     : code == SQLITE_CONSTRAINT_NOTNULL  ? Refusal::MissingValue
                     : code == SQLITE_CONSTRAINT_DATATYPE ? Refusal::WrongKind
                                                          : Refusal::Rule,
                     column, value, message);
    default:
        raiseRefusal(Refusal::Other, column, value, message);
    }
}

void SqliteConnection::execute(const char *sql) {
    Statement statement(*this, QString::fromLatin1(sql));
    while (statement.step()) {
    }
}

void SqliteConnection::readAll(RowTable &rows) {
    requireSameFile(true);
    Statement query(*this, QString::fromLatin1(phoneBookQuery));
    while (query.step())
        rows.append(query.raw());
}

void SqliteConnection::requireWritable() {
    requireSameFile(false);
    if (isView_)
        raiseError(ErrorNumber::PermissionDenied, StoreText::viewNotWritable(path_));
}

void SqliteConnection::beginWriting() {
    requireWritable();
    // The write lock is taken at once, so that a busy file is found before any change.
    execute("BEGIN IMMEDIATE");
}

void SqliteConnection::commit() {
    execute("COMMIT");
}

void SqliteConnection::rollback() {
    if (!sqlite3_get_autocommit(db_.get()))
        sqlite3_exec(db_.get(), "ROLLBACK", nullptr, nullptr, nullptr);
}

StoredValues SqliteConnection::insertRecord(const Values &values) {
    const std::vector<Change> given = givenValues(values);
    unsigned named = 0;
    for (const Change &change : given)
        named |= 1u << change.field;
    // An import inserts many records with the same columns: each statement is kept.
    sqlite3_stmt *&statement = keptInserts_[named];
    if (!statement)
        statement = prepare(sqlite.insert(given));
    Statement insert(*this, statement);
    for (size_t i = 0; i < given.size(); ++i)
        insert.bind(static_cast<int>(i) + 1, given[i].value);
    if (!insert.step(given))
        raiseError(ErrorNumber::DatabaseError,
                   StoreText::databaseError(QString::fromUtf8(sqlite3_sql(statement))));
    StoredValues stored = insert.stored();
    while (insert.step(given)) {
    }
    return stored;
}

StoredValues SqliteConnection::updateRecord(const RowTable::RawValues &original,
                                            const std::vector<Change> &changes) {
    const int firstOriginal = static_cast<int>(changes.size()) + 1;
    Statement update(*this, sqlite.update(changes, sqlite.rowCondition(firstOriginal, hasRowIds_)));
    for (size_t i = 0; i < changes.size(); ++i)
        update.bind(static_cast<int>(i) + 1, changes[i].value);
    for (int i = 0; i < fieldCount; ++i)
        update.bindStored(firstOriginal + i, original[static_cast<size_t>(i)]);
    if (!update.step(changes))
        raiseError(ErrorNumber::RowChangedElsewhere, StoreText::changedElsewhere());
    StoredValues stored = update.stored();
    while (update.step(changes)) {
    }
    return stored;
}

void SqliteConnection::deleteRecord(const RowTable::RawValues &original) {
    requireWritable();
    Statement remove(*this, PhoneBookSql::remove(sqlite.rowCondition(1, hasRowIds_)));
    for (int i = 0; i < fieldCount; ++i)
        remove.bindStored(i + 1, original[static_cast<size_t>(i)]);
    remove.step();
    if (sqlite3_changes(db_.get()) != 1)
        raiseError(ErrorNumber::RowChangedElsewhere, StoreText::deletedOrChangedElsewhere());
}
