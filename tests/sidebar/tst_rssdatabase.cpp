#include "core/utctime.h"
#include "sidebar/rssdatabase.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QtTest>

class TestRssDatabase : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_serial = 0;

    QString freshFile() { return m_dir.filePath(QStringLiteral("feeds-%1.mdb").arg(++m_serial)); }

    static QDateTime utc(int y, int m, int d, int h = 12, int min = 0, int s = 0)
    {
        return UtcTime::at(QDate(y, m, d), QTime(h, min, s));
    }

    // The stored channel of this id, as the channel list reads it.
    static std::optional<RssDatabase::Channel> channel(RssDatabase &db, qint32 id)
    {
        for (const RssDatabase::Channel &c : db.channels().value_or(QList<RssDatabase::Channel>())) {
            if (c.channelId == id)
                return c;
        }
        return std::nullopt;
    }

    static QStringList titles(const QList<RssDatabase::Headline> &list)
    {
        QStringList out;
        for (const RssDatabase::Headline &h : list)
            out << h.headlineTitle;
        return out;
    }

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void createsTablesAndSurvivesReopen()
    {
        const QString file = freshFile();
        {
            RssDatabase db(file);
            QVERIFY(db.open());
            QCOMPARE(db.state(), RssDatabase::Open);
            QVERIFY(db.isOpen());
            const qint32 id = db.insertChannel(QStringLiteral("News"), QString(), QStringLiteral("http://a/"),
                                               QString(), QString());
            QVERIFY(id > 0);
            QVERIFY(db.addHeadline(id, QStringLiteral("One"), QString(), QStringLiteral("http://a/1"),
                                   utc(2024, 5, 1)));
            QCOMPARE(db.lastFetched(id).value(), RssDatabase::firstLastFetched());
        }
        QCOMPARE(QFile::permissions(file) & (QFile::ReadGroup | QFile::ReadOther), QFile::Permissions());
        RssDatabase db(file);
        QVERIFY(db.open());
        const auto channels = db.channels();
        QVERIFY(channels && channels->size() == 1);
        const auto headlines = db.headlines(channels->first().channelId);
        QCOMPARE(titles(headlines.value()), QStringList{QStringLiteral("One")});
        QCOMPARE(headlines->first().headlineDate, utc(2024, 5, 1));
        db.close();

        // The columns keep their names, the description's spelling included.
        QSqlDatabase raw = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("raw"));
        raw.setDatabaseName(file);
        QVERIFY(raw.open());
        QVERIFY(raw.record(QStringLiteral("Headlines")).contains(QStringLiteral("HeadlinelDescription")));
        QVERIFY(raw.record(QStringLiteral("Channels")).contains(QStringLiteral("FeedXML")));
        raw.close();
        raw = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("raw"));
    }

    void refusesFilesItCannotUse_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("another database format") << QByteArray("\0\1\0\0Standard Jet DB\0", 20);
        QTest::newRow("text") << QByteArray("not a database at all, just some text to fill a page\n").repeated(40);
    }
    void refusesFilesItCannotUse()
    {
        QFETCH(QByteArray, content);
        const QString file = freshFile();
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
        f.close();
        RssDatabase db(file);
        QVERIFY(!db.open());
        QCOMPARE(db.state(), RssDatabase::Closed);
        QVERIFY(!db.isOpen());
        QVERIFY(!db.lastError().isEmpty());
        QVERIFY(!db.channels());
        QCOMPARE(db.insertChannel(QStringLiteral("x"), QString(), QString(), QString(), QString()), 0);

        RssDatabase missing(m_dir.filePath(QStringLiteral("no/such/folder/feeds.mdb")));
        QVERIFY(!missing.open());
    }

    // Feed texts are stored exactly as given, whatever quotes or SQL they hold.
    void storesTextsAsGiven_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("link");
        QTest::newRow("apostrophes") << QStringLiteral("Bob's \"best\" news") << QStringLiteral("It's ''here''")
                                     << QStringLiteral("http://a/?q=it's");
        QTest::newRow("sql") << QStringLiteral("x'); DROP TABLE Headlines; --") << QStringLiteral("' OR '1'='1")
                             << QStringLiteral("http://a/'--");
        QTest::newRow("wildcards and escapes") << QStringLiteral("100% _done_ \\n") << QStringLiteral("a\tb\nc")
                                               << QStringLiteral("http://a/%27");
        QTest::newRow("non-Latin") << QStringLiteral("Новости дня") << QStringLiteral("日本語の説明 🙂")
                                   << QStringLiteral("http://a/ü");
        QTest::newRow("empty description") << QStringLiteral("Plain") << QString() << QStringLiteral("http://a/p");
    }
    void storesTextsAsGiven()
    {
        QFETCH(QString, title);
        QFETCH(QString, description);
        QFETCH(QString, link);
        RssDatabase db(freshFile());
        QVERIFY(db.open());
        const qint32 id = db.insertChannel(title, description, link, link, QString());
        QVERIFY(id > 0);
        auto stored = channel(db, id);
        QCOMPARE(stored->channelTitle, title);
        QCOMPARE(stored->channelDescription, description.isNull() ? QStringLiteral("") : description);
        QCOMPARE(stored->feedUrl, link);

        QVERIFY(db.addHeadline(id, title, description, link, QDateTime()));
        // The undated copy finds the stored row through the duplicate check; a dated one is stored.
        QVERIFY(!db.addHeadline(id, title, description, link, QDateTime()));
        QVERIFY(db.lastError().isEmpty());
        QVERIFY(db.addHeadline(id, title, description, link, utc(2024, 5, 2)));
        const auto headlines = db.headlines(id).value();
        QCOMPARE(headlines.size(), 2);
        QCOMPARE(headlines[0].headlineTitle, title);
        QCOMPARE(headlines[0].headlinelDescription, description.isNull() ? QStringLiteral("") : description);
        QCOMPARE(headlines[0].headlineUrl, link);

        QVERIFY(db.updateChannel(id, description + title, title));
        stored = channel(db, id);
        QCOMPARE(stored->channelTitle, description + title);
        QCOMPARE(stored->channelDescription, title);
        QVERIFY(db.purgeHeadlines(1, 3));
        QCOMPARE(db.headlines(id)->size(), 2); // the tables are still there
    }

    void duplicateCheckOfUndatedItems_data()
    {
        QTest::addColumn<QStringList>("second"); // title, description, link of the second item
        QTest::addColumn<bool>("secondDated");
        QTest::addColumn<int>("stored");
        const QStringList same{QStringLiteral("T"), QStringLiteral("D"), QStringLiteral("http://l/")};
        QTest::newRow("identical undated") << same << false << 1;
        QTest::newRow("identical but dated") << same << true << 2;
        QTest::newRow("other description")
            << QStringList{QStringLiteral("T"), QStringLiteral("D2"), QStringLiteral("http://l/")} << false << 2;
        QTest::newRow("other link")
            << QStringList{QStringLiteral("T"), QStringLiteral("D"), QStringLiteral("http://l/2")} << false << 2;
        QTest::newRow("title in other case")
            << QStringList{QStringLiteral("t"), QStringLiteral("D"), QStringLiteral("http://l/")} << false << 2;
    }
    void duplicateCheckOfUndatedItems()
    {
        QFETCH(QStringList, second);
        QFETCH(bool, secondDated);
        QFETCH(int, stored);
        RssDatabase db(freshFile());
        QVERIFY(db.open());
        const QDateTime now = utc(2024, 6, 1, 9, 30);
        db.setClock([now] { return now; });
        const qint32 id = db.insertChannel(QStringLiteral("C"), QString(), QString(), QString(), QString());
        QVERIFY(db.addHeadline(id, QStringLiteral("T"), QStringLiteral("D"), QStringLiteral("http://l/"), QDateTime()));
        db.addHeadline(id, second[0], second[1], second[2], secondDated ? utc(2020, 8, 9, 0) : QDateTime());
        const auto headlines = db.headlines(id).value();
        QCOMPARE(headlines.size(), stored);
        // An undated item takes the moment it was stored as its date.
        for (const auto &h : headlines) {
            QCOMPARE(h.headlineAddingDate, now);
            QVERIFY(h.headlineDate == now || h.headlineDate == utc(2020, 8, 9, 0));
        }
    }

    void listsAndReadMarks()
    {
        RssDatabase db(freshFile());
        QVERIFY(db.open());
        const qint32 b = db.insertChannel(QStringLiteral("Beta"), QString(), QString(), QString(), QString());
        const qint32 a = db.insertChannel(QStringLiteral("Alpha"), QString(), QString(), QString(), QString());
        QCOMPARE(db.channels()->first().channelId, a); // by title
        QVERIFY(db.addHeadline(a, QStringLiteral("2 May"), QString(), QStringLiteral("u2"), utc(2024, 5, 2)));
        QVERIFY(db.addHeadline(a, QStringLiteral("3 May"), QString(), QStringLiteral("u3"), utc(2024, 5, 3)));
        QVERIFY(db.addHeadline(a, QStringLiteral("1 May"), QString(), QStringLiteral("u1"), utc(2024, 5, 1)));
        QVERIFY(db.addHeadline(b, QStringLiteral("Other"), QString(), QStringLiteral("ub"), utc(2024, 5, 9)));
        QCOMPARE(titles(db.headlines(a).value()),
                 (QStringList{QStringLiteral("1 May"), QStringLiteral("2 May"), QStringLiteral("3 May")}));
        QCOMPARE(db.newestUnreadHeadline(a)->headlineTitle, QStringLiteral("3 May"));

        const qint32 newest = db.newestUnreadHeadline(a)->headlineId;
        QVERIFY(db.setHeadlineRead(a, newest, true));
        QCOMPARE(db.newestUnreadHeadline(a)->headlineTitle, QStringLiteral("2 May"));
        QVERIFY(db.setHeadlineRead(b, newest, false)); // another channel's id changes nothing
        QCOMPARE(db.newestUnreadHeadline(a)->headlineTitle, QStringLiteral("2 May"));
        QVERIFY(db.setChannelRead(a, true));
        QVERIFY(!db.newestUnreadHeadline(a));
        QVERIFY(db.newestUnreadHeadline(b));
        QVERIFY(db.setChannelRead(a, false));
        QCOMPARE(db.newestUnreadHeadline(a)->headlineTitle, QStringLiteral("3 May"));

        // Removing a channel takes its headlines along; the other channel keeps its own.
        QVERIFY(db.removeChannel(a));
        QVERIFY(!channel(db, a));
        QVERIFY(db.headlines(a)->isEmpty());
        QVERIFY(!db.lastFetched(a));
        QVERIFY(db.lastError().isEmpty());
        QCOMPARE(db.headlines(b)->size(), 1);

        QVERIFY(db.setLastFetched(b, utc(2024, 5, 9, 10, 11, 12)));
        QCOMPARE(db.lastFetched(b).value(), utc(2024, 5, 9, 10, 11, 12));
    }

    // Age counts calendar days in local time between adding and now.
    void purgeByAge_data()
    {
        QTest::addColumn<int>("readDays");
        QTest::addColumn<int>("unreadDays");
        QTest::addColumn<QStringList>("kept");
        // Headlines: "r6" read, added 6 days ago; "r8" read, 8 days; "u2" unread, 2 days;
        // "u4" unread, 4 days; "r0" read, added this morning; "u1" unread, yesterday late.
        QTest::newRow("7 and 3") << 7 << 3 << QStringList{"r6", "u2", "r0", "u1"};
        QTest::newRow("0 and 0: everything before today") << 0 << 0 << QStringList{"r0"};
        QTest::newRow("1 and 1") << 1 << 1 << QStringList{"r0", "u1"};
        QTest::newRow("large limits") << 365 << 365 << QStringList{"r6", "r8", "u2", "u4", "r0", "u1"};
    }
    void purgeByAge()
    {
        QFETCH(int, readDays);
        QFETCH(int, unreadDays);
        QFETCH(QStringList, kept);
        RssDatabase db(freshFile());
        QVERIFY(db.open());
        const QDateTime now(QDate(2024, 5, 10), QTime(12, 0));
        const qint32 id = db.insertChannel(QStringLiteral("It's"), QString(), QString(), QString(), QString());
        struct Row
        {
            const char *title;
            QDateTime added;
            bool read;
        };
        const Row rows[] = {{"r6", now.addDays(-6), true},
                            {"r8", now.addDays(-8), true},
                            {"u2", now.addDays(-2), false},
                            {"u4", now.addDays(-4), false},
                            {"r0", QDateTime(now.date(), QTime(0, 5)), true},
                            {"u1", QDateTime(now.date().addDays(-1), QTime(23, 55)), false}};
        for (const Row &row : rows) {
            db.setClock([row] { return row.added; });
            QVERIFY(db.addHeadline(id, QLatin1String(row.title), QStringLiteral("O'Neil's"),
                                   QStringLiteral("http://x/'") + QLatin1String(row.title), row.added));
        }
        const QList<RssDatabase::Headline> stored = db.headlines(id).value();
        for (const auto &h : stored) {
            if (h.headlineTitle.startsWith(u'r'))
                QVERIFY(db.setHeadlineRead(id, h.headlineId, true));
        }
        db.setClock([now] { return now; });
        QVERIFY(db.purgeHeadlines(readDays, unreadDays));
        QStringList left = titles(db.headlines(id).value());
        left.sort();
        kept.sort();
        QCOMPARE(left, kept);
    }
};

QTEST_GUILESS_MAIN(TestRssDatabase)
#include "tst_rssdatabase.moc"
