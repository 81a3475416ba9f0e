#include "browser/frmbrowser.h"

#include "browser/browserhost.h"
#include "browser/browserpages.h"
#include "browser/webbrowsermodule.h"
#include "platform/errorhandling.h"
#include "platform/imagelist.h"
#include "platform/messagebox.h"
#include "platform/platform.h"
#include "platform/runtimeerror.h"
#include "platform/toolbaraccessibility.h"
#include "platform/units.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QShortcut>
#include <QStandardPaths>
#include <QTimer>
#include <QToolBar>

// The toolbar's pictures, compiled into the program.
static void loadPictures() {
    Q_INIT_RESOURCE(browser);
}

namespace {

struct ToolbarButton {
    const char *key; // also the tooltip and the accessible name
    const char *picture;
    // The key every browser has for the command; none for Home and Search.
    QKeySequence shortcut;
};

const ToolbarButton toolbarButtons[] = {
    {"Back", "back", QKeySequence(Qt::ALT | Qt::Key_Left)},
    {"Forward", "forward", QKeySequence(Qt::ALT | Qt::Key_Right)},
    {"Stop", "stop", QKeySequence(Qt::Key_Escape)},
    {"Refresh", "refresh", QKeySequence(Qt::Key_F5)},
    {"Home", "home", QKeySequence()},
    {"Search", "search", QKeySequence()},
};

const QString workingCaption = QStringLiteral("Working...");
const QString addressTip = QStringLiteral("ENTER THE WEB ADDRESS YOU WANT TO GO TO");

const QSize buttonSize(31, 30);
const QSize pictureSize(24, 24);
const QColor maskColor(192, 192, 192);

// Twips.
constexpr double toolbarHeight = 540, stripHeight = 675;
constexpr double labelLeft = 45, labelTop = 60, labelWidth = 3075, labelHeight = 255;
constexpr double addressLeft = 50, addressHeight = 315;
constexpr double browserLeft = 50, browserTop = 1215;
constexpr double margin = 100;

// A size that would not be one stops its step, as a property would refuse it.
int validSize(double twips, int (*toPixels)(double)) {
    if (twips <= 0)
        raiseError(ErrorNumber::InvalidPropertyValue);
    return toPixels(twips);
}

} // namespace

frmBrowser::frmBrowser(BrowserHost &host, QWidget *parent) : QWidget(parent), host_(host) {
    setObjectName(QStringLiteral("frmBrowser"));
    buildToolbar();
    buildAddressStrip();
    brwWebBrowser = createWebBrowser(this, *this, browserPages());
    brwWebBrowser->setObjectName(QStringLiteral("brwWebBrowser"));
    brwWebBrowser->setAccessibleName(QStringLiteral("Web page"));
    placeInTwips(brwWebBrowser, browserLeft, browserTop, 6540 - 2 * margin, 3000);
    timTimer = new QTimer(this);
    timTimer->setObjectName(QStringLiteral("timTimer"));
    timTimer->setInterval(5);
    connect(timTimer, &QTimer::timeout, this, &frmBrowser::timTimer_Timer);
    addKeys();
    setTabOrder(cboAddress, brwWebBrowser);
}

frmBrowser::~frmBrowser() = default;

void frmBrowser::buildToolbar() {
    loadPictures();
    installToolbarAccessibility();
    imlToolbarIcons = new ImageList(pictureSize, maskColor, this);
    imlToolbarIcons->setObjectName(QStringLiteral("imlToolbarIcons"));
    tbToolBar = new QToolBar(this);
    tbToolBar->setObjectName(QStringLiteral("tbToolBar"));
    tbToolBar->setIconSize(pictureSize);
    for (const ToolbarButton &button : toolbarButtons) {
        const QString key = QString::fromLatin1(button.key);
        imlToolbarIcons->add(key,
                             QStringLiteral(":/browser/%1.xpm").arg(QLatin1String(button.picture)));
        QAction *action = tbToolBar->addAction(imlToolbarIcons->image(key), key);
        action->setObjectName(key);
        action->setToolTip(key);
        tbToolBar->widgetForAction(action)->setFixedSize(buttonSize);
    }
    connect(tbToolBar, &QToolBar::actionTriggered, this, &frmBrowser::tbToolBar_ButtonClick);
}

