// The phone book's store on its own: connection strings, files made by other programs,
// the leading-number rule of numeric searches.
#include "phonebook/leadingnumber.h"
#include "phonebook/store/connectionstring.h"
#include "phonebook/store/phonebookconnection.h"
#include "phonebook/store/recordset.h"
#include "phonebook/store/sqlitefile.h"
#include "phonebookfile.h"
#include "phonebookworld.h"
#include "platform/runtimeerror.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>
#include <cmath>

namespace {
// The description a step fails with; empty when it does not fail.
QString failureOf(const std::function<void()> &step) {
    try {
        step();
    } catch (const RuntimeError &error) {
        return error.Description();
    }
    return {};
}

// Runs SQL through the sqlite3 program, as a user's own script would.
void sqliteShell(const QString &file, const QString &script) {
    QProcess shell;
    shell.start(QStringLiteral("sqlite3"), {file});
    QVERIFY(shell.waitForStarted());
    shell.write(script.toUtf8());
    shell.closeWriteChannel();
    QVERIFY(shell.waitForFinished());
    QCOMPARE(shell.readAllStandardError(), QByteArray());
    QCOMPARE(shell.exitCode(), 0);
}

QStringList recordTexts(Recordset &records, Field field) {
    QStringList texts;
    for (long position = 1; position <= records.RecordCount(); ++position)
        texts << records.fieldTextAt(position, indexOf(field));
    return texts;
}
} // namespace

class tst_PhoneBookStore : public QObject {
    Q_OBJECT
private slots:
    void connectionStringsAreChecked_data();
    void connectionStringsAreChecked();
    void folderWithASemicolonStillOpens();
    void databasesThatCannotLoad_data();
    void databasesThatCannotLoad();
    void fileFromTheSqliteShellOpensAndChanges();
    void otherTablesChangeOneRow_data();
    void otherTablesChangeOneRow();
    void leadingNumber_data();
    void leadingNumber();
};

void tst_PhoneBookStore::connectionStringsAreChecked_data() {
    QTest::addColumn<QString>("connection");
    QTest::addColumn<QString>("failure");
    QTest::newRow("unknown provider")
        << "PROVIDER=Microsoft.Jet.OLEDB.3.51;Data Source=x.mdb;"
        << "The database provider \"Microsoft.Jet.OLEDB.3.51\" is not known: the phone book "
           "cannot be opened.";
    QTest::newRow("no provider") << "Data Source=x.mdb"
                                 << "The connection string names no PROVIDER: the phone book "
                                    "cannot be opened.";
    QTest::newRow("no data source") << "PROVIDER=SQLite;"
                                    << "The connection string names no Data Source: the phone "
                                       "book cannot be opened.";
    QTest::newRow("empty data source") << "provider = sqlite ; data source = ;"
                                       << "The connection string names no Data Source: the "
                                          "phone book cannot be opened.";
    QTest::newRow("unknown key") << "PROVIDER=SQLite;Data Source=x.mdb;Password=secret"
                                 << "The connection string has a key the phone book does not "
                                    "know: Password.";
    QTest::newRow("no equals sign") << "PROVIDER=SQLite;ORVANEL.MDB;"
                                    << "The connection string is not valid: \"ORVANEL.MDB\" is "
                                       "not a key=value pair.";
    QTest::newRow("a ; in a password not quoted")
        << "PROVIDER=PostgreSQL;Host=db.example;Password=S3cr;et pass;"
        << "The connection string is not valid: what follows the Password is not a list of "
           "key=value pairs. A password that holds a ; must be written in quotes.";
    QTest::newRow("a socket folder every user can write")
        << "PROVIDER=PostgreSQL;Host=/tmp;Database=book;"
        << "The phone book server's socket folder /tmp can be written by every user of this "
           "computer, so a server found there cannot be trusted with the phone book. Name a "
           "folder that only the server's user can write.";
    QTest::newRow("unclosed quote") << "PROVIDER=SQLite;Data Source=\"/tmp/a;b"
                                    << "The connection string is not valid: the quoted value of "
                                       "Data Source is not closed.";
}

void tst_PhoneBookStore::connectionStringsAreChecked() {
    QFETCH(QString, connection);
    QFETCH(QString, failure);
    QCOMPARE(failureOf([&] { openConnection(connection); }), failure);
}

