#pragma once

#include <QIcon>
#include <QList>
#include <QObject>
#include <QPixmap>
#include <QStringList>

// A picture from a file (or resource) whose pixels of the mask colour are transparent.
QPixmap maskedPicture(const QString &file, QColor maskColor);

// A list of equally sized pictures addressed by key. Pixels of the mask colour are
// transparent.
class ImageList : public QObject {
public:
    ImageList(QSize imageSize, QColor maskColor, QObject *parent = nullptr);

    // Adds a picture from a file (or resource) under a key.
    void add(const QString &key, const QString &file);

    QIcon image(const QString &key) const;
    QStringList keys() const { return keys_; }
    int count() const { return int(keys_.size()); }
    QSize imageSize() const { return size_; }

private:
    QSize size_;
    QColor mask_;
    QStringList keys_;
    QList<QIcon> images_;
};
