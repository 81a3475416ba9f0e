#include "contacts/vcardreader.h"

#include "contacts/contactlines.h"
#include "contacts/contacttexts.h"
#include "platform/runtimeerror.h"

#include <QList>
#include <algorithm>
#include <cstring>
#include <variant>

namespace {
// Where the head of a property line ends: its first colon outside double quotes.
qsizetype headEnd(QByteArrayView line) {
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line[i] == '"')
            quoted = !quoted;
        else if (line[i] == ':' && !quoted)
            return i;
    }
    return -1;
}

bool sameWord(QByteArrayView a, QByteArrayView b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// One property of a card: its line, read where it is, without copies. A card has
// many properties and the phone book keeps few, so parameters are read when asked for.
class Property {
public:
    // The line as a property; nothing when it has no colon.
    static std::optional<Property> parse(QByteArray line) {
        Property property;
        property.colon_ = headEnd(line);
        if (property.colon_ < 0)
            return std::nullopt;
        const QByteArrayView head(line.constData(), property.colon_);
        qsizetype end = 0;
        while (end < head.size() && head[end] != ';')
            ++end;
        property.nameEnd_ = end;
        // "item1.TEL" is a TEL of group item1.
        qsizetype start = end;
        while (start > 0 && head[start - 1] != '.')
            --start;
        property.nameStart_ = start;
        property.line_ = std::move(line);
        return property;
    }

    // Without its group; compared whatever the case.
    QByteArrayView name() const {
        return QByteArrayView(line_).sliced(nameStart_, nameEnd_ - nameStart_).trimmed();
    }
    bool is(const char *name) const { return sameWord(this->name(), name); }
    // As written, still encoded.
    QByteArrayView value() const { return QByteArrayView(line_).sliced(colon_ + 1); }

    // The value of the first parameter named `key`, its quotes taken off; empty when
    // there is none.
    QByteArray parameter(const char *key) const {
        QByteArray found;
        forEachParameter([&](QByteArrayView name, QByteArrayView value) {
            if (!sameWord(name, key))
                return false;
            found = value.toByteArray();
            return true;
        });
        return found;
    }
    bool hasParameter(const char *key) const {
        return forEachParameter(
            [&](QByteArrayView name, QByteArrayView) { return sameWord(name, key); });
    }
    // TYPE=CELL, TYPE="cell,voice", TYPE=cell;TYPE=pref, or version 2.1's bare CELL.
    bool hasType(const char *type) const {
        return forEachParameter([&](QByteArrayView name, QByteArrayView value) {
            if (!sameWord(name, "TYPE"))
                return false;
            for (qsizetype start = 0; start <= value.size();) {
                qsizetype end = value.indexOf(',', start);
                if (end < 0)
                    end = value.size();
                if (sameWord(value.sliced(start, end - start).trimmed(), type))
                    return true;
                start = end + 1;
            }
            return false;
        });
    }

private:
    // Calls `visit(name, value)` for each parameter until it returns true; returns whether
    // one did. Version 2.1 writes some without a name: an encoding or a type.
    template <typename Visit> bool forEachParameter(Visit visit) const {
        const QByteArrayView head = QByteArrayView(line_).first(colon_);
        bool quoted = false;
        qsizetype start = nameEnd_ + 1;
        for (qsizetype i = start; i <= head.size(); ++i) {
            if (i < head.size() && head[i] == '"') {
                quoted = !quoted;
                continue;
            }
            if (i < head.size() && (head[i] != ';' || quoted))
                continue;
            if (start < i && visitOne(head.sliced(start, i - start), visit))
                return true;
            start = i + 1;
        }
        return false;
    }
    template <typename Visit> static bool visitOne(QByteArrayView part, Visit &visit) {
        const qsizetype equals = part.indexOf('=');
        if (equals < 0) {
            const QByteArrayView bare = part.trimmed();
            const bool encoding = sameWord(bare, "QUOTED-PRINTABLE") || sameWord(bare, "BASE64") ||
                                  sameWord(bare, "8BIT") || sameWord(bare, "7BIT");
            return visit(encoding ? QByteArrayView("ENCODING") : QByteArrayView("TYPE"), bare);
        }
        QByteArrayView value = part.sliced(equals + 1).trimmed();
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.sliced(1, value.size() - 2);
        return visit(part.first(equals).trimmed(), value);
    }

    QByteArray line_;
    qsizetype nameStart_ = 0;
    qsizetype nameEnd_ = 0;
    qsizetype colon_ = 0;
};

// Quoted-printable: =XX is a byte; anything else is itself.
QByteArray fromQuotedPrintable(const QByteArray &text) {
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '=' && i + 2 < text.size()) {
            bool ok = false;
            const int byte = text.mid(i + 1, 2).toInt(&ok, 16);
            if (ok) {
                bytes += char(byte);
                i += 2;
                continue;
            }
        }
        bytes += text[i];
    }
    return bytes;
}

