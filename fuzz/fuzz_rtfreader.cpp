// The RTF reader on arbitrary bytes: it must return, and what it read must survive a
// write and a second read.
#include "fuzzapplication.h"
#include "rtf/rtferror.h"
#include "rtf/rtfreader.h"
#include "rtf/rtfwriter.h"

#include <QGuiApplication>
#include <QTextCursor>
#include <QTextDocument>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    ensureApplication<QGuiApplication>("fuzz_rtfreader");
    const QByteArray rtf(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    QTextDocument document;
    try {
        RtfReader::readDocument(rtf, document);
    } catch (const RtfFormatError &) {
        return 0;
    }
    const QString text = document.toRawText();
    const QByteArray written = RtfWriter::writeDocument(document);
    QTextDocument again;
    RtfReader::readDocument(written, again);
    // Our own output reads back to the same text; a form feed is written as a page
    // break, which reads back as a new paragraph, so from then on the text holds.
    if (!text.contains(QLatin1Char('\f')) && again.toRawText() != text)
        std::abort();
    QTextDocument third;
    RtfReader::readDocument(RtfWriter::writeDocument(again), third);
    if (third.toRawText() != again.toRawText())
        std::abort();

    // Pasted into the middle of a paragraph, as one undo step.
    QTextDocument target;
    target.setPlainText(QStringLiteral("before after"));
    QTextCursor cursor(&target);
    cursor.setPosition(7);
    RtfReader::readAt(rtf, cursor);
    target.undo();
    if (target.toPlainText() != QStringLiteral("before after"))
        std::abort();
    return 0;
}
