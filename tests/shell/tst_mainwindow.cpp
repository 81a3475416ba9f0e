// The main window as the user meets it: start-up, bounds, menus, toolbar, status bar,
// window arrangement and the main window's own commands.
#include "diary/frmdocument.h"
#include "diary/rtftextbox.h"
#include "filepermissions.h"
#include "phonebook/store/sqlitefile.h"
#include "phonebookfile.h"
#include "platform/application.h"
#include "platform/messagebox.h"
#include "platform/settings.h"
#include "platform/units.h"
#include "shell/frmmain.h"
#include "shell/module1.h"
#include "shell/screenfit.h"
#include "shell/statusbar.h"
#include "startprogram.h"
#include "testworld.h"

#include <QAccessible>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPointer>
#include <QScreen>
#include <QSessionManager>
#include <QSet>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <functional>

namespace {

QAction *item(frmMain &main, const QString &name) {
    auto *action = main.findChild<QAction *>(name);
    if (!action)
        qWarning("no menu item %s", qPrintable(name));
    return action;
}

QAction *button(frmMain &main, const QString &key) {
    return main.tbToolBar->findChild<QAction *>(key, Qt::FindDirectChildrenOnly);
}

// A child window of another kind than a diary window (a phone book or a browser).
QMdiSubWindow *addOtherChild(frmMain &main) {
    auto *other = new QWidget;
    other->setWindowTitle("Other");
    return main.addChildWindow(other);
}

// Whether the format a formatting button stands for holds over the whole selection.
bool formatHolds(const RtfTextBox &text, const QString &key) {
    if (key == "Bold")
        return text.SelBold() == true;
    if (key == "Italic")
        return text.SelItalic() == true;
    if (key == "Underline")
        return text.SelUnderline() == true;
    return text.SelAlignment() == (key == "Center"       ? Alignment::Center
                                   : key == "Align Left" ? Alignment::Left
                                                         : Alignment::Right);
}

// How many slots a signal reaches (QObject::receivers, protected, read through its
// member pointer).
struct Connections : QObject {
    static int to(const QObject *sender, const char *signal) {
        return (sender->*(&Connections::receivers))(signal);
    }
};

double stored(const char *key) {
    return GetNumberSetting("ORVANEL", "Settings", key, -1);
}

} // namespace

class tst_MainWindow : public QObject {
    Q_OBJECT
private slots:
    void boundsComeBackWhereTheyCanBeSeen_data();
    void boundsComeBackWhereTheyCanBeSeen();
    void closingStoresTheBounds_data();
    void closingStoresTheBounds();
    void menuBarInvariants();
    void viewMarksToggleTheBars();
    void statusBarPanels();
    void placeholderAndHelpMessages_data();
    void placeholderAndHelpMessages();
    void newDiaryCommandsEachOpenOneWindow_data();
    void newDiaryCommandsEachOpenOneWindow();
    void documentCommandsFollowTheDiaryWindows();
    void windowArrangement_data();
    void windowArrangement();
    void arrangeIconsLinesUpMinimisedWindows();
    void tilingManyWindowsCascadesThem();
    void windowMenuListsTheChildWindows();
    void failingToolbarCommandShowsNothing_data();
    void failingToolbarCommandShowsNothing();
    void sessionEndRunsTheClosingSteps();
    void unwritableSettingsAreToldOnce_data();
    void unwritableSettingsAreToldOnce();
    void formattingCommands_data();
    void formattingCommands();
    void ctrlF4ClosesTheActiveChild();
    void theDataFolderAtStart_data();
    void theDataFolderAtStart();
    void formattingButtonsFollowTheActiveEntry();
    void exitShowsTheEntryItAsksAbout_data();
    void exitShowsTheEntryItAsksAbout();
};

void tst_MainWindow::boundsComeBackWhereTheyCanBeSeen_data() {
    QTest::addColumn<QStringList>("bounds"); // left, top, width, height as stored
    QTest::addColumn<QRect>("expected");     // on the test screen, 800 x 800
    QTest::newRow("inside the screen")
        << QStringList{"1500", "1500", "9000", "7500"} << QRect(100, 100, 600, 500);
    QTest::newRow("a left that is no number takes its default")
        << QStringList{"far left", "1500", "9000", "7500"} << QRect(67, 100, 600, 500);
    QTest::newRow("wider and taller than the screen")
        << QStringList{"0", "0", "300000", "300000"} << QRect(0, 0, 800, 800);
    QTest::newRow("far off to the right")
        << QStringList{"1e12", "1500", "7500", "3000"} << QRect(300, 100, 500, 200);
    QTest::newRow("far off above and to the left")
        << QStringList{"-9e9", "-9e9", "7500", "3000"} << QRect(0, 0, 500, 200);
    QTest::newRow("hanging over the bottom edge")
        << QStringList{"1500", "11250", "7500", "3000"} << QRect(100, 600, 500, 200);
    // A width below the window's least width takes that; the row gives 0 for it.
    QTest::newRow("not a number at all")
        << QStringList{"inf", "nan", "-5", "3000"} << QRect(67, 67, 0, 200);
}

