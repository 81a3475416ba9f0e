#include "diary/diaryfiles.h"

#include "diary/diarytexts.h"
#include "diary/frmdocument.h"
#include "diary/rtftextbox.h"
#include "platform/messagebox.h"
#include "platform/platform.h"
#include "platform/runtimeerror.h"

#include <QDir>
#include <QFileInfo>

namespace {
const QString entryExtension = QStringLiteral(".DIA");

QString shownPath(const QString &path) {
    return QDir::toNativeSeparators(path);
}

QString titlePath(const frmDocument &document) {
    return diaryFolder() + QLatin1Char('/') + document.windowTitle() + entryExtension;
}

QString targetOf(const frmDocument &document) {
    return document.filePath.isEmpty() ? titlePath(document) : document.filePath;
}

bool insideDiaryFolder(const QString &path) {
    const QString prefix = QDir::cleanPath(diaryFolder()) + QLatin1Char('/');
    return QDir::cleanPath(path).startsWith(prefix);
}

// Writes the entry, or tells the user why it could not be written.
bool write(frmDocument &document, const QString &path) {
    try {
        document.rtfText->SaveFile(path);
    } catch (const RuntimeError &error) {
        MsgBox(error.Description());
        return false;
    }
    writeSavedFlag(true);
    document.markSaved();
    return true;
}
} // namespace

QString diaryFolder() {
    return platform().programFolder() + QStringLiteral("/Diary");
}

QString entryNameFor(const QDate &day) {
    return DiaryText::entryPrefix() + day.toString(QStringLiteral("MM-dd-yyyy"));
}

bool saveEntry(frmDocument &document) {
    const QString path = targetOf(document);
    const bool needsDiaryFolder = insideDiaryFolder(path) && !QDir(diaryFolder()).exists();
    if (!needsDiaryFolder)
        return write(document, path);

    const int answer =
        MsgBox(DiaryText::folderQuestion(shownPath(diaryFolder())), MsgBoxStyle::YesNo);
    if (answer != MsgBoxResult::Yes) {
        MsgBox(DiaryText::couldNotBeSaved());
        return false;
    }
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        MsgBox(DiaryText::folderNotCreated(shownPath(diaryFolder())));
        return false;
    }
    return write(document, path);
}

void openEntry(frmDocument &document, const QString &path) {
    try {
        document.rtfText->LoadFile(path);
    } catch (const RuntimeError &error) {
        MsgBox(error.Description());
        return;
    }
    document.rtfText->document()->setModified(false);
    const QString prefix = QDir::cleanPath(diaryFolder()) + QLatin1Char('/');
    const QString cleaned = QDir::cleanPath(path);
    if (insideDiaryFolder(path) && cleaned.size() > prefix.size() + entryExtension.size())
        document.setWindowTitle(cleaned.mid(prefix.size()).chopped(entryExtension.size()));
    else
        document.setWindowTitle(shownPath(path));
    document.filePath = path;
}

void saveEntryAs(frmDocument &document, const QString &path) {
    document.setWindowTitle(shownPath(path));
    document.filePath = path;
    try {
        document.rtfText->SaveFile(path);
    } catch (const RuntimeError &error) {
        MsgBox(error.Description());
        return;
    }
    // The entry is on disk; the shared flag is left as it was.
    document.markSaved();
}
