// The floor for start-up: a Qt program that shows one empty window and quits as soon as
// its event loop is idle, measured the same way as the program itself.
//   startup_baseline [--share-gl]
// With --share-gl it first asks for the OpenGL context sharing that a web engine needs,
// the documented way (before the application object exists), to show what that costs
// a program that would do so at every start.
#include <QApplication>
#include <QTimer>
#include <QWidget>

int main(int argc, char **argv) {
    if (argc > 1 && qstrcmp(argv[1], "--share-gl") == 0)
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    QWidget window;
    window.showMaximized();
    QTimer::singleShot(0, &application, &QApplication::quit);
    return QApplication::exec();
}
