#pragma once

#include <QString>
#include <QStringList>

// Making table PHONEBOOK, in one place for both engines.
enum class Engine { SQLite, PostgreSQL };

// The statements that make table PHONEBOOK and what gives its serial numbers. On both
// engines a record that comes without a serial number gets the next one past the
// highest there; every other column holds text.
QStringList phoneBookSchema(Engine engine);

// Creates table PHONEBOOK where a connection string points: a new file for SQLite, or
// the table in an existing database on a PostgreSQL server. Returns an empty string,
// or why it failed.
QString createPhoneBook(const QString &connectionString);
