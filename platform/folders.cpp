#include "platform/folders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

QString dataHomeOverride() {
    const QString home = qEnvironmentVariable("ORVANEL_HOME");
    return home.isEmpty() ? QString() : QDir::cleanPath(QDir(home).absolutePath());
}

// An installed program finds its prefix's folders at the same place relative to its own
// as the install rules put them; in a build folder they are not there, and everything
// lies beside the program.
QString installedOrProgram(const char *relativeToProgram) {
    const QString folder = Folders::program();
    const QString installed =
        QDir::cleanPath(folder + QLatin1Char('/') + QLatin1String(relativeToProgram));
    return QFileInfo(installed).isDir() ? installed : folder;
}

} // namespace

namespace Folders {

QString program() {
    return QCoreApplication::applicationDirPath();
}

bool isPortable(const QString &programFolder) {
    return QFileInfo::exists(programFolder + QStringLiteral("/portable"));
}

QString data() {
    if (const QString home = dataHomeOverride(); !home.isEmpty())
        return home;
    if (isPortable(program()))
        return program();
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/orvanel");
}

QString olderData() {
    if (!dataHomeOverride().isEmpty() || isPortable(program()))
        return {};
    return program();
}

QString shipped() {
    return installedOrProgram(ORVANEL_SHIPPED_FROM_PROGRAM);
}

QString modules() {
    return installedOrProgram(ORVANEL_MODULES_FROM_PROGRAM);
}

} // namespace Folders
