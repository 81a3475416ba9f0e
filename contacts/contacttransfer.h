#pragma once

#include "contacts/contactfields.h"
#include "contacts/contactwriter.h"

#include <QString>
#include <vector>

class PhoneBookConnection;

// How far an import or export has come (bytes of the file read, or contacts written, of
// all there are), told now and then; returning false stops it, and the import or export
// then fails with the user-interrupt error and leaves everything as it was.
using TransferProgress = std::function<bool(qint64 done, qint64 total)>;

// Reads a file of contacts, vCard or CSV as its content shows, whatever its name,
// handing each contact to `sink` as it is read. Fails with a RuntimeError when the file
// cannot be read, is neither, or turns out not to be whole.
void readContactFile(const QString &path, ContactReading &reading, const ContactSink &sink,
                     const TransferProgress &progress = {});

// What an import did.
struct ImportResult {
    QString fileName;
    long added = 0;
    long duplicates = 0;
    std::vector<RefusedContact> refused; // the first of them
    long refusedCount = 0;

    // The one line that tells the user: "contacts.vcf: 12 contacts added, 3 skipped as
    // duplicates, 1 refused (card 7: it has no name, phone, e-mail, address or
    // birthday)."
    QString summary() const;
};

// Adds the contacts of a file to a phone book, in one transaction: all of them or, when
// anything fails, none. A contact whose NAME and PHONE (their digits) equal those of a
// record already there, or of one added before it, is skipped. A serial number the
// file gives is kept when no record has it yet, and otherwise left to the database.
ImportResult importContacts(const QString &path, PhoneBookConnection &into,
                            const TransferProgress &progress = {});

// Writes every record of a phone book to a file, which is replaced only when the whole
// export was written. Returns the number of records written; fails with a RuntimeError.
long exportContacts(PhoneBookConnection &from, const QString &path, ContactFormat format,
                    const TransferProgress &progress = {});
