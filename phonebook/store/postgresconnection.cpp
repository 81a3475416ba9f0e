#include "phonebook/store/postgresconnection.h"

#include "phonebook/store/clientlibrary.h"

#include "phonebook/store/connectionstring.h"
#include "phonebook/store/passwordexchange.h"
#include "phonebook/store/phonebooksql.h"
#include "phonebook/store/phonebooktable.h"
#include "phonebook/store/socketready.h"
#include "phonebook/store/storetexts.h"
#include "platform/runtimeerror.h"

#include <QAtomicInt>
#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <poll.h>
#include <sys/stat.h>

namespace {
// A dead server or network is given up on within a few seconds: connecting waits at
// most the connecting time; a network that no longer carries answers is noticed by TCP
// keep-alive probes (3 s idle, then 2 probes 1 s apart); data it no longer takes, by
// the TCP user time-out. A row another client holds is waited for as long as the file
// waits for another program's write; a statement the server cannot finish is cancelled
// by the server. A server that says nothing while its machine still answers TCP is
// given up on by the client once those times and the grace after them are past.
constexpr int lockMilliseconds = 3000;
const char *const fixedOptions = "keepalives=1;keepalives_idle=3;keepalives_interval=1;"
                                 "keepalives_count=2;tcp_user_timeout=5000";

QAtomicInt connectionsMade;

// Keys of the connection string that go to the server's client library as they are.
struct PassedOn {
    const char *key;
    const char *option;
};
constexpr PassedOn passedOn[] = {
    {"SSL Mode", "sslmode"},
    {"SSL Root Cert", "sslrootcert"},
    {"SSL Cert", "sslcert"},
    {"SSL Key", "sslkey"},
};

// A value as the client library's connection options quote it.
QString optionValue(const QString &value) {
    QString quoted = value;
    quoted.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    quoted.replace(QLatin1Char('\''), QStringLiteral("\\'"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

// The statements of a server, as PostgreSQL writes them.
const PhoneBookSql postgres{Engine::PostgreSQL};

QString storedName(int field) {
    const QString name = columnName(field);
    return name.contains(QLatin1Char(' ')) ? name : name.toLower();
}

// The phone book's query in PostgreSQL's words: the same columns in the same order,
// each as the text it shows, in the order of the serial number's own type.
const QString &phoneBookQueryText() {
    // Qualified, so that the order is the column's own and not its text's.
    static const QString text =
        QStringLiteral("SELECT %1 FROM PHONEBOOK ORDER BY PHONEBOOK.%2")
            .arg(postgres.returnedColumns(), postgres.column(indexOf(Field::SerialNumber)));
    return text;
}

// The server's message without its severity, its position and its hints: the first
// line, after what the client library puts before a failed connection's reason.
QString reasonOf(const QSqlError &error) {
    QString text = error.databaseText().section(QLatin1Char('\n'), 0, 0);
    const qsizetype failed = text.lastIndexOf(QStringLiteral("failed: "));
    if (failed >= 0)
        text = text.mid(failed + 8);
    for (const char *severity : {"FATAL:", "ERROR:"}) {
        if (text.startsWith(QLatin1String(severity)))
            text = text.mid(int(qstrlen(severity)));
    }
    text = text.trimmed();
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text.isEmpty() ? error.text() : text;
}

// The first text in double quotes in a message, as PostgreSQL quotes a value or name.
QString firstQuoted(const QString &message) {
    const qsizetype open = message.indexOf(QLatin1Char('"'));
    const qsizetype close = open < 0 ? -1 : message.indexOf(QLatin1Char('"'), open + 1);
    return close < 0 ? QString() : message.mid(open + 1, close - open - 1);
}

// The column named as a duplicate key's in "Key (name)=(value) already exists".
int keyColumnIn(const QString &detail) {
    const qsizetype at = detail.indexOf(QStringLiteral("Key ("));
    const qsizetype end = at < 0 ? -1 : detail.indexOf(QStringLiteral(")="), at);
    if (end < 0)
        return -1;
    QString name = detail.mid(at + 5, end - at - 5);
    name.remove(QLatin1Char('"'));
    for (int i = 0; i < fieldCount; ++i) {
        if (name.compare(columnName(i), Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

// A row's values as read: the server hands every value over as UTF-8, so the text is
// exactly what it holds.
std::vector<Value> textOf(const RowTable::RawValues &row) {
    std::vector<Value> values;
    for (const auto &bytes : row)
        values.push_back(toValue(bytes));
    return values;
}

QVariant parameter(const Value &value) {
    return value ? QVariant(*value) : QVariant(QMetaType::fromType<QString>());
}

// The client library's own handle of an open connection; none when there is none.
PGconn *handleOf(const QSqlDatabase &db) {
    const QVariant handle = db.driver() ? db.driver()->handle() : QVariant();
    // The driver names the type by its typedef or by its struct, as Qt builds it.
    if (!handle.isValid() ||
        (qstrcmp(handle.typeName(), "PGconn*") != 0 && qstrcmp(handle.typeName(), "pg_conn*") != 0))
        return nullptr;
    return *static_cast<PGconn *const *>(handle.constData());
}

// The socket of an open connection, for its watch; -1 when there is none.
int socketOf(const QSqlDatabase &db) {
    PGconn *connection = handleOf(db);
    return connection ? clientLibrary().socket(connection) : -1;
}

// A value as a line of COPY's text format carries it: no value is \N, and a backslash,
// tab, line feed or carriage return is escaped.
void appendCopyValue(QByteArray &line, const Value &value) {
    if (!value) {
        line += "\\N";
        return;
    }
    for (const char c : value->toUtf8()) {
        switch (c) {
        case '\\':
            line += "\\\\";
            break;
        case '\t':
            line += "\\t";
            break;
        case '\n':
            line += "\\n";
            break;
        case '\r':
            line += "\\r";
            break;
        default:
            line += c;
        }
    }
}

enum class Probe { Answered, Failed, Silent };

// Whether the server answers a statement before the deadline, asked on a connection of
// its own without ever waiting longer. Qt's driver runs statements of its own while it
// connects, where a server that took the connection and then says nothing would hold
// the window for ever; this is asked first. A connection that fails is left to the
// driver to fail again, with its own words.
Probe probeServer(const std::vector<std::pair<QByteArray, QByteArray>> &options,
                  std::chrono::steady_clock::time_point deadline) {
    std::vector<const char *> keys;
    std::vector<const char *> values;
    for (const auto &[key, value] : options) {
        keys.push_back(key.constData());
        values.push_back(value.constData());
    }
    keys.push_back(nullptr);
    values.push_back(nullptr);
    const ClientLibrary &pq = clientLibrary();
    const std::unique_ptr<PGconn, void (*)(PGconn *)> connection(
        pq.connectStartParams(keys.data(), values.data(), 0), pq.finish);
    if (!connection || pq.status(connection.get()) == CONNECTION_BAD)
        return Probe::Failed;
    for (PostgresPollingStatusType state = PGRES_POLLING_WRITING; state != PGRES_POLLING_OK;) {
        if (state == PGRES_POLLING_FAILED)
            return Probe::Failed;
        if (!socketReadyBefore(pq.socket(connection.get()),
                               state == PGRES_POLLING_READING ? POLLIN : POLLOUT, deadline))
            return Probe::Silent;
        state = pq.connectPoll(connection.get());
    }
    if (pq.sendQuery(connection.get(), "SELECT 1") == 0)
        return Probe::Failed;
    for (;;) {
        while (pq.isBusy(connection.get()) == 0) {
            PGresult *result = pq.getResult(connection.get());
            if (!result)
                return Probe::Answered;
            pq.clear(result);
        }
        if (!socketReadyBefore(pq.socket(connection.get()), POLLIN, deadline))
            return Probe::Silent;
        if (pq.consumeInput(connection.get()) == 0)
            return Probe::Failed;
    }
}

// A socket folder every user may write could hold anybody's server, which would be
// given the password and the phone book.
void refuseOpenSocketFolder(const QString &folder) {
    struct stat status {};
    if (::stat(QFile::encodeName(folder).constData(), &status) == 0 &&
        (status.st_mode & S_IWOTH) != 0)
        raiseError(ErrorNumber::InvalidConnectionString,
                   StoreText::openSocketFolder(QDir::toNativeSeparators(folder)));
}

int seconds(std::chrono::milliseconds time) {
    return int((time.count() + 999) / 1000);
}
} // namespace

PostgresConnection::Times &PostgresConnection::times() {
    static Times shared;
    return shared;
}

const QStringList &PostgresConnection::keys() {
    static const QStringList names = [] {
        QStringList list{QStringLiteral("Provider"), QStringLiteral("Host"),
                         QStringLiteral("Port"),     QStringLiteral("Database"),
                         QStringLiteral("User ID"),  QStringLiteral("Password")};
        for (const PassedOn &key : passedOn)
            list << QString::fromLatin1(key.key);
        return list;
    }();
    return names;
}

PostgresConnection::PostgresConnection(const ConnectionString &settings)
    : PostgresConnection(settings, Connecting::Checked) {}

PostgresConnection::PostgresConnection(const ConnectionString &settings, Connecting connecting)
    : name_(QStringLiteral("orvanel-phonebook-%1").arg(connectionsMade.fetchAndAddRelaxed(1))) {
    const QString host = settings.value(QStringLiteral("Host"));
    const QString port = settings.value(QStringLiteral("Port"));
    bool portIsNumber = port.isEmpty();
    const int portNumber = port.isEmpty() ? -1 : port.toInt(&portIsNumber);
    if (!portIsNumber || (!port.isEmpty() && (portNumber < 1 || portNumber > 65535)))
        raiseError(ErrorNumber::InvalidConnectionString, StoreText::badPort(port));
    if (host.startsWith(QLatin1Char('/')))
        refuseOpenSocketFolder(host);
    server_ = host.isEmpty() || host.startsWith(QLatin1Char('/'))
                  ? QStringLiteral("on this computer")
                  : QStringLiteral("at ") + host + (port.isEmpty() ? QString() : ':' + port);
    const QString database = settings.value(QStringLiteral("Database"));
    database_ = database.isEmpty() ? server_ : QStringLiteral("\"%1\" %2").arg(database, server_);
    password_ = settings.value(QStringLiteral("Password"));
    const Times &time = times();
    // A password goes over the network only where it cannot be read on the way.
    const QString sslMode = settings.value(QStringLiteral("SSL Mode")).toLower();
    if (!password_.isEmpty() && !host.isEmpty() && !host.startsWith(QLatin1Char('/')) &&
        sslMode != QLatin1String("require") && sslMode != QLatin1String("verify-ca") &&
        sslMode != QLatin1String("verify-full"))
        passwordCheck_ = PasswordServer{
            host, port.isEmpty() ? 5432 : portNumber, settings.value(QStringLiteral("User ID")),
            settings.value(QStringLiteral("Database")),
            sslMode != QLatin1String("disable") && sslMode != QLatin1String("allow")};

    QStringList options{
        QString::fromLatin1(fixedOptions),
        QStringLiteral("connect_timeout=%1").arg(std::max(2, seconds(time.connect))),
        QStringLiteral("options='-c lock_timeout=%1 -c statement_timeout=%2'")
            .arg(lockMilliseconds)
            .arg(time.statement.count())};
    const auto give = [this](const char *key, const QString &value) {
        if (!value.isEmpty())
            probeOptions_.emplace_back(QByteArray(key), value.toUtf8());
    };
    give("host", host);
    give("port", port);
    give("dbname", settings.value(QStringLiteral("Database")));
    give("user", settings.value(QStringLiteral("User ID")));
    give("password", password_);
    for (const PassedOn &key : passedOn) {
        if (settings.contains(QLatin1String(key.key))) {
            options << QLatin1String(key.option) + QLatin1Char('=') +
                           optionValue(settings.value(QLatin1String(key.key)));
            give(key.option, settings.value(QLatin1String(key.key)));
        }
    }
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name_);
        if (!db.isValid()) {
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(name_);
            raiseError(ErrorNumber::ProviderNotFound, StoreText::postgresDriverMissing());
        }
        db.setHostName(host);
        db.setPort(portNumber);
        db.setDatabaseName(database);
        db.setUserName(settings.value(QStringLiteral("User ID")));
        db.setPassword(password_);
        db.setConnectOptions(options.join(QLatin1Char(';')));
    }
    try {
        open();
        if (connecting == Connecting::Checked)
            checkTable();
    } catch (...) {
        release();
        throw;
    }
}

PostgresConnection::~PostgresConnection() {
    release();
}

void PostgresConnection::release() {
    statements_.clear();
    QSqlDatabase::database(name_, false).close();
    QSqlDatabase::removeDatabase(name_);
}

void PostgresConnection::open() {
    const std::chrono::milliseconds limit = times().connect + times().grace;
    if (passwordCheck_ &&
        passwordExchange(*passwordCheck_, std::chrono::steady_clock::now() + limit) ==
            PasswordExchange::InTheClear)
        raiseError(ErrorNumber::DatabaseError, StoreText::passwordInTheClear(server_));
    if (probeServer(probeOptions_, std::chrono::steady_clock::now() + limit) == Probe::Silent)
        raiseError(ErrorNumber::DatabaseError,
                   StoreText::serverUnreachable(server_, StoreText::noAnswer(seconds(limit))));
    QSqlDatabase db = QSqlDatabase::database(name_, false);
    if (db.open())
        return;
    const QSqlError error = db.lastError();
    const QString reason = StoreText::withoutSecret(reasonOf(error), password_);
    // The server answered, and said no: a wrong password, a database it does not have.
    if (error.databaseText().contains(QStringLiteral("FATAL:")))
        raiseError(ErrorNumber::DatabaseError, StoreText::serverRefused(server_, reason));
    raiseError(ErrorNumber::DatabaseError, StoreText::serverUnreachable(server_, reason));
}

void PostgresConnection::closeLost() {
    statements_.clear();
    QSqlDatabase::database(name_, false).close();
    inTransaction_ = false;
}

QSqlQuery &PostgresConnection::run(const QString &sql, const std::vector<Value> &values,
                                   const std::vector<Change> &changes, Retry retry) {
    for (bool again = retry == Retry::OnNewConnection;; again = false) {
        QSqlDatabase db = QSqlDatabase::database(name_, false);
        if (!db.isOpen()) {
            // A connection lost inside a transaction took the transaction with it.
            if (inTransaction_) {
                inTransaction_ = false;
                raiseError(ErrorNumber::DatabaseError,
                           StoreText::serverUnreachable(server_, QString()));
            }
            open();
        }
        auto [entry, isNew] = statements_.try_emplace(sql, db);
        QSqlQuery &query = entry->second;
        bool done = false;
        const Watched watched(*this, db);
        if (values.empty()) {
            query.setForwardOnly(true);
            done = query.exec(sql);
        } else {
            if (isNew) {
                query.setForwardOnly(true);
                done = query.prepare(sql);
            }
            if (done || !isNew) {
                for (size_t i = 0; i < values.size(); ++i)
                    query.bindValue(int(i), parameter(values[i]));
                done = query.exec();
            }
        }
        if (watched.expired())
            giveUp();
        if (done)
            return query;
        const QSqlError error = query.lastError();
        if (isNew && !values.empty())
            statements_.erase(entry);
        const QString code = error.nativeErrorCode();
        const bool lost = !db.isOpen() || code.startsWith(QStringLiteral("08")) ||
                          code.startsWith(QStringLiteral("57P0"));
        if (!lost)
            fail(error, changes);
        const bool wasInTransaction = inTransaction_;
        closeLost();
        if (!again || wasInTransaction)
            raiseError(ErrorNumber::DatabaseError,
                       StoreText::serverUnreachable(
                           server_, StoreText::withoutSecret(reasonOf(error), password_)));
    }
}

void PostgresConnection::checkTable() {
    QSqlQuery &info = run(QStringLiteral(
        "SELECT attname, format_type(atttypid, atttypmod) FROM pg_attribute "
        "WHERE attrelid = to_regclass('PHONEBOOK') AND attnum > 0 AND NOT attisdropped"));
    std::map<QString, QString> found;
    while (info.next())
        found[info.value(0).toString()] = info.value(1).toString();
    if (found.empty())
        raiseError(ErrorNumber::DatabaseError, StoreText::noTable(database_));
    for (int i = 0; i < fieldCount; ++i) {
        const auto column = found.find(storedName(i));
        if (column == found.end())
            raiseError(ErrorNumber::DatabaseError, StoreText::noColumn(database_, columnName(i)));
        wholeNumbers_[size_t(i)] = column->second == QLatin1String("bigint") ||
                                   column->second == QLatin1String("integer") ||
                                   column->second == QLatin1String("smallint");
    }
}

void PostgresConnection::fail(const QSqlError &error, const std::vector<Change> &changes) const {
    const QString code = error.nativeErrorCode();
    const QString message = StoreText::withoutSecret(reasonOf(error), password_);
    if (code == QLatin1String("23505")) {
        const int column = keyColumnIn(error.databaseText());
        raiseRefusal(Refusal::DuplicateValue, column, changedValue(changes, column), message);
    }
    if (code == QLatin1String("23502")) {
        // "null value in column "name" of relation ..."
        const QString name = firstQuoted(message);
        int column = -1;
        for (int i = 0; i < fieldCount; ++i) {
            if (storedName(i) == name)
                column = i;
        }
        raiseRefusal(Refusal::MissingValue, column, QString(), message);
    }
    if (code.startsWith(QLatin1String("22"))) {
        // A value the column's type does not take; the message quotes the value.
        const QString value = firstQuoted(message);
        int column = -1;
        for (const Change &change : changes) {
            if (column < 0 && change.value.value_or(QString()) == value)
                column = change.field;
        }
        if (column >= 0)
            raiseRefusal(wholeNumbers_[size_t(column)] ? Refusal::NotWholeNumber
                                                       : Refusal::WrongKind,
                         column, value, message);
    }
    if (code.startsWith(QLatin1String("23")))
        raiseRefusal(Refusal::Rule, -1, QString(), message);
    if (code == QLatin1String("55P03") || code == QLatin1String("40001") ||
        code == QLatin1String("40P01"))
        raiseRefusal(Refusal::Busy, -1, QString(), message);
    if (code == QLatin1String("57014"))
        raiseError(ErrorNumber::DatabaseError,
                   StoreText::serverTooSlow(server_, seconds(times().statement)));
    if (code == QLatin1String("42501"))
        raiseError(ErrorNumber::PermissionDenied, StoreText::noPermission(message));
    if (code == QLatin1String("53100"))
        raiseRefusal(Refusal::DiskFull, -1, QString(), message);
    raiseRefusal(Refusal::Other, -1, QString(), message);
}

Values PostgresConnection::valuesOf(const QSqlQuery &query) const {
    Values values;
    for (int i = 0; i < fieldCount; ++i) {
        const QVariant value = query.value(i);
        if (!value.isNull())
            values[size_t(i)] = value.toString();
    }
    return values;
}

void PostgresConnection::readAll(RowTable &rows) {
    QSqlQuery &query = run(phoneBookQueryText(), {}, {}, Retry::OnNewConnection);
    {
        // The rows come from the server as they are read.
        const Watched watched(*this, QSqlDatabase::database(name_, false));
        while (query.next())
            rows.append(valuesOf(query));
        if (watched.expired())
            giveUp();
    }
    const QSqlError error = query.lastError();
    query.finish();
    if (error.isValid())
        fail(error, {});
}

void PostgresConnection::beginWriting() {
    run(QStringLiteral("BEGIN"), {}, {}, Retry::OnNewConnection);
    inTransaction_ = true;
}

void PostgresConnection::commit() {
    run(QStringLiteral("COMMIT"));
    inTransaction_ = false;
}

void PostgresConnection::rollback() {
    if (!inTransaction_)
        return;
    inTransaction_ = false;
    QSqlDatabase db = QSqlDatabase::database(name_, false);
    if (db.isOpen()) {
        const Watched watched(*this, db);
        QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
        if (watched.expired())
            closeLost();
    }
}

PostgresConnection::Watched::Watched(PostgresConnection &connection, const QSqlDatabase &db)
    : watch_(connection.watch_) {
    watch_.arm(socketOf(db), times().statement + times().grace);
}

PostgresConnection::Watched::~Watched() {
    watch_.disarm();
}

bool PostgresConnection::Watched::expired() const {
    return watch_.disarm();
}

void PostgresConnection::giveUp() {
    closeLost();
    raiseError(ErrorNumber::DatabaseError,
               StoreText::serverUnreachable(
                   server_, StoreText::noAnswer(seconds(times().statement + times().grace))));
}

const QString &PostgresConnection::rowCondition() {
    static const QString condition = postgres.rowCondition(1);
    return condition;
}

StoredValues PostgresConnection::insertRecord(const Values &values) {
    const std::vector<Change> given = givenValues(values);
    std::vector<Value> parameters;
    for (const Change &change : given)
        parameters.push_back(change.value);
    const QString sql = postgres.insert(given);
    QSqlQuery &insert = run(sql, parameters, given);
    if (!insert.next())
        raiseError(ErrorNumber::DatabaseError, StoreText::databaseError(sql));
    return toStored(valuesOf(insert));
}

void PostgresConnection::insertRecords(const std::vector<Values> &rows, size_t &failed) {
    if (rows.empty())
        return;
    const int serial = indexOf(Field::SerialNumber);
    // The serial numbers the server would give, given here for all the records at once:
    // the sequence is first moved past the highest number in the table and in these
    // records, as the trigger moves it for each record, and a record without a number
    // takes the sequence's next. A record already numbered passes the trigger as it is.
    qint64 highestGiven = 0;
    for (const Values &row : rows) {
        if (row[size_t(serial)])
            highestGiven = std::max(highestGiven, row[size_t(serial)]->toLongLong());
    }
    QStringList columns;
    QStringList incoming;
    QStringList selected;
    for (int i = 0; i < fieldCount; ++i) {
        columns << postgres.column(i);
        incoming << QStringLiteral("c%1 TEXT").arg(i);
        const QString value = wholeNumbers_[size_t(i)]
                                  ? QStringLiteral("CAST(c%1 AS BIGINT)").arg(i)
                                  : QStringLiteral("c%1").arg(i);
        selected << (i == serial
                         ? QStringLiteral("coalesce(%1, nextval('PHONEBOOK_SERIAL'))").arg(value)
                         : value);
    }
    run(QStringLiteral("SAVEPOINT insert_records"));
    try {
        // The records go to a table of this connection's own in one COPY, and from there
        // into the phone book in their order with one statement.
        run(QStringLiteral("CREATE TEMPORARY TABLE IF NOT EXISTS incoming_records "
                           "(place BIGINT, %1) ON COMMIT DROP")
                .arg(incoming.join(QLatin1Char(','))));
        run(QStringLiteral("TRUNCATE incoming_records"));
        QByteArray data;
        data.reserve(qsizetype(rows.size()) * 160);
        for (size_t r = 0; r < rows.size(); ++r) {
            data += QByteArray::number(qulonglong(r));
            for (const Value &value : rows[r]) {
                data += '\t';
                appendCopyValue(data, value);
            }
            data += '\n';
        }
        copyIn("COPY incoming_records FROM STDIN", data);
        run(QStringLiteral(
                "SELECT setval('PHONEBOOK_SERIAL', highest) FROM (SELECT greatest("
                "(SELECT max(\"SERIAL NUMBER\") FROM PHONEBOOK), CAST(? AS BIGINT)) AS highest) AS "
                "h "
                "WHERE highest >= (SELECT CASE WHEN is_called THEN last_value + 1 ELSE last_value "
                "END FROM PHONEBOOK_SERIAL)"),
            {QString::number(highestGiven)});
        run(QStringLiteral(
                "INSERT INTO PHONEBOOK (%1) SELECT %2 FROM incoming_records ORDER BY place")
                .arg(columns.join(QLatin1Char(',')), selected.join(QLatin1Char(','))));
    } catch (const RuntimeError &) {
        // Which one it was, and its own error: the records go in again one at a time.
        run(QStringLiteral("ROLLBACK TO SAVEPOINT insert_records"));
        PhoneBookConnection::insertRecords(rows, failed);
    }
    run(QStringLiteral("RELEASE SAVEPOINT insert_records"));
}

void PostgresConnection::copyIn(const char *statement, const QByteArray &data) {
    QSqlDatabase db = QSqlDatabase::database(name_, false);
    PGconn *connection = handleOf(db);
    if (!connection)
        raiseError(ErrorNumber::DatabaseError,
                   StoreText::databaseError(QString::fromLatin1(statement)));
    const ClientLibrary &pq = clientLibrary();
    const Watched watched(*this, db);
    QString failure;
    PGresult *started = pq.exec(connection, statement);
    const bool copying = started && pq.resultStatus(started) == PGRES_COPY_IN;
    if (!copying)
        failure = QString::fromUtf8(started ? pq.resultErrorMessage(started)
                                            : pq.errorMessage(connection));
    pq.clear(started);
    if (copying) {
        if (pq.putCopyData(connection, data.constData(), int(data.size())) != 1 ||
            pq.putCopyEnd(connection, nullptr) != 1)
            failure = QString::fromUtf8(pq.errorMessage(connection));
        while (PGresult *result = pq.getResult(connection)) {
            if (pq.resultStatus(result) != PGRES_COMMAND_OK && failure.isEmpty())
                failure = QString::fromUtf8(pq.resultErrorMessage(result));
            pq.clear(result);
        }
    }
    if (watched.expired())
        giveUp();
    if (!failure.isEmpty())
        raiseError(ErrorNumber::DatabaseError,
                   StoreText::withoutSecret(failure.trimmed(), password_));
}

StoredValues PostgresConnection::updateRecord(const RowTable::RawValues &original,
                                              const std::vector<Change> &changes) {
    std::vector<Value> parameters;
    for (const Change &change : changes)
        parameters.push_back(change.value);
    const std::vector<Value> originals = textOf(original);
    parameters.insert(parameters.end(), originals.begin(), originals.end());
    QSqlQuery &update = run(postgres.update(changes, rowCondition()), parameters, changes);
    if (!update.next())
        raiseError(ErrorNumber::RowChangedElsewhere, StoreText::changedElsewhere());
    return toStored(valuesOf(update));
}

void PostgresConnection::deleteRecord(const RowTable::RawValues &original) {
    // In a transaction of its own when it comes alone, so that a connection found lost
    // when it starts is made again first.
    const bool alone = !inTransaction_;
    if (alone)
        beginWriting();
    try {
        QSqlQuery &remove = run(PhoneBookSql::remove(rowCondition()), textOf(original));
        if (remove.numRowsAffected() != 1)
            raiseError(ErrorNumber::RowChangedElsewhere, StoreText::deletedOrChangedElsewhere());
        if (alone)
            commit();
    } catch (...) {
        if (alone)
            rollback();
        throw;
    }
}

void PostgresConnection::createTable(const ConnectionString &settings) {
    PostgresConnection connection(settings, Connecting::Unchecked);
    QSqlQuery &exists = connection.run(QStringLiteral("SELECT to_regclass('PHONEBOOK') IS NULL"));
    if (!exists.next() || !exists.value(0).toBool())
        raiseError(ErrorNumber::DatabaseError, StoreText::tableExists(connection.database_));
    connection.beginWriting();
    try {
        for (const QString &statement : phoneBookSchema(Engine::PostgreSQL))
            connection.run(statement);
        connection.commit();
    } catch (...) {
        connection.rollback();
        throw;
    }
}
