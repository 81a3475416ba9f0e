#include "platform/application.h"
#include "platform/settings.h"
#include "shell/frmmain.h"
#include "shell/module1.h"

#include <QCommandLineParser>
#include <QTimer>
#include <cstring>

namespace {

void describeArguments(QCommandLineParser &arguments) {
    arguments.setApplicationDescription(
        QStringLiteral("ORVANEL, a desktop organiser: a diary, a phone book and a web browser "
                       "in one window."));
    arguments.addHelpOption();
    arguments.addVersionOption();
    arguments.addPositionalArgument(QStringLiteral("FILE"),
                                    QStringLiteral("A diary entry (RTF) to open, each in a "
                                                   "diary window of its own."),
                                    QStringLiteral("[FILE...]"));
}

// --help and --version answer on a terminal without a display, before the window system
// is asked for.
bool asksForHelpOrVersion(int argc, char **argv) {
    for (int i = 1; i < argc; ++i) {
        for (const char *option : {"-h", "--help", "--help-all", "-v", "--version"}) {
            if (std::strcmp(argv[i], option) == 0)
                return true;
        }
    }
    return false;
}

} // namespace

int main(int argc, char **argv) {
    QCommandLineParser arguments;
    describeArguments(arguments);
    if (asksForHelpOrVersion(argc, argv)) {
        QCoreApplication terminal(argc, argv);
        OrvanelApplication::nameApplication();
        arguments.process(terminal); // shows the help or the version, and ends
    }

    OrvanelApplication application(argc, argv);
    arguments.process(application);
    frmMain *main = Module1::Main();
    // The files are opened once the window is up and what it offers at start was answered.
    if (const QStringList files = arguments.positionalArguments(); !files.isEmpty())
        QTimer::singleShot(0, main, [main, files] { main->openDiaryFiles(files); });
    // The start-up benchmark ends the program as soon as the shown window is idle.
    if (qEnvironmentVariableIsSet("ORVANEL_QUIT_WHEN_IDLE"))
        QTimer::singleShot(0, &application, &QApplication::quit);
    const int status = OrvanelApplication::exec();
    flushSettings();
    return status;
}
