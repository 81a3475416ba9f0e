#pragma once

#include <QString>
#include <optional>

// Phone book files as whole files: making a new one, counting its contacts, copying one.
namespace SqliteFile {

// Creates a new database file with table PHONEBOOK; refuses a file that exists. Returns
// an empty string, or why it failed.
QString create(const QString &path);

// The number of contacts in the phone book file at `path`; nothing when it cannot be
// read as one (missing, locked, not a database, no PHONEBOOK table).
std::optional<long long> contactCount(const QString &path);

// Copies the phone book file `from` to `to` through the database engine, so that a file
// that another program is writing is copied as one state of it, with its journal. The
// copy is checked (the engine's integrity check, the same number of contacts) before it
// takes the place of `to`; an existing `to` is replaced only then. Returns an empty
// string, or why nothing was copied.
QString copy(const QString &from, const QString &to);

} // namespace SqliteFile
