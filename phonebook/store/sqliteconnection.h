#pragma once

#include "phonebook/store/phonebookconnection.h"
#include "phonebook/store/sqlitehandle.h"

#include <QHash>
#include <optional>

struct sqlite3_stmt;

// The phone book in an SQLite file. The file must exist and hold table PHONEBOOK with
// the eleven columns, of whatever declared types; the connection never creates either.
class SqliteConnection : public PhoneBookConnection {
public:
    explicit SqliteConnection(const QString &path);
    ~SqliteConnection() override;
    SqliteConnection(const SqliteConnection &) = delete;
    SqliteConnection &operator=(const SqliteConnection &) = delete;

    void readAll(RowTable &rows) override;
    void beginWriting() override;
    void commit() override;
    void rollback() override;
    StoredValues insertRecord(const Values &values) override;
    StoredValues updateRecord(const RowTable::RawValues &original,
                              const std::vector<Change> &changes) override;
    void deleteRecord(const RowTable::RawValues &original) override;

    // Which file a name stands for.
    struct FileIdentity {
        quint64 device = 0;
        quint64 inode = 0;
        bool operator==(const FileIdentity &) const = default;
    };

private:
    void open();
    void close();
    // Makes sure the name still stands for the file this connection has open; when
    // another file took its place, reopens the name when `reopen`, else refuses.
    void requireSameFile(bool reopen);
    void requireWritable();
    class Statement;
    sqlite3_stmt *prepare(const QString &sql) const;
    void checkTable();
    void execute(const char *sql);
    [[noreturn]] void fail(int code, const std::vector<Change> &changes = {}) const;

    QString path_;
    std::optional<FileIdentity> identity_;
    SqliteHandle db_;
    // PHONEBOOK is a view, which is read but not written.
    bool isView_ = false;
    // A table with row ids picks one of several equal rows by its row id; a table
    // without them has a primary key, so no two of its rows are equal.
    bool hasRowIds_ = true;
    // The column that is the table's row id under another name (INTEGER PRIMARY KEY),
    // which refuses anything but whole numbers; -1 when there is none.
    int rowIdColumn_ = -1;
    // The insert statements prepared so far, by the columns they name (a bit each).
    QHash<unsigned, sqlite3_stmt *> keptInserts_;
};
