// Recovery copies of unsaved diary entries: written while the user types, removed when
// the entry is saved or given up, and offered back after a crash, a kill or a SIGTERM,
// never to a second ORVANEL while the first one runs.
#include "startprogram.h"
#include "testworld.h"

#include "diary/entryrecovery.h"
#include "diary/frmdocument.h"
#include "diary/recovery.h"
#include "diary/recoveryfolder.h"
#include "diary/rtftextbox.h"
#include "platform/messagebox.h"
#include "rtf/rtfreader.h"
#include "rtf/rtfwriter.h"

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QDirIterator>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProcess>
#include <QTest>
#include <QTextBlock>
#include <QToolBar>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace std::chrono_literals;

namespace {

const QString notSaved = "Diary Entry Not Saved. Save it now ?";
const QString recoverOne = "ORVANEL was not closed properly. Recover 1 unsaved diary entry?";
const QString todaysEntry = "Diary 12-06-2026";

// The copies kept in the user's recovery folder, not counting those set aside.
QStringList copies() {
    QStringList found;
    QDirIterator it(RecoveryFolder::root(), {"entry-*.rtf"}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (QFileInfo(path).dir().dirName().startsWith("run-"))
            found << path;
    }
    return found;
}

QStringList setAside() {
    QStringList found;
    QDirIterator it(RecoveryFolder::root(), {"*.rtf"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (QFileInfo(path).dir().dirName().startsWith("set aside "))
            found << path;
    }
    return found;
}

QString textOfCopy(const QString &path) {
    const std::optional<RecoveryCopy> copy = RecoveryFolder::read(path);
    if (!copy)
        return "<not a copy>";
    QTextDocument document;
    RtfReader::readDocument(copy->rtf, document);
    return document.toPlainText();
}

// What a file's group and the other users may do with it, as mode bits.
unsigned accessOfOthers(const QString &path) {
    struct stat status {};
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_mode & 077 : 0777;
}

frmDocument *active(frmMain &main) {
    return qobject_cast<frmDocument *>(main.activeChild());
}

void quick(frmMain &main) {
    main.recovery().timing = {50ms, 300ms, 2000us};
}

void type(frmDocument &document, const QString &text) {
    document.rtfText->setFocus();
    QTest::keyClicks(document.rtfText, text);
}

// "Dear diary, " then "a good day" in bold, as a user types it with the toolbar.
void typeEntry(frmMain &main, frmDocument &document) {
    type(document, "Dear diary, ");
    QAction *bold = main.tbToolBar->findChild<QAction *>("Bold", Qt::FindDirectChildrenOnly);
    main.tbToolBar_ButtonClick(bold);
    type(document, "a good day");
}

bool boldAt(const QTextDocument &document, int position) {
    QTextCursor cursor(const_cast<QTextDocument *>(&document));
    cursor.setPosition(position);
    return cursor.charFormat().fontWeight() >= QFont::Bold;
}

// The program in a process of its own, started by this test with this test's world: it
// types an entry and tells when its copy is on disk ("copied") or, with copies held
// back, when the text is typed ("typed"); then it waits to be ended.
class ChildProgram {
public:
    explicit ChildProgram(const QString &scenario, const QString &programFolder) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("RECOVERY_CHILD", scenario);
        environment.insert("ORVANEL_HOME", programFolder);
        process_.setProcessEnvironment(environment);
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.start(QCoreApplication::applicationFilePath(), {});
    }
    ~ChildProgram() {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished();
        }
    }
    // The next line the program printed.
    QByteArray said() {
        while (!process_.canReadLine() && process_.waitForReadyRead(60000)) {
        }
        return process_.readLine().trimmed();
    }
    // Sends the signal; returns whether the process ended by a signal, as it does when
    // the signal is not caught or when the program ends as the signal would have.
    bool end(int signal) {
        ::kill(pid_t(process_.processId()), signal);
        return process_.waitForFinished(60000) && process_.exitStatus() == QProcess::CrashExit;
    }

private:
    QProcess process_;
};

