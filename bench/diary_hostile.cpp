// Each hostile RTF file opened with File > Open and pasted with Edit > Paste in a diary
// window of the program: how long the window does not answer. A timer asks every 10 ms;
// the longest wait between two of its answers, from the command until the window has
// been quiet for a second (at most 30 s: a "+" marks a window still busy then), is the
// figure. The goal is 3 s.
//   diary_hostile [KIND[:BYTES]...]   (default: every kind, at the size first reported)
#include "accessories/startuptip.h"
#include "benchhome.h"
#include "hostilertf.h"

#include "diary/frmdocument.h"
#include "diary/rtftextbox.h"
#include "scriptedplatform.h"
#include "shell/frmmain.h"
#include "shell/module1.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <functional>

namespace {

struct Wait {
    double longest; // seconds
    bool settled;
};

// The longest the event loop went without answering while `command` ran and until a
// second passed with every answer on time.
Wait longestWait(const std::function<void()> &command) {
    QElapsedTimer clock;
    clock.start();
    qint64 last = 0, longest = 0, quietSince = 0;
    QTimer tick;
    tick.setInterval(10);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        if (now - last > 50)
            quietSince = now;
        longest = std::max(longest, now - last);
        last = now;
    });
    tick.start();
    QTimer::singleShot(0, [&] {
        last = clock.elapsed();
        command();
        const qint64 now = clock.elapsed();
        longest = std::max(longest, now - last);
        last = quietSince = now;
    });
    while ((clock.elapsed() < 1000 || clock.elapsed() - quietSince < 1000) &&
           clock.elapsed() < 30000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    return {double(longest) / 1000, clock.elapsed() - quietSince >= 1000};
}

} // namespace

int main(int argc, char **argv) {
    QTemporaryDir home;
    useOffscreenBenchHome(home);
    QApplication application(argc, argv);
    QStringList kinds = QCoreApplication::arguments().mid(1);
    if (kinds.isEmpty())
        for (const HostileRtf::Kind &kind : HostileRtf::kinds())
            kinds.append(kind.name);

    ScriptedPlatform platform;
    platform.folder = home.filePath(QStringLiteral("program"));
    QDir().mkpath(platform.folder);
    storeStartupTip(false);
    frmMain *main = Module1::Main();
    QApplication::setActiveWindow(main);

    std::printf("%-20s %10s %12s %12s\n", "kind", "file", "Open: s", "Paste: s");
    for (const QString &asked : kinds) {
        const QString kind = asked.section(QLatin1Char(':'), 0, 0);
        const qsizetype bytes = asked.contains(QLatin1Char(':'))
                                    ? asked.section(QLatin1Char(':'), 1).toLongLong()
                                    : HostileRtf::reportedSize(kind);
        const QByteArray rtf = HostileRtf::make(kind, bytes);
        const QString path = home.filePath(kind + QStringLiteral(".DIA"));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(rtf) != rtf.size())
            return 1;
        file.close();

        main->LoadNewDoc();
        platform.answerFileDialog(path);
        const Wait open = longestWait([&] { main->mnuFileOpenDiaryEntry_Click(1); });

        main->LoadNewDoc();
        auto *offered = new QMimeData;
        offered->setData(QStringLiteral("text/rtf"), rtf);
        QApplication::clipboard()->setMimeData(offered);
        QAction *paste = main->findChild<QAction *>(QStringLiteral("mnuEditPaste"));
        const Wait pasted = longestWait([&] { paste->trigger(); });
        std::printf("%-20s %7.1f MB %11.2f%c %11.2f%c\n", qPrintable(kind),
                    double(rtf.size()) / 1e6, open.longest, open.settled ? ' ' : '+',
                    pasted.longest, pasted.settled ? ' ' : '+');
        std::fflush(stdout);
    }
    return 0;
}
