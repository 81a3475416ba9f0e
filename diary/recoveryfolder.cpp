#include "diary/recoveryfolder.h"

#include "diary/diaryfiles.h"
#include "diary/diarytexts.h"
#include "platform/filewriter.h"
#include "rtf/rtffile.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <algorithm>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
const QString runPrefix = QStringLiteral("run-");
const QString lockName = QStringLiteral("lock");
const QString copyPrefix = QStringLiteral("entry-");
const QString copySuffix = QStringLiteral(".rtf");
const QByteArray rtfStart = QByteArrayLiteral("{\\rtf1");
// A destination that readers which do not know it skip, holding the entry's title and
// file as hexadecimal JSON: seven-bit text without a brace in it, whatever the names.
const QByteArray headerStart = QByteArrayLiteral("{\\rtf1{\\*\\orvanelrecovery ");

// An exclusive lock on `path`, created when missing; -1 when another process holds it or
// the name is a link.
int lockFile(const QString &path) {
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return -1;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// A folder of the user's own: a folder, not a link to one, that belongs to the user. Other
// users can read nothing in it.
bool isOwnFolder(const QString &path) {
    struct stat status {};
    if (::lstat(QFile::encodeName(path).constData(), &status) != 0 || !S_ISDIR(status.st_mode) ||
        status.st_uid != ::geteuid())
        return false;
    if ((status.st_mode & 077) != 0)
        ::chmod(QFile::encodeName(path).constData(), 0700);
    return true;
}

bool exists(const QString &path) {
    struct stat status {};
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0;
}

QString timeStamp() {
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH.mm.ss"));
}

// Moves what stands at `path` out of the way, unread, under a name beside it that says
// why and that no later start takes for a run's folder.
QString setAsideForeign(const QString &path) {
    const QFileInfo where(path);
    const QString start = where.path() + QStringLiteral("/not ORVANEL's, set aside ") +
                          timeStamp() + QStringLiteral(" - ") + where.fileName();
    QString target = start;
    for (int n = 2; exists(target); ++n)
        target = start + QStringLiteral(" (%1)").arg(n);
    return ::rename(QFile::encodeName(path).constData(), QFile::encodeName(target).constData()) == 0
               ? target
               : path;
}

// Makes `path` a folder of the user's own when it is missing. Anything else that stands
// there (a link, another user's folder, a file) is set aside and the folder made anew;
// `refused` learns what was set aside.
bool makeOwnFolder(const QString &path, QStringList &refused) {
    if (isOwnFolder(path))
        return true;
    if (exists(path))
        refused << setAsideForeign(path);
    return ::mkdir(QFile::encodeName(path).constData(), 0700) == 0 && isOwnFolder(path);
}

// The recovery folder and the program's state folder above it, both the user's own.
bool makeRoot(QStringList &refused) {
    const QString root = RecoveryFolder::root();
    const QString state = QFileInfo(root).path();
    return QDir().mkpath(QFileInfo(state).path()) && makeOwnFolder(state, refused) &&
           makeOwnFolder(root, refused);
}

QStringList copiesIn(const QString &folder) {
    const QFileInfoList found =
        QDir(folder).entryInfoList({copyPrefix + QLatin1Char('*') + copySuffix},
                                   QDir::Files | QDir::NoSymLinks, QDir::Time | QDir::Reversed);
    QStringList paths;
    for (const QFileInfo &file : found)
        paths << file.filePath();
    return paths;
}

// A name for a set-aside copy that the user recognises: the entry's title, without the
// characters a file name cannot hold.
QString setAsideName(const QString &path) {
    const std::optional<RecoveryCopy> copy = RecoveryFolder::read(path);
    QString name = copy && !copy->title.isEmpty() ? copy->title : QFileInfo(path).baseName();
    name.replace(QLatin1Char('/'), QLatin1Char('-'));
    name.replace(QLatin1Char('\0'), QLatin1Char('-'));
    return name.left(200);
}
} // namespace

QString RecoveryFolder::root() {
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || QDir::isRelativePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return state + QStringLiteral("/orvanel/recovery");
}

RecoveryFolder::RecoveryFolder() = default;

RecoveryFolder::~RecoveryFolder() {
    if (lock_ < 0)
        return;
    if (copiesIn(folder_).isEmpty()) {
        QFile::remove(folder_ + QLatin1Char('/') + lockName);
        QDir().rmdir(folder_);
    }
    ::close(lock_);
}

QString RecoveryFolder::ensureFolder() {
    if (lock_ >= 0)
        return {};
    const QString base = root();
    // What is set aside here was planted after the start, which told of any before.
    QStringList refused;
    if (!makeRoot(refused))
        return QStringLiteral("The folder %1 cannot be created.")
            .arg(QDir::toNativeSeparators(base));
    // Made under a hidden name and locked before it takes its name, so that no other run
    // sees it unlocked.
    const QString name = runPrefix + QString::number(QCoreApplication::applicationPid()) +
                         QLatin1Char('-') +
                         QString::number(QRandomGenerator::global()->generate(), 16);
    const QString hidden = base + QStringLiteral("/.") + name;
    if (::mkdir(QFile::encodeName(hidden).constData(), 0700) != 0)
        return QStringLiteral("The folder %1 cannot be created.")
            .arg(QDir::toNativeSeparators(hidden));
    const int fd = lockFile(hidden + QLatin1Char('/') + lockName);
    const QString named = base + QLatin1Char('/') + name;
    if (fd < 0 || !QDir().rename(hidden, named)) {
        if (fd >= 0)
            ::close(fd);
        QDir(hidden).removeRecursively();
        return QStringLiteral("The folder %1 cannot be written to.")
            .arg(QDir::toNativeSeparators(base));
    }
    folder_ = named;
    lock_ = fd;
    return {};
}

