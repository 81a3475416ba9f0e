#pragma once

#include "testworld.h"

#include <QMap>
#include <QString>
#include <QStringList>

// Where a world keeps its phone book.
enum class PhoneBookProvider { SQLite, PostgreSQL };

// A test world with a phone book: ORVANEL.MDB in the program folder, or a database of
// its own on the test program's PostgreSQL server, chosen for the program through the
// setting "PhoneBook" / "Connection". Rows are made and read the way another program
// would: through SQLite itself, or over a connection of the world's own.
class PhoneBookWorld : public TestWorld {
public:
    using Row = QMap<QString, QString>; // column name to value; a column left out is NULL

    explicit PhoneBookWorld(PhoneBookProvider provider = PhoneBookProvider::SQLite);
    ~PhoneBookWorld();

    PhoneBookProvider provider() const { return provider_; }
    QString database() const { return programFolder() + QStringLiteral("/ORVANEL.MDB"); }
    // The connection string the program opens.
    QString connectionString() const { return connectionString_; }
    // On a server: the world's database.
    QString serverDatabase() const { return serverDatabase_; }

    // Our schema with these rows.
    void makeBook(const QList<Row> &rows = {});
    void addRow(const Row &row);
    // Runs SQL as another program would; returns the error, empty when none. Column
    // names with a blank are written in brackets, as SQLite takes them.
    QString execute(const QString &sql) const;
    // The values of one column over the table, in serial-number order (NULL as "<null>").
    QStringList column(const QString &name) const;
    // The first value of each row a query gives, as text.
    QStringList values(const QString &sql) const;
    int rowCount() const;

private:
    PhoneBookProvider provider_;
    QString connectionString_;
    QString serverDatabase_;
    QString clientName_; // of the world's own connection to the server
};

// A row of a serial number and a name, with a city and a phone when given.
PhoneBookWorld::Row contactRow(const QString &serial, const QString &name, const QString &city = {},
                               const QString &phone = {});

// SQL with SQLite's [bracketed] names as PostgreSQL writes them: "quoted".
QString postgresSql(QString sql);
