// Throughput and peak memory of the RTF writer and reader.
//   rtf_throughput write MEGABYTES OUT   writes a generated diary of about that size
//   rtf_throughput read FILE             reads a file into a document
// Each run is a process of its own, so that its peak memory is its own.
#include "sampledocument.h"

#include "rtf/rtfreader.h"
#include "rtf/rtfwriter.h"

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <cstdio>
#include <sys/resource.h>

namespace {
double peakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

int usage() {
    std::fprintf(stderr, "usage: rtf_throughput write MEGABYTES OUT | read FILE\n");
    return 2;
}
} // namespace

int main(int argc, char **argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 3)
        return usage();
    QElapsedTimer timer;
    if (args[1] == QLatin1String("write") && args.size() == 4) {
        // About 3 bytes of RTF a character of this sample.
        const double megabytes = args[2].toDouble();
        QTextDocument document;
        fillSampleDocument(document, qsizetype(megabytes * 1e6 / 3.0));
        const double before = peakMegabytes();
        timer.start();
        const QByteArray rtf = RtfWriter::writeDocument(document);
        const double seconds = double(timer.nsecsElapsed()) / 1e9;
        QFile out(args[3]);
        if (!out.open(QIODevice::WriteOnly) || out.write(rtf) != rtf.size())
            return 1;
        std::printf(
            "write %6.2f MB: %7.1f ms, %6.1f MB/s, peak %6.1f MB (document alone %6.1f MB)\n",
            double(rtf.size()) / 1e6, seconds * 1e3, double(rtf.size()) / 1e6 / seconds,
            peakMegabytes(), before);
        return 0;
    }
    if (args[1] == QLatin1String("read") && args.size() == 3) {
        QFile in(args[2]);
        if (!in.open(QIODevice::ReadOnly))
            return 1;
        const QByteArray rtf = in.readAll();
        QTextDocument document;
        timer.start();
        RtfReader::readDocument(rtf, document);
        const double seconds = double(timer.nsecsElapsed()) / 1e9;
        std::printf("read  %6.2f MB: %7.1f ms, %6.1f MB/s, peak %6.1f MB, %d characters\n",
                    double(rtf.size()) / 1e6, seconds * 1e3, double(rtf.size()) / 1e6 / seconds,
                    peakMegabytes(), document.characterCount());
        return 0;
    }
    return usage();
}
