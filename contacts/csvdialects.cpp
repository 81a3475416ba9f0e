#include "contacts/csvdialects.h"

namespace {
QString birthdayOf(const QString &written) {
    return isoBirthday(written).value_or(written);
}

// ORVANEL's own export: the phone book's column names, values as they are.
Values ownValues(const Row &row) {
    static const std::array<QString, fieldCount> names = [] {
        std::array<QString, fieldCount> all;
        for (int i = 0; i < fieldCount; ++i)
            all[size_t(i)] = columnName(i);
        return all;
    }();
    Values values;
    for (int i = 0; i < fieldCount; ++i)
        setField(values, columns[size_t(i)].field, csvUnguarded(row[names[size_t(i)]]));
    return values;
}

// Google Contacts. The older export has "Name", "Given Name" and "Family Name", the
// current one "First Name" and "Last Name"; both number their phones, e-mails and
// addresses ("Phone 1 - Value") and may put several values in one field, separated
// by " ::: ". A type that begins with "*" marks the one the contact prefers.
Values googleValues(const Row &row) {
    Values values;
    QString name = row[QStringLiteral("Name")];
    if (name.isEmpty())
        name = joinedWords(
            {row[QStringLiteral("Name Prefix")],
             row.firstOf({QStringLiteral("Given Name"), QStringLiteral("First Name")}),
             row.firstOf({QStringLiteral("Additional Name"), QStringLiteral("Middle Name")}),
             row.firstOf({QStringLiteral("Family Name"), QStringLiteral("Last Name")}),
             row[QStringLiteral("Name Suffix")]});
    if (name.isEmpty())
        name = row.firstOf({QStringLiteral("Nickname"), QStringLiteral("Organization 1 - Name"),
                            QStringLiteral("Organization Name")});
    setField(values, Field::Name, name);

    const QString several = QStringLiteral(" ::: ");
    std::vector<RankedPhone> phones;
    for (int n = 1; row.has(QStringLiteral("Phone %1 - Value").arg(n)); ++n) {
        const QString prefix = QStringLiteral("Phone %1 - ").arg(n);
        const QString type =
            row.firstOf({prefix + QStringLiteral("Type"), prefix + QStringLiteral("Label")});
        const int rank = type.startsWith(QLatin1Char('*'))                             ? 0
                         : type.contains(QLatin1String("mobile"), Qt::CaseInsensitive) ? 1
                                                                                       : 2;
        const QString numbers = row[prefix + QStringLiteral("Value")];
        for (const QString &number : numbers.split(several, Qt::SkipEmptyParts))
            phones.push_back({rank, number});
    }
    setPhones(values, std::move(phones));

    for (int n = 1; row.has(QStringLiteral("E-mail %1 - Value").arg(n)); ++n) {
        const QString emails = row[QStringLiteral("E-mail %1 - Value").arg(n)];
        if (!emails.isEmpty()) {
            setField(values, Field::Email, emails.split(several).first());
            break;
        }
    }

    for (int n = 1; row.has(QStringLiteral("Address %1 - City").arg(n)) ||
                    row.has(QStringLiteral("Address %1 - Formatted").arg(n));
         ++n) {
        auto part = [&](const char *what) {
            return row[QStringLiteral("Address %1 - %2").arg(n).arg(QLatin1String(what))];
        };
        PostalAddress address{
            joinedLines({part("Street"), part("Extended Address"), part("PO Box")}), part("City"),
            part("Region"), part("Postal Code"), part("Country")};
        if (address.isEmpty())
            address.streetLines = part("Formatted");
        if (!address.isEmpty()) {
            setAddress(values, address);
            break;
        }
    }
    setField(values, Field::DateOfBirth, birthdayOf(row[QStringLiteral("Birthday")]));
    return values;
}

// Outlook, Home first, then Business, then Other.
Values outlookValues(const Row &row) {
    Values values;
    QString name = joinedWords({row[QStringLiteral("Title")], row[QStringLiteral("First Name")],
                                row[QStringLiteral("Middle Name")],
                                row[QStringLiteral("Last Name")], row[QStringLiteral("Suffix")]});
    if (name.isEmpty())
        name = row[QStringLiteral("Company")];
    setField(values, Field::Name, name);

    std::vector<RankedPhone> phones;
    const std::pair<const char *, int> phoneColumns[] = {
        {"Primary Phone", 0}, {"Mobile Phone", 1},
        {"Home Phone", 2},    {"Business Phone", 2},
        {"Home Phone 2", 2},  {"Business Phone 2", 2},
        {"Other Phone", 2},   {"Company Main Phone", 2},
        {"Car Phone", 2},     {"Assistant's Phone", 2},
        {"Callback", 2},      {"Radio Phone", 2},
        {"Pager", 2},         {"ISDN", 2},
        {"TTY/TDD Phone", 2}};
    for (const auto &[column, rank] : phoneColumns) {
        if (QString number = row[QLatin1String(column)]; !number.isEmpty())
            phones.push_back({rank, number});
    }
    setPhones(values, std::move(phones));

    setField(values, Field::Email,
             row.firstOf({QStringLiteral("E-mail Address"), QStringLiteral("E-mail 2 Address"),
                          QStringLiteral("E-mail 3 Address")}));

    for (const char *place : {"Home", "Business", "Other"}) {
        auto part = [&](const char *what) {
            return row[QStringLiteral("%1 %2").arg(QLatin1String(place), QLatin1String(what))];
        };
        const PostalAddress address{
            joinedLines({part("Street"), part("Street 2"), part("Street 3"), part("PO Box")}),
            part("City"), part("State"), part("Postal Code"),
            part("Country/Region").isEmpty() ? part("Country") : part("Country/Region")};
        if (!address.isEmpty()) {
            setAddress(values, address);
            break;
        }
    }
    // Outlook writes 0/0/00 for a contact without a birthday.
    const QString birthday = row[QStringLiteral("Birthday")];
    if (!phoneDigits(birthday).remove(QLatin1Char('0')).isEmpty())
        setField(values, Field::DateOfBirth, birthdayOf(birthday));
    return values;
}

// Thunderbird, Home first, then Work.
Values thunderbirdValues(const Row &row) {
    Values values;
    QString name = row[QStringLiteral("Display Name")];
    if (name.isEmpty())
        name = joinedWords({row[QStringLiteral("First Name")], row[QStringLiteral("Last Name")]});
    if (name.isEmpty())
        name = row.firstOf({QStringLiteral("Nickname"), QStringLiteral("Organization")});
    setField(values, Field::Name, name);

    std::vector<RankedPhone> phones;
    const std::pair<const char *, int> phoneColumns[] = {
        {"Mobile Number", 1}, {"Home Phone", 2}, {"Work Phone", 2}, {"Pager Number", 2}};
    for (const auto &[column, rank] : phoneColumns) {
        if (QString number = row[QLatin1String(column)]; !number.isEmpty())
            phones.push_back({rank, number});
    }
    setPhones(values, std::move(phones));
    setField(values, Field::Email,
             row.firstOf({QStringLiteral("Primary Email"), QStringLiteral("Secondary Email")}));

    for (const char *place : {"Home", "Work"}) {
        auto part = [&](const char *what) {
            return row[QStringLiteral("%1 %2").arg(QLatin1String(place), QLatin1String(what))];
        };
        const PostalAddress address{joinedLines({part("Address"), part("Address 2")}), part("City"),
                                    part("State"), part("ZipCode"), part("Country")};
        if (!address.isEmpty()) {
            setAddress(values, address);
            break;
        }
    }
    const QString year = row[QStringLiteral("Birth Year")];
    const QString month = row[QStringLiteral("Birth Month")];
    const QString day = row[QStringLiteral("Birth Day")];
    if (!month.isEmpty() && !day.isEmpty()) {
        const QString written = QStringLiteral("%1-%2-%3")
                                    .arg(year.isEmpty() ? QStringLiteral("-") : year)
                                    .arg(month.rightJustified(2, QLatin1Char('0')),
                                         day.rightJustified(2, QLatin1Char('0')));
        setField(values, Field::DateOfBirth, birthdayOf(written));
    }
    return values;
}
} // namespace

std::optional<Reading> readingFor(const Header &header) {
    bool allOwn = true;
    for (const QString &name : header.names()) {
        if (name.trimmed().isEmpty())
            continue;
        bool own = false;
        for (int i = 0; i < fieldCount; ++i)
            own = own || name.trimmed().compare(columnName(i), Qt::CaseInsensitive) == 0;
        allOwn = allOwn && own;
    }
    if (allOwn && (header.has(QStringLiteral("NAME")) || header.has(QStringLiteral("PHONE"))))
        return ownValues;
    auto hasAny = [&](std::initializer_list<const char *> names) {
        return std::any_of(names.begin(), names.end(),
                           [&](const char *name) { return header.has(QLatin1String(name)); });
    };
    if (hasAny({"Given Name", "Phone 1 - Value", "E-mail 1 - Value", "Address 1 - City",
                "Address 1 - Street"}))
        return googleValues;
    if (hasAny({"Display Name", "Primary Email", "Mobile Number"}))
        return thunderbirdValues;
    if (hasAny({"E-mail Address", "Mobile Phone", "Home Street", "Business Phone"}) ||
        (header.has(QStringLiteral("First Name")) && header.has(QStringLiteral("Last Name"))))
        return outlookValues;
    return std::nullopt;
}
