#pragma once

#include <QString>
#include <optional>

// One version of a file on disk. A file that any program rewrote, or replaced by
// another, has a new stamp.
struct FileStamp {
    QString path; // absolute and clean
    long long device = 0;
    long long inode = 0;
    long long size = 0;
    long long modifiedNanoseconds = 0;

    bool operator==(const FileStamp &) const = default;

    // The stamp of the file as it is now; nothing when there is no file at the path.
    static std::optional<FileStamp> of(const QString &path);
};
