#pragma once

#include <QMap>
#include <QString>

// A connection string's keys and values: "PROVIDER=SQLite;Data Source=/path/ORVANEL.MDB;".
// Keys are matched without regard to case or surrounding blanks; a value may be
// quoted with " or ' (the quote doubled inside) when it holds a ; or blanks at its ends.
class ConnectionString {
public:
    // Throws RuntimeError when the text is not a list of key=value pairs.
    static ConnectionString parse(const QString &text);

    // The value of a key; an empty string when the key is absent.
    QString value(const QString &key) const;
    bool contains(const QString &key) const;
    // The keys given, as written.
    QStringList keys() const;

private:
    QMap<QString, QString> values_; // by key in lower case
    QMap<QString, QString> written_;
};

// The text that puts `value` into a connection string as it is: plain, or quoted when
// it would not read back plain.
QString connectionStringValue(const QString &value);

// The connection string of the phone book file ORVANEL.MDB in `dataFolder`, built afresh
// at every load.
QString phoneBookConnectionString(const QString &dataFolder);
