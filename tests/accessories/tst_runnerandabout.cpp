// The command-line runner, the About box with its System Info button, and the registry
// hive that names the system information program, as the user meets them.
#include "accessories/frmabout.h"
#include "accessories/frmmsdos.h"
#include "accessorytesting.h"
#include "filepermissions.h"
#include "platform/application.h"
#include "platform/messagebox.h"
#include "platform/registry.h"
#include "startprogram.h"
#include "testworld.h"

#include <orvanel/version.h>

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

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

class tst_RunnerAndAbout : public QObject {
    Q_OBJECT
private slots:
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

void tst_RunnerAndAbout::runnerStartsARealProgram() {
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

void tst_RunnerAndAbout::runnerSplitsLikeAShell_data() {
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

void tst_RunnerAndAbout::runnerSplitsLikeAShell() {
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

void tst_RunnerAndAbout::runnerFailuresAreTold_data() {
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

void tst_RunnerAndAbout::runnerFailuresAreTold() {
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

void tst_RunnerAndAbout::runnerTakesAHundredCharacters() {
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
void tst_RunnerAndAbout::enterAndEscInTheBoxDoNothing() {
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
void tst_RunnerAndAbout::anOpenAccessoryKeepsTheProgramRunning_data() {
    QTest::addColumn<QString>("item"); // the menu item that opens it; empty: none
    QTest::newRow("none") << QString();
    QTest::newRow("tip") << "mnuViewTips";
    QTest::newRow("options") << "mnuToolsOptions";
    QTest::newRow("runner") << "mnudatamsdos";
}

void tst_RunnerAndAbout::anOpenAccessoryKeepsTheProgramRunning() {
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

void tst_RunnerAndAbout::resetCloseAndReopen() {
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
void tst_RunnerAndAbout::about_data() {
    QTest::addColumn<QString>("closedBy");
    for (const char *way : {"reader's Press", "Enter", "Esc"})
        QTest::newRow(way) << QString(way);
}

void tst_RunnerAndAbout::about() {
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

void tst_RunnerAndAbout::systemInfo_data() {
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

void tst_RunnerAndAbout::systemInfo() {
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

void tst_RunnerAndAbout::registryReads_data() {
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

void tst_RunnerAndAbout::registryReads() {
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

void tst_RunnerAndAbout::writeRightsNeedAWritableHive() {
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

void tst_RunnerAndAbout::theBuildNamesTheSystemInformationProgram() {
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
    tst_RunnerAndAbout test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_runnerandabout.moc"
