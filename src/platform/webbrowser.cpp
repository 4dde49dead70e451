#include "webbrowser.h"

#include "browserpage.h"
#include "pageprinter.h"
#include "preparedpage.h"
#include "typedaddress.h"
#include "core/downloadfilename.h"
#include "core/filedialogfolder.h"
#include "core/strings.h"
#include "newwindowrequest.h"
#include "widgets/plainmessagebox.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QQuickWidget>
#include <QQuickWindow>
#include <QTimer>
#include <QVBoxLayout>
#include <QWebEngineDownloadRequest>
#include <QWebEngineFindTextResult>
#include <QWebEngineHistory>
#include <QWebEngineLoadingInfo>
#include <QWebEngineNewWindowRequest>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include <memory>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {

constexpr double kZoomFactors[] = {0.75, 0.9, 1.0, 1.2, 1.5};
// "%1 could not be opened."
constexpr int kLoadFailedText = 14906;
// The page zoom steps of the engine's Ctrl+wheel.
constexpr double kPageZoomSteps[] = {0.25, 1.0 / 3, 0.5, 2.0 / 3, 0.75, 0.8, 0.9, 1.0, 1.1,
                                     1.25, 1.5, 1.75, 2.0, 2.5, 3.0, 4.0, 5.0};

// Whether an address is one of the engine's own pages ("chrome-error://..."), never shown.
bool isEngineInternalAddress(const QString &address)
{
    return address.startsWith(QLatin1String("chrome-error:"), Qt::CaseInsensitive)
        || address.startsWith(QLatin1String("chrome:"), Qt::CaseInsensitive)
        || address.startsWith(QLatin1String("devtools:"), Qt::CaseInsensitive);
}

// The zoom level of the browser command: 0 (smallest) .. 4 (largest), 2 being 100 %.
int zoomLevel(const QWebEnginePage &page)
{
    const double factor = page.zoomFactor();
    int best = 2;
    for (int i = 0; i < 5; ++i) {
        if (qAbs(kZoomFactors[i] - factor) < qAbs(kZoomFactors[best] - factor))
            best = i;
    }
    return best;
}

void setZoomLevel(QWebEnginePage &page, int level)
{
    page.setZoomFactor(kZoomFactors[qBound(0, level, 4)]);
}

// The C library keeps the large blocks a program frees for its own later use; the pictures of
// covered pages, let go, would still count as the program's memory. A while after the last
// page was covered (tabs are often switched in a row), what is free at the top of the heap and
// whole free pages within it go back to the system.
void returnFreedMemorySoon()
{
#ifdef __GLIBC__
    static bool pending = false;
    if (pending)
        return;
    pending = true;
    QTimer::singleShot(1500, qApp, [] {
        pending = false;
        malloc_trim(0);
    });
#endif
}

} // namespace

WebBrowser::WebBrowser(QWidget *parent) : QWidget(parent)
{
    m_view = new QWebEngineView(this);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    setFocusProxy(m_view);

    auto *page = new BrowserPage(sharedProfile(), m_view);
    usePage(page);
}

WebBrowser::~WebBrowser() = default;

QWebEngineProfile *WebBrowser::sharedProfile()
{
    return sharedBrowserProfile();
}

QString WebBrowser::userAgent()
{
    return sharedProfile()->httpUserAgent();
}

