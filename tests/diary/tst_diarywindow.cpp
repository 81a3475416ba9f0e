// Diary entries as the user writes them: new windows, typing, formatting, saving,
// opening, closing, the clipboard and printing, through the main window's commands.
#include "diary/frmdocument.h"
#include "diary/rtftextbox.h"
#include "fulldisk.h"
#include "hostilertf.h"
#include "platform/application.h"
#include "platform/messagebox.h"
#include "platform/settings.h"
#include "platform/units.h"
#include "rtf/rtfdocumentbuilder.h"
#include "rtf/rtfreader.h"
#include "shell/frmmain.h"
#include "shell/module1.h"
#include "shell/statusbar.h"
#include "startprogram.h"
#include "testworld.h"

#include <QAbstractTextDocumentLayout>
#include <QAccessible>
#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QToolBar>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString notSaved = "Diary Entry Not Saved. Save it now ?";
const QString todaysEntry = "Diary 12-06-2026";

frmDocument *active(frmMain &main) {
    return qobject_cast<frmDocument *>(main.activeChild());
}

QAction *command(frmMain &main, const char *name) {
    return main.findChild<QAction *>(name);
}

QAction *button(frmMain &main, const char *key) {
    return main.tbToolBar->findChild<QAction *>(key, Qt::FindDirectChildrenOnly);
}

void click(frmMain &main, const char *key) {
    main.tbToolBar_ButtonClick(button(main, key));
}

QString savedFlag() {
    return GetSetting("ORVANEL", "Saving", "Document", "absent");
}

// Types as the user does, key by key, into the window's text box.
void type(frmDocument &document, const QString &text) {
    document.rtfText->setFocus();
    QTest::keyClicks(document.rtfText, text);
}

void selectRange(frmDocument &document, int start, int length) {
    QTextCursor cursor = document.rtfText->textCursor();
    cursor.setPosition(start);
    cursor.setPosition(start + length, QTextCursor::KeepAnchor);
    document.rtfText->setTextCursor(cursor);
}

// What a diary file holds, read back with the program's own reader.
std::unique_ptr<QTextDocument> readFile(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return nullptr;
    auto document = std::make_unique<QTextDocument>();
    RtfReader::readDocument(file.readAll(), *document);
    return document;
}

QString textOf(const QString &path) {
    auto document = readFile(path);
    return document ? document->toPlainText() : QStringLiteral("<no file>");
}

// File > Close while the document commands are on; once a closing window has switched
// them off, the close button of the window's frame.
void closeActive(frmMain &main) {
    QAction *close = command(main, "mnuFileClose");
    if (close->isEnabled())
        close->trigger();
    else
        main.mdiArea()->currentSubWindow()->close();
    QCoreApplication::processEvents();
}

} // namespace

class tst_DiaryWindow : public QObject {
    Q_OBJECT
private slots:
    void init() { QApplication::clipboard()->clear(); }
    void entryEndToEnd();
    void missingDiaryFolder();
    void secondEntryOfADayAsksBeforeReplacing_data();
    void secondEntryOfADayAsksBeforeReplacing();
    void fileRewrittenElsewhereIsNotReplacedSilently();
    void closingQuestions_data();
    void closingQuestions();
    void onlyOwnChangesAsk();
    void ownChangeAsksEvenAfterAnotherSave();
    void openTitles_data();
    void openTitles();
    void unreadableFileIsTold_data();
    void unreadableFileIsTold();
    void saveAsGivesTheWindowItsFile();
    void failedSaveIsTold_data();
    void failedSaveIsTold();
    void saveReplacesTheFileAtomically();
    void copyOffersRtfHtmlAndText_data();
    void copyOffersRtfHtmlAndText();
    void pasteFromOtherPrograms_data();
    void pasteFromOtherPrograms();
    void hostileFilesPasteWhole_data();
    void hostileFilesPasteWhole();
    void veryLongEntriesAreNotWrapped_data();
    void veryLongEntriesAreNotWrapped();
    void insertKeySwitchesToOverwriting();
    void pasteAndCutEdges_data();
    void pasteAndCutEdges();
    void formattingButtonsFollowTheCaret();
    void pageSetupNeedsNoWindow();
    void print_data();
    void print();
};

void tst_DiaryWindow::entryEndToEnd() {
    TestWorld world;
    auto main = startProgram();
    click(*main, "New");
    frmDocument *entry = active(*main);
    QVERIFY(entry);
    QCOMPARE(entry->windowTitle(), todaysEntry);
    QCOMPARE(QAccessible::queryAccessibleInterface(entry->rtfText)->text(QAccessible::Name),
             todaysEntry);
    QVERIFY(main->tbToolBar->isVisible());

    type(*entry, "Dear diary, today was good.");
    QCOMPARE(savedFlag(), QString("0"));
    selectRange(*entry, 0, 10);
    click(*main, "Bold");
    QVERIFY(button(*main, "Bold")->isChecked());
    click(*main, "Center");

    world.platform.answerMessage(MsgBoxResult::Yes); // create the diary folder
    QTest::keyClick(entry->rtfText, Qt::Key_F2);
    QCOMPARE(world.platform.messages.size(), 1);
    const auto &question = world.platform.messages[0];
    QCOMPARE(question.text, "Directory " + QDir::toNativeSeparators(world.diaryFolder()) +
                                " does not exist. Do you want to the directory to be created?");
    QCOMPARE(question.buttons(), MsgBoxStyle::YesNo);
    QCOMPARE(question.icon(), 0);
    QCOMPARE(question.title, QString("ORVANEL"));
    QCOMPARE(savedFlag(), QString("1"));

    const QString file = world.diaryFolder() + "/Diary 12-06-2026.DIA";
    auto saved = readFile(file);
    QVERIFY(saved);
    QCOMPARE(saved->toPlainText(), QString("Dear diary, today was good."));
    QTextCursor at(saved.get());
    at.setPosition(3);
    QVERIFY(at.charFormat().fontWeight() >= QFont::Bold);
    at.setPosition(15);
    QVERIFY(at.charFormat().fontWeight() < QFont::Bold);
    QCOMPARE(saved->firstBlock().blockFormat().alignment() & Qt::AlignHorizontal_Mask,
             Qt::AlignHCenter);

    closeActive(*main);
    QCOMPARE(world.platform.messages.size(), 1); // saved: no question
    QCOMPARE(windowCount(*main), 0);
    QVERIFY(!main->tbToolBar->isVisible());
    QVERIFY(!command(*main, "mnuFileSave")->isEnabled());
}

