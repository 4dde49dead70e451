#pragma once

#include <QHash>
#include <QTcpServer>

#include <chrono>

// Serves plain local pages on 127.0.0.1 and counts their pings. Page n lives at /page/n; its
// onload handler requests /loaded?n, so the moment a program finished loading it is seen from
// outside the same way for every program. Pages are static (no script besides the ping, no
// animation) and never cached.
class PingServer : public QTcpServer
{
    Q_OBJECT

public:
    using Clock = std::chrono::steady_clock;

    explicit PingServer(int pageCount, QObject *parent = nullptr);

    QString pageUrl(int page) const;
    // Addresses of pages first, first + 1, ... (count of them).
    QStringList pageUrls(int first, int count) const;

    int pingCount(int page) const;
    bool allPinged(int first, int count) const;
    // When page first pinged since the last forget(); only meaningful when pingCount(page) > 0.
    Clock::time_point firstPing(int page) const;
    Clock::time_point lastOfFirstPings(int first, int count) const;
    // Starts counting anew, for the next run.
    void forget();

signals:
    void pinged(int page);

private:
    void answer(QTcpSocket *socket);
    QByteArray pageBody(int page) const;

    int m_pageCount;
    QHash<int, int> m_pingCounts;
    QHash<int, Clock::time_point> m_firstPings;
};
