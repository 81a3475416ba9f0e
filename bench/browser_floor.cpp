// The floor for the browser window: a program of ours that only shows one QWebEngineView
// the way Qt documents it, measured as browser_open measures ORVANEL: the time from
// making a view to the page's title, for a first and a second view, and the memory with
// one view showing the page.
//   browser_floor PAGE TITLE [--mdi]
// With --mdi each view is a maximized sub-window of a multiple-document area in a main
// window, as ORVANEL shows its browser windows, instead of a window of its own.
#include "processmemory.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>
#include <QWebEngineView>
#include <cstdio>
#include <unistd.h>

namespace {
double openView(const QUrl &page, const QString &title, QMdiArea *area) {
    QElapsedTimer timer;
    timer.start();
    auto *view = new QWebEngineView;
    if (area)
        area->addSubWindow(view)->showMaximized();
    else
        view->showMaximized();
    view->load(page);
    if (!QTest::qWaitFor([&] { return view->title() == title; }, 60000)) {
        std::fprintf(stderr, "the page did not come\n");
        std::exit(1);
    }
    return double(timer.nsecsElapsed()) / 1e6;
}
} // namespace

int main(int argc, char **argv) {
    if (geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: browser_floor PAGE TITLE\n");
        return 2;
    }
    const QUrl page = QUrl::fromUserInput(QString::fromLocal8Bit(argv[1]));
    const QString title = QString::fromLocal8Bit(argv[2]);
    QMainWindow main;
    QMdiArea *area = nullptr;
    if (argc > 3 && qstrcmp(argv[3], "--mdi") == 0) {
        area = new QMdiArea;
        main.setCentralWidget(area);
        main.showMaximized();
    }
    QTest::qWait(200);
    const double first = openView(page, title, area);
    QTest::qWait(500);
    const double memory = processTreeMegabytes();
    const double second = openView(page, title, area);
    std::printf("%.1f %.1f %.1f\n", first, second, memory);
    std::fflush(stdout);
    std::_Exit(0);
}
