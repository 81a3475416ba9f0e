#include "diary/diaryfiles.h"

#include "diary/diarytexts.h"
#include "diary/frmdocument.h"
#include "diary/rtftextbox.h"
#include "platform/messagebox.h"
#include "platform/platform.h"
#include "platform/runtimeerror.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

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
        MsgBox(DiaryText::notWritten(error.Description()), MsgBoxStyle::Exclamation);
        return false;
    }
    document.markInStep(FileStamp::of(path));
    return true;
}

// Another entry of the same day, or a file another program rewrote since this window
// read it, is replaced only when the user says so. (A folder in the way is no file to
// replace: the write tells about it.)
bool mayReplace(const frmDocument &document, const QString &path) {
    if (!QFileInfo(path).isFile() || document.knowsFileAsItIs(path))
        return true;
    return MsgBox(DiaryText::replaceQuestion(shownPath(path)),
                  MsgBoxStyle::YesNo + MsgBoxStyle::Exclamation + MsgBoxStyle::DefaultButton2) ==
           MsgBoxResult::Yes;
}

bool writeAndFlag(frmDocument &document, const QString &path) {
    if (!write(document, path))
        return false;
    writeSavedFlag(true);
    return true;
}
} // namespace

QString entryFileExtension() {
    return entryExtension;
}

bool isInDiaryFolder(const QString &path) {
    if (path.isEmpty() || !QDir::isAbsolutePath(path) || !insideDiaryFolder(path))
        return false;
    // A link in the diary folder may lead anywhere: the folder the file is in, as the
    // system finds it, must be the diary folder's own or one inside it.
    const QString folder = QFileInfo(QFileInfo(path).absolutePath()).canonicalFilePath();
    const QString diary = QFileInfo(diaryFolder()).canonicalFilePath();
    if (folder.isEmpty() || diary.isEmpty())
        return !QFileInfo::exists(diaryFolder());
    return folder == diary || folder.startsWith(diary + QLatin1Char('/'));
}

QString diaryFolder() {
    return platform().dataFolder() + QStringLiteral("/Diary");
}

QString entryFile(const frmDocument &document) {
    return targetOf(document);
}

QString entryNameFor(const QDate &day) {
    return DiaryText::entryPrefix() + day.toString(QStringLiteral("MM-dd-yyyy"));
}

std::optional<QDate> dayInName(const QString &name) {
    static const QRegularExpression dated(QStringLiteral("(\\d\\d)-(\\d\\d)-(\\d{4})"));
    const QRegularExpressionMatch match = dated.match(name);
    if (!match.hasMatch())
        return std::nullopt;
    const QDate day(match.captured(3).toInt(), match.captured(1).toInt(),
                    match.captured(2).toInt());
    return day.isValid() ? std::optional(day) : std::nullopt;
}

SaveOutcome saveEntry(frmDocument &document) {
    const QString path = targetOf(document);
    const bool needsDiaryFolder = insideDiaryFolder(path) && !QDir(diaryFolder()).exists();
    if (!needsDiaryFolder) {
        if (!mayReplace(document, path))
            return SaveOutcome::ReplaceDeclined;
        return writeAndFlag(document, path) ? SaveOutcome::Saved : SaveOutcome::NotSaved;
    }

    const int answer =
        MsgBox(DiaryText::folderQuestion(shownPath(diaryFolder())), MsgBoxStyle::YesNo);
    if (answer != MsgBoxResult::Yes) {
        MsgBox(DiaryText::couldNotBeSaved());
        return SaveOutcome::NotSaved;
    }
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        MsgBox(DiaryText::folderNotCreated(shownPath(diaryFolder())));
        return SaveOutcome::NotSaved;
    }
    return writeAndFlag(document, path) ? SaveOutcome::Saved : SaveOutcome::NotSaved;
}

void openEntry(frmDocument &document, const QString &path) {
    // The file as it was before reading: a change while it is read makes the next Save
    // ask, never the other way round.
    std::optional<FileStamp> before = FileStamp::of(path);
    try {
        document.rtfText->LoadFile(path);
    } catch (const RuntimeError &error) {
        MsgBox(error.Description(), MsgBoxStyle::Exclamation);
        return;
    }
    document.markInStep(std::move(before));
    const QString prefix = QDir::cleanPath(diaryFolder()) + QLatin1Char('/');
    const QString cleaned = QDir::cleanPath(path);
    if (insideDiaryFolder(path) && cleaned.size() > prefix.size() + entryExtension.size())
        document.setWindowTitle(cleaned.mid(prefix.size()).chopped(entryExtension.size()));
    else
        document.setWindowTitle(shownPath(path));
    document.filePath = path;
}

bool saveEntryAs(frmDocument &document, const QString &path) {
    // The entry is on disk before the window takes the new name; the shared flag is
    // left as it was.
    if (!write(document, path))
        return false;
    document.setWindowTitle(shownPath(path));
    document.filePath = path;
    return true;
}
