#pragma once

#include <QString>
#include <exception>

// A failure of a program step: a number and a description, as every handler of the
// program knows them. Platform layers, the record set and the RTF codec throw these;
// nothing else crosses a module boundary.
class RuntimeError : public std::exception {
public:
    RuntimeError(int number, QString description)
        : number_(number), description_(std::move(description)), what_(description_.toUtf8()) {}

    int Number() const { return number_; }
    const QString &Description() const { return description_; }
    const char *what() const noexcept override { return what_.constData(); }

private:
    int number_;
    QString description_;
    QByteArray what_;
};

// The error numbers the program raises or traps.
namespace ErrorNumber {
inline constexpr int FileNotFound = 53;
inline constexpr int DiskFull = 61;
inline constexpr int PermissionDenied = 70;
inline constexpr int PathFileAccess = 75;
inline constexpr int PathNotFound = 76;
inline constexpr int InvalidPropertyValue = 380;
inline constexpr int PrinterError = 482;
inline constexpr int DeviceIO = 57;
inline constexpr int InvalidFileFormat = 321;
inline constexpr int ObjectRequired = 424;
inline constexpr int DialogCancelled = 32755;
} // namespace ErrorNumber
