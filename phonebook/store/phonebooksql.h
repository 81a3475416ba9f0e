#pragma once

#include "phonebook/store/phonebookconnection.h"
#include "phonebook/store/phonebooktable.h"

#include <QString>
#include <vector>

// The statements both connections write, built once. What differs between the engines
// (how a column and a parameter are written, what a statement hands back, how one of
// several equal rows is picked) is decided here, by the engine.
class PhoneBookSql {
public:
    using Change = PhoneBookConnection::Change;

    explicit PhoneBookSql(Engine engine) : engine_(engine) {}

    // The columns a statement hands back, in the order of the phone book's query, each
    // as the connection reads it.
    const QString &returnedColumns() const;
    // The condition that picks one row holding every original value (compared as the
    // text they were read as), given as the parameters from `firstParameter` on. Of
    // equal rows one is taken: by its row id in a file (`rowIds`, else the table's key
    // tells its rows apart), on a server by its place, locked for the change.
    QString rowCondition(int firstParameter, bool rowIds = true) const;

    // Inserts a record of the given columns only, so that the database numbers a record
    // left without a serial number and fills in its own defaults; hands the row back.
    QString insert(const std::vector<Change> &given) const;
    // Changes the columns of `changes` (the parameters from 1 on) in the row the
    // condition picks; hands the row back.
    QString update(const std::vector<Change> &changes, const QString &condition) const;
    static QString remove(const QString &condition);

    // A column as a statement names it.
    QString column(int field) const;

private:
    QString parameter(int number) const;
    QString listReturnedColumns() const;

    Engine engine_;
};

// The values a new record gives, as changes of the columns that have one.
std::vector<PhoneBookConnection::Change> givenValues(const Values &values);

// The value a change gives `field`; empty when it gives none.
QString changedValue(const std::vector<PhoneBookConnection::Change> &changes, int field);

// What an engine refused, in our words: each connection maps its own codes to one of
// these, and the run-time error and its description are chosen here.
enum class Refusal {
    DuplicateValue, // of `column`, holding `value`
    MissingValue,   // in `column`
    WrongKind,      // `value` for `column`
    NotWholeNumber, // `value` for `column`
    Rule,           // any other rule of the table
    Busy,           // another program or client holds the rows
    DiskFull,
    Other,
};
// A refusal that names no column is one of the table's rules; `message` is the
// engine's own.
[[noreturn]] void raiseRefusal(Refusal refusal, int column, const QString &value,
                               const QString &message);
