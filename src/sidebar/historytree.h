#pragma once

#include "core/historystore.h"
#include "historyreader.h"
#include "sidebarhost.h"

#include <QObject>
#include <QPointer>

class QTreeWidget;
class QTreeWidgetItem;

// Fills the side bar's history tree: the day and week groups of HistoryGrouping, each holding
// the entries visited then (key "History" & index in Qt::UserRole, the group nodes' keys
// likewise). A long history is inserted in slices with events handled in between, so the
// window stays responsive; a load asked for meanwhile starts over with a fresh snapshot.
// A mouse press selects the node under it; a double click opens the selected entry.
class HistoryTree : public QObject
{
    Q_OBJECT
public:
    HistoryTree(QTreeWidget *tree, const SidebarHost &host, QObject *parent = nullptr);
    ~HistoryTree() override;

    // The store the tree shows; HistoryStore::instance() unless another is set. Not owned.
    void setStore(HistoryStore *store);
    HistoryStore *store() const;

    // Takes a new snapshot of the store and rebuilds the tree from it; loaded() follows.
    void loadHistory();
    // Whether the last load could read the store.
    bool lastLoadSucceeded() const { return m_lastLoadOk; }
    // Loads the tree again when the store has changed since the last load, or when it was
    // marked out of date (the section is being shown: this run's visits appear).
    void reloadIfChanged();
    // The tree is built at its next reloadIfChanged() rather than now (a section no one sees
    // need not hold every visit); whether the store can be read is checked at once.
    void markOutOfDate();
    // Lets go of the snapshot: leaves can no longer be opened (the frame's unload).
    void releaseHistoryReader();
    // The address of entry index (a leaf's number) of the snapshot the tree was built from;
    // empty outside it and once the snapshot is let go.
    QString historyItem(int index) const;

    // Opens the entry of a leaf as the host opens picked addresses (a new tab when
    // ControlHistNew is set). Group nodes and nodes with children open nothing.
    void openNode(QTreeWidgetItem *node);

signals:
    void loaded();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // One pass over a fresh snapshot; false when it stopped early (reload asked for, reader
    // released, tree or this object gone).
    bool build();

    QPointer<QTreeWidget> m_tree;
    SidebarHost m_host;
    HistoryStore *m_store = nullptr;
    HistoryReader m_reader;
    // The store's revision the tree was last built from.
    HistoryStore::Revision m_loadedRevision;
    bool m_loading = false;
    bool m_lastLoadOk = true;
    bool m_reloadRequested = false;
    bool m_released = false;
    bool m_outOfDate = false;
};
