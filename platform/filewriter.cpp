#include "platform/filewriter.h"

#include <QFileInfo>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

FileWriter::FileWriter(const QString &path, Access access) : QSaveFile(path), access_(access) {}

bool FileWriter::openForWriting() {
    errno = 0;
    if (!QSaveFile::open(QIODevice::WriteOnly)) {
        noteFailure();
        return false;
    }
    if (access_ == Access::OwnerOnly && ::fchmod(handle(), S_IRUSR | S_IWUSR) != 0) {
        noteFailure();
        return false;
    }
    return true;
}

qint64 FileWriter::writeData(const char *data, qint64 size) {
    errno = 0;
    const qint64 written = QSaveFile::writeData(data, size);
    if (written != size)
        noteFailure();
    return written;
}

QString FileWriter::failureText() const {
    return systemError_ != 0 ? qt_error_string(systemError_) : errorString();
}

void FileWriter::noteFailure() {
    if (systemError_ == 0)
        systemError_ = errno != 0 ? errno : EIO;
}

bool FileWriter::commit() {
    if (!isOpen())
        return false;
    errno = 0;
    // The piece still in the buffer is written here, where a failure can still be seen:
    // QSaveFile's own commit writes it while closing and forgets a failure.
    const bool flushed = flush();
    // What is not committed, the destructor removes; the old file stays.
    if (!flushed || error() != QFileDevice::NoError) {
        noteFailure();
        return false;
    }
    // Some file systems report a lost write only here (NFS, a failing disk).
    if (::fsync(handle()) != 0 && errno != EINVAL && errno != EROFS) {
        noteFailure();
        return false;
    }
    errno = 0;
    if (!QSaveFile::commit()) {
        noteFailure();
        return false;
    }
    syncFolder(QFileInfo(fileName()).absolutePath());
    return true;
}

QString writeWholeFile(const QString &path, const QByteArray &data, FileWriter::Access access) {
    FileWriter file(path, access);
    if (file.openForWriting() && file.write(data) == data.size() && file.commit())
        return {};
    const QString why = file.failureText();
    return why.isEmpty() ? qt_error_string(EIO) : why;
}

void syncFolder(const QString &folder) {
    const int fd =
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}
