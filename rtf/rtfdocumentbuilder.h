#pragma once

#include <QImage>
#include <QSizeF>
#include <QString>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextImageFormat>
#include <string_view>

// Puts what the RTF reader reads into a document through a cursor: runs of text in one
// character format are gathered and inserted together, paragraphs get their formats when
// they end, pictures become image resources of the document.
//
// A paragraph mark opens the next paragraph only when something follows it, so that the
// mark most writers put after the last paragraph of a file adds no empty paragraph at the
// end of a loaded document. Read at a cursor (paste), every mark counts and the text after
// the cursor keeps its paragraph's format.
//
// The editor lays a paragraph out in one piece and every paragraph costs the document
// about a microsecond and a hundred bytes, so two limits keep any file affordable: a
// paragraph longer than `longParagraph` characters goes on in a new paragraph (after a
// space where there is one near), and after `maxParagraphs` paragraphs further marks
// become line breaks. The editor's time for a paragraph grows with the square of its
// lines, so the `maxLines`th line break of a paragraph starts a new one instead. The
// editor cannot lay out a document taller than 2^23 pixels (Qt's page height for an
// editor without pages; past it every paragraph is laid out again and again), so once
// paragraphs and line breaks together reach `maxBreaks`, a break is read as a space.
// Each run of text in one format costs as much as a paragraph, so after `maxRuns` runs
// the text that follows keeps the format it has. No character is lost either way.
class RtfDocumentBuilder {
public:
    enum class Mode { WholeDocument, AtCursor };

    static constexpr qsizetype longParagraph = 10'000;
    static constexpr int maxParagraphs = 100'000;
    static constexpr int maxRuns = 200'000;
    static constexpr int maxLines = 100;
    static constexpr int maxBreaks = 200'000;

    RtfDocumentBuilder(QTextCursor &cursor, Mode mode);

    // The format of the text that follows; `id` names it so that a change is one compare.
    void setCharFormat(int id, const QTextCharFormat &format) {
        if (id == formatId_ || runs_ >= maxRuns)
            return;
        flush();
        formatId_ = id;
        format_ = format;
    }

    // Text without line ends or other characters that the document takes as structure.
    void appendLatin1(std::string_view text);
    void appendCharacter(char16_t character) {
        openParagraph();
        if (character == QChar::LineSeparator) {
            lineBreak();
            return;
        }
        if (paragraphLength_ + buffer_.size() >= longParagraph)
            breakParagraph();
        buffer_.append(QChar(character));
    }

    void endParagraph(const QTextBlockFormat &format);
    void insertImage(const QImage &image, QSizeF size);
    // A picture that is not shown: `image` says why, `why` is its tooltip, and the
    // picture's own data of RtfPictureType `type`, with the size it was to be shown at
    // (empty when the file gave none), is kept for saving.
    void insertPlaceholder(const QImage &image, const QString &why, int type,
                           const QByteArray &data, QSizeF shown);
    void finish(const QTextBlockFormat &lastParagraph);

private:
    void openParagraph() {
        if (paragraphPending_)
            startPendingParagraph();
    }
    // Over the budget a mark becomes a line break, unless the paragraph must be one of
    // its own (the text after a paste).
    void startPendingParagraph(bool lineWhenOverBudget = true);
    void breakParagraph();
    void lineBreak();
    void newPiece();
    void insertImage(const QImage &image, QSizeF size, const QTextImageFormat &extra);
    void flush();

    QTextCursor &cursor_;
    Mode mode_;
    QTextBlockFormat tailFormat_;
    QString buffer_;
    QTextCharFormat format_;
    int formatId_ = -1;
    bool paragraphPending_ = false;
    int paragraphs_ = 0;            // paragraphs this reading has opened
    int runs_ = 0;                  // runs of text it has inserted
    qsizetype paragraphLength_ = 0; // characters of the current paragraph in the document
    int paragraphStart_ = 0;        // where the current paragraph's first piece starts
    int paragraphLines_ = 0;        // line breaks in the current piece
    int lineBreaks_ = 0;            // line breaks this reading has made
};