// No to making the diary folder saves nothing, and says so.
void tst_DiaryWindow::missingDiaryFolder() {
    TestWorld world;
    auto main = startProgram();
    main->LoadNewDoc();
    type(*active(*main), "An entry");
    world.platform.answerMessage(MsgBoxResult::No);
    world.platform.answerMessage(MsgBoxResult::Ok);
    command(*main, "mnuFileSave")->trigger();
    QCOMPARE(world.platform.messages.size(), 2);
    QCOMPARE(world.platform.messages[1].text, QString("The Diary Entry could not be saved"));
    QCOMPARE(world.platform.messages[1].buttons(), MsgBoxStyle::OkOnly);
    QVERIFY(!QDir(world.diaryFolder()).exists());
    QCOMPARE(savedFlag(), QString("0"));
    QVERIFY(active(*main)->textChanged());
}

void tst_DiaryWindow::secondEntryOfADayAsksBeforeReplacing_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("otherName"); // chosen in Save As after No; empty cancels
    QTest::newRow("Yes replaces") << int(MsgBoxResult::Yes) << QString();
    QTest::newRow("No, then another name") << int(MsgBoxResult::No) << "evening.DIA";
    QTest::newRow("No, then cancel") << int(MsgBoxResult::No) << QString();
}

void tst_DiaryWindow::secondEntryOfADayAsksBeforeReplacing() {
    QFETCH(int, answer);
    QFETCH(QString, otherName);
    TestWorld world;
    QDir().mkpath(world.diaryFolder());
    const QString file = world.diaryFolder() + "/Diary 12-06-2026.DIA";
    auto main = startProgram();
    main->LoadNewDoc();
    frmDocument *morning = active(*main);
    type(*morning, "first");
    QTest::keyClick(morning->rtfText, Qt::Key_F2);
    // Its own file, unchanged since it wrote it, is replaced without a question.
    type(*morning, " entry");
    QTest::keyClick(morning->rtfText, Qt::Key_F2);
    QVERIFY(world.platform.messages.isEmpty());

    main->LoadNewDoc();
    frmDocument *evening = active(*main);
    type(*evening, "second");
    world.platform.answerMessage(answer);
    const QString otherPath = world.diaryFolder() + "/" + otherName;
    if (answer == MsgBoxResult::No)
        world.platform.answerFileDialog(otherName.isEmpty() ? QString() : otherPath);
    QTest::keyClick(evening->rtfText, Qt::Key_F2);

    QCOMPARE(world.platform.messages.size(), 1);
    const auto &question = world.platform.messages[0];
    QCOMPARE(question.text,
             QDir::toNativeSeparators(file) + " already exists.\nDo you want to replace it?");
    QCOMPARE(question.buttons(), MsgBoxStyle::YesNo);
    QCOMPARE(question.defaultButton(), 2);
    if (answer == MsgBoxResult::Yes) {
        QCOMPARE(textOf(file), QString("second"));
        QVERIFY(!evening->textChanged());
        return;
    }
    QCOMPARE(textOf(file), QString("first entry"));
    QCOMPARE(world.platform.fileDialogs.size(), 1);
    QCOMPARE(world.platform.fileDialogs[0].title, QString("Save As"));
    if (otherName.isEmpty()) {
        QVERIFY(evening->textChanged());
        QCOMPARE(evening->windowTitle(), todaysEntry);
        QCOMPARE(QDir(world.diaryFolder()).entryList(QDir::Files).size(), 1);
    } else {
        QCOMPARE(textOf(otherPath), QString("second"));
        QCOMPARE(evening->windowTitle(), QDir::toNativeSeparators(otherPath));
    }
}

void tst_DiaryWindow::fileRewrittenElsewhereIsNotReplacedSilently() {
    TestWorld world;
    const QString path = world.diaryFolder() + "/Diary 11-30-2026.DIA";
    writeFile(path, "{\\rtf1 mine}");
    auto main = startProgram();
    world.platform.answerFileDialog(path);
    main->mnuFileOpenDiaryEntry_Click(1);
    frmDocument *entry = active(*main);
    // Another program writes the entry while it is open here.
    writeFile(path, "{\\rtf1 written by another program}");
    entry->rtfText->moveCursor(QTextCursor::End);
    type(*entry, " and more");
    world.platform.answerMessage(MsgBoxResult::No);
    world.platform.answerFileDialog(QString());
    main->mnuFileSave_Click();
    QCOMPARE(world.platform.messages.size(), 1);
    QVERIFY(world.platform.messages[0].text.startsWith(QDir::toNativeSeparators(path)));
    QCOMPARE(textOf(path), QString("written by another program"));
    QVERIFY(entry->textChanged());

    // Yes replaces it; from then on the window knows the file and saves without asking.
    world.platform.answerMessage(MsgBoxResult::Yes);
    main->mnuFileSave_Click();
    QCOMPARE(textOf(path), QString("mine and more"));
    type(*entry, "!");
    main->mnuFileSave_Click();
    QCOMPARE(world.platform.messages.size(), 2);
    QCOMPARE(textOf(path), QString("mine and more!"));
}

