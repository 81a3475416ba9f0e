#include "accessories/frmproperties.h"

#include "accessories/startuptip.h"
#include "platform/units.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

frmProperties::frmProperties(QWidget *owner)
    : AccessoryWindow(owner, "frmProperties", QStringLiteral("Options"), 6030, 3195) {
    Frame1 = new QGroupBox(QStringLiteral("Tips"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    placeInTwips(Frame1, 120, 120, 4455, 1095);
    Label1 = new QLabel(QStringLiteral("TIP OF THE DAY FILE :  TIPOFDAY.TXT"), Frame1);
    Label1->setObjectName(QStringLiteral("Label1"));
    placeInTwips(Label1, 480, 240, 2970, 195);
    fitToText(Label1);
    Check1 = new QCheckBox(QStringLiteral("Show Tips at Start Up"), Frame1);
    Check1->setObjectName(QStringLiteral("Check1"));
    placeInTwips(Check1, 480, 600, 3735, 255);
    fitToText(Check1);
    // The style draws the frame's caption above its border rather than on it: the
    // controls move down clear of the border, keeping their distance.
    Frame1->ensurePolished();
    const int clear = Frame1->contentsRect().top() + 2 - Label1->y();
    if (clear > 0)
        for (QWidget *inside : {static_cast<QWidget *>(Label1), static_cast<QWidget *>(Check1)})
            inside->move(inside->x(), inside->y() + clear);

    OKButton = pictureButton(this, "OKButton", QStringLiteral("OK"), "ok",
                             QStringLiteral("Store the option and close the window"), 2790, 2640,
                             1350, 420);
    CancelButton = pictureButton(this, "CancelButton", QStringLiteral("Cancel"), "cancel",
                                 QStringLiteral("Close Window"), 4245, 2640, 1515, 420);
    // Enter answers OK and Esc Cancel, as in any dialog.
    OKButton->setDefault(true);
    setTabOrder(Check1, OKButton);
    setTabOrder(OKButton, CancelButton);

    connect(OKButton, &QPushButton::clicked, this, &frmProperties::OKButton_Click);
    connect(CancelButton, &QPushButton::clicked, this, &frmProperties::Unload);
}

bool frmProperties::Form_Load() {
    // The box shows the stored choice: a box that started cleared whatever was stored
    // would switch the tip off on a plain OK.
    Check1->setChecked(startupTipOn());
    Check1->setFocus();
    return true;
}

void frmProperties::OKButton_Click() {
    storeStartupTip(Check1->isChecked());
    Unload();
}
