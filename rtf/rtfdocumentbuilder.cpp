#include "rtf/rtfdocumentbuilder.h"

#include "rtf/codec/rtfkeywords.h"
#include "rtf/rtfpicture.h"

#include <QCryptographicHash>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QUrl>

RtfDocumentBuilder::RtfDocumentBuilder(QTextCursor &cursor, Mode mode)
    : cursor_(cursor), mode_(mode) {
    // Text pasted into the middle of a paragraph splits it: the part after the cursor
    // stays in a paragraph of the format it had.
    if (mode_ == Mode::AtCursor)
        tailFormat_ = cursor_.blockFormat();
    paragraphLength_ = cursor_.positionInBlock();
    paragraphStart_ = cursor_.block().position();
    buffer_.reserve(4096);
}

void RtfDocumentBuilder::appendLatin1(std::string_view text) {
    openParagraph();
    while (!text.empty()) {
        qsizetype room = longParagraph - paragraphLength_ - buffer_.size();
        if (room <= 0) {
            breakParagraph();
            room = longParagraph - paragraphLength_ - buffer_.size();
        }
        const auto taken = static_cast<std::size_t>(
            std::min<qsizetype>(std::max<qsizetype>(room, 1), static_cast<qsizetype>(text.size())));
        buffer_.append(QLatin1StringView(text.data(), static_cast<qsizetype>(taken)));
        text.remove_prefix(taken);
    }
}

void RtfDocumentBuilder::flush() {
    if (buffer_.isEmpty())
        return;
    cursor_.insertText(buffer_, format_);
    ++runs_;
    paragraphLength_ += buffer_.size();
    buffer_.resize(0);
}

void RtfDocumentBuilder::startPendingParagraph(bool lineWhenOverBudget) {
    paragraphPending_ = false;
    if (lineWhenOverBudget && paragraphs_ >= maxParagraphs) {
        lineBreak();
        return;
    }
    ++paragraphs_;
    flush();
    cursor_.insertBlock(tailFormat_, format_);
    paragraphLength_ = 0;
    paragraphLines_ = 0;
    paragraphStart_ = cursor_.position();
}

void RtfDocumentBuilder::lineBreak() {
    if (paragraphs_ + lineBreaks_ >= maxBreaks) {
        // Past every budget a break is a space: the text stays, in lines the editor wraps.
        if (paragraphLength_ + buffer_.size() >= longParagraph)
            breakParagraph();
        buffer_.append(QLatin1Char(' '));
        return;
    }
    ++lineBreaks_;
    if (++paragraphLines_ >= maxLines) {
        flush();
        newPiece();
        return;
    }
    if (paragraphLength_ + buffer_.size() >= longParagraph)
        breakParagraph();
    buffer_.append(QChar::LineSeparator);
}

void RtfDocumentBuilder::newPiece() {
    cursor_.insertBlock(cursor_.blockFormat(), format_);
    ++paragraphs_;
    paragraphLength_ = 0;
    paragraphLines_ = 0;
}

void RtfDocumentBuilder::breakParagraph() {
    // After the last space of the gathered text, unless that would leave most of it for
    // the next piece; never inside a pair of surrogates.
    qsizetype cut = buffer_.size();
    const qsizetype space = buffer_.lastIndexOf(QLatin1Char(' '));
    if (space >= 0 && buffer_.size() - space <= 1000)
        cut = space + 1;
    else if (cut > 0 && buffer_.at(cut - 1).isHighSurrogate())
        --cut;
    const QString rest = buffer_.sliced(cut);
    buffer_.truncate(cut);
    flush();
    newPiece();
    buffer_ = rest;
    paragraphLines_ = int(rest.count(QChar::LineSeparator));
}

void RtfDocumentBuilder::endParagraph(const QTextBlockFormat &format) {
    openParagraph();
    if (paragraphs_ >= maxParagraphs) {
        // Over the budget the marks that follow are line breaks in this paragraph,
        // which keeps the format it has.
        paragraphPending_ = true;
        return;
    }
    flush();
    // Each change of the document costs a search of its block and fragment trees: a
    // file of empty paragraphs asks for nothing that is already so.
    if (cursor_.block().position() != paragraphStart_) {
        // A paragraph broken into pieces: each piece has the paragraph's format.
        QTextCursor pieces(cursor_);
        pieces.setPosition(paragraphStart_, QTextCursor::KeepAnchor);
        pieces.setBlockFormat(format);
    } else if (cursor_.blockFormat() != format) {
        cursor_.setBlockFormat(format);
    }
    // An empty paragraph is as high as the font of its mark.
    if (cursor_.block().length() == 1 && cursor_.blockCharFormat() != format_)
        cursor_.setBlockCharFormat(format_);
    paragraphPending_ = true;
}

void RtfDocumentBuilder::insertImage(const QImage &image, QSizeF size) {
    insertImage(image, size, QTextImageFormat());
}

void RtfDocumentBuilder::insertPlaceholder(const QImage &image, const QString &why, int type,
                                           const QByteArray &data, QSizeF shown) {
    // The picture's own data, named after its content and type, goes back into the file
    // when the entry is saved.
    const QString original =
        QStringLiteral("rtfpicture:%1.%2")
            .arg(QString::fromLatin1(
                     QCryptographicHash::hash(data, QCryptographicHash::Sha1).toHex()),
                 type == PicturePng ? QStringLiteral("png") : QStringLiteral("jpeg"));
    cursor_.document()->addResource(QTextDocument::ImageResource, QUrl(original), QVariant(data));
    QTextImageFormat format;
    format.setProperty(originalPictureProperty, original);
    if (!shown.isEmpty())
        format.setProperty(originalSizeProperty, shown);
    format.setToolTip(why);
    insertImage(image, image.size(), format);
}

void RtfDocumentBuilder::insertImage(const QImage &image, QSizeF size,
                                     const QTextImageFormat &extra) {
    openParagraph();
    if (paragraphLength_ + buffer_.size() >= longParagraph)
        breakParagraph();
    flush();
    // Named after its content, so that the same picture pasted twice is kept once.
    const QByteArray digest =
        QCryptographicHash::hash(QByteArrayView(image.constBits(), image.sizeInBytes()),
                                 QCryptographicHash::Sha1)
            .toHex();
    const QUrl name(QStringLiteral("rtfimage:%1-%2x%3")
                        .arg(QString::fromLatin1(digest))
                        .arg(image.width())
                        .arg(image.height()));
    cursor_.document()->addResource(QTextDocument::ImageResource, name, QVariant(image));

    QTextImageFormat imageFormat;
    imageFormat.merge(format_);
    imageFormat.merge(extra);
    imageFormat.setName(name.toString());
    imageFormat.setWidth(size.width());
    imageFormat.setHeight(size.height());
    cursor_.insertImage(imageFormat);
    ++paragraphLength_;
}

void RtfDocumentBuilder::finish(const QTextBlockFormat &lastParagraph) {
    flush();
    if (paragraphPending_) {
        // The mark after the last paragraph of a file opens nothing; pasted, it ends the
        // pasted paragraph before the text that follows the cursor.
        if (mode_ == Mode::AtCursor)
            startPendingParagraph(false);
        paragraphPending_ = false;
        return;
    }
    // A last paragraph without a mark takes the formatting in force at the end of the file,
    // unless it is the existing paragraph that pasted text went into.
    if (mode_ == Mode::WholeDocument)
        cursor_.setBlockFormat(lastParagraph);
}
