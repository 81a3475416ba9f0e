#include "diary/diarycommands.h"

#include "diary/diaryfiles.h"
#include "diary/diaryhost.h"
#include "diary/diarytexts.h"
#include "diary/entryrecovery.h"
#include "diary/frmdocument.h"
#include "diary/rtftextbox.h"
#include "platform/commondialog.h"
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

QWidget *DiaryCommands::activeChild() const {
    QMdiSubWindow *current = host_.mdiArea()->currentSubWindow();
    return current ? current->widget() : nullptr;
}

frmDocument *DiaryCommands::activeEntry() const {
    return qobject_cast<frmDocument *>(activeChild());
}

RtfTextBox &DiaryCommands::activeText() const {
    // Phone book and browser windows have no rich-text box: the step fails there.
    frmDocument *document = activeEntry();
    if (!document)
        raiseError(ErrorNumber::ObjectRequired);
    return *document->rtfText;
}

bool DiaryCommands::otherWindowsOpen(const frmDocument &document) const {
    for (QMdiSubWindow *window : host_.mdiArea()->subWindowList()) {
        auto *other = qobject_cast<frmDocument *>(window->widget());
        if (other && other != &document)
            return true;
    }
    return false;
}

QString DiaryCommands::chooseFile(FileDialogKind kind, const QString &title) {
    CommonDialog &dialog = host_.commonDialog();
    dialog.DialogTitle = title;
    dialog.CancelError = false;
    dialog.Filter = DiaryText::fileFilter();
    dialog.FilterIndex = 1;
    dialog.InitDir = QDir(diaryFolder()).exists() ? diaryFolder() : platform().dataFolder();
    if (kind == FileDialogKind::Open)
        dialog.ShowOpen();
    else
        dialog.ShowSave();
    return dialog.FileName;
}

void DiaryCommands::newEntry() {
    host_.switchDocumentCommands(true);
    auto *document = new frmDocument(host_);
    document->setWindowTitle(entryNameFor(platform().today()));
    host_.addChildWindow(document);
    document->setFocus();
}

void DiaryCommands::open() {
    if (!activeChild())
        newEntry();
    // The file replaces the window's text: its own changes are offered for saving first.
    if (frmDocument *document = activeEntry(); document && document->textChanged()) {
        if (!offerToSave(*document, host_))
            return;
    }
    const QString path = chooseFile(FileDialogKind::Open, DiaryText::openTitle());
    if (path.isEmpty())
        return;
    if (frmDocument *document = activeEntry())
        openEntry(*document, path);
}

void DiaryCommands::openFiles(const QStringList &paths) {
    for (const QString &path : paths) {
        newEntry();
        if (frmDocument *document = activeEntry())
            openEntry(*document, QFileInfo(path).absoluteFilePath());
    }
}

bool DiaryCommands::save() {
    // Anything but a diary window ends the command silently.
    frmDocument *document = activeEntry();
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
    return saveAs();
}

bool DiaryCommands::saveAs() {
    if (!activeChild())
        return false;
    const QString path = chooseFile(FileDialogKind::Save, DiaryText::saveAsTitle());
    if (path.isEmpty())
        return false;
    frmDocument *document = activeEntry();
    return document && saveEntryAs(*document, path);
}

void DiaryCommands::close() {
    if (activeEntry())
        host_.mdiArea()->currentSubWindow()->close();
}

void DiaryCommands::undo() {
    MsgBox(DiaryText::undoPlaceholder());
}

// Copy and Cut offer the selection as RTF, HTML and its visible text, so that other
// programs paste it formatted or plain; Paste takes the richest of them.
void DiaryCommands::copy() {
    runIgnoringErrors(
        {[&] { QGuiApplication::clipboard()->setMimeData(activeText().selectionData()); }});
}

void DiaryCommands::cut() {
    runIgnoringErrors({
        [&] { QGuiApplication::clipboard()->setMimeData(activeText().selectionData()); },
        [&] { activeText().setSelText(QString()); },
    });
}

void DiaryCommands::paste() {
    const QMimeData *data = nullptr;
    runIgnoringErrors({
        [&] { data = QGuiApplication::clipboard()->mimeData(); },
        [&] { activeText().replaceSelectionWith(data); },
    });
}

