#include "downloadorigins.h"

#include <QObject>

namespace {

QUrl withoutFragment(const QUrl &url)
{
    return url.adjusted(QUrl::RemoveFragment);
}

} // namespace

DownloadOrigins &DownloadOrigins::shared()
{
    static DownloadOrigins origins;
    return origins;
}

void DownloadOrigins::note(QObject *page, const QUrl &url)
{
    const QUrl key = withoutFragment(url);
    m_entries.removeIf([&](const Entry &entry) { return !entry.page || (entry.page == page && entry.url == key); });
    if (m_entries.size() >= Limit)
        m_entries.remove(0, m_entries.size() - Limit + 1);
    m_entries.append({key, page});
    if (!m_watched.contains(page)) {
        m_watched.insert(page);
        QObject::connect(page, &QObject::destroyed, [this, page] {
            m_watched.remove(page);
            m_lastWentMs = m_clock.elapsed();
        });
    }
}

bool DownloadOrigins::pageWentWithin(qint64 ms) const
{
    return m_lastWentMs >= 0 && m_clock.elapsed() - m_lastWentMs <= ms;
}

QObject *DownloadOrigins::pageOf(const QUrl &url) const
{
    const QUrl key = withoutFragment(url);
    for (auto it = m_entries.crbegin(); it != m_entries.crend(); ++it) {
        if (it->page && it->url == key)
            return it->page;
    }
    return nullptr;
}
