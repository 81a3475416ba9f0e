// The phone book on a PostgreSQL server that the test starts: connections that fail and
// what the window says, a server that stops while a record is being edited and comes
// back, and twenty other clients changing the same contacts while a window edits them.
#include "phonebook/store/phonebookconnection.h"
#include "phonebook/store/postgresconnection.h"
#include "phonebook/store/recordset.h"
#include "phonebook/store/storetexts.h"
#include "phonebookuser.h"
#include "phonebookworld.h"
#include "platform/messagebox.h"
#include "platform/runtimeerror.h"
#include "platform/settings.h"
#include "postgresserver.h"

#include <QDeadlineTimer>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTcpServer>
#include <QThread>
#include <QtEndian>
#include <arpa/inet.h>
#include <atomic>
#include <csignal>
#include <map>
#include <mutex>
#include <netinet/in.h>
#include <random>
#include <set>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

using namespace std::chrono_literals;

namespace {
QList<PhoneBookWorld::Row> threeContacts() {
    return {contactRow("2", "Anna Berg", "Leeds"), contactRow("4", "Bea Ode", "Leeds"),
            contactRow("7", "Chen Wei", "Osaka")};
}

int unusedPort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

// Connections made while one lives give up on a silent server within seconds.
struct ShortDeadlines {
    ShortDeadlines() : before(PostgresConnection::times()) {
        PostgresConnection::times() = {2000ms, 1000ms, 1000ms};
    }
    ~ShortDeadlines() { PostgresConnection::times() = before; }
    PostgresConnection::Times before;
};

// A server on 127.0.0.1 that takes connections as PostgreSQL does, one after another,
// answers the start-up with `method` (0: let in, 3: a password in clear text, 5: MD5) and
// then says nothing more, keeping what the client sent; on a thread of its own, since
// the client waits on the test's thread.
class FakeServer {
public:
    explicit FakeServer(quint32 method) : method_(method) {
        listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        ::bind(listener_, reinterpret_cast<sockaddr *>(&address), size);
        ::listen(listener_, 8);
        ::getsockname(listener_, reinterpret_cast<sockaddr *>(&address), &size);
        port = ntohs(address.sin_port);
        thread_ = std::thread([this] {
            for (int client; (client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC)) >= 0;)
                talk(client);
        });
    }
    ~FakeServer() {
        stopping_ = true;
        ::shutdown(listener_, SHUT_RDWR);
        if (const int client = client_; client >= 0)
            ::shutdown(client, SHUT_RDWR);
        thread_.join();
        ::close(listener_);
    }
    QByteArray received() {
        const std::lock_guard locked(mutex_);
        return received_;
    }
    int port = 0;

private:
    static bool readExactly(int fd, char *into, size_t size) {
        for (size_t got = 0; got < size;) {
            const ssize_t n = ::read(fd, into + got, size - got);
            if (n <= 0)
                return false;
            got += size_t(n);
        }
        return true;
    }
    void talk(int client) {
        client_ = client;
        if (!stopping_ && letIn(client)) {
            char byte = 0;
            while (::read(client, &byte, 1) == 1) {
                const std::lock_guard locked(mutex_);
                received_ += byte;
            }
        }
        client_ = -1;
        ::close(client);
    }
    // Declines encryption, reads the start-up message and answers it.
    bool letIn(int client) {
        char header[8];
        for (;;) {
            if (!readExactly(client, header, 8))
                return false;
            const quint32 code = qFromBigEndian<quint32>(header + 4);
            if (qFromBigEndian<quint32>(header) != 8 || (code != 80877103 && code != 80877104))
                break;
            (void)!::write(client, "N", 1);
        }
        std::vector<char> rest(std::max<quint32>(qFromBigEndian<quint32>(header), 8) - 8);
        readExactly(client, rest.data(), rest.size());
        QByteArray answer("R\0\0\0", 4);
        answer += char(method_ == 5 ? 12 : 8);
        answer += QByteArray(3, '\0') + char(method_);
        if (method_ == 5)
            answer += "salt";
        if (method_ == 0)
            answer += QByteArray("Z\0\0\0\5I", 6);
        return ::write(client, answer.constData(), size_t(answer.size())) == answer.size();
    }
    quint32 method_;
    int listener_ = -1;
    std::atomic<int> client_{-1};
    std::atomic<bool> stopping_{false};
    std::thread thread_;
    std::mutex mutex_;
    QByteArray received_;
};

