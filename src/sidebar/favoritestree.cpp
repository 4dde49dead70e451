#include "favoritestree.h"

#include "core/appstate.h"
#include "core/paths.h"
#include "core/userfile.h"
#include "sidebarimages.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QEvent>
#include <QFileInfo>
#include <QMouseEvent>
#include <QTreeWidget>

namespace {

// The longest stretch of tree building between two turns of the event loop.
constexpr qint64 kSliceMs = 20;

// What the folders below folder look like: each folder's path and last change, in the order
// they are met. Adding, removing or renaming a shortcut or folder changes the folder that holds
// it (a shortcut is written by renaming a new file over it). Links are not followed; a very
// large tree is looked at only in part.
QByteArray folderStamp(const QString &folder)
{
    constexpr int kMaxFolders = 2000;
    QByteArray stamp = QByteArray::number(QFileInfo(folder).lastModified().toMSecsSinceEpoch());
    QDirIterator it(folder, QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks | QDir::Hidden,
                    QDirIterator::Subdirectories);
    for (int n = 0; n < kMaxFolders && it.hasNext(); ++n) {
        it.next();
        stamp += '\n' + it.filePath().toUtf8() + ' '
            + QByteArray::number(it.fileInfo().lastModified().toMSecsSinceEpoch());
    }
    return stamp;
}

// Runs work item by item and lets the event loop turn between slices; false as soon as
// keepAlive says the work must stop.
class Slicer
{
public:
    explicit Slicer(std::function<bool()> keepAlive) : m_keepAlive(std::move(keepAlive))
    {
        m_timer.start();
    }
    bool tick()
    {
        if (m_timer.elapsed() < kSliceMs)
            return true;
        const bool goOn = m_keepAlive();
        m_timer.restart();
        return goOn;
    }

private:
    std::function<bool()> m_keepAlive;
    QElapsedTimer m_timer;
};

QString nodeKey(const QTreeWidgetItem *item)
{
    return item->data(0, Qt::UserRole).toString();
}

} // namespace

FavoritesTree::FavoritesTree(QTreeWidget *tree, const SidebarHost &host, QObject *parent)
    : QObject(parent), m_tree(tree), m_host(host)
{
    if (!tree)
        return;
    tree->setUniformRowHeights(true);
    tree->viewport()->installEventFilter(this);
    connect(tree, &QTreeWidget::itemDoubleClicked, this, [this] {
        if (m_tree)
            openNode(m_tree->currentItem());
    });
}

QString FavoritesTree::favoritesFolder()
{
    return Paths::dataFile(QStringLiteral("Favorites"));
}

QString FavoritesTree::cacheFile()
{
    QString base = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    if (base.isEmpty())
        base = QStringLiteral("quarvel");
    return Paths::dataFile(base + QLatin1String(".ini"));
}

bool FavoritesTree::keepAlive()
{
    QCoreApplication::processEvents();
    return !m_tree.isNull();
}

bool FavoritesTree::loadFavorites(bool rescan)
{
    if (m_busy || !m_tree)
        return false;
    m_busy = true;
    // Taken before the scan: a change made while it runs is seen at the next showing.
    m_loadedStamp = folderStamp(favoritesFolder());
    const QPointer<FavoritesTree> self(this);
    const bool done = rebuild(rescan);
    if (!self)
        return false;
    m_busy = false;
    if (done)
        emit loaded();
    return done;
}

void FavoritesTree::reloadIfChanged()
{
    if (!m_busy && m_tree && folderStamp(favoritesFolder()) != m_loadedStamp)
        loadFavorites(true);
}

bool FavoritesTree::rebuild(bool rescan)
{
    const QPointer<FavoritesTree> self(this);
    auto keepGoing = [self] { return self && self->keepAlive(); };
    AppState::linkNames.clear();
    AppState::linkUrls.clear();

    FavoritesScan scan;
    QList<FavoritesScan::Node> folders;
    if (rescan) {
        scan.setPump(keepGoing);
        if (!scan.scan(favoritesFolder()))
            return false; // this object or its tree is gone
        folders = scan.folders();
        AppState::linkNames = scan.linkNames();
        AppState::linkUrls = scan.linkUrls();
    } else {
        QList<FavoritesScan::Record> cached;
        if (!FavoritesScan::readCache(cacheFile(), &folders, &cached) || folders.isEmpty())
            return rebuild(true);
        for (const FavoritesScan::Record &record : std::as_const(cached))
            scan.addRecord(record.folder, record.name, false, record.url);
    }

    if (!m_tree)
        return false;
    m_tree->clear();
    m_items.clear();
    m_nodes.clear();
    m_records = scan.records();
    Slicer slicer(keepGoing);
    for (const FavoritesScan::Node &node : std::as_const(folders)) {
        addFolderNode(node);
        if (!slicer.tick()) {
            if (self)
                m_items.clear();
            return false;
        }
    }
    if (!selectStartNode())
        return false;
    if (rescan) {
        const std::optional<QByteArray> cache =
            FavoritesScan::cacheData(m_nodes, m_records, [&slicer] { return slicer.tick(); });
        if (!cache)
            return false;
        UserFile::save(cacheFile(), *cache);
    }
    if (!addLeafNodes())
        return false;
    if (QTreeWidgetItem *root = m_tree->topLevelItem(0))
        root->setExpanded(true);
    return true;
}

