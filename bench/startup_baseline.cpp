// The floor for start-up: a Qt program that shows one empty window and quits as soon as
// its event loop is idle, measured the same way as the program itself.
#include <QApplication>
#include <QTimer>
#include <QWidget>

int main(int argc, char **argv) {
    QApplication application(argc, argv);
    QWidget window;
    window.showMaximized();
    QTimer::singleShot(0, &application, &QApplication::quit);
    return QApplication::exec();
}
