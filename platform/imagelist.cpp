#include "platform/imagelist.h"

#include <QBitmap>
#include <QGuiApplication>
#include <QImageReader>
#include <QPixmap>
#include <QStyleOption>

QPixmap xpmPicture(const QString &file) {
    // Named as what it is, the picture is read by the reader built into the program,
    // without loading every image format plug-in to ask which one knows it.
    QImageReader reader(file, "XPM");
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

ImageList::ImageList(QSize imageSize, QColor maskColor, QObject *parent)
    : QObject(parent), size_(imageSize), mask_(maskColor) {}

QPixmap maskedPicture(const QString &file, QColor maskColor) {
    QPixmap picture = xpmPicture(file);
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

QIcon ProgramStyle::standardIcon(StandardPixmap which, const QStyleOption *option,
                                 const QWidget *widget) const {
    const bool horizontal = which == SP_ToolBarHorizontalExtensionButton;
    if (!horizontal && which != SP_ToolBarVerticalExtensionButton)
        return QProxyStyle::standardIcon(which, option, widget);
    const bool rightToLeft =
        (option ? option->direction : QGuiApplication::layoutDirection()) == Qt::RightToLeft;
    const QString name = horizontal ? (rightToLeft ? QStringLiteral("toolbar-ext-h-rtl-%1.png")
                                                   : QStringLiteral("toolbar-ext-h-%1.png"))
                                    : QStringLiteral("toolbar-ext-v-%1.png");
    const int sizes[2] = {horizontal ? 16 : 10, horizontal ? 32 : 20};
    QIcon icon;
    for (int size : sizes) {
        QImageReader reader(
            QStringLiteral(":/qt-project.org/styles/commonstyle/images/") + name.arg(size), "PNG");
        reader.setAutoDetectImageFormat(false);
        if (const QImage picture = reader.read(); !picture.isNull())
            icon.addPixmap(QPixmap::fromImage(picture));
    }
    return icon.isNull() ? QProxyStyle::standardIcon(which, option, widget) : icon;
}
