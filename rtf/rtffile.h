#pragma once

#include <QByteArray>
#include <QString>

// Reading an RTF file from disk. Only a regular file is read, and only up to `maxSize`
// bytes: a pipe, a device or a socket given as a file would block the reader or feed it
// without end, and a file larger than the limit could not be shown within seconds.
namespace RtfFile {

constexpr qint64 maxSize = 32 * 1024 * 1024;

enum class Outcome {
    Read,
    NotFound,
    NotRegular, // a folder, a pipe, a device, a socket
    TooLarge,
    Failed, // the system's error, in `systemError`
};

struct Result {
    Outcome outcome = Outcome::Failed;
    QByteArray data;
    int systemError = 0;
    qint64 size = 0; // the file's size, for TooLarge
};

Result read(const QString &path);

// What the user is told for an outcome other than Read and Failed.
QString refusal(const Result &result, const QString &shownPath);

} // namespace RtfFile
