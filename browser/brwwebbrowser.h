#pragma once

#include <QString>
#include <QWidget>

class QObject;

// What a web browser component tells the window that holds it. The component calls
// these on the window's thread, from its own event handlers.
class brwWebBrowserEvents {
public:
    virtual ~brwWebBrowserEvents() = default;

    // A page began loading, whoever asked for it: the window, a link or the page itself.
    virtual void brwWebBrowser_DownloadBegin() = 0;
    // A page finished loading (or failed to load).
    virtual void brwWebBrowser_DownloadComplete() = 0;
    // A navigation finished: `pDisp` is the component, `URL` the address it reached.
    virtual void brwWebBrowser_NavigateComplete2(QObject *pDisp, const QString &URL) = 0;

    // A page asked for a new window (a link with a target, a script). Returns the
    // component of a new browser window that the page is to fill, or nullptr to refuse.
    virtual class brwWebBrowser *brwWebBrowser_NewWindow() = 0;
    // A page offers a file: returns where to save it, or an empty text to refuse it.
    virtual QString brwWebBrowser_ChooseDownloadFile(const QString &suggestedName) = 0;
    // A download or the page's renderer failed; `description` says what went wrong.
    virtual void brwWebBrowser_DownloadFailed(const QString &description) = 0;
};

// The addresses a component goes to for its own Home and Search.
struct BrowserPages {
    QString home;
    QString search;
};

// The embedded web browser: loads and renders pages, keeps its own history. The window
// only calls these operations; the engine behind them lives in a module of its own
// that is loaded when the first browser window opens.
class brwWebBrowser : public QWidget {
public:
    using QWidget::QWidget;
    ~brwWebBrowser() override = default;

    // Starts loading an address, given as typed.
    virtual void Navigate(const QString &URL) = 0;
    virtual void GoBack() = 0;
    virtual void GoForward() = 0;
    virtual void GoHome() = 0;
    virtual void GoSearch() = 0;
    virtual void Refresh() = 0;
    virtual void Stop() = 0;

    // The title of the current page.
    virtual QString LocationName() const = 0;
    // The address of the current page.
    virtual QString LocationURL() const = 0;
    // True while a page is loading: from the engine's start of a load to its end.
    virtual bool Busy() const = 0;
};

// The entry point the browser module exports under the name below.
using CreateWebBrowserFunction = brwWebBrowser *(*)(QWidget *parent, brwWebBrowserEvents *events,
                                                    const BrowserPages *pages);
inline constexpr const char createWebBrowserSymbol[] = "orvanelCreateWebBrowser";
