#include "pingserver.h"

#include <QTcpSocket>

namespace {

const char kRequestBuffer[] = "benchRequest";

QByteArray response(const QByteArray &status, const QByteArray &body)
{
    return "HTTP/1.1 " + status +
           "\r\nContent-Type: text/html; charset=utf-8\r\nCache-Control: no-store\r\n"
           "Connection: close\r\nContent-Length: " +
           QByteArray::number(body.size()) + "\r\n\r\n" + body;
}

} // namespace

PingServer::PingServer(int pageCount, QObject *parent) : QTcpServer(parent), m_pageCount(pageCount)
{
    if (!listen(QHostAddress::LocalHost, 0))
        qFatal("The page server cannot listen on 127.0.0.1: %s", qPrintable(errorString()));
    connect(this, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *socket = nextPendingConnection()) {
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { answer(socket); });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
}

QString PingServer::pageUrl(int page) const
{
    return QStringLiteral("http://127.0.0.1:%1/page/%2").arg(serverPort()).arg(page);
}

QStringList PingServer::pageUrls(int first, int count) const
{
    QStringList urls;
    for (int page = first; page < first + count; ++page)
        urls.append(pageUrl(page));
    return urls;
}

int PingServer::pingCount(int page) const
{
    return m_pingCounts.value(page);
}

bool PingServer::allPinged(int first, int count) const
{
    for (int page = first; page < first + count; ++page) {
        if (!m_pingCounts.contains(page))
            return false;
    }
    return true;
}

PingServer::Clock::time_point PingServer::firstPing(int page) const
{
    return m_firstPings.value(page);
}

PingServer::Clock::time_point PingServer::lastOfFirstPings(int first, int count) const
{
    Clock::time_point last;
    for (int page = first; page < first + count; ++page)
        last = std::max(last, m_firstPings.value(page));
    return last;
}

void PingServer::forget()
{
    m_pingCounts.clear();
    m_firstPings.clear();
}

void PingServer::answer(QTcpSocket *socket)
{
    // The request line and headers may come in pieces; answer once they are complete.
    QByteArray request = socket->property(kRequestBuffer).toByteArray() + socket->readAll();
    if (!request.contains("\r\n\r\n")) {
        socket->setProperty(kRequestBuffer, request);
        return;
    }
    const QList<QByteArray> requestLine = request.left(request.indexOf("\r\n")).split(' ');
    const QByteArray target = requestLine.value(1);
    bool numbered = false;
    if (target.startsWith("/loaded?")) {
        const int page = target.mid(8).toInt(&numbered);
        if (numbered) {
            const Clock::time_point now = Clock::now();
            if (m_pingCounts[page]++ == 0)
                m_firstPings.insert(page, now);
            emit pinged(page);
        }
        socket->write(response("204 No Content", {}));
    } else if (target.startsWith("/page/")) {
        const int page = target.mid(6).toInt(&numbered);
        if (numbered && page >= 1 && page <= m_pageCount)
            socket->write(response("200 OK", pageBody(page)));
        else
            socket->write(response("404 Not Found", {}));
    } else {
        socket->write(response("404 Not Found", {}));
    }
    socket->disconnectFromHost();
}

QByteArray PingServer::pageBody(int page) const
{
    const QByteArray n = QByteArray::number(page);
    return "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>Local page " + n +
           "</title></head><body onload=\"new Image().src='/loaded?" + n +
           "'\"><h1>Local page " + n +
           "</h1><p>A plain page served on this machine for the benchmarks. It holds a few "
           "paragraphs of text and nothing that moves.</p><p>Page number " +
           n +
           " of the set; every page of the set differs only in its number.</p><ul><li>One</li>"
           "<li>Two</li><li>Three</li></ul></body></html>";
}
