// The four small windows as the user meets them: the tip of the day (the start-up tip,
// View > Tips, stepping through the tips file, its check box), the options dialog and its
// three menu items, the command-line runner, and the About box with its System Info button
// and the registry hive that names the system information program.
#include "accessories/frmabout.h"
#include "accessories/frmmsdos.h"
#include "accessories/frmproperties.h"
#include "accessories/frmtip.h"
#include "filepermissions.h"
#include "platform/application.h"
#include "platform/messagebox.h"
#include "platform/registry.h"
#include "platform/settings.h"
#include "shell/frmmain.h"
#include "startprogram.h"
#include "testworld.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <orvanel/version.h>

namespace {

// Chooses a menu command of the main window by its item's name.
void choose(frmMain &main, const char *item) {
    auto *action = main.findChild<QAction *>(QLatin1String(item));
    QVERIFY2(action, item);
    action->trigger();
}

// The accessory window of a kind, once the program made it.
template <typename Window> Window *shown(frmMain &main) {
    return main.accessoryWindow<Window>();
}

// What a screen reader hears as a control's name.
QString spokenName(QObject *control) {
    QAccessibleInterface *reader = QAccessible::queryAccessibleInterface(control);
    return reader ? reader->text(QAccessible::Name) : QString();
}

// Presses a button as a screen reader does, through its Press action.
void pressAsReader(QObject *button) {
    QAccessibleInterface *reader = QAccessible::queryAccessibleInterface(button);
    QVERIFY(reader && reader->actionInterface());
    reader->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
}

const QString tipsFile = QStringLiteral("TIPOFDAY.TXT");

// The start-up tip option as stored; "absent" when nothing is.
QString storedOption() {
    return GetSetting("orvanel", "Options", "Show Tips at Startup", "absent");
}

void storeOption(const QString &value) {
    SaveSetting("orvanel", "Options", "Show Tips at Startup", value);
}

// The tips the window shows, from the one it opened on, pressing Next Tip in between.
QStringList tipsShown(frmTip &tip, int count) {
    QStringList shown;
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            QTest::mouseClick(tip.cmdNextTip, Qt::LeftButton);
        shown << tip.lblTipText->text();
    }
    return shown;
}

frmTip *viewTips(frmMain &main) {
    choose(main, "mnuViewTips");
    return shown<frmTip>(main);
}

const QString notFoundText =
    "That the TIPOFDAY.TXT file was not found? \r\n\r\nCreate a text file named TIPOFDAY.TXT "
    "using NotePad with 1 tip per line. Then place it in the same directory as the "
    "application. ";

// A script that writes its arguments, one a line, to OUT beside it, and appends a line
// to RUNS: a program seen to run.
QString recordingProgram(const QString &folder) {
    const QString path = folder + "/record args.sh";
    writeFile(path, "#!/bin/sh\n"
                    "here=$(dirname \"$0\")\n"
                    "printf '%s\\n' \"$@\" >\"$here/OUT\"\n"
                    "echo ran >>\"$here/RUNS\"\n");
    QFile::setPermissions(path,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return path;
}

QStringList linesOf(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
}

frmMSDOS *openRunner(frmMain &main) {
    choose(main, "mnudatamsdos");
    return shown<frmMSDOS>(main);
}

void typeCommand(frmMSDOS &runner, const QString &text) {
    runner.Text1->setFocus();
    QTest::keyClicks(runner.Text1, text);
}

void writeHive(const QString &programFolder, const QByteArray &body) {
    QDir().mkpath(programFolder + "/registry");
    writeFile(programFolder + "/registry/local-machine.reg", body);
}

const QByteArray msinfoSection =
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools\\MSINFO]\n";
const QByteArray locationSection =
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools Location]\n";
const QString unavailable = "System Information Is Unavailable At This Time";

} // namespace

class tst_Accessories : public QObject {
    Q_OBJECT
private slots:
    void tipsFollowTheFileAndWrap_data();
    void tipsFollowTheFileAndWrap();
    void reopeningGoesOnFromTheNextTip();
    void tipsFileThatCannotBeRead_data();
    void tipsFileThatCannotBeRead();
    void checkBoxStoresAtOnce();
    void startupTimer_data();
    void startupTimer();
    void optionsWindowStoresOnlyWhatIsConfirmed_data();
    void optionsWindowStoresOnlyWhatIsConfirmed();
    void optionsItemsShareOneWindow();
    void spokenNames();
    void runnerStartsARealProgram();
    void runnerSplitsLikeAShell_data();
    void runnerSplitsLikeAShell();
    void runnerFailuresAreTold_data();
    void runnerFailuresAreTold();
    void runnerTakesAHundredCharacters();
    void enterAndEscInTheBoxDoNothing();
    void anOpenAccessoryKeepsTheProgramRunning_data();
    void anOpenAccessoryKeepsTheProgramRunning();
    void resetCloseAndReopen();
    void about_data();
    void about();
    void systemInfo_data();
    void systemInfo();
    void registryReads_data();
    void registryReads();
    void writeRightsNeedAWritableHive();
    void theBuildNamesTheSystemInformationProgram();
};