void tst_MainWindow::boundsComeBackWhereTheyCanBeSeen() {
    QFETCH(QStringList, bounds);
    QFETCH(QRect, expected);
    TestWorld world;
    const char *keys[] = {"MainLeft", "MainTop", "MainWidth", "MainHeight"};
    for (int i = 0; i < 4; ++i)
        SaveSetting("ORVANEL", "Settings", keys[i], bounds[i]);
    world.endRun();
    QCOMPARE(QGuiApplication::primaryScreen()->availableGeometry(), QRect(0, 0, 800, 800));
    auto main = startProgram();
    main->showNormal();
    if (expected.width() == 0)
        expected.setWidth(main->minimumWidth());
    QCOMPARE(QRect(main->pos(), main->size()), expected);
}

void tst_MainWindow::closingStoresTheBounds_data() {
    QTest::addColumn<QString>("state");
    QTest::newRow("normal") << "normal";
    QTest::newRow("maximised") << "maximised";
    QTest::newRow("minimised") << "minimised";
}

void tst_MainWindow::closingStoresTheBounds() {
    QFETCH(QString, state);
    TestWorld world;
    {
        auto main = startProgram();
        QVERIFY(main->isMaximized()); // as a first run starts
        if (state == "normal") {
            main->showNormal();
            main->setGeometry(120, 90, 640, 480);
        } else if (state == "minimised") {
            main->showMinimized();
        }
        const QRect outer(main->pos(), main->size());
        QVERIFY(main->close());
        world.endRun();
        if (state == "minimised") {
            QCOMPARE(stored("MainLeft"), -1.0);
            return;
        }
        QCOMPARE(stored("MainLeft"), pixelsToTwipsX(outer.left()));
        QCOMPARE(stored("MainTop"), pixelsToTwipsY(outer.top()));
        QCOMPARE(stored("MainWidth"), pixelsToTwipsX(outer.width()));
        QCOMPARE(stored("MainHeight"), pixelsToTwipsY(outer.height()));
        if (state == "normal")
            QCOMPARE(GetSetting("ORVANEL", "Settings", "MainWidth"), QString("9600"));
    }
    // The next run takes those bounds when the user restores the window.
    auto next = startProgram();
    next->showNormal();
    QCOMPARE(next->pos().x(), twipsToPixelsX(stored("MainLeft")));
    QCOMPARE(next->width(), twipsToPixelsX(stored("MainWidth")));
}

// What holds for every item of the menu bar, rather than a copy of it: the menus in
// their order, each item with a key letter, no shortcut given twice, and every command
// reaching a handler.
void tst_MainWindow::menuBarInvariants() {
    TestWorld world;
    auto main = startProgram();
    QStringList menus;
    for (QAction *menu : main->menuBar()->actions())
        menus << menu->text();
    QCOMPARE(menus, QStringList({"&File", "&Edit", "&View", "&Run", "&Window", "&Tools", "&Help"}));
    QSet<QString> shortcuts;
    // A menu itself listens to each of its items; a command has its handler besides.
    QMenu probeMenu;
    const int menuOnly = Connections::to(probeMenu.addAction("probe"), SIGNAL(triggered(bool)));
    const std::function<void(QMenu *)> check = [&](QMenu *menu) {
        for (QAction *action : menu->actions()) {
            const QByteArray where = action->objectName().toUtf8();
            if (action->isSeparator() || !action->isVisible())
                continue;
            const qsizetype amp = action->text().indexOf('&');
            QVERIFY2(amp >= 0 && amp + 1 < action->text().size(), where);
            if (!action->shortcut().isEmpty()) {
                QVERIFY2(!shortcuts.contains(action->shortcut().toString()), where);
                shortcuts << action->shortcut().toString();
            }
            if (action->menu())
                check(action->menu());
            else
                QVERIFY2(Connections::to(action, SIGNAL(triggered(bool))) > menuOnly, where);
        }
    };
    for (QAction *menu : main->menuBar()->actions())
        check(menu->menu());
    QCOMPARE(shortcuts, (QSet<QString>{"Ctrl+F5", "Ctrl+F3", "F2", "F12", "Ctrl+X", "Ctrl+C",
                                       "Ctrl+V", "Ctrl+Shift+F", "Ctrl+Shift+D"}));
    // The two View marks start checked; the recent-file items wait hidden for a file.
    QVERIFY(item(*main, "mnuViewToolbar")->isChecked());
    QVERIFY(item(*main, "mnuViewStatusBar")->isChecked());
    QVERIFY(!item(*main, "mnuFileMRU(1)")->isVisible());
    // Every button a screen reader meets on the toolbar has a name; the font box ends it.
    QCOMPARE(main->tbToolBar->widgetForAction(main->tbToolBar->actions().last()), main->Combo1);
    for (QToolButton *widget : main->tbToolBar->findChildren<QToolButton *>())
        QVERIFY2(!QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name).isEmpty(),
                 qPrintable(widget->objectName()));
}

