#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringDecoder>
#include <optional>

// The lines of a file of contacts, read a piece at a time. Only an ordinary file is
// read. A byte-order mark is taken off; a file in UTF-16 comes out as UTF-8, any other
// as its own bytes. Lines end at LF, CR LF or a lone CR. A line longer than
// `maxLineBytes` or one holding a NUL byte stops the reading with a RuntimeError that
// says so: no contact needs either, and a file that has them is not what it claims.
class ContactLines {
public:
    static constexpr qsizetype maxLineBytes = 16 * 1024 * 1024;

    // Opens the file; fails with a RuntimeError that names `path` and says why.
    explicit ContactLines(const QString &path);

    // The next line, without its end; nothing after the last one.
    std::optional<QByteArray> next();
    // The number of the line `next` returned last, counting from 1.
    qint64 lineNumber() const { return lineNumber_; }
    // The bytes at the start of the file, after the byte-order mark, as lines will give
    // them: what the content is is told from these.
    QByteArray start();
    const QString &path() const { return path_; }
    // How far into the file the reading has come, in bytes, and the file's size.
    qint64 bytesRead() const { return file_.pos(); }
    qint64 size() const { return file_.size(); }

private:
    // Adds the next piece of the file to the buffer; false at the end of the file.
    bool fill();
    [[noreturn]] void failBinary() const;

    QString path_;
    QFile file_;
    std::optional<QStringDecoder> utf16_; // for a file that starts with a UTF-16 mark
    QByteArray buffer_;
    qsizetype position_ = 0;
    bool atEnd_ = false;
    qint64 lineNumber_ = 0;
};
