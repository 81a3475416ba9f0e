#pragma once

#include <QByteArray>
#include <QTextCursor>
#include <QTextDocument>

// Reads Rich Text Format, as word processors write it, into a QTextDocument: text, the
// character formats (font, size, bold, italic, underline, strike-through, super- and
// subscript, colours), paragraph alignment and indents, and PNG and JPEG pictures. What
// it does not know it skips; a damaged file gives the text that could be read.
class RtfReader {
public:
    // Replaces the whole document. Data not starting with "{\rtf" (after optional
    // whitespace or a byte order mark) throws RtfFormatError
    // and leaves the document untouched.
    static void readDocument(const QByteArray &rtf, QTextDocument &document);

    // Inserts at the cursor, replacing its selection, as one step of the undo history; the
    // cursor ends after the inserted text. Same error rule.
    static void readAt(const QByteArray &rtf, QTextCursor &cursor);

    // Whether the data starts as rich text does ("{\rtf" after optional whitespace or a
    // byte order mark).
    static bool isRtf(QByteArrayView data);
};
