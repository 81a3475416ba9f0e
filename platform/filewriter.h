#pragma once

#include <QSaveFile>

// The one way the program writes a file: the new content goes to a file beside the old
// one, which it replaces only once every byte is on disk. A write the system refuses
// (a full disk, a quota, a file size limit, an input/output error) leaves the old file
// as it was and is reported, however small the file: QSaveFile alone says a file was
// written when only its last buffered piece failed.
class FileWriter : public QSaveFile {
public:
    enum class Access { Usual, OwnerOnly };
    explicit FileWriter(const QString &path, Access access = Access::Usual);

    // Opens the new file for writing; with Access::OwnerOnly, only its owner may read it.
    bool openForWriting();
    // Writes out what is buffered, has the system put it on disk, and only then puts the
    // file in the place of the old one and makes its folder's entry durable. False, with
    // the old file untouched, when any of it failed.
    bool commit();
    // The system's reason for the first failure, or 0.
    int systemError() const { return systemError_; }
    // What the system said of it ("No space left on device").
    QString failureText() const;

protected:
    qint64 writeData(const char *data, qint64 size) override;

private:
    void noteFailure();

    Access access_;
    int systemError_ = 0;
};

// The whole of `data` as the file at `path`; an empty string, or what the system said of
// the failure.
QString writeWholeFile(const QString &path, const QByteArray &data,
                       FileWriter::Access access = FileWriter::Access::Usual);

// A rename or a new file in `folder` is on disk only once the folder is.
void syncFolder(const QString &folder);
