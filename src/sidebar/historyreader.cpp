#include "historyreader.h"

void HistoryReader::load(QList<HistoryStore::Entry> entries)
{
    m_entries = std::move(entries);
}

void HistoryReader::release()
{
    m_entries.clear();
}

HistoryStore::Entry HistoryReader::item(int index) const
{
    return index >= 0 && index < m_entries.size() ? m_entries.at(index) : HistoryStore::Entry();
}
