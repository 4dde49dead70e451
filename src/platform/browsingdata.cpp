#include "browsingdata.h"

#include "core/historystore.h"
#include "webbrowser.h"

#include <QCoreApplication>
#include <QEventLoopLocker>
#include <QPointer>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QWebEngineCookieStore>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>

namespace BrowsingData {

bool clearCookies()
{
    QWebEngineProfile *profile = WebBrowser::sharedProfile();
    if (!profile || !profile->cookieStore())
        return false;
    profile->cookieStore()->deleteAllCookies();
    return true;
}

bool clearHistory(HistoryStore *store)
{
    QWebEngineProfile *profile = WebBrowser::sharedProfile();
    if (profile)
        profile->clearAllVisitedLinks();
    const bool cleared = (store ? store : &HistoryStore::instance())->clear();
    return cleared && profile;
}

} // namespace BrowsingData

namespace {

// A clearing whose deferred deletion the event loop did not get to (the application ended just
// after its report) still goes before the engine: a page left over when the engine shuts down
// is used after the profile has gone.
QList<QPointer<CacheClearing>> &liveClearings()
{
    static QList<QPointer<CacheClearing>> list;
    static const bool registered = [] {
        qAddPostRoutine([] {
            for (const QPointer<CacheClearing> &clearing : std::as_const(liveClearings()))
                delete clearing.data();
            liveClearings().clear();
        });
        return true;
    }();
    Q_UNUSED(registered);
    return list;
}

} // namespace

CacheClearing *CacheClearing::start()
{
    auto *clearing = new CacheClearing;
    liveClearings().removeAll(nullptr);
    liveClearings().append(clearing);
    QWebEngineProfile *profile = WebBrowser::sharedProfile();
    if (!profile || !clearing->m_server->listen(QHostAddress::LocalHost)) {
        // Told after the caller has connected.
        QTimer::singleShot(0, clearing, [clearing] { clearing->finish(false); });
        return clearing;
    }
    clearing->m_page = new QWebEnginePage(profile, clearing);
    // No icon request of the page may still be on its way when the clearing starts.
    clearing->m_page->settings()->setAttribute(QWebEngineSettings::AutoLoadIconsForPage, false);
    connect(clearing->m_page, &QWebEnginePage::loadFinished, clearing, &CacheClearing::onLoopbackLoaded);
    // The engine opens its HTTP cache with a network request (the first of the run, and the
    // first after a clearing). Asked to clear a cache that is not open, it holds back every
    // request until the clearing is done, which then never happens: no page loads any more.
    // So each clearing is preceded by one request of our own.
    clearing->m_stage = Stage::OpeningCache;
    clearing->requestLoopback("/open");
    return clearing;
}

CacheClearing::CacheClearing()
    : m_server(new QTcpServer(this)), m_keepRunning(std::make_unique<QEventLoopLocker>())
{
    connect(m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *socket = m_server->nextPendingConnection()) {
            connect(socket, &QTcpSocket::readyRead, socket, [socket] {
                socket->readAll();
                socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: 0\r\n"
                              "Cache-Control: no-store\r\nConnection: close\r\n\r\n");
                socket->disconnectFromHost();
            });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
    connect(&m_retry, &QTimer::timeout, this, [this] {
        requestLoopback(QStringLiteral("/cleared?%1").arg(++m_retries).toLatin1().constData());
    });
    m_limit.setSingleShot(true);
    connect(&m_limit, &QTimer::timeout, this, [this] { finish(false); });
    m_limit.start(kTimeLimitMs);
}

CacheClearing::~CacheClearing() = default;

void CacheClearing::requestLoopback(const char *path)
{
    m_page->load(QUrl(QStringLiteral("http://127.0.0.1:%1%2")
                          .arg(m_server->serverPort())
                          .arg(QLatin1String(path))));
}

void CacheClearing::onLoopbackLoaded(bool ok)
{
    switch (m_stage) {
    case Stage::OpeningCache:
        if (!ok) {
            finish(false);
            return;
        }
        m_stage = Stage::Clearing;
        m_page->profile()->clearHttpCache();
        requestLoopback("/cleared");
        // A request held back during the clearing is now and then never let go, though the
        // cache was emptied: a new one is made every few seconds, each answered only once the
        // cache is empty. One that is cut off by the next is no failure.
        m_retry.start(kRetryMs);
        return;
    case Stage::Clearing:
        if (ok)
            finish(true);
        return;
    case Stage::Done:
        return;
    }
}

void CacheClearing::finish(bool cleared)
{
    if (m_stage == Stage::Done)
        return;
    m_stage = Stage::Done;
    m_limit.stop();
    m_retry.stop();
    Q_EMIT finished(cleared);
    // The page goes with this object, after the engine has told it everything it was going to.
    deleteLater();
    m_keepRunning.reset();
}
