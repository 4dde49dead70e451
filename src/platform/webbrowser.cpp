#include "webbrowser.h"

#include "core/paths.h"
#include "core/strings.h"
#include "newwindowrequest.h"
#include "widgets/plainmessagebox.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QVBoxLayout>
#include <QWebEngineDownloadRequest>
#include <QWebEngineHistory>
#include <QWebEngineNewWindowRequest>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineView>

#include <atomic>
#include <memory>

namespace {

constexpr double kZoomFactors[] = {0.75, 0.9, 1.0, 1.2, 1.5};

// A token only our isolated script knows, so a page cannot fake a script-link report.
const QString &linkToken()
{
    static const QString token = QString::number(QRandomGenerator::system()->generate64(), 36);
    return token;
}

QString linkPrefix()
{
    return QStringLiteral("quarvel-jslink-") + linkToken() + u':';
}

// Reports clicks on "javascript:" links, which never become navigations in this engine.
QWebEngineScript scriptLinkReporter()
{
    QWebEngineScript script;
    script.setName(QStringLiteral("quarvel-script-links"));
    script.setInjectionPoint(QWebEngineScript::DocumentCreation);
    script.setWorldId(QWebEngineScript::ApplicationWorld);
    script.setRunsOnSubFrames(true);
    script.setSourceCode(QStringLiteral(
        "document.addEventListener('click', function (e) {"
        "  var a = e.target && e.target.closest ? e.target.closest('a[href]') : null;"
        "  if (a && /^\\s*javascript:/i.test(a.getAttribute('href')))"
        "    console.debug('%1' + a.getAttribute('href'));"
        "}, true);")
        .arg(linkPrefix()));
    return script;
}

} // namespace

// Blocks media requests (audio and video) while the video switch is off.
class MediaBlocker : public QWebEngineUrlRequestInterceptor
{
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;
    std::atomic<bool> blockMedia{false};
    void interceptRequest(QWebEngineUrlRequestInfo &info) override
    {
        if (blockMedia && info.resourceType() == QWebEngineUrlRequestInfo::ResourceTypeMedia)
            info.block(true);
    }
};

class BrowserPage : public QWebEnginePage
{
public:
    BrowserPage(QWebEngineProfile *profile, QObject *parent) : QWebEnginePage(profile, parent) {}
    QPointer<WebBrowser> owner;

protected:
    bool acceptNavigationRequest(const QUrl &url, NavigationType, bool isMainFrame) override
    {
        bool cancel = false;
        if (owner)
            Q_EMIT owner->beforeNavigate(url.toString(), isMainFrame, cancel);
        return !cancel;
    }

    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString &message,
                                  int line, const QString &source) override
    {
        if (owner && message.startsWith(linkPrefix())) {
            bool cancel = false;
            Q_EMIT owner->beforeNavigate(message.mid(linkPrefix().size()).trimmed(), true, cancel);
            return;
        }
        QWebEnginePage::javaScriptConsoleMessage(level, message, line, source);
    }

    // A page's message boxes carry the application's title.
    void javaScriptAlert(const QUrl &, const QString &message) override
    {
        plainMessageBox(owner, QMessageBox::Information, loadResString(100), message);
    }
    bool javaScriptConfirm(const QUrl &, const QString &message) override
    {
        return plainMessageBox(owner, QMessageBox::Question, loadResString(100), message,
                               QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
    }
};

WebBrowser::WebBrowser(QWidget *parent) : QWidget(parent)
{
    init();
}

WebBrowser::~WebBrowser() = default;

QWebEngineProfile *WebBrowser::sharedProfile()
{
    static QPointer<QWebEngineProfile> profile;
    if (!profile) {
        profile = new QWebEngineProfile(QStringLiteral("Quarvel"), QCoreApplication::instance());
        profile->setPersistentStoragePath(Paths::dataFile(QStringLiteral("engine")));
        profile->setCachePath(QStandardPaths::writableLocation(QStandardPaths::CacheLocation) +
                              QLatin1String("/engine"));
        profile->setHttpUserAgent(profile->httpUserAgent() + QLatin1String(" Quarvel/") +
                                  QStringLiteral(QUARVEL_VERSION));
        profile->scripts()->insert(scriptLinkReporter());
    }
    return profile;
}

QString WebBrowser::userAgent()
{
    return sharedProfile()->httpUserAgent();
}

