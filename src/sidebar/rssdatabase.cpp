#include "rssdatabase.h"

#include "core/paths.h"
#include "core/userfile.h"
#include "core/utctime.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

#include <atomic>

namespace {

std::atomic<quint64> g_connectionSerial{0};

// A null text would bind as NULL, which never equals anything; bind the empty text instead.
QVariant text(const QString &value)
{
    return value.isNull() ? QVariant(QStringLiteral("")) : QVariant(value);
}

const char *const kSchema[] = {
    "CREATE TABLE IF NOT EXISTS Channels ("
    " ChannelID INTEGER PRIMARY KEY AUTOINCREMENT,"
    " ChannelTitle TEXT NOT NULL DEFAULT '',"
    " ChannelDescription TEXT NOT NULL DEFAULT '',"
    " FeedURL TEXT NOT NULL DEFAULT '',"
    " LastFetched TEXT NOT NULL DEFAULT '',"
    " ImageURL TEXT NOT NULL DEFAULT '',"
    " FeedXML TEXT NOT NULL DEFAULT '')",
    "CREATE TABLE IF NOT EXISTS Headlines ("
    " HeadlineID INTEGER PRIMARY KEY AUTOINCREMENT,"
    " ChannelID INTEGER NOT NULL,"
    " HeadlineTitle TEXT NOT NULL DEFAULT '',"
    " HeadlinelDescription TEXT NOT NULL DEFAULT '',"
    " HeadlineURL TEXT NOT NULL DEFAULT '',"
    " bRead INTEGER NOT NULL DEFAULT 0,"
    " HeadlineDate TEXT NOT NULL DEFAULT '',"
    " HeadlineAddingDate TEXT NOT NULL DEFAULT '')",
    // A channel's headlines and their duplicate check; the purge. (Few indexes keep the
    // purge of many rows quick.)
    "CREATE INDEX IF NOT EXISTS HeadlinesByChannelURL ON Headlines (ChannelID, HeadlineURL)",
    "CREATE INDEX IF NOT EXISTS HeadlinesByAge ON Headlines (bRead, HeadlineAddingDate)",
};

RssDatabase::Channel channelFrom(const QSqlQuery &q)
{
    RssDatabase::Channel c;
    c.channelId = q.value(QStringLiteral("ChannelID")).toInt();
    c.channelTitle = q.value(QStringLiteral("ChannelTitle")).toString();
    c.channelDescription = q.value(QStringLiteral("ChannelDescription")).toString();
    c.feedUrl = q.value(QStringLiteral("FeedURL")).toString();
    c.lastFetched = RssDatabase::fromStorage(q.value(QStringLiteral("LastFetched")).toString());
    c.imageUrl = q.value(QStringLiteral("ImageURL")).toString();
    return c;
}

RssDatabase::Headline headlineFrom(const QSqlQuery &q)
{
    RssDatabase::Headline h;
    h.headlineId = q.value(QStringLiteral("HeadlineID")).toInt();
    h.channelId = q.value(QStringLiteral("ChannelID")).toInt();
    h.headlineTitle = q.value(QStringLiteral("HeadlineTitle")).toString();
    h.headlinelDescription = q.value(QStringLiteral("HeadlinelDescription")).toString();
    h.headlineUrl = q.value(QStringLiteral("HeadlineURL")).toString();
    h.read = q.value(QStringLiteral("bRead")).toInt() != 0;
    h.headlineDate = RssDatabase::fromStorage(q.value(QStringLiteral("HeadlineDate")).toString());
    h.headlineAddingDate =
        RssDatabase::fromStorage(q.value(QStringLiteral("HeadlineAddingDate")).toString());
    return h;
}

} // namespace

QDateTime RssDatabase::firstLastFetched()
{
    return UtcTime::at(QDate(1978, 8, 9), QTime(0, 0));
}

QString RssDatabase::defaultFile()
{
    return Paths::dataFile(QStringLiteral("newsfeeddb.mdb"));
}

RssDatabase::RssDatabase(const QString &filePath)
    : m_filePath(filePath),
      m_connectionName(QStringLiteral("RssDatabase-%1").arg(++g_connectionSerial))
{
}

RssDatabase::~RssDatabase()
{
    close();
}