void tst_MainWindow::viewMarksToggleTheBars() {
    TestWorld world;
    auto main = startProgram();
    for (QWidget *bar :
         {static_cast<QWidget *>(main->tbToolBar), static_cast<QWidget *>(main->sbStatusBar)}) {
        QAction *view = item(*main, bar == main->tbToolBar ? "mnuViewToolbar" : "mnuViewStatusBar");
        QVERIFY(view->isChecked());
        view->trigger();
        QVERIFY(!view->isChecked() && !bar->isVisible());
        view->trigger();
        QVERIFY(view->isChecked() && bar->isVisible());
    }
    // Without a diary window the toolbar shows disabled; a new one shows it whatever the
    // mark says.
    QVERIFY(!main->tbToolBar->isEnabled());
    item(*main, "mnuViewToolbar")->trigger();
    main->LoadNewDoc();
    QVERIFY(!item(*main, "mnuViewToolbar")->isChecked());
    QVERIFY(main->tbToolBar->isVisible() && main->tbToolBar->isEnabled());
}

void tst_MainWindow::statusBarPanels() {
    TestWorld world;
    world.platform.keys[LockKey::Caps] = true;
    auto main = startProgram();
    StatusBar *bar = main->sbStatusBar;
    QCOMPARE(bar->panelCount(), 7);
    QCOMPARE(bar->panel(1)->text(), QString("Status"));
    QCOMPARE(bar->panel(2)->text(), QLocale().toString(QDate(2026, 12, 6), QLocale::ShortFormat));
    QVERIFY(!bar->panel(3)->text().isEmpty());
    const QStringList indicators = {"CAPS", "NUM", "SCRL", "INS"};
    for (int i = 0; i < 4; ++i)
        QCOMPARE(bar->panel(4 + i)->text(), indicators[i]);
    QVERIFY(bar->panel(4)->isEnabled());
    QVERIFY(!bar->panel(5)->isEnabled());
    QVERIFY(!bar->panel(6)->isEnabled());
    QVERIFY(bar->panel(7)->isEnabled());
    world.platform.keys[LockKey::Caps] = false;
    world.platform.keys[LockKey::Num] = true;
    world.platform.pinnedToday = QDate(2027, 1, 2);
    QTRY_VERIFY(bar->panel(5)->isEnabled());
    QVERIFY(!bar->panel(4)->isEnabled());
    QCOMPARE(bar->panel(2)->text(), QLocale().toString(QDate(2027, 1, 2), QLocale::ShortFormat));
}

void tst_MainWindow::placeholderAndHelpMessages_data() {
    QTest::addColumn<QString>("itemName");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("icon");
    const QString noHelp =
        "Unable to display Help Contents. There is no Help associated with this project.";
    QTest::newRow("Refresh") << "mnuViewRefresh"
                             << "Add 'mnuViewRefresh_Click' code." << 0;
    QTest::newRow("Undo") << "mnuEditUndo"
                          << "Add 'mnuEditUndo_Click' code." << 0;
    QTest::newRow("Help Contents") << "mnuHelpContents" << noHelp << MsgBoxStyle::Information;
    QTest::newRow("Search For Help On")
        << "mnuHelpSearchForHelpOn" << noHelp << MsgBoxStyle::Information;
}

void tst_MainWindow::placeholderAndHelpMessages() {
    QFETCH(QString, itemName);
    QFETCH(QString, text);
    QFETCH(int, icon);
    TestWorld world;
    auto main = startProgram();
    // Undo is there with an entry open, and leaves its text alone.
    const bool undo = itemName == "mnuEditUndo";
    if (undo) {
        main->LoadNewDoc();
        QTest::keyClicks(qobject_cast<frmDocument *>(main->activeChild())->rtfText, "undo me");
    }
    for (int time = 0; time < 2; ++time) {
        world.platform.answerMessage(MsgBoxResult::Ok);
        item(*main, itemName)->trigger();
    }
    QCOMPARE(world.platform.messages.size(), 2);
    for (const auto &shown : world.platform.messages) {
        QCOMPARE(shown.text, text);
        QCOMPARE(shown.buttons(), MsgBoxStyle::OkOnly);
        QCOMPARE(shown.icon(), icon);
        QCOMPARE(shown.title, QString("ORVANEL"));
    }
    QCOMPARE(windowCount(*main), undo ? 1 : 0);
    if (undo)
        QCOMPARE(qobject_cast<frmDocument *>(main->activeChild())->rtfText->toPlainText(),
                 QString("undo me"));
    QVERIFY(world.platform.helpCalls.isEmpty());
}

