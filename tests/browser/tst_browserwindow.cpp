// Browser windows as the user works with them: opening from the View and Run menus,
// typing addresses, the list of visited addresses, the toolbar and its keys, the busy
// caption, new windows, downloads, a page that crashes, and a program folder without
// the browser engine. The pages come from a server inside the test.
#include "browser/frmbrowser.h"
#include "browser/webbrowsermodule.h"
#include "platform/settings.h"
#include "shell/frmmain.h"
#include "startprogram.h"
#include "testhttpserver.h"
#include "testworld.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <csignal>
#include <unistd.h>

namespace {

// The engine starts in a few seconds the first time; a page of the local server loads
// in well under one after that.
constexpr int loadTimeout = 30000;

QStringList addressList(const frmBrowser &window) {
    QStringList entries;
    for (int i = 0; i < window.cboAddress->count(); ++i)
        entries << window.cboAddress->itemText(i);
    return entries;
}

// Types an address into the box, as the user does after Ctrl+L, and presses Enter.
void typeAddress(frmBrowser &window, const QString &address) {
    QTest::keyClick(&window, Qt::Key_L, Qt::ControlModifier);
    QTest::keyClicks(window.cboAddress, address);
    QTest::keyClick(window.cboAddress, Qt::Key_Return);
}

void pressToolbarButton(frmBrowser &window, const QString &key) {
    QAction *action = window.tbToolBar->findChild<QAction *>(key);
    QVERIFY(action);
    QWidget *button = window.tbToolBar->widgetForAction(action);
    QAccessibleInterface *button_ = QAccessible::queryAccessibleInterface(button);
    QVERIFY(button_ && button_->actionInterface());
    button_->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
}

// The processes of the engine that render pages for this program: the engine starts a
// launcher process, and the launcher forks one renderer for each site.
QList<pid_t> rendererProcesses() {
    QList<pid_t> renderers;
    QList<std::pair<pid_t, int>> parents{{getpid(), 0}};
    while (!parents.isEmpty()) {
        const auto [parent, depth] = parents.takeFirst();
        for (const QString &entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
            bool isPid = false;
            const pid_t pid = entry.toInt(&isPid);
            QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
            if (!isPid || !stat.open(QIODevice::ReadOnly))
                continue;
            const QByteArray text = stat.readAll();
            const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
            if (fields.size() < 2 || fields[1].toInt() != parent)
                continue;
            parents.append({pid, depth + 1});
            if (depth + 1 >= 2)
                renderers << pid;
        }
    }
    return renderers;
}

// What a screen reader finds under a control: the names and values of it and of
// everything in it, and the first link of that name.
void readAloud(QAccessibleInterface *node, QStringList &heard, int depth = 0) {
    if (!node || depth > 40)
        return;
    heard << node->text(QAccessible::Name) << node->text(QAccessible::Value);
    for (int i = 0; i < node->childCount(); ++i)
        readAloud(node->child(i), heard, depth + 1);
}
QAccessibleInterface *linkNamed(QAccessibleInterface *node, const QString &name, int depth = 0) {
    if (!node || depth > 40)
        return nullptr;
    if (node->role() == QAccessible::Link && node->text(QAccessible::Name) == name)
        return node;
    for (int i = 0; i < node->childCount(); ++i) {
        if (QAccessibleInterface *link = linkNamed(node->child(i), name, depth + 1))
            return link;
    }
    return nullptr;
}

} // namespace

class tst_BrowserWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<TestWorld> world;
    std::unique_ptr<TestHttpServer> server;
    std::unique_ptr<frmMain> main;

    frmBrowser *openFromMenu(const char *item = "mnuViewWebBrowser") {
        main->findChild<QAction *>(QLatin1String(item))->trigger();
        return qobject_cast<frmBrowser *>(main->activeChild());
    }
    void setStartPage(const QString &address) {
        SaveSetting("ORVANEL", "Browser", "StartPage", address);
    }
    // Opens a window on the start page and waits until its title is shown.
    frmBrowser *openAt(const QString &path, const QString &title) {
        setStartPage(server->url(path));
        frmBrowser *window = openFromMenu();
        if (window && !QTest::qWaitFor([&] { return window->windowTitle() == title; }, loadTimeout))
            qWarning() << "caption stayed" << window->windowTitle();
        return window;
    }

