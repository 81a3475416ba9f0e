#include "platform/application.h"

#include "platform/errorhandling.h"

OrvanelApplication::OrvanelApplication(int &argc, char **argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("ORVANEL"));
    setApplicationVersion(QStringLiteral("1.0.0"));
}

bool OrvanelApplication::notify(QObject *receiver, QEvent *event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        reportCurrentError();
        return false;
    }
}
