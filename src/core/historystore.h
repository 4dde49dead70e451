#pragma once

#include <QDateTime>
#include <QElapsedTimer>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

// Quarvel's own browsing history: one row per address with its page title and the time of the
// last visit (UTC), kept in an SQLite database in the data folder ("history.db"). Each instance
// holds its own connection, so several may be open on the same file.
class HistoryStore
{
public:
    struct Entry
    {
        QString title;
        QString url;
        QDateTime lastVisit; // UTC
    };

    // The store of this user ("history.db" in the data folder).
    HistoryStore();
    explicit HistoryStore(const QString &filePath);
    ~HistoryStore();
    HistoryStore(const HistoryStore &) = delete;
    HistoryStore &operator=(const HistoryStore &) = delete;

    static QString defaultFile();
    // The process-wide store on defaultFile(), opened on first use and closed with the
    // application.
    static HistoryStore &instance();

    QString filePath() const { return m_filePath; }
    // Whether the database could be opened and prepared.
    bool isOpen() const { return m_ready; }
    // Whether another program held the database locked when it was last tried: visits wait
    // in memory meanwhile and are written once it lets go (addVisit tries again now and then).
    bool isLocked() const { return m_locked; }
    // How long a locked store waits before addVisit tries it again (five seconds unless set).
    void setLockRetryInterval(int ms) { m_lockRetryMs = ms; }
    // Checks every page of the database (SQLite's quick check). A damaged store counts as not
    // open from then on: nothing is written to it, so the file stays as it is.
    bool checkIntegrity();

    // Records a visit of the address: a new row, or the row of that address with the new time
    // (and the new title, when one is given). Empty and "about:blank" addresses are not kept.
    // Returns false when nothing was written (a visit kept for a locked store included).
    bool addVisit(const QString &url, const QString &title,
                  const QDateTime &when = QDateTime::currentDateTimeUtc());
    // Every entry, the most recent visit first.
    QList<Entry> snapshot() const;
    // Every address, the most recent visit first: what snapshot() gives, without titles and times.
    QStringList addresses() const;
    // Each visit and each clearing changes the revision, so a copy of addresses() is current
    // while it stays the same. Cheap: it looks at two indexes, not at the rows.
    struct Revision
    {
        qint64 lastRow = 0;
        qint64 latestVisit = 0; // ms since the epoch
        bool operator==(const Revision &) const = default;
    };
    Revision revision() const;
    // Forgets every entry.
    bool clear();

private:
    struct Visit
    {
        QString url;
        QString title;
        QDateTime when;
    };
    bool open();
    // Creates the table and its index when missing; notes a lock when that is why it failed.
    bool prepareTable();
    bool writeVisit(const Visit &visit);
    // Notes whether the last statement failed because another program holds the lock.
    bool noteLock(const QSqlQuery &query);
    void retryLockedStore();

    QString m_filePath;
    QString m_connectionName;
    QSqlDatabase m_db;
    bool m_ready = false;
    bool m_locked = false;
    QList<Visit> m_waitingVisits;
    QElapsedTimer m_lastLockTry;
    int m_lockRetryMs;
};
