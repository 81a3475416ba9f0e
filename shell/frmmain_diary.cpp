// The main window's commands that act on the active diary window: files, editing,
// formatting and printing.
#include "shell/frmmain.h"

#include "diary/diaryfiles.h"
#include "diary/diarytexts.h"
#include "diary/frmdocument.h"
#include "diary/rtftextbox.h"
#include "platform/errorhandling.h"
#include "platform/messagebox.h"
#include "platform/platform.h"
#include "platform/runtimeerror.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>

frmDocument *frmMain::activeDiary() const {
    return qobject_cast<frmDocument *>(activeChild());
}

RtfTextBox &frmMain::activeText() const {
    // Phone book and browser windows have no rich-text box: the step fails there.
    frmDocument *document = activeDiary();
    if (!document)
        throw RuntimeError(ErrorNumber::ObjectRequired, QStringLiteral("Object required"));
    return *document->rtfText;
}

void frmMain::LoadNewDoc() {
    switchDocumentCommands(true);
    auto *document = new frmDocument(*this);
    document->setWindowTitle(entryNameFor(platform().today()));
    QMdiSubWindow *window = mdiArea_->addSubWindow(document);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    mdiArea_->setActiveSubWindow(window);
    document->setFocus();
}

void frmMain::mnuFileOpenDiaryEntry_Click(short) {
    if (!activeChild())
        LoadNewDoc();
    dlgCommonDialog.DialogTitle = DiaryText::openTitle();
    dlgCommonDialog.CancelError = false;
    dlgCommonDialog.Filter = DiaryText::fileFilter();
    dlgCommonDialog.ShowOpen();
    if (dlgCommonDialog.FileName.isEmpty())
        return;
    if (frmDocument *document = activeDiary())
        openEntry(*document, dlgCommonDialog.FileName);
}

void frmMain::mnuFileSave_Click() {
    // Anything but a diary window ends the command silently.
    if (frmDocument *document = activeDiary())
        saveEntry(*document);
}

void frmMain::mnuFileSaveAs_Click() {
    if (!activeChild())
        return;
    dlgCommonDialog.DialogTitle = DiaryText::saveAsTitle();
    dlgCommonDialog.CancelError = false;
    dlgCommonDialog.Filter = DiaryText::fileFilter();
    dlgCommonDialog.ShowSave();
    if (dlgCommonDialog.FileName.isEmpty())
        return;
    if (frmDocument *document = activeDiary())
        saveEntryAs(*document, dlgCommonDialog.FileName);
}

void frmMain::mnuFileClose_Click() {
    if (activeDiary())
        mdiArea_->currentSubWindow()->close();
}

void frmMain::mnuFileExit_Click() {
    // Exit ends the program without closing steps, but not over unsaved words: each
    // entry whose text changed is offered for saving first, and Cancel stays.
    for (QMdiSubWindow *window : mdiArea_->subWindowList()) {
        auto *document = qobject_cast<frmDocument *>(window->widget());
        if (!document || !document->textChanged())
            continue;
        mdiArea_->setActiveSubWindow(window);
        if (!offerToSave(*document, *this))
            return;
    }
    platform().endProgram();
}

void frmMain::mnuEditUndo_Click() {
    MsgBox(DiaryText::undoPlaceholder());
}

void frmMain::mnuEditCopy_Click() {
    runIgnoringErrors({[&] { QGuiApplication::clipboard()->setText(activeText().SelRTF()); }});
}

void frmMain::mnuEditCut_Click() {
    runIgnoringErrors({
        [&] { QGuiApplication::clipboard()->setText(activeText().SelRTF()); },
        [&] { activeText().setSelText(QString()); },
    });
}

void frmMain::mnuEditPaste_Click() {
    QString text;
    runIgnoringErrors({
        [&] { text = QGuiApplication::clipboard()->text(); },
        [&] { activeText().setSelRTF(text); },
    });
}

void frmMain::formatActiveDocument(const QString &key, QAction *button) {
    using Getter = std::optional<bool> (RtfTextBox::*)() const;
    using Setter = void (RtfTextBox::*)(bool);
    auto toggle = [&](Getter get, Setter set) {
        runIgnoringErrors({
            [&] {
                RtfTextBox &text = activeText();
                (text.*set)(!(text.*get)().value_or(false));
            },
            [&] { button->setChecked((activeText().*get)().value_or(false)); },
        });
    };
    if (key == QLatin1String("Bold"))
        toggle(&RtfTextBox::SelBold, &RtfTextBox::setSelBold);
    else if (key == QLatin1String("Italic"))
        toggle(&RtfTextBox::SelItalic, &RtfTextBox::setSelItalic);
    else if (key == QLatin1String("Underline"))
        toggle(&RtfTextBox::SelUnderline, &RtfTextBox::setSelUnderline);
    else if (key == QLatin1String("Align Left"))
        activeText().setSelAlignment(0);
    else if (key == QLatin1String("Center"))
        activeText().setSelAlignment(2);
    else if (key == QLatin1String("Align Right"))
        activeText().setSelAlignment(1);
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
                cancelled = error.Number() == ErrorNumber::DialogCancelled;
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