// The parts of a structured value split at `separator` where it is not escaped, each
// still escaped.
QStringList escapedParts(const QString &text, QChar separator) {
    QStringList parts;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('\\'))
            ++i;
        else if (text[i] == separator) {
            parts << text.mid(start, i - start);
            start = i + 1;
        }
    }
    parts << text.mid(start);
    return parts;
}

QString unescaped(const QString &text) {
    if (!text.contains(QLatin1Char('\\')))
        return text;
    QString plain;
    plain.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != QLatin1Char('\\') || i + 1 == text.size()) {
            plain += text[i];
            continue;
        }
        const QChar next = text[++i];
        if (next == QLatin1Char('n') || next == QLatin1Char('N'))
            plain += QLatin1Char('\n');
        else if (next == QLatin1Char('\\') || next == QLatin1Char(',') ||
                 next == QLatin1Char(';') || next == QLatin1Char(':'))
            plain += next;
        else
            plain += QLatin1Char('\\') + next;
    }
    return plain;
}

// The lines of a file with folded lines joined again: a line that begins with a blank
// or a tab goes on the line before it, and so does the line after a quoted-printable
// line that ends with "=".
class UnfoldedLines {
public:
    explicit UnfoldedLines(ContactLines &lines) : lines_(lines) {}

    // The next line that is not empty, and the number of the line it began on.
    bool next(QByteArray &line, qint64 &firstLine) {
        for (;;) {
            if (!take(line))
                return false;
            firstLine = takenLine_;
            while (ahead_ || fetch()) {
                const QByteArray &following = *ahead_;
                if (!following.isEmpty() && (following[0] == ' ' || following[0] == '\t')) {
                    line.append(following.constData() + 1, following.size() - 1);
                } else if (line.endsWith('=') && isQuotedPrintable(line)) {
                    line.chop(1);
                    line.append(following);
                } else {
                    break;
                }
                ahead_.reset();
                if (line.size() > ContactLines::maxLineBytes)
                    raiseError(
                        ErrorNumber::InvalidFileFormat,
                        ContactText::contactLineTooLong(lines_.path(), firstLine,
                                                        int(ContactLines::maxLineBytes >> 20)));
            }
            if (!line.trimmed().isEmpty())
                return true;
        }
    }

private:
    bool fetch() {
        ahead_ = lines_.next();
        aheadLine_ = lines_.lineNumber();
        return ahead_.has_value();
    }
    bool take(QByteArray &line) {
        if (!ahead_ && !fetch())
            return false;
        line = std::move(*ahead_);
        takenLine_ = aheadLine_;
        ahead_.reset();
        return true;
    }
    static bool isQuotedPrintable(const QByteArray &line) {
        const qsizetype colon = headEnd(line);
        return colon > 0 && line.left(colon).toUpper().contains(QByteArrayView("QUOTED-PRINTABLE"));
    }

    ContactLines &lines_;
    std::optional<QByteArray> ahead_;
    qint64 aheadLine_ = 0;
    qint64 takenLine_ = 0;
};

// One card's properties, until its END.
class Card {
public:
    explicit Card(qint64 number) : number_(number) {}

