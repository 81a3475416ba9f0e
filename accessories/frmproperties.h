#pragma once

#include "accessories/accessorywindow.h"

class QCheckBox;
class QGroupBox;
class QLabel;

// The options dialog: whether the tip of the day comes up at start-up. It shows the
// stored choice when it loads; OK stores what it shows, Cancel and the close box store
// nothing.
class frmProperties : public AccessoryWindow {
    Q_OBJECT
public:
    explicit frmProperties(QWidget *owner);

    QGroupBox *Frame1 = nullptr;
    QLabel *Label1 = nullptr;
    QCheckBox *Check1 = nullptr;
    QPushButton *OKButton = nullptr;
    QPushButton *CancelButton = nullptr;

protected:
    bool Form_Load() override;

private:
    void OKButton_Click();
};
