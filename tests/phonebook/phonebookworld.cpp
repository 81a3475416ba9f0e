#include "phonebookworld.h"

#include "phonebook/store/connectionstring.h"
#include "phonebook/store/phonebooktable.h"
#include "phonebook/store/sqlitefile.h"
#include "phonebook/store/sqlitehandle.h"
#include "phonebookfile.h"
#include "platform/settings.h"
#include "postgresserver.h"

#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

namespace {
struct Connection {
    explicit Connection(const QString &path) {
        int code = SQLITE_OK;
        handle = openSqlite(path, SQLITE_OPEN_READWRITE, code);
        db = handle.get();
        sqlite3_busy_timeout(db, 5000);
    }
    SqliteHandle handle;
    sqlite3 *db = nullptr;
};

int worlds = 0;

// Runs SQL on the world's own connection to the server; a connection the server dropped
// (it was stopped and started again) is made again once.
bool runOnServer(QSqlQuery &query, const QString &connectionName, const QString &sql) {
    query = QSqlQuery(QSqlDatabase::database(connectionName));
    if (query.exec(sql))
        return true;
    QSqlDatabase client = QSqlDatabase::database(connectionName, false);
    if (client.isOpen() && query.lastError().nativeErrorCode() != QLatin1String("57P01"))
        return false;
    query = QSqlQuery();
    client.close();
    query = QSqlQuery(QSqlDatabase::database(connectionName));
    return query.exec(sql);
}
} // namespace

QString postgresSql(QString sql) {
    // A name with a blank keeps its case in quotes; the others fold to lower case.
    static const QRegularExpression bracketed(QStringLiteral("\\[([^\\]]*)\\]"));
    QString result;
    qsizetype at = 0;
    for (const QRegularExpressionMatch &match : bracketed.globalMatch(sql)) {
        const QString name = match.captured(1);
        result += sql.mid(at, match.capturedStart() - at);
        result +=
            name.contains(QLatin1Char(' ')) ? QLatin1Char('"') + name + QLatin1Char('"') : name;
        at = match.capturedEnd();
    }
    return result + sql.mid(at);
}

PhoneBookWorld::PhoneBookWorld(PhoneBookProvider provider) : provider_(provider) {
    if (provider_ == PhoneBookProvider::SQLite) {
        connectionString_ = phoneBookConnectionString(programFolder());
        return;
    }
    PostgresServer &server = sharedPostgresServer();
    serverDatabase_ = server.createDatabase();
    connectionString_ = server.connectionString(serverDatabase_);
    SaveSetting(QStringLiteral("ORVANEL"), QStringLiteral("PhoneBook"),
                QStringLiteral("Connection"), connectionString_);
    clientName_ = QStringLiteral("world-%1").arg(++worlds);
    QSqlDatabase client = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), clientName_);
    client.setHostName(server.socketFolder());
    client.setPort(server.port());
    client.setDatabaseName(serverDatabase_);
    client.setUserName(QString::fromLatin1(PostgresServer::user));
}

PhoneBookWorld::~PhoneBookWorld() {
    if (clientName_.isEmpty())
        return;
    QSqlDatabase::database(clientName_, false).close();
    QSqlDatabase::removeDatabase(clientName_);
}

void PhoneBookWorld::makeBook(const QList<Row> &rows) {
    if (provider_ == PhoneBookProvider::SQLite)
        QCOMPARE(SqliteFile::create(database()), QString());
    else
        QCOMPARE(createPhoneBook(connectionString_), QString());
    for (const Row &row : rows)
        addRow(row);
}

void PhoneBookWorld::addRow(const Row &row) {
    QStringList names;
    QStringList parameters;
    for (auto it = row.begin(); it != row.end(); ++it) {
        names << QLatin1Char('[') + it.key() + QLatin1Char(']');
        parameters << QStringLiteral("?");
    }
    const QString sql = QStringLiteral("INSERT INTO PHONEBOOK (%1) VALUES (%2)")
                            .arg(names.join(','), parameters.join(','));
    if (provider_ == PhoneBookProvider::PostgreSQL) {
        QSqlQuery insert(QSqlDatabase::database(clientName_));
        QVERIFY(insert.prepare(postgresSql(sql)));
        for (const QString &value : row)
            insert.addBindValue(value);
        QVERIFY2(insert.exec(), qPrintable(insert.lastError().text()));
        return;
    }
    Connection connection(database());
    const QByteArray text = sql.toUtf8();
    sqlite3_stmt *insert = nullptr;
    QCOMPARE(sqlite3_prepare_v2(connection.db, text.constData(), -1, &insert, nullptr), SQLITE_OK);
    int parameter = 1;
    for (const QString &value : row) {
        const QByteArray bytes = value.toUtf8();
        sqlite3_bind_text(insert, parameter++, bytes.constData(), int(bytes.size()),
                          SQLITE_TRANSIENT);
    }
    QCOMPARE(sqlite3_step(insert), SQLITE_DONE);
    sqlite3_finalize(insert);
}

QString PhoneBookWorld::execute(const QString &sql) const {
    if (provider_ == PhoneBookProvider::PostgreSQL) {
        QSqlQuery query;
        return runOnServer(query, clientName_, postgresSql(sql)) ? QString()
                                                                 : query.lastError().text();
    }
    Connection connection(database());
    char *error = nullptr;
    sqlite3_exec(connection.db, sql.toUtf8().constData(), nullptr, nullptr, &error);
    const QString message = error ? QString::fromUtf8(error) : QString();
    sqlite3_free(error);
    return message;
}

QStringList PhoneBookWorld::column(const QString &name) const {
    return values(QStringLiteral(
                      "SELECT CAST([%1] AS TEXT) FROM PHONEBOOK ORDER BY PHONEBOOK.[SERIAL NUMBER]")
                      .arg(name));
}

QStringList PhoneBookWorld::values(const QString &sql) const {
    QStringList values;
    if (provider_ == PhoneBookProvider::PostgreSQL) {
        QSqlQuery select;
        if (!runOnServer(select, clientName_, postgresSql(sql)))
            return {QStringLiteral("<error>")};
        while (select.next())
            values << (select.isNull(0) ? QStringLiteral("<null>") : select.value(0).toString());
        return values;
    }
    Connection connection(database());
    sqlite3_stmt *select = nullptr;
    if (sqlite3_prepare_v2(connection.db, sql.toUtf8().constData(), -1, &select, nullptr) !=
        SQLITE_OK)
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
