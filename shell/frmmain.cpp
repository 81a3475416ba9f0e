#include "shell/frmmain.h"

#include "platform/errorhandling.h"
#include "platform/messagebox.h"
#include "platform/platform.h"
#include "platform/settings.h"
#include "platform/units.h"
#include "shell/imagelist.h"
#include "shell/statusbar.h"
#include "shell/windowarrangement.h"

#include <QAction>
#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
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
    setWindowIcon(QIcon(QStringLiteral(":/icons/orvanel.xpm")));
    mdiArea_ = new QMdiArea(this);
    mdiArea_->setObjectName(QStringLiteral("mdiArea"));
    mdiArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdiArea_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(mdiArea_);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(startupTimerMilliseconds);
    connect(Timer1, &QTimer::timeout, this, &frmMain::Timer1_Timer);

    buildMenus();
    buildToolbar();
    sbStatusBar = new StatusBar(this);
    setStatusBar(sbStatusBar);

    MDIForm_Load();
    Timer1->start();
}

frmMain::~frmMain() = default;

void frmMain::MDIForm_Load() {
    // Each bound is read just before it is applied, in this order. The position is the
    // window's outer corner and the size its inside, as the window system reports them
    // the same way whatever frame it draws: stored bounds come back where they were.
    move(twipsToPixelsX(readBound(mainLeft)), y());
    move(x(), twipsToPixelsY(readBound(mainTop)));
    resize(twipsToPixelsX(readBound(mainWidth)), height());
    resize(width(), twipsToPixelsY(readBound(mainHeight)));
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

void frmMain::closeEvent(QCloseEvent *event) {
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

QWidget *frmMain::activeChild() const {
    QMdiSubWindow *current = mdiArea_->currentSubWindow();
    return current ? current->widget() : nullptr;
}

void frmMain::switchDocumentCommands(bool on) {
    if (on) {
        tbToolBar->setEnabled(true);
        tbToolBar->setVisible(true);
        tbToolBar->setEnabled(true);
        mnuFileSave->setEnabled(true);
        mnuFileSaveAs->setEnabled(true);
        mnuFileClose->setEnabled(true);
        mnuEdit->menuAction()->setEnabled(true);
    } else {
        tbToolBar->setEnabled(false);
        mnuFileSave->setEnabled(false);
        mnuFileSaveAs->setEnabled(false);
        mnuFileClose->setEnabled(false);
        tbToolBar->setVisible(false);
        mnuEdit->menuAction()->setEnabled(false);
    }
    // The Edit items' shortcuts follow their menu.
    for (QAction *item : mnuEdit->actions())
        item->setEnabled(on);
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
    MsgBox(QStringLiteral("Add 'mnuViewRefresh_Click' code."));
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
        MsgBox(QStringLiteral("Unable to display Help Contents. There is no Help associated with "
                              "this project."),
               MsgBoxStyle::OkOnly + MsgBoxStyle::Information, windowTitle());
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

void frmMain::Timer1_Timer() {
    Timer1->stop();
}
