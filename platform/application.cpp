#include "platform/application.h"

#include "platform/errorhandling.h"

OrvanelApplication::OrvanelApplication(int &argc, char **argv) : QApplication(argc, argv) {
    nameApplication();
}

void OrvanelApplication::nameApplication() {
    setApplicationName(QStringLiteral("ORVANEL"));
    setApplicationVersion(QStringLiteral(ORVANEL_VERSION));
    // The desktop entry it was started from, for the window system's task lists.
    setDesktopFileName(QStringLiteral("org.orvanel.Orvanel"));
}

bool OrvanelApplication::notify(QObject *receiver, QEvent *event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        reportCurrentError();
        return false;
    }
}