void WebBrowser::usePage(BrowserPage *page)
{
    page->setOwner(this, [this](const QString &url, bool mainFrame, bool &cancel) {
        Q_EMIT beforeNavigate(url, mainFrame, cancel);
    });
    page->settings()->setAttribute(QWebEngineSettings::ErrorPageEnabled, !m_loadErrorsSuppressed);
    page->setScriptErrorsSuppressed(m_scriptErrorsSuppressed);
    m_view->setPage(page); // the page used before, a child of the view, goes

    connect(page, &QWebEnginePage::loadStarted, this, &WebBrowser::onLoadStarted);
    connect(page, &QWebEnginePage::loadProgress, this, &WebBrowser::onLoadProgress);
    connect(page, &QWebEnginePage::loadingChanged, this, [this](const QWebEngineLoadingInfo &info) {
        // Without the engine's error page the page stays as it was; the status text tells why.
        // A load that was stopped or became a download ends stopped, not failed.
        if (info.status() == QWebEngineLoadingInfo::LoadFailedStatus && m_loadErrorsSuppressed)
            Q_EMIT statusTextChanged(loadResString(kLoadFailedText).arg(info.url().toDisplayString()));
    });
    connect(page, &QWebEnginePage::loadFinished, this, &WebBrowser::onLoadFinished);
    connect(page, &QWebEnginePage::titleChanged, this, &WebBrowser::titleChanged);
    connect(page, &QWebEnginePage::linkHovered, this, [this](const QString &url) {
        // The engine's own error and internal pages have addresses no user typed or can open.
        Q_EMIT statusTextChanged(isEngineInternalAddress(url) ? QString() : url);
    });
    connect(page, &QWebEnginePage::urlChanged, this, &WebBrowser::updateSecure);
    connect(page, &QWebEnginePage::windowCloseRequested, this, &WebBrowser::windowCloseRequested);
    connect(page, &QWebEnginePage::findTextFinished, this,
            [this](const QWebEngineFindTextResult &result) {
                Q_EMIT findFinished(result.activeMatch(), result.numberOfMatches());
            });
    connect(page, &QWebEnginePage::newWindowRequested, this,
            [this](QWebEngineNewWindowRequest &request) {
                NewWindowRequest wrapped(request);
                bool cancel = false;
                Q_EMIT newWindowRequested(wrapped, cancel);
            });
}

QWebEnginePage *WebBrowser::page() const
{
    return m_view->page();
}

bool WebBrowser::navigate(const QString &address)
{
    // An existing file (absolute, or relative to the working folder) opens as a file, anything
    // else goes by the usual address rules ("example.org" is a web address).
    // A script address is refused: it would run in the page showing now.
    return navigate(TypedAddress::resolve(address, QDir::currentPath(), {}));
}

bool WebBrowser::navigate(const QUrl &url)
{
    if (url.isEmpty())
        return false;
    noteUserNavigation();
    if (!takePreparedPage(url))
        m_view->setUrl(url);
    return true;
}

bool WebBrowser::takePreparedPage(const QUrl &url)
{
    // Only a browser that never loaded anything takes the page prepared at start.
    if (!PreparedPage::isPrepared() || !page()->url().isEmpty() || m_loading)
        return false;
    std::unique_ptr<PreparedPage> prepared = PreparedPage::take(url);
    if (!prepared)
        return false;
    BrowserPage *page = prepared->page();
    page->setParent(m_view);
    usePage(page);
    if (m_downloadFlags != -1)
        page->applyDownloadControl(m_downloadFlags);

    m_replay = Replay{prepared->loadStarted(), prepared->progress(), prepared->loadFinished(),
                      prepared->loadSucceeded()};
    Q_EMIT pageReplaced();
    // What the page did before it had an owner is told once the navigation's caller has
    // returned, as the engine would have told it; a report of the page's own comes after it.
    QMetaObject::invokeMethod(this, &WebBrowser::replayPreparedLoad, Qt::QueuedConnection);
    return true;
}

void WebBrowser::reload(int level)
{
    page()->triggerAction(level >= 3 ? QWebEnginePage::ReloadAndBypassCache
                                     : QWebEnginePage::Reload);
}

void WebBrowser::setPageVisible(bool visible)
{
    // The view goes too, not only the page: a view left shown behind the one that covers it
    // (its sub-window is restored from maximised then, and so resized) can keep the engine's
    // compositor ticking at the display's rate although its page is hidden, as after tabs were
    // opened one after another. A hidden view ends that; shown again, it shows its page again.
    // Its keyboard focus is let go first rather than passed on along the window's focus chain
    // (to the address field, say): the document that covers it takes the focus itself.
    QWidget *focus = QApplication::focusWidget();
    if (!visible && focus && (focus == m_view || m_view->isAncestorOf(focus)))
        focus->clearFocus();
    const bool drawn = m_view->isVisible();
    if (!visible)
        letDrawingGoWhenHidden();
    m_view->setVisible(visible);
    if (!visible && drawn)
        returnFreedMemorySoon();
    QWebEnginePage *p = page();
    if (p && p->isVisible() != visible)
        p->setVisible(visible);
}

