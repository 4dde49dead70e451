#include "historystore.h"

#include "paths.h"
#include "userfile.h"
#include "utctime.h"

#include <QCoreApplication>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>

#include <atomic>
#include <memory>

namespace {

std::atomic<quint64> g_connectionSerial{0};

constexpr QFileDevice::Permissions kUserOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

// How long a statement waits for another program's lock: the store is used on the interface
// thread, which must not stall.
constexpr int kBusyTimeoutMs = 250;
// How often a locked store is tried again, and how many visits wait for it meanwhile.
constexpr int kLockRetryMs = 5000;
constexpr qsizetype kMaxWaitingVisits = 10000;

bool isIgnoredAddress(const QString &url)
{
    const QString trimmed = url.trimmed();
    return trimmed.isEmpty() || trimmed.compare(QLatin1String("about:blank"), Qt::CaseInsensitive) == 0;
}

} // namespace

QString HistoryStore::defaultFile()
{
    return Paths::dataFile(QStringLiteral("history.db"));
}

HistoryStore &HistoryStore::instance()
{
    static std::unique_ptr<HistoryStore> store;
    if (!store) {
        store = std::make_unique<HistoryStore>();
        // The program's own store is checked once; a damaged one is left alone and reported.
        store->checkIntegrity();
        // Closed while the application (and the database driver) still exists.
        qAddPostRoutine([] { store.reset(); });
    }
    return *store;
}

HistoryStore::HistoryStore()
    : HistoryStore(defaultFile())
{
}

HistoryStore::HistoryStore(const QString &filePath)
    : m_filePath(filePath),
      m_connectionName(QStringLiteral("HistoryStore-%1").arg(++g_connectionSerial)),
      m_lockRetryMs(kLockRetryMs)
{
    m_ready = open();
}

HistoryStore::~HistoryStore()
{
    if (m_db.isValid())
        m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_connectionName);
}

bool HistoryStore::open()
{
    // Something that is not a file is left as it is (SQLite would wait on a pipe without end),
    // and a link is followed only where a save would be: SQLite opens the file it leads to.
    const QString target = UserFile::writeTarget(m_filePath);
    if (target.isEmpty())
        return false;
    // SQLite gives its journal files the mode of the database file, so creating the file
    // user-only first keeps all of them private.
    if (UserFile::find(target) == UserFile::Found::Nothing && !UserFile::createEmpty(target))
        return false;
    QFile::setPermissions(target, kUserOnly);

    m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
    m_db.setDatabaseName(target);
    m_db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs));
    if (!m_db.open())
        return false;
    return prepareTable();
}

bool HistoryStore::prepareTable()
{
    QSqlQuery query(m_db);
    if (query.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS history ("
                                  " url TEXT PRIMARY KEY NOT NULL,"
                                  " title TEXT NOT NULL DEFAULT '',"
                                  " last_visit INTEGER NOT NULL)"))
        && query.exec(QStringLiteral(
            "CREATE INDEX IF NOT EXISTS history_last_visit ON history(last_visit)")))
        return true;
    noteLock(query);
    return false;
}

bool HistoryStore::noteLock(const QSqlQuery &query)
{
    // SQLITE_BUSY and SQLITE_LOCKED: another connection holds the database.
    const QString code = query.lastError().nativeErrorCode();
    if (code != QLatin1String("5") && code != QLatin1String("6"))
        return false;
    m_locked = true;
    m_ready = false;
    m_lastLockTry.start();
    return true;
}

void HistoryStore::retryLockedStore()
{
    if (!m_locked || (m_lastLockTry.isValid() && m_lastLockTry.elapsed() < m_lockRetryMs))
        return;
    m_lastLockTry.start();
    if (!prepareTable())
        return;
    m_locked = false;
    m_ready = true;
    if (!checkIntegrity())
        return;
    while (!m_waitingVisits.isEmpty() && writeVisit(m_waitingVisits.first()))
        m_waitingVisits.removeFirst();
}

bool HistoryStore::checkIntegrity()
{
    if (!m_ready)
        return false;
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    if (query.exec(QStringLiteral("PRAGMA quick_check")) && query.next()
        && query.value(0).toString() == QLatin1String("ok"))
        return true;
    noteLock(query);
    m_ready = false;
    return false;
}

bool HistoryStore::addVisit(const QString &url, const QString &title, const QDateTime &when)
{
    if (isIgnoredAddress(url))
        return false;
    const Visit visit{url.trimmed(), title, when};
    if (m_locked) {
        if (m_waitingVisits.size() < kMaxWaitingVisits)
            m_waitingVisits.append(visit);
        retryLockedStore();
        return false;
    }
    if (!m_ready)
        return false;
    if (writeVisit(visit))
        return true;
    if (m_locked && m_waitingVisits.size() < kMaxWaitingVisits)
        m_waitingVisits.append(visit);
    return false;
}

bool HistoryStore::writeVisit(const Visit &visit)
{
    QSqlQuery query(m_db);
    query.prepare(QStringLiteral(
        "INSERT INTO history (url, title, last_visit) VALUES (:url, :title, :visit)"
        " ON CONFLICT(url) DO UPDATE SET last_visit = excluded.last_visit,"
        " title = CASE WHEN excluded.title <> '' THEN excluded.title ELSE history.title END"));
    query.bindValue(QStringLiteral(":url"), visit.url);
    query.bindValue(QStringLiteral(":title"), visit.title.isNull() ? QStringLiteral("") : visit.title);
    query.bindValue(QStringLiteral(":visit"), visit.when.toMSecsSinceEpoch());
    if (query.exec())
        return true;
    noteLock(query);
    return false;
}

QList<HistoryStore::Entry> HistoryStore::snapshot() const
{
    QList<Entry> entries;
    if (!m_ready)
        return entries;
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral(
            "SELECT title, url, last_visit FROM history ORDER BY last_visit DESC, url")))
        return entries;
    while (query.next()) {
        entries.append({query.value(0).toString(), query.value(1).toString(),
                        UtcTime::fromMSecsSinceEpoch(query.value(2).toLongLong())});
    }
    return entries;
}

QStringList HistoryStore::addresses() const
{
    QStringList urls;
    if (!m_ready)
        return urls;
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT url FROM history ORDER BY last_visit DESC, url")))
        return urls;
    while (query.next())
        urls.append(query.value(0).toString());
    return urls;
}

HistoryStore::Revision HistoryStore::revision() const
{
    if (!m_ready)
        return {};
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT coalesce(max(rowid), 0), coalesce(max(last_visit), 0) FROM history"))
        || !query.next())
        return {};
    return {query.value(0).toLongLong(), query.value(1).toLongLong()};
}

bool HistoryStore::clear()
{
    if (!m_ready)
        return false;
    // VACUUM rewrites the file, so the forgotten rows do not linger in its free pages.
    QSqlQuery query(m_db);
    return query.exec(QStringLiteral("DELETE FROM history"))
        && query.exec(QStringLiteral("VACUUM"));
}
