#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTcpServer>

class QTcpSocket;

// The web the desktop tests browse: an HTTP server on 127.0.0.1 (a free port) that logs every
// request it answers.
//   /page/N     "Desktop page N" (N from 1 to 999): a heading, a few paragraphs and one link,
//               to /page/N+1, that covers the whole viewport, so a click anywhere in the
//               page follows it
//   /download   "Download page": the same kind of link, to /data.zip
//   /data.zip   dataZip() as application/zip, an attachment named "data.zip"
// Everything else is 404. Nothing is cached, every answer closes its connection.
class PageServer : public QTcpServer
{
public:
    struct Request
    {
        QByteArray method;
        QString path;
        qint64 ms = 0; // since the server started
    };

    explicit PageServer(QObject *parent = nullptr);

    QString url(const QString &path) const;
    static QString pageTitle(int page);
    static QByteArray dataZip();

    const QList<Request> &log() const { return m_log; }
    // The position of the next request in the log, to look at what came after it.
    qsizetype mark() const { return m_log.size(); }
    // The paths requested since the mark, without the icon requests of the engine.
    QStringList pathsSince(qsizetype mark) const;
    qsizetype countSince(qsizetype mark, const QString &path) const;
    // The log since the mark as text, for a failure message.
    QString logText(qsizetype mark = 0) const;

private:
    void serve(QTcpSocket *socket);
    static void respond(QTcpSocket *socket, const QByteArray &status, const QByteArray &type,
                        const QByteArray &body, const QByteArray &extraHeaders = {});

    QElapsedTimer m_clock;
    QList<Request> m_log;
};
