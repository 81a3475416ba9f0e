#include "shell/frmmain.h"

#include "diary/frmdocument.h"
#include "diary/rtftextbox.h"
#include "phonebook/contacttransferjob.h"
#include "phonebook/frmphonebook.h"
#include "phonebook/phonebooktexts.h"
#include "platform/errorhandling.h"
#include "platform/imagelist.h"
#include "platform/messagebox.h"
#include "platform/platform.h"
#include "platform/settings.h"
#include "platform/terminationsignals.h"
#include "platform/units.h"
#include "shell/datafolder.h"
#include "shell/screenfit.h"
#include "shell/shelltexts.h"
#include "shell/statusbar.h"
#include "shell/windowarrangement.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QScreen>
#include <QSessionManager>
#include <QTimer>
#include <QToolBar>

// The pictures of the toolbar and the windows, compiled into the program.
static void loadPictures() {
    Q_INIT_RESOURCE(icons);
}

namespace {
// Where the main window keeps its bounds, in twips.
const QString boundsSection = QStringLiteral("Settings");
struct Bound {
    const char *key;
    double defaultTwips;
};
const Bound mainLeft{"MainLeft", 1000};
const Bound mainTop{"MainTop", 1000};
const Bound mainWidth{"MainWidth", 6500};
const Bound mainHeight{"MainHeight", 6500};

double readBound(const Bound &bound) {
    return GetNumberSetting(appTitle(), boundsSection, QString::fromLatin1(bound.key),
                            bound.defaultTwips);
}

void writeBound(const Bound &bound, double twips) {
    SaveSetting(appTitle(), boundsSection, QString::fromLatin1(bound.key),
                settingNumberText(twips));
}

constexpr int startupTimerMilliseconds = 500;
} // namespace

frmMain::frmMain() {
    loadPictures();
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(appTitle());
    // The program's icon, for this window and every window of the program.
    QApplication::setWindowIcon(QIcon(xpmPicture(QStringLiteral(":/icons/orvanel.xpm"))));
    mdiArea_ = new QMdiArea(this);
    mdiArea_->setObjectName(QStringLiteral("mdiArea"));
    mdiArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdiArea_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(mdiArea_);
    // The formatting buttons show the format of the active entry's selection, whichever
    // diary window was active before.
    connect(mdiArea_, &QMdiArea::subWindowActivated, this, [this] {
        if (frmDocument *document = activeDiary())
            document->showSelectionFormat();
    });

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(startupTimerMilliseconds);
    connect(Timer1, &QTimer::timeout, this, &frmMain::Timer1_Timer);

    buildMenus();
    buildToolbar();
    // The editor of the active entry inserts or overwrites; with none, typing would insert.
    sbStatusBar = new StatusBar(
        [this] {
            const frmDocument *document = activeDiary();
            return !document || !document->rtfText->overwriteMode();
        },
        this);
    setStatusBar(sbStatusBar);

    // Ctrl+F4 closes the active child window of any kind, as on the desktop this program
    // comes from; Ctrl+W, the child window's own key, stays.
    auto *closeChild = new QAction(this);
    closeChild->setObjectName(QStringLiteral("closeActiveChild"));
    closeChild->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F4));
    connect(closeChild, &QAction::triggered, mdiArea_, &QMdiArea::closeActiveSubWindow);
    addAction(closeChild);

    connect(qApp, &QGuiApplication::commitDataRequest, this, &frmMain::commitData);

    MDIForm_Load();
    Timer1->start();
    // A kill or a logout keeps what was typed; the entries of a run that ended that way,
    // or crashed, are offered back once the window is up, in the data folder that an
    // older build's diary may first have been copied into.
    onTermination([this] { diary_.writeRecoveryCopies(); });
    QTimer::singleShot(0, this, [this] {
        prepareDataFolder();
        diary_.offerRecovery();
    });
}

