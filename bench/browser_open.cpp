// ORVANEL's web browser window on a local page: the time from View > Web Browser to the
// page's title in the window's caption, for the first window (loading the browser module
// and starting the engine included) and for a second one, and the memory of the program
// with its processes while one browser window shows the page.
//   browser_open PAGE TITLE        (one measurement a process)
#include "accessories/startuptip.h"
#include "benchhome.h"
#include "browser/frmbrowser.h"
#include "platform/settings.h"
#include "processmemory.h"
#include "shell/frmmain.h"
#include "shell/module1.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

namespace {
double openWindow(frmMain &main, const QString &title) {
    QElapsedTimer timer;
    timer.start();
    main.findChild<QAction *>(QStringLiteral("mnuViewWebBrowser"))->trigger();
    QWidget *window = main.activeChild();
    if (!QTest::qWaitFor([&] { return window->windowTitle() == title; }, 60000)) {
        std::fprintf(stderr, "the page did not come: caption \"%s\"\n",
                     qPrintable(window->windowTitle()));
        std::exit(1);
    }
    return double(timer.nsecsElapsed()) / 1e6;
}
} // namespace

int main(int argc, char **argv) {
    QTemporaryDir home;
    qputenv("ORVANEL_HOME", home.path().toUtf8());
    useBenchHome(home);
    QApplication application(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: browser_open PAGE TITLE\n");
        return 2;
    }
    const QString page = QString::fromLocal8Bit(argv[1]);
    const QString title = QString::fromLocal8Bit(argv[2]);
    SaveSetting(QStringLiteral("ORVANEL"), QStringLiteral("Browser"), QStringLiteral("StartPage"),
                page);
    storeStartupTip(false); // no tip of the day in the way
    frmMain *main = Module1::Main();
    QTest::qWait(200);
    const double first = openWindow(*main, title);
    QTest::qWait(500);
    const double memory = processTreeMegabytes();
    const double second = openWindow(*main, title);
    std::printf("%.1f %.1f %.1f\n", first, second, memory);
    std::fflush(stdout);
    std::_Exit(0);
}