void WebBrowser::letDrawingGoWhenHidden()
{
    // The engine draws a page through a scene of its own inside the view; by default that scene
    // keeps, hidden, its copy of the page's last picture and what it drew from it (some MiB for a
    // page in a maximised window, for every tab ever shown). Let go, it is made anew when the
    // view shows again, from the picture of the page the engine itself keeps: the page is there
    // at once, as it was.
    for (QQuickWidget *drawing : m_view->findChildren<QQuickWidget *>()) {
        if (QQuickWindow *scene = drawing->quickWindow())
            scene->setPersistentSceneGraph(false);
    }
}

void WebBrowser::stop()
{
    page()->triggerAction(QWebEnginePage::Stop);
}

void WebBrowser::noteUserNavigation()
{
    if (auto *browserPage = qobject_cast<BrowserPage *>(page()))
        browserPage->noteUserNavigation();
}

void WebBrowser::goBack()
{
    noteUserNavigation();
    page()->triggerAction(QWebEnginePage::Back);
}

void WebBrowser::goForward()
{
    noteUserNavigation();
    page()->triggerAction(QWebEnginePage::Forward);
}

QString WebBrowser::locationUrl() const
{
    // An error page stands for the address that failed, and a page that has no address of its
    // own yet (its first answer has not come) for the address it was asked for.
    const QUrl shown = page()->url();
    const QUrl requested = page()->requestedUrl();
    const bool notYet = shown.isEmpty() || shown == QUrl(QStringLiteral("about:blank"));
    const QUrl url = isEngineInternalAddress(shown.toString()) || (notYet && !requested.isEmpty())
                         ? requested
                         : shown;
    return url.isLocalFile() ? url.toLocalFile() : url.toString();
}

QString WebBrowser::locationName() const
{
    const QString title = page()->title();
    return title.isEmpty() ? locationUrl() : title;
}

bool WebBrowser::setDownloadControl(int flags)
{
    if (flags == downloadControl())
        return false;
    m_downloadFlags = flags;
    static_cast<BrowserPage *>(page())->applyDownloadControl(flags);
    return true;
}

PagePrinter *WebBrowser::printer()
{
    if (!m_printer) {
        m_printer = new PagePrinter(m_view, this);
        connect(m_printer, &PagePrinter::statusChanged, this, &WebBrowser::statusTextChanged);
    }
    return m_printer;
}

double WebBrowser::nextZoomFactor(double current, int step)
{
    if (step == 0)
        return 1.0;
    constexpr double kSame = 0.001;
    if (step > 0) {
        for (double factor : kPageZoomSteps) {
            if (factor > current + kSame)
                return factor;
        }
        return std::end(kPageZoomSteps)[-1];
    }
    for (auto it = std::rbegin(kPageZoomSteps); it != std::rend(kPageZoomSteps); ++it) {
        if (*it < current - kSame)
            return *it;
    }
    return kPageZoomSteps[0];
}

void WebBrowser::stepPageZoom(int step)
{
    page()->setZoomFactor(nextZoomFactor(page()->zoomFactor(), step));
}