QString RssDatabase::toStorage(const QDateTime &date)
{
    return date.toUTC().toString(Qt::ISODate);
}

QDateTime RssDatabase::fromStorage(const QString &text)
{
    QDateTime date = QDateTime::fromString(text, Qt::ISODate);
    return date.isValid() ? date.toUTC() : date;
}

QDateTime RssDatabase::now() const
{
    return m_clock ? m_clock() : QDateTime::currentDateTimeUtc();
}

bool RssDatabase::fail(const QString &text)
{
    m_lastError = text;
    return false;
}

bool RssDatabase::failed(const QSqlQuery &query)
{
    return fail(query.lastError().text());
}

bool RssDatabase::open()
{
    if (m_open)
        return true;
    m_lastError.clear();
    // Something that is not a file is left as it is (SQLite would wait on a pipe without end),
    // and a link is followed only where a save would be: SQLite opens the file it leads to.
    const QString target = UserFile::writeTarget(m_filePath);
    if (target.isEmpty())
        return fail(QStringLiteral("%1 is not a file").arg(m_filePath));
    // SQLite gives its journal the mode of the database file: create it user-only first.
    if (UserFile::find(target) == UserFile::Found::Nothing && !UserFile::createEmpty(target))
        return fail(QStringLiteral("%1 could not be created").arg(m_filePath));
    m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
    m_db.setDatabaseName(target);
    if (!m_db.open()) {
        fail(m_db.lastError().text());
        close();
        return false;
    }
    QSqlQuery query(m_db);
    // Headlines are public feed text: deleted rows need not be overwritten. A larger page
    // cache keeps a purge of many rows in memory.
    query.exec(QStringLiteral("PRAGMA secure_delete=OFF"));
    query.exec(QStringLiteral("PRAGMA cache_size=-16384"));
    // The first statement that reads the file: a file of another kind fails here.
    for (const char *statement : kSchema) {
        if (!query.exec(QLatin1String(statement))) {
            failed(query);
            close();
            return false;
        }
    }
    // Every column the reader uses must be there (a table of the same name from elsewhere).
    const QSqlRecord channels = m_db.record(QStringLiteral("Channels"));
    const QSqlRecord headlines = m_db.record(QStringLiteral("Headlines"));
    for (const char *column : {"ChannelID", "ChannelTitle", "ChannelDescription", "FeedURL",
                               "LastFetched", "ImageURL", "FeedXML"}) {
        if (!channels.contains(QLatin1String(column))) {
            fail(QStringLiteral("Channels has no column %1").arg(QLatin1String(column)));
            close();
            return false;
        }
    }
    for (const char *column : {"HeadlineID", "ChannelID", "HeadlineTitle", "HeadlinelDescription",
                               "HeadlineURL", "bRead", "HeadlineDate", "HeadlineAddingDate"}) {
        if (!headlines.contains(QLatin1String(column))) {
            fail(QStringLiteral("Headlines has no column %1").arg(QLatin1String(column)));
            close();
            return false;
        }
    }
    m_open = true;
    return true;
}

void RssDatabase::close()
{
    if (m_db.isValid()) {
        if (m_transactionDepth > 0)
            m_db.rollback();
        m_db.close();
    }
    m_transactionDepth = 0;
    m_open = false;
    m_db = QSqlDatabase();
    if (QSqlDatabase::contains(m_connectionName))
        QSqlDatabase::removeDatabase(m_connectionName);
}

bool RssDatabase::beginTransaction()
{
    if (!m_open)
        return fail(QStringLiteral("The database is not open."));
    if (m_transactionDepth == 0 && !m_db.transaction())
        return fail(m_db.lastError().text());
    ++m_transactionDepth;
    return true;
}

bool RssDatabase::commitTransaction()
{
    if (m_transactionDepth == 0)
        return true;
    if (--m_transactionDepth == 0 && !m_db.commit()) {
        fail(m_db.lastError().text());
        m_db.rollback();
        return false;
    }
    return true;
}

void RssDatabase::rollbackTransaction()
{
    if (m_transactionDepth == 0)
        return;
    m_transactionDepth = 0;
    m_db.rollback();
}

