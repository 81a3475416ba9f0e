// The tip of the day and the options dialog as the user meets them: the start-up tip,
// View > Tips, stepping through the tips file, the check box and the three Options items.
#include "accessories/frmproperties.h"
#include "accessories/frmtip.h"
#include "accessorytesting.h"
#include "filepermissions.h"
#include "platform/application.h"
#include "platform/settings.h"
#include "startprogram.h"
#include "testworld.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace {
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
} // namespace

class tst_TipWindow : public QObject {
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
};

void tst_TipWindow::tipsFollowTheFileAndWrap_data() {
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

void tst_TipWindow::tipsFollowTheFileAndWrap() {
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

void tst_TipWindow::reopeningGoesOnFromTheNextTip() {
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
void tst_TipWindow::tipsFileThatCannotBeRead_data() {
    QTest::addColumn<QString>("trouble");
    QTest::addColumn<QString>("says"); // empty: the explanation of a missing file
    QTest::newRow("missing") << "missing" << QString();
    QTest::newRow("a folder of that name") << "folder" << QString();
    QTest::newRow("no permission") << "permission" << QString("Permission denied");
    QTest::newRow("too large") << "size" << QString("larger than the 4 MiB a tips file can be");
}

void tst_TipWindow::tipsFileThatCannotBeRead() {
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
void tst_TipWindow::checkBoxStoresAtOnce() {
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

void tst_TipWindow::startupTimer_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("tipComesUp");
    QTest::newRow("nothing stored") << QString() << true;
    QTest::newRow("on") << "1" << true;
    QTest::newRow("off") << "0" << false;
    QTest::newRow("off, written as a number") << "0.0" << false;
    QTest::newRow("not a number counts as on") << "yes" << true;
}

void tst_TipWindow::startupTimer() {
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
void tst_TipWindow::optionsWindowStoresOnlyWhatIsConfirmed_data() {
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

void tst_TipWindow::optionsWindowStoresOnlyWhatIsConfirmed() {
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

void tst_TipWindow::optionsItemsShareOneWindow() {
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

void tst_TipWindow::spokenNames() {
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

int main(int argc, char **argv) {
    OrvanelApplication application(argc, argv);
    tst_TipWindow test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_tipwindow.moc"