void tst_Accessories::tipsFollowTheFileAndWrap_data() {
    QTest::addColumn<QByteArray>("file"); // the one the program ships
    QTest::addColumn<QByteArray>("own");  // the user's own in the data folder; null: none
    QTest::addColumn<QStringList>("expected");
    const QStringList abc{"A", "B", "C", "A"};
    const QString cafe = QString::fromUtf8("Caf\xC3\xA9 \xE2\x82\xAC");
    QTest::newRow("line feeds") << QByteArray("A\nB\nC\n") << QByteArray() << abc;
    QTest::newRow("CR LF") << QByteArray("A\r\nB\r\nC\r\n") << QByteArray() << abc;
    QTest::newRow("lone CR") << QByteArray("A\rB\rC\r") << QByteArray() << abc;
    QTest::newRow("no end after the last line") << QByteArray("A\nB\r\nC") << QByteArray() << abc;
    QTest::newRow("empty line in the middle")
        << QByteArray("A\n\nC\n") << QByteArray() << QStringList{"A", "", "C", "A"};
    QTest::newRow("blanks kept") << QByteArray("  A tip  \nB\n") << QByteArray()
                                 << QStringList{"  A tip  ", "B", "  A tip  "};
    QTest::newRow("UTF-8 with a byte-order mark") << QByteArray("\xEF\xBB\xBF"
                                                                "Caf\xC3\xA9 \xE2\x82\xAC\nB\n")
                                                  << QByteArray() << QStringList{cafe, "B", cafe};
    QTest::newRow("one line end only") << QByteArray("\n") << QByteArray() << QStringList{"", ""};
    QTest::newRow("empty file") << QByteArray("") << QByteArray() << QStringList{"", ""};
    QTest::newRow("markup stays text")
        << QByteArray("<b>bold</b>\n") << QByteArray() << QStringList{"<b>bold</b>", "<b>bold</b>"};
    QTest::newRow("the user's own file wins")
        << QByteArray("Shipped\n") << QByteArray("My own\n") << QStringList{"My own", "My own"};
}

void tst_Accessories::tipsFollowTheFileAndWrap() {
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, own);
    QFETCH(QStringList, expected);
    TestWorld world;
    // The tips the program ships, in a folder of their own as an installed program has.
    world.platform.shipped = world.path("shipped");
    QVERIFY(QDir().mkpath(world.platform.shipped));
    writeFile(world.platform.shipped + "/" + tipsFile, file);
    if (!own.isNull())
        writeFile(world.programFolder() + "/" + tipsFile, own);
    auto main = startProgram();
    frmTip *tip = viewTips(*main);
    QVERIFY(tip && tip->isVisible());
    QCOMPARE(tipsShown(*tip, int(expected.size())), expected);
}

void tst_Accessories::reopeningGoesOnFromTheNextTip() {
    TestWorld world;
    writeFile(world.programFolder() + "/" + tipsFile, "A\nB\nC\n");
    auto main = startProgram();
    frmTip *tip = viewTips(*main);
    QCOMPARE(tipsShown(*tip, 2), (QStringList{"A", "B"}));
    QTest::mouseClick(tip->cmdOK, Qt::LeftButton);
    QVERIFY(!tip->isVisible());
    QCOMPARE(viewTips(*main), tip);
    QVERIFY(tip->isVisible());
    QCOMPARE(tipsShown(*tip, 3), (QStringList{"C", "A", "B"}));
    // The close box unloads it as OK does; the next showing goes on again.
    tip->close();
    QCOMPARE(viewTips(*main)->lblTipText->text(), QString("C"));
    // Showing it while it is open only brings it forward: no tip is skipped.
    QCOMPARE(viewTips(*main)->lblTipText->text(), QString("C"));
}

// Without a tips file the window explains how to make one; a file it cannot read is
// named with the reason. Next Tip shows the same, and once the file can be read the
// next showing reads it, going on from the tip Next Tip counted on to.
void tst_Accessories::tipsFileThatCannotBeRead_data() {
    QTest::addColumn<QString>("trouble");
    QTest::addColumn<QString>("says"); // empty: the explanation of a missing file
    QTest::newRow("missing") << "missing" << QString();
    QTest::newRow("a folder of that name") << "folder" << QString();
    QTest::newRow("no permission") << "permission" << QString("Permission denied");
    QTest::newRow("too large") << "size" << QString("larger than the 4 MiB a tips file can be");
}

void tst_Accessories::tipsFileThatCannotBeRead() {
    QFETCH(QString, trouble);
    QFETCH(QString, says);
    TestWorld world;
    const QString path = world.programFolder() + "/" + tipsFile;
    if (trouble == "size") {
        writeFile(path, QByteArray("A\nB\n").repeated(1024 * 1024 + 1));
    } else if (trouble == "permission") {
        writeFile(path, "A\nB\n");
        QFile::setPermissions(path, QFileDevice::WriteOwner);
    } else if (trouble == "folder") {
        QVERIFY(QDir().mkpath(path));
    }
    auto main = startProgram();
    frmTip *tip = nullptr;
    {
        FilePermissionsApply asAnyUser;
        tip = viewTips(*main);
    }
    const QString told = tip->lblTipText->text();
    if (says.isEmpty()) {
        QCOMPARE(told, notFoundText);
    } else {
        QVERIFY2(told.contains(QDir::toNativeSeparators(path)), qPrintable(told));
        QVERIFY2(told.contains(says), qPrintable(told));
    }
    QTest::mouseClick(tip->cmdNextTip, Qt::LeftButton);
    QCOMPARE(tip->lblTipText->text(), told);
    tip->close();
    QDir(path).removeRecursively();
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    writeFile(path, "A\nB\n");
    QCOMPARE(viewTips(*main)->lblTipText->text(), QString("B"));
}

