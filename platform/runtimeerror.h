#pragma once

#include <QString>
#include <exception>

// The run-time errors the program raises or traps, by their numbers.
enum class ErrorNumber : int {
    InvalidProcedureCall = 5,
    OutOfMemory = 7,
    UserInterrupt = 18,
    BadFileName = 52,
    FileNotFound = 53,
    DeviceIO = 57,
    DiskFull = 61,
    PermissionDenied = 70,
    PathFileAccess = 75,
    PathNotFound = 76,
    InvalidFileFormat = 321,
    InvalidPropertyValue = 380,
    ObjectRequired = 424,
    CannotCreateObject = 429,
    PrinterError = 482,
    DialogCancelled = 32755,
    // The phone book's database and record set.
    InvalidConnectionString = 3001,
    NoCurrentRecord = 3021,
    DuplicateValue = 3022,
    RecordSetClosed = 3704,
    ProviderNotFound = 3706,
    DatabaseLocked = 3218,
    MissingValue = 3314,
    ValueTypeMismatch = 3421,
    DatabaseError = -2147467259,
    RowChangedElsewhere = -2147217864,
};

// A failure of a program step: a number and a description, as every handler of the
// program knows them. Platform layers, the record set and the rich-text box throw these;
// nothing else crosses a module boundary.
class RuntimeError : public std::exception {
public:
    RuntimeError(ErrorNumber number, QString description)
        : number_(number), description_(std::move(description)), what_(description_.toUtf8()) {}

    int Number() const { return static_cast<int>(number_); }
    bool is(ErrorNumber number) const { return number_ == number; }
    const QString &Description() const { return description_; }
    const char *what() const noexcept override { return what_.constData(); }

private:
    ErrorNumber number_;
    QString description_;
    QByteArray what_;
};

// The description every handler knows an error number by ("File not found").
QString errorDescription(ErrorNumber number);

// Raises the error with its usual description, or with one that says more about this
// failure.
[[noreturn]] void raiseError(ErrorNumber number);
[[noreturn]] void raiseError(ErrorNumber number, const QString &description);