// Whatever ends a diary window's text (closing the window, File > Exit, closing the main
// window, File > Open into it), each window whose own text changed asks "Diary Entry Not
// Saved. Save it now ?" first: Yes saves, No goes on without, Cancel calls the whole
// step off and keeps the text. A Yes whose save did not happen keeps the window too.
void tst_DiaryWindow::closingQuestions_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<QStringList>("entries"); // typed into new windows; "" leaves one alone
    QTest::addColumn<bool>("diaryFolder");
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<int>("messages");
    QTest::addColumn<bool>("goesOn");   // the window closed, the program ended, the file opened
    QTest::addColumn<QString>("saved"); // today's entry file afterwards; "" for none
    namespace R = MsgBoxResult;
    const QStringList three = {"first entry", "", "third entry"};
    QTest::newRow("close: untouched")
        << "close" << QStringList{""} << true << QList<int>{} << 0 << true << "";
    QTest::newRow("close: No") << "close" << QStringList{"x"} << true << QList<int>{R::No} << 1
                               << true << "";
    QTest::newRow("close: Cancel")
        << "close" << QStringList{"keep me"} << true << QList<int>{R::Cancel} << 1 << false << "";
    QTest::newRow("close: Yes") << "close" << QStringList{"words"} << true << QList<int>{R::Yes}
                                << 1 << true << "words";
    // Yes, but the diary folder is not to be made: the entry cannot be saved.
    QTest::newRow("close: Yes, no folder") << "close" << QStringList{"precious words"} << false
                                           << QList<int>{R::Yes, R::No, R::Ok} << 3 << false << "";
    QTest::newRow("exit: No to both")
        << "exit" << three << true << QList<int>{R::No, R::No} << 2 << true << "";
    QTest::newRow("exit: Cancel") << "exit" << three << true << QList<int>{R::Cancel} << 1 << false
                                  << "";
    QTest::newRow("exit: Yes, then No")
        << "exit" << three << true << QList<int>{R::Yes, R::No} << 2 << true << "first entry";
    QTest::newRow("main window: No, then Cancel")
        << "main" << QStringList{"first", "second"} << true << QList<int>{R::No, R::Cancel} << 2
        << false << "";
    QTest::newRow("open: Yes") << "open" << QStringList{"unsaved text"} << true
                               << QList<int>{R::Yes} << 1 << true << "unsaved text";
    QTest::newRow("open: No") << "open" << QStringList{"unsaved text"} << true << QList<int>{R::No}
                              << 1 << true << "";
    QTest::newRow("open: Cancel") << "open" << QStringList{"unsaved text"} << true
                                  << QList<int>{R::Cancel} << 1 << false << "";
}

void tst_DiaryWindow::closingQuestions() {
    QFETCH(QString, how);
    QFETCH(QStringList, entries);
    QFETCH(bool, diaryFolder);
    QFETCH(QList<int>, answers);
    QFETCH(int, messages);
    QFETCH(bool, goesOn);
    QFETCH(QString, saved);
    TestWorld world;
    if (diaryFolder)
        QDir().mkpath(world.diaryFolder());
    const QString other = world.path("other.DIA");
    writeFile(other, "{\\rtf1 replaced}");
    auto main = startProgram();
    for (const QString &entry : entries) {
        main->LoadNewDoc();
        if (!entry.isEmpty())
            type(*active(*main), entry);
    }
    for (int answer : answers)
        world.platform.answerMessage(answer);
    const int windows = windowCount(*main);
    if (how == "close") {
        closeActive(*main);
    } else if (how == "exit") {
        QTest::keyClick(main.get(), Qt::Key_F12);
    } else if (how == "main") {
        QCOMPARE(main->close(), goesOn);
    } else {
        if (goesOn)
            world.platform.answerFileDialog(other);
        main->mnuFileOpenDiaryEntry_Click(1);
    }
    QCOMPARE(world.platform.messages.size(), messages);
    if (messages > 0) {
        const auto &question = world.platform.messages[0];
        QCOMPARE(question.text, notSaved);
        QCOMPARE(question.title, QString("Diary Entry Saving"));
        QCOMPARE(question.buttons(), MsgBoxStyle::YesNoCancel);
        QCOMPARE(question.defaultButton(), 1);
        QCOMPARE(question.icon(), 0);
    }
    const QString today = world.diaryFolder() + "/Diary 12-06-2026.DIA";
    QCOMPARE(saved.isEmpty() ? QString() : textOf(today), saved);
    QCOMPARE(QFile::exists(today), !saved.isEmpty());
    if (how == "exit")
        QCOMPARE(world.platform.programEnded, goesOn);
    if (how == "close")
        QCOMPARE(windowCount(*main), goesOn ? windows - 1 : windows);
    if (how == "open")
        QCOMPARE(active(*main)->rtfText->toPlainText(),
                 goesOn ? QString("replaced") : entries.last());
    if (!goesOn && how != "main") {
        // The text stays, with the commands to save it.
        QVERIFY(entries.contains(active(*main)->rtfText->toPlainText()));
        QVERIFY(main->tbToolBar->isVisible());
        QVERIFY(command(*main, "mnuFileSave")->isEnabled());
    }
    // File > Exit ends the program without storing the window's bounds.
    world.endRun();
    if (how != "main" || !goesOn)
        QCOMPARE(GetSetting("ORVANEL", "Settings", "MainLeft", "absent"), QString("absent"));
}

