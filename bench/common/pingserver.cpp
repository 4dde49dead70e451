#include "pingserver.h"

PingServer::PingServer()
{
    connect(this, &TestServer::pageLoaded, this, [this](int page) {
        const Clock::time_point now = Clock::now();
        if (m_pingCounts[page]++ == 0)
            m_firstPings.insert(page, now);
    });
    connect(this, &TestServer::pageShown, this, [this](int page) {
        m_lastShown = Clock::now();
        m_lastShownPage = page;
        m_shown.insert(page, m_lastShown);
    });
    connect(this, &TestServer::pageVisibilityChanged, this,
            [this](int page) { m_visibilityChanged.insert(page); });
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

void PingServer::forget()
{
    m_pingCounts.clear();
    m_firstPings.clear();
    m_shown.clear();
    m_visibilityChanged.clear();
    m_lastShownPage = 0;
}