void frmBrowser::buildAddressStrip() {
    picAddress = new QWidget(this);
    picAddress->setObjectName(QStringLiteral("picAddress"));
    lblAddress = new QLabel(QStringLiteral("&Address:"), picAddress);
    lblAddress->setObjectName(QStringLiteral("lblAddress"));
    placeInTwips(lblAddress, labelLeft, labelTop, labelWidth, labelHeight);
    cboAddress = new QComboBox(picAddress);
    cboAddress->setObjectName(QStringLiteral("cboAddress"));
    cboAddress->setEditable(true);
    // The list is the window's own: typing an address adds nothing to it until the
    // page is reached.
    cboAddress->setInsertPolicy(QComboBox::NoInsert);
    cboAddress->setDuplicatesEnabled(true);
    // The text goes exactly as typed: a box that completed it from the list would make
    // the beginning of a visited address ("/d" of "/dir/") impossible to reach.
    cboAddress->setCompleter(nullptr);
    cboAddress->setToolTip(addressTip);
    cboAddress->lineEdit()->setToolTip(addressTip);
    placeInTwips(cboAddress, addressLeft, labelTop + labelHeight + 15, 6540 - 2 * margin,
                 addressHeight);
    // The label names the box for a screen reader. The keyboard is in the box's edit
    // line, which Qt would read by its text alone: it carries the label's words too.
    lblAddress->setBuddy(cboAddress);
    cboAddress->lineEdit()->setAccessibleName(lblAddress->text().remove(QLatin1Char('&')));
    cboAddress->installEventFilter(this);
    cboAddress->lineEdit()->installEventFilter(this);
    // A choice from the list, by mouse or by the arrow keys; the list's own rewriting
    // after a page completes is no choice.
    connect(cboAddress, &QComboBox::activated, this, [this] { cboAddress_Click(); });
}

void frmBrowser::addKeys() {
    for (const ToolbarButton &button : toolbarButtons) {
        if (button.shortcut.isEmpty())
            continue;
        auto *shortcut = new QShortcut(button.shortcut, this);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        const QString key = QString::fromLatin1(button.key);
        connect(shortcut, &QShortcut::activated, this, [this, key] { pressButton(key); });
    }
}

bool frmBrowser::event(QEvent *event) {
    if (event->type() == QEvent::ShortcutOverride) {
        const QKeyCombination key = static_cast<QKeyEvent *>(event)->keyCombination();
        // Ctrl+L goes to the address box, as in every browser. The main window has it too,
        // as Align Left for diary windows; taken here, before shortcuts are matched, the
        // key is not ambiguous while a diary window is open beside this one.
        if (key == QKeyCombination(Qt::ControlModifier, Qt::Key_L)) {
            cboAddress->setFocus(Qt::ShortcutFocusReason);
            cboAddress->lineEdit()->selectAll();
            event->accept();
            return true;
        }
        // Esc is Stop while a page loads, and in the address box; otherwise it is the
        // page's, whose own dialogs and menus close with it.
        if (key == QKeyCombination(Qt::Key_Escape) && !brwWebBrowser->Busy() &&
            !cboAddress->isAncestorOf(focusWidget()) && focusWidget() != cboAddress) {
            event->accept();
            return true;
        }
    }
    return QWidget::event(event);
}

void frmBrowser::pressButton(const QString &key) {
    tbToolBar_ButtonClick(tbToolBar->findChild<QAction *>(key));
}

void frmBrowser::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    if (!loaded_) {
        loaded_ = true;
        Form_Load();
    }
}

void frmBrowser::resizeEvent(QResizeEvent *) {
    tbToolBar->setGeometry(0, 0, width(), twipsToPixelsY(toolbarHeight));
    picAddress->setGeometry(0, tbToolBar->height(), width(), twipsToPixelsY(stripHeight));
    Form_Resize();
}

void frmBrowser::Form_Load() {
    // The window is already visible: it shows before any page is asked for.
    runIgnoringErrors({
        [&] { tbToolBar->repaint(); },
        [&] { Form_Resize(); },
        [&] {
            cboAddress->move(twipsToPixelsX(addressLeft),
                             twipsToPixelsY(pixelsToTwipsY(lblAddress->y()) +
                                            pixelsToTwipsY(lblAddress->height()) + 15));
        },
    });
    if (StartingAddress.isEmpty())
        return;
    runIgnoringErrors({
        [&] { cboAddress->setEditText(StartingAddress); },
        [&] { cboAddress->addItem(StartingAddress); },
        [&] { timTimer->start(); },
        [&] { brwWebBrowser->Navigate(StartingAddress); },
    });
}

void frmBrowser::Form_Resize() {
    const double innerWidth = pixelsToTwipsX(width());
    const double innerHeight = pixelsToTwipsY(height());
    runIgnoringErrors({
        [&] {
            cboAddress->resize(validSize(innerWidth - margin, twipsToPixelsX),
                               cboAddress->height());
        },
        [&] {
            brwWebBrowser->resize(validSize(innerWidth - margin, twipsToPixelsX),
                                  brwWebBrowser->height());
        },
        [&] {
            const double stripBottom =
                pixelsToTwipsY(picAddress->y()) + pixelsToTwipsY(picAddress->height());
            brwWebBrowser->resize(brwWebBrowser->width(),
                                  validSize(innerHeight - stripBottom - margin, twipsToPixelsY));
        },
    });
}

void frmBrowser::cboAddress_Click() {
    if (UpdatingAddressList)
        return;
    // The address goes to the component exactly as typed or chosen; a failure here
    // is the component's to show, like every other browser failure.
    runIgnoringErrors({
        [&] { timTimer->start(); },
        [&] { brwWebBrowser->Navigate(cboAddress->currentText()); },
    });
}