// Stops the shared server for a while; starts it again however the test ends.
struct ServerDown {
    ServerDown() { QVERIFY(sharedPostgresServer().stop()); }
    ~ServerDown() { sharedPostgresServer().start(); }
};

// One of the other clients of the soak: on its own connection, it reads a contact and
// writes its NAME, "v" and a version, one past the one it read, only when the row
// still holds what it read; now and then it deletes one. It counts what it wrote.
class Client : public QThread {
public:
    Client(int number, QString database, int records, QDeadlineTimer deadline)
        : number_(number), database_(std::move(database)), records_(records), deadline_(deadline) {}
    ~Client() override {
        requestInterruption();
        wait();
    }

    std::map<int, int> updates; // by serial number, the updates this client made
    std::set<int> deleted;
    QString failure;

protected:
    void run() override {
        const QString name = QStringLiteral("client-%1").arg(number_);
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
            db.setHostName(sharedPostgresServer().socketFolder());
            db.setPort(sharedPostgresServer().port());
            db.setDatabaseName(database_);
            db.setUserName(QString::fromLatin1(PostgresServer::user));
            if (db.open())
                work(db);
            else
                failure = db.lastError().text();
            db.close();
        }
        QSqlDatabase::removeDatabase(name);
    }

private:
    void work(const QSqlDatabase &db) {
        std::mt19937 random{std::uint32_t(number_)};
        QSqlQuery read(db);
        QSqlQuery write(db);
        QSqlQuery remove(db);
        read.prepare(R"(SELECT NAME FROM PHONEBOOK WHERE "SERIAL NUMBER" = ?)");
        write.prepare(R"(UPDATE PHONEBOOK SET NAME = ? WHERE "SERIAL NUMBER" = ? AND NAME = ?)");
        remove.prepare(R"(DELETE FROM PHONEBOOK WHERE "SERIAL NUMBER" = ?)");
        while (!deadline_.hasExpired() && !isInterruptionRequested() && failure.isEmpty()) {
            const int serial = int(random() % unsigned(records_)) + 1;
            if (random() % 1000 == 0) {
                remove.addBindValue(serial);
                if (!remove.exec())
                    failure = remove.lastError().text();
                else if (remove.numRowsAffected() == 1)
                    deleted.insert(serial);
                continue;
            }
            read.addBindValue(serial);
            if (!read.exec()) {
                failure = read.lastError().text();
                break;
            }
            if (!read.next())
                continue;
            const QString was = read.value(0).toString();
            write.addBindValue(QStringLiteral("v%1").arg(was.mid(1).toInt() + 1));
            write.addBindValue(serial);
            write.addBindValue(was);
            if (!write.exec())
                failure = write.lastError().text();
            else if (write.numRowsAffected() == 1)
                ++updates[serial];
            QThread::msleep(5);
        }
    }

    int number_;
    QString database_;
    int records_;
    QDeadlineTimer deadline_;
};
} // namespace

class tst_PhoneBookServer : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void connectionsThatFail_data();
    void connectionsThatFail();
    void passwordOverTheNetworkOpens();
    void tableOfAnotherClientOpensAndChanges();
    void serverStopsWhileARecordIsEdited();
    void serverRestartsWhileTheWindowIsIdle();
    void passwordIsNotGivenUnprotected_data();
    void passwordIsNotGivenUnprotected();
    void silentServerIsGivenUp_data();
    void silentServerIsGivenUp();
    void manyClientsLoseNoUpdate();
};

void tst_PhoneBookServer::initTestCase() {
    QVERIFY2(sharedPostgresServer().start(), qPrintable(sharedPostgresServer().error()));
}

void tst_PhoneBookServer::cleanupTestCase() {
    QVERIFY(sharedPostgresServer().stop());
}

