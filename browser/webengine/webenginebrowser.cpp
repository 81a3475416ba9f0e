#include "browser/webengine/webenginebrowser.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QUrl>
#include <QVBoxLayout>
#include <QWebEngineDownloadRequest>
#include <QWebEngineHistory>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>
#include <unistd.h>
#include <utility>

namespace {

class BrowserPage;
// Every page of every component, for the end of the program.
QSet<BrowserPage *> livePages;

// The page of a component: a page that opens a window gets a new browser window of the
// program, whose component then loads what the page asked for.
class BrowserPage : public QWebEnginePage {
public:
    BrowserPage(QWebEngineProfile *profile, WebEngineBrowser &owner)
        : QWebEnginePage(profile, &owner), owner_(owner) {
        livePages.insert(this);
        // A script opens a window only in answer to the user's own click or key: the
        // engine refuses the others quietly, as its pop-up blocker does.
        settings()->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    }
    ~BrowserPage() override { livePages.remove(this); }

    WebEngineBrowser &owner() const { return owner_; }

protected:
    QWebEnginePage *createWindow(WebWindowType) override {
        brwWebBrowser *opened = owner_.events().brwWebBrowser_NewWindow();
        // Every component comes from this module, so the new one is ours.
        return opened ? static_cast<WebEngineBrowser *>(opened)->page() : nullptr;
    }

private:
    WebEngineBrowser &owner_;
};

WebEngineBrowser *componentOf(QWebEnginePage *page) {
    auto *ours = dynamic_cast<BrowserPage *>(page);
    return ours ? &ours->owner() : nullptr;
}

QString rendererEndText(QWebEnginePage::RenderProcessTerminationStatus status, int exitCode) {
    switch (status) {
    case QWebEnginePage::CrashedTerminationStatus:
        return QStringLiteral("The page crashed (exit code %1).").arg(exitCode);
    case QWebEnginePage::KilledTerminationStatus:
        return QStringLiteral("The page was stopped by the system (exit code %1).").arg(exitCode);
    default:
        return QStringLiteral("The page ended unexpectedly (exit code %1).").arg(exitCode);
    }
}

} // namespace

WebEngineBrowser::WebEngineBrowser(QWidget *parent, brwWebBrowserEvents &events,
                                   const BrowserPages &pages)
    : brwWebBrowser(parent), events_(events), pages_(pages), view_(new QWebEngineView(this)) {
    // The engine's own profile keeps nothing on disk: no history, cookies or cache of
    // the user's browsing outlive the run.
    QWebEngineProfile *profile = QWebEngineProfile::defaultProfile();
    static const bool downloadsOffered = [profile] {
        QObject::connect(profile, &QWebEngineProfile::downloadRequested,
                         &WebEngineBrowser::offerDownload);
        return true;
    }();
    Q_UNUSED(downloadsOffered);

    auto *page = new BrowserPage(profile, *this);
    view_->setPage(page);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_);
    setFocusProxy(view_);

    connect(page, &QWebEnginePage::loadStarted, this, [this] {
        busy_ = true;
        events_.brwWebBrowser_DownloadBegin();
    });
    connect(page, &QWebEnginePage::loadFinished, this, [this] { loadFinished(); });
    connect(page, &QWebEnginePage::renderProcessTerminated, this,
            [this](QWebEnginePage::RenderProcessTerminationStatus status, int exitCode) {
                rendererEnded(status, exitCode);
            });
}

QWebEnginePage *WebEngineBrowser::page() const {
    return view_->page();
}

void WebEngineBrowser::Navigate(const QString &URL) {
    // An address typed without a scheme ("example.org") is taken as a web address.
    const QUrl address = QUrl::fromUserInput(URL);
    crashedAt_.clear();
    notAnAddress_.clear();
    if (!address.isEmpty()) {
        view_->load(address);
        return;
    }
    // Text that is no address ("hello world") gets a page that says so, as an address
    // that cannot be reached gets the engine's; the window lists it as it was typed.
    if (URL.trimmed().isEmpty())
        return;
    notAnAddress_ = URL;
    view_->setHtml(
        QStringLiteral("<html><head><title>%1</title></head><body><h1>%1 is not a web "
                       "address</h1><p>Type an address such as example.org.</p></body></html>")
            .arg(URL.toHtmlEscaped()));
}

void WebEngineBrowser::GoBack() {
    if (view_->history()->canGoBack()) {
        crashedAt_.clear();
        notAnAddress_.clear();
        view_->back();
    }
}

