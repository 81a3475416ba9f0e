// The tools for the whole diary, used as a user does. Find in Diary: words typed, read
// back from the list and the count line, the entry found opened with the words selected.
// The Diary Calendar: its marks, what a screen reader hears of each day, its keys, and
// the days opened.
#include "diary/frmcalendar.h"
#include "diary/frmdocument.h"
#include "diary/frmfind.h"
#include "diary/rtftextbox.h"
#include "phonebook/frmphonebook.h"
#include "phonebook/store/sqlitefile.h"
#include "shell/frmmain.h"
#include "startprogram.h"
#include "testworld.h"

#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTest>

namespace {

// The entries every case starts with: formatted, accented, a word split by formatting
// inside the file, Japanese, a picture, and one file that is not rich text.
const QList<std::pair<QString, QByteArray>> entries = {
    {"Diary 11-02-2026", R"({\rtf1\ansi We walked in Bar{\b cel}ona past the lighthouses.\par )"
                         R"(The {\i caf\'e9} was closed.})"},
    {"Diary 11-20-2026",
     R"({\rtf1\ansi A cafe near the harbour. Lighthouse keepers talk.\par )"
     R"({\pict\pngblip\picw1\pich1 89504e470d0a1a0a0000000d49484452000000010000000108000000003a7e9b55"
                         "0000000a49444154789c636000000002000148afa4710000000049454e44ae426082} Another lighthouse.})"},
    {"Diary 12-01-2026", R"({\rtf1\ansi\uc1 \u26152?\u26085?\u26481?\u20140?\u12395?)"
                         R"(\u34892?\u12365?\u12414?\u12375?\u12383? Tokyo.})"},
    {"Notes", R"({\rtf1\ansi Undated notes about the harbour master.})"},
    {"Diary 12-03-2026", "this is not rich text"},
};

QStringList listed(const frmFind &find) {
    QStringList titles;
    for (int i = 0; i < find.lstFound->count(); ++i)
        titles << find.lstFound->item(i)->text();
    return titles;
}

frmFind *findWindow(frmMain &main) {
    return qobject_cast<frmFind *>(main.activeChild());
}

frmDocument *activeDiary(frmMain &main) {
    return qobject_cast<frmDocument *>(main.activeChild());
}

// Adds contacts to the data folder's phone book, as another program would.
void addContacts(const QString &phoneBook, const QList<std::pair<QString, QString>> &nameAndBirth) {
    if (!QFile::exists(phoneBook))
        QCOMPARE(SqliteFile::create(phoneBook), QString());
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "contacts");
        db.setDatabaseName(phoneBook);
        QVERIFY(db.open());
        QSqlQuery insert(db);
        for (const auto &[name, born] : nameAndBirth) {
            QVERIFY(insert.prepare("INSERT INTO PHONEBOOK (NAME, DATEOFBIRTH) VALUES (?, ?)"));
            insert.addBindValue(name);
            insert.addBindValue(born);
            QVERIFY(insert.exec());
        }
    }
    QSqlDatabase::removeDatabase("contacts");
}

// What a screen reader hears of a calendar day shown, read through the grid's accessible
// table as an assistive technology reads it.
QString heard(const frmCalendar &calendar, const QDate &day) {
    QAccessibleInterface *grid = QAccessible::queryAccessibleInterface(calendar.grdDays);
    QAccessibleTableInterface *table = grid ? grid->tableInterface() : nullptr;
    if (!table)
        return "<no table>";
    const QString date = QLocale().toString(day, QLocale::LongFormat);
    for (int row = 0; row < table->rowCount(); ++row) {
        for (int column = 0; column < table->columnCount(); ++column) {
            const QString name = table->cellAt(row, column)->text(QAccessible::Name);
            if (name.startsWith(date))
                return name;
        }
    }
    return "<not shown>";
}

} // namespace

class tst_DiaryTools : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void findsAsTyped_data();
    void findsAsTyped();
    void foundEntryOpensWithTheWordsSelected_data();
    void foundEntryOpensWithTheWordsSelected();
    void followsChangesBehindTheProgramsBack();
    void damagedIndexIsMadeAfresh();
    void screenReaderHearsTitleAndPassage();
    void calendarDays_data();
    void calendarDays();
    void calendarKeys_data();
    void calendarKeys();
    void calendarOpensDays_data();
    void calendarOpensDays();
    void calendarFollowsFolderAndPhoneBook();