void tst_PhoneBookStore::folderWithASemicolonStillOpens() {
    PhoneBookWorld world;
    const QString folder = world.path("a;b 'c'");
    QVERIFY(QDir().mkpath(folder));
    world.platform.folder = folder;
    QCOMPARE(SqliteFile::create(folder + "/ORVANEL.MDB"), QString());
    const QString connection = phoneBookConnectionString(folder);
    QCOMPARE(ConnectionString::parse(connection).value("data source"), folder + "/ORVANEL.MDB");
    Recordset records;
    QCOMPARE(failureOf([&] { records.Open(openConnection(connection)); }), QString());
    // An ordinary folder is put in as it is.
    QCOMPARE(phoneBookConnectionString("/opt/orvanel"),
             QString("PROVIDER=SQLite;Data Source=/opt/orvanel/ORVANEL.MDB;"));
}

void tst_PhoneBookStore::databasesThatCannotLoad_data() {
    QTest::addColumn<QString>("setUp"); // SQL for the sqlite3 program, or a file's content
    QTest::addColumn<QString>("failure");
    QTest::newRow("missing") << ""
                             << "The phone book database %1 was not found.";
    QTest::newRow("a folder") << "<folder>"
                              << "The phone book database %1 is not a file.";
    QTest::newRow("not a database")
        << "<text>Dear diary"
        << "%1 is not a phone book database: it is not a database file, or it is damaged.";
    QTest::newRow("no table") << "CREATE TABLE CONTACTS (NAME TEXT);"
                              << "The database %1 has no table PHONEBOOK.";
    QTest::newRow("a column missing")
        << "CREATE TABLE PHONEBOOK (ADDRESS, CITY, COUNTRY, DATEOFBIRTH, EMAIL, NAME, "
           "OPTIONALPHONE, PHONE, PINCODE, [SERIAL NUMBER]);"
        << "The table PHONEBOOK in %1 has no column STATE.";
}

void tst_PhoneBookStore::databasesThatCannotLoad() {
    QFETCH(QString, setUp);
    QFETCH(QString, failure);
    PhoneBookWorld world;
    const QString file = world.database();
    if (setUp == "<folder>") {
        QVERIFY(QDir().mkpath(file));
    } else if (setUp.startsWith("<text>")) {
        QFile text(file);
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write(setUp.mid(6).toUtf8().repeated(100));
    } else if (!setUp.isEmpty()) {
        sqliteShell(file, setUp);
    }
    Recordset records;
    QCOMPARE(failureOf([&] {
                 records.Open(openConnection(phoneBookConnectionString(world.programFolder())));
             }),
             failure.arg(file));
    QVERIFY(!records.isOpen());
    // Loading never creates the phone book.
    QCOMPARE(QFile::exists(file), !setUp.isEmpty());
}

void tst_PhoneBookStore::fileFromTheSqliteShellOpensAndChanges() {
    PhoneBookWorld world;
    // Columns without types, in another order, holding whole numbers, fractions and NULL.
    sqliteShell(world.database(),
                "CREATE TABLE PHONEBOOK (NAME, [SERIAL NUMBER], PHONE, PINCODE, ADDRESS, CITY, "
                "COUNTRY, DATEOFBIRTH, EMAIL, OPTIONALPHONE, STATE, NOTES);\n"
                "INSERT INTO PHONEBOOK (NAME, [SERIAL NUMBER], PHONE, PINCODE) "
                "VALUES ('Zeta', 10, 5550100, 7.5);\n"
                "INSERT INTO PHONEBOOK (NAME, [SERIAL NUMBER], PHONE) VALUES ('Alpha', 9, NULL);\n"
                "INSERT INTO PHONEBOOK (NAME, [SERIAL NUMBER]) VALUES ('Empty name', 100);\n");
    Recordset records;
    records.Open(openConnection(phoneBookConnectionString(world.programFolder())));
    // Ordered as the database orders the numbers, not as their text would sort.
    QCOMPARE(recordTexts(records, Field::Name), QStringList({"Alpha", "Zeta", "Empty name"}));
    QCOMPARE(recordTexts(records, Field::Phone), QStringList({"", "5550100", ""}));
    QCOMPARE(recordTexts(records, Field::PinCode), QStringList({"", "7.5", ""}));

    // A value read as text is found again to write the change, whatever its stored kind.
    records.MoveNext();
    records.setFieldText(indexOf(Field::Phone), "555 0199");
    records.UpdateBatch();
    QCOMPARE(world.column("PHONE"), QStringList({"<null>", "555 0199", "<null>"}));
    QCOMPARE(world.column("PINCODE"), QStringList({"<null>", "7.5", "<null>"}));
    QCOMPARE(world.column("NOTES"), QStringList({"<null>", "<null>", "<null>"}));
}

