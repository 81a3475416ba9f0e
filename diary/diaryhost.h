#pragma once

#include <QString>

// What a diary window needs of the main window that holds it: the Save command, the
// switching of the document commands and the six formatting buttons of the toolbar.
class DiaryHost {
public:
    virtual ~DiaryHost() = default;

    // The main window's File > Save, which saves the active diary window.
    virtual void mnuFileSave_Click() = 0;

    // Switches the document commands (toolbar, Save, Save As, Close, Edit) on or off.
    virtual void switchDocumentCommands(bool on) = 0;

    // Presses or releases a toolbar button, by its key ("Bold", "Center", ...).
    virtual void setToolbarButtonValue(const QString &key, bool pressed) = 0;
};
