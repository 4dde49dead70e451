#pragma once

// A small HTTP server on 127.0.0.1 for tests: pages with titles, slow pages, redirects and a
// page that opens a popup.
//   /page?title=T       a page titled T
//   /slow?ms=N&title=T  the same page, answered after N milliseconds
//   /redirect?to=PATH   302 to PATH
//   /popup              a page whose script opens /page?title=Popup in a new window at load,
//                       and a link to it with target=_blank (id "link")
//   /form               a page with a text field named "firstname"

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>
#include <QUrlQuery>

class TestServer : public QTcpServer
{
public:
    explicit TestServer(QObject *parent = nullptr) : QTcpServer(parent)
    {
        listen(QHostAddress::LocalHost, 0);
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { serve(socket); });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
    }

    QString url(const QString &pathAndQuery) const
    {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(serverPort()).arg(pathAndQuery);
    }
    QString page(const QString &title) const
    {
        return url(QStringLiteral("/page?title=") + QString::fromLatin1(QUrl::toPercentEncoding(title)));
    }

    int requests = 0;

private:
    static QByteArray html(const QString &title, const QString &body = QString())
    {
        return QStringLiteral("<!DOCTYPE html><html><head><meta charset='utf-8'><title>%1</title></head>"
                              "<body><h1>%1</h1>%2</body></html>")
            .arg(title.toHtmlEscaped(), body)
            .toUtf8();
    }

    static void respond(QTcpSocket *socket, const QByteArray &status, const QByteArray &body,
                        const QByteArray &extraHeaders = QByteArray())
    {
        socket->write("HTTP/1.1 " + status + "\r\nContent-Type: text/html; charset=utf-8\r\n"
                      "Cache-Control: no-store\r\nConnection: close\r\nContent-Length: " +
                      QByteArray::number(body.size()) + "\r\n" + extraHeaders + "\r\n" + body);
        socket->disconnectFromHost();
    }

    void serve(QTcpSocket *socket)
    {
        QByteArray buffer = socket->property("buffer").toByteArray() + socket->readAll();
        if (!buffer.contains("\r\n\r\n")) {
            socket->setProperty("buffer", buffer);
            return;
        }
        ++requests;
        const QList<QByteArray> words = buffer.left(buffer.indexOf("\r\n")).split(' ');
        const QUrl target(QString::fromLatin1(words.value(1)));
        const QUrlQuery query(target);
        const QString title = query.queryItemValue(QStringLiteral("title"), QUrl::FullyDecoded);
        const QString path = target.path();
        if (path == QLatin1String("/page")) {
            respond(socket, "200 OK", html(title));
        } else if (path == QLatin1String("/slow")) {
            const int ms = query.queryItemValue(QStringLiteral("ms")).toInt();
            QTimer::singleShot(ms, socket, [socket, title] { respond(socket, "200 OK", html(title)); });
        } else if (path == QLatin1String("/redirect")) {
            respond(socket, "302 Found", QByteArray(),
                    "Location: " + query.queryItemValue(QStringLiteral("to"), QUrl::FullyDecoded).toUtf8() + "\r\n");
        } else if (path == QLatin1String("/popup")) {
            respond(socket, "200 OK",
                    html(QStringLiteral("Opener"),
                         QStringLiteral("<a id='link' href='/page?title=Clicked' target='_blank'>open</a>"
                                        "<script>window.open('/page?title=Popup');</script>")));
        } else if (path == QLatin1String("/form")) {
            respond(socket, "200 OK",
                    html(QStringLiteral("Form"),
                         QStringLiteral("<form><input type='text' name='firstname' id='firstname'></form>")));
        } else {
            respond(socket, "404 Not Found", html(QStringLiteral("Not found")));
        }
    }
};