void tst_DiaryWindow::onlyOwnChangesAsk() {
    TestWorld world;
    QDir().mkpath(world.diaryFolder());
    const QString file = world.diaryFolder() + "/Diary 12-06-2026.DIA";
    auto main = startProgram();
    main->LoadNewDoc();
    QMdiSubWindow *saved = main->mdiArea()->currentSubWindow();
    type(*active(*main), "today's entry");
    main->mnuFileSave_Click();

    // A second, untouched window of the same day: a caret move writes "0" to the shared
    // flag, but closing it asks nothing and leaves the saved entry alone.
    main->LoadNewDoc();
    QTest::mouseClick(active(*main)->rtfText->viewport(), Qt::LeftButton);
    QCOMPARE(savedFlag(), QString("0"));
    closeActive(*main);
    QVERIFY(world.platform.messages.isEmpty());
    QCOMPARE(textOf(file), QString("today's entry"));

    // A window with changes of its own asks; No leaves the flag and writes nothing.
    main->LoadNewDoc();
    active(*main)->setWindowTitle("Scratch");
    type(*active(*main), "x");
    world.platform.answerMessage(MsgBoxResult::No);
    closeActive(*main);
    QCOMPARE(world.platform.messages.size(), 1);
    QCOMPARE(world.platform.messages[0].text, notSaved); // its buttons and title: closingQuestions
    QCOMPARE(savedFlag(), QString("0"));
    QVERIFY(!QFile::exists(world.diaryFolder() + "/Scratch.DIA"));

    // The saved window closes without a question although the flag reads "0".
    main->mdiArea()->setActiveSubWindow(saved);
    closeActive(*main);
    QCOMPARE(world.platform.messages.size(), 1);
    QCOMPARE(windowCount(*main), 0);
}

void tst_DiaryWindow::ownChangeAsksEvenAfterAnotherSave() {
    TestWorld world;
    QDir().mkpath(world.diaryFolder());
    auto main = startProgram();
    main->LoadNewDoc();
    QMdiSubWindow *windowA = main->mdiArea()->currentSubWindow();
    main->LoadNewDoc();
    type(*active(*main), "words of B");
    main->mdiArea()->setActiveSubWindow(windowA);
    active(*main)->setWindowTitle("Entry A");
    main->mnuFileSave_Click(); // sets the shared flag
    QCOMPARE(savedFlag(), QString("1"));
    closeActive(*main); // A: unchanged and flag set, no question
    QVERIFY(world.platform.messages.isEmpty());

    world.platform.answerMessage(MsgBoxResult::Yes);
    closeActive(*main); // B: its own text changed, so it asks and saves
    QCOMPARE(world.platform.messages.size(), 1);
    QCOMPARE(world.platform.messages[0].text, notSaved);
    QCOMPARE(textOf(world.diaryFolder() + "/Diary 12-06-2026.DIA"), QString("words of B"));
    QCOMPARE(windowCount(*main), 0);
}

void tst_DiaryWindow::openTitles_data() {
    QTest::addColumn<QString>("relative");
    QTest::addColumn<bool>("inDiaryFolder");
    QTest::addColumn<bool>("windowFirst"); // Ctrl+F3 in a diary window, or with none open
    QTest::newRow("entry in the diary folder")
        << "program/Diary/Diary 01-31-2026.DIA" << true << true;
    QTest::newRow("entry, no window open") << "program/Diary/Diary 01-31-2026.DIA" << true << false;
    QTest::newRow("file elsewhere") << "notes/x.DIA" << false << true;
    QTest::newRow("short name elsewhere") << "a.DIA" << false << true;
}

void tst_DiaryWindow::openTitles() {
    QFETCH(QString, relative);
    QFETCH(bool, inDiaryFolder);
    QFETCH(bool, windowFirst);
    TestWorld world;
    const QString path = world.path(relative);
    writeFile(path, "{\\rtf1\\ansi {\\b old} words\\par}");
    auto main = startProgram();
    world.platform.answerFileDialog(path);
    if (windowFirst) {
        main->LoadNewDoc();
        QTest::keyClick(active(*main)->rtfText, Qt::Key_F3, Qt::ControlModifier);
    } else {
        QVERIFY(QTest::qWaitForWindowActive(main.get()));
        QTest::keyClick(main.get(), Qt::Key_F3, Qt::ControlModifier);
        QVERIFY(main->tbToolBar->isVisible());
    }
    QCOMPARE(windowCount(*main), 1);
    const auto &dialog = world.platform.fileDialogs.value(0);
    QCOMPARE(dialog.title, QString("Open"));
    QCOMPARE(dialog.filter, QString("Diary Files (*.DIA)|*.DIA"));
    frmDocument *entry = active(*main);
    QCOMPARE(entry->rtfText->toPlainText(), QString("old words"));
    const QString title =
        inDiaryFolder ? QString("Diary 01-31-2026") : QDir::toNativeSeparators(path);
    QCOMPARE(entry->windowTitle(), title);
    // A screen reader names the editor after its entry.
    QCOMPARE(QAccessible::queryAccessibleInterface(entry->rtfText)->text(QAccessible::Name), title);

    // A later Save writes back to the file that was opened, and nowhere else.
    entry->rtfText->moveCursor(QTextCursor::End);
    type(*entry, " and new");
    command(*main, "mnuFileSave")->trigger();
    QVERIFY(world.platform.messages.isEmpty());
    QCOMPARE(textOf(path), QString("old words and new"));
    QCOMPARE(QDir(world.diaryFolder()).entryList(QDir::Files).size(), inDiaryFolder ? 1 : 0);
}

