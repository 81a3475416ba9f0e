#pragma once

#include <QString>
#include <array>
#include <optional>

// The eleven columns of table PHONEBOOK, in the order of the phone book's query, which
// is also the index of each column's field box in the window.
inline constexpr int fieldCount = 11;

enum class Field {
    Address = 0,
    City = 1,
    Country = 2,
    DateOfBirth = 3,
    Email = 4,
    Name = 5,
    OptionalPhone = 6,
    Phone = 7,
    PinCode = 8,
    SerialNumber = 9,
    State = 10,
};

struct Column {
    Field field;
    const char *name;    // as the table names it
    const char *sqlName; // as SQL writes it (a name with a blank is bracketed)
    const char *caption; // the caption of its label in the window
};

inline constexpr std::array<Column, fieldCount> columns{{
    {Field::Address, "ADDRESS", "ADDRESS", "ADDRESS:"},
    {Field::City, "CITY", "CITY", "CITY:"},
    {Field::Country, "COUNTRY", "COUNTRY", "COUNTRY:"},
    {Field::DateOfBirth, "DATEOFBIRTH", "DATEOFBIRTH", "DATEOFBIRTH:"},
    {Field::Email, "EMAIL", "EMAIL", "EMAIL:"},
    {Field::Name, "NAME", "NAME", "NAME:"},
    {Field::OptionalPhone, "OPTIONALPHONE", "OPTIONALPHONE", "OPTIONALPHONE:"},
    {Field::Phone, "PHONE", "PHONE", "PHONE:"},
    {Field::PinCode, "PINCODE", "PINCODE", "PINCODE:"},
    {Field::SerialNumber, "SERIAL NUMBER", "[SERIAL NUMBER]", "SERIAL NUMBER:"},
    {Field::State, "STATE", "STATE", "STATE:"},
}};

inline constexpr int indexOf(Field field) {
    return static_cast<int>(field);
}

inline QString columnName(int index) {
    return QString::fromLatin1(columns[static_cast<size_t>(index)].name);
}

// One value of a record as text; no value (NULL) is an empty optional.
using Value = std::optional<QString>;
using Values = std::array<Value, fieldCount>;

// The phone book's one query, exactly as every window runs it.
inline constexpr const char *phoneBookQuery =
    "select ADDRESS,CITY,COUNTRY,DATEOFBIRTH,EMAIL,NAME,OPTIONALPHONE,PHONE,PINCODE,"
    "[SERIAL NUMBER],STATE from PHONEBOOK Order by [SERIAL NUMBER]";