QTreeWidgetItem *FavoritesTree::addFolderNode(const FavoritesScan::Node &node)
{
    if (m_items.contains(node.key))
        return nullptr;
    QTreeWidgetItem *parent = nullptr;
    if (!m_nodes.isEmpty()) {
        parent = m_items.value(node.parentKey);
        if (!parent)
            return nullptr;
    }
    auto *item = new QTreeWidgetItem(QStringList{node.text});
    item->setData(0, Qt::UserRole, node.key);
    item->setIcon(0, SidebarImages::icon(parent ? QStringLiteral("Fav") : QStringLiteral("fopen")));
    if (parent)
        parent->addChild(item);
    else
        m_tree->addTopLevelItem(item);
    m_items.insert(node.key, item);
    m_nodes.append(node);
    return item;
}

bool FavoritesTree::addLeafNodes()
{
    // Leaves are made first and handed to their folders in one go per folder: far cheaper
    // than one insertion each.
    const QPointer<FavoritesTree> self(this);
    Slicer slicer([self] { return self && self->keepAlive(); });
    QList<QTreeWidgetItem *> parents;
    QHash<QTreeWidgetItem *, QList<QTreeWidgetItem *>> leaves;
    auto dropPending = [&leaves] {
        for (const QList<QTreeWidgetItem *> &items : std::as_const(leaves))
            qDeleteAll(items);
        leaves.clear();
    };
    const QIcon icon = SidebarImages::icon(QStringLiteral("Fav"));
    const QList<FavoritesScan::Record> records = m_records;
    for (const FavoritesScan::Record &record : records) {
        QTreeWidgetItem *parent = m_items.value(record.folder);
        if (!parent || m_items.contains(record.url))
            continue;
        auto *item = new QTreeWidgetItem(QStringList{record.name});
        item->setData(0, Qt::UserRole, record.url);
        item->setIcon(0, icon);
        m_items.insert(record.url, item);
        m_nodes.append({record.folder, record.url, record.name});
        QList<QTreeWidgetItem *> &list = leaves[parent];
        if (list.isEmpty())
            parents.append(parent);
        list.append(item);
        if (!slicer.tick()) {
            dropPending();
            if (self)
                m_items.clear();
            return false;
        }
    }
    for (QTreeWidgetItem *parent : std::as_const(parents)) {
        parent->addChildren(leaves.take(parent));
        if (!slicer.tick()) {
            dropPending();
            if (self)
                m_items.clear();
            return false;
        }
    }
    return true;
}

bool FavoritesTree::selectStartNode()
{
    const QString target = m_startTarget.isEmpty()
        ? FavoritesScan::childKey(favoritesFolder(), QString())
        : m_startTarget;
    for (const FavoritesScan::Node &node : std::as_const(m_nodes)) {
        if (node.key.compare(target, Qt::CaseInsensitive) != 0)
            continue;
        QTreeWidgetItem *item = m_items.value(node.key);
        if (!item)
            return true;
        item->setExpanded(true);
        m_tree->scrollToItem(item);
        m_tree->setCurrentItem(item);
        return addLeafNodes();
    }
    return true;
}

void FavoritesTree::openNode(QTreeWidgetItem *item)
{
    if (!item || item->childCount() > 0)
        return;
    const QString key = nodeKey(item);
    if (!key.isEmpty())
        m_host.openPicked(key, AppState::settings.controlFavNew);
}

bool FavoritesTree::eventFilter(QObject *watched, QEvent *event)
{
    // Only mouse events reach the tree: other events may come while it is being destroyed.
    if (event->type() == QEvent::MouseButtonPress && m_tree && watched == m_tree->viewport()) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (QTreeWidgetItem *item = m_tree->itemAt(mouse->position().toPoint()))
            m_tree->setCurrentItem(item);
    }
    return QObject::eventFilter(watched, event);
}