void WebEngineBrowser::GoForward() {
    if (view_->history()->canGoForward()) {
        crashedAt_.clear();
        notAnAddress_.clear();
        view_->forward();
    }
}
void WebEngineBrowser::GoHome() {
    Navigate(pages_.home);
}
void WebEngineBrowser::GoSearch() {
    Navigate(pages_.search);
}
void WebEngineBrowser::Refresh() {
    if (crashedAt_.isEmpty()) {
        // A window that shows no page has none to load again.
        if (!view_->url().isEmpty())
            view_->reload();
        return;
    }
    const QUrl address = std::exchange(crashedAt_, {});
    view_->load(address);
}

void WebEngineBrowser::Stop() {
    view_->stop();
    busy_ = false;
}

QString WebEngineBrowser::LocationName() const {
    return view_->title();
}
QString WebEngineBrowser::LocationURL() const {
    if (!notAnAddress_.isEmpty())
        return notAnAddress_;
    return (crashedAt_.isEmpty() ? view_->url() : crashedAt_).toString();
}
bool WebEngineBrowser::Busy() const {
    return busy_;
}

void WebEngineBrowser::loadFinished() {
    busy_ = false;
    events_.brwWebBrowser_NavigateComplete2(this, LocationURL());
    events_.brwWebBrowser_DownloadComplete();
}

void WebEngineBrowser::rendererEnded(QWebEnginePage::RenderProcessTerminationStatus status,
                                     int exitCode) {
    busy_ = false;
    if (status == QWebEnginePage::NormalTerminationStatus)
        return;
    // The page is gone; the window says so in its place, and still reports the page's
    // address until the user goes elsewhere. Refresh loads the page again.
    crashedAt_ = view_->url();
    notAnAddress_.clear();
    const QString text = rendererEndText(status, exitCode);
    view_->setHtml(QStringLiteral("<html><head><title>%1</title></head><body><h1>%1</h1>"
                                  "<p>Press Refresh to load the page again.</p></body></html>")
                       .arg(text.toHtmlEscaped()));
}

void WebEngineBrowser::offerDownload(QWebEngineDownloadRequest *download) {
    // The engine asks again for a download it resumes after a broken connection: the
    // user's first answer stands, and the user is asked once.
    static QHash<quint32, QString> answered;
    WebEngineBrowser *component = componentOf(download->page());
    if (!component) {
        download->cancel();
        return;
    }
    const bool resumed = answered.contains(download->id());
    const QString path =
        resumed
            ? answered.value(download->id())
            : component->events_.brwWebBrowser_ChooseDownloadFile(download->suggestedFileName());
    answered.insert(download->id(), path);
    if (path.isEmpty()) {
        download->cancel();
        return;
    }
    const QFileInfo target(path);
    download->setDownloadDirectory(target.absolutePath());
    download->setDownloadFileName(target.fileName());
    QObject::connect(
        download, &QWebEngineDownloadRequest::stateChanged, component,
        [component, download, path](QWebEngineDownloadRequest::DownloadState state) {
            if (state == QWebEngineDownloadRequest::DownloadInterrupted)
                component->events_.brwWebBrowser_DownloadFailed(
                    QStringLiteral("The file %1 could not be downloaded: %2")
                        .arg(QDir::toNativeSeparators(path), download->interruptReasonString()));
        });
    download->accept();
}

// The module's entry point: a new component.
extern "C" Q_DECL_EXPORT brwWebBrowser *
orvanelCreateWebBrowser(QWidget *parent, brwWebBrowserEvents *events, const BrowserPages *pages) {
    // Run as root (in a container, or on a build machine), the engine's sandbox cannot
    // start and the engine with it: there the sandbox is switched off. A normal user
    // keeps it, as it guards the program against hostile pages.
    if (geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    // The engine gives a screen reader the page (its headings, text and links) only when
    // this is set before it starts; it then does the work only while an assistive
    // technology is active.
    qputenv("QTWEBENGINE_ENABLE_LINUX_ACCESSIBILITY", "1");
    // The engine shuts down as the program ends, and every page must be gone by then;
    // the windows that hold them may still be there (Exit ends the program without
    // closing them). Connected before the engine starts, this runs first.
    static const bool pagesEndFirst = [] {
        QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, [] {
            const QSet<BrowserPage *> pages = livePages;
            qDeleteAll(pages);
        });
        return true;
    }();
    Q_UNUSED(pagesEndFirst);
    return new WebEngineBrowser(parent, *events, *pages);
}