private:
    frmFind *openFind();
    frmCalendar *openCalendar();
    void typeQuery(const QString &text);

    std::unique_ptr<TestWorld> world_;
    std::unique_ptr<frmMain> main_;
};

void tst_DiaryTools::init() {
    world_ = std::make_unique<TestWorld>();
    QDir().mkpath(world_->diaryFolder());
    for (const auto &[name, content] : entries)
        writeFile(world_->diaryFolder() + "/" + name + ".DIA", content);
    main_ = startProgram();
}

void tst_DiaryTools::cleanup() {
    main_.reset();
    world_.reset();
}

frmFind *tst_DiaryTools::openFind() {
    QTest::keyClick(main_.get(), Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
    frmFind *find = findWindow(*main_);
    return find;
}

void tst_DiaryTools::typeQuery(const QString &text) {
    frmFind *find = findWindow(*main_);
    find->txtFind->selectAll();
    QTest::keyClick(find->txtFind, Qt::Key_Delete);
    // Key by key, as typed; letters beyond ASCII come as an input method gives them.
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, find->txtFind, Qt::Key_unknown, c, Qt::NoModifier);
}

void tst_DiaryTools::findsAsTyped_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("bestMatchFirst");
    QTest::addColumn<QStringList>("titles");
    QTest::addColumn<QString>("count");

    const QString nov2 = "Diary 11-02-2026", nov20 = "Diary 11-20-2026", dec1 = "Diary 12-01-2026";
    const QString notes = "Notes"; // no date in its name: the day its file was written
    QTest::newRow("a word, whole once a space follows")
        << "lighthouse " << false << QStringList{nov20} << "1 entry holds the words.";
    QTest::newRow("the last word as a beginning")
        << "lighthou" << false << QStringList{nov20, nov2} << "2 entries hold the words.";
    QTest::newRow("words in any order")
        << "harbour cafe" << false << QStringList{nov20} << "1 entry holds the words.";
    QTest::newRow("a word that is not the last is whole")
        << "lighthou harbour" << false << QStringList{} << "No entry holds the words.";
    QTest::newRow("a phrase in quotes")
        << "\"the harbour\"" << false << QStringList{notes, nov20} << "2 entries hold the words.";
    QTest::newRow("a phrase in another order")
        << "\"harbour the\"" << false << QStringList{} << "No entry holds the words.";
    QTest::newRow("case ignored") << "BARCELONA" << false << QStringList{nov2}
                                  << "1 entry holds the words.";
    QTest::newRow("a word formatting splits in the file")
        << "barcelona " << false << QStringList{nov2} << "1 entry holds the words.";
    QTest::newRow("without the accent finds it")
        << "cafe " << false << QStringList{nov20, nov2} << "2 entries hold the words.";
    QTest::newRow("with the accent finds it without")
        << QString::fromUtf8("CAFÉ ") << false << QStringList{nov20, nov2}
        << "2 entries hold the words.";
    QTest::newRow("a run of Japanese")
        << QString::fromUtf8("東京") << false << QStringList{dec1} << "1 entry holds the words.";
    QTest::newRow("Japanese not in that order")
        << QString::fromUtf8("京東") << false << QStringList{} << "No entry holds the words.";
    QTest::newRow("query syntax is taken as words")
        << "harbour NOT cafe" << false << QStringList{} << "No entry holds the words.";
    QTest::newRow("nothing typed") << "  " << false << QStringList{} << "Type the words to find.";
    QTest::newRow("best match first: more places found")
        << "lighthou" << true << QStringList{nov20, nov2} << "2 entries hold the words.";
    QTest::newRow("best match first: a rare word weighs more")
        << "harbour barcelona walked past" << true << QStringList{} << "No entry holds the words.";
}

void tst_DiaryTools::findsAsTyped() {
    QFETCH(QString, typed);
    QFETCH(bool, bestMatchFirst);
    QFETCH(QStringList, titles);
    QFETCH(QString, count);
    frmFind *find = openFind();
    QVERIFY(find);
    QCOMPARE(find->windowTitle(), QString("Find in Diary"));
    if (bestMatchFirst)
        find->chkBestMatch->click();
    typeQuery(typed);
    QTRY_COMPARE(find->lblCount->text(), count + " 1 entry could not be read.");
    QCOMPARE(listed(*find), titles);
}

