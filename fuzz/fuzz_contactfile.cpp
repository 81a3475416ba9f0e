// The readers of vCard and CSV files on arbitrary bytes: they must return or refuse the
// file in words, and every contact they read must come back the same through each of
// our own formats, written and read again.
#include "contacts/contacttransfer.h"
#include "fuzzapplication.h"
#include "phonebook/store/rowtable.h"
#include "platform/runtimeerror.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>

namespace {
QString folder() {
    static QTemporaryDir *dir = new QTemporaryDir;
    return dir->path();
}

// Reads a file's contacts into a table; false when the file was refused, and then, when
// `mustRead`, says why and stops.
bool readInto(const QString &path, RowTable &rows, bool mustRead = false) {
    ContactReading reading;
    try {
        readContactFile(path, reading, [&](ReadContact &&contact) {
            for (const Value &value : contact.values) {
                if (value && (value->isEmpty() || value->trimmed() != *value))
                    std::abort(); // values are trimmed, and none is empty
            }
            rows.append(contact.values);
        });
    } catch (const RuntimeError &error) {
        if (error.Description().isEmpty())
            std::abort();
        if (mustRead) {
            qWarning("our own file was refused: %s", qPrintable(error.Description()));
            std::abort();
        }
        return false;
    }
    return true;
}

void write(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    ensureApplication<QCoreApplication>("fuzz_contactfile");
    const QString input = folder() + QStringLiteral("/input");
    write(input, QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    RowTable rows;
    if (!readInto(input, rows))
        return 0;
    for (const ContactFormat format :
         {ContactFormat::VCard3, ContactFormat::VCard4, ContactFormat::Csv}) {
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        if (!writeContacts(out, rows, format))
            std::abort();
        const QString again = folder() + QStringLiteral("/again");
        write(again, out.data());
        RowTable back;
        if (rows.size() > 0)
            readInto(again, back, true);
        if (back.size() != rows.size())
            std::abort();
        for (size_t i = 0; i < rows.size(); ++i) {
            for (int field = 0; field < fieldCount; ++field) {
                if (back.value(i, field) == rows.value(i, field))
                    continue;
                // In hexadecimal UTF-8, so that an invisible character shows.
                const auto hex = [](const Value &value) {
                    return value ? value->toUtf8().toHex(' ') : QByteArray("none");
                };
                qWarning("format %d, column %s: read %s, came back as %s", int(format),
                         qPrintable(columnName(field)), hex(rows.value(i, field)).constData(),
                         hex(back.value(i, field)).constData());
                std::abort();
            }
        }
    }
    return 0;
}
