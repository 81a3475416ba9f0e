// Contacts in and out of the phone book: `orvanel-phonebook import` and `export` run as
// a user runs them, on files written in the dialects of other address books, on broken
// files, on a phone book file and on one on a PostgreSQL server the test starts; our
// vCards read by a second, independent parser (python3-vobject); and a file dropped on
// a phone book window.
#include "fulldisk.h"
#include "phonebook/frmphonebook.h"
#include "phonebookfile.h"
#include "phonebookuser.h"
#include "phonebookworld.h"
#include "platform/messagebox.h"
#include "postgresserver.h"

#include <QAccessible>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMenu>
#include <QMimeData>
#include <QProcess>
#include <QProgressDialog>
#include <QStringDecoder>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <sys/stat.h>

namespace {

using Row = QMap<QString, QString>; // column to value; a column without a value is left out

const QStringList columnNames = {"ADDRESS", "CITY",          "COUNTRY",       "DATEOFBIRTH",
                                 "EMAIL",   "NAME",          "OPTIONALPHONE", "PHONE",
                                 "PINCODE", "SERIAL NUMBER", "STATE"};

// Every record of the world's phone book, in serial-number order.
QList<Row> records(const PhoneBookWorld &world) {
    QList<Row> rows;
    for (const QString &column : columnNames) {
        const QStringList values = world.column(column);
        rows.resize(values.size());
        for (qsizetype i = 0; i < values.size(); ++i) {
            if (values[i] != QLatin1String("<null>"))
                rows[i].insert(column, values[i]);
        }
    }
    return rows;
}

QString dataFile(const QString &name) {
    return QStringLiteral(CONTACT_DATA_DIR "/") + name;
}

struct ToolRun {
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs orvanel-phonebook as a user does, with the world's folder as the program folder,
// what is given on its standard input and the variables given in its environment.
ToolRun tool(const PhoneBookWorld &world, const QStringList &arguments,
             const QByteArray &input = {}, const QMap<QString, QString> &variables = {}) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("ORVANEL_HOME", world.programFolder());
    for (auto it = variables.cbegin(); it != variables.cend(); ++it)
        environment.insert(it.key(), it.value());
    process.setProcessEnvironment(environment);
    process.start(QCoreApplication::applicationDirPath() + "/orvanel-phonebook", arguments);
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(600000))
        process.kill();
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()).trimmed(),
            QString::fromUtf8(process.readAllStandardError()).trimmed()};
}

ToolRun importInto(const PhoneBookWorld &world, const QString &file) {
    return tool(world, {"import", file, "--into", world.connectionString()});
}

// Cards as python3-vobject reads them; fails the test when it finds one invalid.
QJsonArray vobjectCards(const QString &file) {
    QProcess python;
    python.start("/usr/bin/python3", {QStringLiteral(CONTACT_DATA_DIR "/../vcardcheck.py"), file});
    python.waitForFinished(600000);
    const QByteArray errors = python.readAllStandardError();
    if (python.exitCode() != 0) {
        QTest::qFail(errors.constData(), __FILE__, __LINE__);
        return {};
    }
    return QJsonDocument::fromJson(python.readAllStandardOutput()).array();
}

// Writes a file of the test's own in the world's folder and gives its path.
QString writeFile(const TestWorld &world, const QString &name, const QByteArray &bytes) {
    ::writeFile(world.path(name), bytes);
    return world.path(name);
}

// Records the export must carry through unchanged: the fields of vCard and CSV that
// need escaping or quoting, a date that is not one, a day without a year, a number
// only in the second phone, a record without a name, a name long enough to fold.
QList<PhoneBookWorld::Row> awkwardRecords() {
    return {
        {{"SERIAL NUMBER", "900001"},
         {"NAME", "Menon, Anil; \"Sonny\" \\ Jr."},
         {"ADDRESS", "221 MG Road\nSecond Floor, Block C;\nBengaluru"},
         {"PHONE", "+91 80 4444 0000"},
         {"DATEOFBIRTH", "15/08/1990"},
         {"EMAIL", "anil,menon@example.in"}},
        {{"SERIAL NUMBER", "900002"},
         {"NAME", "Ye-jin Park"},
         {"OPTIONALPHONE", "+82 2 555 0100"},
         {"DATEOFBIRTH", "--02-29"}},
        {{"SERIAL NUMBER", "900003"}, {"EMAIL", "no.name@example.org"}, {"CITY", "Pune"}},
        {{"SERIAL NUMBER", "900004"},
         {"NAME",
          QString("Ωmega Ünïcødé ").repeated(8) + "佐藤 花子 😀 " + QString("x").repeated(40)},
         {"PHONE", "1"}},
        // What a spreadsheet would run as a formula, and a value already guarded.
        {{"SERIAL NUMBER", "900005"},
         {"NAME", "=HYPERLINK(\"http://x.example/\",\"click\")"},
         {"EMAIL", "=cmd|' /C calc'!A0"},
         {"ADDRESS", "'=already guarded"},
         {"CITY", "@SUM(A1)"},
         {"PHONE", "-1"},
         {"STATE", "+A1"}},
    };
}

