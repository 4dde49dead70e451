#include "downloadgate.h"

#include <algorithm>

namespace {

void noteDownload(qint64 &lastDownload, bool &downloaded, qint64 nowMs)
{
    lastDownload = downloaded ? std::max(lastDownload, nowMs) : nowMs;
    downloaded = true;
}

} // namespace

void DownloadGate::noteUserAction(quintptr page, qint64 nowMs)
{
    PageRecord &record = m_pages[page];
    record.lastAction = nowMs;
    record.acted = true;
}

bool DownloadGate::mayAsk(quintptr page, qint64 nowMs)
{
    PageRecord &record = m_pages[page];
    // The action must come after the page's previous download: one click, one question.
    const bool usersOwn = record.acted && (!record.downloaded || record.lastAction > record.lastDownload);
    noteDownload(record.lastDownload, record.downloaded, nowMs);
    // A question the user's own download had stands for the page's one too: what a click set
    // off gets one question, whether it downloads at once or later.
    const bool ask = usersOwn || !record.ownAsked;
    record.ownAsked = true;
    return ask;
}

void DownloadGate::noteAnswered(quintptr page, qint64 nowMs)
{
    PageRecord &record = m_pages[page];
    noteDownload(record.lastDownload, record.downloaded, nowMs);
}
