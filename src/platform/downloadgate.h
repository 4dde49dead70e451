#pragma once

#include <QHash>
#include <QtGlobal>

// Which downloads the user is asked about. A download the user started (with a click or a key
// on the page since its previous download) is always asked. A page that starts downloads by
// itself gets one question while it stays: however long it waits between them, its further
// downloads are refused unasked until the user clicks or presses a key in it (which allows one
// more) or takes it elsewhere.
//
// A page stays while it shows what it showed when the user last took it somewhere: whatever the
// page does by itself (reloading itself, a script or a refresh moving it to another address,
// redirects) it stays; a new question comes only with the user's doing. Counting a new address
// as a new page would let a page that moves itself to a fresh address ask again every time.
//
// Pages are told apart by a key (the page's address in memory); times are in milliseconds of
// any steady clock.
class DownloadGate
{
public:
    // The user clicked or pressed a key on the page.
    void noteUserAction(quintptr page, qint64 nowMs);
    // Whether a download the page starts now is to be asked about (true) or refused. Either way
    // it counts as the page's latest download; a user action counts for one download only.
    bool mayAsk(quintptr page, qint64 nowMs);
    // The user answered the question about the page's download: what the user did while it was
    // open does not count for the next one.
    void noteAnswered(quintptr page, qint64 nowMs);
    // The user took the page to another address: it starts afresh.
    void restart(quintptr page) { m_pages.insert(page, PageRecord()); }
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
        // The page's one question about a download it started by itself was asked.
        bool ownAsked = false;
    };

    QHash<quintptr, PageRecord> m_pages;
};
