#pragma once

#include "browser/browserhost.h"
#include "diary/diarycommands.h"
#include "diary/diaryhost.h"
#include "platform/commondialog.h"
#include "platform/platform.h"

#include <QMainWindow>
#include <array>
#include <type_traits>

class QAction;
class QComboBox;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QSessionManager;
class QTimer;
class QToolBar;
class ImageList;
class RtfTextBox;
class frmAbout;
class frmDocument;
class frmFind;
class SearchTerms;
class frmMSDOS;
class frmProperties;
class frmTip;
class StatusBar;

// The main window: the multiple-document parent of every diary, phone book and browser
// window, with the menu bar, the toolbar, the status bar and the commands they carry.
class frmMain : public QMainWindow, public DiaryHost, public BrowserHost {
    Q_OBJECT
public:
    frmMain();
    ~frmMain() override;

    // A new, empty diary window titled with today's date.
    void LoadNewDoc();

    // Opens each file in a diary window of its own, as File > Open does, with its
    // questions and refusals: the files named on the command line.
    void openDiaryFiles(const QStringList &paths);

    // Shows a window of any kind (diary, phone book, browser) as a child window that
    // closes for good, and makes it the active one.
    QMdiSubWindow *addChildWindow(QWidget *child) override;

    // An accessory window (frmTip, frmProperties, frmMSDOS, frmAbout) once it was made.
    template <typename Window> Window *accessoryWindow() const {
        if constexpr (std::is_same_v<Window, frmTip>)
            return tipWindow_;
        else if constexpr (std::is_same_v<Window, frmProperties>)
            return optionsWindow_;
        else if constexpr (std::is_same_v<Window, frmMSDOS>)
            return runnerWindow_;
        else
            return aboutWindow_;
    }

    // The child window the File, Edit and toolbar commands act on; nullptr when none.
    QWidget *activeChild() const;
    QMdiArea *mdiArea() const override { return mdiArea_; }

    // File
    void mnuFileNewDiaryEntry_Click(short index);
    void mnuFileOpenDiaryEntry_Click(short index);
    void mnuFileClose_Click();
    void mnuFileSave_Click();
    bool saveActiveEntry() override;
    void mnuFileSaveAs_Click();
    void mnuFileProperties_Click();
    void mnuFilePageSetup_Click();
    void mnuFilePrint_Click();
    void mnuFileExit_Click();
    // Edit
    void mnuEditUndo_Click();
    void mnuEditCut_Click();
    void mnuEditCopy_Click();
    void mnuEditPaste_Click();
    // View
    void mnuViewToolbar_Click();
    void mnuViewStatusBar_Click();
    void mnuViewRefresh_Click();
    void mnuViewOptions_Click();
    void mnuViewWebBrowser_Click();
    void mnuViewTips_Click();
    // Run
    void mnuDataPhoneBook_Click();
    void mnudatamsdos_Click();
    void mnuRunWebBrowser_Click(short index);
    // Window
    void mnuWindowNewWindow_Click();
    void mnuWindowCascade_Click();
    void mnuWindowTileHorizontal_Click();
    void mnuWindowTileVertical_Click();
    void mnuWindowArrangeIcons_Click();
    // Tools, Help
    void mnuToolsOptions_Click();
    void mnuToolsFindInDiary_Click();
    void mnuToolsDiaryCalendar_Click();
    void mnuToolsImportContacts_Click();
    void mnuToolsExportContacts_Click();
    void mnuHelpContents_Click();
    void mnuHelpSearchForHelpOn_Click();
    void mnuHelpAbout_Click();

    void tbToolBar_ButtonClick(QAction *Button);
    void Timer1_Timer();

    // DiaryHost
    void switchDocumentCommands(bool on) override;
    bool otherDiaryWindowsOpen(const frmDocument &document) const override;
    Recovery &recovery() override { return diary_.recovery(); }
    CommonDialog &commonDialog() override { return dlgCommonDialog; }
    void showCharacterFormat(CharacterFormat format, bool on) override;
    void showAlignment(std::optional<Alignment> alignment) override;

    // BrowserHost
    frmBrowser *openBrowserWindow(const QString &startingAddress) override;

    // The session is ending (log off, shut down): the closing steps run as when the main
    // window closes, but the windows stay, in case the session goes on after all.
    void commitData(QSessionManager &manager);

    // The controls other code addresses by name.
    QToolBar *tbToolBar = nullptr;
    StatusBar *sbStatusBar = nullptr;
    QComboBox *Combo1 = nullptr;
    QTimer *Timer1 = nullptr;
    ImageList *imlToolbarIcons = nullptr;
    CommonDialog dlgCommonDialog;
    QAction *mnuFileSave = nullptr;
    QAction *mnuFileSaveAs = nullptr;
    QAction *mnuFileClose = nullptr;
    QMenu *mnuEdit = nullptr;
    QMenu *mnuWindow = nullptr;
    QAction *mnuViewToolbar = nullptr;
    QAction *mnuViewStatusBar = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void MDIForm_Load();
    void MDIForm_Unload();
    void buildMenus();
    void buildToolbar();
    void rebuildWindowList();
    void showHelp(int command);
    void storeBounds();
    frmDocument *activeDiary() const;
    // Offers each diary window whose text changed, and each phone book window with a
    // record being added or edited, for saving; false when the user cancelled, or a Yes
    // did not save.
    bool offerToSaveChanges();
    // Opens the diary entry at `path` (or brings forward the window that has it open)
    // with the search's words selected.
    void showFoundEntry(const QString &path, const SearchTerms &terms);
    // Opens a calendar day: its entry when there is one, else a new entry for that day.
    void openDiaryDay(const QDate &day, const QString &entryPath);
    // The diary window that has the entry at `path` open, brought forward; or none.
    frmDocument *bringForwardEntry(const QString &path);
    // The open child window of a kind that has one window at most.
    template <typename Window> Window *openChild() const;
    // The calendar's birthdays follow a Refresh of a phone book window.
    void refreshCalendarBirthdays();

    // The diary commands and the recovery copies, first made and last gone.
    DiaryCommands diary_{*this};
    QMdiArea *mdiArea_ = nullptr;
    std::array<QAction *, 3> characterButtons_{};
    std::array<QAction *, 3> alignmentButtons_{};
    QList<QAction *> windowListActions_;
    // The application's help file; nothing names one.
    QString helpFile_;
    // The accessory windows, each made when first shown. The tip, options and runner
    // windows are top-level windows of their own: one that is open keeps the program
    // running after the main window closed. The modal About box belongs to the main window.
    void keepOpenAccessoriesAfterMe();
    frmTip *tipWindow_ = nullptr;
    frmProperties *optionsWindow_ = nullptr;
    frmMSDOS *runnerWindow_ = nullptr;
    frmAbout *aboutWindow_ = nullptr;
};