void tst_PhoneBookServer::connectionsThatFail_data() {
    QTest::addColumn<QString>("connection"); // %1 stands for a database of the test's own
    QTest::addColumn<QString>("message");
    const PostgresServer &server = sharedPostgresServer();
    const QString port = QString::number(server.port());
    QTest::newRow("wrong password")
        << server.tcpConnectionString("%1", "not-the-password")
        << "The phone book server at 127.0.0.1:" + port +
               " refused the connection: password authentication failed for user \"orvanel\".";
    QTest::newRow("a wrong password of one letter")
        << server.tcpConnectionString("%1", "a")
        << "The phone book server at 127.0.0.1:" + port +
               " refused the connection: password authentication failed for user \"orvanel\".";
    QTest::newRow("missing database")
        << server.connectionString("nosuchbook")
        << "The phone book server on this computer refused the connection: database "
           "\"nosuchbook\" does not exist.";
    const QString nothingThere = QString::number(unusedPort());
    QTest::newRow("no server at the port")
        << "PROVIDER=PostgreSQL;Host=127.0.0.1;Port=" + nothingThere + ";Database=%1;"
        << "The phone book server at 127.0.0.1:" + nothingThere +
               " cannot be reached: Connection refused. Try again when the server is back.";
    QTest::newRow("encryption asked of a server without it")
        << server.tcpConnectionString("%1", PostgresServer::password) + "SSL Mode=require;"
        << "The phone book server at 127.0.0.1:" + port +
               " cannot be reached: server does not support SSL, but SSL was required. Try "
               "again when the server is back.";
    QTest::newRow("unknown key") << server.connectionString("%1") + "Colour=blue;"
                                 << "The connection string has a key the phone book does not "
                                    "know: Colour.";
    QTest::newRow("port out of range")
        << "PROVIDER=PostgreSQL;Host=db.example;Port=70000;"
        << "The connection string is not valid: the Port must be a number from 1 to 65535, not "
           "\"70000\".";
    QTest::newRow("no table") << server.connectionString("%1")
                              << "The database \"%1\" on this computer has no table PHONEBOOK.";
    QTest::newRow("a column missing")
        << server.connectionString("%1") + "<without EMAIL>"
        << "The table PHONEBOOK in \"%1\" on this computer has no column EMAIL.";
}

void tst_PhoneBookServer::connectionsThatFail() {
    QFETCH(QString, connection);
    QFETCH(QString, message);
    PhoneBookWorld world(PhoneBookProvider::PostgreSQL);
    if (connection.endsWith("<without EMAIL>")) {
        connection.chop(15);
        QCOMPARE(world.execute("CREATE TABLE PHONEBOOK (ADDRESS TEXT, CITY TEXT, COUNTRY TEXT, "
                               "DATEOFBIRTH TEXT, NAME TEXT, OPTIONALPHONE TEXT, PHONE TEXT, "
                               "PINCODE TEXT, [SERIAL NUMBER] INTEGER, STATE TEXT)"),
                 QString());
    }
    connection.replace("%1", world.serverDatabase());
    message.replace("%1", world.serverDatabase());
    SaveSetting("ORVANEL", "PhoneBook", "Connection", connection);
    auto main = startProgram();
    world.platform.answerMessage(MsgBoxResult::Ok);
    frmPhoneBook *book = openPhoneBook(*main);
    QVERIFY(book);
    QCOMPARE(lastMessages(world, 2), QStringList{message});
    QVERIFY(!world.platform.messages[0].text.contains("not-the-password"));
    QVERIFY(!world.platform.messages[0].text.contains(PostgresServer::password));
    QCOMPARE(status(*book), QString());
}

void tst_PhoneBookServer::passwordOverTheNetworkOpens() {
    PhoneBookWorld world(PhoneBookProvider::PostgreSQL);
    world.makeBook(threeContacts());
    SaveSetting("ORVANEL", "PhoneBook", "Connection",
                sharedPostgresServer().tcpConnectionString(world.serverDatabase(),
                                                           PostgresServer::password));
    auto main = startProgram();
    frmPhoneBook &book = *openPhoneBook(*main);
    QCOMPARE(world.platform.messages.size(), 0);
    QCOMPARE(status(book), QString("Record: 1"));
    QCOMPARE(text(book, nameBox), QString("Anna Berg"));
}

