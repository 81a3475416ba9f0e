// The menu bar of the main window, built from one table in menu order.
#include "shell/frmmain.h"

#include "platform/errorhandling.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace {

enum ItemFlag { Plain = 0, Checked = 1, Hidden = 2 };

struct MenuItem {
    int level;
    const char *name;
    const char *caption;
    const char *shortcut; // more than one are separated by "|"; the first is shown
    int flags;
    void (*handler)(frmMain &);
};

// clang-format off
const MenuItem menuTable[] = {
    {1, "mnuFile", "&File", "", Plain, nullptr},
    {2, "mnuFileNew", "&New", "", Plain, nullptr},
    {3, "mnuFileNewDiaryEntry(1)", "&Diary Entry", "Ctrl+F5", Plain, [](frmMain &w) { w.mnuFileNewDiaryEntry_Click(1); }},
    {2, "mnuFileOpen", "&Open...", "", Plain, nullptr},
    {3, "mnuFileOpenDiaryEntry(1)", "&Diary Entry", "Ctrl+F3", Plain, [](frmMain &w) { w.mnuFileOpenDiaryEntry_Click(1); }},
    {2, "mnuFileClose", "&Close", "", Plain, [](frmMain &w) { w.mnuFileClose_Click(); }},
    {2, "mnuFileBar0", "-", "", Plain, nullptr},
    {2, "mnuFileSave", "&Save", "F2", Plain, [](frmMain &w) { w.mnuFileSave_Click(); }},
    {2, "mnuFileSaveAs", "Save &As...", "", Plain, [](frmMain &w) { w.mnuFileSaveAs_Click(); }},
    {2, "mnuFileBar1", "-", "", Plain, nullptr},
    {2, "mnuFileProperties", "Propert&ies", "", Plain, [](frmMain &w) { w.mnuFileProperties_Click(); }},
    {2, "mnuFileBar2", "-", "", Plain, nullptr},
    {2, "mnuFilePageSetup", "Page Set&up...", "", Plain, [](frmMain &w) { w.mnuFilePageSetup_Click(); }},
    {2, "mnuFilePrint", "&Print...", "", Plain, [](frmMain &w) { w.mnuFilePrint_Click(); }},
    {2, "mnuFileBar4", "-", "", Plain, nullptr},
    {2, "mnuFileMRU(1)", "", "", Hidden, nullptr},
    {2, "mnuFileMRU(2)", "", "", Hidden, nullptr},
    {2, "mnuFileMRU(3)", "", "", Hidden, nullptr},
    {2, "mnuFileBar5", "-", "", Hidden, nullptr},
    {2, "mnuFileExit", "E&xit", "F12", Plain, [](frmMain &w) { w.mnuFileExit_Click(); }},
    {1, "mnuEdit", "&Edit", "", Plain, nullptr},
    {2, "mnuEditUndo", "&Undo", "", Plain, [](frmMain &w) { w.mnuEditUndo_Click(); }},
    {2, "mnuEditBar0", "-", "", Plain, nullptr},
    {2, "mnuEditCut", "Cu&t", "Ctrl+X|Shift+Del", Plain, [](frmMain &w) { w.mnuEditCut_Click(); }},
    {2, "mnuEditCopy", "&Copy", "Ctrl+C|Ctrl+Ins", Plain, [](frmMain &w) { w.mnuEditCopy_Click(); }},
    {2, "mnuEditPaste", "&Paste", "Ctrl+V|Shift+Ins", Plain, [](frmMain &w) { w.mnuEditPaste_Click(); }},
    {1, "mnuView", "&View", "", Plain, nullptr},
    {2, "mnuViewToolbar", "&Toolbar", "", Checked, [](frmMain &w) { w.mnuViewToolbar_Click(); }},
    {2, "mnuViewStatusBar", "Status &Bar", "", Checked, [](frmMain &w) { w.mnuViewStatusBar_Click(); }},
    {2, "mnuViewBar0", "-", "", Plain, nullptr},
    {2, "mnuViewRefresh", "&Refresh", "", Plain, [](frmMain &w) { w.mnuViewRefresh_Click(); }},
    {2, "mnuViewOptions", "&Options...", "", Plain, [](frmMain &w) { w.mnuViewOptions_Click(); }},
    {2, "mnuViewWebBrowser", "&Web Browser", "", Plain, [](frmMain &w) { w.mnuViewWebBrowser_Click(); }},
    {2, "mnuViewTips", "&Tips", "", Plain, [](frmMain &w) { w.mnuViewTips_Click(); }},
    {1, "mnudata", "&Run", "", Plain, nullptr},
    {2, "mnuDataPhoneBook", "&PhoneBook", "", Plain, [](frmMain &w) { w.mnuDataPhoneBook_Click(); }},
    {2, "mnudatamsdos", "&MS-DOS Command line", "", Plain, [](frmMain &w) { w.mnudatamsdos_Click(); }},
    {2, "mnuRunWebBrowser(3)", "&Web Browser", "", Plain, [](frmMain &w) { w.mnuRunWebBrowser_Click(3); }},
    {1, "mnuWindow", "&Window", "", Plain, nullptr},
    {2, "mnuWindowNewWindow", "&New Window", "", Plain, [](frmMain &w) { w.mnuWindowNewWindow_Click(); }},
    {2, "mnuWindowBar0", "-", "", Plain, nullptr},
    {2, "mnuWindowCascade", "&Cascade", "", Plain, [](frmMain &w) { w.mnuWindowCascade_Click(); }},
    {2, "mnuWindowTileHorizontal", "Tile &Horizontal", "", Plain, [](frmMain &w) { w.mnuWindowTileHorizontal_Click(); }},
    {2, "mnuWindowTileVertical", "Tile &Vertical", "", Plain, [](frmMain &w) { w.mnuWindowTileVertical_Click(); }},
    {2, "mnuWindowArrangeIcons", "&Arrange Icons", "", Plain, [](frmMain &w) { w.mnuWindowArrangeIcons_Click(); }},
    {1, "mnuTools", "&Tools", "", Plain, nullptr},
    {2, "mnuToolsOptions", "&Options...", "", Plain, [](frmMain &w) { w.mnuToolsOptions_Click(); }},
    {2, "mnuToolsBar0", "-", "", Plain, nullptr},
    {2, "mnuToolsFindInDiary", "&Find in Diary...", "Ctrl+Shift+F", Plain, [](frmMain &w) { w.mnuToolsFindInDiary_Click(); }},
    {2, "mnuToolsDiaryCalendar", "Diary &Calendar...", "Ctrl+Shift+D", Plain, [](frmMain &w) { w.mnuToolsDiaryCalendar_Click(); }},
    {2, "mnuToolsBar1", "-", "", Plain, nullptr},
    {2, "mnuToolsImportContacts", "&Import Contacts...", "", Plain, [](frmMain &w) { w.mnuToolsImportContacts_Click(); }},
    {2, "mnuToolsExportContacts", "&Export Contacts...", "", Plain, [](frmMain &w) { w.mnuToolsExportContacts_Click(); }},
    {1, "mnuHelp", "&Help", "", Plain, nullptr},
    {2, "mnuHelpContents", "&Contents", "", Plain, [](frmMain &w) { w.mnuHelpContents_Click(); }},
    {2, "mnuHelpSearchForHelpOn", "&Search For Help On...", "", Plain, [](frmMain &w) { w.mnuHelpSearchForHelpOn_Click(); }},
    {2, "mnuHelpBar0", "-", "", Plain, nullptr},
    {2, "mnuHelpAbout", "&About ", "", Plain, [](frmMain &w) { w.mnuHelpAbout_Click(); }},
};
// clang-format on