void tst_MainWindow::newDiaryCommandsEachOpenOneWindow_data() {
    QTest::addColumn<QString>("command");
    QTest::newRow("File, New, Diary Entry") << "mnuFileNewDiaryEntry(1)";
    QTest::newRow("Window, New Window") << "mnuWindowNewWindow";
    QTest::newRow("toolbar New") << "New";
    QTest::newRow("Ctrl+F5") << "Ctrl+F5";
}

void tst_MainWindow::newDiaryCommandsEachOpenOneWindow() {
    QFETCH(QString, command);
    TestWorld world;
    auto main = startProgram();
    QVERIFY(QTest::qWaitForWindowActive(main.get()));
    for (int expected = 1; expected <= 2; ++expected) {
        if (command == "Ctrl+F5") {
            QTest::keyClick(main.get(), Qt::Key_F5, Qt::ControlModifier);
        } else if (command == "New") {
            QVERIFY(main->tbToolBar->isVisible() || expected == 1);
            main->tbToolBar_ButtonClick(button(*main, "New"));
        } else {
            item(*main, command)->trigger();
        }
        QCOMPARE(windowCount(*main), expected);
        auto *document = qobject_cast<frmDocument *>(main->activeChild());
        QVERIFY(document);
        QCOMPARE(document->windowTitle(), QString("Diary 12-06-2026"));
        QVERIFY(document->rtfText->document()->isEmpty());
    }
    QVERIFY(main->tbToolBar->isVisible());
    for (const char *name :
         {"mnuFileSave", "mnuFileSaveAs", "mnuFileClose", "mnuEdit", "mnuEditCut"})
        QVERIFY2(item(*main, name)->isEnabled(), name);
}

void tst_MainWindow::documentCommandsFollowTheDiaryWindows() {
    TestWorld world;
    QDir().mkpath(world.diaryFolder());
    auto main = startProgram();
    QVERIFY(QTest::qWaitForWindowActive(main.get()));
    main->LoadNewDoc();
    main->LoadNewDoc();
    auto *kept = qobject_cast<frmDocument *>(main->activeChild());
    kept->setWindowTitle("Kept");
    addOtherChild(*main);
    main->mdiArea()->setActiveSubWindow(main->mdiArea()->subWindowList().first());
    item(*main, "mnuFileClose")->trigger();
    QTRY_COMPARE(windowCount(*main), 2);
    // The other diary window is still open: its commands stay, and F2 saves it.
    QVERIFY(main->tbToolBar->isVisible());
    QVERIFY(main->tbToolBar->isEnabled());
    for (const char *name : {"mnuFileSave", "mnuFileSaveAs", "mnuFileClose", "mnuEdit"})
        QVERIFY2(item(*main, name)->isEnabled(), name);
    main->mdiArea()->setActiveSubWindow(main->mdiArea()->subWindowList().first());
    kept->rtfText->setFocus();
    QTest::keyClicks(kept->rtfText, "still here");
    QTest::keyClick(kept->rtfText, Qt::Key_F2);
    QVERIFY(QFile::exists(world.diaryFolder() + "/Kept.DIA"));
    // The last diary window takes them with it; the phone book or browser window stays.
    item(*main, "mnuFileClose")->trigger();
    QTRY_COMPARE(windowCount(*main), 1);
    QVERIFY(!main->tbToolBar->isVisible());
    QVERIFY(!main->tbToolBar->isEnabled());
    for (const char *name : {"mnuFileSave", "mnuFileSaveAs", "mnuFileClose", "mnuEdit"})
        QVERIFY2(!item(*main, name)->isEnabled(), name);
    main->LoadNewDoc();
    QVERIFY(main->tbToolBar->isVisible());
    QVERIFY(item(*main, "mnuEdit")->isEnabled());
}

void tst_MainWindow::windowArrangement_data() {
    QTest::addColumn<QString>("command");
    QTest::newRow("cascade") << "mnuWindowCascade";
    QTest::newRow("tile horizontal") << "mnuWindowTileHorizontal";
    QTest::newRow("tile vertical") << "mnuWindowTileVertical";
}

