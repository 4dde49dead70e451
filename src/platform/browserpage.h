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

// The one profile every page shares, persistent in the data folder. Made on first use, which
// starts the engine.
QWebEngineProfile *sharedBrowserProfile();

// The beginning of the console messages our link script sends; a page cannot guess it.
QString scriptLinkPrefix();

// Blocks media requests (audio and video) while the video switch is off, and notes which
// page asked for each document, so that a download is known by its page (DownloadOrigins).
class MediaBlocker : public QWebEngineUrlRequestInterceptor
{
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;
    // Set from the interface thread; the engine asks from its own.
    void setBlockMedia(bool block) { m_blockMedia = block; }
    // The page whose requests come through; a blocker serves one page at a time.
    void setPage(QWebEnginePage *page) { m_page = page; }
    void interceptRequest(QWebEngineUrlRequestInfo &info) override;

private:
    std::atomic<bool> m_blockMedia{false};
    QPointer<QWebEnginePage> m_page;
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

    // The page comes with a blocker of its own that blocks nothing; a browser sets its own.
    BrowserPage(QWebEngineProfile *profile, QObject *parent);

    // The widget the page's message boxes show over, and the check of its navigations.
    void setOwner(QWidget *owner, NavigationCheck navigationRequested);

    // Applies download-control flags to the page and to its media blocker.
    void applyDownloadControl(int flags, MediaBlocker *blocker);

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
};
