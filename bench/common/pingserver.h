#pragma once

#include "testserver.h"

#include <QHash>
#include <QSet>

#include <chrono>

// The test server's numbered pages, with their load reports counted: page n lives at /page/n and
// its onload handler requests /loaded?n, so the moment a program finished loading it is seen
// from outside the same way for every program. A page that comes into view again reports its
// first frame (/shown?n): the moment a tab switch shows it. Each change of a page's visibility is
// reported at once (/visibility?n): the pages a tab switch woke or covered.
class PingServer : public TestServer
{
public:
    using Clock = std::chrono::steady_clock;

    PingServer();

    int pingCount(int page) const;
    bool allPinged(int first, int count) const;
    // When page first pinged since the last forget(); only meaningful when pingCount(page) > 0.
    Clock::time_point firstPing(int page) const;
    // The page that last reported it shows again, and when; 0 when none has since forget().
    int lastShownPage() const { return m_lastShownPage; }
    Clock::time_point lastShown() const { return m_lastShown; }
    // When page last reported it shows again; the clock's start when it never did.
    Clock::time_point lastShown(int page) const { return m_shown.value(page); }
    // How many pages reported a change of their visibility since the last markVisibility().
    int pagesChangedVisibility() const { return int(m_visibilityChanged.size()); }
    void markVisibility() { m_visibilityChanged.clear(); }
    // Starts counting anew, for the next run.
    void forget();

private:
    QHash<int, int> m_pingCounts;
    QHash<int, Clock::time_point> m_firstPings;
    QHash<int, Clock::time_point> m_shown;
    QSet<int> m_visibilityChanged;
    int m_lastShownPage = 0;
    Clock::time_point m_lastShown;
};
