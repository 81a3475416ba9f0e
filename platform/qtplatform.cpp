#include "platform/qtplatform.h"

#include "platform/commondialog.h"
#include "platform/folders.h"
#include "platform/messagebox.h"
#include "platform/programstart.h"
#include "platform/runtimeerror.h"
#include "platform/x11keys.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QUrl>

// Follows the lock keys from the key presses the program sees, for the keys the window
// system cannot be asked about.
class QtPlatform::KeyTracker : public QObject {
public:
    bool caps = false, num = false, scroll = false;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::KeyPress) {
            auto *key = static_cast<QKeyEvent *>(event);
            // A key event travels up to the parents it is not handled by; count it
            // once, where it arrived.
            QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget()
                                                          : QApplication::activeWindow();
            if (!key->isAutoRepeat() && watched == target) {
                switch (key->key()) {
                case Qt::Key_CapsLock:
                    caps = !caps;
                    break;
                case Qt::Key_NumLock:
                    num = !num;
                    break;
                case Qt::Key_ScrollLock:
                    scroll = !scroll;
                    break;
                default:
                    break;
                }
            }
        }
        return false;
    }
};

QtPlatform::QtPlatform() = default;
QtPlatform::~QtPlatform() = default;

int QtPlatform::messageBox(const QString &text, int style, const QString &title) {
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(title);
    box.setText(text);
    switch (style & MsgBoxStyle::IconMask) {
    case MsgBoxStyle::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    case MsgBoxStyle::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case MsgBoxStyle::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case MsgBoxStyle::Information:
        box.setIcon(QMessageBox::Information);
        break;
    default:
        box.setIcon(QMessageBox::NoIcon);
        break;
    }
    struct Choice {
        QMessageBox::StandardButton button;
        int result;
    };
    QList<Choice> choices;
    switch (style & MsgBoxStyle::ButtonMask) {
    case MsgBoxStyle::OkCancel:
        choices = {{QMessageBox::Ok, MsgBoxResult::Ok},
                   {QMessageBox::Cancel, MsgBoxResult::Cancel}};
        break;
    case MsgBoxStyle::YesNoCancel:
        choices = {{QMessageBox::Yes, MsgBoxResult::Yes},
                   {QMessageBox::No, MsgBoxResult::No},
                   {QMessageBox::Cancel, MsgBoxResult::Cancel}};
        break;
    case MsgBoxStyle::YesNo:
        choices = {{QMessageBox::Yes, MsgBoxResult::Yes}, {QMessageBox::No, MsgBoxResult::No}};
        break;
    default:
        choices = {{QMessageBox::Ok, MsgBoxResult::Ok}};
        break;
    }
    for (const Choice &choice : choices)
        box.addButton(choice.button);
    const int defaultIndex = (style & MsgBoxStyle::DefaultMask) / MsgBoxStyle::DefaultButton2;
    box.setDefaultButton(choices.value(defaultIndex, choices.first()).button);
    // Closing the box by its frame or Escape answers Cancel where there is one.
    box.setEscapeButton(choices.last().button);
    box.exec();
    const auto clicked = box.standardButton(box.clickedButton());
    for (const Choice &choice : choices)
        if (choice.button == clicked)
            return choice.result;
    return choices.last().result;
}

QString qtNameFilter(const QString &filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i];
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        QStringList both;
        for (const QString &pattern : patterns) {
            both << pattern;
            if (pattern.toLower() != pattern)
                both << pattern.toLower();
        }
        const int paren = description.indexOf(QLatin1Char('('));
        if (paren >= 0)
            description = description.left(paren).trimmed();
        filters << description + QStringLiteral(" (") + both.join(QLatin1Char(' ')) +
                       QLatin1Char(')');
    }
    return filters.join(QStringLiteral(";;"));
}