// Sends a drag of these files over `target` and drops them there; returns whether the
// target took the drag.
bool dropFiles(QWidget *target, const QStringList &files) {
    QMimeData data;
    QList<QUrl> urls;
    for (const QString &file : files)
        urls << QUrl::fromLocalFile(file);
    data.setUrls(urls);
    const QPoint at = target->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    return drop.isAccepted();
}

} // namespace

class tst_ContactFiles : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();

    void importsEveryDialect_data();
    void importsEveryDialect();
    void refusalsAreCountedAndTheFirstKept();
    void controlCharactersAreDropped();
    void brokenFilesAddNothing_data();
    void brokenFilesAddNothing();
    void aFailedWriteAddsNothing_data();
    void aFailedWriteAddsNothing();
    void exportThenImportGivesBackTheRecords_data();
    void exportThenImportGivesBackTheRecords();
    void exportedCardsAreFoldedAndOrdered();
    void exportOntoAFullDiskKeepsTheOldFile_data();
    void exportOntoAFullDiskKeepsTheOldFile();
    void connectionKeptOffTheCommandLine_data();
    void connectionKeptOffTheCommandLine();
    void exportRefusals_data();
    void exportRefusals();

    void droppingAFileOnTheWindowImportsIt_data();
    void droppingAFileOnTheWindowImportsIt();
    void dropWhileEditingAsksAboutTheRecordFirst();
    void otherFilesAreNotTaken();
    void toolsMenuImportsAndExports_data();
    void toolsMenuImportsAndExports();
    void longTransfersShowProgressAndCancel_data();
    void longTransfersShowProgressAndCancel();
    void theToolShowsProgressOnATerminalOnly();
};

void tst_ContactFiles::initTestCase() {
    QVERIFY2(sharedPostgresServer().start(), qPrintable(sharedPostgresServer().error()));
}

void tst_ContactFiles::cleanupTestCase() {
    QVERIFY(sharedPostgresServer().stop());
}

// Each contact file of the data folder beside what importing it must give:
// NAME.expected.json holds the contacts the phone book has before ("book", when there
// are any), the summary the tool prints and the records after, in order.
void tst_ContactFiles::importsEveryDialect_data() {
    QTest::addColumn<QString>("file");
    const QDir data(QStringLiteral(CONTACT_DATA_DIR));
    for (const QString &expected : data.entryList({"*.expected.json"}, QDir::Files, QDir::Name)) {
        const QString file = expected.chopped(int(qstrlen(".expected.json")));
        QTest::newRow(qPrintable(file)) << file;
    }
}

void tst_ContactFiles::importsEveryDialect() {
    QFETCH(QString, file);
    QFile reference(dataFile(file + ".expected.json"));
    QVERIFY(reference.open(QIODevice::ReadOnly));
    const QJsonObject expected = QJsonDocument::fromJson(reference.readAll()).object();
    const auto rowsOf = [](const QJsonValue &array) {
        QList<Row> rows;
        for (const QJsonValue &record : array.toArray()) {
            const QVariantMap values = record.toObject().toVariantMap();
            Row &row = rows.emplace_back();
            for (auto value = values.begin(); value != values.end(); ++value)
                row.insert(value.key(), value->toString());
        }
        return rows;
    };
    PhoneBookWorld world;
    world.makeBook(rowsOf(expected["book"]));
    const ToolRun run = importInto(world, dataFile(file));
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out, expected["summary"].toString());
    QCOMPARE(records(world), rowsOf(expected["records"]));
}

// A file whose every line is refused is told in a few lines, whatever its size.
void tst_ContactFiles::refusalsAreCountedAndTheFirstKept() {
    PhoneBookWorld world;
    world.makeBook();
    const QString file = writeFile(
        world, "many.csv", "NAME,PHONE\r\n" + QByteArray("x,1,extra,fields\r\n").repeated(5000));
    const ToolRun run = importInto(world, file);
    QCOMPARE(run.exitCode, 0);
    const QString why = "it has 4 fields where the header has 2";
    QCOMPARE(run.out, QString("many.csv: 0 contacts added, 0 skipped as duplicates, 5000 refused "
                              "(line 2: %1; line 3: %1; line 4: %1; and 4997 more).")
                          .arg(why));
    const QStringList told = run.err.split('\n');
    QCOMPARE(told.size(), 101);
    QCOMPARE(told[0], file + ": line 2: " + why);
    QCOMPARE(told[100], file + ": and 4900 more refused");
    QCOMPARE(world.rowCount(), 0);
}

// A phone book another program filled may hold characters no field takes and vCard
// cannot carry: they are left out of the cards.
void tst_ContactFiles::controlCharactersAreDropped() {
    PhoneBookWorld world;
    world.makeBook({{{"SERIAL NUMBER", "1"}, {"NAME", "Bea\x07 Ode"}, {"CITY", "York\x1B[0m"}}});
    const QString exported = world.path("out.vcf");
    QCOMPARE(tool(world, {"export", exported}).exitCode, 0);
    QFile vcf(exported);
    QVERIFY(vcf.open(QIODevice::ReadOnly));
    const QByteArray bytes = vcf.readAll();
    QVERIFY(bytes.contains("FN:Bea Ode\r\n") && bytes.contains(";York[0m;"));
    QCOMPARE(vobjectCards(exported).size(), 1);
}