std::optional<QList<RssDatabase::Channel>> RssDatabase::channels()
{
    if (!m_open)
        return std::nullopt;
    QSqlQuery q(m_db);
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT * FROM Channels ORDER BY ChannelTitle, ChannelID"))) {
        failed(q);
        return std::nullopt;
    }
    QList<Channel> list;
    while (q.next())
        list.append(channelFrom(q));
    return list;
}

std::optional<QList<RssDatabase::Headline>> RssDatabase::headlines(qint32 channelId)
{
    if (!m_open)
        return std::nullopt;
    QSqlQuery q(m_db);
    q.setForwardOnly(true);
    q.prepare(QStringLiteral(
        "SELECT * FROM Headlines WHERE ChannelID = ? ORDER BY HeadlineDate ASC, HeadlineID ASC"));
    q.addBindValue(channelId);
    if (!q.exec()) {
        failed(q);
        return std::nullopt;
    }
    QList<Headline> list;
    while (q.next())
        list.append(headlineFrom(q));
    return list;
}

std::optional<RssDatabase::Headline> RssDatabase::newestUnreadHeadline(qint32 channelId)
{
    if (!m_open)
        return std::nullopt;
    QSqlQuery q(m_db);
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT * FROM Headlines WHERE ChannelID = ? AND bRead = 0 "
                             "ORDER BY HeadlineDate DESC, HeadlineID DESC LIMIT 1"));
    q.addBindValue(channelId);
    if (!q.exec()) {
        failed(q);
        return std::nullopt;
    }
    if (!q.next())
        return std::nullopt;
    return headlineFrom(q);
}

qint32 RssDatabase::insertChannel(const QString &title, const QString &description,
                                  const QString &feedUrl, const QString &imageUrl,
                                  const QString &feedXml)
{
    if (!m_open) {
        fail(QStringLiteral("The database is not open."));
        return 0;
    }
    QSqlQuery q(m_db);
    q.prepare(QStringLiteral("INSERT INTO Channels (ChannelTitle, ChannelDescription, FeedURL, "
                             "LastFetched, ImageURL, FeedXML) VALUES (?, ?, ?, ?, ?, ?)"));
    q.addBindValue(text(title));
    q.addBindValue(text(description));
    q.addBindValue(text(feedUrl));
    q.addBindValue(toStorage(firstLastFetched()));
    q.addBindValue(text(imageUrl));
    q.addBindValue(text(feedXml));
    if (!q.exec()) {
        failed(q);
        return 0;
    }
    return q.lastInsertId().toInt();
}

bool RssDatabase::updateChannel(qint32 channelId, const QString &title, const QString &description)
{
    if (!m_open)
        return fail(QStringLiteral("The database is not open."));
    QSqlQuery q(m_db);
    q.prepare(QStringLiteral(
        "UPDATE Channels SET ChannelTitle = ?, ChannelDescription = ? WHERE ChannelID = ?"));
    q.addBindValue(text(title));
    q.addBindValue(text(description));
    q.addBindValue(channelId);
    return q.exec() || failed(q);
}

bool RssDatabase::removeChannel(qint32 channelId)
{
    if (!beginTransaction())
        return false;
    QSqlQuery q(m_db);
    q.prepare(QStringLiteral("DELETE FROM Channels WHERE ChannelID = ?"));
    q.addBindValue(channelId);
    bool ok = q.exec();
    if (ok) {
        q.prepare(QStringLiteral("DELETE FROM Headlines WHERE ChannelID = ?"));
        q.addBindValue(channelId);
        ok = q.exec();
    }
    if (!ok) {
        failed(q);
        rollbackTransaction();
        return false;
    }
    return commitTransaction();
}

bool RssDatabase::setHeadlineRead(qint32 channelId, qint32 headlineId, bool read)
{
    if (!m_open)
        return fail(QStringLiteral("The database is not open."));
    QSqlQuery q(m_db);
    q.prepare(QStringLiteral("UPDATE Headlines SET bRead = ? WHERE ChannelID = ? AND HeadlineID = ?"));
    q.addBindValue(read ? 1 : 0);
    q.addBindValue(channelId);
    q.addBindValue(headlineId);
    return q.exec() || failed(q);
}