void tst_DiaryWindow::unreadableFileIsTold_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("told");
    QTest::newRow("not rich text") << "file" << QByteArray("just some plain words\n") << "";
    QTest::newRow("empty file") << "file" << QByteArray() << "";
    QTest::newRow("missing file") << "missing" << QByteArray() << "";
    // A pipe would hold the program until something wrote to it.
    QTest::newRow("pipe") << "pipe" << QByteArray()
                          << "is not a file that can be opened: only an ordinary file holds a "
                             "diary entry.";
    QTest::newRow("too large") << "large" << QByteArray()
                               << "is 33.0 MiB, larger than the 32 MiB a diary entry can be, and "
                                  "was not opened.";
}
void tst_DiaryWindow::unreadableFileIsTold() {
    QFETCH(QString, kind);
    QFETCH(QByteArray, content);
    QFETCH(QString, told);
    TestWorld world;
    const QString path = world.path("broken.DIA");
    if (kind == "file")
        writeFile(path, content);
    if (kind == "pipe")
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    if (kind == "large") {
        QFile large(path);
        QVERIFY(large.open(QIODevice::WriteOnly));
        QVERIFY(large.resize(33 * 1024 * 1024));
    }
    auto main = startProgram();
    main->LoadNewDoc();
    type(*active(*main), "my text");
    world.platform.answerMessage(MsgBoxResult::No); // do not save "my text" first
    world.platform.answerFileDialog(path);
    world.platform.answerMessage(MsgBoxResult::Ok);
    main->mnuFileOpenDiaryEntry_Click(1);
    QCOMPARE(world.platform.messages.size(), 2);
    QVERIFY(!world.platform.messages[1].text.isEmpty());
    if (!told.isEmpty())
        QCOMPARE(world.platform.messages[1].text, QDir::toNativeSeparators(path) + ' ' + told);
    QCOMPARE(world.platform.messages[1].buttons(), MsgBoxStyle::OkOnly);
    QCOMPARE(active(*main)->rtfText->toPlainText(), QString("my text"));
    QCOMPARE(active(*main)->windowTitle(), todaysEntry);
}
void tst_DiaryWindow::saveAsGivesTheWindowItsFile() {
    TestWorld world;
    QDir().mkpath(world.path("notes"));
    auto main = startProgram();
    main->LoadNewDoc();
    type(*active(*main), "saved as");
    const QString flagBefore = savedFlag();
    const QString path = world.path("notes/x");
    world.platform.answerFileDialog(path);
    command(*main, "mnuFileSaveAs")->trigger();
    QCOMPARE(world.platform.fileDialogs.value(0).title, QString("Save As"));
    // Without a diary folder, the dialog starts in the data folder.
    QCOMPARE(world.platform.fileDialogs.value(0).folder, world.programFolder());
    QCOMPARE(active(*main)->windowTitle(), QDir::toNativeSeparators(path));
    QCOMPARE(textOf(path), QString("saved as")); // no extension added
    QCOMPARE(savedFlag(), flagBefore);

    type(*active(*main), " again");
    command(*main, "mnuFileSave")->trigger();
    QVERIFY(world.platform.messages.isEmpty());
    QCOMPARE(textOf(path), QString("saved as again"));
    QVERIFY(!QDir(world.diaryFolder()).exists());

    // A cancelled dialog changes nothing. With a diary folder, the dialogs start there.
    QDir().mkpath(world.diaryFolder());
    world.platform.answerFileDialog(QString());
    main->mnuFileSaveAs_Click();
    QCOMPARE(active(*main)->windowTitle(), QDir::toNativeSeparators(path));
    world.platform.answerFileDialog(QString());
    main->mnuFileOpenDiaryEntry_Click(1);
    QCOMPARE(world.platform.fileDialogs[1].folder, world.diaryFolder());
    QCOMPARE(world.platform.fileDialogs[2].folder, world.diaryFolder());

    // Nor does a Save As that fails: the window keeps its name and its file.
    type(*active(*main), " and again");
    world.platform.answerFileDialog(world.path("no such folder/y.DIA"));
    world.platform.answerMessage(MsgBoxResult::Ok);
    main->mnuFileSaveAs_Click();
    QCOMPARE(world.platform.messages.size(), 1);
    QVERIFY(world.platform.messages[0].text.startsWith("The Diary Entry could not be saved."));
    QCOMPARE(active(*main)->windowTitle(), QDir::toNativeSeparators(path));
    command(*main, "mnuFileSave")->trigger();
    QCOMPARE(world.platform.messages.size(), 1);
    QCOMPARE(textOf(path), QString("saved as again and again"));
}

// A save that fails says why, and keeps the entry changed, its window's name and the
// file as it was; the full disk both below and above what the file's own buffer holds
// back until the end.
void tst_DiaryWindow::failedSaveIsTold_data() {
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("fullDiskWords"); // 0: the disk has room
    QTest::addColumn<QString>("says");
    QTest::newRow("name too long") << QString(300, QChar('n')) << 0 << "File name too long";
    QTest::newRow("a folder in the way") << "In the way" << 0 << "In the way.DIA is a folder";
    QTest::newRow("a full disk, a few words") << todaysEntry << 3 << QString();
    QTest::newRow("a full disk, pages") << todaysEntry << 20000 << QString();
}

