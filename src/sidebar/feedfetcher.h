#pragma once

#include "rssfeed.h"

#include <QByteArray>
#include <QNetworkProxy>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QUrl>

#include <optional>

class QNetworkAccessManager;
template <typename T> class QFutureWatcher;
class QNetworkReply;

// One feed download at a time: an HTTP GET through the configured proxy, ended by the
// answer, the time limit, the size limit or abort(). The wait runs in the event loop;
// finished is always emitted once per start, never from inside startHttpGet. A body that
// arrived whole is read as a feed document on a worker thread before finished(Ok), so a large
// feed never stalls the window while it is parsed.
class FeedFetcher : public QObject
{
    Q_OBJECT
public:
    enum Result {
        Ok,           // status 200, the body is complete
        NotStarted,   // an empty or unusable address, or a proxy text that is no "host:port"
        HttpError,    // any other status
        NetworkError, // no answer: refused, reset, unknown host
        Timeout,      // no complete answer within the limit
        TooLarge,     // the body went past kMaxResponseBytes
        Aborted,      // Abort() or the owner went away
    };
    Q_ENUM(Result)

    static constexpr qint64 kMaxResponseBytes = qint64(10) * 1024 * 1024;

    explicit FeedFetcher(QObject *parent = nullptr);
    ~FeedFetcher() override;

    // The proxy of an "rssProxyServer" text: "host:port" (a scheme "http://" and a trailing
    // "/" are allowed; a missing port is 80). An empty text means no proxy of our own (the
    // application's default applies); no value when the text is not a proxy address.
    static std::optional<QNetworkProxy> parseProxy(const QString &text);
    // The time limit of an "rssTimeoutSec" value: 0 (or less) means 30 seconds.
    static int timeoutSeconds(int setting);

    // Starts a GET of an http or https address; a fetch still running is aborted first.
    void startHttpGet(const QString &url, const QString &proxy, int timeoutSeconds);
    // Ends the running fetch with Aborted; nothing happens when none is running.
    void abort();
    bool isRunning() const { return m_running; }

    // The body as far as it has arrived; empty after a fetch that did not end with Ok.
    QByteArray body() const { return m_body; }
    QString url() const { return m_url; }
    // The body read as a document (after finished(Ok)), decoded by its Content-Type charset
    // first (RssFeedEncoding); its address is where the body came from (after any redirection),
    // and its relative item links are stored resolved against it.
    const RssFeed::ParsedDocument &document() const { return m_document; }

signals:
    void finished(FeedFetcher::Result result);

private:
    void finish(Result result);
    void onReadyRead();
    void onReplyFinished();
    void readDocument(const QByteArray &contentType, const QUrl &address);

    QNetworkAccessManager *m_manager = nullptr;
    QPointer<QNetworkReply> m_reply;
    QTimer m_timer;
    QString m_url;
    QByteArray m_body;
    std::optional<Result> m_pendingResult; // set when we end the reply ourselves
    bool m_running = false;
    quint64 m_generation = 0;
    RssFeed::ParsedDocument m_document;
    QFutureWatcher<RssFeed::ParsedDocument> *m_reader = nullptr;
};