bool RssDatabase::setChannelRead(qint32 channelId, bool read)
{
    if (!m_open)
        return fail(QStringLiteral("The database is not open."));
    QSqlQuery q(m_db);
    q.prepare(QStringLiteral("UPDATE Headlines SET bRead = ? WHERE ChannelID = ?"));
    q.addBindValue(read ? 1 : 0);
    q.addBindValue(channelId);
    return q.exec() || failed(q);
}

bool RssDatabase::addHeadline(qint32 channelId, const QString &title, const QString &description,
                              const QString &url, const QDateTime &headlineDate)
{
    m_lastError.clear();
    if (!m_open)
        return fail(QStringLiteral("The database is not open."));
    QSqlQuery q(m_db);
    q.setForwardOnly(true);
    // A row dated the moment it was added stands for an item stored without a date of its own
    // (it had none, or one still ahead of the clock). An undated item matches any row of the
    // same texts; a dated one only such a row added before its date: the same item, whose date
    // has come since.
    QString duplicate = QStringLiteral("SELECT 1 FROM Headlines WHERE ChannelID = ? AND HeadlineURL = ? "
                                       "AND HeadlineTitle = ? AND HeadlinelDescription = ?");
    if (headlineDate.isValid())
        duplicate += QStringLiteral(" AND HeadlineDate = HeadlineAddingDate AND HeadlineAddingDate < ?");
    q.prepare(duplicate + QStringLiteral(" LIMIT 1"));
    q.addBindValue(channelId);
    q.addBindValue(text(url));
    q.addBindValue(text(title));
    q.addBindValue(text(description));
    if (headlineDate.isValid())
        q.addBindValue(toStorage(headlineDate));
    if (!q.exec())
        return failed(q);
    if (q.next())
        return false; // stored before
    q.finish();
    const QString now = toStorage(RssDatabase::now());
    q.prepare(QStringLiteral("INSERT INTO Headlines (ChannelID, HeadlineTitle, HeadlinelDescription, "
                             "HeadlineURL, bRead, HeadlineDate, HeadlineAddingDate) "
                             "VALUES (?, ?, ?, ?, 0, ?, ?)"));
    q.addBindValue(channelId);
    q.addBindValue(text(title));
    q.addBindValue(text(description));
    q.addBindValue(text(url));
    q.addBindValue(headlineDate.isValid() ? toStorage(headlineDate) : now);
    q.addBindValue(now);
    return q.exec() || failed(q);
}

std::optional<QDateTime> RssDatabase::lastFetched(qint32 channelId)
{
    m_lastError.clear();
    if (!m_open) {
        fail(QStringLiteral("The database is not open."));
        return std::nullopt;
    }
    QSqlQuery q(m_db);
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT LastFetched FROM Channels WHERE ChannelID = ?"));
    q.addBindValue(channelId);
    if (!q.exec()) {
        failed(q);
        return std::nullopt;
    }
    if (!q.next())
        return std::nullopt;
    const QDateTime date = fromStorage(q.value(0).toString());
    return date.isValid() ? date : firstLastFetched();
}

bool RssDatabase::setLastFetched(qint32 channelId, const QDateTime &date)
{
    if (!m_open)
        return fail(QStringLiteral("The database is not open."));
    QSqlQuery q(m_db);
    q.prepare(QStringLiteral("UPDATE Channels SET LastFetched = ? WHERE ChannelID = ?"));
    q.addBindValue(toStorage(date));
    q.addBindValue(channelId);
    return q.exec() || failed(q);
}

bool RssDatabase::purgeHeadlines(qint32 readDays, qint32 unreadDays)
{
    if (!m_open)
        return fail(QStringLiteral("The database is not open."));
    // More than n day boundaries lie between the adding date and today exactly when the
    // headline was added before the start of the day n days before today.
    const QDate today = now().toLocalTime().date();
    auto cutoff = [&](qint32 days) {
        return toStorage(today.addDays(-qint64(days)).startOfDay());
    };
    QSqlQuery q(m_db);
    q.prepare(QStringLiteral("DELETE FROM Headlines WHERE bRead = 1 AND HeadlineAddingDate < ?"));
    q.addBindValue(cutoff(readDays));
    if (!q.exec())
        return failed(q);
    q.prepare(QStringLiteral("DELETE FROM Headlines WHERE bRead = 0 AND HeadlineAddingDate < ?"));
    q.addBindValue(cutoff(unreadDays));
    return q.exec() || failed(q);
}
