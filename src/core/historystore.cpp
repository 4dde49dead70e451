#include "historystore.h"

#include "paths.h"

#include <QCoreApplication>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>

#include <atomic>
#include <memory>

namespace {

std::atomic<quint64> g_connectionSerial{0};

constexpr QFileDevice::Permissions kUserOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

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
      m_connectionName(QStringLiteral("HistoryStore-%1").arg(++g_connectionSerial))
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
    // SQLite gives its journal files the mode of the database file, so creating the file
    // user-only first keeps all of them private.
    if (!QFile::exists(m_filePath)) {
        QFile file(m_filePath);
        if (!file.open(QIODevice::WriteOnly))
            return false;
        file.close();
    }
    QFile::setPermissions(m_filePath, kUserOnly);

    m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
    m_db.setDatabaseName(m_filePath);
    if (!m_db.open())
        return false;
    QSqlQuery query(m_db);
    return query.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS history ("
                                     " url TEXT PRIMARY KEY NOT NULL,"
                                     " title TEXT NOT NULL DEFAULT '',"
                                     " last_visit INTEGER NOT NULL)"))
        && query.exec(QStringLiteral(
            "CREATE INDEX IF NOT EXISTS history_last_visit ON history(last_visit)"));
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
    m_ready = false;
    return false;
}

bool HistoryStore::addVisit(const QString &url, const QString &title, const QDateTime &when)
{
    if (!m_ready || isIgnoredAddress(url))
        return false;
    QSqlQuery query(m_db);
    query.prepare(QStringLiteral(
        "INSERT INTO history (url, title, last_visit) VALUES (:url, :title, :visit)"
        " ON CONFLICT(url) DO UPDATE SET last_visit = excluded.last_visit,"
        " title = CASE WHEN excluded.title <> '' THEN excluded.title ELSE history.title END"));
    query.bindValue(QStringLiteral(":url"), url.trimmed());
    query.bindValue(QStringLiteral(":title"), title.isNull() ? QStringLiteral("") : title);
    query.bindValue(QStringLiteral(":visit"), when.toMSecsSinceEpoch());
    return query.exec();
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
                        QDateTime::fromMSecsSinceEpoch(query.value(2).toLongLong(), Qt::UTC)});
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
