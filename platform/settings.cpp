#include "platform/settings.h"

#include "platform/messagebox.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSettings>
#include <QTemporaryFile>
#include <cmath>
#include <memory>

namespace {

struct OpenFile {
    std::shared_ptr<QSettings> settings;
    bool writeChecked = false;
};

// The open INI files, by application name in lower case. QSettings keeps changes in
// memory and writes them out (atomically) from the event loop, so the saved flag that
// every key press writes costs no disk access of its own.
QHash<QString, OpenFile> &openFiles() {
    static QHash<QString, OpenFile> files;
    return files;
}

// Whether the user was told this run that the store cannot keep its values.
bool toldUnwritable = false;

OpenFile &openFileOf(const QString &application) {
    const QString name = application.toLower();
    auto &files = openFiles();
    auto found = files.find(name);
    if (found == files.end()) {
        const QString path = settingsFolder() + QLatin1Char('/') + name + QStringLiteral(".ini");
        found = files.insert(name, {std::make_shared<QSettings>(path, QSettings::IniFormat)});
    }
    return *found;
}

QSettings &fileOf(const QString &application) {
    return *openFileOf(application).settings;
}

// Why values written to the file at `path` would not be kept; empty when they would.
QString whyNotWritable(const QString &path) {
    const QString folder = QFileInfo(path).absolutePath();
    const QString shown = QDir::toNativeSeparators(folder);
    const QFileInfo folderInfo(folder);
    if (folderInfo.exists() && !folderInfo.isDir())
        return QStringLiteral("%1 is a file, not a folder").arg(shown);
    if (!QDir().mkpath(folder))
        return QStringLiteral("the folder %1 cannot be created").arg(shown);
    QTemporaryFile probe(folder + QStringLiteral("/.orvanel-XXXXXX"));
    if (!probe.open())
        return QStringLiteral("the folder %1 cannot be written").arg(shown);
    if (QFileInfo(path).isDir())
        return QStringLiteral("%1 is a folder, not a file").arg(QDir::toNativeSeparators(path));
    QFile existing(path);
    if (existing.exists() && !existing.open(QIODevice::WriteOnly | QIODevice::Append))
        return QStringLiteral("%1 cannot be written").arg(QDir::toNativeSeparators(path));
    return {};
}

// The first value written to a file in a run checks that the store can keep it, and the
// user hears once a run when it cannot: otherwise the window's bounds and the diary's
// saved flag would be lost without a word.
void checkWritable(OpenFile &file) {
    if (file.writeChecked)
        return;
    file.writeChecked = true;
    const QString reason = whyNotWritable(file.settings->fileName());
    if (reason.isEmpty() || toldUnwritable)
        return;
    toldUnwritable = true;
    MsgBox(QStringLiteral("ORVANEL cannot store its settings: %1.\n\nThe window's position "
                          "and whether the diary is saved will not be remembered after this "
                          "run.")
               .arg(reason),
           MsgBoxStyle::Exclamation);
}

QString matching(const QStringList &names, const QString &wanted) {
    for (const QString &name : names)
        if (name.compare(wanted, Qt::CaseInsensitive) == 0)
            return name;
    return {};
}

// The stored "section/key" that matches without regard to case, or an empty string.
QString storedPath(QSettings &file, const QString &section, const QString &key) {
    const QString group = matching(file.childGroups(), section);
    if (group.isEmpty())
        return {};
    file.beginGroup(group);
    const QString stored = matching(file.childKeys(), key);
    file.endGroup();
    return stored.isEmpty() ? QString() : group + QLatin1Char('/') + stored;
}

} // namespace

QString settingsFolder() {
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/orvanel");
}

QString GetSetting(const QString &application, const QString &section, const QString &key,
                   const QString &defaultValue) {
    QSettings &file = fileOf(application);
    const QString path = storedPath(file, section, key);
    return path.isEmpty() ? defaultValue : file.value(path).toString();
}

void SaveSetting(const QString &application, const QString &section, const QString &key,
                 const QString &value) {
    OpenFile &open = openFileOf(application);
    QSettings &file = *open.settings;
    QString path = storedPath(file, section, key);
    if (path.isEmpty()) {
        const QString group = matching(file.childGroups(), section);
        path = (group.isEmpty() ? section : group) + QLatin1Char('/') + key;
    } else if (file.value(path).toString() == value) {
        return;
    }
    checkWritable(open);
    file.setValue(path, value);
}

double GetNumberSetting(const QString &application, const QString &section, const QString &key,
                        double defaultValue) {
    bool isNumber = false;
    const double value = GetSetting(application, section, key).trimmed().toDouble(&isNumber);
    return isNumber && std::isfinite(value) ? value : defaultValue;
}

QString settingNumberText(double value) {
    return QString::number(static_cast<float>(value), 'g', 7);
}

void flushSettings() {
    auto &files = openFiles();
    for (auto &file : files)
        file.settings->sync();
    files.clear();
    toldUnwritable = false;
}