    void add(Property &&property) {
        if (property.is("VERSION")) {
            version_ = property.value().trimmed().toByteArray();
            return;
        }
        if (property.is("TEL")) {
            phones_.push_back(std::move(property));
            return;
        }
        for (const char *name : keptProperties) {
            if (property.is(name)) {
                keepFirst(name, std::move(property));
                return;
            }
        }
    }
    void refuse(const QString &reason) {
        if (problem_.isEmpty())
            problem_ = reason;
    }

    // The card as a contact, or why it cannot be one.
    std::variant<ReadContact, RefusedContact> contact() {
        if (version_ != "2.1" && version_ != "3.0" && version_ != "4.0" && !version_.isEmpty())
            refuse(ContactText::unknownVCardVersion(QString::fromLatin1(version_)));
        ReadContact contact{{}, number_};
        if (problem_.isEmpty())
            fill(contact.values);
        if (problem_.isEmpty() && !hasAnyValue(contact.values))
            refuse(ContactText::nothingToKeep());
        if (problem_.isEmpty())
            problem_ = serialNumberProblem(contact.values);
        if (!problem_.isEmpty())
            return RefusedContact{ContactText::cardOrigin(number_), problem_};
        return contact;
    }

private:
    // The properties of which the first fills a field.
    static constexpr const char *keptProperties[] = {
        "FN", "N", "ORG", "ADR", "EMAIL", "BDAY", serialNumberProperty};

    void keepFirst(const char *name, Property &&property) {
        if (!first(name))
            first_.emplace_back(name, std::move(property));
    }
    const Property *first(const char *name) const {
        for (const auto &[keptName, kept] : first_) {
            if (std::strcmp(keptName, name) == 0)
                return &kept;
        }
        return nullptr;
    }

    // The text of a value: decoded from its encoding and character set, line ends made
    // LF, still escaped. Empty, with the card refused, when its character set is unknown.
    QString text(const Property &property) {
        QByteArray bytes = property.value().toByteArray();
        const QByteArray encoding = property.parameter("ENCODING");
        if (sameWord(encoding, "QUOTED-PRINTABLE"))
            bytes = fromQuotedPrintable(bytes);
        else if (sameWord(encoding, "B") || sameWord(encoding, "BASE64"))
            bytes = QByteArray::fromBase64(bytes);
        const QByteArray charset = property.parameter("CHARSET");
        std::optional<QString> decoded = decodedText(bytes, charset);
        if (!decoded) {
            refuse(ContactText::unknownCharset(QString::fromLatin1(charset)));
            return {};
        }
        if (decoded->contains(QLatin1Char('\r'))) {
            decoded->replace(QLatin1String("\r\n"), QLatin1String("\n"));
            decoded->replace(QLatin1Char('\r'), QLatin1Char('\n'));
        }
        return *decoded;
    }
    QString plainText(const Property *property) {
        return property ? unescaped(text(*property)) : QString();
    }
    // The components of a structured value (N, ADR, ORG), each one's list of values
    // joined by `joiner`; version 2.1 has no lists.
    QStringList components(const Property *property, int count, QChar joiner) {
        QStringList parts =
            property ? escapedParts(text(*property), QLatin1Char(';')) : QStringList();
        while (parts.size() < count)
            parts << QString();
        for (QString &part : parts) {
            if (version_ == "2.1") {
                part = unescaped(part);
                continue;
            }
            QStringList values = escapedParts(part, QLatin1Char(','));
            for (QString &value : values)
                value = unescaped(value).trimmed();
            values.removeAll(QString());
            part = values.join(joiner);
        }
        return parts;
    }

