#include "testworld.h"

#include "platform/runtimeerror.h"
#include "platform/settings.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTest>
#include <QWidget>

TestWorld::TestWorld() {
    qputenv("XDG_CONFIG_HOME", dir_.filePath(QStringLiteral("config")).toUtf8());
    qputenv("XDG_STATE_HOME", dir_.filePath(QStringLiteral("state")).toUtf8());
    qputenv("XDG_CACHE_HOME", dir_.filePath(QStringLiteral("cache")).toUtf8());
    flushSettings();
    QDir().mkpath(programFolder());
    platform.folder = programFolder();
}

TestWorld::~TestWorld() {
    flushSettings();
    // The windows that outlive the main window (an open tip, options or runner window)
    // end with the world, as the program would end with them.
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window->isVisible())
            window->close();
    }
}

QString TestWorld::programFolder() const {
    return dir_.filePath(QStringLiteral("program"));
}
QString TestWorld::diaryFolder() const {
    return programFolder() + QStringLiteral("/Diary");
}
QString TestWorld::settingsFolder() const {
    return dir_.filePath(QStringLiteral("config/orvanel"));
}
QString TestWorld::path(const QString &relative) const {
    return dir_.filePath(relative);
}

void TestWorld::endRun() {
    flushSettings();
}

int errorNumberOf(const std::function<void()> &step) {
    try {
        step();
    } catch (const RuntimeError &error) {
        return error.Number();
    }
    return 0;
}

void writeFile(const QString &path, const QByteArray &bytes) {
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
    QCOMPARE(file.write(bytes), bytes.size());
}
