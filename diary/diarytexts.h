#pragma once

#include <QString>

// The words the diary shows the user, in one place.
namespace DiaryText {
inline QString notSavedQuestion() {
    return QStringLiteral("Diary Entry Not Saved. Save it now ?");
}
inline QString savingTitle() {
    return QStringLiteral("Diary Entry Saving");
}
inline QString folderQuestion(const QString &folder) {
    return QStringLiteral("Directory ") + folder +
           QStringLiteral(" does not exist. Do you want to the directory to be created?");
}
inline QString folderNotCreated(const QString &folder) {
    return QStringLiteral("Directory ") + folder +
           QStringLiteral(" could not be created. The Diary Entry could not be saved");
}
inline QString replaceQuestion(const QString &path) {
    return path + QStringLiteral(" already exists.\nDo you want to replace it?");
}
inline QString notWritten(const QString &reason) {
    return QStringLiteral("The Diary Entry could not be saved.\n\n") + reason;
}
inline QString couldNotBeSaved() {
    return QStringLiteral("The Diary Entry could not be saved");
}
inline QString entryPrefix() {
    return QStringLiteral("Diary ");
}
inline QString fileFilter() {
    return QStringLiteral("Diary Files (*.DIA)|*.DIA");
}
inline QString openTitle() {
    return QStringLiteral("Open");
}
inline QString saveAsTitle() {
    return QStringLiteral("Save As");
}
inline QString printTitle() {
    return QStringLiteral("Print");
}
inline QString pageSetupTitle() {
    return QStringLiteral("Page Setup");
}
inline QString undoPlaceholder() {
    return QStringLiteral("Add 'mnuEditUndo_Click' code.");
}
inline QString recoveryNotWritten(const QString &folder, const QString &reason) {
    return QStringLiteral("Copies of unsaved diary entries cannot be kept in ") + folder +
           QStringLiteral(", so a crash would lose what was typed since the last save. "
                          "Save your entries with File > Save.\n\n") +
           reason;
}
inline QString recoveryQuestion(int count) {
    return count == 1
               ? QStringLiteral("ORVANEL was not closed properly. Recover 1 unsaved diary entry?")
               : QStringLiteral(
                     "ORVANEL was not closed properly. Recover %1 unsaved diary entries?")
                     .arg(count);
}
inline QString recoverySetAside(const QString &folder) {
    return QStringLiteral("The unsaved diary entries were set aside in ") + folder +
           QStringLiteral(". Each is an RTF file that a word processor opens.");
}
inline QString recoveryNotSetAside(const QString &folder) {
    return QStringLiteral("The unsaved diary entries could not all be set aside. They stay in ") +
           folder + QStringLiteral(".");
}
inline QString recoveredTitle() {
    return QStringLiteral("Recovered entry");
}
inline QString recoveryRefused(const QString &folders) {
    return QStringLiteral("Among the copies of unsaved diary entries stood what ORVANEL did not "
                          "make for you (a link, or a folder of another user). It was not "
                          "read, and was set aside as:\n\n") +
           folders;
}

// The search of the diary.
inline QString findTitle() {
    return QStringLiteral("Find in Diary");
}
inline QString findLabel() {
    return QStringLiteral("&Find:");
}
inline QString bestMatchFirst() {
    return QStringLiteral("&Best match first");
}
inline QString foundList() {
    return QStringLiteral("Entries found");
}
inline QString typeToFind() {
    return QStringLiteral("Type the words to find.");
}
inline QString entriesFound(int count) {
    return count == 0   ? QStringLiteral("No entry holds the words.")
           : count == 1 ? QStringLiteral("1 entry holds the words.")
                        : QStringLiteral("%L1 entries hold the words.").arg(count);
}
inline QString firstListed(int listed) {
    return QStringLiteral("The first %L1 are listed.").arg(listed);
}
inline QString hitsIn(int hits) {
    return hits == 1 ? QStringLiteral("1 hit") : QStringLiteral("%L1 hits").arg(hits);
}
inline QString readingEntries(int done, int total) {
    return QStringLiteral("Reading the diary: %L1 of %L2 entries...").arg(done).arg(total);
}
inline QString unreadableEntries(int count) {
    return count == 1 ? QStringLiteral("1 entry could not be read.")
                      : QStringLiteral("%L1 entries could not be read.").arg(count);
}

// The calendar of the diary.
inline QString calendarTitle() {
    return QStringLiteral("Diary Calendar");
}
inline QString calendarDays() {
    return QStringLiteral("Days");
}
inline QString calendarToday() {
    return QStringLiteral(", today");
}
inline QString calendarEntry() {
    return QStringLiteral(", diary entry");
}
inline QString calendarBirthday(const QString &name) {
    return QStringLiteral(", birthday: ") + name;
}
inline QString birthdaysOn(const QString &names) {
    return QStringLiteral("Birthdays: ") + names;
}
} // namespace DiaryText