int runChild(const QString &scenario) {
    ScriptedPlatform platform;
    platform.folder = qEnvironmentVariable("ORVANEL_HOME");
    auto main = startProgram();
    QCoreApplication::processEvents();
    if (scenario == "held") // nothing is written until the program is told to end
        main->recovery().timing = {1h, 1h, 2000us};
    else
        quick(*main);
    main->LoadNewDoc();
    typeEntry(*main, *active(*main));
    if (scenario == "held") {
        std::printf("typed\n");
    } else {
        QElapsedTimer waited;
        waited.start();
        while (copies().isEmpty() && waited.elapsed() < 30000)
            QTest::qWait(20);
        std::printf(copies().isEmpty() ? "no copy\n" : "copied\n");
    }
    std::fflush(stdout);
    return QCoreApplication::exec();
}

} // namespace

class tst_DiaryRecovery : public QObject {
    Q_OBJECT
private slots:
    void copyIsWholeOrTheOneBefore_data();
    void copyIsWholeOrTheOneBefore();
    void copyKeepsTitleAndFile();
    void writingInStepsFollowsEdits_data();
    void writingInStepsFollowsEdits();
    void copyFollowsTyping_data();
    void copyFollowsTyping();
    void copyEndsWithTheEntry_data();
    void copyEndsWithTheEntry();
    void entryComesBackAfterTheProgramEnds_data();
    void entryComesBackAfterTheProgramEnds();
    void runningProgramKeepsItsCopies();
    void noSetsTheCopiesAside();
    void damagedCopyIsSetAside();
    void onlyTheUsersOwnFoldersAreTaken_data();
    void onlyTheUsersOwnFoldersAreTaken();
    void namesFromACopyStayInTheDiary_data();
    void namesFromACopyStayInTheDiary();
    void unwritableFolderIsToldOnce();
};

void tst_DiaryRecovery::copyIsWholeOrTheOneBefore_data() {
    QTest::addColumn<int>("size");
    // Below and above what the file's own buffer holds back until the end.
    QTest::newRow("small") << 5000;
    QTest::newRow("large") << 20000;
}

void tst_DiaryRecovery::copyIsWholeOrTheOneBefore() {
    QFETCH(int, size);
    TestWorld world;
    RecoveryFolder folder;
    QCOMPARE(
        folder.write(1, {"Diary 12-06-2026", "", RtfWriter::writeDocument(QTextDocument("first"))}),
        QString());
    QCOMPARE(copies().size(), 1);
    const QString path = copies().first();
    const QByteArray before = [&] {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    // A write cut short (here by a file size limit, as by a full disk or a crash) leaves
    // the copy before it as it was, and no half copy beside it.
    const pid_t child = fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4096, 4096};
        setrlimit(RLIMIT_FSIZE, &limit);
        const QString failure =
            folder.write(1, {"Diary 12-06-2026", "",
                             RtfWriter::writeDocument(QTextDocument(QString(size, 'x')))});
        _exit(failure.isEmpty() ? 1 : 0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    QVERIFY2(WIFEXITED(status) && WEXITSTATUS(status) == 0, "the cut write was not told");
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), before);
    QCOMPARE(QDir(QFileInfo(path).path()).entryList(QDir::Files | QDir::Hidden),
             QStringList({"entry-1.rtf", "lock"}));
    QCOMPARE(textOfCopy(path), QString("first"));
}

