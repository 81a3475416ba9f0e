#include "contacts/contacttransfer.h"

#include "contacts/contactlines.h"
#include "contacts/contacttexts.h"
#include "contacts/csvreader.h"
#include "contacts/vcardreader.h"
#include "phonebook/store/phonebookconnection.h"
#include "platform/filewriter.h"
#include "platform/runtimeerror.h"

#include <QFileInfo>
#include <QSet>
#include <algorithm>

namespace {
// What the start of a file shows it to be.
enum class Content { VCard, Csv, Binary };

Content contentOf(const QByteArray &start) {
    if (start.contains('\0'))
        return Content::Binary;
    const QByteArray first = start.trimmed().left(11);
    if (first.compare("BEGIN:VCARD", Qt::CaseInsensitive) == 0)
        return Content::VCard;
    // Text has few control characters but its line ends and tabs; a stray one is dropped
    // from the field it stands in.
    const auto controls = std::count_if(start.begin(), start.end(), [](char c) {
        return uchar(c) < 0x20 && c != '\n' && c != '\r' && c != '\t' && c != '\f';
    });
    return controls > 16 && controls * 20 > start.size() ? Content::Binary : Content::Csv;
}

// Two contacts are the same when their names and their phone numbers' digits are; a
// contact with neither is the same as one with all its other values the same, whatever
// its serial number.
QString sameness(const Values &values) {
    const QString name = field(values, Field::Name).value_or(QString()).trimmed();
    const QString digits = phoneDigits(field(values, Field::Phone).value_or(QString()));
    if (!name.isEmpty() || !digits.isEmpty())
        return name + QChar(0x1F) + digits;
    QString key = QStringLiteral("\x1F\x1F");
    for (int i = 0; i < fieldCount; ++i) {
        if (i != indexOf(Field::SerialNumber))
            key += values[size_t(i)].value_or(QString()).trimmed() + QChar(0x1F);
    }
    return key;
}
} // namespace

void readContactFile(const QString &path, ContactReading &reading, const ContactSink &sink,
                     const TransferProgress &progress) {
    ContactLines lines(path);
    // The progress is told every so many contacts: often enough for a progress bar,
    // seldom enough to cost nothing.
    constexpr long contactsBetweenReports = 256;
    long sinceReport = 0;
    const ContactSink reported = [&](ReadContact &&contact) {
        sink(std::move(contact));
        if (++sinceReport == contactsBetweenReports) {
            sinceReport = 0;
            if (!progress(lines.bytesRead(), lines.size()))
                raiseError(ErrorNumber::UserInterrupt, ContactText::importCancelled());
        }
    };
    const ContactSink &used = progress ? reported : sink;
    switch (contentOf(lines.start())) {
    case Content::Binary:
        raiseError(ErrorNumber::InvalidFileFormat, ContactText::contactFileBinary(path));
    case Content::VCard:
        readVCards(lines, reading, used);
        break;
    case Content::Csv:
        readCsv(lines, reading, used);
        break;
    }
    if (progress && !progress(lines.size(), lines.size()))
        raiseError(ErrorNumber::UserInterrupt, ContactText::importCancelled());
}

QString ImportResult::summary() const {
    QString line = QStringLiteral("%1: %2 %3 added, %4 skipped as duplicates, %5 refused")
                       .arg(fileName)
                       .arg(added)
                       .arg(added == 1 ? QStringLiteral("contact") : QStringLiteral("contacts"))
                       .arg(duplicates)
                       .arg(refusedCount);
    if (!refused.empty()) {
        constexpr size_t shown = 3;
        QStringList reasons;
        for (size_t i = 0; i < std::min(shown, refused.size()); ++i)
            reasons << refused[i].origin + QStringLiteral(": ") + refused[i].reason;
        if (refusedCount > long(shown))
            reasons << QStringLiteral("and %1 more").arg(refusedCount - long(shown));
        line += QStringLiteral(" (") + reasons.join(QStringLiteral("; ")) + QLatin1Char(')');
    }
    return line + QLatin1Char('.');
}

