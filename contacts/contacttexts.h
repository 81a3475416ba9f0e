#pragma once

#include "contacts/outlooklanguages.h"

#include <QLocale>
#include <QRegularExpression>
#include <QString>

// The words about contact files that the transfer tells the user.
namespace ContactText {
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
inline QString importCancelled() {
    return QStringLiteral("The import was cancelled. Nothing was added: the phone book is as "
                          "it was.");
}
inline QString exportCancelled(const QString &path) {
    return QStringLiteral("The export was cancelled. Nothing was written: %1 is as it was.")
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
} // namespace ContactText
