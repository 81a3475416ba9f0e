// Find in Diary and the Diary Calendar on ten years of diary: 3,650 entries of 2 to 20 KB,
// formatted, some with a picture, written by the program's own RTF writer. Measures the
// index built from nothing and the longest the window does not answer meanwhile, the
// window opened again on the index it left (first results), each key of a typed search
// until its results are listed (95th percentile), and the calendar's month drawn.
//   diary_search FOLDER     (FOLDER is made if it holds no diary yet)
#include "accessories/startuptip.h"
#include "benchhome.h"
#include "diary/frmcalendar.h"
#include "diary/frmfind.h"
#include "rtf/rtfwriter.h"
#include "scriptedplatform.h"
#include "shell/frmmain.h"
#include "shell/module1.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QTableWidget>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <cstdio>

namespace {

constexpr int entryCount = 3650;

// A vocabulary of made-up words, drawn from unevenly as a language is: a few words
// everywhere, most of them seldom.
QStringList vocabulary() {
    const QStringList syllables = {"ka",  "lo",  "mi", "ren", "tas", "vo",  "bel", "dor",
                                   "sin", "qua", "te", "mar", "nu",  "pri", "zel", "ho"};
    QStringList words;
    for (int i = 0; i < 4000; ++i) {
        QString word;
        for (int n = i, k = 0; k < 2 + i % 3; ++k, n /= 16)
            word += syllables[(n + k * 7) % 16];
        words << word;
    }
    return words;
}

void writeDiary(const QString &folder) {
    QDir().mkpath(folder);
    const QStringList words = vocabulary();
    quint32 seed = 2026;
    auto next = [&seed](quint32 range) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 8) % range;
    };
    QImage picture(48, 48, QImage::Format_RGB32);
    picture.fill(QColor(40, 90, 160));
    const QDate first(2016, 12, 1);
    for (int day = 0; day < entryCount; ++day) {
        QTextDocument document;
        QTextCursor cursor(&document);
        const int characters = 2000 + int(next(18000)) / 2;
        int written = 0;
        while (written < characters) {
            const quint32 pick = next(4000);
            const QString &word = words[int(pick * pick / 4000)]; // the low words often
            QTextCharFormat format;
            const quint32 style = next(20);
            format.setFontWeight(style == 0 ? QFont::Bold : QFont::Normal);
            format.setFontItalic(style == 1);
            cursor.insertText(word + (next(12) == 0 ? QStringLiteral(".\n") : QStringLiteral(" ")),
                              format);
            written += int(word.size()) + 1;
        }
        if (day % 20 == 0) {
            document.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("picture")),
                                 picture);
            cursor.insertImage(QStringLiteral("picture"));
        }
        QFile file(folder + QStringLiteral("/Diary ") +
                   first.addDays(day).toString(QStringLiteral("MM-dd-yyyy")) +
                   QStringLiteral(".DIA"));
        if (file.open(QIODevice::WriteOnly))
            file.write(RtfWriter::writeDocument(document));
    }
}

double milliseconds(const QElapsedTimer &timer) {
    return double(timer.nsecsElapsed()) / 1e6;
}

// The longest time the user-interface thread did not answer while `done` was false.
double longestGap(const std::function<bool()> &done) {
    QElapsedTimer clock;
    clock.start();
    double last = 0, longest = 0;
    while (!done()) {
        QApplication::processEvents(QEventLoop::AllEvents, 5);
        const double now = milliseconds(clock);
        longest = std::max(longest, now - last);
        last = now;
    }
    return longest;
}

double percentile(QList<double> values, double share) {
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values[qsizetype(share * double(values.size() - 1))];
}

frmFind *openFind(frmMain &main) {
    main.findChild<QAction *>(QStringLiteral("mnuToolsFindInDiary"))->trigger();
    return qobject_cast<frmFind *>(main.activeChild());
}

bool reading(const frmFind &find) {
    return find.lblCount->text().contains(QStringLiteral("Reading")) ||
           find.lblCount->text().startsWith(QStringLiteral("Type"));
}

} // namespace

int main(int argc, char **argv) {
    QTemporaryDir home;
    useBenchHome(home);
    qputenv("XDG_CACHE_HOME", home.filePath(QStringLiteral("cache")).toUtf8());
    QApplication application(argc, argv);
    if (argc != 2)
        return 2;
    ScriptedPlatform platform;
    platform.folder = QString::fromLocal8Bit(argv[1]);
    const QString diary = platform.folder + QStringLiteral("/Diary");
    if (QDir(diary).entryList(QDir::Files).size() < entryCount) {
        std::printf("writing %d entries...\n", entryCount);
        writeDiary(diary);
    }
    storeStartupTip(false);
    std::unique_ptr<frmMain> main(Module1::Main());
    main->showMaximized();
    QApplication::processEvents();

    // The index from nothing, with a search typed at once.
    QElapsedTimer timer;
    timer.start();
    frmFind *find = openFind(*main);
    find->txtFind->setText(QStringLiteral("kaka"));
    const double gap = longestGap([&] { return !reading(*find) && find->lstFound->count() > 0; });
    const double building = milliseconds(timer);
    std::printf("index built from nothing       : %8.0f ms, longest gap %.0f ms\n", building, gap);
    main->mdiArea()->closeAllSubWindows();
    QApplication::processEvents();

    // Opened again: the first results of a search typed at once.
    timer.restart();
    find = openFind(*main);
    find->txtFind->setText(QStringLiteral("kaka"));
    longestGap([&] { return find->lstFound->count() > 0; });
    std::printf("first results on an open       : %8.1f ms\n", milliseconds(timer));
    longestGap([&] { return !reading(*find); });

    // Typing: each key until its results are on the screen.
    QList<double> keys;
    const QStringList typed = {QStringLiteral("lomiren"), QStringLiteral("tasvo bel"),
                               QStringLiteral("\"kalo mi\""), QStringLiteral("dorsin")};
    for (const QString &text : typed) {
        find->txtFind->clear();
        for (qsizetype n = 1; n <= text.size(); ++n) {
            bool answered = false;
            const auto connection =
                QObject::connect(find, &frmFind::resultsShown, [&answered] { answered = true; });
            timer.restart();
            find->txtFind->setText(text.left(n));
            longestGap([&] { return answered; });
            find->lstFound->repaint();
            keys << milliseconds(timer);
            QObject::disconnect(connection);
        }
    }
    std::printf("results after a key, 95th pct : %8.1f ms (median %.1f, %lld keys)\n",
                percentile(keys, 0.95), percentile(keys, 0.5), qlonglong(keys.size()));

    // The calendar: a month drawn, month after month.
    main->findChild<QAction *>(QStringLiteral("mnuToolsDiaryCalendar"))->trigger();
    auto *calendar = qobject_cast<frmCalendar *>(main->activeChild());
    QList<double> months;
    for (int i = 0; i < 24; ++i) {
        timer.restart();
        calendar->choose(calendar->chosenDay().addMonths(-1));
        calendar->grdDays->repaint();
        months << milliseconds(timer);
    }
    std::printf("calendar month drawn, 95th pct : %8.1f ms (median %.1f)\n",
                percentile(months, 0.95), percentile(months, 0.5));
    return 0;
}
