#include "browserpage.h"

#include "downloadorigins.h"

#include "core/paths.h"
#include "core/userfile.h"
#include "core/strings.h"
#include "widgets/plainmessagebox.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>

namespace {

// A token only our isolated script knows, so a page cannot fake a script-link report.
const QString &linkToken()
{
    static const QString token = QString::number(QRandomGenerator::system()->generate64(), 36);
    return token;
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
        .arg(scriptLinkPrefix()));
    return script;
}

} // namespace

void prepareEngineSwitches()
{
    static const char kVariable[] = "QTWEBENGINE_CHROMIUM_FLAGS";
    const QByteArray given = qgetenv(kVariable).trimmed();
    QByteArray switches = "--js-flags=--no-short-builtin-calls";
    if (!given.isEmpty())
        switches += ' ' + given;
    qputenv(kVariable, switches);
}

QWebEngineProfile *sharedBrowserProfile()
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

QString scriptLinkPrefix()
{
    return QStringLiteral("quarvel-jslink-") + linkToken() + u':';
}

bool PageRequestInterceptor::mayOpen(const QUrl &url)
{
    if (!url.isLocalFile())
        return true;
    const QString path = url.toLocalFile();
    return UserFile::find(path) != UserFile::Found::NotAFile || QFileInfo(path).isDir();
}

void PageRequestInterceptor::interceptRequest(QWebEngineUrlRequestInfo &info)
{
    // Refused, the load fails as one of a file that cannot be opened.
    if (!mayOpen(info.requestUrl())) {
        info.block(true);
        return;
    }
    switch (info.resourceType()) {
    case QWebEngineUrlRequestInfo::ResourceTypeMedia:
        if (m_blockMedia)
            info.block(true);
        break;
    // What a download can come from: a document of a frame, or a link with its download
    // attribute, which the engine asks for as a main frame's.
    case QWebEngineUrlRequestInfo::ResourceTypeMainFrame:
    case QWebEngineUrlRequestInfo::ResourceTypeSubFrame:
    case QWebEngineUrlRequestInfo::ResourceTypeUnknown:
        DownloadOrigins::shared().note(m_page, info.requestUrl());
        break;
    default:
        break;
    }
}

BrowserPage::BrowserPage(QWebEngineProfile *profile, QObject *parent)
    : QWebEnginePage(profile, parent), m_requests(new PageRequestInterceptor(this))
{
    setUrlRequestInterceptor(m_requests);
}

void BrowserPage::setOwner(QWidget *owner, NavigationCheck navigationRequested)
{
    m_owner = owner;
    m_navigationRequested = std::move(navigationRequested);
}

void BrowserPage::applyDownloadControl(int flags)
{
    QWebEngineSettings *s = settings();
    s->setAttribute(QWebEngineSettings::AutoLoadImages, flags & DownloadControl::Images);
    s->setAttribute(QWebEngineSettings::JavascriptEnabled, !(flags & DownloadControl::NoScripts));
    s->setAttribute(QWebEngineSettings::PluginsEnabled, !(flags & DownloadControl::NoPlugins));
    setAudioMuted(!(flags & DownloadControl::BackgroundSounds));
    m_requests->setBlockMedia(!(flags & DownloadControl::Videos));
}

bool BrowserPage::acceptNavigationRequest(const QUrl &url, NavigationType, bool isMainFrame)
{
    bool cancel = false;
    if (hasOwner())
        m_navigationRequested(url.toString(), isMainFrame, cancel);
    return !cancel;
}

void BrowserPage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level,
                                           const QString &message, int line, const QString &source)
{
    const QString prefix = scriptLinkPrefix();
    if (hasOwner() && message.startsWith(prefix)) {
        bool cancel = false;
        m_navigationRequested(message.mid(prefix.size()).trimmed(), true, cancel);
        return;
    }
    if (m_scriptErrorsSuppressed && level == ErrorMessageLevel)
        return;
    QWebEnginePage::javaScriptConsoleMessage(level, message, line, source);
}

void BrowserPage::javaScriptAlert(const QUrl &, const QString &message)
{
    plainMessageBox(m_owner, QMessageBox::Information, loadResString(100), message);
}

bool BrowserPage::javaScriptConfirm(const QUrl &, const QString &message)
{
    return plainMessageBox(m_owner, QMessageBox::Question, loadResString(100), message,
                           QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
}
