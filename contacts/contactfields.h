#pragma once

#include "phonebook/store/phonebookcolumns.h"

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <functional>
#include <initializer_list>
#include <optional>
#include <vector>

// A contact read from a file of contacts, on its way into the phone book.
struct ReadContact {
    Values values; // a field the file left empty has no value
    qint64 place;  // its card's number, or the line its record begins on
};

// A contact of a file that cannot go into the phone book, and why.
struct RefusedContact {
    QString origin;
    QString reason;
};

// Where the contacts of a file go, one at a time, as they are read.
using ContactSink = std::function<void(ReadContact &&)>;

// What reading a file of contacts found besides its contacts.
struct ContactReading {
    bool cards = false; // places are numbers of cards, not of lines
    // The first refusals, each with its place and reason, and how many there were in
    // all: a file of millions of lines that are all refused must not fill the memory.
    static constexpr size_t keptRefusals = 100;
    std::vector<RefusedContact> refused;
    long refusedCount = 0;
    void refuse(RefusedContact contact);

    // Where a contact stands, as the user is told: "card 7", "line 12".
    QString origin(qint64 place) const;
};

// The digits of a phone number, in ASCII, which is how two numbers are compared:
// "+91 (80) 2345-6789" and "9180 23456789" are the same number.
QString phoneDigits(QStringView number);

// A date of birth as the phone book keeps it, YYYY-MM-DD, or --MM-DD for a day without
// a year. Reads those, YYYYMMDD, --MMDD (with or without a time after a T), M/D/YYYY
// and D.M.YYYY; nothing for text that is not a date of the calendar.
std::optional<QString> isoBirthday(QStringView text);

// The parts that are not empty, joined by one blank.
QString joinedWords(std::initializer_list<QString> parts);
// The parts that are not empty, one to a line.
QString joinedLines(std::initializer_list<QString> parts);

// Text from bytes in the named character set; with no name, UTF-8 when the bytes are
// UTF-8 and Windows-1252 when they are not (what older programs wrote). Nothing when
// the character set is not known.
std::optional<QString> decodedText(const QByteArray &bytes, const QByteArray &charset = {});

// Text without control characters other than line breaks and tabs: no contact field
// holds them, vCard cannot carry them, and a file full of them is binary.
QString withoutControlCharacters(QString text);

// A value as our CSV export writes it: a spreadsheet takes a cell that begins with =, +,
// -, @, a tab or a carriage return for a formula, so such a cell gets a ' before it (as
// does one that already begins with ' and then one of those, so that reading it back
// stays exact). `csvUnguarded` is what our own import makes of it again.
QString csvGuarded(const QString &value);
QString csvUnguarded(const QString &value);

// Sets a field to a text without control characters and with the blanks around it
// taken off; empty text leaves it without a value.
void setField(Values &values, Field field, const QString &text);
inline const Value &field(const Values &values, Field field) {
    return values[static_cast<size_t>(indexOf(field))];
}
bool hasAnyValue(const Values &values);

// A phone number of a contact and its rank: 0 for the number the contact prefers, 1 for
// a mobile one, 2 for any other, 3 for one that cannot be called (a fax, a pager).
struct RankedPhone {
    int rank;
    QString number;
};
// PHONE and OPTIONALPHONE from the best two numbers, those of equal rank in their order.
void setPhones(Values &values, std::vector<RankedPhone> phones);

// A postal address; ADDRESS holds its street lines.
struct PostalAddress {
    QString streetLines, city, state, postalCode, country;
    bool isEmpty() const;
};
void setAddress(Values &values, const PostalAddress &address);

// Why a contact's serial number, when it has one, cannot be kept; empty when it can.
QString serialNumberProblem(const Values &values);
