#include "platform/application.h"

#include "platform/errorhandling.h"
#include "platform/imagelist.h"

#include <orvanel/version.h>

#include <QFontDatabase>

OrvanelApplication::OrvanelApplication(int &argc, char **argv) : QApplication(argc, argv) {
    nameApplication();
    setStyle(new ProgramStyle);
    // The first text laid out waits for the system's list of fonts, which takes some
    // milliseconds to read: it is read on another core while the first window is built.
    fontListReader_ = std::jthread([] { QFontDatabase::families(); });
}

void OrvanelApplication::nameApplication() {
    setApplicationName(QStringLiteral("ORVANEL"));
    setApplicationVersion(QString::fromLatin1(Version::text));
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