// View > Tips switches the start-up tip back on; the box then stores each change at once,
// by Space or by a screen reader's Toggle.
void tst_Accessories::checkBoxStoresAtOnce() {
    TestWorld world;
    writeFile(world.programFolder() + "/" + tipsFile, "A\n");
    storeOption("0");
    auto main = startProgram();
    frmTip *tip = viewTips(*main);
    QCOMPARE(storedOption(), QString("1"));
    QVERIFY(tip->chkLoadTipsAtStartup->isChecked());
    QCOMPARE(tip->lblTipText->text(), QString("A"));
    tip->chkLoadTipsAtStartup->setFocus();
    QTest::keyClick(tip->chkLoadTipsAtStartup, Qt::Key_Space);
    QVERIFY(!tip->chkLoadTipsAtStartup->isChecked());
    QCOMPARE(storedOption(), QString("0"));
    QVERIFY(tip->isVisible());
    QAccessibleInterface *reader = QAccessible::queryAccessibleInterface(tip->chkLoadTipsAtStartup);
    reader->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    QVERIFY(tip->chkLoadTipsAtStartup->isChecked());
    QCOMPARE(storedOption(), QString("1"));
}

void tst_Accessories::startupTimer_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("tipComesUp");
    QTest::newRow("nothing stored") << QString() << true;
    QTest::newRow("on") << "1" << true;
    QTest::newRow("off") << "0" << false;
    QTest::newRow("off, written as a number") << "0.0" << false;
    QTest::newRow("not a number counts as on") << "yes" << true;
}

void tst_Accessories::startupTimer() {
    QFETCH(QString, stored);
    QFETCH(bool, tipComesUp);
    TestWorld world;
    writeFile(world.programFolder() + "/" + tipsFile, "A\nB\n");
    if (!stored.isNull())
        storeOption(stored);
    auto main = startProgram(StartupTimer::Running);
    QVERIFY(!shown<frmTip>(*main));
    if (tipComesUp) {
        QTRY_VERIFY(shown<frmTip>(*main) && shown<frmTip>(*main)->isVisible());
        QCOMPARE(shown<frmTip>(*main)->lblTipText->text(), QString("A"));
        QCOMPARE(storedOption(), QString("1"));
    } else {
        QTRY_VERIFY(!main->Timer1->isActive());
        QTest::qWait(100);
        QVERIFY(!shown<frmTip>(*main));
        QCOMPARE(storedOption(), stored);
    }
    // The timer fires once.
    QVERIFY(!main->Timer1->isActive());
}

// The options window shows the stored choice of the start-up tip each time it is
// loaded, and stores the box only when OK or Enter confirms it.
void tst_Accessories::optionsWindowStoresOnlyWhatIsConfirmed_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("item");
    QTest::addColumn<bool>("toggle");
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("storedAfter");
    const struct {
        const char *name, *stored, *item;
        bool toggle;
        const char *how, *after;
    } rows[] = {
        {"nothing stored, OK", nullptr, "mnuToolsOptions", false, "OK", "1"},
        {"on, OK", "1", "mnuToolsOptions", false, "OK", "1"},
        {"off, OK", "0", "mnuViewOptions", false, "OK", "0"},
        {"off, changed, Enter", "0", "mnuFileProperties", true, "Enter", "1"},
        {"on, changed, Enter", "1", "mnuToolsOptions", true, "Enter", "0"},
        {"changed, Cancel", "0", "mnuFileProperties", true, "Cancel", "0"},
        {"changed, close box", "0", "mnuFileProperties", true, "close", "0"},
        {"changed, Esc", "0", "mnuFileProperties", true, "Esc", "0"},
    };
    for (const auto &row : rows)
        QTest::newRow(row.name) << QString(row.stored) << QString(row.item) << row.toggle
                                << QString(row.how) << QString(row.after);
}

void tst_Accessories::optionsWindowStoresOnlyWhatIsConfirmed() {
    QFETCH(QString, stored);
    QFETCH(QString, item);
    QFETCH(bool, toggle);
    QFETCH(QString, how);
    QFETCH(QString, storedAfter);
    TestWorld world;
    if (!stored.isNull())
        storeOption(stored);
    auto main = startProgram();
    choose(*main, item.toLatin1().constData());
    auto *options = shown<frmProperties>(*main);
    QVERIFY(options && options->isVisible());
    QCOMPARE(options->Check1->isChecked(), stored != "0");
    if (toggle)
        QTest::keyClick(options->Check1, Qt::Key_Space);
    if (how == "OK")
        QTest::mouseClick(options->OKButton, Qt::LeftButton);
    else if (how == "Enter")
        QTest::keyClick(options->Check1, Qt::Key_Return);
    else if (how == "Cancel")
        QTest::mouseClick(options->CancelButton, Qt::LeftButton);
    else if (how == "close")
        options->close();
    else
        QTest::keyClick(options->Check1, Qt::Key_Escape);
    QVERIFY(!options->isVisible());
    QCOMPARE(storedOption(), storedAfter);
    // Loaded again, it shows the stored choice, not the one left in the box.
    choose(*main, "mnuViewOptions");
    QCOMPARE(options->Check1->isChecked(), storedAfter == "1");
}

