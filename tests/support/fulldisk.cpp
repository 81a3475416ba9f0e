#include "fulldisk.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <csignal>
#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

FullDisk::FullDisk(const QString &folder) : folder_(folder) {
    QDir().mkpath(folder);
    mounted_ = ::mount("orvanel-test", QFile::encodeName(folder).constData(), "tmpfs", 0,
                       "size=2m,mode=0700") == 0;
}

FullDisk::~FullDisk() {
    if (limited_)
        ::setrlimit(RLIMIT_FSIZE, &before_);
    if (mounted_)
        ::umount2(QFile::encodeName(folder_).constData(), MNT_DETACH);
}

void FullDisk::fill() {
    if (mounted_) {
        const int fd = ::open(QFile::encodeName(folder_ + "/.filler").constData(),
                              O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
        QVERIFY(fd >= 0);
        const QByteArray block(4096, 'x');
        while (::write(fd, block.constData(), size_t(block.size())) > 0) {
        }
        // The last few bytes a page could still hold.
        while (::write(fd, "x", 1) > 0) {
        }
        ::close(fd);
        return;
    }
    // A write past the limit fails with EFBIG instead of ending the process.
    std::signal(SIGXFSZ, SIG_IGN);
    ::getrlimit(RLIMIT_FSIZE, &before_);
    rlimit none = before_;
    none.rlim_cur = 0;
    limited_ = ::setrlimit(RLIMIT_FSIZE, &none) == 0;
    QVERIFY(limited_);
}

QString FullDisk::reason() const {
    return mounted_ ? QStringLiteral("No space left on device") : QStringLiteral("File too large");
}
