// The main window's commands that act on the active diary window: files, editing,
// formatting and printing.
#include "shell/frmmain.h"

#include "diary/diaryfiles.h"
#include "diary/diarytexts.h"
#include "diary/frmdocument.h"
#include "diary/rtftextbox.h"
#include "phonebook/contacttransferjob.h"
#include "phonebook/phonebooktexts.h"
#include "platform/errorhandling.h"
#include "platform/messagebox.h"
#include "platform/platform.h"
#include "platform/runtimeerror.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>

frmDocument *frmMain::activeDiary() const {
    return qobject_cast<frmDocument *>(activeChild());
}

RtfTextBox &frmMain::activeText() const {
    // Phone book and browser windows have no rich-text box: the step fails there.
    frmDocument *document = activeDiary();
    if (!document)
        raiseError(ErrorNumber::ObjectRequired);
    return *document->rtfText;
}

bool frmMain::otherDiaryWindowsOpen(const frmDocument &document) const {
    for (QMdiSubWindow *window : mdiArea_->subWindowList()) {
        auto *other = qobject_cast<frmDocument *>(window->widget());
        if (other && other != &document)
            return true;
    }
    return false;
}

QString frmMain::chooseDiaryFile(FileDialogKind kind, const QString &title) {
    dlgCommonDialog.DialogTitle = title;
    dlgCommonDialog.CancelError = false;
    dlgCommonDialog.Filter = DiaryText::fileFilter();
    dlgCommonDialog.FilterIndex = 1;
    dlgCommonDialog.InitDir =
        QDir(diaryFolder()).exists() ? diaryFolder() : platform().dataFolder();
    if (kind == FileDialogKind::Open)
        dlgCommonDialog.ShowOpen();
    else
        dlgCommonDialog.ShowSave();
    return dlgCommonDialog.FileName;
}

void frmMain::LoadNewDoc() {
    switchDocumentCommands(true);
    auto *document = new frmDocument(*this);
    document->setWindowTitle(entryNameFor(platform().today()));
    addChildWindow(document);
    document->setFocus();
}

void frmMain::mnuFileOpenDiaryEntry_Click(short) {
    if (!activeChild())
        LoadNewDoc();
    // The file replaces the window's text: its own changes are offered for saving first.
    if (frmDocument *document = activeDiary(); document && document->textChanged()) {
        if (!offerToSave(*document, *this))
            return;
    }
    const QString path = chooseDiaryFile(FileDialogKind::Open, DiaryText::openTitle());
    if (path.isEmpty())
        return;
    if (frmDocument *document = activeDiary())
        openEntry(*document, path);
}

void frmMain::openDiaryFiles(const QStringList &paths) {
    for (const QString &path : paths) {
        LoadNewDoc();
        if (frmDocument *document = activeDiary())
            openEntry(*document, QFileInfo(path).absoluteFilePath());
    }
}

void frmMain::mnuFileSave_Click() {
    saveActiveEntry();
}

bool frmMain::saveActiveEntry() {
    // Anything but a diary window ends the command silently.
    frmDocument *document = activeDiary();
    if (!document)
        return false;
    switch (saveEntry(*document)) {
    case SaveOutcome::Saved:
        return true;
    case SaveOutcome::NotSaved:
        return false;
    case SaveOutcome::ReplaceDeclined:
        break;
    }
    return saveActiveEntryAs();
}

void frmMain::mnuFileSaveAs_Click() {
    saveActiveEntryAs();
}

bool frmMain::saveActiveEntryAs() {
    if (!activeChild())
        return false;
    const QString path = chooseDiaryFile(FileDialogKind::Save, DiaryText::saveAsTitle());
    if (path.isEmpty())
        return false;
    frmDocument *document = activeDiary();
    return document && saveEntryAs(*document, path);
}

void frmMain::mnuFileClose_Click() {
    if (activeDiary())
        mdiArea_->currentSubWindow()->close();
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
        discardRecoveryCopies();
        platform().endProgram();
    }
}

void frmMain::mnuEditUndo_Click() {
    MsgBox(DiaryText::undoPlaceholder());
}

// Copy and Cut offer the selection as RTF, HTML and its visible text, so that other
// programs paste it formatted or plain; Paste takes the richest of them.
void frmMain::mnuEditCopy_Click() {
    runIgnoringErrors(
        {[&] { QGuiApplication::clipboard()->setMimeData(activeText().selectionData()); }});
}

void frmMain::mnuEditCut_Click() {
    runIgnoringErrors({
        [&] { QGuiApplication::clipboard()->setMimeData(activeText().selectionData()); },
        [&] { activeText().setSelText(QString()); },
    });
}

void frmMain::mnuEditPaste_Click() {
    const QMimeData *data = nullptr;
    runIgnoringErrors({
        [&] { data = QGuiApplication::clipboard()->mimeData(); },
        [&] { activeText().replaceSelectionWith(data); },
    });
}

void frmMain::applyCharacterFormat(CharacterFormat format, QAction *button) {
    runIgnoringErrors({
        [&] {
            RtfTextBox &text = activeText();
            text.setSelFormat(format, !text.SelFormat(format).value_or(false));
        },
        [&] { button->setChecked(activeText().SelFormat(format).value_or(false)); },
    });
}

void frmMain::applyAlignment(Alignment alignment) {
    activeText().setSelAlignment(alignment);
}

void frmMain::mnuFilePrint_Click() {
    if (!activeChild())
        return;
    QPrinter *printer = nullptr;
    bool cancelled = false;
    runIgnoringErrors({
        [&] {
            dlgCommonDialog.DialogTitle = DiaryText::printTitle();
            dlgCommonDialog.CancelError = true;
            dlgCommonDialog.Flags = PrintFlag::ReturnDeviceContext + PrintFlag::NoPageNumbers;
        },
        [&] {
            dlgCommonDialog.Flags +=
                activeText().SelLength() == 0 ? PrintFlag::AllPages : PrintFlag::Selection;
        },
        [&] {
            try {
                printer = dlgCommonDialog.ShowPrinter();
            } catch (const RuntimeError &error) {
                cancelled = error.is(ErrorNumber::DialogCancelled);
                throw;
            }
        },
        [&] {
            if (!cancelled && printer)
                activeText().SelPrint(printer);
        },
    });
}

void frmMain::mnuFilePageSetup_Click() {
    runIgnoringErrors({
        [&] {
            dlgCommonDialog.DialogTitle = DiaryText::pageSetupTitle();
            dlgCommonDialog.CancelError = true;
        },
        [&] { dlgCommonDialog.ShowPageSetup(); },
    });
}