ImportResult importContacts(const QString &path, PhoneBookConnection &into,
                            const TransferProgress &progress) {
    ImportResult result;
    result.fileName = QFileInfo(path).fileName();
    const int serial = indexOf(Field::SerialNumber);
    // The contacts are written as they are read, inside one transaction: a file found
    // broken halfway, like a failed write, leaves the phone book as it was.
    ContactReading reading;
    qint64 current = -1; // the place of the contact being written, -1 when none is
    // Contacts go to the database as many at a time as it takes best.
    const size_t contactsPerBatch = into.insertBatchSize();
    std::vector<Values> batch;
    std::vector<qint64> places;
    auto writeBatch = [&] {
        size_t failed = 0;
        try {
            into.insertRecords(batch, failed);
        } catch (const RuntimeError &) {
            current = places.at(failed);
            throw;
        }
        batch.clear();
        places.clear();
    };
    try {
        into.beginWriting();
        RowTable existing;
        into.readAll(existing);
        QSet<QString> known;
        QSet<qlonglong> serials;
        known.reserve(qsizetype(existing.size()));
        for (size_t i = 0; i < existing.size(); ++i) {
            const Values values = existing.values(i);
            known.insert(sameness(values));
            bool whole = false;
            const qlonglong number = values[size_t(serial)].value_or(QString()).toLongLong(&whole);
            if (whole)
                serials.insert(number);
        }
        existing.clear();
        readContactFile(
            path, reading,
            [&](ReadContact &&contact) {
                Values &values = contact.values;
                QString key = sameness(values);
                if (known.contains(key)) {
                    ++result.duplicates;
                    return;
                }
                known.insert(std::move(key));
                if (Value &number = values[size_t(serial)]) {
                    const qlonglong wanted = number->toLongLong();
                    if (serials.contains(wanted))
                        number.reset();
                    else
                        serials.insert(wanted);
                }
                batch.push_back(std::move(values));
                places.push_back(contact.place);
                if (batch.size() == contactsPerBatch)
                    writeBatch();
                ++result.added;
            },
            progress);
        writeBatch();
        into.commit();
    } catch (const RuntimeError &error) {
        into.rollback();
        const QString reason =
            current >= 0 ? reading.origin(current) + QStringLiteral(": ") + error.Description()
                         : error.Description();
        // A file that cannot be read says so on its own, as does a cancelled import; a
        // failed write says what it undid.
        if (error.is(ErrorNumber::InvalidFileFormat) || error.is(ErrorNumber::FileNotFound) ||
            error.is(ErrorNumber::PathFileAccess) || error.is(ErrorNumber::UserInterrupt))
            throw;
        raiseError(static_cast<ErrorNumber>(error.Number()), ContactText::importFailed(reason));
    }
    result.refused = std::move(reading.refused);
    result.refusedCount = reading.refusedCount;
    return result;
}

long exportContacts(PhoneBookConnection &from, const QString &path, ContactFormat format,
                    const TransferProgress &progress) {
    RowTable rows;
    from.readAll(rows);
    FileWriter file(path);
    if (!file.openForWriting())
        raiseError(ErrorNumber::PathFileAccess,
                   ContactText::cannotWriteExport(path, file.failureText()));
    bool cancelled = false;
    const bool written = writeContacts(file, rows, format, [&](qint64 done, qint64 total) {
        cancelled = progress && !progress(done, total);
        return !cancelled;
    });
    // A cancelled export leaves no file behind, and an older file as it was.
    if (cancelled)
        raiseError(ErrorNumber::UserInterrupt, ContactText::exportCancelled(path));
    if (!written || !file.commit())
        raiseError(ErrorNumber::DeviceIO, ContactText::cannotWriteExport(path, file.failureText()));
    if (progress)
        progress(qint64(rows.size()), qint64(rows.size()));
    return long(rows.size());
}