QString RecoveryFolder::pathOf(int id) const {
    return folder_ + QLatin1Char('/') + copyPrefix + QString::number(id) + copySuffix;
}

QByteArray RecoveryFolder::encode(const RecoveryCopy &copy) {
    const QJsonObject names{{QStringLiteral("title"), copy.title},
                            {QStringLiteral("file"), copy.filePath}};
    QByteArray out = headerStart;
    out += QJsonDocument(names).toJson(QJsonDocument::Compact).toHex();
    out += '}';
    out += copy.rtf.startsWith(rtfStart) ? copy.rtf.mid(rtfStart.size()) : copy.rtf;
    return out;
}

std::optional<RecoveryCopy> RecoveryFolder::read(const QString &path) {
    const RtfFile::Result file = RtfFile::read(path);
    if (file.outcome != RtfFile::Outcome::Read || !file.data.startsWith(headerStart))
        return std::nullopt;
    const qsizetype end = file.data.indexOf('}', headerStart.size());
    if (end < 0)
        return std::nullopt;
    const QJsonDocument names = QJsonDocument::fromJson(
        QByteArray::fromHex(file.data.mid(headerStart.size(), end - headerStart.size())));
    if (!names.isObject())
        return std::nullopt;
    RecoveryCopy copy;
    copy.title = names.object().value(QStringLiteral("title")).toString();
    copy.filePath = names.object().value(QStringLiteral("file")).toString();
    // A copy says which entry it is, but it is a file like any other: its title is only
    // ever a name, and its file only one in the diary folder. Any other entry comes back
    // without a file, so that Save puts it into the diary folder under its title.
    copy.title = copy.title.section(QLatin1Char('/'), -1);
    if (copy.title.endsWith(entryFileExtension(), Qt::CaseInsensitive))
        copy.title.chop(entryFileExtension().size());
    if (copy.title.isEmpty() || copy.title == QLatin1String("..") ||
        copy.title == QLatin1String("."))
        copy.title = DiaryText::recoveredTitle();
    if (!isInDiaryFolder(copy.filePath))
        copy.filePath.clear();
    copy.rtf = rtfStart + file.data.mid(end + 1);
    return copy;
}

QString RecoveryFolder::write(int id, const RecoveryCopy &copy) {
    const QMutexLocker locked(&mutex_);
    if (const QString failure = ensureFolder(); !failure.isEmpty())
        return failure;
    return writeWholeFile(pathOf(id), encode(copy), FileWriter::Access::OwnerOnly);
}

void RecoveryFolder::remove(int id) {
    const QMutexLocker locked(&mutex_);
    if (lock_ >= 0 && QFile::remove(pathOf(id)))
        syncFolder(folder_);
}

bool RecoveryFolder::adopt(int id, const QString &path) {
    const QMutexLocker locked(&mutex_);
    if (!ensureFolder().isEmpty())
        return false;
    return ::rename(QFile::encodeName(path).constData(),
                    QFile::encodeName(pathOf(id)).constData()) == 0;
}

struct RecoveryFolder::Orphans::Claim {
    QString folder;
    int lock = -1;
};

RecoveryFolder::Orphans::Orphans() = default;
RecoveryFolder::Orphans::Orphans(Orphans &&) noexcept = default;
RecoveryFolder::Orphans &RecoveryFolder::Orphans::operator=(Orphans &&) noexcept = default;

RecoveryFolder::Orphans::~Orphans() {
    for (const Claim &claim : claims_)
        ::close(claim.lock);
}

RecoveryFolder::Orphans RecoveryFolder::claimOrphans() {
    Orphans orphans;
    if (!exists(root()))
        return orphans;
    if (!makeRoot(orphans.refused))
        return orphans;
    const QDir base(root());
    for (const QString &name :
         base.entryList({runPrefix + QLatin1Char('*')}, QDir::AllEntries | QDir::System)) {
        const QString folder = base.filePath(name);
        // Only a folder this user's ORVANEL made is taken back; what someone else put here
        // is neither read nor changed, only moved out of the way.
        if (!isOwnFolder(folder)) {
            orphans.refused << setAsideForeign(folder);
            continue;
        }
        const int fd = lockFile(folder + QLatin1Char('/') + lockName);
        if (fd < 0)
            continue; // a running ORVANEL keeps these
        orphans.claims_.push_back({folder, fd});
        orphans.files += copiesIn(folder);
    }
    return orphans;
}

QString RecoveryFolder::Orphans::setAside() {
    const QString base = root();
    const QString stamp = timeStamp();
    QString folder = base + QStringLiteral("/set aside ") + stamp;
    for (int n = 2; exists(folder); ++n)
        folder = base + QStringLiteral("/set aside ") + stamp + QStringLiteral(" (%1)").arg(n);
    if (::mkdir(QFile::encodeName(folder).constData(), 0700) != 0)
        return {};
    bool all = true;
    for (const QString &path : std::as_const(files)) {
        const QString name = setAsideName(path);
        QString target = folder + QLatin1Char('/') + name + copySuffix;
        for (int n = 2; QFileInfo::exists(target); ++n)
            target = folder + QLatin1Char('/') + name + QStringLiteral(" (%1)").arg(n) + copySuffix;
        all = ::rename(QFile::encodeName(path).constData(),
                       QFile::encodeName(target).constData()) == 0 &&
              all;
    }
    syncFolder(folder);
    return all ? folder : QString();
}

void RecoveryFolder::Orphans::removeEmptyFolders() {
    for (const Claim &claim : claims_) {
        if (copiesIn(claim.folder).isEmpty()) {
            QFile::remove(claim.folder + QLatin1Char('/') + lockName);
            QDir().rmdir(claim.folder);
        }
    }
}
