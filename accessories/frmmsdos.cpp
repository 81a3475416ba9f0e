#include "accessories/frmmsdos.h"

#include "platform/commandline.h"
#include "platform/errorhandling.h"
#include "platform/platform.h"
#include "platform/units.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

namespace {
constexpr int commandLineLength = 100;
}

frmMSDOS::frmMSDOS(QWidget *owner)
    : AccessoryWindow(owner, "frmMSDOS", QStringLiteral("Enter the Statement"), 6270, 1320) {
    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setMaxLength(commandLineLength);
    Text1->setToolTip(QStringLiteral("ENTER THE COMMAND LINE HERE"));
    Text1->setAccessibleName(QStringLiteral("Command line"));
    Text1->setFont(designedFont(QStringLiteral("ZapfEllipt BT"), 12, QFont::Bold));
    QPalette magenta = Text1->palette();
    magenta.setColor(QPalette::Base, QColor(255, 0, 255));
    Text1->setPalette(magenta);
    placeInTwips(Text1, 375, 120, 5415, 405);

    command3 = pictureButton(this, "command3", QStringLiteral("Reset"), "reset",
                             QStringLiteral("Clear the Command Line"), 1155, 750, 1410, 420);
    QFont italic = command3->font();
    italic.setItalic(true);
    command3->setFont(italic);
    Command1 = pictureButton(this, "Command1", QStringLiteral("OK"), "ok",
                             QStringLiteral("Execute the Command Line"), 2685, 765, 1350, 420);
    Command2 = pictureButton(this, "Command2", QStringLiteral("Close"), "close",
                             QStringLiteral("Close Window"), 4170, 750, 1515, 420);
    // No button is the default: Enter in the box must not run what is half typed.
    for (QPushButton *button : {command3, Command1, Command2})
        button->setAutoDefault(false);
    setTabOrder(Text1, command3);
    setTabOrder(command3, Command1);
    setTabOrder(Command1, Command2);

    connect(Command1, &QPushButton::clicked, this, &frmMSDOS::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmMSDOS::Unload);
    connect(command3, &QPushButton::clicked, this, &frmMSDOS::command3_Click);
}

bool frmMSDOS::Form_Load() {
    // A window closed with its text loses it; the next one starts empty.
    Text1->clear();
    Text1->setFocus();
    return true;
}

void frmMSDOS::keyPressEvent(QKeyEvent *event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        // Enter presses the button that has the focus, and does nothing in the box.
        if (auto *button = qobject_cast<QPushButton *>(focusWidget()))
            button->animateClick();
        return;
    }
    AccessoryWindow::keyPressEvent(event);
}

void frmMSDOS::Command1_Click() {
    // The text as typed: split into the program and its arguments as a shell splits
    // words, and started directly, never through a shell.
    runReportingErrors([&] {
        const QStringList words = splitCommandLine(Text1->text());
        platform().startProgram(words.value(0), words.mid(1));
    });
}

void frmMSDOS::command3_Click() {
    Text1->clear();
    Text1->setFocus();
}
