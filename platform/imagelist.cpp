#include "platform/imagelist.h"

#include <QBitmap>
#include <QPixmap>

ImageList::ImageList(QSize imageSize, QColor maskColor, QObject *parent)
    : QObject(parent), size_(imageSize), mask_(maskColor) {}

QPixmap maskedPicture(const QString &file, QColor maskColor) {
    QPixmap picture(file);
    if (!picture.isNull())
        picture.setMask(picture.createMaskFromColor(maskColor, Qt::MaskInColor));
    return picture;
}

void ImageList::add(const QString &key, const QString &file) {
    QPixmap picture = maskedPicture(file, mask_);
    if (!picture.isNull() && picture.size() != size_)
        picture = picture.scaled(size_, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    keys_ << key;
    images_ << QIcon(picture);
}

QIcon ImageList::image(const QString &key) const {
    const qsizetype index = keys_.indexOf(key);
    return index < 0 ? QIcon() : images_[index];
}
