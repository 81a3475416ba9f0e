#include "platform/imagelist.h"

#include <QBitmap>
#include <QPixmap>

ImageList::ImageList(QSize imageSize, QColor maskColor, QObject *parent)
    : QObject(parent), size_(imageSize), mask_(maskColor) {}

void ImageList::add(const QString &key, const QString &file) {
    QPixmap picture(file);
    if (!picture.isNull()) {
        if (picture.size() != size_)
            picture = picture.scaled(size_, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        picture.setMask(picture.createMaskFromColor(mask_, Qt::MaskInColor));
    }
    keys_ << key;
    images_ << QIcon(picture);
}

QIcon ImageList::image(const QString &key) const {
    const qsizetype index = keys_.indexOf(key);
    return index < 0 ? QIcon() : images_[index];
}