// Tables other programs made, of which the phone book still changes and deletes one
// row at a time: two equal rows, a table without row ids, a name that begins with a
// byte-order mark (U+FEFF pasted in), which is read as it is so that the row is found.
void tst_PhoneBookStore::otherTablesChangeOneRow_data() {
    QTest::addColumn<QString>("key");           // how the table ends: the SERIAL NUMBER's kind
    QTest::addColumn<QString>("rows");          // of NAME and SERIAL NUMBER
    QTest::addColumn<QStringList>("updated");   // the names, sorted, once the last is changed
    QTest::addColumn<QStringList>("remaining"); // once it is deleted
    QTest::newRow("two equal rows")
        << ")"
        << "('Twin', 1), ('Twin', 1)" << QStringList{"Changed", "Twin"} << QStringList{"Twin"};
    QTest::newRow("without row ids")
        << " TEXT PRIMARY KEY) WITHOUT ROWID"
        << "('One', '1'), ('Two', '2')" << QStringList{"Changed", "One"} << QStringList{"One"};
    QTest::newRow("a byte-order mark")
        << ")"
        << "(CAST(X'EFBBBF416E6E61' AS TEXT), 1)" << QStringList{"Changed"} << QStringList{};
}

void tst_PhoneBookStore::otherTablesChangeOneRow() {
    QFETCH(QString, key);
    QFETCH(QString, rows);
    QFETCH(QStringList, updated);
    QFETCH(QStringList, remaining);
    PhoneBookWorld world;
    sqliteShell(world.database(),
                "CREATE TABLE PHONEBOOK (ADDRESS, CITY, COUNTRY, DATEOFBIRTH, "
                "EMAIL, NAME, OPTIONALPHONE, PHONE, PINCODE, STATE, [SERIAL NUMBER]" +
                    key + ";\nINSERT INTO PHONEBOOK (NAME, [SERIAL NUMBER]) VALUES " + rows +
                    ";\n");
    Recordset records;
    records.Open(openConnection(phoneBookConnectionString(world.programFolder())));
    records.MoveLast();
    records.setFieldText(indexOf(Field::Name), "Changed");
    records.UpdateBatch();
    QStringList names = world.column("NAME");
    names.sort();
    QCOMPARE(names, updated);
    records.Delete();
    QCOMPARE(world.column("NAME"), remaining);
}

void tst_PhoneBookStore::leadingNumber_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("number");
    QTest::newRow("leading zeros") << "007" << 7.0;
    QTest::newRow("decimal") << "7.0" << 7.0;
    QTest::newRow("blanks inside") << "555 0100" << 5550100.0;
    QTest::newRow("tabs and line feeds") << "1\t2\n3" << 123.0;
    QTest::newRow("sign apart from digits") << "- 42" << -42.0;
    QTest::newRow("plus sign") << "+5" << 5.0;
    QTest::newRow("stops at a letter") << "12 Main Street" << 12.0;
    QTest::newRow("stops at a dash") << "020-7946" << 20.0;
    QTest::newRow("second point") << "1.2.3" << 1.2;
    QTest::newRow("point first") << ".5" << 0.5;
    QTest::newRow("exponent") << "1.5e2" << 150.0;
    QTest::newRow("exponent D") << "1D2" << 100.0;
    QTest::newRow("exponent without digits") << "3e" << 3.0;
    QTest::newRow("hexadecimal") << "&HFF" << 255.0;
    QTest::newRow("octal") << "&o17" << 15.0;
    QTest::newRow("no number") << "Anna" << 0.0;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("plus sign of a phone") << "+44 113 496 0000" << 441134960000.0;
    QTest::newRow("carriage return ends it") << "1\r2" << 1.0;
    QTest::newRow("too large") << "1e999" << qInf();
}

void tst_PhoneBookStore::leadingNumber() {
    QFETCH(QString, text);
    QFETCH(double, number);
    QCOMPARE(::leadingNumber(text), number);
}

QTEST_MAIN(tst_PhoneBookStore)
#include "tst_phonebookstore.moc"