bool opensSubMenu(const MenuItem *item, const MenuItem *end) {
    return item + 1 != end && (item + 1)->level > item->level;
}

} // namespace

void frmMain::buildMenus() {
    // The open menu at each level: [0] is the menu bar, reached through menuBar().
    QMenu *open[4] = {nullptr, nullptr, nullptr, nullptr};
    const MenuItem *end = std::end(menuTable);
    for (const MenuItem *item = std::begin(menuTable); item != end; ++item) {
        const QString name = QString::fromLatin1(item->name);
        const QString caption = QString::fromLatin1(item->caption);
        QAction *action = nullptr;
        if (opensSubMenu(item, end)) {
            QMenu *menu = item->level == 1 ? menuBar()->addMenu(caption)
                                           : open[item->level - 1]->addMenu(caption);
            menu->setObjectName(name);
            open[item->level] = menu;
            action = menu->menuAction();
        } else if (caption == QLatin1String("-")) {
            action = open[item->level - 1]->addSeparator();
        } else {
            action = open[item->level - 1]->addAction(caption);
        }
        action->setObjectName(name);
        if (*item->shortcut) {
            QList<QKeySequence> keys;
            for (const QString &key : QString::fromLatin1(item->shortcut).split(QLatin1Char('|')))
                keys << QKeySequence(key);
            action->setShortcuts(keys);
            action->setShortcutContext(Qt::WindowShortcut);
        }
        if (item->flags & Checked) {
            action->setCheckable(true);
            action->setChecked(true);
        }
        if (item->flags & Hidden)
            action->setVisible(false);
        if (item->handler) {
            const auto handler = item->handler;
            connect(action, &QAction::triggered, this, [this, action, handler] {
                // A check mark changes only through its handler.
                if (action->isCheckable())
                    action->setChecked(!action->isChecked());
                // A handler's own failure is told here, never left to cross the event loop.
                runReportingErrors([&] { handler(*this); });
            });
        }
    }
    mnuFileSave = findChild<QAction *>(QStringLiteral("mnuFileSave"));
    mnuFileSaveAs = findChild<QAction *>(QStringLiteral("mnuFileSaveAs"));
    mnuFileClose = findChild<QAction *>(QStringLiteral("mnuFileClose"));
    mnuEdit = findChild<QMenu *>(QStringLiteral("mnuEdit"));
    mnuWindow = findChild<QMenu *>(QStringLiteral("mnuWindow"));
    mnuViewToolbar = findChild<QAction *>(QStringLiteral("mnuViewToolbar"));
    mnuViewStatusBar = findChild<QAction *>(QStringLiteral("mnuViewStatusBar"));
    connect(mnuWindow, &QMenu::aboutToShow, this, &frmMain::rebuildWindowList);
}
