#pragma once

#include <QLocale>
#include <QRegularExpression>
#include <QString>

// The words the phone book's store tells the user: connecting, reading and writing records.
namespace StoreText {
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
} // namespace StoreText
