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
    void namesMatchWithoutRegardToCase_data();
    void namesMatchWithoutRegardToCase();
    void ignoringErrorsRunsTheNextStep();
    void escapedErrorIsReportedAndTheProgramGoesOn();
    void printerCancel();
    void qtPrintDialogFollowsTheFlags_data();
    void qtPrintDialogFollowsTheFlags();
    void lockKeysFollowTheirKeys();
};

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
