#pragma once

#include "browser/brwwebbrowser.h"

#include <QUrl>
#include <QWebEnginePage>

class QWebEngineDownloadRequest;
class QWebEngineView;

// The web browser component on Qt WebEngine: one view filling the component, the
// component's history, its own home and search pages, downloads and new windows
// passed to the window that holds it.
class WebEngineBrowser : public brwWebBrowser {
public:
    WebEngineBrowser(QWidget *parent, brwWebBrowserEvents &events, const BrowserPages &pages);

    void Navigate(const QString &URL) override;
    void GoBack() override;
    void GoForward() override;
    void GoHome() override;
    void GoSearch() override;
    void Refresh() override;
    void Stop() override;
    QString LocationName() const override;
    QString LocationURL() const override;
    bool Busy() const override;

    QWebEnginePage *page() const;
    brwWebBrowserEvents &events() const { return events_; }

    // Offers a download that a page of any component started to the window of that page.
    static void offerDownload(QWebEngineDownloadRequest *download);

private:
    void loadFinished();
    void rendererEnded(QWebEnginePage::RenderProcessTerminationStatus status, int exitCode);

    brwWebBrowserEvents &events_;
    BrowserPages pages_;
    QWebEngineView *view_;
    bool busy_ = false;
    // The address of a page whose renderer ended, while its error shows.
    QUrl crashedAt_;
    // Text given to Navigate that is no address, while the page that says so is shown.
    QString notAnAddress_;
};