void tst_DiaryTools::foundEntryOpensWithTheWordsSelected_data() {
    QTest::addColumn<bool>("alreadyOpen");
    QTest::addColumn<QList<int>>("f3Steps"); // +1 F3, -1 Shift+F3
    QTest::addColumn<QStringList>("selections");
    QTest::newRow("opened") << false << QList<int>{} << QStringList{"Lighthouse"};
    QTest::newRow("F3 goes on, round to the first")
        << false << QList<int>{1, 1} << QStringList{"Lighthouse", "lighthouse", "Lighthouse"};
    QTest::newRow("Shift+F3 goes back")
        << false << QList<int>{-1} << QStringList{"Lighthouse", "lighthouse"};
    QTest::newRow("an open window is brought forward")
        << true << QList<int>{1} << QStringList{"Lighthouse", "lighthouse"};
}

void tst_DiaryTools::foundEntryOpensWithTheWordsSelected() {
    QFETCH(bool, alreadyOpen);
    QFETCH(QList<int>, f3Steps);
    QFETCH(QStringList, selections);
    if (alreadyOpen)
        main_->openDiaryFiles({world_->diaryFolder() + "/Diary 11-20-2026.DIA"});
    frmFind *find = openFind();
    typeQuery("lighthouse ");
    QTRY_COMPARE(find->lstFound->count(), 1);
    // Down from the box to the list, Enter on the result.
    QTest::keyClick(find->txtFind, Qt::Key_Down);
    QVERIFY(find->lstFound->hasFocus());
    QTest::keyClick(find->lstFound, Qt::Key_Return);
    frmDocument *document = activeDiary(*main_);
    QVERIFY(document);
    QCOMPARE(document->windowTitle(), QString("Diary 11-20-2026"));
    int diaryWindows = 0;
    for (QMdiSubWindow *window : main_->mdiArea()->subWindowList())
        diaryWindows += qobject_cast<frmDocument *>(window->widget()) ? 1 : 0;
    QCOMPARE(diaryWindows, 1);
    QStringList seen{document->rtfText->textCursor().selectedText()};
    for (int step : f3Steps) {
        QTest::keyClick(document->rtfText, Qt::Key_F3,
                        step > 0 ? Qt::NoModifier : Qt::ShiftModifier);
        seen << document->rtfText->textCursor().selectedText();
    }
    QCOMPARE(seen, selections);
    QVERIFY(!document->textChanged());
}

void tst_DiaryTools::followsChangesBehindTheProgramsBack() {
    frmFind *find = openFind();
    typeQuery("zeppelin");
    QTRY_COMPARE(find->lblCount->text(),
                 QString("No entry holds the words. 1 entry could not be read."));
    const QString added = world_->diaryFolder() + "/Diary 12-09-2026.DIA";
    writeFile(added, R"({\rtf1\ansi A zeppelin over the bay.})");
    QTRY_COMPARE(listed(*find), QStringList{"Diary 12-09-2026"});
    // Another program rewrites an entry in place, then a word processor mends the
    // unreadable one.
    writeFile(world_->diaryFolder() + "/Diary 11-02-2026.DIA", R"({\rtf1\ansi Two zeppelins.})");
    writeFile(world_->diaryFolder() + "/Diary 12-03-2026.DIA", R"({\rtf1\ansi Zeppelin.})");
    QTRY_COMPARE_WITH_TIMEOUT(
        listed(*find), (QStringList{"Diary 12-09-2026", "Diary 12-03-2026", "Diary 11-02-2026"}),
        10000);
    QTRY_COMPARE(find->lblCount->text(), QString("3 entries hold the words."));
    QVERIFY(QFile::remove(added));
    QTRY_COMPARE(listed(*find), (QStringList{"Diary 12-03-2026", "Diary 11-02-2026"}));
}

void tst_DiaryTools::damagedIndexIsMadeAfresh() {
    // An index from a first opening, then damaged while the program was not running.
    frmFind *find = openFind();
    typeQuery("harbour");
    QTRY_COMPARE(find->lstFound->count(), 2);
    main_->mdiArea()->closeAllSubWindows();
    QCoreApplication::processEvents();
    const QString cacheFolder =
        QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + "/orvanel";
    const QStringList files = QDir(cacheFolder).entryList({"*.index"});
    QCOMPARE(files.size(), 1);
    writeFile(cacheFolder + "/" + files.first(), QByteArray(8192, 'x'));
    find = openFind();
    typeQuery("harbour");
    QTRY_COMPARE(listed(*find), (QStringList{"Notes", "Diary 11-20-2026"}));
}