void tst_ContactFiles::brokenFilesAddNothing_data() {
    // "@1GB" stands for a line of a gigabyte, "@17MB" for a quoted field of 17 MiB in lines
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("message");

    const QByteArray goodCard =
        "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Kept Back\r\nTEL:1\r\nEND:VCARD\r\n";
    QTest::newRow("a card without END")
        << goodCard + "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Cut Short\r\nTEL:2\r\n"
        << "was not imported: card 2, which begins on line 6, has no END:VCARD. Nothing was added.";
    QTest::newRow("a line outside any card") << goodCard + "FN:Stray\r\n"
                                             << "was not imported: line 6 is not part of a card";
    QByteArray binary;
    for (int i = 0; i < 4096; ++i)
        binary += char((i * 37 + 11) % 256);
    QTest::newRow("a binary file") << binary << "is not a vCard or CSV file: it holds binary data.";
    QTest::newRow("binary after good cards") << goodCard + QByteArray(70000, 'x') + '\0' + "\r\n"
                                             << "is not a vCard or CSV file: it holds binary data.";
    QTest::newRow("a line of a gigabyte")
        << QByteArray("@1GB") << "was not imported: line 2 is longer than 16 MiB";
    QTest::newRow("a header of no known set")
        << QByteArray("Förnamn,Efternamn,Telefon\r\nAnna,Berg,1\r\n")
        << "was not imported: its first line is not a header this program knows. It looks for "
           "the headers of an ORVANEL export";
    QTest::newRow("a quote that never closes")
        << QByteArray("NAME,PHONE\r\nAnna,1\r\n\"Open,2\r\nBea,3\r\n")
        << "was not imported: the quoted field that begins on line 3 is not closed. Nothing was "
           "added.";
    QTest::newRow("an empty file") << QByteArray() << "is empty: it holds no contacts.";
    QTest::newRow("a closed quoted field of 17 MiB")
        << QByteArray("@17MB")
        << "was not imported: the quoted field that begins on line 2 is longer than 16 MiB. "
           "Nothing was added.";
    // A 2.1 AGENT's card begun on the AGENT line is passed over as a card within the card.
    QTest::newRow("an agent's card begun on its line, then a broken card")
        << QByteArray("BEGIN:VCARD\r\nVERSION:2.1\r\nN:Doe;John\r\nAGENT:BEGIN:VCARD\r\n"
                      "N:Assistant\r\nEND:VCARD\r\nEND:VCARD\r\nFN:Stray\r\n")
        << "was not imported: line 8 is not part of a card";
}

void tst_ContactFiles::brokenFilesAddNothing() {
    QFETCH(QByteArray, content);
    QFETCH(QString, message);
    PhoneBookWorld world;
    world.makeBook({contactRow("1", "Already Here")});
    QString path = world.path("broken.vcf");
    if (content == "@17MB") {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("NAME,PHONE\r\n\"");
        const QByteArray line = QByteArray(1 << 20, 'A') + "\r\n";
        for (int i = 0; i < 17; ++i)
            QCOMPARE(file.write(line), line.size());
        file.write("\",1\r\n");
    } else if (content == "@1GB") {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("BEGIN:VCARD\r\n");
        const QByteArray block(1 << 20, 'A');
        for (int i = 0; i < 1024; ++i)
            QCOMPARE(file.write(block), block.size());
    } else {
        path = writeFile(world, "broken.vcf", content);
    }
    const ToolRun run = importInto(world, path);
    QFile::remove(path);
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.contains(message), qPrintable(run.err));
    QVERIFY2(run.err.startsWith("orvanel-phonebook: " + path), qPrintable(run.err));
    QCOMPARE(run.out, QString());
    QCOMPARE(records(world), QList<Row>({{{"SERIAL NUMBER", "1"}, {"NAME", "Already Here"}}}));
}

void tst_ContactFiles::aFailedWriteAddsNothing_data() {
    QTest::addColumn<PhoneBookProvider>("provider");
    QTest::addColumn<int>("cards");
    QTest::addColumn<QString>("refusal");
    const QString sqlite = "CREATE TRIGGER refuse BEFORE INSERT ON PHONEBOOK WHEN NEW.NAME = "
                           "'Card %1' BEGIN SELECT RAISE(ABORT, 'no %1'); END";
    const QString server = "CREATE FUNCTION refuse() RETURNS trigger AS $$ BEGIN IF NEW.name = "
                           "'Card %1' THEN RAISE EXCEPTION 'no %1'; END IF; RETURN NEW; END "
                           "$$ LANGUAGE plpgsql; CREATE TRIGGER refuse BEFORE INSERT ON "
                           "PHONEBOOK FOR EACH ROW EXECUTE FUNCTION refuse()";
    QTest::newRow("file") << PhoneBookProvider::SQLite << 4 << sqlite.arg(3);
    QTest::newRow("server") << PhoneBookProvider::PostgreSQL << 4 << server.arg(3);
    // The server takes contacts some thousands at a time: one refused in the middle of a
    // batch is still named by its card.
    QTest::newRow("server, in the middle of a batch")
        << PhoneBookProvider::PostgreSQL << 1200 << server.arg(777);
}

