#include "contacts/contactlines.h"

#include "contacts/contacttexts.h"
#include "platform/runtimeerror.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr qsizetype pieceBytes = 1024 * 1024;

QString systemReason(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}
} // namespace

ContactLines::ContactLines(const QString &path) : path_(path) {
    // Opened without waiting, so that a pipe with no writer does not hold the program;
    // what the name stands for is then asked of the open file itself.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        if (error == ENOENT)
            raiseError(ErrorNumber::FileNotFound, ContactText::contactFileMissing(path));
        raiseError(ErrorNumber::PathFileAccess,
                   ContactText::contactFileUnreadable(path, systemReason(error)));
    }
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        raiseError(ErrorNumber::PathFileAccess, ContactText::contactFileNotOrdinary(path));
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (!file_.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        raiseError(ErrorNumber::PathFileAccess,
                   ContactText::contactFileUnreadable(path, file_.errorString()));
    }
    const QByteArray mark = file_.peek(3);
    if (mark.startsWith("\xEF\xBB\xBF")) {
        file_.skip(3);
    } else if (mark.startsWith("\xFF\xFE") || mark.startsWith("\xFE\xFF")) {
        file_.skip(2);
        utf16_.emplace(mark.startsWith("\xFF\xFE") ? QStringConverter::Utf16LE
                                                   : QStringConverter::Utf16BE,
                       QStringConverter::Flag::ConvertInitialBom);
    }
}

bool ContactLines::fill() {
    if (atEnd_)
        return false;
    // A small file is read in one piece of its own size, not a whole megabyte's room.
    const qint64 left = file_.size() - file_.pos();
    QByteArray piece = file_.read(std::clamp<qint64>(left, 4096, pieceBytes));
    if (piece.isEmpty()) {
        if (file_.error() != QFileDevice::NoError)
            raiseError(ErrorNumber::DeviceIO,
                       ContactText::contactFileUnreadable(path_, file_.errorString()));
        atEnd_ = true;
        return false;
    }
    if (utf16_) {
        const QString text = (*utf16_)(piece);
        if (utf16_->hasError() || text.contains(QChar(0)))
            failBinary();
        piece = text.toUtf8();
    }
    buffer_.remove(0, position_);
    position_ = 0;
    buffer_.append(piece);
    return true;
}

void ContactLines::failBinary() const {
    raiseError(ErrorNumber::InvalidFileFormat, ContactText::contactFileBinary(path_));
}

QByteArray ContactLines::start() {
    while (buffer_.size() - position_ < 65536 && fill()) {
    }
    return buffer_.mid(position_, 65536);
}

std::optional<QByteArray> ContactLines::next() {
    qsizetype checked = 0; // bytes after position_ known to hold no line end
    for (;;) {
        const qsizetype available = buffer_.size() - position_;
        const char *from = buffer_.constData() + position_;
        qsizetype end = checked;
        while (end < available && from[end] != '\n' && from[end] != '\r')
            ++end;
        if (end > maxLineBytes)
            raiseError(
                ErrorNumber::InvalidFileFormat,
                ContactText::contactLineTooLong(path_, lineNumber_ + 1, int(maxLineBytes >> 20)));
        // More is needed when no end was found, or when a CR ends what is here: the LF
        // that completes it may come in the next piece.
        const bool open = end == available || (from[end] == '\r' && end + 1 == available);
        if (open && fill()) {
            checked = end;
            continue;
        }
        if (available == 0)
            return std::nullopt;
        QByteArray line(from, end);
        if (std::memchr(line.constData(), 0, size_t(line.size())))
            failBinary();
        qsizetype consumed = end;
        if (end < available)
            consumed += from[end] == '\r' && end + 1 < available && from[end + 1] == '\n' ? 2 : 1;
        position_ += consumed;
        ++lineNumber_;
        return line;
    }
}