void tst_DiaryTools::screenReaderHearsTitleAndPassage() {
    frmFind *find = openFind();
    typeQuery("keepers");
    QTRY_COMPARE(find->lstFound->count(), 1);
    QAccessibleInterface *list = QAccessible::queryAccessibleInterface(find->lstFound);
    QVERIFY(list);
    QCOMPARE(list->text(QAccessible::Name), QString("Entries found"));
    QAccessibleInterface *item = list->child(0);
    QVERIFY(item);
    QCOMPARE(item->text(QAccessible::Name),
             QString("Diary 11-20-2026, A cafe near the harbour. Lighthouse keepers talk.   "
                     "Another lighthouse."));
    QCOMPARE(QAccessible::queryAccessibleInterface(find->txtFind)->text(QAccessible::Name),
             QString("Find"));
    // The command again, from another window, brings this one forward with its words.
    main_->findChild<QAction *>("mnuFileNewDiaryEntry(1)")->trigger();
    QTest::keyClick(main_.get(), Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(findWindow(*main_), find);
    QCOMPARE(find->txtFind->selectedText(), QString("keepers"));
}

frmCalendar *tst_DiaryTools::openCalendar() {
    QTest::keyClick(main_.get(), Qt::Key_D, Qt::ControlModifier | Qt::ShiftModifier);
    return qobject_cast<frmCalendar *>(main_->activeChild());
}

void tst_DiaryTools::calendarDays_data() {
    QTest::addColumn<QDate>("day");
    QTest::addColumn<QString>("after"); // what is heard after the date
    QTest::newRow("an entry") << QDate(2026, 12, 1) << ", diary entry";
    QTest::newRow("an entry that cannot be read is still written")
        << QDate(2026, 12, 3) << ", diary entry";
    QTest::newRow("today") << QDate(2026, 12, 6) << ", today";
    QTest::newRow("two birthdays, year first and without a year")
        << QDate(2026, 12, 24) << ", birthday: Ada, birthday: Bo";
    QTest::newRow("a birthday written month first, in the next month's days shown")
        << QDate(2027, 1, 2) << ", birthday: Cy";
    QTest::newRow("nothing") << QDate(2026, 12, 15) << "";
}

void tst_DiaryTools::calendarDays() {
    QFETCH(QDate, day);
    QFETCH(QString, after);
    addContacts(
        world_->programFolder() + "/ORVANEL.MDB",
        {{"Ada", "1990-12-24"}, {"Bo", "--12-24"}, {"Cy", "01-02-1985"}, {"Dee", "sometime"}});
    frmCalendar *calendar = openCalendar();
    QVERIFY(calendar);
    QCOMPARE(calendar->windowTitle(), QString("Diary Calendar"));
    QCOMPARE(calendar->lblMonth->text(), QLocale().standaloneMonthName(12) + " 2026");
    QCOMPARE(heard(*calendar, day), QLocale().toString(day, QLocale::LongFormat) + after);
}

void tst_DiaryTools::calendarKeys_data() {
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<QDate>("chosen");
    QTest::addColumn<QString>("birthdays");
    QTest::newRow("a day on") << QList<int>{Qt::Key_Right} << QDate(2026, 12, 7) << "";
    QTest::newRow("a week back") << QList<int>{Qt::Key_Up} << QDate(2026, 11, 29) << "";
    QTest::newRow("a month on, to a birthday")
        << QList<int>{Qt::Key_PageDown, Qt::Key_Left, Qt::Key_Left, Qt::Key_Left, Qt::Key_Left}
        << QDate(2027, 1, 2) << "Birthdays: Cy";
    QTest::newRow("back to today")
        << QList<int>{Qt::Key_PageUp, Qt::Key_Down, Qt::Key_Home} << QDate(2026, 12, 6) << "";
}

void tst_DiaryTools::calendarKeys() {
    QFETCH(QList<int>, keys);
    QFETCH(QDate, chosen);
    QFETCH(QString, birthdays);
    addContacts(world_->programFolder() + "/ORVANEL.MDB", {{"Cy", "01-02-1985"}});
    frmCalendar *calendar = openCalendar();
    for (int key : keys)
        QTest::keyClick(calendar->grdDays, Qt::Key(key));
    QCOMPARE(calendar->chosenDay(), chosen);
    QCOMPARE(calendar->lblMonth->text(),
             QLocale().standaloneMonthName(chosen.month()) + " " + QString::number(chosen.year()));
    QCOMPARE(calendar->grdDays->currentItem()
                 ->data(Qt::AccessibleTextRole)
                 .toString()
                 .left(QLocale().toString(chosen, QLocale::LongFormat).size()),
             QLocale().toString(chosen, QLocale::LongFormat));
    QCOMPARE(calendar->lblBirthdays->text(), birthdays);
}

void tst_DiaryTools::calendarOpensDays_data() {
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    QTest::newRow("a day with an entry opens it")
        << QList<int>{Qt::Key_Left, Qt::Key_Left, Qt::Key_Left, Qt::Key_Left, Qt::Key_Left}
        << "Diary 12-01-2026"
        << "Tokyo.";
    QTest::newRow("a day without starts one") << QList<int>{Qt::Key_Right} << "Diary 12-07-2026"
                                              << "";
}

void tst_DiaryTools::calendarOpensDays() {
    QFETCH(QList<int>, keys);
    QFETCH(QString, title);
    QFETCH(QString, text);
    frmCalendar *calendar = openCalendar();
    for (int key : keys)
        QTest::keyClick(calendar->grdDays, Qt::Key(key));
    QTest::keyClick(calendar->grdDays, Qt::Key_Return);
    frmDocument *document = activeDiary(*main_);
    QVERIFY(document);
    QCOMPARE(document->windowTitle(), title);
    QVERIFY(document->rtfText->toPlainText().endsWith(text));
    // Opened again from the calendar, the same window comes forward.
    QMdiSubWindow *window = main_->mdiArea()->activeSubWindow();
    if (!text.isEmpty()) {
        main_->mdiArea()->setActiveSubWindow(
            qobject_cast<QMdiSubWindow *>(calendar->parentWidget()));
        QTest::keyClick(calendar->grdDays, Qt::Key_Return);
        QCOMPARE(main_->mdiArea()->activeSubWindow(), window);
        QCOMPARE(main_->mdiArea()->subWindowList().size(), 2);
        return;
    }
    // A new day's entry is saved under its day's name, and its day is marked.
    QTest::keyClicks(document->rtfText, "Rain.");
    QTest::keyClick(main_.get(), Qt::Key_F2);
    QVERIFY(QFile::exists(world_->diaryFolder() + "/Diary 12-07-2026.DIA"));
    QTRY_COMPARE(heard(*calendar, QDate(2026, 12, 7)),
                 QLocale().toString(QDate(2026, 12, 7), QLocale::LongFormat) + ", diary entry");
}

void tst_DiaryTools::calendarFollowsFolderAndPhoneBook() {
    frmCalendar *calendar = openCalendar();
    const QDate day(2026, 12, 9);
    const QString dayHeard = QLocale().toString(day, QLocale::LongFormat);
    writeFile(world_->diaryFolder() + "/Diary 12-09-2026.DIA",
              R"({\rtf1\ansi Written elsewhere.})");
    QTRY_COMPARE(heard(*calendar, day), dayHeard + ", diary entry");
    QVERIFY(QFile::remove(world_->diaryFolder() + "/Diary 12-09-2026.DIA"));
    QTRY_COMPARE(heard(*calendar, day), dayHeard);
    // A contact added by another program shows after a phone book window's Refresh.
    addContacts(world_->programFolder() + "/ORVANEL.MDB", {{"Eve", "2001-12-09"}});
    QCOMPARE(heard(*calendar, day), dayHeard);
    main_->findChild<QAction *>("mnuDataPhoneBook")->trigger();
    auto *book = qobject_cast<frmPhoneBook *>(main_->activeChild());
    QVERIFY(book);
    book->cmdRefresh->click();
    QCOMPARE(heard(*calendar, day), dayHeard + ", birthday: Eve");
}

QTEST_MAIN(tst_DiaryTools)
#include "tst_diarytools.moc"
