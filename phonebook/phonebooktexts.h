#pragma once

#include "phonebook/outlooklanguages.h"

#include <QLocale>
#include <QRegularExpression>
#include <QString>

// The words the phone book shows the user, in one place.
namespace PhoneBookText {
inline QString windowCaption() {
    return QStringLiteral("Orvanel Phone Book");
}

inline QString recordNotSaved() {
    return QStringLiteral("This record has changes that are not saved. Save them now?");
}

// The search.
inline QString emptySearchText() {
    return QStringLiteral("Please enter the item to be searched");
}
inline QString noMatch() {
    return QStringLiteral("No matching record was found.");
}

// Loading the database.
inline QString notKeyAndValue(const QString &part) {
    return QStringLiteral("The connection string is not valid: \"%1\" is not a key=value pair.")
        .arg(part);
}
inline QString notKeyAndValueAfterPassword() {
    return QStringLiteral("The connection string is not valid: what follows the Password is not "
                          "a list of key=value pairs. A password that holds a ; must be written "
                          "in quotes.");
}
inline QString unclosedQuote(const QString &key) {
    return QStringLiteral("The connection string is not valid: the quoted value of %1 is not "
                          "closed.")
        .arg(key);
}
inline QString textAfterQuote(const QString &key) {
    return QStringLiteral("The connection string is not valid: text follows the quoted value "
                          "of %1.")
        .arg(key);
}
inline QString unknownProvider(const QString &provider) {
    return provider.isEmpty()
               ? QStringLiteral("The connection string names no PROVIDER: the phone book "
                                "cannot be opened.")
               : QStringLiteral("The database provider \"%1\" is not known: the phone book "
                                "cannot be opened.")
                     .arg(provider);
}
inline QString unknownKey(const QString &key) {
    return QStringLiteral("The connection string has a key the phone book does not know: %1.")
        .arg(key);
}
inline QString noDataSource() {
    return QStringLiteral("The connection string names no Data Source: the phone book cannot be "
                          "opened.");
}
inline QString fileMissing(const QString &path) {
    return QStringLiteral("The phone book database %1 was not found.").arg(path);
}
inline QString notAFile(const QString &path) {
    return QStringLiteral("The phone book database %1 is not a file.").arg(path);
}
inline QString cannotOpen(const QString &path, const QString &reason) {
    return QStringLiteral("The phone book database %1 cannot be opened: %2.").arg(path, reason);
}
inline QString notADatabase(const QString &path) {
    return QStringLiteral("%1 is not a phone book database: it is not a database file, or it "
                          "is damaged.")
        .arg(path);
}
inline QString noTable(const QString &path) {
    return QStringLiteral("The database %1 has no table PHONEBOOK.").arg(path);
}
inline QString noColumn(const QString &path, const QString &column) {
    return QStringLiteral("The table PHONEBOOK in %1 has no column %2.").arg(path, column);
}

// The phone book on a server. `server` says where: "at db.example:5432", "on this
// computer"; `database` names the database there.
inline QString badPort(const QString &port) {
    return QStringLiteral("The connection string is not valid: the Port must be a number from 1 "
                          "to 65535, not \"%1\".")
        .arg(port);
}
inline QString postgresDriverMissing() {
    return QStringLiteral("The phone book cannot be opened: Qt's PostgreSQL driver is not "
                          "installed (Debian package libqt6sql6-psql).");
}
inline QString serverUnreachable(const QString &server, const QString &reason) {
    return reason.isEmpty()
               ? QStringLiteral("The phone book server %1 cannot be reached: the connection was "
                                "lost. Try again when the server is back.")
                     .arg(server)
               : QStringLiteral("The phone book server %1 cannot be reached: %2. Try again when "
                                "the server is back.")
                     .arg(server, reason);
}
inline QString serverRefused(const QString &server, const QString &reason) {
    return QStringLiteral("The phone book server %1 refused the connection: %2.")
        .arg(server, reason);
}
inline QString openSocketFolder(const QString &folder) {
    return QStringLiteral("The phone book server's socket folder %1 can be written by every user "
                          "of this computer, so a server found there cannot be trusted with the "
                          "phone book. Name a folder that only the server's user can write.")
        .arg(folder);
}
inline QString passwordInTheClear(const QString &server) {
    return QStringLiteral("The phone book server %1 would take the password unprotected (in clear "
                          "text or as MD5, without TLS), so it was not given. Add SSL Mode=require "
                          "to the connection string, or have the server ask by scram-sha-256.")
        .arg(server);
}
inline QString noAnswer(int seconds) {
    return QStringLiteral("it did not answer within %1 seconds").arg(seconds);
}
inline QString serverTooSlow(const QString &server, int seconds) {
    return QStringLiteral("The phone book server %1 did not finish the command within %2 "
                          "seconds, so nothing was changed. Try again in a moment.")
        .arg(server)
        .arg(seconds);
}
inline QString noPermission(const QString &reason) {
    return QStringLiteral("The phone book server does not let you do that: %1.").arg(reason);
}
inline QString tableExists(const QString &database) {
    return QStringLiteral("The database %1 already has a table PHONEBOOK.").arg(database);
}
// A server's message with the password taken out, should it ever repeat it: where it
// stands as a word of its own, so that a short password does not garble other words.
inline QString withoutSecret(QString text, const QString &password) {
    if (!password.isEmpty())
        text.replace(QRegularExpression(QStringLiteral("(?<![\\p{L}\\p{N}_])") +
                                        QRegularExpression::escape(password) +
                                        QStringLiteral("(?![\\p{L}\\p{N}_])")),
                     QStringLiteral("********"));
    return text;
}

// Reading and writing records.
// Put before the beginning of a value too long to show, where the eye falls first.
inline QString valueCut(qint64 wholeBytes) {
    return QStringLiteral("[Too long to show: this value is %1, and only its beginning follows] ")
        .arg(QLocale().formattedDataSize(wholeBytes, 1));
}
inline QString recordTooLong() {
    return QStringLiteral("This contact holds a value too long to show whole, so it cannot be "
                          "changed or deleted in this window. Change it with another program.");
}
inline QString busy() {
    return QStringLiteral("The phone book is in use by another program. Try again in a "
                          "moment.");
}
inline QString readOnly(const QString &path) {
    return QStringLiteral("The phone book %1 cannot be changed: the file is read-only.").arg(path);
}
inline QString fileRemoved(const QString &path) {
    return QStringLiteral("The phone book file %1 was removed or moved while this window was "
                          "open: nothing was changed.")
        .arg(path);
}
inline QString fileReplaced(const QString &path) {
    return QStringLiteral("The phone book file %1 was replaced by another file while this window "
                          "was open: nothing was changed. Refresh reads the new file.")
        .arg(path);
}
inline QString folderReadOnly(const QString &path, const QString &folder) {
    return QStringLiteral("The phone book %1 cannot be changed: its folder %2 cannot be written, "
                          "and the database keeps its journal there while it writes.")
        .arg(path, folder);
}
inline QString viewNotWritable(const QString &path) {
    return QStringLiteral("The phone book in %1 cannot be changed: its PHONEBOOK is a view, not "
                          "a table, and only a table can be written.")
        .arg(path);
}
inline QString diskFull() {
    return QStringLiteral("The disk is full: the change was not written.");
}
inline QString changedElsewhere() {
    return QStringLiteral("This record was changed or deleted by another program or window "
                          "after this window read it. Nothing was written: your change is still "
                          "here. Refresh shows the current values.");
}
inline QString deletedOrChangedElsewhere() {
    return QStringLiteral("This record was changed or deleted by another program or window "
                          "after this window read it, so it was not deleted. Refresh shows the "
                          "current values.");
}
inline QString duplicateValue(const QString &column, const QString &value) {
    return QStringLiteral("Another record already has %1 as its %2. Each record needs a %2 of "
                          "its own.")
        .arg(value, column);
}
inline QString notWholeNumber(const QString &column, const QString &value) {
    return QStringLiteral("The %1 must be a whole number; \"%2\" is not one.").arg(column, value);
}
inline QString wrongKind(const QString &column, const QString &value) {
    return QStringLiteral("The database does not take \"%1\" as a %2.").arg(value, column);
}
inline QString mustHaveValue(const QString &column) {
    return QStringLiteral("The %1 must not be empty.").arg(column);
}
inline QString refusedByRule(const QString &reason) {
    return QStringLiteral("The database refused the record: %1.").arg(reason);
}
inline QString clientLibraryMissing(const QString &library, const QString &reason) {
    return QStringLiteral("A phone book server cannot be reached from this computer: the "
                          "server's client library %1 could not be loaded (%2). Install "
                          "libpq5.")
        .arg(library, reason);
}
inline QString databaseError(const QString &reason) {
    return QStringLiteral("The phone book database reported an error: %1.").arg(reason);
}
inline QString noCurrentRecord() {
    return QStringLiteral("There is no current record.");
}
inline QString emptyPhoneBook() {
    return QStringLiteral("There is no current record: the phone book has no records.");
}
inline QString notOpen() {
    return QStringLiteral("The phone book is not open: it could not be loaded when this window "
                          "opened.");
}

// Contacts in and out: vCard and CSV files.
inline QString contactFileMissing(const QString &path) {
    return QStringLiteral("The file %1 was not found.").arg(path);
}
inline QString contactFileUnreadable(const QString &path, const QString &reason) {
    return QStringLiteral("%1 cannot be read: %2.").arg(path, reason);
}
inline QString contactFileNotOrdinary(const QString &path) {
    return QStringLiteral("%1 is not a file that can be imported: only an ordinary file holds "
                          "contacts.")
        .arg(path);
}
inline QString contactFileEmpty(const QString &path) {
    return QStringLiteral("%1 is empty: it holds no contacts.").arg(path);
}
inline QString contactFileBinary(const QString &path) {
    return QStringLiteral("%1 is not a vCard or CSV file: it holds binary data. Nothing was "
                          "added.")
        .arg(path);
}
inline QString contactLineTooLong(const QString &path, qint64 line, int mebibytes) {
    return QStringLiteral("%1 was not imported: line %2 is longer than %3 MiB, more than any "
                          "contact needs. Nothing was added.")
        .arg(path)
        .arg(line)
        .arg(mebibytes);
}
inline QString cardWithoutEnd(const QString &path, qint64 card, qint64 line) {
    return QStringLiteral("%1 was not imported: card %2, which begins on line %3, has no "
                          "END:VCARD. Nothing was added.")
        .arg(path)
        .arg(card)
        .arg(line);
}
inline QString lineOutsideCard(const QString &path, qint64 line) {
    return QStringLiteral("%1 was not imported: line %2 is not part of a card (a card begins "
                          "with BEGIN:VCARD and ends with END:VCARD). Nothing was added.")
        .arg(path)
        .arg(line);
}
inline QString unclosedCsvQuote(const QString &path, qint64 line) {
    return QStringLiteral("%1 was not imported: the quoted field that begins on line %2 is not "
                          "closed. Nothing was added.")
        .arg(path)
        .arg(line);
}
inline QString csvFieldTooLong(const QString &path, qint64 line) {
    return QStringLiteral("%1 was not imported: the quoted field that begins on line %2 is longer "
                          "than 16 MiB. Nothing was added.")
        .arg(path)
        .arg(line);
}
inline QString unknownCsvHeaders(const QString &path) {
    return QStringLiteral(
               "%1 was not imported: its first line is not a header this program knows. It "
               "looks for the headers of an ORVANEL export (NAME, PHONE and the other column "
               "names), of Google Contacts (\"Name\", \"Given Name\", \"First Name\", \"Phone 1 - "
               "Value\", \"E-mail 1 - Value\", \"Address 1 - City\"), of Outlook (\"First Name\", "
               "\"Last Name\", \"Home Street\", \"Mobile Phone\", \"E-mail Address\"; or in %2), "
               "and of Thunderbird (\"Display Name\", \"Primary Email\", \"Work Phone\"), "
               "separated by commas, semicolons or tabs.")
        .arg(path, outlookLanguageList());
}
inline QString importFailed(const QString &reason) {
    return QStringLiteral("%1 Nothing was added: the phone book is as it was.").arg(reason);
}
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
inline QString importCancelled() {
    return QStringLiteral("The import was cancelled. Nothing was added: the phone book is as "
                          "it was.");
}
inline QString exportCancelled(const QString &path) {
    return QStringLiteral("The export was cancelled. Nothing was written: %1 is as it was.")
        .arg(path);
}
inline QString exportDone(long count, const QString &path) {
    return (count == 1 ? QStringLiteral("1 contact written to %2.")
                       : QStringLiteral("%L1 contacts written to %2."))
        .arg(count)
        .arg(path);
}
inline QString cannotWriteExport(const QString &path, const QString &reason) {
    return QStringLiteral("%1 cannot be written: %2.").arg(path, reason);
}

// Why one contact of a file was refused.
inline QString nothingToKeep() {
    return QStringLiteral("it has no name, phone, e-mail, address or birthday");
}
inline QString serialNotWhole(const QString &value) {
    return QStringLiteral("its serial number \"%1\" is not a whole number").arg(value);
}
inline QString tooManyFields(qsizetype fields, qsizetype headers) {
    return QStringLiteral("it has %1 fields where the header has %2").arg(fields).arg(headers);
}
inline QString notAProperty(qint64 line) {
    return QStringLiteral("line %1 is not a property (it has no colon)").arg(line);
}
inline QString unknownCharset(const QString &charset) {
    return QStringLiteral("its character set %1 is not known").arg(charset);
}
inline QString unknownVCardVersion(const QString &version) {
    return QStringLiteral("it is vCard version %1, which this program does not read").arg(version);
}
inline QString cardOrigin(qint64 card) {
    return QStringLiteral("card %1").arg(card);
}
inline QString lineOrigin(qint64 line) {
    return QStringLiteral("line %1").arg(line);
}
} // namespace PhoneBookText