void tst_ContactFiles::aFailedWriteAddsNothing() {
    QFETCH(PhoneBookProvider, provider);
    QFETCH(int, cards);
    QFETCH(QString, refusal);
    PhoneBookWorld world(provider);
    world.makeBook({contactRow("1", "Already Here")});
    QCOMPARE(world.execute(refusal), QString());
    QByteArray file;
    for (int card = 1; card <= cards; ++card)
        file += "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Card " + QByteArray::number(card) +
                "\r\nEND:VCARD\r\n";
    const ToolRun run = importInto(world, writeFile(world, "cards.vcf", file));
    QCOMPARE(run.exitCode, 1);
    const QString refused = cards == 4 ? "3" : "777";
    QVERIFY2(run.err.contains("card " + refused + ": ") && run.err.contains("no " + refused) &&
                 run.err.endsWith("Nothing was added: the phone book is as it was."),
             qPrintable(run.err));
    QCOMPARE(records(world), QList<Row>({{{"SERIAL NUMBER", "1"}, {"NAME", "Already Here"}}}));
}

void tst_ContactFiles::exportThenImportGivesBackTheRecords_data() {
    QTest::addColumn<QString>("format");
    QTest::addColumn<PhoneBookProvider>("provider");
    QTest::newRow("vCard 3.0, file") << "vcard3" << PhoneBookProvider::SQLite;
    QTest::newRow("vCard 4.0, file") << "vcard4" << PhoneBookProvider::SQLite;
    QTest::newRow("CSV, file") << "csv" << PhoneBookProvider::SQLite;
    QTest::newRow("vCard 3.0, server") << "vcard3" << PhoneBookProvider::PostgreSQL;
}

void tst_ContactFiles::exportThenImportGivesBackTheRecords() {
    QFETCH(QString, format);
    QFETCH(PhoneBookProvider, provider);
    // Ten thousand sample contacts, each name and number once, and the awkward ones.
    PhoneBookWorld source;
    source.makeBook();
    QCOMPARE(appendSampleContacts(source.database(), 10000), QString());
    QCOMPARE(source.execute("DELETE FROM PHONEBOOK WHERE rowid NOT IN (SELECT min(rowid) FROM "
                            "PHONEBOOK GROUP BY NAME, PHONE)"),
             QString());
    for (const PhoneBookWorld::Row &row : awkwardRecords())
        source.addRow(row);
    const QList<Row> original = records(source);
    QVERIFY(original.size() > 9990);

    const QString file = source.path("contacts." + format);
    const ToolRun exported =
        tool(source, {"export", file, "--format", format, "--from", source.connectionString()});
    QCOMPARE(exported.exitCode, 0);
    QCOMPARE(exported.out, QString("%1 contacts written to %2").arg(original.size()).arg(file));

    PhoneBookWorld target(provider);
    target.makeBook();
    const ToolRun imported = importInto(target, file);
    QCOMPARE(imported.exitCode, 0);
    QCOMPARE(imported.out,
             QString("contacts.%1: %2 contacts added, 0 skipped as duplicates, 0 refused.")
                 .arg(format)
                 .arg(original.size()));
    const QList<Row> back = records(target);
    QCOMPARE(back.size(), original.size());
    for (qsizetype i = 0; i < back.size(); ++i)
        QCOMPARE(back[i], original[i]);

    if (format == "csv") {
        // A spreadsheet shows these cells as text instead of running them.
        QFile csv(file);
        QVERIFY(csv.open(QIODevice::ReadOnly));
        const QByteArray bytes = csv.readAll();
        for (const QByteArray cell : {"\"'=HYPERLINK(\"\"http", ",'=cmd|' /C calc'!A0,",
                                      "\n''=already guarded,", ",'@SUM(A1),", ",'-1,", ",'+A1\r\n"})
            QVERIFY2(bytes.contains(cell), cell.constData());
        QVERIFY(!bytes.contains(",=") && !bytes.contains(",@") && !bytes.contains(",+A"));
        return;
    }
    // A second parser reads every card as valid, with the same fields.
    const QJsonArray cards = vobjectCards(file);
    QCOMPARE(cards.size(), original.size());
    for (qsizetype i = 0; i < cards.size(); ++i) {
        const QJsonObject card = cards[i].toObject();
        const Row &row = original[i];
        QCOMPARE(card["version"].toString(), format == "vcard3" ? "3.0" : "4.0");
        QCOMPARE(card["fn"].toString(), row.value("NAME"));
        QCOMPARE(card["email"].toString(), row.value("EMAIL"));
        QCOMPARE(card["serial"].toString(), row.value("SERIAL NUMBER"));
        QStringList phones;
        for (const QJsonValue &tel : card["tel"].toArray())
            phones << tel.toString();
        QStringList expectedPhones;
        if (row.contains("PHONE") || row.contains("OPTIONALPHONE"))
            expectedPhones << row.value("PHONE");
        if (row.contains("OPTIONALPHONE"))
            expectedPhones << row.value("OPTIONALPHONE");
        QCOMPARE(phones, expectedPhones);
        if (row.contains("CITY")) {
            const QJsonArray adr = card["adr"].toArray();
            QCOMPARE(adr[0].toString(), row.value("ADDRESS"));
            QCOMPARE(adr[1].toString(), row.value("CITY"));
            QCOMPARE(adr[2].toString(), row.value("STATE"));
            QCOMPARE(adr[3].toString(), row.value("PINCODE"));
            QCOMPARE(adr[4].toString(), row.value("COUNTRY"));
        }
        QString birthday = row.value("DATEOFBIRTH");
        if (format == "vcard4" && birthday.size() == 10)
            birthday.remove('-');
        else if (format == "vcard4" && birthday.startsWith("--"))
            birthday = "--" + birthday.mid(2).remove('-');
        QCOMPARE(card["bday"].toString(), birthday);
    }
}

