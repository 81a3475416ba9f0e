#pragma once

#include "platform/platform.h"

#include <QObject>
#include <QPointer>

// The platform as Qt provides it: real dialogs, processes, the help viewer and the
// keyboard's lock states.
class QtPlatform : public Platform {
public:
    QtPlatform();
    ~QtPlatform() override;

    int messageBox(const QString &text, int style, const QString &title) override;
    QString fileDialog(FileDialogKind kind, const QString &title, const QString &filter,
                       const QString &folder, int flags, int *filterIndex = nullptr) override;
    bool printDialog(const QString &title, int flags, QPrinter &printer) override;
    bool pageSetupDialog(const QString &title, QPrinter &printer) override;
    void startProgram(const QString &program, const QStringList &arguments) override;
    void beep() override;
    bool showHelp(QWidget *window, const QString &helpFile, int command, int data) override;
    bool keyState(LockKey key) override;
    QDate today() override;
    QString dataFolder() override;
    QString shippedFolder() override;
    QString olderDataFolder() override;
    QString executableName() override;
    void endProgram() override;

private:
    class KeyTracker;
    QPointer<KeyTracker> keyTracker_;
};

// Turns a filter of "Description|pattern|Description|pattern" into Qt's form, with
// the patterns matched in either letter case.
QString qtNameFilter(const QString &filter);