void tst_PhoneBookServer::tableOfAnotherClientOpensAndChanges() {
    PhoneBookWorld world(PhoneBookProvider::PostgreSQL);
    // Made by hand: other types, another order, a column more, no key, two equal rows.
    for (const char *sql :
         {"CREATE TABLE PHONEBOOK (NAME VARCHAR(40), [SERIAL NUMBER] NUMERIC, PHONE TEXT, "
          "PINCODE NUMERIC(6,2), ADDRESS TEXT, CITY TEXT, COUNTRY TEXT, DATEOFBIRTH DATE, "
          "EMAIL TEXT, OPTIONALPHONE TEXT, STATE TEXT, NOTES TEXT)",
          "INSERT INTO PHONEBOOK (NAME, [SERIAL NUMBER], PINCODE, DATEOFBIRTH) VALUES "
          "('Zeta', 10, 7.5, '1982-02-14'), ('Alpha', 9, NULL, NULL), ('Twin', 100, NULL, NULL), "
          "('Twin', 100, NULL, NULL)"})
        QCOMPARE(world.execute(sql), QString());
    Recordset records;
    records.Open(openConnection(world.connectionString()));
    auto texts = [&](Field field) {
        QStringList list;
        for (long position = 1; position <= records.RecordCount(); ++position)
            list << records.fieldTextAt(position, indexOf(field));
        return list;
    };
    // In the order of the numbers, each value as the text the server writes it.
    QCOMPARE(texts(Field::Name), (QStringList{"Alpha", "Zeta", "Twin", "Twin"}));
    QCOMPARE(texts(Field::PinCode), (QStringList{"", "7.50", "", ""}));
    QCOMPARE(texts(Field::DateOfBirth), (QStringList{"", "1982-02-14", "", ""}));
    // The row is found again by those texts, whatever the column's type.
    records.MoveNext();
    records.setFieldText(indexOf(Field::Phone), "555 0199");
    records.UpdateBatch();
    QCOMPARE(world.column("PHONE"), (QStringList{"<null>", "555 0199", "<null>", "<null>"}));
    QCOMPARE(world.column("PINCODE"), (QStringList{"<null>", "7.50", "<null>", "<null>"}));
    // A date the column does not take is refused in plain words.
    records.setFieldText(indexOf(Field::DateOfBirth), "14 Febtember");
    try {
        records.UpdateBatch();
        QFAIL("the date was taken");
    } catch (const RuntimeError &error) {
        QCOMPARE(error.Description(),
                 QString("The database does not take \"14 Febtember\" as a DATEOFBIRTH."));
    }
    records.CancelUpdate();
    // Of two equal rows, one changes and one goes.
    records.MoveLast();
    records.setFieldText(indexOf(Field::Name), "Changed");
    records.UpdateBatch();
    QStringList equals = world.column("NAME").mid(2);
    equals.sort();
    QCOMPARE(equals, (QStringList{"Changed", "Twin"}));
    records.Delete();
    QCOMPARE(world.column("NAME").size(), 3);
}

void tst_PhoneBookServer::serverStopsWhileARecordIsEdited() {
    PhoneBookWorld world(PhoneBookProvider::PostgreSQL);
    Session session(world, threeContacts());
    frmPhoneBook &book = *session.book;
    press(book.cmdEdit);
    typeInto(book, cityBox, "Wakefield");
    {
        ServerDown down;
        for (int attempt = 0; attempt < 2; ++attempt) {
            world.platform.answerMessage(MsgBoxResult::Ok);
            press(book.cmdUpdate);
            QCOMPARE(world.platform.messages.size(), attempt + 1);
            QVERIFY2(lastMessages(world, 1)[0].startsWith(
                         "The phone book server on this computer cannot be reached: "),
                     qPrintable(lastMessages(world, 1)[0]));
            QVERIFY(lastMessages(world, 1)[0].endsWith("Try again when the server is back."));
            // The window goes on, with the change still in it.
            QCOMPARE(status(book), QString("Edit record"));
            QCOMPARE(text(book, cityBox), QString("Wakefield"));
            QVERIFY(book.cmdUpdate->isVisible());
        }
    }
    QVERIFY(sharedPostgresServer().running());
    press(book.cmdUpdate);
    QCOMPARE(world.platform.messages.size(), 2);
    QVERIFY(locked(book));
    QCOMPARE(world.column("CITY").first(), QString("Wakefield"));
}

