// The settings store, the error handling modes, the common dialog and the application
// object, as the rest of the program relies on them.
#include "platform/application.h"
#include "platform/commondialog.h"
#include "platform/errorhandling.h"
#include "platform/messagebox.h"
#include "platform/qtplatform.h"
#include "platform/runtimeerror.h"
#include "platform/settings.h"
#include "testworld.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QPrinter>
#include <QTest>
#include <QTimer>

class tst_Platform : public QObject {
    Q_OBJECT
private slots:
    void absentValueReadsAsDefault();
    void valueSurvivesTheRun();
    void namesMatchWithoutRegardToCase_data();
    void namesMatchWithoutRegardToCase();
    void storedNumbers_data();
    void storedNumbers();
    void numberText_data();
    void numberText();
    void ignoringErrorsRunsTheNextStep();
    void reportingErrorsShowsTheDescription();
    void escapedErrorIsReportedAndTheProgramGoesOn();
    void fileDialogCancel_data();
    void fileDialogCancel();
    void printerCancel();
    void messageBoxWithoutTitleIsCaptionedWithTheProgram();
    void qtPrintDialogFollowsTheFlags_data();
    void qtPrintDialogFollowsTheFlags();
    void lockKeysFollowTheirKeys();
};

void tst_Platform::absentValueReadsAsDefault() {
    TestWorld world;
    QCOMPARE(GetSetting("ORVANEL", "Saving", "Document", "1"), QString("1"));
    QCOMPARE(GetSetting("ORVANEL", "Nothing", "Here"), QString());
}

void tst_Platform::valueSurvivesTheRun() {
    TestWorld world;
    SaveSetting("ORVANEL", "Settings", "MainLeft", "9690");
    world.endRun();
    QVERIFY(QFile::exists(world.settingsFolder() + "/orvanel.ini"));
    QCOMPARE(GetSetting("ORVANEL", "Settings", "MainLeft", "1000"), QString("9690"));
    SaveSetting("ORVANEL", "Settings", "MainLeft", "120");
    world.endRun();
    QCOMPARE(GetSetting("ORVANEL", "Settings", "MainLeft", "1000"), QString("120"));
}

void tst_Platform::namesMatchWithoutRegardToCase_data() {
    QTest::addColumn<QString>("application");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::newRow("program file name") << "orvanel"
                                       << "Options"
                                       << "Show Tips at Startup";
    QTest::newRow("section") << "ORVANEL"
                             << "OPTIONS"
                             << "Show Tips at Startup";
    QTest::newRow("key") << "ORVANEL"
                         << "Options"
                         << "show tips at startup";
    QTest::newRow("all three") << "Orvanel"
                               << "options"
                               << "SHOW TIPS AT STARTUP";
}

void tst_Platform::namesMatchWithoutRegardToCase() {
    QFETCH(QString, application);
    QFETCH(QString, section);
    QFETCH(QString, key);
    TestWorld world;
    SaveSetting("ORVANEL", "Options", "Show Tips at Startup", "0");
    world.endRun();
    QCOMPARE(GetSetting(application, section, key, "1"), QString("0"));
    // Writing through other letter cases replaces the one value, never adds a second.
    SaveSetting(application, section, key, "1");
    world.endRun();
    QCOMPARE(GetSetting("ORVANEL", "Options", "Show Tips at Startup", "0"), QString("1"));
    QFile file(world.settingsFolder() + "/orvanel.ini");
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll().toLower().count("show"), 1);
}

void tst_Platform::storedNumbers_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<double>("read");
    QTest::newRow("whole") << "9690" << 9690.0;
    QTest::newRow("fraction") << "1000.5" << 1000.5;
    QTest::newRow("negative") << "-120" << -120.0;
    QTest::newRow("blanks around") << " 42 " << 42.0;
    QTest::newRow("words") << "left" << 1000.0;
    QTest::newRow("empty") << "" << 1000.0;
    QTest::newRow("not finite") << "inf" << 1000.0;
}

void tst_Platform::storedNumbers() {
    QFETCH(QString, stored);
    QFETCH(double, read);
    TestWorld world;
    SaveSetting("ORVANEL", "Settings", "MainLeft", stored);
    QCOMPARE(GetNumberSetting("ORVANEL", "Settings", "MainLeft", 1000), read);
}

void tst_Platform::numberText_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("whole") << 9690.0 << "9690";
    QTest::newRow("flag") << 1.0 << "1";
    QTest::newRow("fraction") << 1000.5 << "1000.5";
}

void tst_Platform::numberText() {
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(settingNumberText(value), text);
}

void tst_Platform::ignoringErrorsRunsTheNextStep() {
    QStringList ran;
    runIgnoringErrors({
        [&] { ran << "first"; },
        [&] {
            raiseError(ErrorNumber::PathFileAccess);
            ran << "never";
        },
        [&] { ran << "third"; },
    });
    QCOMPARE(ran, QStringList({"first", "third"}));
}

void tst_Platform::reportingErrorsShowsTheDescription() {
    TestWorld world;
    world.platform.answerMessage(MsgBoxResult::Ok);
    bool after = false;
    runReportingErrors([&] {
        raiseError(ErrorNumber::FileNotFound);
        after = true;
    });
    QVERIFY(!after);
    QCOMPARE(world.platform.messages.size(), 1);
    QCOMPARE(world.platform.messages[0].text, QString("File not found"));
    QCOMPARE(world.platform.messages[0].buttons(), MsgBoxStyle::OkOnly);
    QCOMPARE(world.platform.messages[0].title, QString("ORVANEL"));
}