void tst_Accessories::optionsItemsShareOneWindow() {
    TestWorld world;
    auto main = startProgram();
    choose(*main, "mnuFileProperties");
    auto *options = shown<frmProperties>(*main);
    QTest::keyClick(options->Check1, Qt::Key_Space); // a change not yet confirmed
    for (const char *item : {"mnuViewOptions", "mnuToolsOptions"}) {
        choose(*main, item);
        QCOMPARE(shown<frmProperties>(*main), options);
        QVERIFY(options->isVisible());
        QVERIFY2(!options->Check1->isChecked(), item);
    }
    // The options window and the tip window are both open and both usable.
    QVERIFY(options->isVisible() && viewTips(*main)->isVisible());
    QVERIFY(!options->isModal());
}

void tst_Accessories::spokenNames() {
    TestWorld world;
    writeFile(world.programFolder() + "/" + tipsFile, "A tip to read.\n");
    auto main = startProgram();
    const struct {
        const char *item, *control, *spoken;
    } controls[] = {
        {"mnuViewTips", "cmdOK", "OK"},
        {"mnuViewTips", "cmdNextTip", "Next Tip"},
        {"mnuViewTips", "lblTipText", "A tip to read."},
        {"mnuViewTips", "Label1", "Did you know..."},
        {"mnuViewTips", "chkLoadTipsAtStartup", "Show Tips at Startup"},
        {"mnuViewOptions", "OKButton", "OK"},
        {"mnuViewOptions", "CancelButton", "Cancel"},
        {"mnuViewOptions", "Check1", "Show Tips at Start Up"},
        {"mnuViewOptions", "Label1", "TIP OF THE DAY FILE :  TIPOFDAY.TXT"},
    };
    for (const auto &control : controls) {
        choose(*main, control.item);
        QWidget *window = qstrcmp(control.item, "mnuViewTips") == 0
                              ? static_cast<QWidget *>(shown<frmTip>(*main))
                              : shown<frmProperties>(*main);
        auto *widget = window->findChild<QWidget *>(control.control);
        QVERIFY2(widget, control.control);
        QCOMPARE(spokenName(widget), QString(control.spoken));
        // One-line controls show their whole text.
        if (qstrcmp(control.control, "lblTipText") != 0)
            QVERIFY2(widget->width() >= widget->sizeHint().width(), control.control);
    }
}

void tst_Accessories::runnerStartsARealProgram() {
    TestWorld world;
    world.platform.startProgramsForReal = true;
    const QString program = recordingProgram(world.programFolder());
    auto main = startProgram();
    frmMSDOS *runner = openRunner(*main);
    QVERIFY(runner && runner->isVisible());
    QVERIFY(!runner->isModal());
    const QString line = "'" + program + "' \"two words\" it\\'s";
    typeCommand(*runner, line);
    QTest::mouseClick(runner->Command1, Qt::LeftButton);
    QTRY_COMPARE(linesOf(world.programFolder() + "/OUT"), (QStringList{"two words", "it's"}));
    QVERIFY(world.platform.messages.isEmpty());
    QCOMPARE(runner->Text1->text(), line);
    QVERIFY(runner->isVisible());
    // OK again starts a second copy; a screen reader's Press does what a click does.
    pressAsReader(runner->Command1);
    QTRY_COMPARE(linesOf(world.programFolder() + "/RUNS").size(), 2);
}

void tst_Accessories::runnerSplitsLikeAShell_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("started");
    QTest::newRow("plain words") << "gedit  notes.txt\tmore"
                                 << QStringList{"gedit", "notes.txt", "more"};
    QTest::newRow("double quotes") << "ls \"My Documents\"" << QStringList{"ls", "My Documents"};
    QTest::newRow("single quotes keep backslashes")
        << "echo 'a\\b \"c\"'" << QStringList{"echo", "a\\b \"c\""};
    QTest::newRow("escapes in double quotes")
        << "echo \"say \\\"hi\\\" \\\\ \\n\"" << QStringList{"echo", "say \"hi\" \\ \\n"};
    QTest::newRow("backslash blank") << "cat a\\ b" << QStringList{"cat", "a b"};
    QTest::newRow("quotes join a word") << "x a\"b c\"'d'" << QStringList{"x", "ab cd"};
    QTest::newRow("empty argument") << "x \"\" y" << QStringList{"x", "", "y"};
    QTest::newRow("no shell at work")
        << "echo $HOME; rm -rf x | y" << QStringList{"echo", "$HOME;", "rm", "-rf", "x", "|", "y"};
    QTest::newRow("leading blanks") << "   prog" << QStringList{"prog"};
}

