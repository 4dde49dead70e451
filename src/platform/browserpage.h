#pragma once

#include <QPointer>
#include <QWebEnginePage>
#include <QWebEngineUrlRequestInterceptor>
#include <QWidget>

#include <atomic>
#include <functional>

class QWebEngineProfile;

// The content switches a document applies to its page (WebBrowser's download-control flags).
namespace DownloadControl {
enum Flag : int {
    Images = 0x10,
    Videos = 0x20,
    BackgroundSounds = 0x40,
    NoScripts = 0x80,
    NoJava = 0x100,
    NoRunActiveX = 0x200,
    NoDownloadActiveX = 0x400,
    // Our own bit: plug-in content (the Flash switch).
    NoPlugins = 0x10000000,
};
}

// Before the engine starts (it starts with the first profile): our switches for its processes,
// ahead of what the user gave in QTWEBENGINE_CHROMIUM_FLAGS, so that a switch the user gives
// again wins. Each page's process keeps no copy of the script engine's built-in code near its
// compiled scripts (1.4 MiB a page): calls into it take a longer jump instead.
void prepareEngineSwitches();

// The one profile every page shares, persistent in the data folder. Made on first use, which
// starts the engine.
QWebEngineProfile *sharedBrowserProfile();

// The beginning of the console messages our link script sends; a page cannot guess it.
QString scriptLinkPrefix();

// The requests of one page: media (audio and video) is blocked while the video switch is off,
// and the page is noted as the one that asked for each document, so that a download is known
// by its page (DownloadOrigins). The engine asks on the interface thread.
class PageRequestInterceptor : public QWebEngineUrlRequestInterceptor
{
public:
    explicit PageRequestInterceptor(QWebEnginePage *page)
        : QWebEngineUrlRequestInterceptor(page), m_page(page)
    {
    }
    void setBlockMedia(bool block) { m_blockMedia = block; }
    void interceptRequest(QWebEngineUrlRequestInfo &info) override;

    // Whether the engine may open the address: anything but a local file, or a local file that
    // is a regular file or a folder (or a link to one), or nothing at all (the engine then says
    // it is not there). A named pipe, a device or a socket would hold the engine's open, and
    // with it the program's end, until something writes to it.
    static bool mayOpen(const QUrl &url);

private:
    QWebEnginePage *m_page; // the interceptor's parent
    std::atomic<bool> m_blockMedia{false};
};

// The engine page of a browser: it reports navigations and script links to its owner and shows
// the page's message boxes over it. Without an owner (the first page of a start, before its
// document takes it over) every navigation goes ahead.
class BrowserPage : public QWebEnginePage
{
    Q_OBJECT
public:
    // Asked before each navigation; setting cancel stops it. Clicks on "javascript:" links are
    // reported as main-frame navigations whose cancel is ignored.
    using NavigationCheck = std::function<void(const QString &url, bool mainFrame, bool &cancel)>;

    // The page watches its own requests (PageRequestInterceptor), which go with it when a
    // browser takes it over.
    BrowserPage(QWebEngineProfile *profile, QObject *parent);

    // The widget the page's message boxes show over, and the check of its navigations.
    void setOwner(QWidget *owner, NavigationCheck navigationRequested);

    // Applies download-control flags to the page and to its requests.
    void applyDownloadControl(int flags);

    // Errors of the page's scripts are not written to the console log.
    void setScriptErrorsSuppressed(bool suppressed) { m_scriptErrorsSuppressed = suppressed; }

    // The user takes the page somewhere (an address, Back, Forward): told before it goes.
    void noteUserNavigation() { Q_EMIT userNavigated(); }

signals:
    void userNavigated();

protected:
    bool acceptNavigationRequest(const QUrl &url, NavigationType, bool isMainFrame) override;
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString &message,
                                  int line, const QString &source) override;
    // A page's message boxes carry the application's title.
    void javaScriptAlert(const QUrl &, const QString &message) override;
    bool javaScriptConfirm(const QUrl &, const QString &message) override;

private:
    bool hasOwner() const { return m_owner && m_navigationRequested; }

    QPointer<QWidget> m_owner;
    NavigationCheck m_navigationRequested;
    bool m_scriptErrorsSuppressed = false;
    PageRequestInterceptor *m_requests = nullptr;
};
