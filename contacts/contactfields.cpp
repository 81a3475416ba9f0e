#include "contacts/contactfields.h"

#include "contacts/contacttexts.h"

#include <QDate>
#include <QStringDecoder>
#include <algorithm>
#include <array>

QString ContactReading::origin(qint64 place) const {
    return cards ? ContactText::cardOrigin(place) : ContactText::lineOrigin(place);
}

QString phoneDigits(QStringView number) {
    QString digits;
    digits.reserve(number.size());
    for (const QChar c : number) {
        const int value = c.digitValue();
        if (value >= 0)
            digits += QChar(u'0' + char16_t(value));
    }
    return digits;
}

namespace {
// A whole number of exactly `length` ASCII digits at `at`, or -1.
int number(QStringView text, qsizetype at, qsizetype length) {
    if (at < 0 || at + length > text.size())
        return -1;
    int value = 0;
    for (qsizetype i = at; i < at + length; ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return -1;
        value = value * 10 + (c - u'0');
    }
    return value;
}

QString twoDigits(int value) {
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

// A day of the calendar; the parts are -1 when they were not numbers.
std::optional<QString> dated(int year, int month, int day) {
    if (year < 1 || !QDate(year, month, day).isValid())
        return std::nullopt;
    return QStringLiteral("%1-%2-%3")
        .arg(year, 4, 10, QLatin1Char('0'))
        .arg(twoDigits(month), twoDigits(day));
}

std::optional<QString> dayWithoutYear(int month, int day) {
    // A leap year, so that the 29th of February is a day.
    if (!QDate(2000, month, day).isValid())
        return std::nullopt;
    return QStringLiteral("--%1-%2").arg(twoDigits(month), twoDigits(day));
}

// D/M/Y numbers separated by `separator`, each of one or two digits but the year.
std::optional<std::array<int, 3>> separatedNumbers(QStringView text, QChar separator) {
    const auto parts = text.split(separator);
    if (parts.size() != 3 || parts[2].size() != 4 || parts[0].isEmpty() || parts[0].size() > 2 ||
        parts[1].isEmpty() || parts[1].size() > 2)
        return std::nullopt;
    std::array<int, 3> values{};
    for (int i = 0; i < 3; ++i) {
        values[size_t(i)] = number(parts[i], 0, parts[i].size());
        if (values[size_t(i)] < 0)
            return std::nullopt;
    }
    return values;
}
} // namespace

std::optional<QString> isoBirthday(QStringView text) {
    text = text.trimmed();
    // A time of day after the date says nothing about the birthday.
    if (const qsizetype t = text.indexOf(QLatin1Char('T')); t > 0)
        text = text.left(t);
    if (text.startsWith(QLatin1String("--"))) {
        const QStringView rest = text.mid(2);
        if (rest.size() == 4)
            return dayWithoutYear(number(rest, 0, 2), number(rest, 2, 2));
        if (rest.size() == 5 && rest[2] == QLatin1Char('-'))
            return dayWithoutYear(number(rest, 0, 2), number(rest, 3, 2));
        return std::nullopt;
    }
    if (text.size() == 10 && text[4] == QLatin1Char('-') && text[7] == QLatin1Char('-'))
        return dated(number(text, 0, 4), number(text, 5, 2), number(text, 8, 2));
    if (text.size() == 8 && number(text, 0, 8) >= 0)
        return dated(number(text, 0, 4), number(text, 4, 2), number(text, 6, 2));
    if (const auto us = separatedNumbers(text, QLatin1Char('/')))
        return dated((*us)[2], (*us)[0], (*us)[1]);
    if (const auto european = separatedNumbers(text, QLatin1Char('.')))
        return dated((*european)[2], (*european)[1], (*european)[0]);
    return std::nullopt;
}

namespace {
QString joined(std::initializer_list<QString> parts, QChar separator) {
    QString text;
    for (const QString &part : parts) {
        const QString trimmed = part.trimmed();
        if (trimmed.isEmpty())
            continue;
        if (!text.isEmpty())
            text += separator;
        text += trimmed;
    }
    return text;
}
} // namespace

QString joinedWords(std::initializer_list<QString> parts) {
    return joined(parts, QLatin1Char(' '));
}

QString joinedLines(std::initializer_list<QString> parts) {
    return joined(parts, QLatin1Char('\n'));
}

std::optional<QString> decodedText(const QByteArray &bytes, const QByteArray &charset) {
    if (!charset.isEmpty()) {
        QStringDecoder decoder(charset.constData(), QStringConverter::Flag::ConvertInitialBom);
        if (!decoder.isValid())
            return std::nullopt;
        return QString(decoder(bytes));
    }
    // A byte-order mark here is a character of the text: the file's own was taken off.
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless |
                                                    QStringConverter::Flag::ConvertInitialBom);
    QString text = utf8(bytes);
    if (!utf8.hasError())
        return text;
    QStringDecoder windows("windows-1252");
    if (windows.isValid())
        return QString(windows(bytes));
    return QString::fromLatin1(bytes);
}

