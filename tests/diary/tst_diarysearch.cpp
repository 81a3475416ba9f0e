// Finding words in every diary entry: typed in the Find in Diary window, read back from
// its list and count line, and the entry found opened with the words selected.
#include "diary/frmdocument.h"
#include "diary/frmfind.h"
#include "diary/rtftextbox.h"
#include "shell/frmmain.h"
#include "startprogram.h"
#include "testworld.h"

#include <QAccessible>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStandardPaths>
#include <QTest>

namespace {

// The entries every case starts with: formatted, accented, a word split by formatting
// inside the file, Japanese, a picture, and one file that is not rich text.
const QList<std::pair<QString, QByteArray>> entries = {
    {"Diary 11-02-2026", R"({\rtf1\ansi We walked in Bar{\b cel}ona past the lighthouses.\par )"
                         R"(The {\i caf\'e9} was closed.})"},
    {"Diary 11-20-2026", R"({\rtf1\ansi A cafe near the harbour. Lighthouse keepers talk.\par )"
                         R"({\pict\pngblip\picw1\pich1 89504e470d0a1a0a0000000d49484452000000010000000108000000003a7e9b55"
                         "0000000a49444154789c636000000002000148afa4710000000049454e44ae426082} Another lighthouse.})"},
    {"Diary 12-01-2026", R"({\rtf1\ansi\uc1 \u26152?\u26085?\u26481?\u20140?\u12395?)"
                         R"(\u34892?\u12365?\u12414?\u12375?\u12383? Tokyo.})"},
    {"Notes", R"({\rtf1\ansi Undated notes about the harbour master.})"},
    {"Diary 12-03-2026", "this is not rich text"},
};

void writeFile(const QString &path, const QByteArray &content) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

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

} // namespace

class tst_DiarySearch : public QObject {
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

private:
    frmFind *openFind();
    void typeQuery(const QString &text);

    std::unique_ptr<TestWorld> world_;
    std::unique_ptr<frmMain> main_;
};

void tst_DiarySearch::init() {
    world_ = std::make_unique<TestWorld>();
    QDir().mkpath(world_->diaryFolder());
    for (const auto &[name, content] : entries)
        writeFile(world_->diaryFolder() + "/" + name + ".DIA", content);
    main_ = startProgram();
}

void tst_DiarySearch::cleanup() {
    main_.reset();
    world_.reset();
}

frmFind *tst_DiarySearch::openFind() {
    QTest::keyClick(main_.get(), Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
    frmFind *find = findWindow(*main_);
    return find;
}

void tst_DiarySearch::typeQuery(const QString &text) {
    frmFind *find = findWindow(*main_);
    find->txtFind->selectAll();
    QTest::keyClick(find->txtFind, Qt::Key_Delete);
    // Key by key, as typed; letters beyond ASCII come as an input method gives them.
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, find->txtFind, Qt::Key_unknown, c, Qt::NoModifier);
}

void tst_DiarySearch::findsAsTyped_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("bestMatchFirst");
    QTest::addColumn<QStringList>("titles");
    QTest::addColumn<QString>("count");

    const QString nov2 = "Diary 11-02-2026", nov20 = "Diary 11-20-2026", dec1 = "Diary 12-01-2026";
    const QString notes = "Notes"; // no date in its name: the day its file was written
    QTest::newRow("a word, whole once a space follows") << "lighthouse " << false << QStringList{nov20} << "1 entry holds the words.";
    QTest::newRow("the last word as a beginning") << "lighthou" << false << QStringList{nov20, nov2} << "2 entries hold the words.";
    QTest::newRow("words in any order") << "harbour cafe" << false << QStringList{nov20} << "1 entry holds the words.";
    QTest::newRow("a word that is not the last is whole") << "lighthou harbour" << false << QStringList{} << "No entry holds the words.";
    QTest::newRow("a phrase in quotes") << "\"the harbour\"" << false << QStringList{notes, nov20} << "2 entries hold the words.";
    QTest::newRow("a phrase in another order") << "\"harbour the\"" << false << QStringList{} << "No entry holds the words.";
    QTest::newRow("case ignored") << "BARCELONA" << false << QStringList{nov2} << "1 entry holds the words.";
    QTest::newRow("a word formatting splits in the file") << "barcelona " << false << QStringList{nov2} << "1 entry holds the words.";
    QTest::newRow("without the accent finds it") << "cafe " << false << QStringList{nov20, nov2} << "2 entries hold the words.";
    QTest::newRow("with the accent finds it without") << QString::fromUtf8("CAFÉ ") << false << QStringList{nov20, nov2} << "2 entries hold the words.";
    QTest::newRow("a run of Japanese") << QString::fromUtf8("東京") << false << QStringList{dec1} << "1 entry holds the words.";
    QTest::newRow("Japanese not in that order") << QString::fromUtf8("京東") << false << QStringList{} << "No entry holds the words.";
    QTest::newRow("query syntax is taken as words") << "harbour NOT cafe" << false << QStringList{} << "No entry holds the words.";
    QTest::newRow("nothing typed") << "  " << false << QStringList{} << "Type the words to find.";
    QTest::newRow("best match first: more places found") << "lighthou" << true << QStringList{nov20, nov2} << "2 entries hold the words.";
    QTest::newRow("best match first: a rare word weighs more") << "harbour barcelona walked past" << true << QStringList{} << "No entry holds the words.";
}