frmMain::~frmMain() {
    // The child windows go after this part of the window: the area says no more of them.
    disconnect(mdiArea_, nullptr, this, nullptr);
    onTermination({});
    keepOpenAccessoriesAfterMe();
}

void frmMain::MDIForm_Load() {
    // The bounds are read in this order. The position is the window's outer corner and
    // the size its inside, as the window system reports them the same way whatever frame
    // it draws: stored bounds come back where they were. Bounds edited by hand, or
    // stored on a screen that is gone, are kept where the window can be seen.
    const double left = readBound(mainLeft) / twipsPerPixelX();
    const double top = readBound(mainTop) / twipsPerPixelY();
    const double width = readBound(mainWidth) / twipsPerPixelX();
    const double height = readBound(mainHeight) / twipsPerPixelY();
    QList<QRect> screenAreas;
    for (const QScreen *screen : QGuiApplication::screens())
        screenAreas << screen->availableGeometry();
    const QRect bounds = keptOnScreens(QRectF(left, top, width, height), screenAreas);
    resize(bounds.size());
    // The window may not be made as small as asked: place it at the size it took.
    move(keptOnScreens(QRectF(bounds.topLeft(), size()), screenAreas).topLeft());
    switchDocumentCommands(false);
}

void frmMain::MDIForm_Unload() {
    if (isMinimized())
        return;
    storeBounds();
}

void frmMain::storeBounds() {
    writeBound(mainLeft, pixelsToTwipsX(x()));
    writeBound(mainTop, pixelsToTwipsY(y()));
    writeBound(mainWidth, pixelsToTwipsX(width()));
    writeBound(mainHeight, pixelsToTwipsY(height()));
}

void frmMain::commitData(QSessionManager &manager) {
    // Each entry with changes is offered for saving when the session lets us ask; a
    // Cancel asks the session not to end.
    if (manager.allowsInteraction()) {
        const bool goOn = offerToSaveChanges();
        manager.release();
        if (!goOn) {
            manager.cancel();
            return;
        }
    } else {
        diary_.writeRecoveryCopies();
    }
    MDIForm_Unload();
}

bool frmMain::offerToSaveChanges() {
    for (QMdiSubWindow *window : mdiArea_->subWindowList()) {
        auto *document = qobject_cast<frmDocument *>(window->widget());
        if (document && document->textChanged() && !offerToSave(*document, *this))
            return false;
        auto *phoneBook = qobject_cast<frmPhoneBook *>(window->widget());
        if (phoneBook && !phoneBook->offerToSaveRecord())
            return false;
    }
    return true;
}

void frmMain::closeEvent(QCloseEvent *event) {
    // An import or export running is cancelled first, when the user says so, and the
    // window closes once it has ended.
    if (ContactTransferJob *job = ContactTransferJob::running()) {
        event->ignore();
        if (MsgBox(PhoneBookText::closeDuringTransfer(job->isImport()),
                   MsgBoxStyle::YesNo + MsgBoxStyle::Question) == MsgBoxResult::Yes)
            job->cancel([this] { close(); });
        return;
    }
    // Each child window closes first, made active so that a Save it asks for saves it;
    // the first one that calls its closing off keeps the main window open.
    for (QMdiSubWindow *child : mdiArea_->subWindowList()) {
        mdiArea_->setActiveSubWindow(child);
        if (!child->close()) {
            event->ignore();
            return;
        }
    }
    MDIForm_Unload();
    event->accept();
}

QMdiSubWindow *frmMain::addChildWindow(QWidget *child) {
    QMdiSubWindow *window = mdiArea_->addSubWindow(child);
    window->setAttribute(Qt::WA_DeleteOnClose);
    // Ctrl+F4 belongs to the main window, for every kind of child window; the child's
    // own Close keeps its other keys. Both holding it, the key would do nothing at all.
    const QKeySequence closeKey(Qt::CTRL | Qt::Key_F4);
    for (QAction *action : window->systemMenu()->actions()) {
        QList<QKeySequence> keys = action->shortcuts();
        if (keys.removeAll(closeKey) > 0)
            action->setShortcuts(keys);
    }
    window->show();
    mdiArea_->setActiveSubWindow(window);
    return window;
}