void tst_Accessories::runnerSplitsLikeAShell() {
    QFETCH(QString, line);
    QFETCH(QStringList, started);
    TestWorld world;
    auto main = startProgram();
    frmMSDOS *runner = openRunner(*main);
    runner->Text1->setText(line);
    QTest::mouseClick(runner->Command1, Qt::LeftButton);
    QCOMPARE(world.platform.startedPrograms, QList<QStringList>{started});
    QVERIFY(world.platform.messages.isEmpty());
}

void tst_Accessories::runnerFailuresAreTold_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("told");
    const char *rows[][3] = {
        {"empty line", "", "the command line is empty"},
        {"only blanks", "   ", "the command line is empty"},
        {"no such program", "no-such-program-orvanel --help", "No such file or directory"},
        {"no such file", "/nonexistent/folder/prog", "No such file or directory"},
        {"not runnable", "%1/notes.txt", "Permission denied"},
        {"a folder", "%1", "Permission denied"},
        {"a program in the current folder", "./notes.txt", "never in the current folder"},
        {"quote not closed", "ls \"My Documents", "a double quote (\") is not closed"},
    };
    for (const auto &row : rows)
        QTest::newRow(row[0]) << QString(row[1]) << QString(row[2]);
}

void tst_Accessories::runnerFailuresAreTold() {
    QFETCH(QString, line);
    QFETCH(QString, told);
    TestWorld world;
    world.platform.startProgramsForReal = true;
    writeFile(world.programFolder() + "/notes.txt", "#!/bin/sh\necho ran\n");
    if (line.contains("%1"))
        line = line.arg(world.programFolder());
    auto main = startProgram();
    frmMSDOS *runner = openRunner(*main);
    typeCommand(*runner, line);
    world.platform.answerMessage(MsgBoxResult::Ok);
    QTest::mouseClick(runner->Command1, Qt::LeftButton);
    QCOMPARE(world.platform.messages.size(), 1);
    const auto &message = world.platform.messages[0];
    QVERIFY2(message.text.contains(told), qPrintable(message.text));
    QCOMPARE(message.buttons(), MsgBoxStyle::OkOnly);
    QCOMPARE(message.icon(), 0);
    QCOMPARE(message.title, appTitle());
    QCOMPARE(runner->Text1->text(), line);
    QVERIFY(runner->isVisible());
}

