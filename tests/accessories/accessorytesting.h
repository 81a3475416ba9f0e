#pragma once

#include "shell/frmmain.h"

#include <QAccessible>
#include <QAction>
#include <QTest>

// Chooses a menu command of the main window by its item's name.
inline void choose(frmMain &main, const char *item) {
    auto *action = main.findChild<QAction *>(QLatin1String(item));
    QVERIFY2(action, item);
    action->trigger();
}

// The accessory window of a kind, once the program made it.
template <typename Window> Window *shown(frmMain &main) {
    return main.accessoryWindow<Window>();
}

// What a screen reader hears as a control's name.
inline QString spokenName(QObject *control) {
    QAccessibleInterface *reader = QAccessible::queryAccessibleInterface(control);
    return reader ? reader->text(QAccessible::Name) : QString();
}

// Presses a button as a screen reader does, through its Press action.
inline void pressAsReader(QObject *button) {
    QAccessibleInterface *reader = QAccessible::queryAccessibleInterface(button);
    QVERIFY(reader && reader->actionInterface());
    reader->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
}