    void fill(Values &values) {
        const QStringList n = components(first("N"), 5, QLatin1Char(' '));
        QString name = plainText(first("FN")).trimmed();
        if (name.isEmpty())
            name = joinedWords({n[3], n[1], n[2], n[0], n[4]});
        if (name.isEmpty())
            name = components(first("ORG"), 1, QLatin1Char(' '))[0];
        setField(values, Field::Name, name);

        if (const Property *adr = first("ADR")) {
            const QStringList parts = components(adr, 7, QLatin1Char('\n'));
            setAddress(values, {joinedLines({parts[2], parts[1], parts[0]}), parts[3], parts[4],
                                parts[5], parts[6]});
        }

        // A preferred number first, then a mobile one, then the others as they come.
        std::vector<RankedPhone> phones;
        for (const Property &tel : phones_) {
            QString number = plainText(&tel).trimmed();
            // A number written as a URI is a tel: address.
            if (sameWord(tel.parameter("VALUE"), "uri") &&
                number.startsWith(QLatin1String("tel:"), Qt::CaseInsensitive))
                number = number.mid(4);
            // A fax or a pager is kept, but only when there is no number to call.
            const int rank = tel.hasType("PREF") || tel.hasParameter("PREF") ? 0
                             : tel.hasType("CELL")                           ? 1
                             : tel.hasType("FAX") || tel.hasType("PAGER")    ? 3
                                                                             : 2;
            phones.push_back({rank, number});
        }
        setPhones(values, std::move(phones));

        setField(values, Field::Email, plainText(first("EMAIL")));
        if (const Property *bday = first("BDAY"))
            setField(values, Field::DateOfBirth, birthday(*bday));
        setField(values, Field::SerialNumber, plainText(first(serialNumberProperty)));
    }

    QString birthday(const Property &bday) {
        const QString written = plainText(&bday).trimmed();
        if (bday.parameter("VALUE").compare("text", Qt::CaseInsensitive) == 0)
            return written;
        const std::optional<QString> date = isoBirthday(written);
        if (!date)
            return written; // kept as it stands rather than lost
        // Apple's address book writes a day without a year in this year.
        const QByteArray omitted = bday.parameter("X-APPLE-OMIT-YEAR");
        if (!omitted.isEmpty() && date->startsWith(QString::fromLatin1(omitted) + QLatin1Char('-')))
            return QStringLiteral("--") + date->mid(5);
        return *date;
    }

    qint64 number_;
    QByteArray version_;
    std::vector<std::pair<const char *, Property>> first_; // the first of each kept one
    std::vector<Property> phones_;
    QString problem_;
};

bool isCardBoundary(const Property &property, const char *name) {
    return property.is(name) && sameWord(property.value().trimmed(), "VCARD");
}
} // namespace

void readVCards(ContactLines &lines, ContactReading &contents, const ContactSink &sink) {
    contents.cards = true;
    UnfoldedLines unfolded(lines);
    QByteArray line;
    qint64 lineNumber = 0;
    qint64 cards = 0;
    std::optional<Card> card;
    qint64 cardLine = 0;
    int depth = 0; // cards within the card, as version 2.1's AGENT may hold
    while (unfolded.next(line, lineNumber)) {
        std::optional<Property> property = Property::parse(std::move(line));
        if (!card) {
            if (!property || !isCardBoundary(*property, "BEGIN"))
                raiseError(ErrorNumber::InvalidFileFormat,
                           ContactText::lineOutsideCard(lines.path(), lineNumber));
            card.emplace(++cards);
            cardLine = lineNumber;
            continue;
        }
        if (!property) {
            if (depth == 0)
                card->refuse(ContactText::notAProperty(lineNumber));
            continue;
        }
        // A 2.1 AGENT's card may begin on the AGENT line itself, and then ends with a line
        // of its own like any card within the card.
        if (isCardBoundary(*property, "BEGIN") ||
            (property->is("AGENT") && sameWord(property->value().trimmed(), "BEGIN:VCARD"))) {
            ++depth;
        } else if (isCardBoundary(*property, "END")) {
            if (depth > 0) {
                --depth;
                continue;
            }
            auto result = card->contact();
            if (auto *contact = std::get_if<ReadContact>(&result))
                sink(std::move(*contact));
            else
                contents.refuse(std::get<RefusedContact>(std::move(result)));
            card.reset();
        } else if (depth == 0) {
            card->add(std::move(*property));
        }
    }
    if (card)
        raiseError(ErrorNumber::InvalidFileFormat,
                   ContactText::cardWithoutEnd(lines.path(), cards, cardLine));
}
