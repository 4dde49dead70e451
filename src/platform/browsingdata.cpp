#include "browsingdata.h"

#include "core/historystore.h"
#include "webbrowser.h"

#include <QEventLoop>
#include <QHostAddress>
#include <QTcpServer>
#include <QTimer>
#include <QWebEngineCookieStore>
#include <QWebEnginePage>
#include <QWebEngineProfile>

namespace {

// The engine opens its HTTP cache with the first network request of the run. Asked to clear
// the cache before that, it holds back every request until the clearing is done, which then
// never happens: no page loads any more. So the first clearing of a run is preceded by one
// request, to a local port nothing listens on (refused at once, nothing leaves the machine).
void openEngineCache(QWebEngineProfile *profile)
{
    static bool opened = false;
    if (opened)
        return;
    opened = true;
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost))
        return;
    const quint16 port = probe.serverPort();
    probe.close();

    QWebEnginePage page(profile);
    QEventLoop loop;
    QObject::connect(&page, &QWebEnginePage::loadFinished, &loop, &QEventLoop::quit);
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    page.load(QUrl(QStringLiteral("http://127.0.0.1:%1/").arg(port)));
    loop.exec(QEventLoop::ExcludeUserInputEvents);
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
