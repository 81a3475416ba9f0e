#include "rtf/rtfpicture.h"

#include "rtf/codec/rtfkeywords.h"

#include <QBuffer>
#include <QImageReader>
#include <QLocale>
#include <QPainter>

namespace {

int segmentLength(QByteArrayView jpeg, qsizetype at) {
    if (at + 1 >= jpeg.size())
        return -1;
    return (static_cast<unsigned char>(jpeg[at]) << 8) | static_cast<unsigned char>(jpeg[at + 1]);
}

QImage placeholderImage(const QString &text) {
    QImage image(360, 110, QImage::Format_RGB32);
    image.fill(QColor(0xF2, 0xF2, 0xF2));
    QPainter painter(&image);
    painter.setPen(QColor(0x80, 0x80, 0x80));
    painter.drawRect(image.rect().adjusted(0, 0, -1, -1));
    painter.setPen(Qt::black);
    QFont font = painter.font();
    font.setPixelSize(12);
    painter.setFont(font);
    painter.drawText(image.rect().adjusted(8, 6, -8, -6), Qt::AlignCenter | Qt::TextWordWrap, text);
    return image;
}

QString megapixels(qint64 pixels) {
    return QLocale().toString(double(pixels) / 1e6, 'f', 0);
}

} // namespace

int jpegScanCount(QByteArrayView jpeg, int limit) {
    int scans = 0;
    qsizetype at = 2; // past the start of image marker
    while (at < jpeg.size() && scans <= limit) {
        if (static_cast<unsigned char>(jpeg[at]) != 0xFF) {
            ++at; // damage between segments: look for the next marker
            continue;
        }
        while (at < jpeg.size() && static_cast<unsigned char>(jpeg[at]) == 0xFF)
            ++at; // fill bytes
        if (at >= jpeg.size())
            break;
        const auto marker = static_cast<unsigned char>(jpeg[at++]);
        if (marker == 0xD9)
            break; // end of image
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7))
            continue; // markers without a segment
        const int length = segmentLength(jpeg, at);
        if (length < 2)
            break;
        at += length;
        if (marker != 0xDA)
            continue;
        ++scans;
        // The coded data of the scan runs up to the next marker: a 0xFF followed by
        // something other than a stuffed zero or a restart marker.
        while (at + 1 < jpeg.size()) {
            const qsizetype ff = jpeg.sliced(at).indexOf('\xFF');
            if (ff < 0) {
                at = jpeg.size();
                break;
            }
            at += ff;
            const auto next = at + 1 < jpeg.size() ? static_cast<unsigned char>(jpeg[at + 1]) : 0;
            if (next == 0x00 || (next >= 0xD0 && next <= 0xD7)) {
                at += 2;
                continue;
            }
            break;
        }
    }
    return scans;
}

RtfPictureDecoder::Picture RtfPictureDecoder::decode(int type, const QByteArray &data) {
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, type == PicturePng ? "png" : "jpeg");
    const QSize size = reader.size();
    if (!size.isValid())
        return {};
    const qint64 pixels = qint64(size.width()) * size.height();
    if (pixels > pixelsLeft_) {
        return placeholder(QStringLiteral("it has %1 × %2 pixels, and the pictures of one entry "
                                          "may have %3 million in all.")
                               .arg(size.width())
                               .arg(size.height())
                               .arg(megapixels(pixelBudget)));
    }
    if (type == PictureJpeg) {
        const int scans = jpegScanCount(data, maxJpegScans);
        if (scans > maxJpegScans)
            return placeholder(QStringLiteral("it is a JPEG of more than %1 scans, which takes "
                                              "too long to draw.")
                                   .arg(maxJpegScans));
    }
    QImage image;
    if (!reader.read(&image))
        return {};
    pixelsLeft_ -= pixels;
    return {image, QString()};
}

RtfPictureDecoder::Picture RtfPictureDecoder::placeholder(const QString &why) {
    const QString text = QStringLiteral("Picture not shown: %1 It stays in the entry and is "
                                        "saved with it.")
                             .arg(why);
    // Drawn once for each reason: a file may hold thousands of such pictures.
    QImage &image = placeholders_[text];
    if (image.isNull())
        image = placeholderImage(text);
    return {image, text};
}
