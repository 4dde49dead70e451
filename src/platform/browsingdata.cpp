#include "browsingdata.h"

#include "core/historystore.h"
#include "webbrowser.h"

#include <QEventLoop>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QWebEngineCookieStore>
#include <QWebEnginePage>
#include <QWebEngineProfile>

namespace {

// The engine opens its HTTP cache with the first network request of the run. Asked to clear
// the cache before that, it holds back every request until the clearing is done, which then
// never happens: no page loads any more. So the first clearing of a run is preceded by one
// request, answered by a server of our own on the loopback address.
void openEngineCache(QWebEngineProfile *profile)
{
    static bool opened = false;
    if (opened)
        return;
    QTcpServer server;
    if (!server.listen(QHostAddress::LocalHost))
        return;
    QObject::connect(&server, &QTcpServer::newConnection, &server, [&server] {
        while (QTcpSocket *socket = server.nextPendingConnection()) {
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [socket] {
                socket->readAll();
                socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: 0\r\n"
                              "Connection: close\r\n\r\n");
                socket->disconnectFromHost();
            });
            QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
    QWebEnginePage page(profile);
    QEventLoop loop;
    bool ok = false;
    QObject::connect(&page, &QWebEnginePage::loadFinished, &loop, [&](bool finished) {
        ok = finished;
        loop.quit();
    });
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    page.load(QUrl(QStringLiteral("http://127.0.0.1:%1/").arg(server.serverPort())));
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    opened = ok;
}

} // namespace

namespace BrowsingData {

bool clearCache()
{
    QWebEngineProfile *profile = WebBrowser::sharedProfile();
    if (!profile)
        return false;
    openEngineCache(profile);
    profile->clearHttpCache();
    return true;
}

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
