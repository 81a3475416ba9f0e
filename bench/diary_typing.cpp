// Typing into a diary window that holds a large entry: each key press with what follows
// it (the selection change, the toolbar following the caret, the saved flag, layout and
// painting, the recovery copy), and opening and saving that entry through the window's
// own commands; once without recovery copies and once with them.
//   diary_typing [presses]        (default 10000)
#include "accessories/startuptip.h"
#include "benchhome.h"
#include "sampledocument.h"

#include "diary/frmdocument.h"
#include "diary/rtftextbox.h"
#include "platform/settings.h"
#include "rtf/rtfwriter.h"
#include "scriptedplatform.h"
#include "shell/frmmain.h"
#include "shell/module1.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
double milliseconds(qint64 nanoseconds) {
    return double(nanoseconds) / 1e6;
}

// When the newest recovery copy under `state` was written.
QDateTime newestCopy(const QString &state) {
    QDateTime newest;
    QDirIterator it(state, {QStringLiteral("entry-*.rtf")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        newest = std::max(newest, it.nextFileInfo().lastModified());
    return newest;
}

template <typename Step> double timed(Step step) {
    QElapsedTimer timer;
    timer.start();
    step();
    return milliseconds(timer.nsecsElapsed());
}
} // namespace

int main(int argc, char **argv) {
    QTemporaryDir home;
    useOffscreenBenchHome(home);
    QApplication application(argc, argv);
    const int presses = argc > 1 ? std::max(1, atoi(argv[1])) : 10000;

    ScriptedPlatform platform;
    platform.folder = home.filePath(QStringLiteral("program"));
    const QString diary = platform.folder + QStringLiteral("/Diary");
    QDir().mkpath(diary);
    const QString entry = diary + QStringLiteral("/Diary 12-06-2026.DIA");
    {
        QTextDocument sample;
        fillSampleDocument(sample, 1'000'000);
        QFile file(entry);
        if (!file.open(QIODevice::WriteOnly))
            return 1;
        file.write(RtfWriter::writeDocument(sample));
    }
    const double fileMegabytes = double(QFileInfo(entry).size()) / 1e6;

    storeStartupTip(false); // no tip of the day in the way
    frmMain *main = Module1::Main();
    QApplication::setActiveWindow(main);
    std::printf("entry: %.2f MB of RTF\n", fileMegabytes);

    // The same typing twice: without recovery copies, then with a copy at least every
    // `longest` (30 s in the program; shorter here, so that the run writes several).
    for (const bool recovery : {false, true}) {
        main->recovery().enabled = recovery;
        main->recovery().timing.longest = std::chrono::milliseconds(1000);
        main->LoadNewDoc();
        platform.answerFileDialog(entry);
        const double openTime = timed([&] {
            main->mnuFileOpenDiaryEntry_Click(1);
            QCoreApplication::processEvents();
        });
        auto *document = qobject_cast<frmDocument *>(main->activeChild());
        RtfTextBox *box = document->rtfText;
        box->setFocus();
        QTextCursor middle = box->textCursor();
        middle.setPosition(box->document()->characterCount() / 2);
        box->setTextCursor(middle);
        QCoreApplication::processEvents();

        std::vector<double> times;
        times.reserve(presses);
        const QString keys = QStringLiteral("the quick brown fox jumps over the lazy dog ");
        // Ten sentences make a paragraph, as the user presses Enter now and then.
        const int paragraphLength = 10 * int(keys.size());
        QDateTime lastCopy;
        int copies = 0;
        for (int i = 0; i < presses; ++i) {
            const bool enter = i % paragraphLength == paragraphLength - 1;
            const char key = keys[i % keys.size()].toLatin1();
            times.push_back(timed([&] {
                if (enter)
                    QTest::keyClick(box, Qt::Key_Return);
                else
                    QTest::keyClick(box, key);
                QCoreApplication::processEvents();
            }));
            if (recovery && i % 50 == 0) {
                const QDateTime written = newestCopy(home.filePath(QStringLiteral("state")));
                copies += written != lastCopy;
                lastCopy = written;
            }
        }
        main->recovery().flush();
        const double saveTime = timed([&] { main->mnuFileSave_Click(); });

        std::sort(times.begin(), times.end());
        const auto at = [&](double fraction) {
            return times[size_t(fraction * (times.size() - 1))];
        };
        std::printf("recovery %s\n", recovery ? "on" : "off");
        std::printf("  open through File > Open : %8.1f ms\n", openTime);
        std::printf("  save through File > Save : %8.1f ms\n", saveTime);
        std::printf("  key press (%d presses)  : median %.3f ms, 99th %.3f ms, worst %.3f ms\n",
                    presses, at(0.5), at(0.99), times.back());
        if (recovery)
            std::printf("  recovery copies written  : at least %d\n", copies);
        main->mdiArea()->currentSubWindow()->close();
    }
    main->mnuFileExit_Click();
    delete main;
    flushSettings();
    return 0;
}
