#pragma once

#include <QByteArray>
#include <QtGlobal>

// The Qt application object a fuzz target needs, made at its first input on the
// offscreen platform. It is never destroyed: torn down in the exit handlers, after
// libFuzzer is done, the application would outlive parts of Qt it needs.
template <typename Application> void ensureApplication(const char *name) {
    static int argc = 1;
    static char *argv[] = {const_cast<char *>(name), nullptr};
    static Application *application = nullptr;
    if (!application) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        application = new Application(argc, argv);
    }
}