void tst_DiaryRecovery::copyKeepsTitleAndFile() {
    TestWorld world;
    RecoveryFolder folder;
    // Names with what a file name or a JSON header must not spoil: braces, backslashes,
    // line ends and letters beyond Latin-1.
    const RecoveryCopy copy{"notes {old}\\\n\u00e9t\u00e9 \u6771\u4eac",
                            world.diaryFolder() + "/notes {old}\\\n\u00e9t\u00e9 \u6771\u4eac.DIA",
                            RtfWriter::writeDocument(QTextDocument("text"))};
    QCOMPARE(folder.write(7, copy), QString());
    // No one but the user reads the copy or the folders it is in.
    for (const QString &path : {copies().first(), QFileInfo(copies().first()).path(),
                                RecoveryFolder::root(), QFileInfo(RecoveryFolder::root()).path()})
        QCOMPARE(QString::number(accessOfOthers(path), 8), QString("0"));
    const std::optional<RecoveryCopy> read = RecoveryFolder::read(copies().first());
    QVERIFY(read);
    QCOMPARE(read->title, copy.title);
    QCOMPARE(read->filePath, copy.filePath);
    // Other readers open the copy as the entry alone.
    QTextDocument document;
    RtfReader::readDocument(RecoveryFolder::encode(copy), document);
    QCOMPARE(document.toPlainText(), QString("text"));
    // A file that is not a copy is not taken for one.
    QFile other(world.path("other.rtf"));
    QVERIFY(other.open(QIODevice::WriteOnly));
    other.write(copy.rtf);
    other.close();
    QVERIFY(!RecoveryFolder::read(other.fileName()));
}