void tst_Accessories::runnerTakesAHundredCharacters() {
    TestWorld world;
    auto main = startProgram();
    frmMSDOS *runner = openRunner(*main);
    typeCommand(*runner, QString(120, 'a'));
    QCOMPARE(runner->Text1->text(), QString(100, 'a'));
    QTest::mouseClick(runner->command3, Qt::LeftButton);
    // A pasted line that does not fit is not cut into another command: it is refused.
    typeCommand(*runner, "ls ");
    QApplication::clipboard()->setText(QString(150, 'b'));
    world.platform.answerMessage(MsgBoxResult::Ok);
    QTest::keyClick(runner->Text1, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(runner->Text1->text(), QString("ls "));
    QCOMPARE(world.platform.messages.size(), 1);
    QCOMPARE(world.platform.messages[0].text,
             QString("The pasted text has 150 characters, and with it the command line would be "
                     "longer than the 100 characters it can hold, so nothing was pasted."));
    QApplication::clipboard()->setText(QString(97, 'b'));
    QTest::keyClick(runner->Text1, Qt::Key_Insert, Qt::ShiftModifier);
    QCOMPARE(runner->Text1->text(), "ls " + QString(97, 'b'));
    QCOMPARE(world.platform.messages.size(), 1);
    QVERIFY(world.platform.startedPrograms.isEmpty());
}

// Enter runs nothing half typed, and Esc drops nothing typed: no button is the default
// or the cancel button.
void tst_Accessories::enterAndEscInTheBoxDoNothing() {
    TestWorld world;
    auto main = startProgram();
    frmMSDOS *runner = openRunner(*main);
    typeCommand(*runner, "prog arg");
    QTest::keyClick(runner->Text1, Qt::Key_Return);
    QTest::keyClick(runner->Text1, Qt::Key_Enter, Qt::KeypadModifier);
    QTest::keyClick(runner->Text1, Qt::Key_Escape);
    QTest::qWait(50);
    QVERIFY(world.platform.startedPrograms.isEmpty());
    QCOMPARE(runner->Text1->text(), QString("prog arg"));
    QVERIFY(runner->isVisible());
    // Enter on a button that has the focus presses that button.
    runner->Command1->setFocus();
    QTest::keyClick(runner->Command1, Qt::Key_Return);
    QTRY_COMPARE(world.platform.startedPrograms, (QList<QStringList>{{"prog", "arg"}}));
}

// The program ends with its last window: closing the main window leaves an open tip,
// options or runner window working, and closing that one then ends the program.
void tst_Accessories::anOpenAccessoryKeepsTheProgramRunning_data() {
    QTest::addColumn<QString>("item"); // the menu item that opens it; empty: none
    QTest::newRow("none") << QString();
    QTest::newRow("tip") << "mnuViewTips";
    QTest::newRow("options") << "mnuToolsOptions";
    QTest::newRow("runner") << "mnudatamsdos";
}

void tst_Accessories::anOpenAccessoryKeepsTheProgramRunning() {
    QFETCH(QString, item);
    TestWorld world;
    auto main = startProgram();
    QWidget *accessory = nullptr;
    if (!item.isEmpty()) {
        choose(*main, qPrintable(item));
        for (QWidget *window : QApplication::topLevelWidgets()) {
            if (window != main.get() && window->isVisible())
                accessory = window;
        }
        QVERIFY(accessory);
    }
    bool ranOn = false;
    QTimer::singleShot(0, main.get(), [&] { main->close(); });
    // Timers of this test alone: they go with it, however early the program ended.
    QTimer later;
    later.setSingleShot(true);
    connect(&later, &QTimer::timeout, [&] {
        ranOn = true;
        if (accessory) {
            QVERIFY(accessory->isVisible());
            accessory->close();
        }
    });
    later.start(300);
    QTimer neverEnded;
    neverEnded.setSingleShot(true);
    connect(&neverEnded, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    neverEnded.start(10000);
    const int status = QCoreApplication::exec();
    QCOMPARE(ranOn, accessory != nullptr);
    QCOMPARE(status, 0);
}

void tst_Accessories::resetCloseAndReopen() {
    TestWorld world;
    auto main = startProgram();
    frmMSDOS *runner = openRunner(*main);
    typeCommand(*runner, "first");
    runner->command3->setFocus();
    QTest::keyClick(runner->command3, Qt::Key_Space);
    QCOMPARE(runner->Text1->text(), QString());
    QCOMPARE(runner->focusWidget(), runner->Text1);
    // The Run command while it is open brings it forward with its text.
    typeCommand(*runner, "kept");
    QCOMPARE(openRunner(*main), runner);
    QCOMPARE(runner->Text1->text(), QString("kept"));
    QTest::mouseClick(runner->Command2, Qt::LeftButton);
    QVERIFY(!runner->isVisible());
    QCOMPARE(openRunner(*main)->Text1->text(), QString());
    QVERIFY(world.platform.startedPrograms.isEmpty());
    // Names a screen reader says.
    QCOMPARE(spokenName(runner->Text1), QString("Command line"));
    QCOMPARE(spokenName(runner->command3), QString("Reset"));
    QCOMPARE(spokenName(runner->Command1), QString("OK"));
    QCOMPARE(spokenName(runner->Command2), QString("Close"));
    QCOMPARE(runner->windowTitle(), QString("Enter the Statement"));
}

// The About box: modal, centred over the main window, read by a screen reader, and
// closed by OK (a click, the reader's Press), Enter or Esc.
void tst_Accessories::about_data() {
    QTest::addColumn<QString>("closedBy");
    for (const char *way : {"reader's Press", "Enter", "Esc"})
        QTest::newRow(way) << QString(way);
}

void tst_Accessories::about() {
    QFETCH(QString, closedBy);
    TestWorld world;
    auto main = startProgram();
    choose(*main, "mnuHelpAbout");
    auto *about = shown<frmAbout>(*main);
    QVERIFY(about && about->isVisible());
    QCOMPARE(QApplication::activeModalWidget(), about);
    QCOMPARE(about->windowTitle(), QString("About ORVANEL"));
    const QString version = QString("Version ") + Version::text;
    QCOMPARE(spokenName(about->lblTitle), QString("ORVANEL"));
    QCOMPARE(spokenName(about->lblVersion), version);
    QCOMPARE(spokenName(about->cmdOK), QString("OK"));
    QCOMPARE(spokenName(about->cmdSysInfo), QString("System Info"));
    QVERIFY(!about->picIcon->pixmap().isNull());
    // The labels show their whole text in whatever face stands in for the named one.
    for (QLabel *label : {about->lblTitle, about->lblVersion})
        QVERIFY2(label->width() >= label->sizeHint().width(), qPrintable(label->text()));
    // Centred over the main window (to a pixel's rounding).
    QVERIFY((about->frameGeometry().center() - main->frameGeometry().center()).manhattanLength() <=
            2);
    QCOMPARE(about->focusWidget(), about->cmdOK);
    if (closedBy == "Enter")
        QTest::keyClick(about->cmdOK, Qt::Key_Return);
    else if (closedBy == "Esc")
        QTest::keyClick(about->cmdOK, Qt::Key_Escape);
    else
        pressAsReader(about->cmdOK);
    QTRY_VERIFY(!about->isVisible());
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
    QVERIFY(world.platform.startedPrograms.isEmpty());
}

void tst_Accessories::systemInfo_data() {
    QTest::addColumn<QByteArray>("hive");
    QTest::addColumn<bool>("msinfoFile");
    QTest::addColumn<bool>("readOnlyHive");
    QTest::addColumn<QString>("started"); // relative to the program folder; empty: the message
    const QByteArray header = "REGEDIT4\n\n";
    const QByteArray pathValue = msinfoSection + "\"PATH\"=\"%P/sysinfo\"\n";
    const QByteArray folderValue = locationSection + "\"MSINFO\"=\"%P/tools\"\n";
    const QByteArray path = header + msinfoSection + "\"PATH\"=";
    // Past 4 MiB a hive is not read at all, as one of a million keys would freeze the box.
    const QByteArray filler = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Filler]\n\"F\"=\"" +
                              QByteArray(4 * 1024 * 1024, 'f') + "\"\n";
    const struct {
        const char *name;
        QByteArray hive;
        bool msinfoFile, readOnlyHive;
        const char *started;
    } rows[] = {
        {"PATH value", header + pathValue, false, false, "sysinfo"},
        {"PATH value wins over the folder", header + pathValue + folderValue, true, false,
         "sysinfo"},
        {"folder value and the file there", header + folderValue, true, false,
         "tools/MSINFO32.EXE"},
        {"folder value, no file", header + folderValue, false, false, ""},
        {"neither value", header + msinfoSection + "\"Other\"=\"x\"\n", true, false, ""},
        {"no hive", QByteArray(), false, false, ""},
        {"a hive the user cannot write", header + pathValue, false, true, "sysinfo"},
        {"PATH to no file", path + "\"%P/gone\"\n", false, false, ""},
        {"PATH a number", path + "dword:00000001\n", true, false, ""},
        {"PATH of another kind", path + "hex(2):2f,00\n" + folderValue, true, false, ""},
        {"PATH too long for the buffer",
         path + "\"%P/" + QByteArray(1024, 'x') + "\"\n" + folderValue, true, false,
         "tools/MSINFO32.EXE"},
        {"not a hive", QByteArray("Some notes\n") + pathValue, false, false, ""},
        {"PATH relative to the current folder", path + "\"./sysinfo\"\n", false, false, ""},
        {"a hive too large", header + pathValue + filler, false, false, ""},
    };
    for (const auto &row : rows)
        QTest::newRow(row.name) << row.hive << row.msinfoFile << row.readOnlyHive
                                << QString(row.started);
}

void tst_Accessories::systemInfo() {
    QFETCH(QByteArray, hive);
    QFETCH(bool, msinfoFile);
    QFETCH(bool, readOnlyHive);
    QFETCH(QString, started);
    TestWorld world;
    world.platform.startProgramsForReal = true;
    const QString folder = world.programFolder();
    QFile::copy(recordingProgram(folder), folder + "/sysinfo");
    // Where a name relative to the current folder would find the program.
    const QString before = QDir::currentPath();
    QDir::setCurrent(folder);
    const auto back = qScopeGuard([&] { QDir::setCurrent(before); });
    if (msinfoFile) {
        QDir().mkpath(folder + "/tools");
        QFile::copy(folder + "/sysinfo", folder + "/tools/MSINFO32.EXE");
    }
    const QString hivePath = folder + "/registry/local-machine.reg";
    if (!hive.isEmpty())
        writeHive(folder, hive.replace("%P", folder.toUtf8()));
    if (readOnlyHive)
        QFile::setPermissions(hivePath, QFileDevice::ReadOwner | QFileDevice::ReadGroup |
                                            QFileDevice::ReadOther);
    auto main = startProgram();
    choose(*main, "mnuHelpAbout");
    auto *about = shown<frmAbout>(*main);
    if (started.isEmpty())
        world.platform.answerMessage(MsgBoxResult::Ok);
    {
        FilePermissionsApply asAnyUser;
        QTest::mouseClick(about->cmdSysInfo, Qt::LeftButton);
    }
    if (started.isEmpty()) {
        QCOMPARE(world.platform.messages.size(), 1);
        QCOMPARE(world.platform.messages[0].text, unavailable);
        QCOMPARE(world.platform.messages[0].buttons(), MsgBoxStyle::OkOnly);
        QCOMPARE(world.platform.messages[0].title, appTitle());
        QVERIFY(!QFile::exists(folder + "/RUNS") && !QFile::exists(folder + "/tools/RUNS"));
    } else {
        QVERIFY(world.platform.messages.isEmpty());
        QCOMPARE(world.platform.startedPrograms, (QList<QStringList>{{folder + "/" + started}}));
        QTRY_VERIFY(QFile::exists(QFileInfo(folder + "/" + started).absolutePath() + "/RUNS"));
    }
    QVERIFY(about->isVisible());
}

void tst_Accessories::registryReads_data() {
    QTest::addColumn<QByteArray>("hive");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("read");
    QTest::addColumn<QString>("text");
    const QByteArray header = "REGEDIT4\r\n\r\n";
    const QByteArray keyA = header + "[HKEY_LOCAL_MACHINE\\SOFTWARE\\A]\n";
    const QString greeting = QString::fromUtf8("Gr\xC3\xBC\xC3\x9F"
                                               "e");
    // What the registry editor of version 5 writes: UTF-16, little-endian, with a mark.
    const QString version5 = "Windows Registry Editor Version 5.00\r\n\r\n"
                             "[HKEY_LOCAL_MACHINE\\SOFTWARE\\A]\r\n\"T\"=\"Gr\u00fc\u00dfe\"\r\n";
    const QByteArray utf16 =
        "\xFF\xFE" +
        QByteArray(reinterpret_cast<const char *>(version5.utf16()), version5.size() * 2);
    const struct {
        const char *name;
        QByteArray hive;
        const char *key, *value;
        bool read;
        QString text;
    } rows[] = {
        {"text", header + "[HKEY_LOCAL_MACHINE\\SOFTWARE\\A]\r\n\"Name\"=\"C:\\\\x \\\"y\\\"\"\r\n",
         "SOFTWARE\\A", "Name", true, "C:\\x \"y\""},
        {"names without regard to case",
         header + "[HKEY_LOCAL_MACHINE\\Software\\a]\n\"NAME\"=\"v\"\n", "SOFTWARE\\A", "name",
         true, "v"},
        {"a number", keyA + "\"N\"=dword:0000000a\n", "SOFTWARE\\A", "N", true, "&hA"},
        {"the default value", keyA + "@=\"default\"\n", "SOFTWARE\\A", "", true, "default"},
        {"text written as bytes", keyA + "\"T\"=hex(1):61,\\\n  62,00\n", "SOFTWARE\\A", "T", true,
         "ab"},
        {"text of 1023 bytes fits", keyA + "\"T\"=\"" + QByteArray(1023, 'x') + "\"\n",
         "SOFTWARE\\A", "T", true, QString(1023, 'x')},
        {"text of 1024 bytes does not", keyA + "\"T\"=\"" + QByteArray(1024, 'x') + "\"\n",
         "SOFTWARE\\A", "T", false, ""},
        {"UTF-8 text", keyA + "\"T\"=\"" + greeting.toUtf8() + "\"\n", "SOFTWARE\\A", "T", true,
         greeting},
        {"a byte-order mark before the header", "\xEF\xBB\xBF" + keyA + "\"T\"=\"v\"\n",
         "SOFTWARE\\A", "T", true, "v"},
        {"UTF-16 with a byte-order mark", utf16, "SOFTWARE\\A", "T", true, greeting},
        {"a key with only sub-keys", header + "[HKEY_LOCAL_MACHINE\\SOFTWARE\\A\\B]\n\"T\"=\"v\"\n",
         "SOFTWARE\\A", "T", false, ""},
        {"no such key", keyA + "\"T\"=\"v\"\n", "SOFTWARE\\B", "T", false, ""},
        {"another hive's key", header + "[HKEY_CURRENT_USER\\SOFTWARE\\A]\n\"T\"=\"v\"\n",
         "SOFTWARE\\A", "T", false, ""},
        {"a comment", keyA + ";\"T\"=\"v\"\n", "SOFTWARE\\A", "T", false, ""},
    };
    for (const auto &row : rows)
        QTest::newRow(row.name) << row.hive << QString(row.key) << QString(row.value) << row.read
                                << row.text;
}

void tst_Accessories::registryReads() {
    QFETCH(QByteArray, hive);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(bool, read);
    QFETCH(QString, text);
    TestWorld world;
    writeHive(world.programFolder(), hive);
    QString valueText = "left as it was";
    QCOMPARE(frmAbout::GetKeyValue(RegistryKey::LocalMachine, key, value, valueText), read);
    QCOMPARE(valueText, text);
}

void tst_Accessories::writeRightsNeedAWritableHive() {
    TestWorld world;
    writeHive(world.programFolder(), "REGEDIT4\n\n" + msinfoSection + "\"PATH\"=\"/x\"\n");
    const QString hivePath = world.programFolder() + "/registry/local-machine.reg";
    QFile::setPermissions(hivePath, QFileDevice::ReadOwner);
    FilePermissionsApply asAnyUser;
    const QString key = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
    HKEY opened = 0;
    const quint32 allAccess = 0x2003F;
    QCOMPARE(RegOpenKeyExA(RegistryKey::LocalMachine, key, 0, allAccess, &opened),
             RegistryStatus::AccessDenied);
    QCOMPARE(RegOpenKeyExA(RegistryKey::LocalMachine, key, 0, RegistryAccess::Read, &opened),
             RegistryStatus::Success);
    quint32 kind = 0, size = 0;
    QCOMPARE(RegQueryValueExA(opened, "PATH", &kind, nullptr, &size), RegistryStatus::Success);
    QCOMPARE(size, 3u);
    unsigned char small[2];
    size = sizeof small;
    QCOMPARE(RegQueryValueExA(opened, "PATH", &kind, small, &size), RegistryStatus::MoreData);
    QCOMPARE(RegQueryValueExA(opened, "Other", &kind, small, &size), RegistryStatus::NotFound);
    QCOMPARE(RegCloseKey(opened), RegistryStatus::Success);
    QCOMPARE(RegCloseKey(opened), RegistryStatus::InvalidHandle);
    // A hive nobody may read is refused as well.
    QFile::setPermissions(hivePath, QFileDevice::WriteOwner);
    QCOMPARE(RegOpenKeyExA(RegistryKey::LocalMachine, key, 0, RegistryAccess::Read, &opened),
             RegistryStatus::AccessDenied);
}

void tst_Accessories::theBuildNamesTheSystemInformationProgram() {
    // The build writes the hive beside the program with the full path of the system
    // information program the project's scripts install.
    TestWorld world;
    world.platform.shipped = QCoreApplication::applicationDirPath();
    QString path;
    QVERIFY(frmAbout::GetKeyValue(RegistryKey::LocalMachine,
                                  "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH", path));
    const QFileInfo program(path);
    QVERIFY2(program.isAbsolute() && program.isFile() && program.isExecutable(), qPrintable(path));
}

int main(int argc, char **argv) {
    OrvanelApplication application(argc, argv);
    tst_Accessories test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_accessories.moc"
