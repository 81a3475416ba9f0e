#include "platform/application.h"
#include "platform/settings.h"
#include "shell/module1.h"

#include <QTimer>

int main(int argc, char **argv) {
    OrvanelApplication application(argc, argv);
    Module1::Main();
    // The start-up benchmark ends the program as soon as the shown window is idle.
    if (qEnvironmentVariableIsSet("ORVANEL_QUIT_WHEN_IDLE"))
        QTimer::singleShot(0, &application, &QApplication::quit);
    const int status = OrvanelApplication::exec();
    flushSettings();
    return status;
}
