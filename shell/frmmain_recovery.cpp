// Recovery copies of diary entries: offered back at start, written when the program is
// told to end, removed when the user saved or gave up every entry.
#include "shell/frmmain.h"

#include "diary/diarytexts.h"
#include "diary/entryrecovery.h"
#include "diary/frmdocument.h"
#include "diary/rtftextbox.h"
#include "platform/messagebox.h"
#include "platform/runtimeerror.h"

#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>

QList<frmDocument *> frmMain::diaryWindows() const {
    QList<frmDocument *> windows;
    for (QMdiSubWindow *window : mdiArea_->subWindowList()) {
        if (auto *document = qobject_cast<frmDocument *>(window->widget()))
            windows << document;
    }
    return windows;
}

void frmMain::writeRecoveryCopies() {
    for (frmDocument *document : diaryWindows())
        document->recovery().writeNow();
}

void frmMain::discardRecoveryCopies() {
    for (frmDocument *document : diaryWindows())
        document->recovery().discard();
    recovery_.flush();
}

void frmMain::offerRecovery() {
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

void frmMain::openRecoveredEntry(const QString &path) {
    const std::optional<RecoveryCopy> copy = RecoveryFolder::read(path);
    if (!copy)
        return;
    LoadNewDoc();
    frmDocument *document = activeDiary();
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
