#pragma once

#include <QByteArray>
#include <QString>

// Reading a whole file from disk, of which the program knows only the name. Only a
// regular file is read, and only up to `maxSize` bytes: a pipe, a device or a socket
// given as a file would block the reader or feed it without end, and a file larger than
// the limit could not be taken in within seconds or without gigabytes of memory.
namespace RegularFile {

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

Result read(const QString &path, qint64 maxSize);

} // namespace RegularFile