void tst_ContactFiles::exportedCardsAreFoldedAndOrdered() {
    PhoneBookWorld world;
    world.makeBook(awkwardRecords());
    const QString file = world.path("out.vcf");
    QCOMPARE(tool(world, {"export", file}).exitCode, 0);
    QFile exported(file);
    QVERIFY(exported.open(QIODevice::ReadOnly));
    const QByteArray bytes = exported.readAll();
    QVERIFY(!bytes.startsWith("\xEF\xBB\xBF"));
    QVERIFY(bytes.endsWith("\r\n"));
    QList<QByteArray> lines = bytes.split('\n');
    lines.removeLast(); // after the last line end
    int cards = 0;
    int folded = 0;
    bool fn = false;
    bool n = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QByteArray line = lines[i];
        QVERIFY2(line.endsWith('\r'), line.constData());
        line.chop(1);
        QVERIFY2(line.size() <= 75, line.constData());
        // No fold splits a character: every line is UTF-8 on its own.
        QStringDecoder utf8(QStringConverter::Utf8);
        utf8(line);
        QVERIFY2(!utf8.hasError(), line.constData());
        folded += line.startsWith(' ');
        if (line == "BEGIN:VCARD") {
            ++cards;
            QCOMPARE(lines.value(i + 1), QByteArray("VERSION:3.0\r"));
            fn = n = false;
        }
        fn = fn || line.startsWith("FN:");
        n = n || line.startsWith("N:");
        if (line == "END:VCARD")
            QVERIFY(fn && n);
    }
    QCOMPARE(cards, awkwardRecords().size());
    QVERIFY(folded >= 3);
    QCOMPARE(vobjectCards(file).size(), awkwardRecords().size());
}

void tst_ContactFiles::exportOntoAFullDiskKeepsTheOldFile_data() {
    QTest::addColumn<int>("contacts");
    // Below and above what the file's own buffer holds back until the end.
    QTest::newRow("one contact") << 1;
    QTest::newRow("a thousand") << 1000;
}

void tst_ContactFiles::exportOntoAFullDiskKeepsTheOldFile() {
    QFETCH(int, contacts);
    PhoneBookWorld world;
    QList<PhoneBookWorld::Row> rows;
    for (int i = 1; i <= contacts; ++i)
        rows << contactRow(QString::number(i), QString("Contact %1").arg(i));
    world.makeBook(rows);
    FullDisk disk(world.path("disk"));
    const QString file = world.path("disk/out.vcf");
    QCOMPARE(tool(world, {"export", file}).exitCode, 0);
    QFile before(file);
    QVERIFY(before.open(QIODevice::ReadOnly));
    const QByteArray old = before.readAll();
    disk.fill();
    const ToolRun run = tool(world, {"export", file});
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.contains("cannot be written") && run.err.contains(disk.reason()),
             qPrintable(run.err));
    QVERIFY(run.out.isEmpty());
    QFile after(file);
    QVERIFY(after.open(QIODevice::ReadOnly));
    QCOMPARE(after.readAll(), old);
}

void tst_ContactFiles::connectionKeptOffTheCommandLine_data() {
    QTest::addColumn<QString>("given");
    QTest::addColumn<bool>("onStandardInput");
    QTest::addColumn<QString>("failure"); // empty: it works
    QTest::newRow("on standard input") << "-" << true << "";
    QTest::newRow("in the environment") << "env:ORVANEL_BOOK" << false << "";
    QTest::newRow("nothing on standard input")
        << "-" << false << "no connection string came on standard input";
    QTest::newRow("a variable not set")
        << "env:NOT_SET_HERE" << false
        << "the environment variable NOT_SET_HERE holds no connection string";
}

