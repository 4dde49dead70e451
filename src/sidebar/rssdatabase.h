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
// A failing statement leaves its description in LastError(); the caller reports it.
class RssDatabase
{
public:
    struct Channel
    {
        qint32 ChannelID = 0;
        QString ChannelTitle;
        QString ChannelDescription;
        QString FeedURL;
        QDateTime LastFetched;
        QString ImageURL;
    };
    struct Headline
    {
        qint32 HeadlineID = 0;
        qint32 ChannelID = 0;
        QString HeadlineTitle;
        QString HeadlinelDescription;
        QString HeadlineURL;
        bool bRead = false;
        QDateTime HeadlineDate;
        QDateTime HeadlineAddingDate;
    };

    // The last-fetched date a new channel starts with: earlier than any item.
    static QDateTime FirstLastFetched();

    explicit RssDatabase(const QString &filePath);
    ~RssDatabase();
    RssDatabase(const RssDatabase &) = delete;
    RssDatabase &operator=(const RssDatabase &) = delete;

    // "newsfeeddb.mdb" in the data folder.
    static QString defaultFile();

    // Opens the file (created user-only when missing) and creates what is missing of the
    // tables and their indexes. False when the file is no database this reader can use.
    bool Open();
    void Close();
    // 1 while open, 0 otherwise.
    int State() const { return m_open ? 1 : 0; }
    QString filePath() const { return m_filePath; }
    QString LastError() const { return m_lastError; }

    // The present moment; tests put another clock in its place.
    void SetClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }
    QDateTime Now() const;

    // Every channel, ordered by title.
    std::optional<QList<Channel>> Channels();
    std::optional<Channel> ChannelByID(qint32 channelId);
    // The channel's headlines, oldest first (the list shows them the other way round).
    std::optional<QList<Headline>> Headlines(qint32 channelId);
    // The newest unread headline of the channel, if there is one.
    std::optional<Headline> GetNewestUnreadHeadline(qint32 channelId);

    // Adds a channel whose last-fetched date is FirstLastFetched(); returns its ChannelID, or
    // 0 after an error.
    qint32 InsertChannel(const QString &title, const QString &description, const QString &feedUrl,
                         const QString &imageUrl, const QString &feedXml);
    // Title and description of a channel (the channel dialog's update).
    bool UpdateChannel(qint32 channelId, const QString &title, const QString &description);
    // Removes the channel and its headlines together.
    bool RemoveChannel(qint32 channelId);

    bool SetHeadlineRead(qint32 channelId, qint32 headlineId, bool bRead);
    bool SetChannelRead(qint32 channelId, bool bRead);

    // Stores one unread headline added now. A dated headline is always stored; an undated one
    // (an invalid date) is stored, dated now, only when the channel has no headline with the
    // same title, description and link. True when a row was inserted; false when nothing was
    // stored, with LastError() set when that was a failure.
    bool AddHeadline(qint32 channelId, const QString &title, const QString &description,
                     const QString &url, const QDateTime &headlineDate);

    // The channel's last-fetched date; no value when there is no such channel or the read fails.
    std::optional<QDateTime> LastFetched(qint32 channelId);
    bool SetLastFetched(qint32 channelId, const QDateTime &date);

    // Deletes read headlines added more than readDays calendar days ago (counted in local
    // time, as day boundaries between the adding date and now), then unread ones older than
    // unreadDays. A limit of 0 removes every headline of that kind added before today.
    bool PurgeHeadlines(qint32 readDays, qint32 unreadDays);

    // Groups the statements that follow into one write (a feed's items).
    bool BeginTransaction();
    bool CommitTransaction();
    void RollbackTransaction();

    static QString ToStorage(const QDateTime &date);
    static QDateTime FromStorage(const QString &text);

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