void tst_Platform::escapedErrorIsReportedAndTheProgramGoesOn() {
    TestWorld world;
    world.platform.answerMessage(MsgBoxResult::Ok);
    QTimer::singleShot(0, [] { raiseError(ErrorNumber::DiskFull); });
    bool later = false;
    QTimer::singleShot(10, [&] { later = true; });
    QTRY_VERIFY(later);
    QCOMPARE(world.platform.messages.size(), 1);
    QCOMPARE(world.platform.messages[0].text, QString("Disk full"));
}

void tst_Platform::fileDialogCancel_data() {
    QTest::addColumn<bool>("cancelError");
    QTest::newRow("cancel returns an empty name") << false;
    QTest::newRow("cancel raises 32755") << true;
}

void tst_Platform::fileDialogCancel() {
    QFETCH(bool, cancelError);
    TestWorld world;
    world.platform.answerFileDialog(QString());
    CommonDialog dialog;
    dialog.FileName = "old.DIA";
    dialog.CancelError = cancelError;
    dialog.DialogTitle = "Open";
    dialog.Filter = "Diary Files (*.DIA)|*.DIA";
    int raised = 0;
    try {
        dialog.ShowOpen();
    } catch (const RuntimeError &error) {
        raised = error.Number();
    }
    QCOMPARE(raised, cancelError ? 32755 : 0);
    QCOMPARE(dialog.FileName, QString());
    QCOMPARE(world.platform.fileDialogs.size(), 1);
    QCOMPARE(world.platform.fileDialogs[0].title, QString("Open"));
    QCOMPARE(world.platform.fileDialogs[0].filter, QString("Diary Files (*.DIA)|*.DIA"));
}

void tst_Platform::printerCancel() {
    TestWorld world;
    CommonDialog dialog;
    world.platform.answerPrintCancel();
    QCOMPARE(dialog.ShowPrinter(), nullptr);
    world.platform.answerPrintCancel();
    dialog.CancelError = true;
    QVERIFY_THROWS_EXCEPTION(RuntimeError, dialog.ShowPrinter());
    world.platform.answerPrintToPdf(world.path("out.pdf"));
    QCOMPARE(dialog.ShowPrinter(), &dialog.printer());
}

void tst_Platform::messageBoxWithoutTitleIsCaptionedWithTheProgram() {
    TestWorld world;
    world.platform.answerMessage(MsgBoxResult::No);
    world.platform.answerMessage(MsgBoxResult::Cancel);
    QCOMPARE(MsgBox("Question?", MsgBoxStyle::YesNo), MsgBoxResult::No);
    QCOMPARE(MsgBox("Other?", MsgBoxStyle::YesNoCancel, "Diary Entry Saving"),
             MsgBoxResult::Cancel);
    QCOMPARE(world.platform.messages[0].title, QString("ORVANEL"));
    QCOMPARE(world.platform.messages[1].title, QString("Diary Entry Saving"));
}

void tst_Platform::qtPrintDialogFollowsTheFlags_data() {
    QTest::addColumn<int>("flags");
    QTest::newRow("no page numbers, all pages") << 264;
    QTest::newRow("no page numbers, selection") << 265;
    QTest::newRow("page numbers allowed") << 0;
}

void tst_Platform::qtPrintDialogFollowsTheFlags() {
    QFETCH(int, flags);
    QtPlatform qt;
    QPrinter printer;
    QMap<QString, bool> enabled, checked;
    QTimer::singleShot(0, [&] {
        QWidget *dialog = QApplication::activeModalWidget();
        QVERIFY(dialog);
        for (const char *name :
             {"printRange", "from", "to", "pagesRadioButton", "printAll", "printSelection"}) {
            auto *choice = dialog->findChild<QWidget *>(name);
            QVERIFY2(choice, name);
            enabled[name] = choice->isEnabled();
            if (auto *button = qobject_cast<QAbstractButton *>(choice))
                checked[name] = button->isChecked();
        }
        qobject_cast<QDialog *>(dialog)->reject();
    });
    QVERIFY(!qt.printDialog("Print", flags, printer));
    const bool pageRanges = !(flags & 8);
    QCOMPARE(enabled["printRange"], pageRanges);
    if (!pageRanges)
        QVERIFY(!enabled["from"] && !enabled["to"] && !enabled["pagesRadioButton"]);
    QVERIFY(enabled["printAll"] && enabled["printSelection"]);
    QCOMPARE(checked["printSelection"], bool(flags & 1));
    QCOMPARE(checked["printAll"], !(flags & 1));
}

void tst_Platform::lockKeysFollowTheirKeys() {
    // Without a window system to ask (as here, offscreen), and for Scroll Lock always,
    // the lock keys are followed from their presses.
    QtPlatform qt;
    QWidget window;
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    window.setFocus();
    QVERIFY(!qt.keyState(LockKey::Scroll));
    QTest::keyClick(&window, Qt::Key_ScrollLock);
    QVERIFY(qt.keyState(LockKey::Scroll));
    QVERIFY(!qt.keyState(LockKey::Caps));
    QTest::keyClick(&window, Qt::Key_CapsLock);
    QVERIFY(qt.keyState(LockKey::Caps));
    QTest::keyClick(&window, Qt::Key_ScrollLock);
    QVERIFY(!qt.keyState(LockKey::Scroll));
}

int main(int argc, char **argv) {
    OrvanelApplication application(argc, argv);
    tst_Platform test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_platform.moc"
