// The main window's command that opens a phone book window.
#include "phonebook/frmphonebook.h"
#include "shell/frmmain.h"

#include <QMdiSubWindow>

void frmMain::mnuDataPhoneBook_Click() {
    // A new window each time, with its own connection and records; the window lives
    // until the user closes it.
    auto *book = new frmPhoneBook;
    connect(book, &frmPhoneBook::Refreshed, this, &frmMain::refreshCalendarBirthdays);
    addChildWindow(book)->showMaximized();
}