QString withoutControlCharacters(QString text) {
    const auto control = [](QChar c) {
        return (c.unicode() < 0x20 && c != QLatin1Char('\n') && c != QLatin1Char('\t')) ||
               c.unicode() == 0x7F;
    };
    if (std::any_of(text.cbegin(), text.cend(), control))
        text.removeIf(control);
    return text;
}

void setField(Values &values, Field field, const QString &text) {
    QString trimmed = withoutControlCharacters(text).trimmed();
    Value &value = values[static_cast<size_t>(indexOf(field))];
    if (trimmed.isEmpty())
        value.reset();
    else
        value = std::move(trimmed);
}

bool hasAnyValue(const Values &values) {
    for (const Value &value : values) {
        if (value)
            return true;
    }
    return false;
}

QString serialNumberProblem(const Values &values) {
    const Value &serial = field(values, Field::SerialNumber);
    if (!serial)
        return {};
    bool whole = false;
    serial->toLongLong(&whole);
    return whole ? QString() : ContactText::serialNotWhole(*serial);
}

void setPhones(Values &values, std::vector<RankedPhone> phones) {
    std::stable_sort(phones.begin(), phones.end(),
                     [](const RankedPhone &a, const RankedPhone &b) { return a.rank < b.rank; });
    if (!phones.empty())
        setField(values, Field::Phone, phones[0].number);
    if (phones.size() > 1)
        setField(values, Field::OptionalPhone, phones[1].number);
}

bool PostalAddress::isEmpty() const {
    return streetLines.trimmed().isEmpty() && city.trimmed().isEmpty() &&
           state.trimmed().isEmpty() && postalCode.trimmed().isEmpty() &&
           country.trimmed().isEmpty();
}

void setAddress(Values &values, const PostalAddress &address) {
    setField(values, Field::Address, address.streetLines);
    setField(values, Field::City, address.city);
    setField(values, Field::State, address.state);
    setField(values, Field::PinCode, address.postalCode);
    setField(values, Field::Country, address.country);
}

namespace {
// Whether a cell beginning so, after any ' before it, is taken for a formula.
bool startsLikeAFormula(const QString &value) {
    qsizetype at = 0;
    while (at < value.size() && value[at] == QLatin1Char('\''))
        ++at;
    if (at == value.size())
        return false;
    const QChar first = value[at];
    return first == QLatin1Char('=') || first == QLatin1Char('+') || first == QLatin1Char('-') ||
           first == QLatin1Char('@') || first == QLatin1Char('\t') || first == QLatin1Char('\r');
}
} // namespace

QString csvGuarded(const QString &value) {
    return startsLikeAFormula(value) ? QLatin1Char('\'') + value : value;
}

QString csvUnguarded(const QString &value) {
    return value.startsWith(QLatin1Char('\'')) && startsLikeAFormula(value) ? value.mid(1) : value;
}

void ContactReading::refuse(RefusedContact contact) {
    ++refusedCount;
    if (refused.size() < keptRefusals)
        refused.push_back(std::move(contact));
}
