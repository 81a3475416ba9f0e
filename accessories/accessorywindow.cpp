#include "accessories/accessorywindow.h"

#include "platform/imagelist.h"
#include "platform/units.h"

#include <QPushButton>

static void loadPictures() {
    Q_INIT_RESOURCE(accessories);
}

namespace {
// Close free faces from Debian's font packages for the families the windows name, which
// a Linux machine seldom has: Lucida Bright and Zapf Elliptical are serif faces of large
// x-height, Goudy Stout a very heavy serif, ITC Avant Garde a geometric sans (URW Gothic is
// its metric twin), Arial Black a heavy sans.
void installSubstitutes() {
    static const bool installed = [] {
        QFont::insertSubstitutions(QStringLiteral("Lucida Bright"),
                                   {QStringLiteral("DejaVu Serif"), QStringLiteral("P052")});
        QFont::insertSubstitutions(QStringLiteral("ZapfEllipt BT"),
                                   {QStringLiteral("P052"), QStringLiteral("DejaVu Serif")});
        QFont::insertSubstitutions(QStringLiteral("Goudy Stout"),
                                   {QStringLiteral("URW Bookman"), QStringLiteral("DejaVu Serif")});
        QFont::insertSubstitutions(QStringLiteral("AvantGarde Bk BT"),
                                   {QStringLiteral("URW Gothic"), QStringLiteral("DejaVu Sans")});
        QFont::insertSubstitutions(QStringLiteral("Arial Black"),
                                   {QStringLiteral("DejaVu Sans"), QStringLiteral("Nimbus Sans")});
        return true;
    }();
    (void)installed;
}

const QColor maskColor(192, 192, 192);
} // namespace

QFont designedFont(const QString &family, double points, QFont::Weight weight) {
    installSubstitutes();
    QFont font(family);
    font.setPointSizeF(points);
    font.setWeight(weight);
    return font;
}

void fitToText(QWidget *control) {
    const QSize needed = control->sizeHint();
    control->resize(std::max(control->width(), needed.width()),
                    std::max(control->height(), needed.height()));
}

void setTextColor(QWidget *control, const QColor &color) {
    QPalette palette = control->palette();
    palette.setColor(QPalette::WindowText, color);
    palette.setColor(QPalette::ButtonText, color);
    palette.setColor(QPalette::Text, color);
    control->setPalette(palette);
}

QPixmap accessoryPicture(const char *name) {
    loadPictures();
    return maskedPicture(QStringLiteral(":/accessories/%1.xpm").arg(QLatin1String(name)),
                         maskColor);
}

QPushButton *pictureButton(QWidget *parent, const char *name, const QString &caption,
                           const char *picture, const QString &tip, double left, double top,
                           double width, double height) {
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setIcon(accessoryPicture(picture));
    button->setToolTip(tip);
    button->setFont(designedFont(QStringLiteral("Lucida Bright"), 9.75, QFont::DemiBold));
    setTextColor(button, Qt::blue);
    placeInTwips(button, left, top, width, height);
    return button;
}

AccessoryWindow::AccessoryWindow(QWidget *owner, const char *name, const QString &caption,
                                 double clientWidth, double clientHeight)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName(QLatin1String(name));
    setWindowTitle(caption);
    setAccessibleName(caption);
    setFixedSize(twipsToPixelsX(clientWidth), twipsToPixelsY(clientHeight));
}

void AccessoryWindow::showWindow() {
    if (!isVisible() && !Form_Load())
        return;
    show();
    raise();
    activateWindow();
}

void AccessoryWindow::Unload() {
    close();
}