void tst_PhoneBookServer::serverRestartsWhileTheWindowIsIdle() {
    PhoneBookWorld world(PhoneBookProvider::PostgreSQL);
    Session session(world, threeContacts());
    frmPhoneBook &book = *session.book;
    {
        ServerDown down;
        world.platform.answerMessage(MsgBoxResult::Ok);
        press(book.cmdRefresh);
        QVERIFY(lastMessages(world, 1)[0].startsWith(
            "The phone book server on this computer cannot be reached: "));
        // What the window read is still there to browse.
        press(book.cmdLast);
        QCOMPARE(text(book, nameBox), QString("Chen Wei"));
    }
    // Back again: the next command connects anew, and does what it should at once.
    press(book.cmdDelete);
    QCOMPARE(world.platform.messages.size(), 1);
    QCOMPARE(world.column("NAME"), (QStringList{"Anna Berg", "Bea Ode"}));
    { ServerDown down; }
    press(book.cmdEdit);
    typeInto(book, nameBox, "Bea Ode-Smith");
    press(book.cmdUpdate);
    QCOMPARE(world.platform.messages.size(), 1);
    QCOMPARE(world.column("NAME"), (QStringList{"Anna Berg", "Bea Ode-Smith"}));
}

void tst_PhoneBookServer::passwordIsNotGivenUnprotected_data() {
    QTest::addColumn<int>("method");
    QTest::newRow("in clear text") << 3;
    QTest::newRow("as MD5") << 5;
}

// A server that would take the password without TLS, by a method other than SCRAM, is
// never sent it.
void tst_PhoneBookServer::passwordIsNotGivenUnprotected() {
    QFETCH(int, method);
    PhoneBookWorld world(PhoneBookProvider::PostgreSQL);
    FakeServer server{quint32(method)};
    SaveSetting("ORVANEL", "PhoneBook", "Connection",
                QString("PROVIDER=PostgreSQL;Host=127.0.0.1;Port=%1;Database=book;User "
                        "ID=anna;Password=pass-of-anna;")
                    .arg(server.port));
    auto main = startProgram();
    world.platform.answerMessage(MsgBoxResult::Ok);
    QVERIFY(openPhoneBook(*main));
    QCOMPARE(lastMessages(world, 1),
             QStringList{QString("The phone book server at 127.0.0.1:%1 would take the password "
                                 "unprotected (in clear text or as MD5, without TLS), so it was "
                                 "not given. Add SSL Mode=require to the connection string, or "
                                 "have the server ask by scram-sha-256.")
                             .arg(server.port)});
    QTest::qWait(100);
    QVERIFY(!server.received().contains("pass-of-anna"));
}

void tst_PhoneBookServer::silentServerIsGivenUp_data() {
    QTest::addColumn<QString>("silence");
    QTest::newRow("a server that lets the window in and then says nothing") << "fake";
    QTest::newRow("the window's server process stopped") << "stopped";
}

// The window waits a few seconds for a server that says nothing, then says it cannot be
// reached and goes on as for a server that stopped.
void tst_PhoneBookServer::silentServerIsGivenUp() {
    QFETCH(QString, silence);
    const ShortDeadlines deadlines;
    PhoneBookWorld world(PhoneBookProvider::PostgreSQL);
    QElapsedTimer waited;
    if (silence == "fake") {
        FakeServer server(0);
        SaveSetting(
            "ORVANEL", "PhoneBook", "Connection",
            QString("PROVIDER=PostgreSQL;Host=127.0.0.1;Port=%1;Database=book;").arg(server.port));
        auto main = startProgram();
        world.platform.answerMessage(MsgBoxResult::Ok);
        waited.start();
        frmPhoneBook *book = openPhoneBook(*main);
        QVERIFY(waited.elapsed() < 30000);
        QVERIFY(book);
        QCOMPARE(lastMessages(world, 1),
                 QStringList{QString("The phone book server at 127.0.0.1:%1 cannot be reached: it "
                                     "did not answer within 3 seconds. Try again when the server "
                                     "is back.")
                                 .arg(server.port)});
        return;
    }
    Session session(world, threeContacts());
    frmPhoneBook &book = *session.book;
    const QStringList backends =
        world.values("SELECT pid FROM pg_stat_activity WHERE datname = current_database() AND "
                     "pid <> pg_backend_pid()");
    QCOMPARE(backends.size(), 1);
    const pid_t backend = pid_t(backends[0].toInt());
    QCOMPARE(::kill(backend, SIGSTOP), 0);
    world.platform.answerMessage(MsgBoxResult::Ok);
    waited.start();
    press(book.cmdRefresh);
    const qint64 took = waited.elapsed();
    ::kill(backend, SIGCONT);
    QVERIFY2(took < 30000, qPrintable(QString::number(took)));
    QCOMPARE(lastMessages(world, 1),
             QStringList{"The phone book server on this computer cannot be reached: it did not "
                         "answer within 2 seconds. Try again when the server is back."});
    // What the window read is still there; the next command connects anew.
    press(book.cmdLast);
    QCOMPARE(text(book, nameBox), QString("Chen Wei"));
    press(book.cmdRefresh);
    QCOMPARE(world.platform.messages.size(), 1);
    QCOMPARE(status(book), QString("Record: 1"));
}

