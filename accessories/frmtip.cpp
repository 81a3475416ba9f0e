#include "accessories/frmtip.h"

#include "accessories/startuptip.h"
#include "platform/platform.h"
#include "platform/regularfile.h"
#include "platform/units.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QRegularExpression>
#include <QStringDecoder>

namespace {
const QString tipsFileName = QStringLiteral("TIPOFDAY.TXT");

QString notFoundText() {
    return QStringLiteral("That the ") + tipsFileName + QStringLiteral(" file was not found? ") +
           QStringLiteral("\r\n") + QStringLiteral("\r\n") +
           QStringLiteral("Create a text file named ") + tipsFileName +
           QStringLiteral(" using NotePad with 1 tip per line. ") +
           QStringLiteral("Then place it in the same directory as the application. ");
}

QString unreadableText(const QString &fileName, const QString &reason) {
    return QStringLiteral("The tips file %1 is there but could not be read: %2.")
        .arg(QDir::toNativeSeparators(fileName), reason);
}

// The user's own tips file in the data folder, else the one the program ships.
QString tipsFile() {
    const QString own = platform().dataFolder() + QLatin1Char('/') + tipsFileName;
    if (QFileInfo::exists(own))
        return own;
    return platform().shippedFolder() + QLatin1Char('/') + tipsFileName;
}

// A file of tips larger than this is none that a person wrote: reading it would hold the
// program for seconds and keep gigabytes.
constexpr qint64 maxTipsFileSize = 4 * 1024 * 1024;

QString tooLargeText(const QString &fileName, qint64 size) {
    const QLocale locale;
    return QStringLiteral("The tips file %1 is %2, larger than the %3 a tips file can be, and was "
                          "not read.")
        .arg(QDir::toNativeSeparators(fileName), locale.formattedDataSize(size, 1),
             locale.formattedDataSize(maxTipsFileSize, 0));
}

void paintWhite(QWidget *control) {
    QPalette palette = control->palette();
    palette.setColor(QPalette::Window, Qt::white);
    control->setPalette(palette);
    control->setAutoFillBackground(true);
}

// The tips of a file's bytes: UTF-8 text, one tip a line. A line ends at CR LF, LF or CR;
// a line end after the last line adds no empty tip.
QStringList tipLines(const QByteArray &bytes) {
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\r|\n"));
    // The decoder drops a byte-order mark at the start.
    QStringList lines = QString(QStringDecoder(QStringDecoder::Utf8)(bytes)).split(lineEnd);
    // The text after the last line end is a tip only when there is some.
    if (lines.last().isEmpty())
        lines.removeLast();
    return lines;
}
} // namespace

frmTip::frmTip(QWidget *owner)
    : AccessoryWindow(owner, "frmTip", QStringLiteral("Tip of the Day"), 5415, 3285) {
    Picture1 = new QFrame(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setFrameShape(QFrame::Panel);
    Picture1->setFrameShadow(QFrame::Sunken);
    paintWhite(Picture1);
    placeInTwips(Picture1, 120, 135, 3735, 2715);

    auto *bulb = new QLabel(Picture1);
    bulb->setObjectName(QStringLiteral("picBulb"));
    bulb->setPixmap(accessoryPicture("bulb"));
    bulb->setAccessibleName(QStringLiteral("Light bulb"));
    placeInTwips(bulb, 60, 60, 420, 420);

    Label1 = new QLabel(QStringLiteral("Did you know..."), Picture1);
    Label1->setObjectName(QStringLiteral("Label1"));
    paintWhite(Label1);
    placeInTwips(Label1, 540, 180, 2655, 255);
    fitToText(Label1);

    lblTipText = new QLabel(Picture1);
    lblTipText->setObjectName(QStringLiteral("lblTipText"));
    lblTipText->setTextFormat(Qt::PlainText);
    lblTipText->setWordWrap(true);
    lblTipText->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblTipText->setFont(designedFont(QStringLiteral("Arial Black"), 9, QFont::Black));
    paintWhite(lblTipText);
    setTextColor(lblTipText, QColor(255, 0, 255));
    // A keyboard user reaches the tip with Tab, and a screen reader reads it there.
    lblTipText->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    lblTipText->setFocusPolicy(Qt::StrongFocus);
    lblTipText->setAccessibleDescription(QStringLiteral("Tip of the day"));
    placeInTwips(lblTipText, 180, 840, 3255, 1635);

    cmdOK = pictureButton(this, "cmdOK", QStringLiteral("OK"), "ok",
                          QStringLiteral("Close Tip Window"), 3990, 135, 1395, 480);
    cmdNextTip = pictureButton(this, "cmdNextTip", QStringLiteral("Next Tip"), "next",
                               QStringLiteral("Show More Tips"), 3960, 690, 1410, 495);
    chkLoadTipsAtStartup = new QCheckBox(QStringLiteral("&Show Tips at Startup"), this);
    chkLoadTipsAtStartup->setObjectName(QStringLiteral("chkLoadTipsAtStartup"));
    chkLoadTipsAtStartup->setToolTip(
        QStringLiteral("CHECK IT TO SHOW THIS WINDOW NEXT TIME TO RUN THE PROGRAM"));
    placeInTwips(chkLoadTipsAtStartup, 120, 2955, 2055, 315);
    fitToText(chkLoadTipsAtStartup);

    setTabOrder(chkLoadTipsAtStartup, lblTipText);
    setTabOrder(lblTipText, cmdOK);
    setTabOrder(cmdOK, cmdNextTip);

    connect(cmdOK, &QPushButton::clicked, this, &frmTip::Unload);
    connect(cmdNextTip, &QPushButton::clicked, this, &frmTip::AdvanceTip);
    connect(chkLoadTipsAtStartup, &QCheckBox::toggled, this, &frmTip::chkLoadTipsAtStartup_Click);
}

bool frmTip::Form_Load() {
    // The controls as a new window has them; TipList and TipIndex stay.
    lblTipText->clear();
    {
        const QSignalBlocker quiet(chkLoadTipsAtStartup);
        chkLoadTipsAtStartup->setChecked(false);
    }
    if (!startupTipOn())
        return false;
    // Checking the box stores the setting again, as a click would.
    chkLoadTipsAtStartup->setChecked(true);
    if (!LoadTips(tipsFile()))
        lblTipText->setText(notFoundText());
    lblTipText->setFocus();
    return true;
}

bool frmTip::LoadTips(const QString &fileName) {
    if (fileName.isEmpty())
        return false;
    const QFileInfo info(fileName);
    if (!info.isFile() || info.isHidden())
        return false;
    const RegularFile::Result file = RegularFile::read(fileName, maxTipsFileSize);
    if (file.outcome == RegularFile::Outcome::TooLarge) {
        lblTipText->setText(tooLargeText(fileName, file.size));
        return true;
    }
    if (file.outcome != RegularFile::Outcome::Read) {
        lblTipText->setText(unreadableText(fileName, qt_error_string(file.systemError)));
        return true;
    }
    TipList += tipLines(file.data);
    AdvanceTip();
    return true;
}

void frmTip::AdvanceTip() {
    ++TipIndex;
    if (TipIndex > TipList.size())
        TipIndex = 1;
    DisplayCurrentTip();
}

void frmTip::DisplayCurrentTip() {
    if (!TipList.isEmpty())
        lblTipText->setText(TipList[TipIndex - 1]);
}

void frmTip::chkLoadTipsAtStartup_Click() {
    storeStartupTip(chkLoadTipsAtStartup->isChecked());
}
