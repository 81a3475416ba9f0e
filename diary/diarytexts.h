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
} // namespace DiaryText
