#include "diary/filestamp.h"

#include <QDir>
#include <QFile>
#include <sys/stat.h>

std::optional<FileStamp> FileStamp::of(const QString &path) {
    const QString absolute = QDir::cleanPath(QDir().absoluteFilePath(path));
    struct stat status {};
    if (::stat(QFile::encodeName(absolute).constData(), &status) != 0)
        return std::nullopt;
    return FileStamp{absolute, static_cast<long long>(status.st_dev),
                     static_cast<long long>(status.st_ino), static_cast<long long>(status.st_size),
                     static_cast<long long>(status.st_mtim.tv_sec) * 1000000000LL +
                         status.st_mtim.tv_nsec};
}
