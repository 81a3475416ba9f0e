#pragma once

#include <QByteArray>
#include <QTextCursor>
#include <QTextDocument>
#include <chrono>
#include <memory>

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

// Writes a whole document a few paragraphs at a time, so that a large one is written
// between the key presses of someone who goes on typing. Tell it of every change made
// meanwhile: a change ahead of what is written is written as it is then; one behind it
// leaves that part as it was when it was written.
class RtfIncrementalWriter {
public:
    explicit RtfIncrementalWriter(const QTextDocument &document);
    ~RtfIncrementalWriter();

    // Writes paragraphs until `budget` has passed; true once the document is written.
    bool writeFor(std::chrono::nanoseconds budget);
    // QTextDocument::contentsChange, which a document only sends once it has a layout.
    void documentChanged(int from, int removed, int added);
    // The file, once writeFor returned true.
    QByteArray take();

private:
    struct State;
    const QTextDocument &document_;
    std::unique_ptr<State> state_;
    int position_ = 0; // where the next paragraph starts
    bool done_ = false;
};
