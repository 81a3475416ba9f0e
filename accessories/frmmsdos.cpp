#include "accessories/frmmsdos.h"

#include "platform/commandline.h"
#include "platform/errorhandling.h"
#include "platform/messagebox.h"
#include "platform/platform.h"
#include "platform/units.h"

#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <memory>

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

    // A paste that does not fit the box would be cut into another command line.
    Text1->installEventFilter(this);
    Text1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(Text1, &QLineEdit::customContextMenuRequested, this, &frmMSDOS::showBoxMenu);

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

bool frmMSDOS::pasteFits(const QString &pasted) {
    const qsizetype after = Text1->text().size() - Text1->selectedText().size() + pasted.size();
    if (after <= commandLineLength)
        return true;
    MsgBox(QStringLiteral("The pasted text has %1 characters, and with it the command line would "
                          "be longer than the %2 characters it can hold, so nothing was pasted.")
               .arg(pasted.size())
               .arg(commandLineLength));
    return false;
}

bool frmMSDOS::eventFilter(QObject *watched, QEvent *event) {
    if (watched != Text1)
        return AccessoryWindow::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::KeyPress:
        if (static_cast<QKeyEvent *>(event)->matches(QKeySequence::Paste))
            return !pasteFits(QApplication::clipboard()->text());
        break;
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent *>(event)->button() == Qt::MiddleButton &&
            QApplication::clipboard()->supportsSelection())
            return !pasteFits(QApplication::clipboard()->text(QClipboard::Selection));
        break;
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        if (drop->mimeData()->hasText() && !pasteFits(drop->mimeData()->text())) {
            drop->ignore();
            return true;
        }
        break;
    }
    default:
        break;
    }
    return AccessoryWindow::eventFilter(watched, event);
}

void frmMSDOS::showBoxMenu(const QPoint &at) {
    std::unique_ptr<QMenu> menu(Text1->createStandardContextMenu());
    if (QAction *paste = menu->findChild<QAction *>(QStringLiteral("edit-paste"))) {
        disconnect(paste, &QAction::triggered, nullptr, nullptr);
        connect(paste, &QAction::triggered, this, [this] {
            if (pasteFits(QApplication::clipboard()->text()))
                Text1->paste();
        });
    }
    menu->exec(Text1->mapToGlobal(at));
}

void frmMSDOS::keyPressEvent(QKeyEvent *event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        // Enter presses the button that has the focus, and does nothing in the box.
        if (auto *button = qobject_cast<QPushButton *>(focusWidget()))
            button->animateClick();
        return;
    }
    // No button is the cancel button either: Esc would close the window as a dialog's
    // Cancel does, and the typed line with it. The close box and Close still close it.
    if (event->key() == Qt::Key_Escape)
        return;
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