void WebBrowser::init()
{
    m_view = new QWebEngineView(this);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    setFocusProxy(m_view);

    auto *page = new BrowserPage(sharedProfile(), m_view);
    page->owner = this;
    m_view->setPage(page);
    m_mediaBlocker = new MediaBlocker(this);
    page->setUrlRequestInterceptor(m_mediaBlocker);

    connect(page, &QWebEnginePage::loadStarted, this, &WebBrowser::onLoadStarted);
    connect(page, &QWebEnginePage::loadProgress, this, &WebBrowser::onLoadProgress);
    connect(page, &QWebEnginePage::loadFinished, this, &WebBrowser::onLoadFinished);
    connect(page, &QWebEnginePage::titleChanged, this, &WebBrowser::titleChanged);
    connect(page, &QWebEnginePage::linkHovered, this, &WebBrowser::statusTextChanged);
    connect(page, &QWebEnginePage::urlChanged, this, &WebBrowser::updateSecure);
    connect(page, &QWebEnginePage::windowCloseRequested, this, &WebBrowser::windowCloseRequested);
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

void WebBrowser::navigate(const QString &address)
{
    // Typed text: an existing file (absolute, or relative to the working folder) opens as a
    // file, anything else by the usual address rules ("example.org" is a web address).
    m_view->setUrl(QUrl::fromUserInput(address, QDir::currentPath()));
}

void WebBrowser::reload(int level)
{
    page()->triggerAction(level >= 3 ? QWebEnginePage::ReloadAndBypassCache
                                     : QWebEnginePage::Reload);
}

void WebBrowser::setPageVisible(bool visible)
{
    QWebEnginePage *p = page();
    if (p && p->isVisible() != visible)
        p->setVisible(visible);
}

void WebBrowser::stop()
{
    page()->triggerAction(QWebEnginePage::Stop);
}

void WebBrowser::goBack()
{
    page()->triggerAction(QWebEnginePage::Back);
}

void WebBrowser::goForward()
{
    page()->triggerAction(QWebEnginePage::Forward);
}

QString WebBrowser::locationUrl() const
{
    const QUrl url = page()->url();
    return url.isLocalFile() ? url.toLocalFile() : url.toString();
}

QString WebBrowser::locationName() const
{
    const QString title = page()->title();
    return title.isEmpty() ? locationUrl() : title;
}

bool WebBrowser::setDownloadControl(int flags)
{
    if (flags == m_downloadFlags)
        return false;
    m_downloadFlags = flags;
    QWebEngineSettings *settings = page()->settings();
    settings->setAttribute(QWebEngineSettings::AutoLoadImages, flags & DLCTL_DLIMAGES);
    settings->setAttribute(QWebEngineSettings::JavascriptEnabled, !(flags & DLCTL_NO_SCRIPTS));
    settings->setAttribute(QWebEngineSettings::PluginsEnabled, !(flags & DLCTL_NO_PLUGINS));
    page()->setAudioMuted(!(flags & DLCTL_BGSOUNDS));
    m_mediaBlocker->blockMedia = !(flags & DLCTL_VIDEOS);
    return true;
}

int WebBrowser::zoomLevel() const
{
    const double factor = page()->zoomFactor();
    int best = 2;
    for (int i = 0; i < 5; ++i) {
        if (qAbs(kZoomFactors[i] - factor) < qAbs(kZoomFactors[best] - factor))
            best = i;
    }
    return best;
}

void WebBrowser::setZoomLevel(int level)
{
    page()->setZoomFactor(kZoomFactors[qBound(0, level, 4)]);
}

void WebBrowser::execBrowserCommand(int command, int option, const QVariant &in, QVariant *out)
{
    Q_UNUSED(option);
    switch (command) {
    case OLECMDID_ZOOM:
        if (out)
            *out = zoomLevel();
        if (in.isValid() && !in.isNull())
            setZoomLevel(in.toInt());
        break;
    case OLECMDID_SAVEAS: {
        const QString path = QFileDialog::getSaveFileName(
            this, QString(), locationName() + QLatin1String(".mhtml"),
            QStringLiteral("Web archive (*.mhtml);;Web page, complete (*.html)"));
        if (!path.isEmpty())
            page()->save(path, path.endsWith(QLatin1String(".html"))
                                   ? QWebEngineDownloadRequest::CompleteHtmlSaveFormat
                                   : QWebEngineDownloadRequest::MimeHtmlSaveFormat);
        break;
    }
    case OLECMDID_PRINT: {
        auto printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
        QPrintDialog dialog(printer.get(), this);
        if (dialog.exec() == QDialog::Accepted) {
            auto connection = std::make_shared<QMetaObject::Connection>();
            *connection = connect(m_view, &QWebEngineView::printFinished, this,
                                  [printer, connection](bool) { QObject::disconnect(*connection); });
            m_view->print(printer.get());
        }
        break;
    }
    case OLECMDID_PRINTPREVIEW: {
        QPrinter printer(QPrinter::HighResolution);
        QPrintPreviewDialog preview(&printer, this);
        connect(&preview, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter *p) {
            QEventLoop loop;
            connect(m_view, &QWebEngineView::printFinished, &loop, &QEventLoop::quit);
            m_view->print(p);
            loop.exec();
        });
        preview.exec();
        break;
    }
    case OLECMDID_PAGESETUP: {
        QPrinter printer(QPrinter::HighResolution);
        QPageSetupDialog dialog(&printer, this);
        dialog.exec();
        break;
    }
    case OLECMDID_PROPERTIES:
        plainMessageBox(this, QMessageBox::Information, loadResString(100),
                        locationName() + QLatin1String("\n\n") + locationUrl());
        break;
    default:
        break;
    }
}

void WebBrowser::execCommand(int group, int command)
{
    Q_UNUSED(group);
    switch (command) {
    case IDM_SELECTALL:
        page()->triggerAction(QWebEnginePage::SelectAll);
        break;
    case IDM_VIEWSOURCE:
        page()->triggerAction(QWebEnginePage::ViewSource);
        break;
    default: // the engine's options dialog has no counterpart here
        break;
    }
}

void WebBrowser::onLoadStarted()
{
    m_loading = true;
    m_loadFailed = false;
    Q_EMIT progressChanged(0, 100);
}

void WebBrowser::onLoadProgress(int progress)
{
    if (m_loading && progress < 100)
        Q_EMIT progressChanged(progress, 100);
}

void WebBrowser::onLoadFinished(bool ok)
{
    m_loading = false;
    m_loadFailed = !ok;
    updateSecure();
    Q_EMIT progressChanged(-1, 0);
    Q_EMIT documentCompleted(page()->url().toString(), page()->title(), ok);
}

void WebBrowser::updateSecure()
{
    // A page that failed to load (an error page) is never shown as secure.
    const bool secure = page()->url().scheme() == QLatin1String("https") &&
                        !m_certificateErrorAccepted && !m_loadFailed;
    if (secure != m_secure || !m_loading) {
        m_secure = secure;
        Q_EMIT secureLockIconChanged(secure ? 1 : 0);
    }
}

void WebBrowser::acceptNewWindow(NewWindowRequest &request)
{
    request.openIn(page());
}
