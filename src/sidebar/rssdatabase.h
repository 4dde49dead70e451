#pragma once

#include <QDateTime>
#include <QList>
#include <QSqlDatabase>
#include <QString>

#include <functional>
#include <optional>

// The RSS reader's channels and headlines: an SQLite database in the data folder
// ("newsfeeddb.mdb") with the tables Channels and Headlines, created when missing. Every
// statement binds its values, so titles, descriptions and links are stored exactly as given.
// Dates are kept as ISO 8601 text in UTC ("2003-06-10T04:00:00Z"), which sorts as it reads.
//
// A failing statement leaves its description in lastError(); the caller reports it.
class RssDatabase
{
public:
    struct Channel
    {
        qint32 channelId = 0;
        QString channelTitle;
        QString channelDescription;
        QString feedUrl;
        QDateTime lastFetched;
        QString imageUrl;
    };
    struct Headline
    {
        qint32 headlineId = 0;
        qint32 channelId = 0;
        QString headlineTitle;
        QString headlinelDescription;
        QString headlineUrl;
        bool read = false;
        QDateTime headlineDate;
        QDateTime headlineAddingDate;
    };

    // The last-fetched date a new channel starts with: earlier than any item.
    static QDateTime firstLastFetched();

    explicit RssDatabase(const QString &filePath);
    ~RssDatabase();
    RssDatabase(const RssDatabase &) = delete;
    RssDatabase &operator=(const RssDatabase &) = delete;

    // "newsfeeddb.mdb" in the data folder.
    static QString defaultFile();

    // Opens the file (created user-only when missing) and creates what is missing of the
    // tables and their indexes. False when the file is no database this reader can use.
    bool open();
    void close();
    // The connection's state, as the database layer numbers it.
    enum State { Closed = 0, Open = 1 };
    State state() const { return m_open ? Open : Closed; }
    bool isOpen() const { return state() == Open; }
    QString lastError() const { return m_lastError; }

    // The present moment; tests put another clock in its place.
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }
    QDateTime now() const;

    // Every channel, ordered by title.
    std::optional<QList<Channel>> channels();
    // The channel's headlines, oldest first (the list shows them the other way round).
    std::optional<QList<Headline>> headlines(qint32 channelId);
    // The newest unread headline of the channel, if there is one.
    std::optional<Headline> newestUnreadHeadline(qint32 channelId);

    // Adds a channel whose last-fetched date is firstLastFetched(); returns its channelId, or
    // 0 after an error.
    qint32 insertChannel(const QString &title, const QString &description, const QString &feedUrl,
                         const QString &imageUrl, const QString &feedXml);
    // Title and description of a channel (the channel dialog's update).
    bool updateChannel(qint32 channelId, const QString &title, const QString &description);
    // Removes the channel and its headlines together.
    bool removeChannel(qint32 channelId);

    bool setHeadlineRead(qint32 channelId, qint32 headlineId, bool read);
    bool setChannelRead(qint32 channelId, bool read);

    // Stores one unread headline added now. An undated one (an invalid date) is stored, dated
    // now, only when the channel has no headline with the same title, description and link. A
    // dated one is stored unless the channel has such a headline that was stored undated before
    // that date (the same item, stored while its date was still ahead). True when a row was
    // inserted; false when nothing was stored, with lastError() set when that was a failure.
    bool addHeadline(qint32 channelId, const QString &title, const QString &description,
                     const QString &url, const QDateTime &headlineDate);

    // The channel's last-fetched date; no value when there is no such channel or the read fails.
    std::optional<QDateTime> lastFetched(qint32 channelId);
    bool setLastFetched(qint32 channelId, const QDateTime &date);

    // Deletes read headlines added more than readDays calendar days ago (counted in local
    // time, as day boundaries between the adding date and now), then unread ones older than
    // unreadDays. A limit of 0 removes every headline of that kind added before today.
    bool purgeHeadlines(qint32 readDays, qint32 unreadDays);

    // Groups the statements that follow into one write (a feed's items).
    bool beginTransaction();
    bool commitTransaction();
    void rollbackTransaction();

    static QString toStorage(const QDateTime &date);
    static QDateTime fromStorage(const QString &text);

private:
    bool fail(const QString &text);
    bool failed(const class QSqlQuery &query);

    QString m_filePath;
    QString m_connectionName;
    QSqlDatabase m_db;
    bool m_open = false;
    int m_transactionDepth = 0;
    QString m_lastError;
    std::function<QDateTime()> m_clock;
};
