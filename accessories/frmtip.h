#pragma once

#include "accessories/accessorywindow.h"

#include <QStringList>

class QCheckBox;
class QFrame;
class QLabel;

// The tip of the day: one tip at a time from TIPOFDAY.TXT among the shipped files, one tip
// a line, in file order. The list of tips and the place in it live as long as the window
// object, so a window closed and shown again goes on from the next tip.
class frmTip : public AccessoryWindow {
    Q_OBJECT
public:
    explicit frmTip(QWidget *owner);

    // Reads the lines of a tips file into TipList and shows the next tip. False, with
    // nothing read, when the name is empty or names no ordinary file. A file that is there
    // but cannot be read shows why in place of a tip.
    bool LoadTips(const QString &fileName);
    // Shows the tip at TipIndex, when there are tips.
    void DisplayCurrentTip();

    QStringList TipList;
    qint32 TipIndex = 0; // 1-based; 0 before the first tip

    QFrame *Picture1 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *lblTipText = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdNextTip = nullptr;
    QCheckBox *chkLoadTipsAtStartup = nullptr;

protected:
    bool Form_Load() override;

private:
    void AdvanceTip();
    void chkLoadTipsAtStartup_Click();
};
