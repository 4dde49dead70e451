#pragma once

#include <QHash>
#include <QtGlobal>

// Which downloads the user is asked about. A download the user started (with a click or a key
// on the page a moment before) is always asked; so is the first one a page starts by itself.
// Further downloads a page starts by itself soon after its previous one are refused unasked:
// a page cannot chain save questions without end.
//
// Pages are told apart by a key (the page's address in memory); times are in milliseconds of
// any steady clock.
class DownloadGate
{
public:
    // How long after the user's click or key on a page a download it starts counts as the user's.
    static constexpr qint64 kUserActionMs = 5000;
    // How long after a page's previous download (or the answer about it) a download the page
    // starts by itself is refused.
    static constexpr qint64 kChainMs = 10000;

    // The user clicked or pressed a key on the page.
    void noteUserAction(quintptr page, qint64 nowMs);
    // Whether a download the page starts now is to be asked about (true) or refused. Either way
    // it counts as the page's latest download; a user action counts for one download only.
    bool mayAsk(quintptr page, qint64 nowMs);
    // The user answered the question about the page's download: the chain counts from there.
    void noteAnswered(quintptr page, qint64 nowMs);
    // The page is gone: a new page at its address starts afresh.
    void forget(quintptr page) { m_pages.remove(page); }
    bool knows(quintptr page) const { return m_pages.contains(page); }

private:
    struct PageRecord
    {
        qint64 lastAction = 0;
        qint64 lastDownload = 0;
        bool acted = false;
        bool downloaded = false;
    };

    QHash<quintptr, PageRecord> m_pages;
};
