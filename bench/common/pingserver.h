#pragma once

#include "testserver.h"

#include <QHash>

#include <chrono>

// The test server's numbered pages, with their load reports counted: page n lives at /page/n and
// its onload handler requests /loaded?n, so the moment a program finished loading it is seen
// from outside the same way for every program. A page that comes into view again reports its
// first frame (/shown?n): the moment a tab switch shows it.
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
    // Starts counting anew, for the next run.
    void forget();

private:
    QHash<int, int> m_pingCounts;
    QHash<int, Clock::time_point> m_firstPings;
    int m_lastShownPage = 0;
    Clock::time_point m_lastShown;
};
