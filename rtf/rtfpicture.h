#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QImage>
#include <QString>
#include <QTextFormat>

// The pictures of one reading, decoded within limits. A few bytes of PNG can stand for
// gigabytes of pixels, and a few bytes of a progressive JPEG for another pass over all
// of them, so a reading decodes at most `pixelBudget` pixels in all and no JPEG of more
// than `maxJpegScans` scans. A picture over either limit is shown as a placeholder that
// says why; its data stays in the document, so saving writes it back unchanged.
class RtfPictureDecoder {
public:
    static constexpr qint64 pixelBudget = 32'000'000;
    static constexpr int maxJpegScans = 100;

    struct Picture {
        QImage image;        // null when the data is not a picture we can read
        QString placeholder; // why the picture is not shown; empty when it is
    };

    // `type` is one of RtfPictureType.
    Picture decode(int type, const QByteArray &data);

private:
    Picture placeholder(const QString &why);

    qint64 pixelsLeft_ = pixelBudget;
    QHash<QString, QImage> placeholders_;
};

// The number of scans of a JPEG file, counted over its markers without decoding; it
// stops counting past `limit`.
int jpegScanCount(QByteArrayView jpeg, int limit);

// The document keeps a placeholder's picture data as a resource of this name under the
// image format's property `originalPictureProperty`; the name ends in ".png" or ".jpeg".
inline constexpr int originalPictureProperty = QTextFormat::UserProperty + 0x5049;
// The size, in pixels, the file gave that picture to be shown at (a QSizeF); without it,
// the picture is shown at its own size.
inline constexpr int originalSizeProperty = QTextFormat::UserProperty + 0x504a;