void tst_DiarySearch::findsAsTyped() {
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

void tst_DiarySearch::foundEntryOpensWithTheWordsSelected_data() {
    QTest::addColumn<bool>("alreadyOpen");
    QTest::addColumn<QList<int>>("f3Steps"); // +1 F3, -1 Shift+F3
    QTest::addColumn<QStringList>("selections");
    QTest::newRow("opened") << false << QList<int>{} << QStringList{"Lighthouse"};
    QTest::newRow("F3 goes on, round to the first") << false << QList<int>{1, 1}
                                                    << QStringList{"Lighthouse", "lighthouse", "Lighthouse"};
    QTest::newRow("Shift+F3 goes back") << false << QList<int>{-1} << QStringList{"Lighthouse", "lighthouse"};
    QTest::newRow("an open window is brought forward") << true << QList<int>{1}
                                                       << QStringList{"Lighthouse", "lighthouse"};
}

void tst_DiarySearch::foundEntryOpensWithTheWordsSelected() {
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
        QTest::keyClick(document->rtfText, Qt::Key_F3, step > 0 ? Qt::NoModifier : Qt::ShiftModifier);
        seen << document->rtfText->textCursor().selectedText();
    }
    QCOMPARE(seen, selections);
    QVERIFY(!document->textChanged());
}

void tst_DiarySearch::followsChangesBehindTheProgramsBack() {
    frmFind *find = openFind();
    typeQuery("zeppelin");
    QTRY_COMPARE(find->lblCount->text(), QString("No entry holds the words. 1 entry could not be read."));
    const QString added = world_->diaryFolder() + "/Diary 12-09-2026.DIA";
    writeFile(added, R"({\rtf1\ansi A zeppelin over the bay.})");
    QTRY_COMPARE(listed(*find), QStringList{"Diary 12-09-2026"});
    // Another program rewrites an entry in place, then a word processor mends the
    // unreadable one.
    writeFile(world_->diaryFolder() + "/Diary 11-02-2026.DIA", R"({\rtf1\ansi Two zeppelins.})");
    writeFile(world_->diaryFolder() + "/Diary 12-03-2026.DIA", R"({\rtf1\ansi Zeppelin.})");
    QTRY_COMPARE_WITH_TIMEOUT(listed(*find), (QStringList{"Diary 12-09-2026", "Diary 12-03-2026", "Diary 11-02-2026"}), 10000);
    QTRY_COMPARE(find->lblCount->text(), QString("3 entries hold the words."));
    QVERIFY(QFile::remove(added));
    QTRY_COMPARE(listed(*find), (QStringList{"Diary 12-03-2026", "Diary 11-02-2026"}));
}

void tst_DiarySearch::damagedIndexIsMadeAfresh() {
    // An index from a first opening, then damaged while the program was not running.
    frmFind *find = openFind();
    typeQuery("harbour");
    QTRY_COMPARE(find->lstFound->count(), 2);
    main_->mdiArea()->closeAllSubWindows();
    QCoreApplication::processEvents();
    const QString cacheFolder = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + "/orvanel";
    const QStringList files = QDir(cacheFolder).entryList({"*.index"});
    QCOMPARE(files.size(), 1);
    writeFile(cacheFolder + "/" + files.first(), QByteArray(8192, 'x'));
    find = openFind();
    typeQuery("harbour");
    QTRY_COMPARE(listed(*find), (QStringList{"Notes", "Diary 11-20-2026"}));
}

void tst_DiarySearch::screenReaderHearsTitleAndPassage() {
    frmFind *find = openFind();
    typeQuery("keepers");
    QTRY_COMPARE(find->lstFound->count(), 1);
    QAccessibleInterface *list = QAccessible::queryAccessibleInterface(find->lstFound);
    QVERIFY(list);
    QCOMPARE(list->text(QAccessible::Name), QString("Entries found"));
    QAccessibleInterface *item = list->child(0);
    QVERIFY(item);
    QCOMPARE(item->text(QAccessible::Name),
             QString("Diary 11-20-2026, A cafe near the harbour. Lighthouse keepers talk.   Another lighthouse."));
    QCOMPARE(QAccessible::queryAccessibleInterface(find->txtFind)->text(QAccessible::Name), QString("Find"));
}

QTEST_MAIN(tst_DiarySearch)
#include "tst_diarysearch.moc"
