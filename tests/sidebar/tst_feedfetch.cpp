#include "core/utctime.h"
#include "testserver.h"
#include "sidebar/feedfetcher.h"
#include "sidebar/rssdatabase.h"

#include <QStringEncoder>
#include <QtTest>

class TestFeedFetch : public QObject
{
    Q_OBJECT

    // Runs one fetch to its end and returns its result.
    static FeedFetcher::Result fetch(FeedFetcher &fetcher, const QString &url,
                                     const QString &proxy = QString(), int timeout = 10)
    {
        QSignalSpy finished(&fetcher, &FeedFetcher::finished);
        fetcher.startHttpGet(url, proxy, timeout);
        // Never reported from inside the call.
        if (finished.count() != 0)
            return FeedFetcher::Result(-1);
        if (!finished.wait(20000) || finished.count() != 1)
            return FeedFetcher::Result(-2);
        return finished.first().first().value<FeedFetcher::Result>();
    }

private slots:
    void parsesTheProxySetting_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("host");
        QTest::addColumn<int>("port");
        QTest::newRow("empty: no proxy of our own") << "" << true << int(QNetworkProxy::DefaultProxy) << "" << 0;
        QTest::newRow("blanks only") << "   " << true << int(QNetworkProxy::DefaultProxy) << "" << 0;
        QTest::newRow("host:port") << "proxy.example:8080" << true << int(QNetworkProxy::HttpProxy)
                                   << "proxy.example" << 8080;
        QTest::newRow("scheme and slash") << " http://10.0.0.1:3128/ " << true << int(QNetworkProxy::HttpProxy)
                                          << "10.0.0.1" << 3128;
        QTest::newRow("no port") << "proxy.example" << true << int(QNetworkProxy::HttpProxy) << "proxy.example" << 80;
        QTest::newRow("IPv6") << "[::1]:8118" << true << int(QNetworkProxy::HttpProxy) << "::1" << 8118;
        QTest::newRow("port not a number") << "proxy:http" << false << 0 << "" << 0;
        QTest::newRow("port 0") << "proxy:0" << false << 0 << "" << 0;
        QTest::newRow("port too large") << "proxy:70000" << false << 0 << "" << 0;
        QTest::newRow("no host") << ":8080" << false << 0 << "" << 0;
        QTest::newRow("blank inside") << "my proxy:8080" << false << 0 << "" << 0;
        QTest::newRow("user part") << "user@proxy:8080" << false << 0 << "" << 0;
    }
    void parsesTheProxySetting()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(int, type);
        QFETCH(QString, host);
        QFETCH(int, port);
        const std::optional<QNetworkProxy> proxy = FeedFetcher::parseProxy(text);
        QCOMPARE(proxy.has_value(), valid);
        if (!valid)
            return;
        QCOMPARE(int(proxy->type()), type);
        if (type == QNetworkProxy::HttpProxy) {
            QCOMPARE(proxy->hostName(), host);
            QCOMPARE(int(proxy->port()), port);
        }
    }

    void timeoutSetting()
    {
        QCOMPARE(FeedFetcher::timeoutSeconds(0), 30);
        QCOMPARE(FeedFetcher::timeoutSeconds(-5), 30);
        QCOMPARE(FeedFetcher::timeoutSeconds(7), 7);
    }

    void outcomes_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("timeout");
        QTest::addColumn<int>("expected");
        QTest::addColumn<QByteArray>("body");
        QTest::newRow("200") << "/feed" << 10 << int(FeedFetcher::Ok) << QByteArray("<rss/>");
        QTest::newRow("404") << "/missing" << 10 << int(FeedFetcher::HttpError) << QByteArray();
        QTest::newRow("500") << "/broken" << 10 << int(FeedFetcher::HttpError) << QByteArray();
        QTest::newRow("204 is not 200") << "/nocontent" << 10 << int(FeedFetcher::HttpError) << QByteArray();
        QTest::newRow("redirect to the feed") << "/moved" << 10 << int(FeedFetcher::Ok) << QByteArray("<rss/>");
        QTest::newRow("silent server, one second") << "/silent" << 1 << int(FeedFetcher::Timeout) << QByteArray();
        QTest::newRow("slow but in time") << "/slow" << 10 << int(FeedFetcher::Ok) << QByteArray("<rss/>");
        QTest::newRow("declared too large") << "/huge" << 10 << int(FeedFetcher::TooLarge) << QByteArray();
        QTest::newRow("too large, no length") << "/stream" << 10 << int(FeedFetcher::TooLarge) << QByteArray();
        QTest::newRow("exactly at the limit") << "/limit" << 10 << int(FeedFetcher::Ok)
                                              << QByteArray(FeedFetcher::kMaxResponseBytes, 'x');
    }
    void outcomes()
    {
        QFETCH(QString, path);
        QFETCH(int, timeout);
        QFETCH(int, expected);
        QFETCH(QByteArray, body);
        TestServer server;
        server.feed(QStringLiteral("/feed"), "<rss/>");
        server.setRoute(QStringLiteral("/broken"), {"500 Internal Server Error", "<rss/>"});
        server.setRoute(QStringLiteral("/nocontent"), {"204 No Content", ""});
        server.setRoute(QStringLiteral("/moved"), {"302 Found", "", "text/html", "Location: /feed\r\n"});
        server.route(QStringLiteral("/silent")).silent = true;
        server.setRoute(QStringLiteral("/slow"), {"200 OK", "<rss/>"});
        server.route(QStringLiteral("/slow")).delayMs = 300;
        const QByteArray big(FeedFetcher::kMaxResponseBytes + 1, 'x');
        server.feed(QStringLiteral("/huge"), big);
        server.feed(QStringLiteral("/stream"), big);
        server.route(QStringLiteral("/stream")).sendLength = false;
        server.feed(QStringLiteral("/limit"), QByteArray(FeedFetcher::kMaxResponseBytes, 'x'));

        FeedFetcher fetcher;
        QCOMPARE(int(fetch(fetcher, server.url(path), QString(), timeout)), expected);
        QCOMPARE(fetcher.body(), body);
        QVERIFY(!fetcher.isRunning());
    }

    // The proxy receives the request in absolute form and answers for the feed's server.
    void usesTheProxy()
    {
        TestServer proxy;
        proxy.feed(QStringLiteral("/news/rss.xml"), "<rss>proxied</rss>");
        FeedFetcher fetcher;
        QCOMPARE(fetch(fetcher, QStringLiteral("http://feeds.example.invalid/news/rss.xml"), proxy.hostAndPort()),
                 FeedFetcher::Ok);
        QCOMPARE(fetcher.body(), QByteArray("<rss>proxied</rss>"));
        QCOMPARE(proxy.targets(), QStringList{"http://feeds.example.invalid/news/rss.xml"});
        // Without the proxy setting the next fetch goes straight to the server.
        TestServer direct;
        direct.feed(QStringLiteral("/d"), "<rss/>");
        QCOMPARE(fetch(fetcher, direct.url(QStringLiteral("/d"))), FeedFetcher::Ok);
        QCOMPARE(direct.targets(), QStringList{"/d"});
        QCOMPARE(proxy.targets().size(), 1);
    }

    // A feed in a Windows code page that only its Content-Type names, reached through a
    // redirection, with links relative to where it was found: its headlines read right and
    // their links lead to the feed's server.
    void readsTheFeedAsServed()
    {
        TestServer server;
        const QString xml = QStringLiteral(
            "<rss version=\"2.0\"><channel><title>Новости</title>"
            "<item><title>Первая новость</title><link>/news/1.html</link>"
            "<pubDate>Tue, 10 Jun 2003 04:00:00 CEST</pubDate></item>"
            "<item><title>Вторая</title><link>item?id=3</link>"
            "<pubDate>Tue, 10 Jun 2003 05:00:00 +05:30</pubDate></item>"
            "<item><title>Скрипт</title><link>javascript:alert(1)</link></item>"
            "</channel></rss>");
        server.setRoute(QStringLiteral("/feeds/rss.xml"),
                        {"200 OK", QStringEncoder("windows-1251").encode(xml),
                         "application/rss+xml; charset=windows-1251"});
        server.setRoute(QStringLiteral("/old"), {"301 Moved Permanently", "", "text/html",
                                                 "Location: /feeds/rss.xml\r\n"});
        FeedFetcher fetcher;
        QCOMPARE(fetch(fetcher, server.url(QStringLiteral("/old"))), FeedFetcher::Ok);
        QCOMPARE(fetcher.document().address, QUrl(server.url(QStringLiteral("/feeds/rss.xml"))));
        QCOMPARE(fetcher.document().encoding, QByteArray("windows-1251"));
        QCOMPARE(fetcher.document().text(), xml);

        QTemporaryDir dir;
        RssDatabase db(dir.filePath(QStringLiteral("newsfeeddb.mdb")));
        QVERIFY(db.open());
        const qint32 id = db.insertChannel(QStringLiteral("C"), QString(), server.url(QStringLiteral("/old")),
                                           QString(), QString());
        RssChannelInfo info;
        QString error;
        QVERIFY(RssFeed::refreshChannel(db, id, fetcher.document(), info, &error));
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QCOMPARE(info.channelTitle, QStringLiteral("Новости"));
        const QList<RssDatabase::Headline> headlines = db.headlines(id).value_or(QList<RssDatabase::Headline>());
        QStringList stored;
        for (const RssDatabase::Headline &headline : headlines)
            stored << headline.headlineTitle + u' ' + headline.headlineUrl;
        stored.sort();
        QCOMPARE(stored, (QStringList{QStringLiteral("Вторая ") + server.url(QStringLiteral("/feeds/item?id=3")),
                                      QStringLiteral("Первая новость ") + server.url(QStringLiteral("/news/1.html")),
                                      QStringLiteral("Скрипт javascript:alert(1)")}));
        // Dates with zones the reader cannot apply keep their day and time.
        QCOMPARE(db.lastFetched(id).value(), UtcTime::at(QDate(2003, 6, 10), QTime(4, 0)));
    }

    void refusesWhatItCannotFetch_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("proxy");
        QTest::newRow("empty") << "" << "";
        QTest::newRow("not an address") << "feeds example" << "";
        QTest::newRow("file") << "file:///etc/passwd" << "";
        QTest::newRow("ftp") << "ftp://example.invalid/rss" << "";
        QTest::newRow("bad proxy") << "http://example.invalid/" << "proxy:none";
    }
    void refusesWhatItCannotFetch()
    {
        QFETCH(QString, url);
        QFETCH(QString, proxy);
        FeedFetcher fetcher;
        QCOMPARE(fetch(fetcher, url, proxy), FeedFetcher::NotStarted);
    }

    void abortAndRefusedConnection()
    {
        TestServer server;
        server.route(QStringLiteral("/silent")).silent = true;
        FeedFetcher fetcher;
        QSignalSpy finished(&fetcher, &FeedFetcher::finished);
        fetcher.abort(); // nothing running: nothing reported
        QCOMPARE(finished.count(), 0);
        fetcher.startHttpGet(server.url(QStringLiteral("/silent")), QString(), 30);
        QTRY_COMPARE(server.targets().size(), 1);
        fetcher.abort();
        QCOMPARE(finished.count(), 1);
        QCOMPARE(finished.first().first().value<FeedFetcher::Result>(), FeedFetcher::Aborted);
        // A later start works as before.
        server.feed(QStringLiteral("/ok"), "<rss><channel><title>T</title></channel></rss>");
        QCOMPARE(fetch(fetcher, server.url(QStringLiteral("/ok"))), FeedFetcher::Ok);
        // The body arrives read as a document (on a worker thread, before finished).
        QVERIFY(fetcher.document().root);
        QCOMPARE(fetcher.document().root->selectSingleNode(u"channel")->selectSingleNode(u"title")->text(),
                 QStringLiteral("T"));
        server.feed(QStringLiteral("/bad"), "<rss><channel>");
        QCOMPARE(fetch(fetcher, server.url(QStringLiteral("/bad"))), FeedFetcher::Ok);
        QVERIFY(!fetcher.document().root);
        QVERIFY(!fetcher.document().error.isEmpty());
        // A fetch aborted while its body is being read reports Aborted, once.
        server.feed(QStringLiteral("/big"), "<rss>" + QByteArray(4 * 1024 * 1024, 'x') + "</rss>");
        finished.clear();
        fetcher.startHttpGet(server.url(QStringLiteral("/big")), QString(), 30);
        QTRY_VERIFY(!fetcher.isRunning() || fetcher.body().size() > 4 * 1024 * 1024);
        fetcher.abort();
        QTRY_COMPARE(finished.count(), 1);
        QTest::qWait(0);
        QCOMPARE(finished.count(), 1);

        const QString closedUrl = server.url(QStringLiteral("/ok"));
        server.close();
        QCOMPARE(fetch(fetcher, closedUrl), FeedFetcher::NetworkError);
    }
};

QTEST_GUILESS_MAIN(TestFeedFetch)
#include "tst_feedfetch.moc"
