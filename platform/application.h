#pragma once

#include <QApplication>
#include <thread>

// The application object. A run-time error that escapes an event handler is shown like
// any reported error, and the program goes on: ending it there would lose unsaved work.
class OrvanelApplication : public QApplication {
public:
    OrvanelApplication(int &argc, char **argv);
    // The program's name, version and desktop entry, for this object or one of Qt Core.
    static void nameApplication();
    bool notify(QObject *receiver, QEvent *event) override;

private:
    std::jthread fontListReader_;
};
