#pragma once

#include "core/historystore.h"

#include <QList>

// The history as the history tree shows it: a snapshot of a history store taken by load and
// kept, unchanged, until release or the next load, so that a leaf of the tree can still be
// opened by its index while the store changes. Index 0 is the most recent visit.
class HistoryReader
{
public:
    // Takes a store's entries (HistoryStore::snapshot, read off the interface thread) as the
    // snapshot.
    void load(QList<HistoryStore::Entry> entries);
    void release();

    int count() const { return int(m_entries.size()); }
    // Entry index; an empty entry outside 0..count() - 1.
    HistoryStore::Entry item(int index) const;

private:
    QList<HistoryStore::Entry> m_entries;
};
