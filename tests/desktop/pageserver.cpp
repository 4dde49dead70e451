#include "pageserver.h"

#include <QHostAddress>
#include <QTcpSocket>

namespace {

const char kRequestBuffer[] = "desktopRequest";
constexpr int kPageCount = 999;

QByteArray html(const QByteArray &title, const QByteArray &body, const QByteArray &linkTarget)
{
    // The link is an empty box over the whole viewport, above the text: a click anywhere in the
    // page follows it, and the page prints as plain black text on white.
    return "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>" + title +
           "</title><style>body{font:24px sans-serif;color:#000;background:#fff;margin:40px}"
           "a#link{position:fixed;inset:0;z-index:1}</style></head><body><h1>" +
           title + "</h1>" + body + "<a id=\"link\" href=\"" + linkTarget +
           "\" aria-label=\"Next\"></a></body></html>";
}

QByteArray pageBody(int page)
{
    const QByteArray n = QByteArray::number(page);
    return "<p>This is page number " + n +
           " of a set of local pages served on this machine for the desktop tests.</p>"
           "<p>A click anywhere on it opens the next page of the set. The text is long enough "
           "to fill a few lines of a printed sheet with dark letters.</p>"
           "<ul><li>First item</li><li>Second item</li><li>Third item</li></ul>";
}

} // namespace

PageServer::PageServer(QObject *parent) : QTcpServer(parent)
{
    m_clock.start();
    if (!listen(QHostAddress::LocalHost, 0))
        qFatal("The page server cannot listen on 127.0.0.1: %s", qPrintable(errorString()));
    connect(this, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *socket = nextPendingConnection()) {
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
}

QString PageServer::url(const QString &path) const
{
    return QStringLiteral("http://127.0.0.1:%1%2").arg(serverPort()).arg(path);
}

QString PageServer::pageTitle(int page)
{
    return QStringLiteral("Desktop page %1").arg(page);
}

QByteArray PageServer::dataZip()
{
    // An empty archive's end record after 200000 bytes of a fixed pseudo-random sequence: a size
    // that is no multiple of any buffer, and contents where a lost or repeated block shows.
    static const QByteArray bytes = [] {
        QByteArray data;
        data.reserve(200022);
        quint32 state = 2463534242u;
        for (int i = 0; i < 200000; ++i) {
            state ^= state << 13;
            state ^= state >> 17;
            state ^= state << 5;
            data.append(char(state & 0xff));
        }
        data.append("PK\x05\x06", 4);
        data.append(18, '\0');
        return data;
    }();
    return bytes;
}

QStringList PageServer::pathsSince(qsizetype mark) const
{
    QStringList paths;
    for (qsizetype i = mark; i < m_log.size(); ++i) {
        if (m_log[i].path != QLatin1String("/favicon.ico"))
            paths.append(m_log[i].path);
    }
    return paths;
}

qsizetype PageServer::countSince(qsizetype mark, const QString &path) const
{
    return pathsSince(mark).count(path);
}

QString PageServer::logText(qsizetype mark) const
{
    QStringList lines;
    for (qsizetype i = mark; i < m_log.size(); ++i)
        lines.append(QStringLiteral("%1 ms %2 %3")
                         .arg(m_log[i].ms)
                         .arg(QString::fromLatin1(m_log[i].method), m_log[i].path));
    return lines.isEmpty() ? QStringLiteral("(no requests)") : lines.join(QStringLiteral("; "));
}

void PageServer::serve(QTcpSocket *socket)
{
    // The request line and headers may come in pieces; answer once they are complete.
    const QByteArray request = socket->property(kRequestBuffer).toByteArray() + socket->readAll();
    if (!request.contains("\r\n\r\n")) {
        socket->setProperty(kRequestBuffer, request);
        return;
    }
    socket->setProperty(kRequestBuffer, QByteArray());
    const QList<QByteArray> requestLine = request.left(request.indexOf("\r\n")).split(' ');
    const QString path = QString::fromLatin1(requestLine.value(1));
    m_log.append({requestLine.value(0), path, m_clock.elapsed()});

    const QByteArray htmlType = "text/html; charset=utf-8";
    bool numbered = false;
    const int page = path.startsWith(QLatin1String("/page/")) ? path.mid(6).toInt(&numbered) : 0;
    if (numbered && page >= 1 && page <= kPageCount) {
        respond(socket, "200 OK", htmlType,
                html(pageTitle(page).toUtf8(), pageBody(page),
                     "/page/" + QByteArray::number(page + 1)));
    } else if (path == QLatin1String("/download")) {
        respond(socket, "200 OK", htmlType,
                html("Download page", "<p>A click anywhere on this page downloads data.zip.</p>",
                     "/data.zip"));
    } else if (path == QLatin1String("/data.zip")) {
        respond(socket, "200 OK", "application/zip", dataZip(),
                "Content-Disposition: attachment; filename=\"data.zip\"\r\n");
    } else {
        respond(socket, "404 Not Found", htmlType, html("Not found", {}, "/page/1"));
    }
}

void PageServer::respond(QTcpSocket *socket, const QByteArray &status, const QByteArray &type,
                         const QByteArray &body, const QByteArray &extraHeaders)
{
    socket->write("HTTP/1.1 " + status + "\r\nContent-Type: " + type +
                  "\r\nCache-Control: no-store\r\nConnection: close\r\nContent-Length: " +
                  QByteArray::number(body.size()) + "\r\n" + extraHeaders + "\r\n" + body);
    socket->disconnectFromHost();
}
