#pragma once

#include "diary/formatting.h"
#include "diary/recovery.h"

#include <QList>
#include <QString>
#include <QStringList>

class DiaryHost;
class QAction;
class RtfTextBox;
class frmDocument;
enum class FileDialogKind;

// The main window's commands on diary windows: new, open, save, close, the Edit
// commands, formatting, printing, and the recovery copies of every window. The main
// window's menu and toolbar handlers forward here.
class DiaryCommands {
public:
    explicit DiaryCommands(DiaryHost &host) : host_(host) {}

    // The active child window when it is a diary window.
    frmDocument *activeEntry() const;
    // Its rich-text box; throws when the active window is no diary window.
    RtfTextBox &activeText() const;
    QList<frmDocument *> windows() const;
    bool otherWindowsOpen(const frmDocument &document) const;

    // A new, empty diary window titled with today's date.
    void newEntry();
    // File > Open: a file into the active diary window (a new one when none is open),
    // after offering the window's own changes for saving.
    void open();
    // Each file in a diary window of its own, as File > Open does.
    void openFiles(const QStringList &paths);
    // File > Save and Save As of the active diary window; whether the entry was written.
    bool save();
    bool saveAs();
    void close();

    void undo();
    void copy();
    void cut();
    void paste();
    void applyCharacterFormat(CharacterFormat format, QAction *button);
    void applyAlignment(Alignment alignment);
    void print();
    void pageSetup();

    Recovery &recovery() { return recovery_; }
    // Offers back the entries of runs that ended without saving them.
    void offerRecovery();
    // Writes the copy of every diary window with changes, for a program about to end.
    void writeRecoveryCopies();
    // Removes them: the user saved each entry or said No to saving it.
    void discardRecoveryCopies();

private:
    QWidget *activeChild() const;
    // The Open or Save As dialog for diary files, showing the diary folder first;
    // returns the chosen path, empty when cancelled.
    QString chooseFile(FileDialogKind kind, const QString &title);
    void openRecoveredEntry(const QString &path);

    DiaryHost &host_;
    Recovery recovery_;
};