void tst_DiaryWindow::failedSaveIsTold() {
    QFETCH(QString, title);
    QFETCH(int, fullDiskWords);
    QFETCH(QString, says);
    TestWorld world;
    FullDisk disk(world.diaryFolder());
    QDir().mkpath(world.diaryFolder() + "/In the way.DIA");
    const QString path = world.diaryFolder() + "/" + todaysEntry + ".DIA";
    auto main = startProgram();
    main->LoadNewDoc();
    type(*active(*main), "first");
    active(*main)->setWindowTitle(title);
    if (fullDiskWords > 0) {
        QTest::keyClick(active(*main)->rtfText, Qt::Key_F2);
        QCOMPARE(textOf(path), QString("first"));
        disk.fill();
        active(*main)->rtfText->textCursor().insertText(
            QStringList(fullDiskWords, "more").join(' '));
        says = disk.reason();
    }
    world.platform.answerMessage(MsgBoxResult::Ok);
    QTest::keyClick(active(*main)->rtfText, Qt::Key_F2);
    QCOMPARE(world.platform.messages.size(), 1);
    const QString shown = world.platform.messages[0].text;
    QVERIFY2(shown.contains(says) && !shown.contains("Device I/O"), qPrintable(shown));
    QCOMPARE(savedFlag(), QString("0"));
    QCOMPARE(active(*main)->windowTitle(), title);
    QCOMPARE(textOf(path), fullDiskWords > 0 ? QString("first") : QString("<no file>"));
    // Still changed: closing the window asks, and No is the user's own choice.
    world.platform.answerMessage(MsgBoxResult::No);
    closeActive(*main);
    QCOMPARE(world.platform.messages.size(), 2);
    QCOMPARE(world.platform.messages[1].text, notSaved);
}

void tst_DiaryWindow::saveReplacesTheFileAtomically() {
    TestWorld world;
    const QString path = world.diaryFolder() + "/Diary 12-06-2026.DIA";
    writeFile(path, "{\\rtf1 the old entry}");
    // A second name for the old file: a save that rewrote it in place would show here.
    const QString oldName = world.path("old-entry.DIA");
    QCOMPARE(::link(QFile::encodeName(path).constData(), QFile::encodeName(oldName).constData()),
             0);
    auto main = startProgram();
    main->LoadNewDoc();
    type(*active(*main), "the new entry");
    world.platform.answerMessage(MsgBoxResult::Yes); // replace the file of the same day
    main->mnuFileSave_Click();
    QCOMPARE(textOf(path), QString("the new entry"));
    QCOMPARE(textOf(oldName), QString("the old entry"));
}

void tst_DiaryWindow::copyOffersRtfHtmlAndText_data() {
    QTest::addColumn<QString>("command");
    QTest::newRow("toolbar Copy") << "Copy";
    QTest::newRow("toolbar Cut") << "Cut";
    QTest::newRow("Ctrl+Insert") << "Ctrl+Ins";
    QTest::newRow("Shift+Delete") << "Shift+Del";
}

void tst_DiaryWindow::copyOffersRtfHtmlAndText() {
    QFETCH(QString, command);
    TestWorld world;
    auto main = startProgram();
    QVERIFY(QTest::qWaitForWindowActive(main.get()));
    main->LoadNewDoc();
    frmDocument *entry = active(*main);
    type(*entry, "visible text");
    selectRange(*entry, 0, 7);
    click(*main, "Bold");
    entry->rtfText->selectAll();
    if (command.contains('+'))
        QTest::keySequence(entry->rtfText, QKeySequence(command));
    else
        click(*main, command.toLatin1().constData());
    const QMimeData *data = QApplication::clipboard()->mimeData();
    QCOMPARE(data->text(), QString("visible text"));
    const QByteArray rtf = data->data("text/rtf");
    QVERIFY(rtf.startsWith("{\\rtf1") && rtf.contains("\\b") && rtf.contains("visible"));
    QVERIFY(data->hasHtml());
    QVERIFY(data->html().contains("font-weight:700") || data->html().contains("font-weight:600"));
    const bool cut = command == "Cut" || command == "Shift+Del";
    QCOMPARE(entry->rtfText->toPlainText(), cut ? QString() : QString("visible text"));
}

void tst_DiaryWindow::pasteFromOtherPrograms_data() {
    QTest::addColumn<QString>("type");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("text"); // offered beside it
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("centred");
    QTest::newRow("word processor RTF")
        << "text/rtf" << QByteArray("{\\rtf1\\ansi\\qc {\\b Pasted} words\\par}") << "Pasted words"
        << true << true;
    QTest::newRow("RTF by its other name")
        << "application/rtf" << QByteArray("{\\rtf1\\ansi {\\b Pasted} words\\par}")
        << "Pasted words" << true << false;
    QTest::newRow("web page HTML")
        << "text/html"
        << QByteArray("<html><body><p align=\"center\"><b>Pasted</b> words</p></body></html>")
        << "Pasted words" << true << true;
    QTest::newRow("plain text") << "" << QByteArray() << "Pasted words" << false << false;
    QTest::newRow("plain text holding RTF, as earlier copies")
        << "" << QByteArray() << "{\\rtf1 {\\b Pasted} words}" << true << false;
}

