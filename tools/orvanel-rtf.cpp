// The diary's RTF codec from the command line.
//   orvanel-rtf to-text FILE      the text of an RTF file, UTF-8, on standard output
//   orvanel-rtf to-html FILE      the file as HTML on standard output
//   orvanel-rtf from-html IN OUT  an HTML file written as RTF
//   orvanel-rtf roundtrip IN OUT  an RTF file read and written again
#include "platform/filewriter.h"
#include "rtf/rtferror.h"
#include "rtf/rtffile.h"
#include "rtf/rtfreader.h"
#include "rtf/rtfwriter.h"

#include <QFile>
#include <QGuiApplication>
#include <QTextDocument>
#include <cstdio>

namespace {

int usage() {
    std::fputs("usage: orvanel-rtf to-text FILE | to-html FILE | from-html IN OUT | "
               "roundtrip IN OUT\n",
               stderr);
    return 1;
}

int fail(const QString &message) {
    std::fprintf(stderr, "orvanel-rtf: %s\n", message.toLocal8Bit().constData());
    return 1;
}

bool readFile(const QString &path, QByteArray &data, QString &error) {
    RtfFile::Result file = RtfFile::read(path);
    if (file.outcome == RtfFile::Outcome::Read) {
        data = std::move(file.data);
        return true;
    }
    error = file.outcome == RtfFile::Outcome::Failed
                ? QStringLiteral("%1: %2").arg(path, qt_error_string(file.systemError))
                : RtfFile::refusal(file, path);
    return false;
}

bool writeFile(const QString &path, const QByteArray &data, QString &error) {
    if (const QString why = writeWholeFile(path, data); !why.isEmpty()) {
        error = QStringLiteral("%1: %2").arg(path, why);
        return false;
    }
    return true;
}

bool writeOut(const QByteArray &data) {
    return std::fwrite(data.constData(), 1, static_cast<std::size_t>(data.size()), stdout) ==
               static_cast<std::size_t>(data.size()) &&
           std::fflush(stdout) == 0;
}

int run(const QStringList &args) {
    if (args.size() < 3)
        return usage();
    const QString &command = args[1];
    const bool twoFiles =
        command == QLatin1String("from-html") || command == QLatin1String("roundtrip");
    const bool oneFile = command == QLatin1String("to-text") || command == QLatin1String("to-html");
    if ((!twoFiles && !oneFile) || args.size() != (twoFiles ? 4 : 3))
        return usage();

    QByteArray input;
    QString error;
    if (!readFile(args[2], input, error))
        return fail(error);
    QTextDocument document;
    if (command == QLatin1String("from-html")) {
        document.setHtml(QString::fromUtf8(input));
        if (!writeFile(args[3], RtfWriter::writeDocument(document), error))
            return fail(error);
        return 0;
    }
    RtfReader::readDocument(input, document);
    if (command == QLatin1String("to-text")) {
        QString text = document.toPlainText();
        text.remove(QChar::ObjectReplacementCharacter);
        text.append(QLatin1Char('\n'));
        return writeOut(text.toUtf8()) ? 0 : fail(QStringLiteral("cannot write the output"));
    }
    if (command == QLatin1String("to-html"))
        return writeOut(document.toHtml().toUtf8())
                   ? 0
                   : fail(QStringLiteral("cannot write the output"));
    if (!writeFile(args[3], RtfWriter::writeDocument(document), error))
        return fail(error);
    return 0;
}

} // namespace

int main(int argc, char **argv) {
    // A document needs a GUI application, but this tool never shows a window.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    try {
        return run(QCoreApplication::arguments());
    } catch (const RtfFormatError &error) {
        return fail(QStringLiteral("%1: %2").arg(QCoreApplication::arguments().value(2),
                                                 QString::fromUtf8(error.what())));
    }
}
