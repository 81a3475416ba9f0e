// The main window's commands on diary windows, which DiaryCommands carries out.
#include "shell/frmmain.h"

#include "diary/frmdocument.h"
#include "phonebook/contacttransferjob.h"
#include "phonebook/phonebooktexts.h"
#include "platform/messagebox.h"
#include "platform/platform.h"

frmDocument *frmMain::activeDiary() const {
    return diary_.activeEntry();
}

void frmMain::LoadNewDoc() {
    diary_.newEntry();
}

void frmMain::openDiaryFiles(const QStringList &paths) {
    diary_.openFiles(paths);
}

void frmMain::mnuFileOpenDiaryEntry_Click(short) {
    diary_.open();
}

void frmMain::mnuFileSave_Click() {
    diary_.save();
}

bool frmMain::saveActiveEntry() {
    return diary_.save();
}

void frmMain::mnuFileSaveAs_Click() {
    diary_.saveAs();
}

void frmMain::mnuFileClose_Click() {
    diary_.close();
}

void frmMain::mnuFilePrint_Click() {
    diary_.print();
}

void frmMain::mnuFilePageSetup_Click() {
    diary_.pageSetup();
}

void frmMain::mnuEditUndo_Click() {
    diary_.undo();
}

void frmMain::mnuEditCut_Click() {
    diary_.cut();
}

void frmMain::mnuEditCopy_Click() {
    diary_.copy();
}

void frmMain::mnuEditPaste_Click() {
    diary_.paste();
}

bool frmMain::otherDiaryWindowsOpen(const frmDocument &document) const {
    return diary_.otherWindowsOpen(document);
}

void frmMain::mnuFileExit_Click() {
    // An import or export running is cancelled first, when the user says so.
    if (ContactTransferJob *job = ContactTransferJob::running()) {
        if (MsgBox(PhoneBookText::closeDuringTransfer(job->isImport()),
                   MsgBoxStyle::YesNo + MsgBoxStyle::Question) == MsgBoxResult::Yes)
            job->cancel([this] { mnuFileExit_Click(); });
        return;
    }
    // Exit ends the program without closing steps, but not over unsaved words: each
    // entry whose text changed, and each record being added or edited, is offered for
    // saving first, and Cancel stays.
    if (offerToSaveChanges()) {
        diary_.discardRecoveryCopies();
        platform().endProgram();
    }
}