QWidget *frmMain::activeChild() const {
    QMdiSubWindow *current = mdiArea_->currentSubWindow();
    return current ? current->widget() : nullptr;
}

void frmMain::switchDocumentCommands(bool on) {
    tbToolBar->setEnabled(on);
    tbToolBar->setVisible(on);
    mnuFileSave->setEnabled(on);
    mnuFileSaveAs->setEnabled(on);
    mnuFileClose->setEnabled(on);
    mnuEdit->menuAction()->setEnabled(on);
    // The shortcuts of the Edit items and the toolbar's buttons follow them.
    for (QAction *item : mnuEdit->actions())
        item->setEnabled(on);
    for (QAction *button : tbToolBar->actions())
        button->setEnabled(on);
}

void frmMain::mnuFileNewDiaryEntry_Click(short) {
    LoadNewDoc();
}

void frmMain::mnuViewToolbar_Click() {
    mnuViewToolbar->setChecked(!mnuViewToolbar->isChecked());
    tbToolBar->setVisible(mnuViewToolbar->isChecked());
}

void frmMain::mnuViewStatusBar_Click() {
    mnuViewStatusBar->setChecked(!mnuViewStatusBar->isChecked());
    sbStatusBar->setVisible(mnuViewStatusBar->isChecked());
}

void frmMain::mnuViewRefresh_Click() {
    MsgBox(ShellText::refreshPlaceholder());
}

void frmMain::mnuWindowNewWindow_Click() {
    LoadNewDoc();
}
void frmMain::mnuWindowCascade_Click() {
    arrangeSubWindows(*mdiArea_, Arrangement::Cascade);
}
void frmMain::mnuWindowTileHorizontal_Click() {
    arrangeSubWindows(*mdiArea_, Arrangement::TileHorizontal);
}
void frmMain::mnuWindowTileVertical_Click() {
    arrangeSubWindows(*mdiArea_, Arrangement::TileVertical);
}
void frmMain::mnuWindowArrangeIcons_Click() {
    arrangeSubWindows(*mdiArea_, Arrangement::ArrangeIcons);
}

void frmMain::rebuildWindowList() {
    for (QAction *entry : windowListActions_) {
        mnuWindow->removeAction(entry);
        delete entry;
    }
    windowListActions_.clear();
    const QList<QMdiSubWindow *> children = mdiArea_->subWindowList();
    if (children.isEmpty())
        return;
    windowListActions_ << mnuWindow->addSeparator();
    QMdiSubWindow *current = mdiArea_->currentSubWindow();
    for (int i = 0; i < children.size(); ++i) {
        QMdiSubWindow *child = children[i];
        QString title = child->windowTitle();
        title.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction *entry = mnuWindow->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(title));
        entry->setObjectName(QStringLiteral("mnuWindowList(%1)").arg(i + 1));
        entry->setCheckable(true);
        entry->setChecked(child == current);
        connect(entry, &QAction::triggered, this, [this, child] {
            if (mdiArea_->subWindowList().contains(child)) {
                if (child->isMinimized())
                    child->showNormal();
                mdiArea_->setActiveSubWindow(child);
            }
        });
        windowListActions_ << entry;
    }
}

void frmMain::showHelp(int command) {
    if (helpFile_.isEmpty()) {
        MsgBox(ShellText::noHelp(), MsgBoxStyle::OkOnly + MsgBoxStyle::Information, windowTitle());
        return;
    }
    runReportingErrors([&] { platform().showHelp(this, helpFile_, command, 0); });
}

void frmMain::mnuHelpContents_Click() {
    constexpr int helpContents = 3;
    showHelp(helpContents);
}

void frmMain::mnuHelpSearchForHelpOn_Click() {
    constexpr int helpPartialKey = 0x105;
    showHelp(helpPartialKey);
}
