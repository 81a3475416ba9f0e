#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

class QPrinter;
class QWidget;

enum class LockKey { Caps, Num, Scroll };
enum class FileDialogKind { Open, Save };

// Everything that waits for the user or reaches outside the process. The program uses
// the Qt implementation; tests install a scripted one that answers and records.
class Platform {
public:
    virtual ~Platform() = default;

    // Shows a modal message box; `style` holds the button set, icon and default button
    // (MsgBoxStyle) and the title is already resolved. Returns a MsgBoxResult.
    virtual int messageBox(const QString &text, int style, const QString &title) = 0;

    // The open or save file dialog, showing `folder` first; `filter` is
    // "Description|pattern|...". Returns the chosen path, or an empty string when the
    // user cancelled. With `filterIndex`, the filter it points to (counted from 1) is
    // the one shown first, and the one the user chose lands there.
    virtual QString fileDialog(FileDialogKind kind, const QString &title, const QString &filter,
                               const QString &folder, int flags, int *filterIndex = nullptr) = 0;

    // The print dialog, set up from `flags` (the print-dialog flag values); on OK the
    // printer holds the choice. Returns false when the user cancelled.
    virtual bool printDialog(const QString &title, int flags, QPrinter &printer) = 0;

    // The page set-up dialog for the printer. Returns false when the user cancelled.
    virtual bool pageSetupDialog(const QString &title, QPrinter &printer) = 0;

    // Starts a program with its arguments, without waiting for it and never through a
    // shell; a program named without a folder is looked for along PATH. The program lives
    // on after ORVANEL ends. Throws RuntimeError, with a description the user can read,
    // when it cannot be started.
    virtual void startProgram(const QString &program, const QStringList &arguments) = 0;

    virtual void beep() = 0;

    // Calls the help viewer with a help file, a command and its data; returns whether
    // the viewer accepted the call.
    virtual bool showHelp(QWidget *window, const QString &helpFile, int command, int data) = 0;

    // Whether a lock key is on.
    virtual bool keyState(LockKey key) = 0;

    virtual QDate today() = 0;

    // The folder of what the user writes: the diary and the phone book.
    virtual QString dataFolder() = 0;

    // The folder of what the program ships: the tips file and the registry hive.
    virtual QString shippedFolder() = 0;

    // Where an older build kept the user's data, to be offered for moving into the data
    // folder; empty when there is no such place to look at.
    virtual QString olderDataFolder() = 0;

    // The program file's name without its extension.
    virtual QString executableName() = 0;

    // Ends the program at once, without any closing step of any window.
    virtual void endProgram() = 0;
};

// The platform in use: the Qt one unless a test installed its own.
Platform &platform();

// Installs a platform (tests); nullptr goes back to the Qt one.
void setPlatform(Platform *replacement);
