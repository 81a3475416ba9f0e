#include "rtf/rtfreader.h"

#include "rtf/codec/rtfparser.h"
#include "rtf/rtfdocumentbuilder.h"
#include "rtf/rtferror.h"

#include <algorithm>
#include <string_view>

namespace {

// The data from the brace that opens the document, past a byte order mark and whitespace.
std::string_view viewOf(const QByteArray &data) {
    const qsizetype start = std::max<qsizetype>(data.indexOf('{'), 0);
    return std::string_view(data.constData() + start,
                            static_cast<std::size_t>(data.size() - start));
}

void requireRtf(const QByteArray &rtf) {
    if (!RtfReader::isRtf(rtf))
        throw RtfFormatError();
}

} // namespace

bool RtfReader::isRtf(QByteArrayView data) {
    qsizetype at = 0;
    if (data.startsWith("\xEF\xBB\xBF"))
        at = 3;
    while (at < data.size() &&
           (data[at] == ' ' || data[at] == '\t' || data[at] == '\r' || data[at] == '\n'))
        ++at;
    return data.sliced(at).startsWith("{\\rtf");
}

void RtfReader::readDocument(const QByteArray &rtf, QTextDocument &document) {
    requireRtf(rtf);
    // No undo history for a document that is loaded: it would only cost time and memory.
    const bool undo = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    document.clear();
    {
        // One edit block: the document lays out nothing until the whole file is in.
        QTextCursor cursor(&document);
        cursor.beginEditBlock();
        RtfDocumentBuilder builder(cursor, RtfDocumentBuilder::Mode::WholeDocument);
        RtfParser parser(viewOf(rtf), builder);
        parser.run();
        cursor.endEditBlock();
    }
    document.setUndoRedoEnabled(undo);
    document.setModified(false);
}

void RtfReader::readAt(const QByteArray &rtf, QTextCursor &cursor) {
    requireRtf(rtf);
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    {
        RtfDocumentBuilder builder(cursor, RtfDocumentBuilder::Mode::AtCursor);
        RtfParser parser(viewOf(rtf), builder);
        parser.run();
    }
    cursor.endEditBlock();
}
