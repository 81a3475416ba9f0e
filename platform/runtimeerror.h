#pragma once

#include <QString>
#include <exception>

// The run-time errors the program raises or traps: each one's name, number, and the
// description every handler knows it by.
#define ORVANEL_RUNTIME_ERRORS(X)                                                                  \
    X(InvalidProcedureCall, 5, "Invalid procedure call or argument")                               \
    X(OutOfMemory, 7, "Out of memory")                                                             \
    X(UserInterrupt, 18, "User interrupt occurred")                                                \
    X(BadFileName, 52, "Bad file name or number")                                                  \
    X(FileNotFound, 53, "File not found")                                                          \
    X(DeviceIO, 57, "Device I/O error")                                                            \
    X(DiskFull, 61, "Disk full")                                                                   \
    X(PermissionDenied, 70, "Permission denied")                                                   \
    X(PathFileAccess, 75, "Path/File access error")                                                \
    X(PathNotFound, 76, "Path not found")                                                          \
    X(InvalidFileFormat, 321, "Invalid file format")                                               \
    X(InvalidPropertyValue, 380, "Invalid property value")                                         \
    X(ObjectRequired, 424, "Object required")                                                      \
    X(CannotCreateObject, 429, "A component the program needs could not be created.")              \
    X(PrinterError, 482, "Printer error")                                                          \
    X(DialogCancelled, 32755, "Cancel was selected.")                                              \
    X(InvalidConnectionString, 3001, "The connection string is not valid.")                        \
    X(NoCurrentRecord, 3021, "There is no current record.")                                        \
    X(DuplicateValue, 3022, "Another record already has this value.")                              \
    X(RecordSetClosed, 3704, "The phone book is not open.")                                        \
    X(ProviderNotFound, 3706, "The database provider is not known.")                               \
    X(DatabaseLocked, 3218, "The phone book is in use by another program.")                        \
    X(MissingValue, 3314, "A field that must have a value is empty.")                              \
    X(ValueTypeMismatch, 3421, "A value is not of the kind its field holds.")                      \
    X(DatabaseError, -2147467259, "The phone book database reported an error.")                    \
    X(RowChangedElsewhere, -2147217864, "The record was changed or deleted by another program.")

enum class ErrorNumber : int {
#define ORVANEL_ERROR_NUMBER(name, number, description) name = number,
    ORVANEL_RUNTIME_ERRORS(ORVANEL_ERROR_NUMBER)
#undef ORVANEL_ERROR_NUMBER
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