void frmBrowser::cboAddress_KeyPress(short KeyAscii) {
    if (KeyAscii == 13)
        runIgnoringErrors({[&] { cboAddress_Click(); }});
}

bool frmBrowser::eventFilter(QObject *watched, QEvent *event) {
    if ((watched == cboAddress || watched == cboAddress->lineEdit()) &&
        event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            cboAddress_KeyPress(13);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frmBrowser::timTimer_Timer() {
    runIgnoringErrors({[&] {
        if (brwWebBrowser->Busy()) {
            setWindowTitle(workingCaption);
        } else {
            timTimer->stop();
            setWindowTitle(brwWebBrowser->LocationName());
        }
    }});
}

void frmBrowser::tbToolBar_ButtonClick(QAction *Button) {
    const QString key = Button ? Button->objectName() : QString();
    runIgnoringErrors({
        [&] { timTimer->start(); },
        [&] {
            if (key == QLatin1String("Back"))
                brwWebBrowser->GoBack();
            else if (key == QLatin1String("Forward"))
                brwWebBrowser->GoForward();
            else if (key == QLatin1String("Refresh"))
                brwWebBrowser->Refresh();
            else if (key == QLatin1String("Home"))
                brwWebBrowser->GoHome();
            else if (key == QLatin1String("Search"))
                brwWebBrowser->GoSearch();
            else if (key == QLatin1String("Stop")) {
                runIgnoringErrors({
                    [&] { timTimer->stop(); },
                    [&] { brwWebBrowser->Stop(); },
                    [&] { setWindowTitle(brwWebBrowser->LocationName()); },
                });
            }
        },
    });
}

void frmBrowser::brwWebBrowser_DownloadBegin() {
    // A load the page began itself (a link, a script, a form) shows "Working..." too.
    runIgnoringErrors({[&] { timTimer->start(); }});
}

void frmBrowser::brwWebBrowser_DownloadComplete() {
    runIgnoringErrors({[&] { setWindowTitle(brwWebBrowser->LocationName()); }});
}

void frmBrowser::brwWebBrowser_NavigateComplete2(QObject *, const QString &) {
    int found = -1;
    runIgnoringErrors({
        [&] { setWindowTitle(brwWebBrowser->LocationName()); },
        [&] {
            found = cboAddress->findText(brwWebBrowser->LocationURL(),
                                         Qt::MatchExactly | Qt::MatchCaseSensitive);
        },
        [&] { UpdatingAddressList = true; },
        [&] {
            if (found >= 0)
                cboAddress->removeItem(found);
        },
        [&] { cboAddress->insertItem(0, brwWebBrowser->LocationURL()); },
        [&] { cboAddress->setCurrentIndex(0); },
    });
    UpdatingAddressList = false;
}

::brwWebBrowser *frmBrowser::brwWebBrowser_NewWindow() {
    // However its page asks, a window opens no more than a few others at once: each is a
    // browser of its own, and hundreds would take gigabytes. The engine makes them one
    // after another, a few tenths of a second apart, so "at once" spans seconds.
    constexpr int windowsAtOnce = 3;
    constexpr qint64 onceMilliseconds = 10000;
    if (!windowClock_.isValid())
        windowClock_.start();
    const qint64 now = windowClock_.elapsed();
    windowsOpenedAt_.removeIf([now](qint64 at) { return now - at > onceMilliseconds; });
    if (windowsOpenedAt_.size() >= windowsAtOnce)
        return nullptr;
    windowsOpenedAt_ << now;
    frmBrowser *opened = nullptr;
    runReportingErrors([&] { opened = host_.openBrowserWindow(QString()); });
    return opened ? opened->brwWebBrowser : nullptr;
}

QString frmBrowser::brwWebBrowser_ChooseDownloadFile(const QString &suggestedName) {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    return platform().fileDialog(FileDialogKind::Save, QStringLiteral("Save Download As"),
                                 QStringLiteral("All Files (*.*)|*"),
                                 QDir(folder).filePath(downloadName(suggestedName)), 0);
}

QString frmBrowser::downloadName(const QString &suggestedName) {
    // The page names the file: only a name, in the download folder, and not a hidden one
    // (a page offering "../.bashrc" or ".config/autostart/x.desktop" must not have one
    // Enter put it there).
    QString name = suggestedName.section(QLatin1Char('/'), -1).section(QLatin1Char('\\'), -1);
    while (!name.isEmpty() && (name.front() == QLatin1Char('.') || name.front().isSpace()))
        name.remove(0, 1);
    name.remove(QChar(0));
    return name.isEmpty() ? QStringLiteral("download") : name;
}

void frmBrowser::brwWebBrowser_DownloadFailed(const QString &description) {
    MsgBox(description, MsgBoxStyle::OkOnly | MsgBoxStyle::Exclamation);
}
