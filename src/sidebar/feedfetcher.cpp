#include "feedfetcher.h"

#include <QFutureWatcher>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>
#include <QtConcurrent>

FeedFetcher::FeedFetcher(QObject *parent)
    : QObject(parent), m_manager(new QNetworkAccessManager(this))
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        if (m_reply) {
            m_pendingResult = Timeout;
            m_reply->abort();
        }
    });
}

FeedFetcher::~FeedFetcher()
{
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
    }
}

std::optional<QNetworkProxy> FeedFetcher::parseProxy(const QString &text)
{
    QString t = text.trimmed();
    if (t.isEmpty())
        return QNetworkProxy(QNetworkProxy::DefaultProxy);
    if (t.startsWith(QLatin1String("http://"), Qt::CaseInsensitive))
        t = t.mid(7);
    if (t.endsWith(u'/'))
        t.chop(1);
    QString host = t;
    int port = 80;
    const qsizetype colon = t.lastIndexOf(u':');
    const qsizetype bracket = t.lastIndexOf(u']');
    if (colon > bracket) {
        host = t.left(colon);
        bool ok = false;
        const QString digits = t.mid(colon + 1);
        port = digits.toInt(&ok);
        if (!ok || digits.startsWith(u'+') || digits.startsWith(u'-') || port < 1 || port > 65535)
            return std::nullopt;
    }
    if (host.startsWith(u'[') && host.endsWith(u']'))
        host = host.mid(1, host.size() - 2);
    if (host.isEmpty())
        return std::nullopt;
    for (const QChar c : host) {
        if (c.isSpace() || c == u'/' || c == u'@' || c == u'?' || c == u'#' || c == u'[' ||
            c == u']')
            return std::nullopt;
    }
    return QNetworkProxy(QNetworkProxy::HttpProxy, host, quint16(port));
}

int FeedFetcher::timeoutSeconds(int setting)
{
    return setting <= 0 ? 30 : setting;
}

void FeedFetcher::startHttpGet(const QString &url, const QString &proxy, int timeoutSeconds)
{
    if (m_running)
        abort();
    const quint64 generation = ++m_generation;
    m_url = url;
    m_body.clear();
    m_document = {};
    m_pendingResult.reset();
    m_running = true;

    const QUrl address(url.trimmed(), QUrl::StrictMode);
    const QString scheme = address.scheme().toLower();
    const std::optional<QNetworkProxy> networkProxy = parseProxy(proxy);
    if (url.trimmed().isEmpty() || !address.isValid() || address.host().isEmpty() ||
        (scheme != QLatin1String("http") && scheme != QLatin1String("https")) || !networkProxy) {
        // Reported from the event loop, as every other outcome.
        QMetaObject::invokeMethod(
            this,
            [this, generation] {
                if (m_running && m_generation == generation)
                    finish(NotStarted);
            },
            Qt::QueuedConnection);
        return;
    }

    m_manager->setProxy(*networkProxy);
    QNetworkRequest request(address);
    request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("text/html"));
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    QNetworkReply *reply = m_manager->get(request);
    m_reply = reply;
    connect(reply, &QNetworkReply::metaDataChanged, this, [this, reply] {
        if (reply != m_reply)
            return;
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() > kMaxResponseBytes) {
            m_pendingResult = TooLarge;
            reply->abort();
        }
    });
    connect(reply, &QNetworkReply::redirected, this, [this] { m_body.clear(); });
    connect(reply, &QNetworkReply::readyRead, this, &FeedFetcher::onReadyRead);
    connect(reply, &QNetworkReply::finished, this, &FeedFetcher::onReplyFinished);
    m_timer.start(FeedFetcher::timeoutSeconds(timeoutSeconds) * 1000);
}

void FeedFetcher::onReadyRead()
{
    QNetworkReply *reply = m_reply;
    if (!reply || m_pendingResult)
        return;
    if (m_body.size() + reply->bytesAvailable() > kMaxResponseBytes) {
        m_pendingResult = TooLarge;
        reply->abort();
        return;
    }
    m_body += reply->readAll();
}

void FeedFetcher::onReplyFinished()
{
    QNetworkReply *reply = qobject_cast<QNetworkReply *>(sender());
    if (!reply || reply != m_reply)
        return;
    m_timer.stop();
    Result result;
    if (m_pendingResult) {
        result = *m_pendingResult;
    } else {
        onReadyRead();
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (m_pendingResult)
            result = *m_pendingResult;
        else if (status == 0)
            result = NetworkError;
        else if (status == 200 && reply->error() == QNetworkReply::NoError)
            result = Ok;
        else
            result = HttpError;
    }
    m_reply = nullptr;
    reply->disconnect(this);
    reply->deleteLater();
    if (result == Ok)
        readDocument(reply->rawHeader("Content-Type"), reply->url()); // the url after any redirection
    else
        finish(result);
}

void FeedFetcher::readDocument(const QByteArray &contentType, const QUrl &address)
{
    const quint64 generation = m_generation;
    if (!m_reader) {
        m_reader = new QFutureWatcher<RssFeed::ParsedDocument>(this);
        connect(m_reader, &QFutureWatcherBase::finished, this, [this] {
            const quint64 started = m_reader->property("generation").toULongLong();
            if (!m_running || m_generation != started)
                return; // aborted or started again meanwhile
            m_document = m_reader->result();
            finish(Ok);
        });
    }
    m_reader->setProperty("generation", QVariant::fromValue(generation));
    m_reader->setFuture(QtConcurrent::run([body = m_body, contentType, address] {
        return RssFeed::readDocument(body, contentType, address);
    }));
}

void FeedFetcher::abort()
{
    if (!m_running)
        return;
    if (m_reply) {
        m_pendingResult = Aborted;
        QNetworkReply *reply = m_reply;
        reply->abort(); // reports finished, normally at once
        if (m_running && m_reply == reply) {
            m_reply = nullptr;
            reply->disconnect(this);
            reply->deleteLater();
            m_timer.stop();
            finish(Aborted);
        }
    } else {
        ++m_generation; // drops a queued report
        finish(Aborted);
    }
}

void FeedFetcher::finish(Result result)
{
    m_running = false;
    if (result != Ok)
        m_body.clear();
    emit finished(result);
}
