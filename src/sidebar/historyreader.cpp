#include "historyreader.h"

void HistoryReader::load(const HistoryStore &store)
{
    m_entries = store.snapshot();
    m_loaded = true;
}

void HistoryReader::load(QList<HistoryStore::Entry> entries)
{
    m_entries = std::move(entries);
    m_loaded = true;
}

void HistoryReader::release()
{
    m_entries.clear();
    m_loaded = false;
}

HistoryStore::Entry HistoryReader::item(int index) const
{
    return index >= 0 && index < m_entries.size() ? m_entries.at(index) : HistoryStore::Entry();
}
