#pragma once

#include "testworld.h"

#include <QMap>
#include <QString>
#include <QStringList>

// A test world with a phone book: ORVANEL.MDB in the program folder, made and read the
// way another program would, through SQLite itself.
class PhoneBookWorld : public TestWorld {
public:
    using Row = QMap<QString, QString>; // column name to value; a column left out is NULL

    QString database() const { return programFolder() + QStringLiteral("/ORVANEL.MDB"); }

    // Our schema with these rows.
    void makeBook(const QList<Row> &rows = {});
    void addRow(const Row &row);
    // Runs SQL on the file as another program would; returns the error, empty when none.
    QString execute(const QString &sql) const;
    // The values of one column over the table, in serial-number order (NULL as "<null>").
    QStringList column(const QString &name) const;
    int rowCount() const;
};

// A row of a serial number and a name, with a city and a phone when given.
PhoneBookWorld::Row contactRow(const QString &serial, const QString &name, const QString &city = {},
                               const QString &phone = {});