void tst_DiaryRecovery::writingInStepsFollowsEdits_data() {
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QString>("expected");
    QTest::newRow("nothing") << ""
                             << "p0 p1 p2 p3 p4 p5";
    QTest::newRow("ahead: taken in") << "ahead"
                                     << "p0 p1 p2 p3 p4 p5 more";
    QTest::newRow("behind: written as it was") << "behind"
                                               << "p0 p1 p2 p3 p4 p5";
    QTest::newRow("across: written anew") << "across"
                                          << "p0 p3 p4 p5";
}
// A document written a paragraph a step while it is edited: every character in its place.
void tst_DiaryRecovery::writingInStepsFollowsEdits() {
    QFETCH(QString, edit);
    QFETCH(QString, expected);
    QTextDocument document;
    document.documentLayout(); // only a laid-out document, as a shown one is, tells changes
    QTextCursor cursor(&document);
    for (int i = 0; i < 6; ++i) {
        if (i > 0)
            cursor.insertBlock();
        cursor.insertText(QString("p%1").arg(i));
    }
    RtfIncrementalWriter writer(document);
    QObject::connect(
        &document, &QTextDocument::contentsChange, &document,
        [&](int from, int removed, int added) { writer.documentChanged(from, removed, added); });
    QVERIFY(!writer.writeFor(0ns)); // p0
    QVERIFY(!writer.writeFor(0ns)); // p1
    QVERIFY(!writer.writeFor(0ns)); // p2
    if (edit == "ahead") {
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(" more");
    } else if (edit == "behind") {
        cursor.setPosition(0);
        cursor.insertText("new ");
    } else if (edit == "across") {
        cursor.setPosition(document.findBlockByNumber(1).position());
        cursor.setPosition(document.findBlockByNumber(3).position(), QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
    }
    while (!writer.writeFor(0ns)) {
    }
    QTextDocument written;
    RtfReader::readDocument(writer.take(), written);
    QCOMPARE(written.toPlainText().replace(QChar('\n'), QChar(' ')), expected);
}

void tst_DiaryRecovery::copyFollowsTyping_data() {
    QTest::addColumn<bool>("pausing");
    QTest::newRow("after a pause") << true;
    QTest::newRow("while typing goes on") << false;
}
void tst_DiaryRecovery::copyFollowsTyping() {
    QFETCH(bool, pausing);
    TestWorld world;
    auto main = startProgram();
    // Pauses of a long while: only the longest wait writes the copy while typing goes on.
    main->recovery().timing =
        pausing ? RecoveryTiming{50ms, 1h, 2000us} : RecoveryTiming{1h, 300ms, 2000us};
    main->LoadNewDoc();
    frmDocument *entry = active(*main);
    QTest::qWait(200);
    QVERIFY(copies().isEmpty()); // nothing changed yet
    if (pausing) {
        typeEntry(*main, *entry);
    } else {
        for (int i = 0; i < 40 && copies().isEmpty(); ++i) {
            type(*entry, "x");
            QTest::qWait(25);
        }
    }
    QTRY_COMPARE(copies().size(), 1);
    QTRY_COMPARE(textOfCopy(copies().first()), entry->rtfText->toPlainText());
    QCOMPARE(RecoveryFolder::read(copies().first())->title, todaysEntry);
}

void tst_DiaryRecovery::copyEndsWithTheEntry_data() {
    QTest::addColumn<QString>("ending");
    QTest::addColumn<int>("copiesLeft");
    QTest::newRow("File > Save") << "save" << 0;
    QTest::newRow("closed, No to saving") << "close No" << 0;
    QTest::newRow("closed, Cancel") << "close Cancel" << 1;
    QTest::newRow("File > Open of another entry") << "open" << 0;
    QTest::newRow("File > Exit, No to saving") << "exit No" << 0;
}
void tst_DiaryRecovery::copyEndsWithTheEntry() {
    QFETCH(QString, ending);
    QFETCH(int, copiesLeft);
    TestWorld world;
    QDir().mkpath(world.diaryFolder());
    auto main = startProgram();
    quick(*main);
    main->LoadNewDoc();
    frmDocument *entry = active(*main);
    type(*entry, "words");
    QTRY_COMPARE(copies().size(), 1);
    if (ending == "save") {
        QTest::keyClick(entry->rtfText, Qt::Key_F2);
    } else if (ending.startsWith("close")) {
        world.platform.answerMessage(ending.endsWith("No") ? MsgBoxResult::No
                                                           : MsgBoxResult::Cancel);
        main->mdiArea()->currentSubWindow()->close();
    } else if (ending == "open") {
        const QString other = world.diaryFolder() + "/other.DIA";
        QFile file(other);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("{\\rtf1 other}");
        file.close();
        world.platform.answerMessage(MsgBoxResult::No);
        world.platform.answerFileDialog(other);
        main->mnuFileOpenDiaryEntry_Click(1);
        QCOMPARE(entry->rtfText->toPlainText(), QString("other"));
    } else {
        world.platform.answerMessage(MsgBoxResult::No);
        main->mnuFileExit_Click();
        QVERIFY(world.platform.programEnded);
    }
    main->recovery().flush();
    QCOMPARE(copies().size(), copiesLeft);
    // Typing again after a save keeps a copy again.
    if (ending == "save") {
        type(*entry, " more");
        QTRY_COMPARE(copies().size(), 1);
        QTRY_COMPARE(textOfCopy(copies().first()), QString("words more"));
    }
}

void tst_DiaryRecovery::entryComesBackAfterTheProgramEnds_data() {
    QTest::addColumn<QString>("scenario");
    QTest::addColumn<int>("signal");
    // Killed after its copy was written: nothing more could happen.
    QTest::newRow("SIGKILL") << "copied" << SIGKILL;
    // Told to end before any copy was written: the copy is written then.
    QTest::newRow("SIGTERM") << "held" << SIGTERM;
    QTest::newRow("SIGHUP") << "held" << SIGHUP;
}
void tst_DiaryRecovery::entryComesBackAfterTheProgramEnds() {
    QFETCH(QString, scenario);
    QFETCH(int, signal);
    TestWorld world;
    {
        ChildProgram child(scenario, world.programFolder());
        QCOMPARE(child.said(), scenario == "held" ? QByteArray("typed") : QByteArray("copied"));
        if (scenario == "held")
            QVERIFY(copies().isEmpty());
        QVERIFY(child.end(signal));
    }
    QCOMPARE(copies().size(), 1);

    world.platform.answerMessage(MsgBoxResult::Yes);
    auto main = startProgram();
    QCoreApplication::processEvents();
    QCOMPARE(world.platform.messages.size(), 1);
    QCOMPARE(world.platform.messages[0].text, recoverOne);
    QCOMPARE(world.platform.messages[0].buttons(), int(MsgBoxStyle::YesNo));
    frmDocument *entry = active(*main);
    QVERIFY(entry);
    QCOMPARE(entry->windowTitle(), todaysEntry);
    QCOMPARE(entry->rtfText->toPlainText(), QString("Dear diary, a good day"));
    QVERIFY(!boldAt(*entry->rtfText->document(), 5));
    QVERIFY(boldAt(*entry->rtfText->document(), 15));
    // The copy is this run's now: it stays until the entry is saved or given up.
    QCOMPARE(copies().size(), 1);
    world.platform.answerMessage(MsgBoxResult::No);
    main->mdiArea()->currentSubWindow()->close();
    QCOMPARE(world.platform.messages.size(), 2);
    QCOMPARE(world.platform.messages[1].text, notSaved);
    main->recovery().flush();
    QVERIFY(copies().isEmpty());
}

void tst_DiaryRecovery::runningProgramKeepsItsCopies() {
    TestWorld world;
    ChildProgram first("copied", world.programFolder());
    QCOMPARE(first.said(), QByteArray("copied"));
    {
        // A second program while the first one runs: no question, nothing taken.
        auto second = startProgram();
        QCoreApplication::processEvents();
        QCOMPARE(world.platform.messages.size(), 0);
        QCOMPARE(copies().size(), 1);
    }
    QVERIFY(first.end(SIGKILL));
    world.platform.answerMessage(MsgBoxResult::Yes);
    auto third = startProgram();
    QCoreApplication::processEvents();
    QCOMPARE(world.platform.messages.size(), 1);
    QCOMPARE(active(*third)->rtfText->toPlainText(), QString("Dear diary, a good day"));
}

void tst_DiaryRecovery::noSetsTheCopiesAside() {
    TestWorld world;
    {
        ChildProgram child("copied", world.programFolder());
        QCOMPARE(child.said(), QByteArray("copied"));
        QVERIFY(child.end(SIGKILL));
    }
    world.platform.answerMessage(MsgBoxResult::No);
    world.platform.answerMessage(MsgBoxResult::Ok);
    auto main = startProgram();
    QCoreApplication::processEvents();
    QCOMPARE(world.platform.messages.size(), 2);
    QCOMPARE(main->mdiArea()->subWindowList().size(), 0);
    QVERIFY(copies().isEmpty());
    const QStringList kept = setAside();
    QCOMPARE(kept.size(), 1);
    QCOMPARE(QFileInfo(kept[0]).fileName(), todaysEntry + ".rtf");
    QCOMPARE(textOfCopy(kept[0]), QString("Dear diary, a good day"));
    QCOMPARE(world.platform.messages[1].text,
             "The unsaved diary entries were set aside in " + QFileInfo(kept[0]).path() +
                 ". Each is an RTF file that a word processor opens.");
    // Set aside is set aside: the next start asks nothing.
    auto next = startProgram();
    QCoreApplication::processEvents();
    QCOMPARE(world.platform.messages.size(), 2);
    QCOMPARE(setAside().size(), 1);
}

// A copy cut short by the disk, or edited by hand, opens no window but is kept.
void tst_DiaryRecovery::damagedCopyIsSetAside() {
    TestWorld world;
    const QString run = RecoveryFolder::root() + "/run-1-1";
    QVERIFY(QDir().mkpath(run));
    QFile damaged(run + "/entry-1.rtf");
    QVERIFY(damaged.open(QIODevice::WriteOnly));
    damaged.write("{\\rtf1{\\*\\orvanelrecovery 7b22");
    damaged.close();
    world.platform.answerMessage(MsgBoxResult::Yes);
    world.platform.answerMessage(MsgBoxResult::Ok);
    auto main = startProgram();
    QCoreApplication::processEvents();
    QCOMPARE(world.platform.messages.size(), 2);
    QCOMPARE(world.platform.messages[0].text, recoverOne);
    QVERIFY(
        world.platform.messages[1].text.startsWith("The unsaved diary entries were set aside in "));
    QCOMPARE(main->mdiArea()->subWindowList().size(), 0);
    QCOMPARE(setAside().size(), 1);
    QVERIFY(!QFileInfo::exists(run)); // the emptied folder goes
}

void tst_DiaryRecovery::onlyTheUsersOwnFoldersAreTaken_data() {
    QTest::addColumn<QString>("planted");
    QTest::newRow("a link to a folder elsewhere") << "link";
    QTest::newRow("another user's folder") << "foreign";
    QTest::newRow("a link for the recovery folder") << "root link";
}

// What another user plants among the copies is neither offered, read, moved from nor
// changed: it is moved out of the way and the user hears of it.
void tst_DiaryRecovery::onlyTheUsersOwnFoldersAreTaken() {
    QFETCH(QString, planted);
    TestWorld world;
    const QString elsewhere = world.path("elsewhere");
    QVERIFY(QDir().mkpath(elsewhere));
    const QByteArray copy = RecoveryFolder::encode(
        {todaysEntry, "", RtfWriter::writeDocument(QTextDocument("planted"))});
    for (const QString name : {"entry-1.rtf", "lock"}) {
        QFile file(elsewhere + "/" + name);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(copy);
    }
    const QString root = RecoveryFolder::root();
    QVERIFY(QDir().mkpath(QFileInfo(root).path()));
    if (planted == "root link") {
        QVERIFY(QDir().mkpath(elsewhere + "/run-1-1"));
        QVERIFY(QFile::rename(elsewhere + "/entry-1.rtf", elsewhere + "/run-1-1/entry-1.rtf"));
        QVERIFY(QFile::link(elsewhere, root));
    } else {
        QVERIFY(QDir().mkpath(root));
        if (planted == "link") {
            QVERIFY(QFile::link(elsewhere, root + "/run-1-1"));
        } else {
            QVERIFY(QDir().rename(elsewhere, root + "/run-1-1"));
            QCOMPARE(::chown(QFile::encodeName(root + "/run-1-1").constData(), 65534, 65534), 0);
        }
    }
    world.platform.answerMessage(MsgBoxResult::Ok);
    auto main = startProgram();
    QCoreApplication::processEvents();
    QCOMPARE(world.platform.messages.size(), 1);
    QVERIFY2(world.platform.messages[0].text.startsWith(
                 "Among the copies of unsaved diary entries stood what ORVANEL did not make"),
             qPrintable(world.platform.messages[0].text));
    QCOMPARE(main->mdiArea()->subWindowList().size(), 0);
    QVERIFY(setAside().isEmpty());
    // Untouched where it is now, under the name the message gives.
    const QString now = world.platform.messages[0].text.section('\n', -1);
    const QString lock = planted == "root link" ? now + "/run-1-1/entry-1.rtf" : now + "/lock";
    QVERIFY2(QFileInfo(lock).isFile(), qPrintable(lock));
    // The folder made in its place is the user's alone.
    QVERIFY(QFileInfo(root).isDir() && !QFileInfo(root).isSymLink());
    QCOMPARE(accessOfOthers(root), 0u);
    // Told once: the next start asks and says nothing.
    auto next = startProgram();
    QCoreApplication::processEvents();
    QCOMPARE(world.platform.messages.size(), 1);
}

void tst_DiaryRecovery::namesFromACopyStayInTheDiary_data() {
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("file"); // DIARY stands for the diary folder, WORLD the test's
    QTest::addColumn<QString>("shownTitle");
    QTest::addColumn<QString>("keptFile");
    QTest::newRow("an entry of the diary") << "Diary 12-05-2026"
                                           << "DIARY/Diary 12-05-2026.DIA"
                                           << "Diary 12-05-2026"
                                           << "DIARY/Diary 12-05-2026.DIA";
    QTest::newRow("a title that climbs out") << "../../../../escaped"
                                             << ""
                                             << "escaped"
                                             << "";
    QTest::newRow("a file outside the diary") << "Diary 12-05-2026"
                                              << "WORLD/script.sh"
                                              << "Diary 12-05-2026"
                                              << "";
    QTest::newRow("a file that climbs out of it") << "Diary 12-05-2026"
                                                  << "DIARY/../script.sh"
                                                  << "Diary 12-05-2026"
                                                  << "";
    QTest::newRow("a file through a link") << "x"
                                           << "DIARY/link/x.DIA"
                                           << "x"
                                           << "";
    QTest::newRow("an entry saved elsewhere") << "WORLD/notes.DIA"
                                              << "WORLD/notes.DIA"
                                              << "notes"
                                              << "";
    QTest::newRow("nothing of a name") << "../"
                                       << ""
                                       << "Recovered entry"
                                       << "";
}

void tst_DiaryRecovery::namesFromACopyStayInTheDiary() {
    QFETCH(QString, title);
    QFETCH(QString, file);
    QFETCH(QString, shownTitle);
    QFETCH(QString, keptFile);
    TestWorld world;
    const auto place = [&](QString path) {
        return path.replace("DIARY", world.diaryFolder()).replace("WORLD", world.path(""));
    };
    QVERIFY(QDir().mkpath(world.diaryFolder()));
    QVERIFY(QFile::link(world.path(""), world.diaryFolder() + "/link"));
    QFile script(world.path("script.sh"));
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\n");
    script.close();
    const QString run = RecoveryFolder::root() + "/run-1-1";
    QVERIFY(QDir().mkpath(run));
    QFile copy(run + "/entry-1.rtf");
    QVERIFY(copy.open(QIODevice::WriteOnly));
    copy.write(RecoveryFolder::encode(
        {place(title), place(file), RtfWriter::writeDocument(QTextDocument("recovered"))}));
    copy.close();
    world.platform.answerMessage(MsgBoxResult::Yes);
    auto main = startProgram();
    QCoreApplication::processEvents();
    frmDocument *entry = active(*main);
    QVERIFY(entry);
    QCOMPARE(entry->windowTitle(), shownTitle);
    QCOMPARE(entry->filePath, place(keptFile));
    QTest::keyClick(entry->rtfText, Qt::Key_F2);
    const QString saved =
        keptFile.isEmpty() ? world.diaryFolder() + "/" + shownTitle + ".DIA" : place(keptFile);
    QVERIFY2(QFileInfo(saved).isFile(), qPrintable(saved));
    QVERIFY(script.open(QIODevice::ReadOnly));
    QCOMPARE(script.readAll(), QByteArray("#!/bin/sh\n"));
}

void tst_DiaryRecovery::unwritableFolderIsToldOnce() {
    TestWorld world;
    // A file where the state folder should be: no one, not even root, makes a folder in it.
    QFile blocker(world.path("state"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    world.platform.answerMessage(MsgBoxResult::Ok);
    auto main = startProgram();
    quick(*main);
    main->LoadNewDoc();
    frmDocument *entry = active(*main);
    type(*entry, "first words");
    QTRY_COMPARE(world.platform.messages.size(), 1);
    QVERIFY(world.platform.messages[0].text.startsWith(
        "Copies of unsaved diary entries cannot be kept in " + RecoveryFolder::root()));
    type(*entry, ", and more");
    QTest::qWait(600);
    QCOMPARE(world.platform.messages.size(), 1);
    QCOMPARE(entry->rtfText->toPlainText(), QString("first words, and more"));
}

int main(int argc, char **argv) {
    QApplication application(argc, argv);
    if (qEnvironmentVariableIsSet("RECOVERY_CHILD"))
        return runChild(qEnvironmentVariable("RECOVERY_CHILD"));
    tst_DiaryRecovery test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_diaryrecovery.moc"
