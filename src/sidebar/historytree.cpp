#include "historytree.h"

#include "core/appstate.h"
#include "core/historystore.h"
#include "historygrouping.h"
#include "sidebarimages.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFutureWatcher>
#include <QtConcurrent/QtConcurrentRun>
#include <QHash>
#include <QMouseEvent>
#include <QTreeWidget>

namespace {

// Longest stretch of inserting before pending events are handled.
constexpr qint64 kSliceMs = 15;
const QString kLeafPrefix = QStringLiteral("History");

QTreeWidgetItem *newNode(const QString &text, const QString &key, const QIcon &icon)
{
    auto *node = new QTreeWidgetItem(QStringList{text});
    node->setIcon(0, icon);
    node->setData(0, Qt::UserRole, key);
    return node;
}

} // namespace

HistoryTree::HistoryTree(QTreeWidget *tree, const SidebarHost &host, QObject *parent)
    : QObject(parent), m_tree(tree), m_host(host)
{
    m_tree->setUniformRowHeights(true);
    m_tree->viewport()->installEventFilter(this);
}

HistoryTree::~HistoryTree() = default;

void HistoryTree::setStore(HistoryStore *store)
{
    m_store = store;
}

HistoryStore *HistoryTree::store() const
{
    return m_store ? m_store : &HistoryStore::instance();
}

void HistoryTree::loadHistory()
{
    if (m_loading) {
        m_reloadRequested = true; // the running load starts over at its next slice
        return;
    }
    m_loading = true;
    m_outOfDate = false;
    QPointer<HistoryTree> self(this);
    bool done = false;
    do {
        m_reloadRequested = false;
        m_released = false;
        done = build();
        if (!self)
            return;
    } while (!done && m_reloadRequested && m_tree);
    m_loading = false;
    Q_EMIT loaded();
}

void HistoryTree::reloadIfChanged()
{
    if (!m_loading && !m_released && (m_outOfDate || !(store()->revision() == m_loadedRevision)))
        loadHistory();
}

void HistoryTree::markOutOfDate()
{
    if (m_loading) {
        m_reloadRequested = true;
        return;
    }
    m_outOfDate = true;
    m_lastLoadOk = store()->isOpen();
    Q_EMIT loaded();
}

bool HistoryTree::build()
{
    if (!m_tree)
        return false;
    QPointer<HistoryTree> self(this);
    QElapsedTimer slice;
    slice.start();
    // Handles pending events once the slice is used up; false when the build must stop.
    const auto keepGoing = [&] {
        if (slice.elapsed() < kSliceMs)
            return true;
        QCoreApplication::processEvents();
        slice.restart();
        return self && m_tree && !m_reloadRequested && !m_released;
    };

    // The old leaves leave the tree at once and are deleted a slice at a time.
    QList<QTreeWidgetItem *> old;
    for (QTreeWidgetItem *group : m_tree->invisibleRootItem()->takeChildren()) {
        old += group->takeChildren();
        delete group;
    }
    while (!old.isEmpty()) {
        for (int n = 0; n < 256 && !old.isEmpty(); ++n)
            delete old.takeLast();
        if (!keepGoing()) {
            qDeleteAll(old);
            return false;
        }
    }

    m_reader.release();
    // The snapshot is read on a connection of its own off the interface thread; the window
    // stays live meanwhile.
    struct Snapshot
    {
        QList<HistoryStore::Entry> entries;
        HistoryStore::Revision revision;
        bool readable = false;
    };
    QFutureWatcher<Snapshot> reading;
    QEventLoop wait;
    connect(&reading, &QFutureWatcherBase::finished, &wait, &QEventLoop::quit);
    reading.setFuture(QtConcurrent::run([file = store()->filePath()] {
        const HistoryStore snapshotStore(file);
        // The revision first: a visit between the two readings makes the tree older than it
        // claims, never newer, so it is built again the next time it is shown.
        const HistoryStore::Revision revision = snapshotStore.revision();
        return Snapshot{snapshotStore.snapshot(), revision, snapshotStore.isOpen()};
    }));
    if (!reading.isFinished())
        wait.exec();
    if (!self || !m_tree || m_reloadRequested || m_released)
        return false;
    m_reader.load(reading.result().entries);
    m_loadedRevision = reading.result().revision;
    m_lastLoadOk = reading.result().readable;
    slice.restart();

    const QIcon groupIcon = SidebarImages::icon(QStringLiteral("fopen"));
    const QIcon leafIcon = SidebarImages::icon(QStringLiteral("HistItem"));
    const QDate today = QDate::currentDate();
    const QList<HistoryGrouping::Group> groups = HistoryGrouping::groups(HistoryGrouping::weekday(today));
    QList<QTreeWidgetItem *> groupNodes;
    QHash<QString, int> groupIndex;
    for (const HistoryGrouping::Group &group : groups) {
        groupIndex.insert(group.key, int(groupNodes.size()));
        groupNodes.append(newNode(group.text, group.key, groupIcon));
    }
    m_tree->addTopLevelItems(groupNodes);

    // Leaves wait here until the end of their slice and join their groups in one insertion.
    QList<QList<QTreeWidgetItem *>> pending(groupNodes.size());
    const auto flush = [&] {
        for (qsizetype g = 0; g < pending.size(); ++g) {
            if (!pending[g].isEmpty())
                groupNodes[g]->addChildren(pending[g]);
            pending[g].clear();
        }
    };

    const int count = m_reader.count();
    for (int i = 0; i < count; ++i) {
        const HistoryStore::Entry entry = m_reader.item(i);
        const QString &text = entry.title.isEmpty() ? entry.url : entry.title;
        if (!text.isEmpty()) {
            const QString group = HistoryGrouping::groupKey(entry.lastVisit.toLocalTime().date(), today);
            pending[groupIndex.value(group)].append(newNode(text, kLeafPrefix + QString::number(i), leafIcon));
        }
        if ((i & 63) != 63 || slice.elapsed() < kSliceMs)
            continue;
        flush();
        if (!keepGoing())
            return false; // the leaves so far stay; a reload clears them
    }
    flush();
    return true;
}

void HistoryTree::releaseHistoryReader()
{
    m_reader.release();
    m_released = true;
}

QString HistoryTree::historyItem(int index) const
{
    return m_reader.item(index).url;
}

void HistoryTree::openNode(QTreeWidgetItem *node)
{
    if (!node || node->childCount() > 0)
        return;
    const QString key = node->data(0, Qt::UserRole).toString();
    if (!key.startsWith(kLeafPrefix))
        return;
    bool ok = false;
    const int index = key.mid(kLeafPrefix.size()).toInt(&ok);
    if (!ok)
        return;
    const QString address = historyItem(index);
    if (!address.isEmpty())
        m_host.openPicked(address, AppState::settings.controlHistNew);
}

bool HistoryTree::eventFilter(QObject *watched, QEvent *event)
{
    // Only mouse events reach the tree: other events may come while it is being destroyed.
    const QEvent::Type type = event->type();
    if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) {
        if (m_tree && watched == m_tree->viewport()) {
            // Any button selects; a double click opens what is selected (the node under the
            // pointer, as the press before it selected).
            const auto *mouse = static_cast<QMouseEvent *>(event);
            if (QTreeWidgetItem *node = m_tree->itemAt(mouse->position().toPoint()))
                m_tree->setCurrentItem(node);
            if (type == QEvent::MouseButtonDblClick)
                openNode(m_tree->currentItem());
        }
    }
    return QObject::eventFilter(watched, event);
}
