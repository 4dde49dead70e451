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

// Blocks media requests (audio and video) while the video switch is off.
class MediaBlocker : public QWebEngineUrlRequestInterceptor
{
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;
    std::atomic<bool> blockMedia{false};
    void interceptRequest(QWebEngineUrlRequestInfo &info) override;
};

// The engine page of a browser: it reports navigations and script links to its owner and shows
// the page's message boxes over it. Without an owner (the first page of a start, before its
// document takes it over) every navigation goes ahead.
class BrowserPage : public QWebEnginePage
{
public:
    BrowserPage(QWebEngineProfile *profile, QObject *parent) : QWebEnginePage(profile, parent) {}

    QPointer<QWidget> owner;
    // Asked before each navigation while there is an owner; setting cancel stops it. Clicks
    // on "javascript:" links are reported as main-frame navigations whose cancel is ignored.
    std::function<void(const QString &url, bool mainFrame, bool &cancel)> navigationRequested;

    // Applies download-control flags to the page and to its media blocker.
    void applyDownloadControl(int flags, MediaBlocker *blocker);

    // Errors of the page's scripts are not written to the console log.
    bool scriptErrorsSuppressed = false;

protected:
    bool acceptNavigationRequest(const QUrl &url, NavigationType, bool isMainFrame) override;
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString &message,
                                  int line, const QString &source) override;
    // A page's message boxes carry the application's title.
    void javaScriptAlert(const QUrl &, const QString &message) override;
    bool javaScriptConfirm(const QUrl &, const QString &message) override;

private:
    bool hasOwner() const { return owner && navigationRequested; }
};
