// Writes the hostile RTF files of the generator.
//   rtf-hostile list                  the kinds, one a line
//   rtf-hostile KIND BYTES FILE       one file of about BYTES bytes ("reported" for the
//                                     size at which the kind was first seen to hurt)
#include "hostilertf.h"

#include <QCoreApplication>
#include <QFile>
#include <cstdio>

int main(int argc, char **argv) {
    QCoreApplication application(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() == 2 && args[1] == QLatin1String("list")) {
        for (const HostileRtf::Kind &kind : HostileRtf::kinds())
            std::printf("%-20s %s\n", qPrintable(kind.name), qPrintable(kind.description));
        return 0;
    }
    if (args.size() != 4) {
        std::fputs("usage: rtf-hostile list | rtf-hostile KIND BYTES|reported FILE\n", stderr);
        return 1;
    }
    bool ok = true;
    const qsizetype bytes = args[2] == QLatin1String("reported") ? HostileRtf::reportedSize(args[1])
                                                                 : args[2].toLongLong(&ok);
    const QByteArray data = ok ? HostileRtf::make(args[1], bytes) : QByteArray();
    if (data.isEmpty()) {
        std::fprintf(stderr, "rtf-hostile: no kind %s, or a size that is not a number\n",
                     qPrintable(args[1]));
        return 1;
    }
    QFile file(args[3]);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size()) {
        std::fprintf(stderr, "rtf-hostile: %s: %s\n", qPrintable(args[3]),
                     qPrintable(file.errorString()));
        return 1;
    }
    return 0;
}