void tst_PhoneBookServer::manyClientsLoseNoUpdate() {
    constexpr int records = 1000;
    constexpr int clientCount = 20;
    const int seconds = qEnvironmentVariableIntValue("ORVANEL_SOAK_SECONDS") > 0
                            ? qEnvironmentVariableIntValue("ORVANEL_SOAK_SECONDS")
                            : 60;
    PhoneBookWorld world(PhoneBookProvider::PostgreSQL);
    world.makeBook();
    QCOMPARE(world.execute(QStringLiteral("INSERT INTO PHONEBOOK ([SERIAL NUMBER], NAME) SELECT "
                                          "n, 'v0' FROM generate_series(1, %1) n")
                               .arg(records)),
             QString());
    auto main = startProgram();
    frmPhoneBook &book = *openPhoneBook(*main);

    const QDeadlineTimer deadline(std::chrono::seconds{seconds});
    std::vector<std::unique_ptr<Client>> clients;
    for (int i = 0; i < clientCount; ++i) {
        clients.push_back(
            std::make_unique<Client>(i + 1, world.serverDatabase(), records, deadline));
        clients.back()->start();
    }
    // The window: Refresh, a few records on, Edit, the next version into NAME, Update.
    std::mt19937 random(2026);
    std::map<int, int> windowUpdates;
    std::vector<std::pair<int, int>> refused; // serial number, the version the window read
    while (!deadline.hasExpired()) {
        press(book.cmdRefresh);
        for (unsigned steps = random() % 40; steps > 0 && book.cmdNext->isEnabled(); --steps)
            press(book.cmdNext);
        if (text(book, nameBox).isEmpty())
            continue;
        const int serial = text(book, serialBox).toInt();
        const int version = text(book, nameBox).mid(1).toInt();
        press(book.cmdEdit);
        typeInto(book, nameBox, QStringLiteral("v%1").arg(version + 1));
        const qsizetype shown = world.platform.messages.size();
        if (world.platform.unansweredDialogs() == 0)
            world.platform.answerMessage(MsgBoxResult::Ok);
        press(book.cmdUpdate);
        if (world.platform.messages.size() == shown) {
            ++windowUpdates[serial];
            continue;
        }
        QCOMPARE(lastMessages(world, 1), QStringList{StoreText::changedElsewhere()});
        refused.emplace_back(serial, version);
        press(book.cmdCancel);
    }
    std::map<int, int> updates = windowUpdates;
    std::set<int> deleted;
    for (const auto &client : clients) {
        QVERIFY(client->wait(30000));
        QCOMPARE(client->failure, QString());
        for (const auto &[serial, count] : client->updates)
            updates[serial] += count;
        deleted.insert(client->deleted.begin(), client->deleted.end());
    }
    // Every update that was made is in the row: its version is the number of them.
    const QStringList serials = world.column("SERIAL NUMBER");
    const QStringList names = world.column("NAME");
    QCOMPARE(int(serials.size()) + int(deleted.size()), records);
    std::map<int, int> versions;
    for (qsizetype i = 0; i < serials.size(); ++i) {
        const int serial = serials[i].toInt();
        versions[serial] = names[i].mid(1).toInt();
        QCOMPARE(versions[serial], updates[serial]);
    }
    // Every refusal was of a row that had changed since the window read it.
    for (const auto &[serial, version] : refused)
        QVERIFY(deleted.count(serial) || versions[serial] > version);
    int windowTotal = 0;
    for (const auto &[serial, count] : windowUpdates)
        windowTotal += count;
    qInfo("%d updates by the window, %zu refused; %zu rows deleted by the clients", windowTotal,
          refused.size(), deleted.size());
    QVERIFY(windowTotal > 0);
    QVERIFY(!refused.empty());
}

QTEST_MAIN(tst_PhoneBookServer)
#include "tst_phonebookserver.moc"
