#include "platform/settings.h"

#include <QDir>
#include <QHash>
#include <QSettings>
#include <QStandardPaths>
#include <cmath>
#include <memory>

namespace {

// The open INI files, by application name in lower case. QSettings keeps changes in
// memory and writes them out (atomically) from the event loop, so the saved flag that
// every key press writes costs no disk access of its own.
QHash<QString, std::shared_ptr<QSettings>> &openFiles() {
    static QHash<QString, std::shared_ptr<QSettings>> files;
    return files;
}

QSettings &fileOf(const QString &application) {
    const QString name = application.toLower();
    auto &files = openFiles();
    auto found = files.find(name);
    if (found == files.end()) {
        const QString path = settingsFolder() + QLatin1Char('/') + name + QStringLiteral(".ini");
        found = files.insert(name, std::make_shared<QSettings>(path, QSettings::IniFormat));
    }
    return **found;
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
    QSettings &file = fileOf(application);
    QString path = storedPath(file, section, key);
    if (path.isEmpty()) {
        const QString group = matching(file.childGroups(), section);
        path = (group.isEmpty() ? section : group) + QLatin1Char('/') + key;
    } else if (file.value(path).toString() == value) {
        return;
    }
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
        file->sync();
    files.clear();
}