void tst_DiaryWindow::pasteFromOtherPrograms() {
    QFETCH(QString, type);
    QFETCH(QByteArray, data);
    QFETCH(QString, text);
    QFETCH(bool, bold);
    QFETCH(bool, centred);
    TestWorld world;
    auto main = startProgram();
    QVERIFY(QTest::qWaitForWindowActive(main.get()));
    main->LoadNewDoc();
    frmDocument *entry = active(*main);
    auto *offered = new QMimeData;
    if (!type.isEmpty())
        offered->setData(type, data);
    offered->setText(text);
    QApplication::clipboard()->setMimeData(offered);
    QTest::keyClick(entry->rtfText, Qt::Key_Insert, Qt::ShiftModifier);
    QCOMPARE(entry->rtfText->toPlainText().trimmed(), QString("Pasted words"));
    selectRange(*entry, 1, 2);
    QCOMPARE(entry->rtfText->SelBold(), std::optional<bool>(bold));
    QCOMPARE(entry->rtfText->SelAlignment(),
             std::optional(centred ? Alignment::Center : Alignment::Left));
}

void tst_DiaryWindow::hostileFilesPasteWhole_data() {
    QTest::addColumn<QString>("kind");
    for (const HostileRtf::Kind &kind : HostileRtf::kinds())
        QTest::newRow(qPrintable(kind.name)) << kind.name;
}
void tst_DiaryWindow::hostileFilesPasteWhole() {
    QFETCH(QString, kind);
    TestWorld world;
    auto main = startProgram();
    main->LoadNewDoc();
    frmDocument *entry = active(*main);
    const QByteArray rtf = HostileRtf::make(kind, HostileRtf::reportedSize(kind));
    auto *offered = new QMimeData;
    offered->setData("text/rtf", rtf);
    QApplication::clipboard()->setMimeData(offered);
    command(*main, "mnuEditPaste")->trigger();
    QCoreApplication::processEvents();
    // The entry holds the text the file holds, whatever became of its paragraphs.
    QTextDocument file;
    RtfReader::readDocument(rtf, file);
    auto letters = [](QString text) {
        text.remove(QChar::ParagraphSeparator)
            .remove(QChar::LineSeparator)
            .remove('\n')
            .remove(' ');
        return text;
    };
    QCOMPARE(letters(entry->rtfText->toPlainText()), letters(file.toPlainText()));
    QVERIFY(entry->rtfText->document()->blockCount() <= RtfDocumentBuilder::maxBreaks + 2);
}

void tst_DiaryWindow::veryLongEntriesAreNotWrapped_data() {
    QTest::addColumn<bool>("pasted");
    QTest::newRow("opened") << false;
    QTest::newRow("pasted") << true;
}
// The editor cannot lay out text reaching 2^23 pixels down; five million characters
// wrapped into a diary window would. Such an entry shows a line to a paragraph, and the
// next entry of ordinary length wraps again at the window's margin.
void tst_DiaryWindow::veryLongEntriesAreNotWrapped() {
    QFETCH(bool, pasted);
    TestWorld world;
    auto main = startProgram();
    const QString longEntry = world.path("long.DIA");
    const QString shortEntry = world.path("short.DIA");
    const QByteArray rtf = HostileRtf::make("long-paragraph", 5'000'000);
    writeFile(longEntry, rtf);
    writeFile(shortEntry, "{\\rtf1 " + QByteArray("a few words ").repeated(100) + "}");
    main->LoadNewDoc();
    frmDocument *entry = active(*main);
    const double margin = entry->rtfText->RightMargin();
    QVERIFY(margin > 0);
    auto linesOfFirstParagraph = [&] {
        QTextDocument *document = entry->rtfText->document();
        document->documentLayout()->blockBoundingRect(document->firstBlock());
        return document->firstBlock().layout()->lineCount();
    };
    if (pasted) {
        auto *offered = new QMimeData;
        offered->setData("text/rtf", rtf);
        QApplication::clipboard()->setMimeData(offered);
        command(*main, "mnuEditPaste")->trigger();
    } else {
        world.platform.answerFileDialog(longEntry);
        main->mnuFileOpenDiaryEntry_Click(1);
    }
    QVERIFY(entry->rtfText->document()->characterCount() > 4'000'000);
    QCOMPARE(linesOfFirstParagraph(), 1);
    QCOMPARE(entry->rtfText->RightMargin(), margin);
    // Moving to the end lays out everything before it, at once.
    QTest::keyClick(entry->rtfText, Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(entry->rtfText->textCursor().atEnd(), true);

    if (pasted)
        world.platform.answerMessage(MsgBoxResult::No); // the pasted text is not kept
    world.platform.answerFileDialog(shortEntry);
    main->mnuFileOpenDiaryEntry_Click(1);
    QVERIFY(linesOfFirstParagraph() > 1);
    QCOMPARE(entry->rtfText->RightMargin(), margin);
}

void tst_DiaryWindow::insertKeySwitchesToOverwriting() {
    TestWorld world;
    auto main = startProgram();
    QVERIFY(QTest::qWaitForWindowActive(main.get()));
    main->LoadNewDoc();
    frmDocument *entry = active(*main);
    QLabel *ins = main->sbStatusBar->panel(7);
    QCOMPARE(ins->text(), QString("INS"));
    QTRY_VERIFY(ins->isEnabled());
    type(*entry, "abc");
    QTest::keyClick(entry->rtfText, Qt::Key_Home);
    QTest::keyClick(entry->rtfText, Qt::Key_Insert);
    type(*entry, "X");
    QCOMPARE(entry->rtfText->toPlainText(), QString("Xbc"));
    QTRY_VERIFY(!ins->isEnabled());
    QTest::keyClick(entry->rtfText, Qt::Key_Insert);
    type(*entry, "Y");
    QCOMPARE(entry->rtfText->toPlainText(), QString("XYbc"));
    QTRY_VERIFY(ins->isEnabled());
}

void tst_DiaryWindow::pasteAndCutEdges_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<int>("selectionLength");
    QTest::addColumn<QString>("expected");
    QTest::newRow("paste nothing over a selection") << "Paste"
                                                    << "" << 4 << "abcd ";
    QTest::newRow("paste nothing at the caret") << "Paste"
                                                << "" << 0 << "abcd efgh";
    QTest::newRow("paste plain text") << "Paste"
                                      << "XY" << 4 << "abcd XY";
    QTest::newRow("cut with no selection") << "Cut"
                                           << "" << 0 << "abcd efgh";
    QTest::newRow("cut a selection") << "Cut"
                                     << "" << 4 << "abcd ";
}

