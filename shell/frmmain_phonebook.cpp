// The main window's commands for the phone book: its window, and contacts in and out.
#include "phonebook/contacttransferjob.h"
#include "phonebook/frmphonebook.h"
#include "phonebook/phonebooktexts.h"
#include "platform/messagebox.h"
#include "shell/frmmain.h"

#include <QDir>
#include <QFileInfo>
#include <QMdiSubWindow>

void frmMain::mnuDataPhoneBook_Click() {
    // A new window each time, with its own connection and records; the window lives
    // until the user closes it.
    auto *book = new frmPhoneBook;
    connect(book, &frmPhoneBook::Refreshed, this, &frmMain::refreshCalendarBirthdays);
    addChildWindow(book)->showMaximized();
}

void frmMain::mnuToolsImportContacts_Click() {
    dlgCommonDialog.DialogTitle = PhoneBookText::importTitle();
    dlgCommonDialog.CancelError = false;
    dlgCommonDialog.Filter = PhoneBookText::contactFilesFilter();
    dlgCommonDialog.FilterIndex = 1;
    dlgCommonDialog.InitDir = QDir::homePath();
    dlgCommonDialog.ShowOpen();
    const QString file = dlgCommonDialog.FileName;
    if (file.isEmpty())
        return;
    // Into the active phone book window as a drop on it would go; else into the phone
    // book that window would open.
    if (auto *book = qobject_cast<frmPhoneBook *>(activeChild()))
        book->importContactFiles({file});
    else
        offerContactImport(file, this);
}

void frmMain::mnuToolsExportContacts_Click() {
    dlgCommonDialog.DialogTitle = PhoneBookText::exportTitle();
    dlgCommonDialog.CancelError = false;
    dlgCommonDialog.Filter = PhoneBookText::exportFormatsFilter();
    dlgCommonDialog.FilterIndex = 1;
    dlgCommonDialog.InitDir = QDir::homePath();
    dlgCommonDialog.ShowSave();
    QString file = dlgCommonDialog.FileName;
    if (file.isEmpty())
        return;
    const ContactFormat formats[] = {ContactFormat::VCard3, ContactFormat::VCard4,
                                     ContactFormat::Csv};
    const int chosen = std::clamp(dlgCommonDialog.FilterIndex, 1, 3) - 1;
    // A name typed without an ending gets the chosen format's.
    if (QFileInfo(file).suffix().isEmpty()) {
        file +=
            formats[chosen] == ContactFormat::Csv ? QStringLiteral(".csv") : QStringLiteral(".vcf");
        if (QFileInfo::exists(file) &&
            MsgBox(PhoneBookText::replaceQuestion(QDir::toNativeSeparators(file)),
                   MsgBoxStyle::YesNo + MsgBoxStyle::Exclamation) != MsgBoxResult::Yes)
            return;
    }
    offerContactExport(file, formats[chosen], this);
}
