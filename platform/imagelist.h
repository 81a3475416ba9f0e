#pragma once

#include <QIcon>
#include <QList>
#include <QObject>
#include <QPixmap>
#include <QProxyStyle>
#include <QStringList>

// A picture from an XPM file (or resource).
QPixmap xpmPicture(const QString &file);

// A picture from an XPM file (or resource) whose pixels of the mask colour are transparent.
QPixmap maskedPicture(const QString &file, QColor maskColor);

// A list of equally sized pictures addressed by key. Pixels of the mask colour are
// transparent.
class ImageList : public QObject {
public:
    ImageList(QSize imageSize, QColor maskColor, QObject *parent = nullptr);

    // Adds a picture from an XPM file (or resource) under a key.
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

// The style of the program's windows: the platform's own, with the pictures of the menu
// bar's and toolbars' extension buttons read by the reader built into the program. Qt
// reads those by asking every image format plug-in whether it knows them, which loads
// them all, and on every start.
class ProgramStyle : public QProxyStyle {
public:
    QIcon standardIcon(StandardPixmap which, const QStyleOption *option,
                       const QWidget *widget) const override;
};
