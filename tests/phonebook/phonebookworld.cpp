#include "phonebookworld.h"

#include "phonebookfile.h"

#include <QTest>
#include <sqlite3.h>

namespace {
struct Connection {
    explicit Connection(const QString &path) {
        sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
        sqlite3_busy_timeout(db, 5000);
    }
    ~Connection() { sqlite3_close(db); }
    sqlite3 *db = nullptr;
};
} // namespace

void PhoneBookWorld::makeBook(const QList<Row> &rows) {
    QCOMPARE(createPhoneBook(database()), QString());
    for (const Row &row : rows)
        addRow(row);
}

void PhoneBookWorld::addRow(const Row &row) {
    Connection connection(database());
    QStringList names;
    QStringList parameters;
    for (auto it = row.begin(); it != row.end(); ++it) {
        names << QLatin1Char('[') + it.key() + QLatin1Char(']');
        parameters << QStringLiteral("?");
    }
    const QByteArray sql = QStringLiteral("INSERT INTO PHONEBOOK (%1) VALUES (%2)")
                               .arg(names.join(','), parameters.join(','))
                               .toUtf8();
    sqlite3_stmt *insert = nullptr;
    QCOMPARE(sqlite3_prepare_v2(connection.db, sql.constData(), -1, &insert, nullptr), SQLITE_OK);
    int parameter = 1;
    for (const QString &value : row) {
        const QByteArray text = value.toUtf8();
        sqlite3_bind_text(insert, parameter++, text.constData(), int(text.size()),
                          SQLITE_TRANSIENT);
    }
    QCOMPARE(sqlite3_step(insert), SQLITE_DONE);
    sqlite3_finalize(insert);
}

QString PhoneBookWorld::execute(const QString &sql) const {
    Connection connection(database());
    char *error = nullptr;
    sqlite3_exec(connection.db, sql.toUtf8().constData(), nullptr, nullptr, &error);
    const QString message = error ? QString::fromUtf8(error) : QString();
    sqlite3_free(error);
    return message;
}

QStringList PhoneBookWorld::column(const QString &name) const {
    Connection connection(database());
    sqlite3_stmt *select = nullptr;
    const QByteArray sql =
        QStringLiteral("SELECT [%1] FROM PHONEBOOK ORDER BY [SERIAL NUMBER]").arg(name).toUtf8();
    QStringList values;
    if (sqlite3_prepare_v2(connection.db, sql.constData(), -1, &select, nullptr) != SQLITE_OK)
        return {QStringLiteral("<error>")};
    while (sqlite3_step(select) == SQLITE_ROW) {
        const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(select, 0));
        values << (text ? QString::fromUtf8(text) : QStringLiteral("<null>"));
    }
    sqlite3_finalize(select);
    return values;
}

int PhoneBookWorld::rowCount() const {
    return int(column(QStringLiteral("SERIAL NUMBER")).size());
}

PhoneBookWorld::Row contactRow(const QString &serial, const QString &name, const QString &city,
                               const QString &phone) {
    PhoneBookWorld::Row row{{"SERIAL NUMBER", serial}, {"NAME", name}};
    if (!city.isEmpty())
        row.insert("CITY", city);
    if (!phone.isEmpty())
        row.insert("PHONE", phone);
    return row;
}
