#include "shell/datafolder.h"

#include "phonebook/store/sqlitefile.h"
#include "platform/filewriter.h"
#include "platform/messagebox.h"
#include "platform/platform.h"
#include "platform/settings.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <sys/stat.h>

namespace {

const QString phoneBookName = QStringLiteral("/ORVANEL.MDB");
const QString diaryName = QStringLiteral("/Diary");

QString shown(const QString &path) {
    return QDir::toNativeSeparators(path);
}

// The files of a folder and of the folders in it, named relative to it; links are not
// followed (what they point at is not the folder's own).
QStringList filesUnder(const QString &folder) {
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::NoSymLinks,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(folder).relativeFilePath(it.next());
    return files;
}

// What an older build left in its own folder.
struct OlderData {
    QString folder;
    QStringList entries;
    bool phoneBook = false;
    bool empty() const { return entries.isEmpty() && !phoneBook; }
};

QString whatWasFound(const OlderData &older) {
    const qsizetype count = older.entries.size();
    const QString entries = count == 1 ? QStringLiteral("1 diary entry")
                                       : QStringLiteral("%1 diary entries").arg(count);
    if (count == 0)
        return QStringLiteral("a phone book");
    return older.phoneBook ? entries + QStringLiteral(" and a phone book") : entries;
}

QString copiedFromSetting() {
    return GetSetting(QStringLiteral("ORVANEL"), QStringLiteral("DataFolder"),
                      QStringLiteral("CopiedFrom"));
}

// The older build's data is offered only to a data folder that holds nothing of the
// user's yet (no entry, no contact), and only until it was copied once.
OlderData olderDataToOffer(const QString &data) {
    OlderData older;
    older.folder = platform().olderDataFolder();
    if (older.folder.isEmpty() || copiedFromSetting() == older.folder ||
        QFileInfo(older.folder).canonicalFilePath() == QFileInfo(data).canonicalFilePath())
        return {};
    older.entries = filesUnder(older.folder + diaryName);
    older.phoneBook = QFileInfo(older.folder + phoneBookName).isFile();
    if (older.empty() || !filesUnder(data + diaryName).isEmpty())
        return {};
    if (QFileInfo::exists(data + phoneBookName) &&
        SqliteFile::contactCount(data + phoneBookName).value_or(1) != 0)
        return {};
    return older;
}

// Copies each entry and reads the copy back; on a failure the copies made so far go
// again, and the originals are never touched.
QString copyEntries(const OlderData &older, const QString &data) {
    QStringList written;
    QString failure;
    for (const QString &entry : older.entries) {
        const QString from = older.folder + diaryName + QLatin1Char('/') + entry;
        const QString to = data + diaryName + QLatin1Char('/') + entry;
        QFile source(from);
        if (!source.open(QIODevice::ReadOnly)) {
            failure = QStringLiteral("%1: %2").arg(shown(from), source.errorString());
            break;
        }
        const QByteArray bytes = source.readAll();
        if (QFileInfo::exists(to)) {
            failure = QStringLiteral("%1 is there already").arg(shown(to));
            break;
        }
        QDir().mkpath(QFileInfo(to).absolutePath());
        if (const QString error = writeWholeFile(to, bytes); !error.isEmpty()) {
            failure = QStringLiteral("%1: %2").arg(shown(to), error);
            break;
        }
        written << to;
        QFile copy(to);
        if (!copy.open(QIODevice::ReadOnly) || copy.readAll() != bytes) {
            failure = QStringLiteral("%1 did not read back as %2").arg(shown(to), shown(from));
            break;
        }
    }
    if (!failure.isEmpty()) {
        for (const QString &copy : std::as_const(written))
            QFile::remove(copy);
    }
    return failure;
}

QString copyOlderData(const OlderData &older, const QString &data) {
    if (const QString failure = copyEntries(older, data); !failure.isEmpty())
        return failure;
    if (!older.phoneBook)
        return {};
    // The data folder's phone book holds no contact (it was checked): only then is it
    // replaced.
    const QString failure = SqliteFile::copy(older.folder + phoneBookName, data + phoneBookName);
    if (!failure.isEmpty()) {
        for (const QString &entry : older.entries)
            QFile::remove(data + diaryName + QLatin1Char('/') + entry);
    }
    return failure;
}

void offerOlderData(const QString &data) {
    const OlderData older = olderDataToOffer(data);
    if (older.empty())
        return;
    const QString what = whatWasFound(older);
    const int answer =
        MsgBox(QStringLiteral("ORVANEL now keeps your diary and phone book in %1, where a new "
                              "build or an update cannot delete them.\n\nAn older ORVANEL kept "
                              "%2 in %3. Copy to %1 now? The originals stay where they "
                              "are.")
                   .arg(shown(data), what, shown(older.folder)),
               MsgBoxStyle::YesNo + MsgBoxStyle::Question);
    if (answer != MsgBoxResult::Yes)
        return;
    if (const QString failure = copyOlderData(older, data); !failure.isEmpty()) {
        MsgBox(QStringLiteral("ORVANEL could not copy %1 to %2: %3.\n\nNothing in %4 was "
                              "changed; ORVANEL offers the copy again at its next start.")
                   .arg(what, shown(data), failure, shown(older.folder)),
               MsgBoxStyle::Exclamation);
        return;
    }
    SaveSetting(QStringLiteral("ORVANEL"), QStringLiteral("DataFolder"),
                QStringLiteral("CopiedFrom"), older.folder);
    MsgBox(QStringLiteral("ORVANEL copied %1 to %2 and read the copies back whole. The "
                          "originals are still in %3; ORVANEL uses the copies from now on.")
               .arg(what, shown(data), shown(older.folder)),
           MsgBoxStyle::Information);
}

} // namespace

void prepareDataFolder() {
    const QString data = platform().dataFolder();
    const bool isNew = !QFileInfo::exists(data);
    if (isNew) {
        // What the user writes is the user's alone.
        if (!QDir().mkpath(QFileInfo(data).absolutePath()) ||
            ::mkdir(QFile::encodeName(data).constData(), 0700) != 0) {
            MsgBox(QStringLiteral("ORVANEL could not make the folder %1, where it keeps your "
                                  "diary and phone book: %2.")
                       .arg(shown(data), qt_error_string(errno)),
                   MsgBoxStyle::Exclamation);
            return;
        }
    }
    offerOlderData(data);
    if (isNew && !QFileInfo::exists(data + phoneBookName)) {
        if (const QString failure = SqliteFile::create(data + phoneBookName); !failure.isEmpty())
            MsgBox(QStringLiteral("ORVANEL could not make an empty phone book %1: %2.")
                       .arg(shown(data + phoneBookName), failure),
                   MsgBoxStyle::Exclamation);
    }
}
