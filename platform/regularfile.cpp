#include "platform/regularfile.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace RegularFile {

Result read(const QString &path, qint64 maxSize) {
    Result result;
    // Opened without waiting, so that a pipe with no writer does not hold the program;
    // what the name stands for is then asked of the open file itself.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        result.systemError = errno;
        result.outcome = errno == ENOENT ? Outcome::NotFound : Outcome::Failed;
        return result;
    }
    struct stat status {};
    if (::fstat(fd, &status) != 0) {
        result.systemError = errno;
        ::close(fd);
        return result;
    }
    if (!S_ISREG(status.st_mode)) {
        ::close(fd);
        result.outcome = Outcome::NotRegular;
        return result;
    }
    result.size = status.st_size;
    if (status.st_size > maxSize) {
        ::close(fd);
        result.outcome = Outcome::TooLarge;
        return result;
    }
    // The size may change while the file is read: read to its end, but never past the limit.
    result.data.resize(static_cast<qsizetype>(status.st_size));
    qsizetype got = 0;
    for (;;) {
        if (got == result.data.size()) {
            if (result.data.size() > maxSize)
                break;
            result.data.resize(std::min<qsizetype>(result.data.size() + 65536, maxSize + 1));
        }
        const ssize_t n = ::read(fd, result.data.data() + got, size_t(result.data.size() - got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            result.systemError = errno;
            ::close(fd);
            result.data.clear();
            return result;
        }
        if (n == 0)
            break;
        got += n;
    }
    ::close(fd);
    result.data.truncate(got);
    if (got > maxSize) {
        result.size = got;
        result.data.clear();
        result.outcome = Outcome::TooLarge;
        return result;
    }
    result.outcome = Outcome::Read;
    return result;
}

} // namespace RegularFile