void tst_MainWindow::windowArrangement() {
    QFETCH(QString, command);
    TestWorld world;
    auto main = startProgram();
    QVERIFY(QTest::qWaitForWindowExposed(main.get()));
    main->LoadNewDoc();
    main->LoadNewDoc();
    addOtherChild(*main);
    QMdiSubWindow *minimised = main->mdiArea()->subWindowList().first();
    minimised->showMinimized();
    item(*main, command)->trigger();
    const QSize space = main->mdiArea()->viewport()->size();
    const QRect icon = minimised->geometry();
    QList<QRect> frames;
    for (QMdiSubWindow *window : main->mdiArea()->subWindowList())
        if (window != minimised)
            frames << window->geometry();
    std::sort(frames.begin(), frames.end(),
              [](QRect a, QRect b) { return a.top() + a.left() < b.top() + b.left(); });
    QCOMPARE(frames.size(), 2);
    if (command == "mnuWindowCascade") {
        QVERIFY(frames[1].top() > frames[0].top());
        QVERIFY(frames[1].left() > frames[0].left());
        return;
    }
    // The minimised window's icon keeps its row along the bottom, free of the tiles,
    // which fill the space above it.
    QCOMPARE(icon.bottom() + 1, space.height());
    for (const QRect &frame : frames)
        QVERIFY(!frame.intersects(icon));
    QCOMPARE(frames[1].bottom() + 1, icon.top());
    if (command == "mnuWindowTileHorizontal") {
        QCOMPARE(frames[0].width(), space.width());
        QCOMPARE(frames[1].top(), frames[0].bottom() + 1);
    } else {
        QCOMPARE(frames[0].height(), icon.top());
        QCOMPARE(frames[1].left(), frames[0].right() + 1);
    }
}

void tst_MainWindow::arrangeIconsLinesUpMinimisedWindows() {
    TestWorld world;
    auto main = startProgram();
    main->LoadNewDoc();
    main->LoadNewDoc();
    main->LoadNewDoc();
    QList<QMdiSubWindow *> windows = main->mdiArea()->subWindowList();
    windows[2]->setGeometry(30, 40, 300, 200);
    const QRect untouched = windows[2]->geometry();
    windows[0]->showMinimized();
    windows[1]->showMinimized();
    windows[0]->move(200, 10);
    item(*main, "mnuWindowArrangeIcons")->trigger();
    const int bottom = main->mdiArea()->viewport()->height();
    QCOMPARE(windows[0]->geometry().bottom() + 1, bottom);
    QCOMPARE(windows[1]->geometry().bottom() + 1, bottom);
    QCOMPARE(qMin(windows[0]->x(), windows[1]->x()), 0);
    QVERIFY(!windows[0]->geometry().intersects(windows[1]->geometry()));
    QCOMPARE(windows[2]->geometry(), untouched);
}

void tst_MainWindow::tilingManyWindowsCascadesThem() {
    TestWorld world;
    auto main = startProgram();
    QVERIFY(QTest::qWaitForWindowExposed(main.get()));
    for (int i = 0; i < 12; ++i)
        main->LoadNewDoc();
    item(*main, "mnuWindowTileHorizontal")->trigger();
    const QList<QMdiSubWindow *> windows = main->mdiArea()->subWindowList();
    for (QMdiSubWindow *window : windows)
        QVERIFY(window->height() >= 100);
    // Two tiles fit side by side: the cut-off is past what the area holds, not fixed.
    item(*main, "mnuWindowTileVertical")->trigger();
    for (QMdiSubWindow *window : windows)
        QVERIFY(window->width() >= 160);
}

void tst_MainWindow::windowMenuListsTheChildWindows() {
    TestWorld world;
    auto main = startProgram();
    main->LoadNewDoc();
    addOtherChild(*main);
    main->LoadNewDoc();
    main->activeChild()->setWindowTitle("Second & last");
    emit main->mnuWindow->aboutToShow();
    QStringList entries;
    QStringList checked;
    for (QAction *action : main->mnuWindow->actions()) {
        if (!action->objectName().startsWith("mnuWindowList"))
            continue;
        entries << action->text();
        if (action->isChecked())
            checked << action->text();
    }
    QCOMPARE(entries, QStringList({"&1 Diary 12-06-2026", "&2 Other", "&3 Second && last"}));
    QCOMPARE(checked, QStringList({"&3 Second && last"}));
    // Choosing an entry activates that window; the list follows closed windows.
    main->findChild<QAction *>("mnuWindowList(1)")->trigger();
    QCOMPARE(main->activeChild()->windowTitle(), QString("Diary 12-06-2026"));
    main->mdiArea()->subWindowList()[1]->close();
    emit main->mnuWindow->aboutToShow();
    QVERIFY(!main->findChild<QAction *>("mnuWindowList(3)"));
}

void tst_MainWindow::failingToolbarCommandShowsNothing_data() {
    QTest::addColumn<QString>("key");
    for (const char *key : {"Save", "Print", "Cut", "Copy", "Paste", "Bold", "Italic", "Underline",
                            "Center", "Unknown"})
        QTest::newRow(key) << QString(key);
}

