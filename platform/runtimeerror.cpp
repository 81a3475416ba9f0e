#include "platform/runtimeerror.h"

QString errorDescription(ErrorNumber number) {
    switch (number) {
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
    case ErrorNumber::PrinterError:
        return QStringLiteral("Printer error");
    case ErrorNumber::DialogCancelled:
        return QStringLiteral("Cancel was selected.");
    }
    return QStringLiteral("Application-defined or object-defined error");
}

void raiseError(ErrorNumber number) {
    throw RuntimeError(number, errorDescription(number));
}

void raiseError(ErrorNumber number, const QString &description) {
    throw RuntimeError(number, description);
}