void WebBrowser::execBrowserCommand(int command, const QVariant &in, QVariant *out)
{
    switch (command) {
    case Zoom:
        if (out)
            *out = zoomLevel(*page());
        if (in.isValid() && !in.isNull())
            setZoomLevel(*page(), in.toInt());
        break;
    case SaveAs: {
        // The page's title as a plain file name, in the folder the dialogs start in.
        const QString name = DownloadFileName::clean(locationName(), QStringLiteral("page"));
        const QString path = QFileDialog::getSaveFileName(
            this, QString(), QDir(FileDialogFolder::startFolder()).filePath(name + QLatin1String(".mhtml")),
            QStringLiteral("Web archive (*.mhtml);;Web page, complete (*.html)"));
        FileDialogFolder::remember(path);
        if (!path.isEmpty())
            page()->save(path, path.endsWith(QLatin1String(".html"))
                                   ? QWebEngineDownloadRequest::CompleteHtmlSaveFormat
                                   : QWebEngineDownloadRequest::MimeHtmlSaveFormat);
        break;
    }
    case Print:
        printer()->print();
        break;
    case PrintPreview:
        printer()->printPreview();
        break;
    case PageSetup:
        printer()->pageSetup();
        break;
    case Properties:
        plainMessageBox(this, QMessageBox::Information, loadResString(100),
                        locationName() + QLatin1String("\n\n") + locationUrl());
        break;
    default:
        break;
    }
}

void WebBrowser::execCommand(int command)
{
    switch (command) {
    case SelectAll:
        page()->triggerAction(QWebEnginePage::SelectAll);
        break;
    case ViewSource:
        page()->triggerAction(QWebEnginePage::ViewSource);
        break;
    default:
        break;
    }
}

void WebBrowser::findText(const QString &text, bool backward, bool caseSensitive)
{
    QWebEnginePage::FindFlags flags;
    if (backward)
        flags |= QWebEnginePage::FindBackward;
    if (caseSensitive)
        flags |= QWebEnginePage::FindCaseSensitively;
    page()->findText(text, flags);
}

void WebBrowser::replayPreparedLoad()
{
    if (!m_replay)
        return;
    const Replay replay = *m_replay;
    m_replay.reset();
    bool cancel = false;
    Q_EMIT beforeNavigate(page()->requestedUrl().toString(), true, cancel);
    if (cancel) {
        page()->triggerAction(QWebEnginePage::Stop);
        return;
    }
    if (replay.started)
        onLoadStarted();
    if (m_loading && replay.progress > 0)
        onLoadProgress(replay.progress);
    if (!page()->title().isEmpty())
        Q_EMIT titleChanged(page()->title());
    if (replay.finished)
        onLoadFinished(replay.succeeded);
    else
        updateSecure();
}

void WebBrowser::onLoadStarted()
{
    replayPreparedLoad();
    m_loading = true;
    m_loadFailed = false;
    Q_EMIT progressChanged(0, 100);
}

void WebBrowser::onLoadProgress(int progress)
{
    replayPreparedLoad();
    if (m_loading)
        Q_EMIT progressChanged(progress, 100);
}

void WebBrowser::setLoadErrorsSuppressed(bool suppressed)
{
    m_loadErrorsSuppressed = suppressed;
    page()->settings()->setAttribute(QWebEngineSettings::ErrorPageEnabled, !suppressed);
}

void WebBrowser::setScriptErrorsSuppressed(bool suppressed)
{
    m_scriptErrorsSuppressed = suppressed;
    if (auto *browserPage = dynamic_cast<BrowserPage *>(page()))
        browserPage->setScriptErrorsSuppressed(suppressed);
}

bool WebBrowser::scriptErrorsSuppressed() const
{
    return m_scriptErrorsSuppressed;
}

void WebBrowser::onLoadFinished(bool ok)
{
    replayPreparedLoad();
    m_loading = false;
    m_loadFailed = !ok;
    updateSecure();
    Q_EMIT progressChanged(-1, 0);
    Q_EMIT documentCompleted(page()->url().toString(), page()->title(), ok);
}

void WebBrowser::updateSecure()
{
    // A page that failed to load (an error page) is never shown as secure.
    const bool secure = page()->url().scheme() == QLatin1String("https") && !m_loadFailed;
    if (secure != m_secure || !m_loading) {
        m_secure = secure;
        Q_EMIT secureLockIconChanged(secure ? 1 : 0);
    }
}

void WebBrowser::acceptNewWindow(NewWindowRequest &request)
{
    request.openIn(page());
}
