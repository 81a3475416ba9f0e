#include "phonebookfile.h"

#include "phonebook/store/sqlitehandle.h"

#include "phonebook/store/phonebookconnection.h"
#include "platform/runtimeerror.h"

#include <QFile>
#include <QStringList>
#include <array>
#include <memory>

namespace {
// A mixing function: the same contact number always gives the same choices.
uint64_t mix(uint64_t x) {
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

struct Place {
    const char *city, *state, *country;
    const char *postcode; // # stands for a digit
    const char *phonePrefix;
    const char *streets[2];
};
const Place places[] = {
    {"Bengaluru", "Karnataka", "India", "560###", "+91 80", {"MG Road", "Residency Road"}},
    {"Chennai", "Tamil Nadu", "India", "600###", "+91 44", {"Anna Salai", "Poes Garden"}},
    {"Pune", "Maharashtra", "India", "411###", "+91 20", {"FC Road", "Station Road"}},
    {"Leeds",
     "West Yorkshire",
     "United Kingdom",
     "LS# #AB",
     "+44 113",
     {"High Street", "Church Lane"}},
    {"Toronto", "Ontario", "Canada", "M5V #A#", "+1 416", {"Queen Street", "Bloor Street"}},
    {"Austin", "Texas", "United States", "787##", "+1 512", {"Congress Avenue", "Lake View Road"}},
    {"Lyon",
     "Auvergne-Rhône-Alpes",
     "France",
     "6900#",
     "+33 4",
     {"Rue de la République", "Quai Saint-Antoine"}},
    {"München", "Bayern", "Germany", "80###", "+49 89", {"Hauptstraße", "Leopoldstraße"}},
    {"Kraków", "Małopolskie", "Poland", "30-###", "+48 12", {"Ulica Długa", "Ulica Floriańska"}},
    {"Thessaloniki",
     "Central Macedonia",
     "Greece",
     "546 ##",
     "+30 2310",
     {"Odos Egnatia", "Tsimiski"}},
    {"Osaka", "Osaka", "Japan", "530-####", "+81 6", {"Midosuji", "Sakaisuji"}},
    {"São Paulo", "SP", "Brazil", "01###-000", "+55 11", {"Avenida Paulista", "Rua Augusta"}},
};
const char *const firstNames[] = {"Anna",  "Ravi",   "Meera",  "John",   "Fatima", "Lucas",
                                  "Chloé", "Jonas",  "Priya",  "Oliver", "Aiko",   "Mateus",
                                  "Zofia", "Daniel", "Kavita", "Sam"};
const char *const lastNames[] = {"Sharma", "Fernandes", "Müller", "Okafor", "Nair",  "Smith",
                                 "Dubois", "Kowalska",  "Rao",    "Tanaka", "Silva", "Brown",
                                 "Iyer",   "O'Neill",   "García", "Weber"};
// Names in their own scripts; they have no e-mail name of their own.
const char *const nativeNames[] = {"Αλέξανδρος Νικολάου",
                                   "Ольга Иванова",
                                   "王芳",
                                   "佐藤 花子",
                                   "김민준",
                                   "أحمد حسن",
                                   "דוד כהן",
                                   "राहुल शर्मा",
                                   "Łucja Wiśniewska",
                                   "Søren Jørgensen"};
const char *const secondLines[] = {"Flat 3",  "Apartment 12B",        "Second Floor",
                                   "Block C", "Near the Post Office", "Suite 400"};

template <typename T, size_t N> const T &pick(const T (&list)[N], uint64_t random) {
    return list[random % N];
}

QString digits(uint64_t random, int count) {
    QString text;
    for (int i = 0; i < count; ++i, random /= 10)
        text += QChar(u'0' + static_cast<char16_t>(random % 10));
    return text;
}

QString postcode(const Place &place, uint64_t random) {
    QString text = QString::fromUtf8(place.postcode);
    for (QChar &c : text) {
        if (c == QLatin1Char('#')) {
            c = QChar(u'0' + static_cast<char16_t>(random % 10));
            random /= 10;
        }
    }
    return text;
}

QString phoneNumber(const Place &place, uint64_t random) {
    return QStringLiteral("%1 %2 %3")
        .arg(QString::fromUtf8(place.phonePrefix), digits(random, 4), digits(random >> 20, 4));
}

using Contact = std::array<QString, 10>; // in the order of the insert below

Contact contact(long number) {
    const uint64_t r = mix(static_cast<uint64_t>(number));
    const Place &place = pick(places, r >> 8);
    const bool native = number % 5 == 3;
    QString name;
    QString mailName;
    if (native) {
        name = QString::fromUtf8(pick(nativeNames, r >> 16));
        mailName = QStringLiteral("contact%1").arg(number);
    } else {
        const QString first = QString::fromUtf8(pick(firstNames, r >> 16));
        const QString last = QString::fromUtf8(pick(lastNames, r >> 24));
        name = first + QLatin1Char(' ') + last;
        mailName = (first + QLatin1Char('.') + last).toLower().remove(QLatin1Char('\''));
        mailName.replace(QStringLiteral("ü"), QStringLiteral("ue"));
        mailName.replace(QStringLiteral("é"), QStringLiteral("e"));
        mailName.replace(QStringLiteral("í"), QStringLiteral("i"));
        mailName += QString::number(number % 100);
    }
    const QString address = QStringLiteral("%1 %2\n%3")
                                .arg((r >> 32) % 400 + 1)
                                .arg(QString::fromUtf8(place.streets[(r >> 36) % 2]),
                                     QString::fromUtf8(pick(secondLines, r >> 40)));
    const QString birth = QStringLiteral("%1-%2-%3")
                              .arg(1940 + (r >> 50) % 66)
                              .arg((r >> 56) % 12 + 1, 2, 10, QLatin1Char('0'))
                              .arg((r >> 12) % 28 + 1, 2, 10, QLatin1Char('0'));
    const QString optional = (r >> 5) % 3 == 0 ? phoneNumber(place, mix(r)) : QString();
    return {name,
            address,
            QString::fromUtf8(place.city),
            QString::fromUtf8(place.state),
            QString::fromUtf8(place.country),
            postcode(place, r >> 44),
            phoneNumber(place, r >> 4),
            mailName + QStringLiteral("@example.org"),
            birth,
            optional};
}
} // namespace

QString appendSampleContacts(const QString &path, long count) {
    int code = SQLITE_OK;
    const SqliteHandle db = openSqlite(path, SQLITE_OPEN_READWRITE, code);
    sqlite3 *raw = db.get();
    if (code != SQLITE_OK)
        return sqliteMessage(raw);
    sqlite3_stmt *counter = nullptr;
    long first = 0;
    if (sqlite3_prepare_v2(raw, "SELECT count(*) FROM PHONEBOOK", -1, &counter, nullptr) !=
        SQLITE_OK)
        return sqliteMessage(raw);
    if (sqlite3_step(counter) == SQLITE_ROW)
        first = static_cast<long>(sqlite3_column_int64(counter, 0));
    sqlite3_finalize(counter);

    sqlite3_stmt *insert = nullptr;
    if (sqlite3_exec(raw, "BEGIN", nullptr, nullptr, nullptr) != SQLITE_OK ||
        sqlite3_prepare_v2(raw,
                           "INSERT INTO PHONEBOOK (NAME, ADDRESS, CITY, STATE, COUNTRY, PINCODE, "
                           "PHONE, EMAIL, DATEOFBIRTH, OPTIONALPHONE) "
                           "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10)",
                           -1, &insert, nullptr) != SQLITE_OK)
        return sqliteMessage(raw);
    for (long i = 0; i < count; ++i) {
        const Contact values = contact(first + i + 1);
        for (int column = 0; column < static_cast<int>(values.size()); ++column) {
            const QByteArray text = values[static_cast<size_t>(column)].toUtf8();
            if (text.isEmpty())
                sqlite3_bind_null(insert, column + 1);
            else
                sqlite3_bind_text(insert, column + 1, text.constData(),
                                  static_cast<int>(text.size()), SQLITE_TRANSIENT);
        }
        if (sqlite3_step(insert) != SQLITE_DONE) {
            const QString failure = sqliteMessage(raw);
            sqlite3_finalize(insert);
            return failure;
        }
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    if (sqlite3_exec(raw, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK)
        return sqliteMessage(raw);
    return {};
}

QString copyPhoneBook(const QString &from, const QString &to, long &copied) {
    try {
        RowTable rows;
        openConnection(from)->readAll(rows);
        const std::unique_ptr<PhoneBookConnection> target = openConnection(to);
        target->beginWriting();
        try {
            RowTable there;
            target->readAll(there);
            if (!there.empty())
                return QStringLiteral("the phone book to copy into already holds %1 records: "
                                      "copy fills only an empty one")
                    .arg(there.size());
            for (size_t i = 0; i < rows.size(); ++i)
                target->insertRecord(rows.values(i));
            target->commit();
        } catch (...) {
            target->rollback();
            throw;
        }
        copied = long(rows.size());
        return {};
    } catch (const RuntimeError &error) {
        return error.Description();
    }
}
