// Tools > Import Contacts of a large file in the program's window: the time it takes and
// the longest the user-interface thread does not answer meanwhile (a timer due every
// 5 ms measures the gaps between its calls).
//   contacts_window FILE    (FILE: contacts to import into a new, empty phone book)
#include "accessories/startuptip.h"
#include "benchhome.h"
#include "phonebook/store/sqlitefile.h"
#include "platform/messagebox.h"
#include "scriptedplatform.h"
#include "shell/frmmain.h"
#include "shell/module1.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <cstdio>

int main(int argc, char **argv) {
    QTemporaryDir home;
    useOffscreenBenchHome(home);
    QApplication application(argc, argv);
    if (argc != 2)
        return 2;
    ScriptedPlatform platform;
    platform.folder = home.filePath(QStringLiteral("data"));
    QDir().mkpath(platform.folder);
    if (!SqliteFile::create(platform.folder + QStringLiteral("/ORVANEL.MDB")).isEmpty())
        return 1;
    storeStartupTip(false);
    std::unique_ptr<frmMain> main(Module1::Main());
    QApplication::processEvents();

    platform.answerFileDialog(QString::fromLocal8Bit(argv[1]));
    platform.answerMessage(MsgBoxResult::Yes);
    platform.answerMessage(MsgBoxResult::Ok);
    QElapsedTimer clock;
    double last = 0;
    double longest = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const double now = double(clock.nsecsElapsed()) / 1e6;
        longest = std::max(longest, now - last);
        last = now;
    });
    clock.start();
    tick.start(5);
    main->findChild<QAction *>(QStringLiteral("mnuToolsImportContacts"))->trigger();
    const double took = double(clock.nsecsElapsed()) / 1e6;
    if (platform.messages.isEmpty())
        return 1;
    std::printf(
        "Tools > Import Contacts: %.2f s, longest gap on the window's thread %.0f ms\n  %s\n",
        took / 1000, longest, qPrintable(platform.messages.last().text));
    return 0;
}