// A server's password need not stand in the command line, which every user sees.
void tst_ContactFiles::connectionKeptOffTheCommandLine() {
    QFETCH(QString, given);
    QFETCH(bool, onStandardInput);
    QFETCH(QString, failure);
    PhoneBookWorld world(PhoneBookProvider::PostgreSQL);
    world.makeBook({contactRow("1", "Anna")});
    const QString connection = sharedPostgresServer().tcpConnectionString(world.serverDatabase(),
                                                                          PostgresServer::password);
    const QString file = world.path("out.vcf");
    const ToolRun run = tool(world, {"export", file, "--from", given},
                             onStandardInput ? connection.toUtf8() + "\n" : QByteArray(),
                             {{"ORVANEL_BOOK", connection}});
    if (failure.isEmpty()) {
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, "1 contact written to " + file);
    } else {
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.err, "orvanel-phonebook: " + failure);
    }
}

void tst_ContactFiles::exportRefusals_data() {
    QTest::addColumn<QStringList>("arguments"); // FILE stands for a file in the world
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");
    QTest::newRow("an unknown format") << QStringList{"export", "FILE", "--format", "ldif"} << 1
                                       << "the format must be vcard3, vcard4 or csv, not ldif";
    QTest::newRow("a folder that is not there")
        << QStringList{"export", "FILE/../missing/out.vcf"} << 1 << "cannot be written";
    QTest::newRow("an option twice")
        << QStringList{"export", "FILE", "--format", "csv", "--format", "csv"} << 2 << "usage:";
    QTest::newRow("an option without a value")
        << QStringList{"import", "FILE", "--into"} << 2 << "usage:";
}

void tst_ContactFiles::exportRefusals() {
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    PhoneBookWorld world;
    world.makeBook({contactRow("1", "Anna")});
    arguments.replaceInStrings("FILE", world.path("out.vcf"));
    const ToolRun run = tool(world, arguments);
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2(run.err.contains(message), qPrintable(run.err));
    QVERIFY(!QFile::exists(world.path("out.vcf")));
}

void tst_ContactFiles::droppingAFileOnTheWindowImportsIt_data() {
    QTest::addColumn<PhoneBookProvider>("provider");
    QTest::addColumn<int>("answer");
    QTest::newRow("file, Yes") << PhoneBookProvider::SQLite << int(MsgBoxResult::Yes);
    QTest::newRow("file, No") << PhoneBookProvider::SQLite << int(MsgBoxResult::No);
    QTest::newRow("server, Yes") << PhoneBookProvider::PostgreSQL << int(MsgBoxResult::Yes);
}

void tst_ContactFiles::droppingAFileOnTheWindowImportsIt() {
    QFETCH(PhoneBookProvider, provider);
    QFETCH(int, answer);
    PhoneBookWorld world(provider);
    Session session(world, {contactRow("1", "Already Here")});
    frmPhoneBook &book = *session.book;
    press(book.cmdLast);
    world.platform.answerMessage(answer);
    if (answer == MsgBoxResult::Yes)
        world.platform.answerMessage(MsgBoxResult::Ok);
    // Dropped on a locked field box, the file is the window's.
    QVERIFY(dropFiles(box(book, nameBox), {dataFile("vcard40.vcf")}));
    QTRY_COMPARE(world.platform.unansweredDialogs(), 0);
    const auto &question = world.platform.messages.at(0);
    QCOMPARE(question.text,
             "Add the contacts of " + dataFile("vcard40.vcf") + " to the phone book?");
    QCOMPARE(question.buttons(), MsgBoxStyle::YesNo);
    QCOMPARE(question.icon(), MsgBoxStyle::Question);
    if (answer == MsgBoxResult::No) {
        QCOMPARE(world.platform.messages.size(), 1);
        QCOMPARE(world.rowCount(), 1);
        return;
    }
    QCOMPARE(world.platform.messages.size(), 2);
    QCOMPARE(world.platform.messages[1].text,
             QString("vcard40.vcf: 3 contacts added, 0 skipped as duplicates, 0 refused."));
    QCOMPARE(world.platform.messages[1].buttons(), MsgBoxStyle::OkOnly);
    QCOMPARE(world.rowCount(), 4);
    // Refresh ran: the window shows the first record and has the new ones.
    QCOMPARE(status(book), QString("Record: 1"));
    press(book.cmdLast);
    QCOMPARE(status(book), QString("Record: 4"));
    QCOMPARE(text(book, nameBox), QString("Herr Daniel Johann Weber"));
}

