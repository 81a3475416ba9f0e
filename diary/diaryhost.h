#pragma once

#include "diary/formatting.h"

#include <optional>

class CommonDialog;
class QMdiArea;
class QMdiSubWindow;
class QWidget;
class Recovery;
class frmDocument;

// What diary windows and their commands need of the main window that holds them: its
// area of child windows and its common dialog, the Save command, the switching of the
// document commands, the recovery copies and the six formatting buttons of the toolbar.
class DiaryHost {
public:
    virtual ~DiaryHost() = default;

    // Saves the active diary window as File > Save does (Save As when the user would not
    // replace its file); whether the entry was written.
    virtual bool saveActiveEntry() = 0;

    virtual QMdiArea *mdiArea() const = 0;
    // Shows a window as a child window that closes for good, and makes it the active one.
    virtual QMdiSubWindow *addChildWindow(QWidget *child) = 0;
    virtual CommonDialog &commonDialog() = 0;

    // Switches the document commands (toolbar, Save, Save As, Close, Edit) on or off.
    virtual void switchDocumentCommands(bool on) = 0;

    // Whether a diary window other than this one is open.
    virtual bool otherDiaryWindowsOpen(const frmDocument &document) const = 0;

    // The program's recovery copies of entries.
    virtual Recovery &recovery() = 0;

    // Shows a character format's button pressed or released.
    virtual void showCharacterFormat(CharacterFormat format, bool on) = 0;
    // Presses the alignment's button and releases the other two; nothing releases all.
    virtual void showAlignment(std::optional<Alignment> alignment) = 0;
};
