#include "rtf/rtfdocumentbuilder.h"

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
    buffer_.reserve(4096);
}

void RtfDocumentBuilder::flush() {
    if (buffer_.isEmpty())
        return;
    cursor_.insertText(buffer_, format_);
    buffer_.resize(0);
}

void RtfDocumentBuilder::startPendingParagraph() {
    paragraphPending_ = false;
    cursor_.insertBlock(tailFormat_, format_);
}

void RtfDocumentBuilder::endParagraph(const QTextBlockFormat &format) {
    openParagraph();
    flush();
    cursor_.setBlockFormat(format);
    // An empty paragraph is as high as the font of its mark.
    if (cursor_.block().length() == 1)
        cursor_.setBlockCharFormat(format_);
    paragraphPending_ = true;
}

void RtfDocumentBuilder::insertImage(const QImage &image, QSizeF size) {
    openParagraph();
    flush();
    // Named after its content, so that the same picture pasted twice is kept once.
    QByteArray pixels(reinterpret_cast<const char *>(image.constBits()),
                      static_cast<qsizetype>(image.sizeInBytes()));
    const QByteArray digest = QCryptographicHash::hash(pixels, QCryptographicHash::Sha1).toHex();
    const QUrl name(QStringLiteral("rtfimage:%1-%2x%3")
                        .arg(QString::fromLatin1(digest))
                        .arg(image.width())
                        .arg(image.height()));
    cursor_.document()->addResource(QTextDocument::ImageResource, name, QVariant(image));

    QTextImageFormat imageFormat;
    imageFormat.merge(format_);
    imageFormat.setName(name.toString());
    imageFormat.setWidth(size.width());
    imageFormat.setHeight(size.height());
    cursor_.insertImage(imageFormat);
}

void RtfDocumentBuilder::finish(const QTextBlockFormat &lastParagraph) {
    flush();
    if (paragraphPending_) {
        // The mark after the last paragraph of a file opens nothing; pasted, it ends the
        // pasted paragraph before the text that follows the cursor.
        if (mode_ == Mode::AtCursor)
            startPendingParagraph();
        paragraphPending_ = false;
        return;
    }
    // A last paragraph without a mark takes the formatting in force at the end of the file,
    // unless it is the existing paragraph that pasted text went into.
    if (mode_ == Mode::WholeDocument)
        cursor_.setBlockFormat(lastParagraph);
}