void tst_ContactFiles::dropWhileEditingAsksAboutTheRecordFirst() {
    PhoneBookWorld world;
    Session session(world, {contactRow("1", "Already Here")});
    frmPhoneBook &book = *session.book;
    press(book.cmdEdit);
    typeInto(book, nameBox, "Changed Here");
    world.platform.answerMessage(MsgBoxResult::Yes); // add the contacts?
    world.platform.answerMessage(MsgBoxResult::Yes); // save the record?
    world.platform.answerMessage(MsgBoxResult::Ok);  // what the import did
    // The unlocked box would take the file's name as text; the window takes the file.
    QVERIFY(dropFiles(box(book, nameBox), {dataFile("thunderbird.csv")}));
    QTRY_COMPARE(world.platform.unansweredDialogs(), 0);
    QCOMPARE(
        lastMessages(world, 2),
        QStringList({"This record has changes that are not saved. Save them now?",
                     "thunderbird.csv: 2 contacts added, 0 skipped as duplicates, 0 refused."}));
    QCOMPARE(world.column("NAME"), QStringList({"Changed Here", "Fatima Hassan", "Lucas Brown"}));
    QVERIFY(locked(book));
    QVERIFY(book.cmdAdd->isVisible());
    QCOMPARE(status(book), QString("Record: 1"));
}

void tst_ContactFiles::otherFilesAreNotTaken() {
    PhoneBookWorld world;
    Session session(world, {contactRow("1", "Already Here")});
    const QString notes = writeFile(world, "notes.txt", "NAME,PHONE\r\nAnna,1\r\n");
    QVERIFY(!dropFiles(session.book, {notes}));
    QCoreApplication::processEvents();
    QCOMPARE(world.platform.messages.size(), 0);
    QCOMPARE(world.rowCount(), 1);
}

namespace {
// Chooses a Tools menu item by keys only, as a user does: Alt+T, then the item's letter.
void chooseToolsItemByKeys(frmMain &main, Qt::Key letter) {
    QTest::keyClick(main.windowHandle(), Qt::Key_T, Qt::AltModifier);
    QTRY_VERIFY(QApplication::activePopupWidget());
    QTest::keyClick(QApplication::activePopupWidget()->windowHandle(), letter);
}

// Runs a Tools menu item as a screen reader does: its accessible Press action.
void pressToolsItem(frmMain &main, const QString &caption) {
    auto *menu = main.findChild<QMenu *>("mnuTools");
    QAccessibleInterface *items = QAccessible::queryAccessibleInterface(menu);
    for (int i = 0; i < items->childCount(); ++i) {
        QAccessibleInterface *item = items->child(i);
        if (item->text(QAccessible::Name) == caption) {
            item->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
            return;
        }
    }
    QFAIL(qPrintable("no item " + caption));
}

// A file of contacts large enough that adding them takes a while.
QString manyContacts(PhoneBookWorld &world, int count) {
    QByteArray csv = "NAME,PHONE\r\n";
    for (int i = 0; i < count; ++i)
        csv +=
            "Contact " + QByteArray::number(i) + ",555-" + QByteArray::number(100000 + i) + "\r\n";
    return writeFile(world, "many.csv", csv);
}

// Once the progress dialog shows, does `step` with it.
void whenProgressShows(const std::function<void(QProgressDialog &)> &step) {
    auto *poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [poll, step] {
        for (QWidget *window : QApplication::topLevelWidgets()) {
            auto *dialog = qobject_cast<QProgressDialog *>(window);
            if (dialog && dialog->isVisible() && dialog->value() > 0) {
                poll->deleteLater();
                poll->stop();
                step(*dialog);
                return;
            }
        }
    });
    poll->start(20);
}
} // namespace

void tst_ContactFiles::toolsMenuImportsAndExports_data() {
    QTest::addColumn<bool>("bookOpen");
    QTest::addColumn<int>("format"); // the save dialog's filter chosen
    QTest::addColumn<QString>("exported");
    QTest::newRow("no phone book window, vCard 3.0") << false << 1 << "out.vcf";
    QTest::newRow("the phone book window active, CSV, no ending typed") << true << 3 << "out";
}

void tst_ContactFiles::toolsMenuImportsAndExports() {
    QFETCH(bool, bookOpen);
    QFETCH(int, format);
    QFETCH(QString, exported);
    PhoneBookWorld world;
    world.makeBook({contactRow("1", "Already Here")});
    std::unique_ptr<frmMain> main = startProgram();
    frmPhoneBook *book = bookOpen ? openPhoneBook(*main) : nullptr;
    world.platform.answerFileDialog(dataFile("thunderbird.csv"));
    world.platform.answerMessage(MsgBoxResult::Yes);
    world.platform.answerMessage(MsgBoxResult::Ok);
    chooseToolsItemByKeys(*main, Qt::Key_I);
    QCOMPARE(world.platform.unansweredDialogs(), 0);
    QCOMPARE(world.platform.fileDialogs.size(), 1);
    const auto &open = world.platform.fileDialogs.at(0);
    QCOMPARE(open.kind, FileDialogKind::Open);
    QCOMPARE(open.filter,
             QString("Contacts (*.vcf *.vcard *.csv)|*.vcf;*.vcard;*.csv|All Files (*.*)|*"));
    QCOMPARE(open.folder, QDir::homePath());
    QCOMPARE(lastMessages(world, 1),
             QStringList{"thunderbird.csv: 2 contacts added, 0 skipped as duplicates, 0 refused."});
    QCOMPARE(world.rowCount(), 3);
    if (book) { // refreshed: the new records are there to browse
        press(book->cmdLast);
        QCOMPARE(status(*book), QString("Record: 3"));
    }

    world.platform.answerFileDialog(world.path(exported), format);
    world.platform.answerMessage(MsgBoxResult::Ok);
    chooseToolsItemByKeys(*main, Qt::Key_E);
    QCOMPARE(world.platform.unansweredDialogs(), 0);
    QCOMPARE(world.platform.fileDialogs.at(1).filter,
             QString("vCard 3.0 (*.vcf)|*.vcf|vCard 4.0 (*.vcf)|*.vcf|CSV (*.csv)|*.csv"));
    const QString file = world.path(format == 3 ? "out.csv" : "out.vcf");
    QCOMPARE(lastMessages(world, 1), QStringList{"3 contacts written to " + file + "."});
    QFile written(file);
    QVERIFY(written.open(QIODevice::ReadOnly));
    const QByteArray start = written.read(64);
    QVERIFY(format == 3 ? start.startsWith("\xEF\xBB\xBF"
                                           "ADDRESS,")
                        : start.startsWith("BEGIN:VCARD\r\nVERSION:3.0"));
}

