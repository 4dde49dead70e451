#pragma once

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QFileInfo;

// The user's Favorites folder read into memory: its folders as keyed nodes, its Internet
// shortcuts as records, and the links of the folders named "Links". No widgets: the favorites
// tree builds itself from a scan or from the cache this class writes and reads.
class FavoritesScan
{
public:
    // A node of the favorites tree. The root's parent key is empty; a folder's key is its path,
    // the root's with a "/" at the end; a shortcut's key is its address.
    struct Node
    {
        QString parentKey;
        QString key;
        QString text;
        bool operator==(const Node &) const = default;
    };
    // One shortcut: the key of its folder, its file name less ".url", its address.
    struct Record
    {
        QString folder;
        QString name;
        QString url;
        bool operator==(const Record &) const = default;
    };

    static constexpr int kMaxLinks = 10;
    // The most entries (folders and files) one scan looks at.
    static constexpr int kMaxEntries = 100000;

    // Called every ~20 ms of scanning; returning false stops the scan.
    void setPump(std::function<bool()> pump) { m_pump = std::move(pump); }

    // Forgets the previous scan and reads folderPath and everything below it. Entries of a
    // folder are taken in name order, a sub-folder at once where it stands (depth first). A
    // folder reached a second time (through a link) is not entered again, and a link that leads
    // out of folderPath is not followed. At most kMaxEntries entries are looked at. False when
    // the pump stopped the scan; what was read until then stays.
    bool scan(const QString &folderPath);

    // Appends a record; an empty address is read from the shortcut file. A record of a
    // "Links" folder also joins the links list while it holds fewer than ten.
    void addRecord(const QString &folder, const QString &name, bool inLinks, const QString &url);
    void clear();

    const QList<Node> &folders() const { return m_folders; }
    const QList<Record> &records() const { return m_records; }
    const QStringList &linkNames() const { return m_linkNames; }
    const QStringList &linkUrls() const { return m_linkUrls; }

    // The cache's bytes: the node count, one line per node ("first" as the first node's parent),
    // then one line per record; three quoted fields a line, an inner quote doubled. tick is
    // called after every line, and returning false stops the work (no result then).
    static std::optional<QByteArray> cacheData(const QList<Node> &nodes,
                                               const QList<Record> &records,
                                               const std::function<bool()> &tick = {});
    // Reads a cache of cacheData's bytes (or one whose inner quotes are not doubled). The
    // first node's parent key comes back empty. False when the file cannot be read or its
    // first line is not a count.
    static bool readCache(const QString &path, QList<Node> *nodes, QList<Record> *records);
    // The folder key: path with a "/" added when it does not end in one, then name.
    static QString childKey(const QString &parentKey, const QString &name);
    // One cache line's fields.
    static QStringList parseFields(QStringView line);

private:
    bool scanFolder(const QString &parentKey, const QString &name, const QString &path);
    bool pump();
    // Whether a link's target lies in the scanned folder.
    bool leadsInside(const QFileInfo &link) const;

    std::function<bool()> m_pump;
    QList<Node> m_folders;
    QList<Record> m_records;
    QStringList m_linkNames, m_linkUrls;
    QSet<QString> m_seen; // canonical paths of the folders entered
    QString m_rootCanonical; // where every followed link must lead
    int m_entries = 0;
    qint64 m_lastPump = 0;
};