private slots:
    void init() {
        world = std::make_unique<TestWorld>();
        server = std::make_unique<TestHttpServer>();
        server->page("/a", "Page A");
        server->page("/b", "Page B");
        server->page("/Case", "Upper case");
        server->page("/case", "Lower case");
        server->page("/dir/", "Folder page");
        server->page("/d", "Page D");
        server->redirect("/dir", "/dir/");
        server->page("/home", "Home page");
        server->page("/search", "Search page");
        SaveSetting("ORVANEL", "Browser", "HomePage", server->url("/home"));
        SaveSetting("ORVANEL", "Browser", "SearchPage", server->url("/search"));
        main = startProgram();
    }
    void cleanup() {
        main.reset();
        server.reset();
        world.reset();
    }

    void addressListAfterVisits_data() {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<QString>("caption");
        QTest::newRow("A, B, A: A once, at the top")
            << "/a" << QStringList{"/b", "/a"} << QStringList{"/a", "/b"} << "Page A";
        QTest::newRow("letter case kept apart")
            << "/Case" << QStringList{"/case"} << QStringList{"/case", "/Case"} << "Lower case";
        QTest::newRow("the reported form first, then the start address")
            << "/dir" << QStringList{} << QStringList{"/dir/", "/dir"} << "Folder page";
        QTest::newRow("Enter on the current page")
            << "/a" << QStringList{"/a"} << QStringList{"/a"} << "Page A";
        // Sent as typed: a visited address that begins with the text does not take its place.
        QTest::newRow("the beginning of a visited address")
            << "/dir/" << QStringList{"/d"} << QStringList{"/d", "/dir/"} << "Page D";
    }
    void addressListAfterVisits() {
        QFETCH(QString, start);
        QFETCH(QStringList, typed);
        QFETCH(QStringList, expected);
        QFETCH(QString, caption);
        setStartPage(server->url(start));
        frmBrowser *window = openFromMenu();
        QVERIFY(window);
        QTRY_VERIFY_WITH_TIMEOUT(!window->timTimer->isActive(), loadTimeout);
        for (const QString &path : typed) {
            const int before = server->hits(path);
            typeAddress(*window, server->url(path));
            QTRY_COMPARE_WITH_TIMEOUT(server->hits(path), before + 1, loadTimeout);
            QTRY_VERIFY_WITH_TIMEOUT(!window->timTimer->isActive(), loadTimeout);
        }
        QStringList expectedUrls;
        for (const QString &path : expected)
            expectedUrls << server->url(path);
        QTRY_COMPARE(addressList(*window), expectedUrls);
        QCOMPARE(window->windowTitle(), caption);
        QCOMPARE(window->cboAddress->currentText(), expectedUrls.first());
    }

    void choosingAnEntryNavigatesOnce() {
        frmBrowser *window = openAt("/a", "Page A");
        typeAddress(*window, server->url("/b"));
        QTRY_COMPARE_WITH_TIMEOUT(window->windowTitle(), QString("Page B"), loadTimeout);
        QTRY_COMPARE(addressList(*window), (QStringList{server->url("/b"), server->url("/a")}));
        const int before = server->hits("/a");
        // Down in the closed box chooses the next entry, as a click in the list does.
        window->cboAddress->setFocus();
        QTest::keyClick(window->cboAddress, Qt::Key_Down);
        QTRY_COMPARE_WITH_TIMEOUT(window->windowTitle(), QString("Page A"), loadTimeout);
        QTRY_COMPARE(addressList(*window), (QStringList{server->url("/a"), server->url("/b")}));
        // The list's own rewriting after the page came did not ask for it again.
        QTest::qWait(500);
        QCOMPARE(server->hits("/a"), before + 1);
    }

    void toolbarAndKeys() {
        frmBrowser *window = openAt("/a", "Page A");
        // Back with nothing behind does nothing; the caption comes back.
        pressToolbarButton(*window, "Back");
        QTRY_VERIFY(!window->timTimer->isActive());
        QCOMPARE(window->windowTitle(), QString("Page A"));

        typeAddress(*window, server->url("/b"));
        QTRY_COMPARE_WITH_TIMEOUT(window->windowTitle(), QString("Page B"), loadTimeout);
        QTest::keyClick(window, Qt::Key_Left, Qt::AltModifier);
        QTRY_COMPARE_WITH_TIMEOUT(window->windowTitle(), QString("Page A"), loadTimeout);
        pressToolbarButton(*window, "Forward");
        QTRY_COMPARE_WITH_TIMEOUT(window->windowTitle(), QString("Page B"), loadTimeout);
        // Forward at the newest page does nothing.
        QTest::keyClick(window, Qt::Key_Right, Qt::AltModifier);
        QTRY_VERIFY(!window->timTimer->isActive());
        QCOMPARE(window->windowTitle(), QString("Page B"));

        const int before = server->hits("/b");
        QTest::keyClick(window, Qt::Key_F5);
        QTRY_COMPARE_WITH_TIMEOUT(server->hits("/b"), before + 1, loadTimeout);

        // Home and Search are the component's own pages, not the window's start.
        pressToolbarButton(*window, "Home");
        QTRY_COMPARE_WITH_TIMEOUT(window->windowTitle(), QString("Home page"), loadTimeout);
        pressToolbarButton(*window, "Search");
        QTRY_COMPARE_WITH_TIMEOUT(window->windowTitle(), QString("Search page"), loadTimeout);
        QTRY_COMPARE(window->cboAddress->itemText(0), server->url("/search"));
    }

    void workingCaptionAndStop() {
        TestHttpServer::Response slow;
        slow.body = "<html><head><title>Slow page</title></head></html>";
        slow.delayMs = 5000;
        server->respond("/slow", slow);
        frmBrowser *window = openAt("/a", "Page A");
        typeAddress(*window, server->url("/slow"));
        QTRY_COMPARE_WITH_TIMEOUT(window->windowTitle(), QString("Working..."), loadTimeout);
        QTest::keyClick(window->cboAddress, Qt::Key_Escape);
        // The page that is current when Stop is pressed gives the caption.
        QCOMPARE(window->windowTitle(), QString("Page A"));
        QVERIFY(!window->timTimer->isActive());
        QVERIFY(!window->brwWebBrowser->Busy());
    }

    // Esc is the page's while nothing loads: its own dialogs and menus close with it.
    void escGoesToThePageWhenNothingLoads() {
        server->page("/keys", "Keys",
                     "<script>document.addEventListener('keydown', e => {"
                     " if (e.key === 'Escape') document.title = 'Esc seen'; });</script>"
                     "<p>Press a key</p>");
        frmBrowser *window = openAt("/keys", "Keys");
        QWidget *page = window->brwWebBrowser->focusProxy();
        page->setFocus();
        QTRY_VERIFY(page->hasFocus() || (page->focusProxy() && page->focusProxy()->hasFocus()));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QTRY_COMPARE_WITH_TIMEOUT(window->brwWebBrowser->LocationName(), QString("Esc seen"),
                                  loadTimeout);
    }

    // "Working..." shows only while the engine loads a page: a command that loads
    // nothing leaves the caption as it was.
    void nothingToLoadIsNeverWorking_data() {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("typed"); // empty: F5
        QTest::newRow("Refresh on a blank window") << QString() << QString();
        QTest::newRow("a javascript: address") << "/a" << QString("javascript:void(0)");
    }
    void nothingToLoadIsNeverWorking() {
        QFETCH(QString, start);
        QFETCH(QString, typed);
        frmBrowser *window =
            start.isEmpty() ? (setStartPage({}), openFromMenu()) : openAt(start, "Page A");
        const QString caption = window->windowTitle();
        if (typed.isEmpty())
            QTest::keyClick(window, Qt::Key_F5);
        else
            typeAddress(*window, typed);
        QTest::qWait(1000);
        QVERIFY(!window->timTimer->isActive());
        QVERIFY(!window->brwWebBrowser->Busy());
        QCOMPARE(window->windowTitle(), caption);
        if (!start.isEmpty())
            return;
        // A window without a start page stays blank, with nothing listed, until an
        // address is typed.
        QCOMPARE(window->cboAddress->currentText(), QString());
        QCOMPARE(window->cboAddress->count(), 0);
        typeAddress(*window, server->url("/b"));
        QTRY_COMPARE_WITH_TIMEOUT(window->windowTitle(), QString("Page B"), loadTimeout);
    }

    // Text that is no address gets a page that says so, and is listed as it was typed.
    void textThatIsNoAddressIsShownAndListed() {
        frmBrowser *window = openAt("/a", "Page A");
        typeAddress(*window, "hello world");
        QTRY_COMPARE_WITH_TIMEOUT(addressList(*window),
                                  (QStringList{"hello world", server->url("/a")}), loadTimeout);
        QTRY_VERIFY(!window->timTimer->isActive());
        QCOMPARE(window->windowTitle(), QString("hello world"));
        QVERIFY(world->platform.messages.isEmpty());
    }

    // A screen reader that starts reads the page: its heading, text and links, and
    // follows a link. (One that runs before the program is read over AT-SPI by the
    // installed program's test.)
    void aScreenReaderReadsThePage() {
        server->page("/article", "Article",
                     "<h1>The heading</h1><p>A paragraph to read.</p><a href='/b'>Go to B</a>");
        frmBrowser *window = openAt("/article", "Article");
        QAccessible::setActive(true);
        QAccessibleInterface *view = QAccessible::queryAccessibleInterface(window->brwWebBrowser);
        QVERIFY(view);
        QStringList heard;
        QTRY_VERIFY_WITH_TIMEOUT((heard.clear(), readAloud(view, heard),
                                  heard.join('\n').contains("The heading") &&
                                      heard.join('\n').contains("A paragraph to read.")),
                                 loadTimeout);
        QAccessibleInterface *link = nullptr;
        QTRY_VERIFY_WITH_TIMEOUT((link = linkNamed(view, "Go to B")) != nullptr, loadTimeout);
        QVERIFY(link->actionInterface());
        // The reader puts the focus on the link, and Enter follows it.
        QWidget *page = window->brwWebBrowser->focusProxy();
        page->setFocus();
        QTRY_VERIFY(page->hasFocus() || (page->focusProxy() && page->focusProxy()->hasFocus()));
        link->actionInterface()->doAction(QAccessibleActionInterface::setFocusAction());
        QTRY_VERIFY_WITH_TIMEOUT(link->state().focused, loadTimeout);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTRY_COMPARE_WITH_TIMEOUT(window->windowTitle(), QString("Page B"), loadTimeout);
        QAccessible::setActive(false);
    }

    void twoWindowsKeepTheirOwnLists() {
        frmBrowser *first = openAt("/a", "Page A");
        frmBrowser *second = openFromMenu("mnuRunWebBrowser(3)");
        QVERIFY(second && second != first);
        QTRY_COMPARE_WITH_TIMEOUT(second->windowTitle(), QString("Page A"), loadTimeout);
        typeAddress(*second, server->url("/b"));
        QTRY_COMPARE_WITH_TIMEOUT(second->windowTitle(), QString("Page B"), loadTimeout);
        QTRY_COMPARE(addressList(*second), (QStringList{server->url("/b"), server->url("/a")}));
        QCOMPARE(addressList(*first), QStringList{server->url("/a")});
        QCOMPARE(first->windowTitle(), QString("Page A"));
        QCOMPARE(main->mdiArea()->subWindowList().size(), 2);
    }

    void pageOpensANewWindow_data() {
        QTest::addColumn<QString>("body");
        QTest::addColumn<bool>("click");
        QTest::addColumn<int>("windows"); // at the end, the page's own among them
        const QString area = "style='display:block;width:100%;height:400px;background:#8c8'";
        QTest::newRow("a link clicked")
            << "<a id=l href='/b' target='_blank' " + area + ">open B</a>" << true << 2;
        QTest::newRow("a script without a click")
            << "<script>for (let i = 0; i < 20; ++i) window.open('/b');</script><p " + area +
                   ">B</p>"
            << false << 1;
        QTest::newRow("a click that opens many")
            << "<div " + area +
                   " onclick=\"for (let i = 0; i < 20; ++i) window.open('/b');\">B</div>"
            << true << 2;
    }
    void pageOpensANewWindow() {
        QFETCH(QString, body);
        QFETCH(bool, click);
        QFETCH(int, windows);
        server->page("/links", "Links", body);
        frmBrowser *window = openAt("/links", "Links");
        QWidget *page = window->brwWebBrowser->focusProxy();
        QVERIFY(page);
        // The engine draws into a child widget of its own: click where the link is.
        QWidget *surface = page->focusProxy() ? page->focusProxy() : page;
        QTRY_VERIFY_WITH_TIMEOUT(surface->isVisible(), loadTimeout);
        QTest::qWait(300);
        if (click)
            QTest::mouseClick(surface, Qt::LeftButton, {}, QPoint(60, 60));
        if (windows > 1)
            QTRY_COMPARE_WITH_TIMEOUT(main->mdiArea()->subWindowList().size(), windows,
                                      loadTimeout);
        QTest::qWait(1500);
        QCOMPARE(main->mdiArea()->subWindowList().size(), windows);
        QCOMPARE(window->windowTitle(), QString("Links"));
        if (windows == 1)
            return;
        auto *opened = qobject_cast<frmBrowser *>(main->activeChild());
        QVERIFY(opened && opened != window);
        QTRY_VERIFY_WITH_TIMEOUT(opened->windowTitle() == "Page B", loadTimeout);
        QVERIFY(addressList(*opened).value(0).startsWith(server->url("/b")));
    }

    // However often its page asks, a window opens no more than three others at once; the
    // others' pages have their own few.
    void pagesOpenOnlyAFewWindowsAtOnce() {
        frmBrowser *window = openAt("/a", "Page A");
        int given = 0;
        for (int i = 0; i < 6; ++i)
            given += window->brwWebBrowser_NewWindow() != nullptr;
        QCOMPARE(given, 3);
        QCOMPARE(main->mdiArea()->subWindowList().size(), 4);
        auto *opened = qobject_cast<frmBrowser *>(main->activeChild());
        QVERIFY(opened && opened != window);
        QVERIFY(opened->brwWebBrowser_NewWindow());
        QCOMPARE(main->mdiArea()->subWindowList().size(), 5);
    }

    void downloads_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("cutOff");
        QTest::addColumn<QString>("suggested"); // by the page
        QTest::addColumn<QString>("offered");   // in the download folder
        QTest::newRow("saved where the user said") << "saved/list.csv" << false << "list.csv"
                                                   << "list.csv";
        QTest::newRow("cancelled") << "" << false << "list.csv"
                                   << "list.csv";
        QTest::newRow("broken off by the server") << "saved/list.csv" << true << "list.csv"
                                                  << "list.csv";
        QTest::newRow("a name that climbs out") << "" << false << "../../.bashrc"
                                                << "bashrc";
        QTest::newRow("a name in folders") << "" << false << "../.config/autostart/x.desktop"
                                           << "x.desktop";
    }
    void downloads() {
        QFETCH(QString, answer);
        QFETCH(bool, cutOff);
        QFETCH(QString, suggested);
        QFETCH(QString, offered);
        TestHttpServer::Response file;
        file.contentType = "application/octet-stream";
        file.body = "contacts,addresses\n1,2\n";
        file.extraHeaders =
            QString("Content-Disposition: attachment; filename=\"%1\"\r\n").arg(suggested).toUtf8();
        if (cutOff)
            file.declaredLength = 100000;
        server->respond("/list.csv", file);
        frmBrowser *window = openAt("/a", "Page A");
        QDir().mkpath(world->path("saved"));
        const QString target = answer.isEmpty() ? QString() : world->path(answer);
        world->platform.answerFileDialog(target);
        world->platform.answerMessage(1);
        typeAddress(*window, server->url("/list.csv"));
        QTRY_COMPARE_WITH_TIMEOUT(world->platform.fileDialogs.size(), 1, loadTimeout);
        QCOMPARE(world->platform.fileDialogs[0].kind, FileDialogKind::Save);
        QCOMPARE(world->platform.fileDialogs[0].folder,
                 QDir(QStandardPaths::writableLocation(QStandardPaths::DownloadLocation))
                     .filePath(offered));
        if (cutOff) {
            // The user hears that the file did not come, and where it was to go.
            QTRY_COMPARE_WITH_TIMEOUT(world->platform.messages.size(), 1, loadTimeout);
            QVERIFY2(world->platform.messages[0].text.startsWith("The file " +
                                                                 QDir::toNativeSeparators(target) +
                                                                 " could not be downloaded: "),
                     qPrintable(world->platform.messages[0].text));
        } else if (!target.isEmpty()) {
            QTRY_COMPARE_WITH_TIMEOUT(QFile(target).size(), qint64(file.body.size()), loadTimeout);
            QFile saved(target);
            QVERIFY(saved.open(QIODevice::ReadOnly));
            QCOMPARE(saved.readAll(), file.body);
        } else {
            QTest::qWait(1000);
            QVERIFY(QDir(world->path("saved")).isEmpty());
        }
        if (!cutOff)
            QVERIFY(world->platform.messages.isEmpty());
        // The page stays where it was.
        QTRY_VERIFY(!window->timTimer->isActive());
        QCOMPARE(window->windowTitle(), QString("Page A"));
    }

    void crashedPageShowsAnErrorAndTheProgramGoesOn() {
        frmBrowser *window = openAt("/a", "Page A");
        QList<pid_t> renderers;
        QTRY_VERIFY_WITH_TIMEOUT(!(renderers = rendererProcesses()).isEmpty(), loadTimeout);
        for (pid_t pid : renderers)
            ::kill(pid, SIGKILL);
        QTRY_VERIFY_WITH_TIMEOUT(window->windowTitle().startsWith("The page"), loadTimeout);
        // The window carries on: Refresh loads the page again.
        pressToolbarButton(*window, "Refresh");
        QTRY_COMPARE_WITH_TIMEOUT(window->windowTitle(), QString("Page A"), loadTimeout);
        frmBrowser *other = openAt("/b", "Page B");
        QVERIFY(other);
        QCOMPARE(other->windowTitle(), QString("Page B"));
    }

    void screenReaderNamesAndCaptions() {
        frmBrowser *window = openAt("/a", "Page A");
        // The box is labelled by "Address:", and so is its edit line, where the
        // keyboard is when the reader speaks.
        QAccessibleInterface *box = QAccessible::queryAccessibleInterface(window->cboAddress);
        const auto labels = box->relations(QAccessible::Label);
        QCOMPARE(labels.size(), 1);
        QCOMPARE(labels[0].first->text(QAccessible::Name), QString("Address:"));
        QCOMPARE(QAccessible::queryAccessibleInterface(window->cboAddress->lineEdit())
                     ->text(QAccessible::Name),
                 QString("Address:"));
        QStringList names;
        for (QAction *action : window->tbToolBar->actions()) {
            QWidget *button = window->tbToolBar->widgetForAction(action);
            names << QAccessible::queryAccessibleInterface(button)->text(QAccessible::Name);
        }
        QCOMPARE(names, (QStringList{"Back", "Forward", "Stop", "Refresh", "Home", "Search"}));
        // Every button the reader meets on the toolbar has a name, the one that shows
        // the buttons a narrow window hides among them.
        for (QToolButton *button : window->tbToolBar->findChildren<QToolButton *>())
            QVERIFY2(
                !QAccessible::queryAccessibleInterface(button)->text(QAccessible::Name).isEmpty(),
                qPrintable(button->objectName()));
    }

    void ctrlLGoesToTheAddressBox() {
        // A diary window beside it has Ctrl+L as Align Left; in the browser window the
        // key still goes to the address box, from the page as from the toolbar.
        main->findChild<QAction *>("mnuFileNewDiaryEntry(1)")->trigger();
        frmBrowser *window = openAt("/a", "Page A");
        QWidget *page = window->brwWebBrowser->focusProxy();
        page->setFocus();
        QTRY_VERIFY(page->hasFocus() || (page->focusProxy() && page->focusProxy()->hasFocus()));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_L, Qt::ControlModifier);
        QTRY_VERIFY(window->cboAddress->lineEdit()->hasFocus());
        QCOMPARE(window->cboAddress->lineEdit()->selectedText(), server->url("/a"));
        QTest::keyClicks(QApplication::focusWidget(), server->url("/b"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTRY_COMPARE_WITH_TIMEOUT(window->windowTitle(), QString("Page B"), loadTimeout);
    }

    void missingModuleIsTold() {
        // A copy of this test program in a folder without the browser module.
        QTemporaryDir folder;
        const QString copy = folder.filePath("tst_browserwindow");
        QVERIFY(QFile::copy(QCoreApplication::applicationFilePath(), copy));
        QProcess child;
        child.start(copy, {"--open-browser-without-module"});
        QVERIFY(child.waitForFinished(60000));
        const QString told = QString::fromUtf8(child.readAllStandardOutput());
        QCOMPARE(child.exitCode(), 0);
        QVERIFY2(told.contains("The web browser cannot start: its module " +
                               QDir(folder.path()).filePath("liborvanel_webengine.so") +
                               " could not be loaded"),
                 qPrintable(told));
        QVERIFY2(told.contains("windows: 0; phone book opens: 1"), qPrintable(told));
    }
};

// Run in a folder without the browser module: View > Web Browser tells why it cannot
// open, and the program works on. Prints what the user saw.
static int openBrowserWithoutModule(int argc, char **argv) {
    QApplication application(argc, argv);
    TestWorld world;
    auto main = startProgram();
    world.platform.answerMessage(1);
    main->findChild<QAction *>("mnuViewWebBrowser")->trigger();
    const int windows = int(main->mdiArea()->subWindowList().size());
    main->findChild<QAction *>("mnuDataPhoneBook")->trigger();
    QTextStream out(stdout);
    for (const auto &message : world.platform.messages)
        out << message.text << '\n';
    out << "windows: " << windows
        << "; phone book opens: " << main->mdiArea()->subWindowList().size() << '\n';
    return 0;
}

int main(int argc, char **argv) {
    if (argc > 1 && qstrcmp(argv[1], "--open-browser-without-module") == 0)
        return openBrowserWithoutModule(argc, argv);
    QApplication application(argc, argv);
    tst_BrowserWindow test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_browserwindow.moc"