void tst_ContactFiles::longTransfersShowProgressAndCancel_data() {
    QTest::addColumn<QString>("what");
    QTest::newRow("import cancelled") << "import";
    QTest::newRow("export cancelled") << "export";
    QTest::newRow("main window closed during an import") << "close";
}

void tst_ContactFiles::longTransfersShowProgressAndCancel() {
    QFETCH(QString, what);
    PhoneBookWorld world;
    world.makeBook({contactRow("1", "Already Here")});
    const QString many = manyContacts(world, 300000);
    std::unique_ptr<frmMain> main = startProgram();
    if (what == "export") {
        QCOMPARE(importInto(world, many).exitCode, 0);
        writeFile(world, "old.vcf", "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Old\r\nEND:VCARD\r\n");
        world.platform.answerFileDialog(world.path("old.vcf"));
    } else {
        world.platform.answerFileDialog(many);
        world.platform.answerMessage(MsgBoxResult::Yes);
    }
    const int before = world.rowCount();
    bool shown = false;
    whenProgressShows([&](QProgressDialog &dialog) {
        shown = true;
        // Every window answers meanwhile.
        QVERIFY(dialog.value() < dialog.maximum());
        if (what == "close") {
            world.platform.answerMessage(MsgBoxResult::Yes);
            main->close();
        } else {
            world.platform.answerMessage(MsgBoxResult::Ok);
            QTest::mouseClick(dialog.findChild<QPushButton *>(), Qt::LeftButton);
        }
    });
    pressToolsItem(*main, what == "export" ? "Export Contacts..." : "Import Contacts...");
    QVERIFY(shown);
    QCOMPARE(world.platform.unansweredDialogs(), 0);
    const QString told = world.platform.messages.last().text;
    if (what == "import")
        QCOMPARE(
            told,
            QString("The import was cancelled. Nothing was added: the phone book is as it was."));
    else if (what == "export")
        QCOMPARE(told, "The export was cancelled. Nothing was written: " + world.path("old.vcf") +
                           " is as it was.");
    else
        QCOMPARE(told, QString("Contacts are being imported. Cancel the import and close "
                               "ORVANEL?\n\nNothing of it will have been added."));
    // Read back with the test's own connection: the book, and the old file, as they were.
    QCOMPARE(world.rowCount(), before);
    if (what == "export") {
        QFile old(world.path("old.vcf"));
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(),
                 QByteArray("BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Old\r\nEND:VCARD\r\n"));
        QCOMPARE(QDir(world.path("")).entryList({"*.vcf*"}), QStringList{"old.vcf"});
    }
    if (what == "close")
        QTRY_VERIFY(!main->isVisible());
}

void tst_ContactFiles::theToolShowsProgressOnATerminalOnly() {
    PhoneBookWorld world;
    world.makeBook();
    const QString many = manyContacts(world, 2000);
    const ToolRun piped = importInto(world, many);
    QCOMPARE(piped.exitCode, 0);
    QVERIFY2(!piped.err.contains("Importing"), qPrintable(piped.err));
    // The same on a terminal (a pseudo-terminal the test makes).
    QProcess terminal;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("ORVANEL_HOME", world.programFolder());
    terminal.setProcessEnvironment(environment);
    terminal.start("/usr/bin/python3",
                   {"-c", "import pty, sys; pty.spawn(sys.argv[1:])",
                    QCoreApplication::applicationDirPath() + "/orvanel-phonebook", "export",
                    world.path("all.csv"), "--format", "csv"});
    QVERIFY(terminal.waitForFinished(60000));
    const QString seen = QString::fromUtf8(terminal.readAllStandardOutput());
    QVERIFY2(seen.contains("Exporting: 100%"), qPrintable(seen));
    QVERIFY2(seen.contains("2000 contacts written to"), qPrintable(seen));
}

QTEST_MAIN(tst_ContactFiles)
#include "tst_contactfiles.moc"
