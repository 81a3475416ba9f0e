#include "contacts/contactwriter.h"

#include "contacts/contactfields.h"
#include "contacts/vcardreader.h"
#include "phonebook/store/rowtable.h"

#include <QIODevice>
#include <algorithm>

namespace {
constexpr qsizetype flushBytes = 1024 * 1024;

// Text as vCard writes it: backslash, comma, semicolon and line break escaped. (It has no
// control characters.)
QByteArray escaped(QString text) {
    static const QString special = QStringLiteral("\\,;\n");
    if (std::none_of(text.cbegin(), text.cend(), [](QChar c) { return special.contains(c); }))
        return text.toUtf8();
    text.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    text.replace(QLatin1Char(','), QLatin1String("\\,"));
    text.replace(QLatin1Char(';'), QLatin1String("\\;"));
    text.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    return text.toUtf8();
}

// A content line, folded so that no line is longer than 75 bytes; a fold never splits
// the bytes of one character.
void appendLine(QByteArray &out, const QByteArray &line) {
    constexpr qsizetype limit = 75;
    qsizetype at = 0;
    qsizetype room = limit;
    while (line.size() - at > room) {
        qsizetype cut = at + room;
        while (cut > at && (uchar(line[cut]) & 0xC0) == 0x80)
            --cut;
        out.append(line.constData() + at, cut - at);
        out += "\r\n ";
        at = cut;
        room = limit - 1;
    }
    out.append(line.constData() + at, line.size() - at);
    out += "\r\n";
}

// A value as a file of contacts can carry it.
QString text(const RowTable &rows, size_t row, int field) {
    return withoutControlCharacters(rows.value(row, field).value_or(QString()));
}
QString text(const RowTable &rows, size_t row, Field field) {
    return text(rows, row, indexOf(field));
}

// N from a name: the last word as the family name, the words before it as the given
// name.
QByteArray structuredName(const QString &name) {
    const QStringList words = name.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.isEmpty())
        return ";;;;";
    return escaped(words.last()) + ';' +
           escaped(words.mid(0, words.size() - 1).join(QLatin1Char(' '))) + ";;;";
}

// BDAY for a date of birth: a date of the calendar (or a day without a year) as the
// version writes dates, any other text as text.
QByteArray birthday(const QString &written, bool version4) {
    const std::optional<QString> date = isoBirthday(written);
    if (!date || *date != written)
        return "BDAY;VALUE=text:" + escaped(written);
    QByteArray value = date->toLatin1();
    if (version4) {
        // Version 4.0 writes dates without separators: 19850415, --0415.
        const bool withoutYear = value.startsWith("--");
        value.replace('-', QByteArray());
        if (withoutYear)
            value.prepend("--");
    }
    return "BDAY:" + value;
}

void appendCard(QByteArray &out, const RowTable &rows, size_t row, bool version4) {
    out += "BEGIN:VCARD\r\n";
    out += version4 ? "VERSION:4.0\r\n" : "VERSION:3.0\r\n";
    const QString name = text(rows, row, Field::Name);
    appendLine(out, "FN:" + escaped(name));
    appendLine(out, "N:" + structuredName(name));
    const QString phone = text(rows, row, Field::Phone);
    const QString optional = text(rows, row, Field::OptionalPhone);
    // The phone is the preferred number, so that it comes back as the phone; it is
    // written, empty, when only the optional phone has a number.
    if (!phone.isEmpty() || !optional.isEmpty())
        appendLine(out,
                   (version4 ? "TEL;TYPE=voice;PREF=1:" : "TEL;TYPE=VOICE,PREF:") + escaped(phone));
    if (!optional.isEmpty())
        appendLine(out, (version4 ? "TEL;TYPE=voice:" : "TEL;TYPE=VOICE:") + escaped(optional));
    if (const QString email = text(rows, row, Field::Email); !email.isEmpty())
        appendLine(out, (version4 ? "EMAIL:" : "EMAIL;TYPE=INTERNET:") + escaped(email));
    const Field addressFields[] = {Field::Address, Field::City, Field::State, Field::PinCode,
                                   Field::Country};
    QByteArray address = "ADR:;";
    bool hasAddress = false;
    for (const Field field : addressFields) {
        const QString part = text(rows, row, field);
        hasAddress = hasAddress || !part.isEmpty();
        address += ';' + escaped(part);
    }
    if (hasAddress)
        appendLine(out, address);
    if (const QString born = text(rows, row, Field::DateOfBirth); !born.isEmpty())
        appendLine(out, birthday(born, version4));
    if (const QString serial = text(rows, row, Field::SerialNumber); !serial.isEmpty())
        appendLine(out, QByteArray(serialNumberProperty) + ':' + escaped(serial));
    out += "END:VCARD\r\n";
}

QByteArray csvField(const QString &value) {
    const bool quote = value.contains(QLatin1Char(',')) || value.contains(QLatin1Char('"')) ||
                       value.contains(QLatin1Char('\n')) || value.contains(QLatin1Char('\r')) ||
                       value.contains(QLatin1Char(';')) || value.trimmed().size() != value.size();
    if (!quote)
        return value.toUtf8();
    QString doubled = value;
    doubled.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return '"' + doubled.toUtf8() + '"';
}

void appendCsvRow(QByteArray &out, const RowTable &rows, size_t row) {
    for (int i = 0; i < fieldCount; ++i) {
        if (i > 0)
            out += ',';
        out += csvField(csvGuarded(text(rows, row, i)));
    }
    out += "\r\n";
}
} // namespace

bool writeContacts(QIODevice &device, const RowTable &rows, ContactFormat format,
                   const WrittenRows &written) {
    QByteArray out;
    out.reserve(flushBytes + 64 * 1024);
    if (format == ContactFormat::Csv) {
        out += "\xEF\xBB\xBF";
        for (int i = 0; i < fieldCount; ++i)
            out += (i > 0 ? "," : "") + csvField(columnName(i));
        out += "\r\n";
    }
    for (size_t row = 0; row < rows.size(); ++row) {
        if (format == ContactFormat::Csv)
            appendCsvRow(out, rows, row);
        else
            appendCard(out, rows, row, format == ContactFormat::VCard4);
        if (out.size() >= flushBytes) {
            if (device.write(out) != out.size())
                return false;
            out.clear();
            if (written && !written(qint64(row + 1), qint64(rows.size())))
                return false;
        }
    }
    return device.write(out) == out.size();
}
