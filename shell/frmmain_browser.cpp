// The main window's commands that open a web browser window.
#include "browser/browserpages.h"
#include "browser/frmbrowser.h"
#include "platform/errorhandling.h"
#include "shell/frmmain.h"

#include <QMdiSubWindow>

void frmMain::mnuViewWebBrowser_Click() {
    // A new window each time; the main window keeps no hold on it. A browser that
    // cannot start is told, and nothing else changes.
    runReportingErrors([&] { openBrowserWindow(browserStartPage()); });
}

void frmMain::mnuRunWebBrowser_Click(short) {
    mnuViewWebBrowser_Click();
}

frmBrowser *frmMain::openBrowserWindow(const QString &startingAddress) {
    auto *window = new frmBrowser(*this);
    window->StartingAddress = startingAddress;
    addChildWindow(window)->showMaximized();
    return window;
}
