#pragma once

#include <QObject>
#include <QTimer>

#include <memory>

class HistoryStore;
class QEventLoopLocker;
class QTcpServer;
class QWebEnginePage;

// Traces of browsing kept by the web profile every document shares (WebBrowser::sharedProfile)
// and by the history store. Each call returns whether the deletion could be set going; the
// engine finishes the cookie deletion on its own afterwards.
namespace BrowsingData {

// Every cookie of the profile.
bool clearCookies();
// The history store (HistoryStore::instance() unless another is given) and the profile's
// visited links.
bool clearHistory(HistoryStore *store = nullptr);

} // namespace BrowsingData

// Empties the shared profile's HTTP cache (the temporary files) and tells when the engine has
// finished: the engine answers a request made after the clearing only once the cache is empty,
// so a request to a server of our own on the loopback address marks the end. finished() comes
// once, false when the engine did not finish within kTimeLimitMs; the object then deletes
// itself. While it runs the application does not quit, so a clearing started at exit completes
// (or runs out of time) before the engine goes.
class CacheClearing : public QObject
{
    Q_OBJECT
public:
    static constexpr int kTimeLimitMs = 30000;
    static constexpr int kRetryMs = 2000;

    // Starts at once; connect to finished() before control returns to the event loop.
    static CacheClearing *start();
    ~CacheClearing() override;

Q_SIGNALS:
    void finished(bool cleared);

private:
    CacheClearing();
    void requestLoopback(const char *path);
    void onLoopbackLoaded(bool ok);
    void finish(bool cleared);

    enum class Stage { OpeningCache, Clearing, Done };
    Stage m_stage = Stage::OpeningCache;
    QTcpServer *m_server = nullptr;
    QWebEnginePage *m_page = nullptr;
    QTimer m_limit;
    QTimer m_retry;
    int m_retries = 0;
    std::unique_ptr<QEventLoopLocker> m_keepRunning;
};