void DiaryCommands::applyCharacterFormat(CharacterFormat format, QAction *button) {
    runIgnoringErrors({
        [&] {
            RtfTextBox &text = activeText();
            text.setSelFormat(format, !text.SelFormat(format).value_or(false));
        },
        [&] { button->setChecked(activeText().SelFormat(format).value_or(false)); },
    });
}

void DiaryCommands::applyAlignment(Alignment alignment) {
    activeText().setSelAlignment(alignment);
}

void DiaryCommands::print() {
    CommonDialog &dialog = host_.commonDialog();
    if (!activeChild())
        return;
    QPrinter *printer = nullptr;
    bool cancelled = false;
    runIgnoringErrors({
        [&] {
            dialog.DialogTitle = DiaryText::printTitle();
            dialog.CancelError = true;
            dialog.Flags = PrintFlag::ReturnDeviceContext + PrintFlag::NoPageNumbers;
        },
        [&] {
            dialog.Flags +=
                activeText().SelLength() == 0 ? PrintFlag::AllPages : PrintFlag::Selection;
        },
        [&] {
            try {
                printer = dialog.ShowPrinter();
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

void DiaryCommands::pageSetup() {
    CommonDialog &dialog = host_.commonDialog();
    runIgnoringErrors({
        [&] {
            dialog.DialogTitle = DiaryText::pageSetupTitle();
            dialog.CancelError = true;
        },
        [&] { dialog.ShowPageSetup(); },
    });
}

// Recovery copies of diary entries: offered back at start, written when the program is
// told to end, removed when the user saved or gave up every entry.
QList<frmDocument *> DiaryCommands::windows() const {
    QList<frmDocument *> windows;
    for (QMdiSubWindow *window : host_.mdiArea()->subWindowList()) {
        if (auto *document = qobject_cast<frmDocument *>(window->widget()))
            windows << document;
    }
    return windows;
}

void DiaryCommands::writeRecoveryCopies() {
    for (frmDocument *document : windows())
        document->recovery().writeNow();
}

void DiaryCommands::discardRecoveryCopies() {
    for (frmDocument *document : windows())
        document->recovery().discard();
    recovery_.flush();
}

void DiaryCommands::offerRecovery() {
    RecoveryFolder::Orphans orphans = RecoveryFolder::claimOrphans();
    if (!orphans.refused.isEmpty()) {
        QStringList shown;
        for (const QString &path : std::as_const(orphans.refused))
            shown << QDir::toNativeSeparators(path);
        MsgBox(DiaryText::recoveryRefused(shown.join(QLatin1Char('\n'))), MsgBoxStyle::Exclamation);
    }
    if (!orphans.files.isEmpty()) {
        const int answer = MsgBox(DiaryText::recoveryQuestion(int(orphans.files.size())),
                                  MsgBoxStyle::YesNo + MsgBoxStyle::Question);
        if (answer == MsgBoxResult::Yes) {
            for (const QString &path : std::as_const(orphans.files))
                openRecoveredEntry(path);
        }
        // What was not taken back (all of it after a No) is kept where the user is told.
        orphans.files.removeIf([](const QString &path) { return !QFile::exists(path); });
        if (!orphans.files.isEmpty()) {
            const QString folder = orphans.setAside();
            MsgBox(folder.isEmpty() ? DiaryText::recoveryNotSetAside(
                                          QDir::toNativeSeparators(RecoveryFolder::root()))
                                    : DiaryText::recoverySetAside(QDir::toNativeSeparators(folder)),
                   MsgBoxStyle::Information);
        }
    }
    orphans.removeEmptyFolders();
}

void DiaryCommands::openRecoveredEntry(const QString &path) {
    const std::optional<RecoveryCopy> copy = RecoveryFolder::read(path);
    if (!copy)
        return;
    newEntry();
    frmDocument *document = activeEntry();
    try {
        document->rtfText->loadRtf(copy->rtf);
    } catch (const RuntimeError &) {
        // Not whole: it is set aside with the others, and the empty window goes.
        document->parentWidget()->close();
        return;
    }
    document->setWindowTitle(copy->title);
    document->filePath = copy->filePath;
    // Changed, so that closing the window or the program offers to save it.
    document->rtfText->document()->setModified(true);
    document->recovery().adopt(path);
}
