#pragma once

#include "favoritesscan.h"
#include "sidebarhost.h"

#include <QHash>
#include <QObject>
#include <QPointer>

class QTreeWidget;
class QTreeWidgetItem;

// The side bar's favorites tree: one node per folder of the Favorites folder, one leaf per
// Internet shortcut, keyed (Qt::UserRole) by the folder's path or the shortcut's address. A
// rescan also writes the favorites cache and hands the links of the "Links" folders to
// AppState::linkNames and linkUrls.
class FavoritesTree : public QObject
{
    Q_OBJECT
public:
    FavoritesTree(QTreeWidget *tree, const SidebarHost &host, QObject *parent = nullptr);

    // "Favorites" in the data folder.
    static QString favoritesFolder();
    // The cache: the program's base name and ".ini", in the data folder.
    static QString cacheFile();

    // The node selected after a rebuild: the one whose key equals the command line (in any
    // letter case); with an empty command line, the root.
    void setStartTarget(const QString &commandLine) { m_startTarget = commandLine; }

    // Rebuilds the tree, by a rescan of the folder or from the cache. Events keep running
    // while it works; a call made meanwhile returns false at once, as does a rebuild that had
    // to stop.
    bool loadFavorites(bool rescan = true);
    // Whether a rebuild is under way.
    bool isLoading() const { return m_busy; }
    // Rescans when a folder below the Favorites folder changed since the last load (the
    // section is being shown).
    void reloadIfChanged();
    // Opens a node without children: its key, in a new tab when the settings ask for it.
    void openNode(QTreeWidgetItem *item);

signals:
    void loaded();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool rebuild(bool rescan);
    QTreeWidgetItem *addFolderNode(const FavoritesScan::Node &node);
    bool addLeafNodes();
    // False when the work had to stop (this object or the tree is gone).
    bool selectStartNode();
    bool keepAlive();

    QPointer<QTreeWidget> m_tree;
    SidebarHost m_host;
    QString m_startTarget;
    // What the last rebuild left in the tree (nodes in the order they were added) and read
    // (records in scan order).
    QList<FavoritesScan::Node> m_nodes;
    QList<FavoritesScan::Record> m_records;
    QHash<QString, QTreeWidgetItem *> m_items; // by key
    bool m_busy = false;
    // What the folders looked like when the tree was last loaded (FolderStamp).
    QByteArray m_loadedStamp;
};
