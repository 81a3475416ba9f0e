#pragma once

#include <QByteArray>
#include <QTextCursor>
#include <QTextDocument>

// Writes a QTextDocument, or the selection of a cursor, as Rich Text Format that word
// processors open: \ansi\ansicpg1252, a font table of the families used, a colour table,
// sizes in half points, bold, italic, underline, strike-through, super- and subscript,
// colours, paragraph alignment and indents, images as PNG pictures. Characters outside
// Windows-1252 go out as \uN with a "?" for readers that do not know \u.
class RtfWriter {
public:
    static QByteArray writeDocument(const QTextDocument &document);

    // The selected text only (a cursor without a selection gives a document with no text).
    static QByteArray writeSelection(const QTextCursor &cursor);
};
