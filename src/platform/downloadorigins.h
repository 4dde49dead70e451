#pragma once

#include <QElapsedTimer>
#include <QList>
#include <QSet>
#include <QPointer>
#include <QUrl>

// Which page last asked for an address. A download's page is looked up here by the address the
// download comes from, never asked of the engine: for a download whose page has gone (a tab
// closed, a popup killed while its download was on the way) the engine of some versions crashes
// when asked. A page that has gone is simply not found, and its download counts as no page's.
// Redirects are noted as they happen, so the address a download ends at is found too.
class DownloadOrigins
{
public:
    // The origins the pages of the one profile note their requests in.
    static DownloadOrigins &shared();

    void note(QObject *page, const QUrl &url);
    // The newest living page that asked for the address, or nullptr.
    QObject *pageOf(const QUrl &url) const;
    // Whether a page that noted a request went within the last ms milliseconds.
    bool pageWentWithin(qint64 ms) const;

    // Only the newest requests are kept: a download follows its request at once.
    static constexpr qsizetype Limit = 256;

private:
    struct Entry
    {
        QUrl url;
        QPointer<QObject> page;
    };
    DownloadOrigins() { m_clock.start(); }

    QList<Entry> m_entries; // oldest first
    QSet<QObject *> m_watched;
    QElapsedTimer m_clock;
    qint64 m_lastWentMs = -1;
};
