#include "platform/runtimeerror.h"

QString errorDescription(ErrorNumber number) {
    switch (number) {
    case ErrorNumber::InvalidProcedureCall:
        return QStringLiteral("Invalid procedure call or argument");
    case ErrorNumber::OutOfMemory:
        return QStringLiteral("Out of memory");
    case ErrorNumber::UserInterrupt:
        return QStringLiteral("User interrupt occurred");
    case ErrorNumber::BadFileName:
        return QStringLiteral("Bad file name or number");
    case ErrorNumber::FileNotFound:
        return QStringLiteral("File not found");
    case ErrorNumber::DeviceIO:
        return QStringLiteral("Device I/O error");
    case ErrorNumber::DiskFull:
        return QStringLiteral("Disk full");
    case ErrorNumber::PermissionDenied:
        return QStringLiteral("Permission denied");
    case ErrorNumber::PathFileAccess:
        return QStringLiteral("Path/File access error");
    case ErrorNumber::PathNotFound:
        return QStringLiteral("Path not found");
    case ErrorNumber::InvalidFileFormat:
        return QStringLiteral("Invalid file format");
    case ErrorNumber::InvalidPropertyValue:
        return QStringLiteral("Invalid property value");
    case ErrorNumber::ObjectRequired:
        return QStringLiteral("Object required");
    case ErrorNumber::CannotCreateObject:
        return QStringLiteral("A component the program needs could not be created.");
    case ErrorNumber::PrinterError:
        return QStringLiteral("Printer error");
    case ErrorNumber::DialogCancelled:
        return QStringLiteral("Cancel was selected.");
    case ErrorNumber::InvalidConnectionString:
        return QStringLiteral("The connection string is not valid.");
    case ErrorNumber::NoCurrentRecord:
        return QStringLiteral("There is no current record.");
    case ErrorNumber::DuplicateValue:
        return QStringLiteral("Another record already has this value.");
    case ErrorNumber::RecordSetClosed:
        return QStringLiteral("The phone book is not open.");
    case ErrorNumber::ProviderNotFound:
        return QStringLiteral("The database provider is not known.");
    case ErrorNumber::DatabaseLocked:
        return QStringLiteral("The phone book is in use by another program.");
    case ErrorNumber::MissingValue:
        return QStringLiteral("A field that must have a value is empty.");
    case ErrorNumber::ValueTypeMismatch:
        return QStringLiteral("A value is not of the kind its field holds.");
    case ErrorNumber::DatabaseError:
        return QStringLiteral("The phone book database reported an error.");
    case ErrorNumber::RowChangedElsewhere:
        return QStringLiteral("The record was changed or deleted by another program.");
    }
    return QStringLiteral("Application-defined or object-defined error");
}

void raiseError(ErrorNumber number) {
    throw RuntimeError(number, errorDescription(number));
}

void raiseError(ErrorNumber number, const QString &description) {
    throw RuntimeError(number, description);
}
