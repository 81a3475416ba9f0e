#pragma once

#include "phonebook/store/phonebookcolumns.h"
#include "phonebook/store/rowtable.h"

#include <QString>
#include <memory>
#include <vector>

class ConnectionString;

// An open connection to a phone book database, whatever engine holds it. Every failure
// is a RuntimeError whose description tells the user what happened in words of the
// phone book, never an engine's bare code.
class PhoneBookConnection {
public:
    virtual ~PhoneBookConnection() = default;

    // Runs the phone book's query and appends its rows, in its order, to `rows`.
    virtual void readAll(RowTable &rows) = 0;

    // One change of one column: the new value.
    struct Change {
        int field;
        Value value;
    };

    // Writes happen inside a transaction: either all of a batch or nothing.
    virtual void beginWriting() = 0;
    virtual void commit() = 0;
    virtual void rollback() = 0;

    // Inserts a record and returns it as the database stored it (with the serial
    // number the database gave it, when it was left empty).
    virtual StoredValues insertRecord(const Values &values) = 0;
    // Inserts records in their order, as insertRecord does each. When one cannot be
    // inserted, fails with its error and sets `failed` to its place in `rows`; what is
    // inserted then is for the transaction's rollback to take back. A connection to a
    // server sends them together, which saves a round trip each.
    virtual void insertRecords(const std::vector<Values> &rows, size_t &failed);
    // How many records are best handed to insertRecords at a time: one for a file, where
    // each costs no round trip and records held back only cost memory.
    virtual size_t insertBatchSize() const { return 1; }
    // Changes exactly one row that still holds every value in `original` (the bytes it
    // was read as, whatever their encoding), and returns it as stored; fails, changing
    // nothing, when no such row is left.
    virtual StoredValues updateRecord(const RowTable::RawValues &original,
                                      const std::vector<Change> &changes) = 0;
    // Deletes exactly one row that still holds every value in `original`; fails,
    // deleting nothing, when no such row is left.
    virtual void deleteRecord(const RowTable::RawValues &original) = 0;
};

// Opens the database a connection string names: "PROVIDER=SQLite;Data Source=<file>;", or
// "PROVIDER=PostgreSQL;Host=db.example;Port=5432;Database=orvanel;User ID=anna;" (also
// Password, SSL Mode, SSL Root Cert, SSL Cert, SSL Key).
std::unique_ptr<PhoneBookConnection> openConnection(const QString &connectionString);

// A connection string read and checked as openConnection checks it (a known provider,
// only that provider's keys), without opening anything.
ConnectionString checkedConnectionString(const QString &connectionString);
