#pragma once

#include "browserpage.h"

#include <QPointer>
#include <QString>
#include <QVariant>
#include <QWidget>

#include <optional>

class QUrl;
class QWebEnginePage;
class QWebEngineProfile;
class QWebEngineView;
class NewWindowRequest;
class PagePrinter;

// The browser control of a document window: one web view with the control's members and events.
// Events are signals whose cancel flag the slots may set (direct connections only).
class WebBrowser : public QWidget
{
    Q_OBJECT
public:
    // Browser commands of execBrowserCommand.
    enum Command {
        SaveAs,
        Print,
        PrintPreview,
        PageSetup,
        Properties,
        Zoom,
    };
    // The page's own commands, run by execCommand.
    enum EngineCommand {
        SelectAll,
        ViewSource,
    };

    explicit WebBrowser(QWidget *parent = nullptr);
    ~WebBrowser() override;

    // The one profile every document shares, persistent in the data folder. Made on first use,
    // which starts the engine.
    static QWebEngineProfile *sharedProfile();
    // The user agent every document sends: the engine's own with " Quarvel/<version>" appended.
    static QString userAgent();

    // Opens the address (TypedAddress::resolve, without a search: what typed words stand for
    // is decided before, by whoever gives them); false when it stands for nowhere to go
    // (nothing, or a script address).
    bool navigate(const QString &address);
    // Opens the address as it is; false for an empty one.
    bool navigate(const QUrl &url);
    // Level 0..3 as the control knew them; 3 (completely) bypasses the cache.
    void reload(int level = 0);
    void stop();
    void goBack();
    void goForward();
    QString locationUrl() const;
    QString locationName() const;
    // Tells the engine whether the page can be seen, and shows or hides the view with it. A
    // hidden view lets go of what it drew the page with, and draws it anew when shown again;
    // the page itself (its scroll position, form input, history) stays as it is.
    void setPageVisible(bool visible);

    // Runs a browser command; in and out carry the command's values (zoom level 0..4).
    void execBrowserCommand(int command, const QVariant &in = {}, QVariant *out = nullptr);
    // Runs one of the page's own commands.
    void execCommand(int command);

    // Searches the page for text from the current match on, backward or forward, wrapping at
    // either end; findFinished tells the outcome. Empty text ends the search and clears the
    // highlight (the last match stays selected).
    void findText(const QString &text, bool backward, bool caseSensitive);

    // A failed load shows the engine's error page, or (suppressed) leaves the page as it was
    // and says so in the status text.
    void setLoadErrorsSuppressed(bool suppressed);
    // Whether the last load ended without its page (failed or stopped).
    bool loadFailed() const { return m_loadFailed; }
    // Errors of the page's scripts are kept out of the console log.
    void setScriptErrorsSuppressed(bool suppressed);
    bool scriptErrorsSuppressed() const;

    // The download-control flags in force (-1 before the first are applied), and their change:
    // applied to the page's settings only when they differ from the flags in force (then false).
    int downloadControl() const { return m_downloadFlags; }
    bool setDownloadControl(int flags);

    // Whether this browser is registered as a top-level browser (a document's own browser is,
    // from its first load on).
    bool isRegisteredAsBrowser() const { return m_registeredAsBrowser; }
    void setRegisteredAsBrowser(bool on) { m_registeredAsBrowser = on; }

    // Page zoom one step in (step > 0) or out (< 0) through the steps Ctrl+wheel takes, or back
    // to 100 % (0).
    void stepPageZoom(int step);
    // The zoom factor one step from current (the nearest step when current lies between two).
    static double nextZoomFactor(double current, int step);

    // Lets a page's new-window request through into this browser's page.
    void acceptNewWindow(NewWindowRequest &request);
    QWebEnginePage *page() const;

signals:
    // Before a navigation; mainFrame tells whether it is the page itself. Cancel to stop it.
    // Clicks on "javascript:" links are reported too (with cancel ignored).
    void beforeNavigate(const QString &url, bool mainFrame, bool &cancel);
    // progress / progressMax; a completion is (-1, 0).
    void progressChanged(int progress, int progressMax);
    void titleChanged(const QString &text);
    void statusTextChanged(const QString &text);
    void secureLockIconChanged(int state);
    // A page asks for a new window; kill it by not answering, let it through by opening the
    // request in a new browser (NewWindowRequest::openIn) before returning.
    void newWindowRequested(NewWindowRequest &request, bool &cancel);
    // The page closes its own window.
    void windowCloseRequested();
    // A completed main-frame load, with its final address and title (history feed).
    void documentCompleted(const QString &url, const QString &title, bool ok);
    // The browser took over the page prepared at start: page() is another page now.
    void pageReplaced();
    // A search of findText ended: the match now selected (1-based) and the number of matches
    // on the page, both 0 when there is none.
    void findFinished(int activeMatch, int matches);

private:
    // Makes the page this browser's own: reports, media blocker and view.
    void usePage(BrowserPage *page);
    // Takes over the page prepared at start when it was prepared for url.
    bool takePreparedPage(const QUrl &url);
    // Reports the load of a taken-over page as far as it went before; once.
    void replayPreparedLoad();
    // Hiding the view will let go of its drawing of the page.
    void letDrawingGoWhenHidden();
    // Tells the page the user takes it somewhere (its downloads start afresh).
    void noteUserNavigation();
    void onLoadStarted();
    void onLoadProgress(int progress);
    void onLoadFinished(bool ok);
    void updateSecure();
    // Print, preview and page setup of this browser's page (made on first use).
    PagePrinter *printer();

    QWebEngineView *m_view = nullptr;
    PagePrinter *m_printer = nullptr;
    bool m_loadErrorsSuppressed = false;
    bool m_scriptErrorsSuppressed = false;
    int m_downloadFlags = -1;
    bool m_registeredAsBrowser = false;
    struct Replay
    {
        bool started = false;
        int progress = 0;
        bool finished = false;
        bool succeeded = false;
    };
    std::optional<Replay> m_replay;
    bool m_loading = false;
    bool m_loadFailed = false;
    bool m_secure = false;
};
