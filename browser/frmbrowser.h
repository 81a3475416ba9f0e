#pragma once

#include "browser/brwwebbrowser.h"

#include <QElapsedTimer>
#include <QList>
#include <QString>
#include <QWidget>

class BrowserHost;
class ImageList;
class QAction;
class QComboBox;
class QLabel;
class QTimer;
class QToolBar;

// A web browser window: a toolbar of six navigation buttons, an address strip with an
// editable list of the addresses visited in this window (most recent first), and the
// browser component that loads and shows the pages. Its caption is the page's title,
// or "Working..." while a page loads.
class frmBrowser : public QWidget, public brwWebBrowserEvents {
    Q_OBJECT
public:
    // Raises a run-time error when the browser component cannot be made.
    explicit frmBrowser(BrowserHost &host, QWidget *parent = nullptr);
    ~frmBrowser() override;

    // Where the window goes first; set by the opener before the window is shown.
    QString StartingAddress;

    // The controls, by their names.
    QToolBar *tbToolBar = nullptr;
    QWidget *picAddress = nullptr;
    QLabel *lblAddress = nullptr;
    QComboBox *cboAddress = nullptr;
    ::brwWebBrowser *brwWebBrowser = nullptr;
    QTimer *timTimer = nullptr;
    ImageList *imlToolbarIcons = nullptr;

    // The handlers.
    void Form_Load();
    void Form_Resize();
    void cboAddress_Click();
    void cboAddress_KeyPress(short KeyAscii);
    void timTimer_Timer();
    void tbToolBar_ButtonClick(QAction *Button);

    // brwWebBrowserEvents
    void brwWebBrowser_DownloadBegin() override;
    void brwWebBrowser_DownloadComplete() override;
    void brwWebBrowser_NavigateComplete2(QObject *pDisp, const QString &URL) override;
    ::brwWebBrowser *brwWebBrowser_NewWindow() override;
    QString brwWebBrowser_ChooseDownloadFile(const QString &suggestedName) override;
    void brwWebBrowser_DownloadFailed(const QString &description) override;

protected:
    bool event(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    static QString downloadName(const QString &suggestedName);
    void buildToolbar();
    void buildAddressStrip();
    void addKeys();
    void pressButton(const QString &key);

    BrowserHost &host_;
    // When this window's page last opened windows, for the few it may open at once.
    QElapsedTimer windowClock_;
    QList<qint64> windowsOpenedAt_;
    bool UpdatingAddressList = false;
    bool loaded_ = false;
};
