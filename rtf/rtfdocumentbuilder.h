#pragma once

#include <QImage>
#include <QSizeF>
#include <QString>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <string_view>

// Puts what the RTF reader reads into a document through a cursor: runs of text in one
// character format are gathered and inserted together, paragraphs get their formats when
// they end, pictures become image resources of the document.
//
// A paragraph mark opens the next paragraph only when something follows it, so that the
// mark most writers put after the last paragraph of a file adds no empty paragraph at the
// end of a loaded document. Read at a cursor (paste), every mark counts and the text after
// the cursor keeps its paragraph's format.
class RtfDocumentBuilder {
public:
    enum class Mode { WholeDocument, AtCursor };

    RtfDocumentBuilder(QTextCursor &cursor, Mode mode);

    // The format of the text that follows; `id` names it so that a change is one compare.
    void setCharFormat(int id, const QTextCharFormat &format) {
        if (id == formatId_)
            return;
        flush();
        formatId_ = id;
        format_ = format;
    }

    // Text without line ends or other characters that the document takes as structure.
    void appendLatin1(std::string_view text) {
        openParagraph();
        buffer_.append(QLatin1StringView(text.data(), static_cast<qsizetype>(text.size())));
    }
    void appendCharacter(char16_t character) {
        openParagraph();
        buffer_.append(QChar(character));
    }

    void endParagraph(const QTextBlockFormat &format);
    void insertImage(const QImage &image, QSizeF size);
    void finish(const QTextBlockFormat &lastParagraph);

private:
    void openParagraph() {
        if (paragraphPending_)
            startPendingParagraph();
    }
    void startPendingParagraph();
    void flush();

    QTextCursor &cursor_;
    Mode mode_;
    QTextBlockFormat tailFormat_;
    QString buffer_;
    QTextCharFormat format_;
    int formatId_ = -1;
    bool paragraphPending_ = false;
};