void tst_MainWindow::failingToolbarCommandShowsNothing() {
    QFETCH(QString, key);
    TestWorld world;
    auto main = startProgram();
    main->LoadNewDoc();
    addOtherChild(*main);
    world.platform.answerPrintToPdf(world.path("nothing.pdf"));
    QApplication::clipboard()->setText("kept");
    QAction fake(key);
    fake.setData(key);
    QAction *pressed = key == "Unknown" ? &fake : button(*main, key);
    main->tbToolBar_ButtonClick(pressed);
    QVERIFY(world.platform.messages.isEmpty());
    QVERIFY(!QDir(world.diaryFolder()).exists());
    QCOMPARE(QApplication::clipboard()->text(), QString("kept"));
    QVERIFY(!QFile::exists(world.path("nothing.pdf")));
    QCOMPARE(windowCount(*main), 2);
    if (key == "Bold")
        QVERIFY(!pressed->isChecked());
}

void tst_MainWindow::sessionEndRunsTheClosingSteps() {
    TestWorld world;
    auto main = startProgram();
    main->LoadNewDoc();
    main->showNormal();
    main->setGeometry(120, 90, 640, 480);
    const QRect outer(main->pos(), main->size());
    auto *manager = qApp->findChild<QSessionManager *>();
    QVERIFY(manager);
    emit qApp->commitDataRequest(*manager);
    world.endRun();
    QCOMPARE(stored("MainLeft"), pixelsToTwipsX(outer.left()));
    QCOMPARE(stored("MainWidth"), pixelsToTwipsX(outer.width()));
    // The windows stay: the session may go on after all.
    QCOMPARE(windowCount(*main), 1);
    QVERIFY(main->isVisible());
}

void tst_MainWindow::unwritableSettingsAreToldOnce_data() {
    QTest::addColumn<bool>("fileInTheWay");
    QTest::newRow("a file where the folder should be") << true;
    QTest::newRow("a read-only folder") << false;
}