void tst_DiaryWindow::pasteAndCutEdges() {
    QFETCH(QString, action);
    QFETCH(QString, clipboard);
    QFETCH(int, selectionLength);
    QFETCH(QString, expected);
    TestWorld world;
    auto main = startProgram();
    main->LoadNewDoc();
    frmDocument *entry = active(*main);
    type(*entry, "abcd efgh");
    if (clipboard.isEmpty())
        QApplication::clipboard()->clear();
    else
        QApplication::clipboard()->setText(clipboard);
    selectRange(*entry, 5, selectionLength);
    click(*main, action.toLatin1().constData());
    QCOMPARE(entry->rtfText->toPlainText(), expected);
}

void tst_DiaryWindow::formattingButtonsFollowTheCaret() {
    TestWorld world;
    const QString path = world.path("formatted.DIA");
    writeFile(path, "{\\rtf1\\ansi\\qc {\\b bold centred}\\par\\pard\\qr {\\i\\ul right}\\par}");
    auto main = startProgram();
    main->LoadNewDoc();
    world.platform.answerFileDialog(path);
    main->mnuFileOpenDiaryEntry_Click(1);
    frmDocument *entry = active(*main);
    auto pressed = [&] {
        QStringList keys;
        for (const char *key :
             {"Bold", "Italic", "Underline", "Align Left", "Center", "Align Right"})
            if (button(*main, key)->isChecked())
                keys << key;
        return keys;
    };
    entry->rtfText->setFocus();
    selectRange(*entry, 3, 0);
    QCOMPARE(pressed(), QStringList({"Bold", "Center"}));
    QTest::keyClick(entry->rtfText, Qt::Key_Down);
    QCOMPARE(pressed(), QStringList({"Italic", "Underline", "Align Right"}));
    // A selection over both paragraphs is mixed: nothing pressed.
    entry->rtfText->selectAll();
    QCOMPARE(pressed(), QStringList());
}

void tst_DiaryWindow::pageSetupNeedsNoWindow() {
    TestWorld world;
    auto main = startProgram();
    QVERIFY(command(*main, "mnuFilePageSetup")->isEnabled());
    world.platform.answerPageSetup(false);
    command(*main, "mnuFilePageSetup")->trigger();
    QCOMPARE(world.platform.printDialogs.size(), 1);
    QCOMPARE(world.platform.printDialogs[0].title, QString("Page Setup"));
    QVERIFY(world.platform.printDialogs[0].pageSetup);
    QVERIFY(world.platform.messages.isEmpty());
}

void tst_DiaryWindow::print_data() {
    QTest::addColumn<bool>("select");
    QTest::addColumn<bool>("cancel");
    QTest::addColumn<int>("flags");
    QTest::newRow("whole entry") << false << false << 264;
    QTest::newRow("selection") << true << false << 265;
    QTest::newRow("cancelled") << true << true << 265;
}

void tst_DiaryWindow::print() {
    QFETCH(bool, select);
    QFETCH(bool, cancel);
    QFETCH(int, flags);
    TestWorld world;
    auto main = startProgram();
    main->LoadNewDoc();
    frmDocument *entry = active(*main);
    type(*entry, "Morning walk. Evening rain.");
    if (select)
        selectRange(*entry, 14, 13);
    const QString pdf = world.path("printed.pdf");
    if (cancel)
        world.platform.answerPrintCancel();
    else
        world.platform.answerPrintToPdf(pdf);
    click(*main, "Print");
    QCOMPARE(world.platform.printDialogs.size(), 1);
    QCOMPARE(world.platform.printDialogs[0].title, QString("Print"));
    QCOMPARE(world.platform.printDialogs[0].flags, flags);
    QVERIFY(world.platform.messages.isEmpty());
    if (cancel) {
        QVERIFY(!QFile::exists(pdf));
        return;
    }
    QVERIFY(QFile::exists(pdf));
    if (QStandardPaths::findExecutable("pdftotext").isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed");
    QProcess text;
    text.start("pdftotext", {pdf, "-"});
    QVERIFY(text.waitForFinished());
    const QString printed = QString::fromUtf8(text.readAllStandardOutput()).simplified();
    // The page number stands at the foot of the page.
    QCOMPARE(printed,
             select ? QString("Evening rain. 1") : QString("Morning walk. Evening rain. 1"));
}

int main(int argc, char **argv) {
    OrvanelApplication application(argc, argv);
    tst_DiaryWindow test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_diarywindow.moc"
