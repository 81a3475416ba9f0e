#pragma once

#include <QString>

// The words the phone book's window and its contact transfers show the user.
namespace PhoneBookText {
inline QString windowCaption() {
    return QStringLiteral("Orvanel Phone Book");
}
inline QString recordNotSaved() {
    return QStringLiteral("This record has changes that are not saved. Save them now?");
}
// The status line and the navigation buttons' names.
inline QString recordStatus(int position) {
    return QStringLiteral("Record: ") + QString::number(position);
}
inline QString addingRecord() {
    return QStringLiteral("Add record");
}
inline QString editingRecord() {
    return QStringLiteral("Edit record");
}
inline QString firstRecord() {
    return QStringLiteral("First");
}
inline QString previousRecord() {
    return QStringLiteral("Previous");
}
inline QString nextRecord() {
    return QStringLiteral("Next");
}
inline QString lastRecord() {
    return QStringLiteral("Last");
}
// The search.
inline QString emptySearchText() {
    return QStringLiteral("Please enter the item to be searched");
}
inline QString noMatch() {
    return QStringLiteral("No matching record was found.");
}
// Contacts in and out from the Tools menu and by dropping files on the window.
inline QString askImport(const QString &path) {
    return QStringLiteral("Add the contacts of %1 to the phone book?").arg(path);
}
inline QString contactFilesFilter() {
    return QStringLiteral("Contacts (*.vcf *.vcard *.csv)|*.vcf;*.vcard;*.csv|All Files (*.*)|*");
}
inline QString exportFormatsFilter() {
    return QStringLiteral("vCard 3.0 (*.vcf)|*.vcf|vCard 4.0 (*.vcf)|*.vcf|CSV (*.csv)|*.csv");
}
inline QString replaceQuestion(const QString &path) {
    return path + QStringLiteral(" already exists.\nDo you want to replace it?");
}
inline QString importTitle() {
    return QStringLiteral("Import Contacts");
}
inline QString exportTitle() {
    return QStringLiteral("Export Contacts");
}
inline QString importing(const QString &file) {
    return QStringLiteral("Adding the contacts of %1...").arg(file);
}
inline QString exporting(const QString &file) {
    return QStringLiteral("Writing the contacts to %1...").arg(file);
}
inline QString cancelling() {
    return QStringLiteral("Cancelling...");
}
inline QString cancelButton() {
    return QStringLiteral("Cancel");
}
inline QString transferRunning() {
    return QStringLiteral("Contacts are being imported or exported. Wait until that has "
                          "ended, or cancel it.");
}
inline QString closeDuringTransfer(bool import) {
    return import ? QStringLiteral("Contacts are being imported. Cancel the import and close "
                                   "ORVANEL?\n\nNothing of it will have been added.")
                  : QStringLiteral("Contacts are being exported. Cancel the export and close "
                                   "ORVANEL?\n\nNo file will have been written.");
}
inline QString exportDone(long count, const QString &path) {
    return (count == 1 ? QStringLiteral("1 contact written to %2.")
                       : QStringLiteral("%L1 contacts written to %2."))
        .arg(count)
        .arg(path);
}
} // namespace PhoneBookText