void tst_MainWindow::unwritableSettingsAreToldOnce() {
    QFETCH(bool, fileInTheWay);
    TestWorld world;
    QDir().mkpath(QFileInfo(world.settingsFolder()).absolutePath());
    if (fileInTheWay) {
        QFile file(world.settingsFolder());
        QVERIFY(file.open(QIODevice::WriteOnly));
    } else {
        QDir().mkpath(world.settingsFolder());
        QFile::setPermissions(world.settingsFolder(),
                              QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    }
    {
        FilePermissionsApply asAnyUser;
        auto main = startProgram();
        main->LoadNewDoc();
        auto *document = qobject_cast<frmDocument *>(main->activeChild());
        world.platform.answerMessage(MsgBoxResult::Ok);
        QTest::keyClicks(document->rtfText, "ab"); // writes the saved flag
        QCOMPARE(world.platform.messages.size(), 1);
        const auto &told = world.platform.messages[0];
        QVERIFY2(told.text.contains(QDir::toNativeSeparators(world.settingsFolder())),
                 qPrintable(told.text));
        QCOMPARE(told.icon(), MsgBoxStyle::Exclamation);
        // The bounds written at the close are not told again in the same run.
        writeSavedFlag(true);
        world.platform.answerMessage(MsgBoxResult::No);
        QVERIFY(main->close());
        QCOMPARE(world.platform.messages.size(), 2);
    }
    QFile::setPermissions(world.settingsFolder(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

// Each of the six formats, by a click on its button, by its key and by a screen
// reader's Press and Toggle: the selection takes the format and the button shows it; a
// character format comes off again the same way; the alignments are one group.
void tst_MainWindow::formattingCommands_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("way");
    const QStringList shortcuts = {"Ctrl+B", "Ctrl+I", "Ctrl+U", "Ctrl+L", "Ctrl+E", "Ctrl+R"};
    const QStringList keys = {"Bold", "Italic", "Underline", "Align Left", "Center", "Align Right"};
    for (qsizetype i = 0; i < keys.size(); ++i) {
        QTest::addRow("%s, click", qPrintable(keys[i])) << keys[i] << "click";
        QTest::addRow("%s, %s", qPrintable(keys[i]), qPrintable(shortcuts[i]))
            << keys[i] << shortcuts[i];
        for (const QString &action : {QAccessibleActionInterface::pressAction(),
                                      QAccessibleActionInterface::toggleAction()})
            QTest::addRow("%s, reader's %s", qPrintable(keys[i]), qPrintable(action))
                << keys[i] << action;
    }
    QTest::newRow("New, reader's Press") << "New" << QAccessibleActionInterface::pressAction();
}

void tst_MainWindow::formattingCommands() {
    QFETCH(QString, key);
    QFETCH(QString, way);
    TestWorld world;
    auto main = startProgram();
    QVERIFY(QTest::qWaitForWindowActive(main.get()));
    main->LoadNewDoc();
    RtfTextBox *text = qobject_cast<frmDocument *>(main->activeChild())->rtfText;
    QTest::keyClicks(text, "words");
    text->setSelAlignment(key == "Align Left" ? Alignment::Right : Alignment::Left);
    text->selectAll();
    QWidget *widget = main->tbToolBar->widgetForAction(button(*main, key));
    QAccessibleInterface *reader = QAccessible::queryAccessibleInterface(widget);
    QCOMPARE(reader->text(QAccessible::Name), key);
    const auto use = [&] {
        if (way == "click") {
            QTest::mouseClick(widget, Qt::LeftButton);
        } else if (way.startsWith("Ctrl+")) {
            // With the toolbar hidden by View > Toolbar the keys work all the same.
            item(*main, "mnuViewToolbar")->trigger();
            QTest::keySequence(text, QKeySequence(way));
            item(*main, "mnuViewToolbar")->trigger();
        } else {
            QVERIFY(reader->actionInterface()->actionNames().contains(way));
            reader->actionInterface()->doAction(way);
        }
    };
    use();
    if (key == "New") {
        QCOMPARE(windowCount(*main), 2);
        return;
    }
    // The button shows it pressed, to the eye and to a screen reader.
    QVERIFY(button(*main, key)->isChecked());
    QVERIFY(reader->state().checkable && reader->state().checked);
    QVERIFY(formatHolds(*text, key));
    if (key.startsWith("Align") || key == "Center") {
        for (const char *other : {"Align Left", "Center", "Align Right"})
            QCOMPARE(button(*main, other)->isChecked(), key == other);
        return;
    }
    use();
    QVERIFY(!reader->state().checked);
    QVERIFY(!formatHolds(*text, key));
}

void tst_MainWindow::ctrlF4ClosesTheActiveChild() {
    TestWorld world;
    auto main = startProgram();
    QVERIFY(QTest::qWaitForWindowActive(main.get()));
    main->LoadNewDoc();
    QMdiSubWindow *other = addOtherChild(*main);
    const QPointer<QMdiSubWindow> watched(other);
    QTest::keyClick(main.get(), Qt::Key_F4, Qt::ControlModifier);
    QTRY_VERIFY(!watched);
    QCOMPARE(windowCount(*main), 1);
    // From inside a diary entry too, where the child window's own keys are near.
    auto *document = qobject_cast<frmDocument *>(main->activeChild());
    document->rtfText->setFocus();
    QTest::keyClick(document->rtfText, Qt::Key_F4, Qt::ControlModifier);
    QTRY_COMPARE(windowCount(*main), 0);
    QVERIFY(world.platform.messages.isEmpty());
}

int main(int argc, char **argv) {
    OrvanelApplication application(argc, argv);
    tst_MainWindow test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_mainwindow.moc"

// What the data folder holds when the main window is up: a new one gets an empty phone
// book; an older build's diary and phone book are offered to a data folder that holds
// nothing of the user's, copied on Yes and left where they were, offered again after No
// or a failed copy and never after a copy.
void tst_MainWindow::theDataFolderAtStart_data() {
    QTest::addColumn<QString>("dataHolds"); // "new", "nothing", "an entry", "a file Diary"
    QTest::addColumn<bool>("olderData");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QStringList>("told"); // the start of each message, in order
    QTest::addColumn<bool>("copied");
    QTest::addColumn<bool>("askedAgain");
    const QString question = "ORVANEL now keeps your diary and phone book in";
    QTest::newRow("new, nothing older") << "new" << false << 0 << QStringList() << false << false;
    QTest::newRow("new, older copied")
        << "new" << true << int(MsgBoxResult::Yes)
        << QStringList{question, "ORVANEL copied 1 diary entry and a phone book to"} << true
        << false;
    QTest::newRow("older not copied")
        << "nothing" << true << int(MsgBoxResult::No) << QStringList{question} << false << true;
    QTest::newRow("copy fails")
        << "a file Diary" << true << int(MsgBoxResult::Yes)
        << QStringList{question, "ORVANEL could not copy 1 diary entry and a phone book to"}
        << false << true;
    QTest::newRow("data folder in use")
        << "an entry" << true << 0 << QStringList() << false << false;
}

void tst_MainWindow::theDataFolderAtStart() {
    QFETCH(QString, dataHolds);
    QFETCH(bool, olderData);
    QFETCH(int, answer);
    QFETCH(QStringList, told);
    QFETCH(bool, copied);
    QFETCH(bool, askedAgain);
    TestWorld world;
    const QString data = world.path("data");
    world.platform.folder = data;
    if (dataHolds != "new")
        QVERIFY(QDir().mkpath(data));
    if (dataHolds == "a file Diary")
        QVERIFY(QFile(data + "/Diary").open(QIODevice::WriteOnly));
    const QString ownEntry = data + "/Diary/Diary 12-01-2026.DIA";
    if (dataHolds == "an entry") {
        QVERIFY(QDir().mkpath(data + "/Diary"));
        QVERIFY(QFile(ownEntry).open(QIODevice::WriteOnly));
    }
    const QString older = world.path("older");
    const QString olderEntry = older + "/Diary/Diary 01-02-2025.DIA";
    const QByteArray entryText = "{\\rtf1\\ansi Written with an older build.\\par}";
    if (olderData) {
        world.platform.olderFolder = older;
        QVERIFY(QDir().mkpath(older + "/Diary"));
        QFile entry(olderEntry);
        QVERIFY(entry.open(QIODevice::WriteOnly) && entry.write(entryText) > 0);
        entry.close();
        QCOMPARE(SqliteFile::create(older + "/ORVANEL.MDB"), QString());
        QCOMPARE(appendSampleContacts(older + "/ORVANEL.MDB", 2), QString());
    }
    if (answer)
        world.platform.answerMessage(answer);
    for (qsizetype i = 1; i < told.size(); ++i)
        world.platform.answerMessage(MsgBoxResult::Ok);

    {
        auto main = startProgram();
        QCoreApplication::processEvents(); // what the window does once it is up
        QCOMPARE(world.platform.messages.size(), told.size());
    }
    for (qsizetype i = 0; i < told.size(); ++i)
        QVERIFY2(world.platform.messages[i].text.startsWith(told[i]),
                 qPrintable(world.platform.messages[i].text));
    if (dataHolds == "new")
        QCOMPARE(SqliteFile::contactCount(data + "/ORVANEL.MDB"), copied ? 2 : 0);
    QCOMPARE(QFile::exists(data + "/Diary/Diary 01-02-2025.DIA"), copied);
    if (copied) {
        QFile copy(data + "/Diary/Diary 01-02-2025.DIA");
        QVERIFY(copy.open(QIODevice::ReadOnly));
        QCOMPARE(copy.readAll(), entryText);
    }
    if (olderData) {
        QVERIFY(QFile::exists(olderEntry));
        QCOMPARE(SqliteFile::contactCount(older + "/ORVANEL.MDB"), 2);
    }

    // The next start.
    world.endRun();
    world.platform.messages.clear();
    if (askedAgain)
        world.platform.answerMessage(MsgBoxResult::No);
    auto main = startProgram();
    QCoreApplication::processEvents();
    QCOMPARE(world.platform.messages.size(), askedAgain ? 1 : 0);
}

// The formatting buttons show the format of the active entry's selection as soon as
// another diary window becomes active: the next click then sets, not clears.
void tst_MainWindow::formattingButtonsFollowTheActiveEntry() {
    TestWorld world;
    auto main = startProgram();
    QVERIFY(QTest::qWaitForWindowActive(main.get()));
    main->LoadNewDoc();
    QTest::keyClicks(qobject_cast<frmDocument *>(main->activeChild())->rtfText, "plain");
    main->LoadNewDoc();
    RtfTextBox *bold = qobject_cast<frmDocument *>(main->activeChild())->rtfText;
    QTest::keyClicks(bold, "bold");
    bold->selectAll();
    QTest::keyClick(bold, Qt::Key_B, Qt::ControlModifier);
    QVERIFY(button(*main, "Bold")->isChecked());
    main->mdiArea()->activatePreviousSubWindow();
    QVERIFY(!button(*main, "Bold")->isChecked());
    main->mdiArea()->activateNextSubWindow();
    QVERIFY(button(*main, "Bold")->isChecked());
}

// File > Exit and closing the main window bring forward each entry they ask about, so
// that the user sees which of two entries of one day the question is about.
void tst_MainWindow::exitShowsTheEntryItAsksAbout_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("File > Exit") << "exit";
    QTest::newRow("closing the main window") << "close";
}

void tst_MainWindow::exitShowsTheEntryItAsksAbout() {
    QFETCH(QString, how);
    TestWorld world;
    auto main = startProgram();
    for (const char *words : {"first entry", "second entry"}) {
        main->LoadNewDoc();
        QTest::keyClicks(qobject_cast<frmDocument *>(main->activeChild())->rtfText, words);
    }
    main->mdiArea()->subWindowList().last()->showMaximized();
    QStringList shown;
    for (int i = 0; i < 2; ++i)
        world.platform.answerMessageWith([&](const ScriptedPlatform::ShownMessage &) {
            const QList<QMdiSubWindow *> stack =
                main->mdiArea()->subWindowList(QMdiArea::StackingOrder);
            QMdiSubWindow *active = main->mdiArea()->activeSubWindow();
            auto *document = qobject_cast<frmDocument *>(active->widget());
            // The window asked about is active and on top of the others.
            shown << (stack.last() == active ? document->rtfText->toPlainText() : "hidden");
            return int(MsgBoxResult::No);
        });
    if (how == "exit")
        item(*main, "mnuFileExit")->trigger();
    else
        main->close();
    QCOMPARE(shown.size(), 2);
    QVERIFY2(!shown.contains("hidden"), qPrintable(shown.join(", ")));
    QCOMPARE(QSet<QString>(shown.begin(), shown.end()),
             (QSet<QString>{"first entry", "second entry"}));
}
