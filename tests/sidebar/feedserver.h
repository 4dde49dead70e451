#pragma once

// A small HTTP server on 127.0.0.1 for the feed tests. Each path answers as its route says;
// an unknown path answers 404. Requests in absolute form (as a proxy receives them) are
// served by their path and recorded as they came.

#include <QHash>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>

class FeedServer : public QTcpServer
{
public:
    struct Route
    {
        Route(const QByteArray &s = "200 OK", const QByteArray &b = QByteArray(),
              const QByteArray &type = "application/rss+xml", const QByteArray &extra = QByteArray())
            : status(s), body(b), contentType(type), extraHeaders(extra)
        {
        }
        QByteArray status;
        QByteArray body;
        QByteArray contentType;
        QByteArray extraHeaders;
        int delayMs = 0;       // answer after this long
        bool silent = false;   // never answer
        bool sendLength = true; // false: no Content-Length, the body ends with the connection
    };

    explicit FeedServer(QObject *parent = nullptr) : QTcpServer(parent)
    {
        listen(QHostAddress::LocalHost, 0);
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { serve(socket); });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
    }

    QString url(const QString &path) const
    {
        return QStringLiteral("%1://127.0.0.1:%2%3").arg(scheme).arg(serverPort()).arg(path);
    }
    QString proxy() const { return QStringLiteral("127.0.0.1:%1").arg(serverPort()); }

    void feed(const QString &path, const QByteArray &body) { routes[path] = Route{"200 OK", body}; }

    QString scheme = QStringLiteral("http"); // what url() gives; a server over TLS sets "https"
    QHash<QString, Route> routes;
    QList<QByteArray> targets; // request targets in arrival order

private:
    void serve(QTcpSocket *socket)
    {
        QByteArray buffer = socket->property("buffer").toByteArray() + socket->readAll();
        if (!buffer.contains("\r\n\r\n")) {
            socket->setProperty("buffer", buffer);
            return;
        }
        socket->setProperty("buffer", QByteArray());
        const QList<QByteArray> words = buffer.left(buffer.indexOf("\r\n")).split(' ');
        const QByteArray target = words.value(1);
        targets.append(target);
        const QString path = QUrl(QString::fromLatin1(target)).path();
        const auto it = routes.constFind(path);
        const Route route = it != routes.constEnd() ? *it : Route{"404 Not Found", "<html/>", "text/html"};
        if (route.silent)
            return;
        auto respond = [socket, route] {
            QByteArray head = "HTTP/1.1 " + route.status + "\r\nContent-Type: " + route.contentType +
                              "\r\nConnection: close\r\n" + route.extraHeaders;
            if (route.sendLength)
                head += "Content-Length: " + QByteArray::number(route.body.size()) + "\r\n";
            socket->write(head + "\r\n");
            socket->write(route.body);
            socket->disconnectFromHost();
        };
        if (route.delayMs > 0)
            QTimer::singleShot(route.delayMs, socket, respond);
        else
            respond();
    }
};

// An RSS 2.0 document with the given items (title, link, pubDate; an empty date leaves it out).
struct FeedItem
{
    QString title, link, date, description;
};
inline QByteArray rssFeed(const QString &channelTitle, const QList<FeedItem> &items)
{
    QString xml = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<rss version=\"2.0\"><channel>"
                                 "<title>%1</title><description>About %1</description>"
                                 "<link>http://example.invalid/</link>")
                      .arg(channelTitle.toHtmlEscaped());
    for (const FeedItem &item : items) {
        xml += QStringLiteral("<item><title>%1</title><link>%2</link>")
                   .arg(item.title.toHtmlEscaped(), item.link.toHtmlEscaped());
        if (!item.description.isNull())
            xml += QStringLiteral("<description>%1</description>").arg(item.description.toHtmlEscaped());
        if (!item.date.isEmpty())
            xml += QStringLiteral("<pubDate>%1</pubDate>").arg(item.date);
        xml += QStringLiteral("</item>");
    }
    xml += QStringLiteral("</channel></rss>\n");
    return xml.toUtf8();
}
