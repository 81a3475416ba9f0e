// A phone book window on a large phone book: the time from Run > PhoneBook to the first
// record shown, the peak memory of the whole program then, and a search that scans every
// record without a match.
//   phonebook_open FOLDER [CONNECTION]
// FOLDER holds ORVANEL.MDB; with CONNECTION, the window opens that database instead, as
// the stored setting PhoneBook / Connection makes it. One measurement a process.
#include "accessories/startuptip.h"
#include "benchhome.h"
#include "phonebook/frmphonebook.h"
#include "phonebook/store/recordset.h"
#include "platform/messagebox.h"
#include "platform/settings.h"
#include "scriptedplatform.h"
#include "shell/frmmain.h"
#include "shell/module1.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <cstdio>

namespace {
long peakMegabytes() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong() / 1024;
    }
    return -1;
}

double millisecondsSince(const QElapsedTimer &timer) {
    return double(timer.nsecsElapsed()) / 1e6;
}
} // namespace

int main(int argc, char **argv) {
    QTemporaryDir home;
    useBenchHome(home);
    QApplication application(argc, argv);
    if (argc != 2 && argc != 3)
        return 2;
    ScriptedPlatform platform;
    platform.folder = QString::fromLocal8Bit(argv[1]);

    storeStartupTip(false); // no tip of the day in the way
    if (argc == 3)
        SaveSetting(QStringLiteral("ORVANEL"), QStringLiteral("PhoneBook"),
                    QStringLiteral("Connection"), QString::fromLocal8Bit(argv[2]));
    std::unique_ptr<frmMain> main(Module1::Main());
    QApplication::processEvents();
    const long before = peakMegabytes();

    QElapsedTimer timer;
    timer.start();
    main->findChild<QAction *>(QStringLiteral("mnuDataPhoneBook"))->trigger();
    auto *book = qobject_cast<frmPhoneBook *>(main->activeChild());
    QApplication::processEvents();
    const double opening = millisecondsSince(timer);
    if (!book || book->lblStatus->text() != QStringLiteral("Record: 1") ||
        !platform.messages.isEmpty()) {
        std::fprintf(stderr, "the phone book did not open on its first record\n");
        return 1;
    }
    const long records = book->adoPrimaryRS->RecordCount();
    const long after = peakMegabytes();

    book->Command1->click();
    book->List1->setCurrentRow(1); // Name
    book->Text1->setText(QStringLiteral("Nobody By This Name"));
    platform.answerMessage(MsgBoxResult::Ok);
    timer.restart();
    book->cmdFrmSearch->click();
    const double scan = millisecondsSince(timer);
    if (platform.messages.size() != 1) {
        std::fprintf(stderr, "the search did not run to the end\n");
        return 1;
    }
    std::printf("%ld records: opened in %.0f ms, peak %ld MiB (%ld MiB before), scan %.0f ms\n",
                records, opening, after, before, scan);
    return 0;
}
