#include "downloadgate.h"

#include <algorithm>

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
    const bool usersOwn = record.acted && nowMs - record.lastAction <= kUserActionMs &&
                          (!record.downloaded || record.lastAction > record.lastDownload);
    const bool chained = record.downloaded && nowMs - record.lastDownload < kChainMs;
    record.lastDownload = record.downloaded ? std::max(record.lastDownload, nowMs) : nowMs;
    record.downloaded = true;
    return usersOwn || !chained;
}

void DownloadGate::noteAnswered(quintptr page, qint64 nowMs)
{
    PageRecord &record = m_pages[page];
    record.lastDownload = record.downloaded ? std::max(record.lastDownload, nowMs) : nowMs;
    record.downloaded = true;
}