QString QtPlatform::fileDialog(FileDialogKind kind, const QString &title, const QString &filter,
                               const QString &folder, int, int *filterIndex) {
    QWidget *parent = QApplication::activeWindow();
    const QString qtFilter = qtNameFilter(filter);
    const QStringList filters = qtFilter.split(QStringLiteral(";;"));
    QString selected = filterIndex ? filters.value(*filterIndex - 1) : QString();
    const QString path =
        kind == FileDialogKind::Open
            ? QFileDialog::getOpenFileName(parent, title, folder, qtFilter, &selected)
            : QFileDialog::getSaveFileName(parent, title, folder, qtFilter, &selected);
    if (filterIndex && filters.contains(selected))
        *filterIndex = int(filters.indexOf(selected)) + 1;
    return path;
}

namespace {
// The print dialog as the print flags set it up. Qt's own dialog leaves its "Pages from"
// choice usable when page ranges are switched off, and switches it on again as it
// updates itself: these choices stay off whenever anything switches them on.
class PrintDialog : public QPrintDialog {
public:
    PrintDialog(QPrinter &printer, int flags)
        : QPrintDialog(&printer, QApplication::activeWindow()) {
        const bool noPageNumbers = flags & PrintFlag::NoPageNumbers;
        setOption(QAbstractPrintDialog::PrintSelection, true);
        setOption(QAbstractPrintDialog::PrintPageRange, !noPageNumbers);
        printer.setPrintRange((flags & PrintFlag::Selection) ? QPrinter::Selection
                                                             : QPrinter::AllPages);
        if (!noPageNumbers)
            return;
        for (const char *name : {"printRange", "from", "to", "pagesRadioButton", "pagesLineEdit"})
            if (auto *choice = findChild<QWidget *>(QLatin1String(name))) {
                choice->setEnabled(false);
                choice->installEventFilter(this);
            }
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        auto *choice = qobject_cast<QWidget *>(watched);
        if (event->type() == QEvent::EnabledChange && choice && choice->isEnabled())
            choice->setEnabled(false);
        return QPrintDialog::eventFilter(watched, event);
    }
};
} // namespace

bool QtPlatform::printDialog(const QString &title, int flags, QPrinter &printer) {
    PrintDialog dialog(printer, flags);
    dialog.setWindowTitle(title);
    return dialog.exec() == QDialog::Accepted;
}

bool QtPlatform::pageSetupDialog(const QString &title, QPrinter &printer) {
    QPageSetupDialog dialog(&printer, QApplication::activeWindow());
    dialog.setWindowTitle(title);
    return dialog.exec() == QDialog::Accepted;
}

void QtPlatform::startProgram(const QString &program, const QStringList &arguments) {
    startDetachedProgram(program, arguments);
}

void QtPlatform::beep() {
    QApplication::beep();
}

bool QtPlatform::showHelp(QWidget *, const QString &helpFile, int, int) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(helpFile));
}

bool QtPlatform::keyState(LockKey key) {
    if (!keyTracker_ && qApp) {
        keyTracker_ = new KeyTracker;
        keyTracker_->setParent(qApp);
        keyTracker_->scroll = x11LockKeyState(LockKey::Scroll).value_or(false);
        qApp->installEventFilter(keyTracker_);
    }
    // The X server's Caps and Num Lock indicators follow their keys. Its Scroll Lock
    // indicator follows no key in the usual keyboard maps, so that key is followed from
    // its presses, starting from the indicator's state.
    if (key != LockKey::Scroll) {
        if (const auto state = x11LockKeyState(key))
            return *state;
    }
    if (!keyTracker_)
        return false;
    switch (key) {
    case LockKey::Caps:
        return keyTracker_->caps;
    case LockKey::Num:
        return keyTracker_->num;
    case LockKey::Scroll:
        return keyTracker_->scroll;
    }
    return false;
}

QDate QtPlatform::today() {
    return QDate::currentDate();
}

QString QtPlatform::dataFolder() {
    return Folders::data();
}

QString QtPlatform::shippedFolder() {
    return Folders::shipped();
}

QString QtPlatform::olderDataFolder() {
    return Folders::olderData();
}

QString QtPlatform::executableName() {
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

void QtPlatform::endProgram() {
    QCoreApplication::exit(0);
}
