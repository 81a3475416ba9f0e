#pragma once

#include "accessories/accessorywindow.h"

class QLineEdit;

// The command-line runner: starts the program a typed command line names, with its
// arguments, and does not wait for it. Failures are told in one message box.
class frmMSDOS : public AccessoryWindow {
    Q_OBJECT
public:
    explicit frmMSDOS(QWidget *owner);

    QLineEdit *Text1 = nullptr;
    QPushButton *command3 = nullptr; // Reset
    QPushButton *Command1 = nullptr; // OK
    QPushButton *Command2 = nullptr; // Close

protected:
    bool Form_Load() override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Whether `pasted` fits into the box where it would go; says so when it does not.
    bool pasteFits(const QString &pasted);
    void showBoxMenu(const QPoint &at);
    void Command1_Click();
    void command3_Click();
};
