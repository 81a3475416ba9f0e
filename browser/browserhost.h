#pragma once

#include <QString>

class frmBrowser;

// What a browser window needs of the main window that holds it: a new browser window
// beside it, for a page that opens one.
class BrowserHost {
public:
    virtual ~BrowserHost() = default;

    // Opens a new browser window that goes to `startingAddress` (none when empty) and
    // returns it.
    virtual frmBrowser *openBrowserWindow(const QString &startingAddress) = 0;
};
