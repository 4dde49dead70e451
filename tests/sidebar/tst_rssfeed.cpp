#include "core/utctime.h"
#include "sidebar/rssdatabase.h"
#include "sidebar/rssfeed.h"
#include "sidebar/rssfeedencoding.h"
#include "testserver.h"

#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QtTest>

#include <time.h>

using Items = QList<QStringList>; // title, description, link, date (ISO UTC or empty)

class TestRssFeed : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_serial = 0;

    static QDateTime utc(int y, int m, int d, int h = 0, int min = 0, int s = 0)
    {
        return UtcTime::at(QDate(y, m, d), QTime(h, min, s));
    }

    static Items flatten(const QList<RssFeed::Item> &items)
    {
        Items out;
        for (const RssFeed::Item &item : items)
            out << QStringList{item.title, item.description, item.link,
                               item.date.isValid() ? item.date.toString(Qt::ISODate) : QString()};
        return out;
    }

    static QByteArray rss(const QByteArray &items, const QByteArray &channelExtra = QByteArray())
    {
        return "<?xml version=\"1.0\"?><rss version=\"2.0\"><channel><title>Chan</title>"
               "<description>Desc</description>" + channelExtra + items + "</channel></rss>";
    }

    std::unique_ptr<RssDatabase> freshDb()
    {
        auto db = std::make_unique<RssDatabase>(m_dir.filePath(QStringLiteral("f%1.mdb").arg(++m_serial)));
        return db->open() ? std::move(db) : nullptr;
    }

    // Parses and stores a document for the channel; returns what the pass stored.
    static bool pass(RssDatabase &db, qint32 id, const QByteArray &xml, QString *error = nullptr)
    {
        RssChannelInfo info;
        QString parseError;
        if (!RssFeed::refreshChannel(db, id, xml, info, &parseError))
            return false;
        if (error)
            *error = parseError;
        return info.hasNewHeadlines;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        // Local time is Central European: UTC+1 in winter, UTC+2 in summer, so a date read in
        // local time differs from one read as UTC.
        qputenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3");
        tzset();
    }

    void rfc822Dates_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDateTime>("expected"); // invalid: not a date
        QTest::newRow("standard GMT") << "Sat, 07 Sep 2002 00:00:01 GMT" << utc(2002, 9, 7, 0, 0, 1);
        QTest::newRow("June") << "Tue, 10 Jun 2003 04:00:00 GMT" << utc(2003, 6, 10, 4);
        QTest::newRow("month first, 12-hour") << "Sat, Aug 9 2020 12:00:00AM GMT" << utc(2020, 8, 9, 0);
        QTest::newRow("PM apart") << "Sun, 9 Aug 2020 1:30 PM UT" << utc(2020, 8, 9, 13, 30);
        QTest::newRow("numeric zone") << "Tue, 10 Jun 2003 04:00:00 +0200" << utc(2003, 6, 10, 2);
        QTest::newRow("negative zone, comment") << "Tue, 10 Jun 2003 04:00:00 -0700 (PDT)" << utc(2003, 6, 10, 11);
        QTest::newRow("US zone") << "Mon, 01 Jan 2024 23:00:00 EST" << utc(2024, 1, 2, 4);
        QTest::newRow("no weekday") << "07 Sep 2002 00:00:01 GMT" << utc(2002, 9, 7, 0, 0, 1);
        QTest::newRow("no seconds, no zone: local summer time")
            << "Wed, 02 Oct 2002 13:00" << utc(2002, 10, 2, 11);
        QTest::newRow("no zone: local winter time") << "Wed, 04 Dec 2002 13:00:00" << utc(2002, 12, 4, 12);
        QTest::newRow("two-digit year") << "Wed, 02 Oct 02 08:00:00 GMT" << utc(2002, 10, 2, 8);
        QTest::newRow("full names, lower case") << "thursday, 3 october 2002 08:00:00 gmt" << utc(2002, 10, 3, 8);
        QTest::newRow("no blank after comma") << "Thu,03 Oct 2002 08:00:00 GMT" << utc(2002, 10, 3, 8);
        // Zones with minutes are applied; a zone word we cannot read is dropped with what
        // follows it, and the date reads as one without a zone: in local time.
        QTest::newRow("+0530") << "Tue, 10 Jun 2003 04:00:00 +0530" << utc(2003, 6, 9, 22, 30);
        QTest::newRow("+05:30") << "Tue, 10 Jun 2003 04:00:00 +05:30" << utc(2003, 6, 9, 22, 30);
        QTest::newRow("EDT applied") << "Tue, 10 Jun 2003 04:00:00 EDT" << utc(2003, 6, 10, 8);
        QTest::newRow("GMT+0200, zone name after it")
            << "Tue Jun 10 2003 04:00:00 GMT+0200 (Central European Summer Time)" << utc(2003, 6, 10, 2);
        QTest::newRow("CEST dropped") << "Tue, 10 Jun 2003 04:00:00 CEST" << utc(2003, 6, 10, 2);
        QTest::newRow("Etc/GMT+2 dropped") << "Tue, 10 Jun 2003 04:00:00 Etc/GMT+2" << utc(2003, 6, 10, 2);
        QTest::newRow("zone's long name dropped")
            << "Tue, 10 Jun 2003 04:00:00 Central European Summer Time" << utc(2003, 6, 10, 2);
        QTest::newRow("year after the zone") << "Tue Jun 10 04:00:00 CEST 2003" << utc(2003, 6, 10, 2);
        QTest::newRow("unknown zone in winter") << "Wed, 04 Dec 2002 13:00:00 XYZT" << utc(2002, 12, 4, 12);
        QTest::newRow("unknown word before the time") << "Tue, 10 Jun 2003 CEST 04:00:00" << QDateTime();
        QTest::newRow("empty") << "" << QDateTime();
        QTest::newRow("words") << "yesterday evening" << QDateTime();
        QTest::newRow("31 February") << "Sat, 31 Feb 2004 10:00:00 GMT" << QDateTime();
        QTest::newRow("hour 25") << "Sat, 07 Sep 2002 25:00:00 GMT" << QDateTime();
        QTest::newRow("13 PM") << "Sat, 07 Sep 2002 13:00:00 PM GMT" << QDateTime();
        QTest::newRow("no month") << "Sat, 07 2002 10:00:00 GMT" << QDateTime();
    }
    void rfc822Dates()
    {
        QFETCH(QString, text);
        QFETCH(QDateTime, expected);
        const QDateTime date = RssFeed::parseRfc822Date(text);
        QCOMPARE(date.isValid(), expected.isValid());
        if (expected.isValid())
            QCOMPARE(date, expected);
    }

    void iso8601Dates_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDateTime>("expected");
        // Every form of the W3C date-time profile.
        QTest::newRow("year") << "2003" << utc(2003, 1, 1);
        QTest::newRow("year and month") << "2003-06" << utc(2003, 6, 1);
        QTest::newRow("minutes, Z") << "2003-06-10T04:05Z" << utc(2003, 6, 10, 4, 5);
        QTest::newRow("minutes, offset") << "2003-06-10T04:05+05:30" << utc(2003, 6, 9, 22, 35);
        QTest::newRow("seconds, negative offset") << "2003-06-10T04:05:06-05:00" << utc(2003, 6, 10, 9, 5, 6);
        QTest::newRow("tenths") << "2003-06-10T04:05:06.5Z" << utc(2003, 6, 10, 4, 5, 6).addMSecs(500);
        QTest::newRow("microseconds") << "2003-06-10T04:05:06.123456+01:00"
                                      << utc(2003, 6, 10, 3, 5, 6).addMSecs(123);
        QTest::newRow("Z") << "2003-06-10T04:00:00Z" << utc(2003, 6, 10, 4);
        QTest::newRow("offset, no seconds") << "2003-06-10T04:00+02:00" << utc(2003, 6, 10, 2);
        QTest::newRow("fraction, compact offset") << "2003-06-10T04:00:00.25-0500" << utc(2003, 6, 10, 9).addMSecs(250);
        QTest::newRow("date only") << "2003-06-10" << utc(2003, 6, 10);
        QTest::newRow("no zone is UTC") << "2003-06-10T04:05:06" << utc(2003, 6, 10, 4, 5, 6);
        QTest::newRow("blanks around") << "  2003-06-10T04:00:00Z\n" << utc(2003, 6, 10, 4);
        QTest::newRow("month 13") << "2003-13-10T04:00:00Z" << QDateTime();
        QTest::newRow("offset hour 24") << "2003-06-10T04:00+24:00" << QDateTime();
        QTest::newRow("garbage zone") << "2003-06-10T04:00:00Q1" << QDateTime();
        QTest::newRow("RFC 822 is not ISO") << "Tue, 10 Jun 2003 04:00:00 GMT" << QDateTime();
    }
    void iso8601Dates()
    {
        QFETCH(QString, text);
        QFETCH(QDateTime, expected);
        const QDateTime date = RssFeed::parseIso8601Date(text);
        QCOMPARE(date.isValid(), expected.isValid());
        if (expected.isValid())
            QCOMPARE(date, expected);
    }

    void readsDocuments_data()
    {
        QTest::addColumn<QByteArray>("xml");
        QTest::addColumn<QStringList>("channel"); // title, description, image
        QTest::addColumn<Items>("items");
        QTest::addColumn<bool>("error");

        QTest::newRow("rss, second item has a description")
            << rss("<item><title>A</title><link>http://a/</link><description>da</description>"
                   "<pubDate>Tue, 10 Jun 2003 04:00:00 GMT</pubDate></item>"
                   "<item><title>B</title><link>http://b/</link><description>db</description></item>",
                   "<image><url>http://img/</url></image>")
            << QStringList{"Chan", "Desc", "http://img/"}
            << Items{{"A", "da", "http://a/", "2003-06-10T04:00:00Z"}, {"B", "db", "http://b/", ""}} << false;
        QTest::newRow("rss, one item: no description kept")
            << rss("<item><title>A</title><link>http://a/</link><description>da</description></item>")
            << QStringList{"Chan", "Desc", ""} << Items{{"A", "", "http://a/", ""}} << false;
        QTest::newRow("rss, second item without description")
            << rss("<item><title>A</title><link>l1</link><description>da</description></item>"
                   "<item><title>B</title><link>l2</link></item>")
            << QStringList{"Chan", "Desc", ""} << Items{{"A", "", "l1", ""}, {"B", "", "l2", ""}} << false;
        QTest::newRow("rss, CDATA and entities")
            << rss("<item><title><![CDATA[Tom & <b>Jerry</b>]]></title><link>http://a/?x=1&amp;y=2</link>"
                   "<pubDate>bogus date</pubDate></item>")
            << QStringList{"Chan", "Desc", ""} << Items{{"Tom & <b>Jerry</b>", "", "http://a/?x=1&y=2", ""}}
            << false;
        QTest::newRow("rss, empty items skipped, prefixed title ignored")
            << rss("<item><guid>g</guid></item><item><media:title xmlns:media=\"m\">M</media:title>"
                   "<title>T</title><link>L</link></item>")
            << QStringList{"Chan", "Desc", ""} << Items{{"T", "", "L", ""}} << false;
        QTest::newRow("rss, item without link stops the reading")
            << rss("<item><title>A</title><link>l1</link></item><item><title>B</title></item>"
                   "<item><title>C</title><link>l3</link></item>")
            << QStringList{"Chan", "Desc", ""} << Items{{"A", "", "l1", ""}} << true;
        QTest::newRow("rss without channel")
            << QByteArray("<rss><title>x</title></rss>") << QStringList{"", "", ""} << Items{} << true;
        QTest::newRow("rdf with prefixes")
            << QByteArray("<?xml version=\"1.0\"?><rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\" "
                          "xmlns=\"http://purl.org/rss/1.0/\" xmlns:dc=\"http://purl.org/dc/elements/1.1/\">"
                          "<channel><title>RDF chan</title><description>R desc</description>"
                          "<items><rdf:Seq><rdf:li rdf:resource=\"http://a/\"/></rdf:Seq></items></channel>"
                          "<image><title>logo</title><url>http://img/r.png</url></image>"
                          "<item><title>A</title><link>http://a/</link><description>d</description>"
                          "<dc:date>2003-06-10T04:00:00+02:00</dc:date></item>"
                          "<item><title>B</title><link>http://b/</link></item></rdf:RDF>")
            << QStringList{"RDF chan", "R desc", "http://img/r.png"}
            << Items{{"A", "d", "http://a/", "2003-06-10T02:00:00Z"}, {"B", "", "http://b/", ""}} << false;
        QTest::newRow("rdf, unreadable date stops the reading")
            << QByteArray("<RDF><channel><title>C</title></channel><item><title>A</title><link>a</link></item>"
                          "<item><title>B</title><link>b</link><date>never</date></item></RDF>")
            << QStringList{"C", "", ""} << Items{{"A", "", "a", ""}} << true;
        QTest::newRow("non-Latin text")
            << QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?><rss><channel><title>Новости</title>"
                              "<item><title>日本語</title><link>http://a/ü</link></item></channel></rss>").toUtf8()
            << QStringList{"Новости", "", ""} << Items{{"日本語", "", "http://a/ü", ""}} << false;
    }
    void readsDocuments()
    {
        QFETCH(QByteArray, xml);
        QFETCH(QStringList, channel);
        QFETCH(Items, items);
        QFETCH(bool, error);
        const std::optional<XmlElement> root = RssFeed::loadXml(xml);
        QVERIFY(root);
        RssChannelInfo info;
        const RssFeed::Document document = RssFeed::readFeed(*root, true, info);
        QCOMPARE((QStringList{info.channelTitle, info.channelDescription, info.imageUrl}), channel);
        QCOMPARE(flatten(document.items), items);
        QCOMPARE(!document.error.isEmpty(), error);
    }

    void decodesTheDeclaredEncoding_data()
    {
        QTest::addColumn<QByteArray>("encoding"); // empty: no declaration
        QTest::addColumn<QString>("title");
        QTest::newRow("windows-1251") << QByteArray("windows-1251") << QStringLiteral("Привет");
        QTest::newRow("ISO-8859-7") << QByteArray("ISO-8859-7") << QStringLiteral("Καλημέρα");
        QTest::newRow("ISO-8859-1") << QByteArray("ISO-8859-1") << QStringLiteral("Café crème");
        QTest::newRow("Shift_JIS") << QByteArray("Shift_JIS") << QStringLiteral("日本");
        QTest::newRow("UTF-16") << QByteArray("UTF-16") << QStringLiteral("Grüße 🙂");
        QTest::newRow("no declaration: UTF-8") << QByteArray() << QStringLiteral("Grüße");
    }
    void decodesTheDeclaredEncoding()
    {
        QFETCH(QByteArray, encoding);
        QFETCH(QString, title);
        const QString xml = QStringLiteral("<?xml version=\"1.0\"%1?><rss><channel><title>%2</title></channel></rss>")
                                .arg(encoding.isEmpty() ? QString() : QStringLiteral(" encoding=\"%1\"").arg(QLatin1String(encoding)),
                                     title);
        QStringEncoder encoder(encoding.isEmpty() ? "UTF-8" : encoding.constData(),
                               QStringConverter::Flag::WriteBom);
        QVERIFY(encoder.isValid());
        const QByteArray bytes = encoder.encode(xml);
        QString text;
        const auto root = RssFeed::loadXml(bytes, &text);
        QVERIFY(root);
        RssChannelInfo info;
        RssFeed::readFeed(*root, false, info);
        QCOMPARE(info.channelTitle, title);
        QVERIFY(text.contains(title));
    }

    // Which encoding a body is read in: byte order mark, Content-Type charset, a two- or
    // four-byte layout of the first characters, the XML declaration, UTF-8.
    void detectsTheEncoding_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QByteArray>("contentType");
        QTest::addColumn<QByteArray>("expected");
        const QByteArray rss = "<rss><channel><title>\xcf\xf0\xe8</title></channel></rss>";
        auto declared = [&rss](const char *encoding, const char *quote = "\"") {
            return QByteArray("<?xml version=") + quote + "1.0" + quote + " encoding = " + quote + encoding + quote +
                   " ?>" + rss;
        };
        QTest::newRow("header charset, no declaration") << rss << QByteArray("text/xml; charset=windows-1251")
                                                         << QByteArray("windows-1251");
        QTest::newRow("quoted, parameter in capitals")
            << rss << QByteArray("application/rss+xml;CHARSET=\"Windows-1252\"") << QByteArray("windows-1252");
        QTest::newRow("header beats the declaration")
            << declared("UTF-8") << QByteArray("text/xml; charset=koi8-r") << QByteArray("KOI8-R");
        QTest::newRow("ISO-8859-1 reads as windows-1252")
            << rss << QByteArray("text/xml; charset=ISO-8859-1") << QByteArray("windows-1252");
        QTest::newRow("unknown charset: the declaration")
            << declared("windows-1251", "'") << QByteArray("text/xml; charset=x-no-such") << QByteArray("windows-1251");
        QTest::newRow("unknown charset, no declaration: UTF-8")
            << rss << QByteArray("text/xml; charset=x-no-such") << QByteArray("UTF-8");
        QTest::newRow("unknown declaration: UTF-8") << declared("x-no-such") << QByteArray() << QByteArray("UTF-8");
        QTest::newRow("declared UTF-16 in one-byte text: UTF-8") << declared("UTF-16") << QByteArray() << QByteArray("UTF-8");
        QTest::newRow("nothing: UTF-8") << rss << QByteArray("text/xml") << QByteArray("UTF-8");
        QTest::newRow("UTF-8 mark beats the header")
            << "\xef\xbb\xbf" + rss << QByteArray("text/xml; charset=windows-1251") << QByteArray("UTF-8");
        QTest::newRow("UTF-32LE mark") << QByteArray::fromHex("fffe00003c000000") << QByteArray() << QByteArray("UTF-32LE");
        QTest::newRow("UTF-32BE by layout") << QByteArray::fromHex("0000003c0000003f") << QByteArray() << QByteArray("UTF-32BE");
        QTest::newRow("UTF-32LE by layout") << QByteArray::fromHex("3c0000003f000000") << QByteArray() << QByteArray("UTF-32LE");
        QTest::newRow("UTF-16BE by layout") << QByteArray::fromHex("003c003f0078") << QByteArray() << QByteArray("UTF-16BE");
        QTest::newRow("UTF-16LE by layout") << QByteArray::fromHex("3c003f007800") << QByteArray() << QByteArray("UTF-16LE");
        QTest::newRow("charset UTF-16 takes the order shown")
            << QByteArray::fromHex("003c00720073") << QByteArray("text/xml; charset=utf-16") << QByteArray("UTF-16BE");
        QTest::newRow("charset UTF16, no order shown: little-endian")
            << QByteArray("<rss/>") << QByteArray("text/xml; charset=UTF16") << QByteArray("UTF-16LE");
    }
    void detectsTheEncoding()
    {
        QFETCH(QByteArray, body);
        QFETCH(QByteArray, contentType);
        QFETCH(QByteArray, expected);
        QCOMPARE(RssFeedEncoding::detect(body, contentType), expected);
    }

    // Feeds in other encodings read whole, whatever the declaration says or leaves out.
    void readsEveryEncoding_data()
    {
        QTest::addColumn<QByteArray>("encoding");    // what the bytes are written in
        QTest::addColumn<QByteArray>("declaration"); // the encoding the document declares, if any
        QTest::addColumn<QByteArray>("contentType");
        QTest::addColumn<QString>("title");
        QTest::newRow("windows-1251 by header") << QByteArray("windows-1251") << QByteArray()
                                                << QByteArray("application/rss+xml; charset=windows-1251")
                                                << QStringLiteral("Привет, мир");
        QTest::newRow("windows-1252 by header") << QByteArray("windows-1252") << QByteArray()
                                                << QByteArray("text/xml; charset=windows-1252")
                                                << QStringLiteral("Café – “quoted”");
        QTest::newRow("header beats a wrong declaration")
            << QByteArray("windows-1251") << QByteArray("ISO-8859-1") << QByteArray("text/xml; charset=windows-1251")
            << QStringLiteral("Привет");
        QTest::newRow("unknown charset, declaration") << QByteArray("KOI8-R") << QByteArray("KOI8-R")
                                                      << QByteArray("text/xml; charset=bogus") << QStringLiteral("Привет");
        QTest::newRow("UTF-16BE without mark") << QByteArray("UTF-16BE") << QByteArray("UTF-16") << QByteArray()
                                               << QStringLiteral("Grüße 🙂");
        QTest::newRow("UTF-32BE without mark") << QByteArray("UTF-32BE") << QByteArray() << QByteArray()
                                               << QStringLiteral("Grüße 🙂");
    }
    void readsEveryEncoding()
    {
        QFETCH(QByteArray, encoding);
        QFETCH(QByteArray, declaration);
        QFETCH(QByteArray, contentType);
        QFETCH(QString, title);
        QString xml = QStringLiteral("<rss><channel><title>%1</title></channel></rss>").arg(title);
        if (!declaration.isEmpty())
            xml.prepend(QStringLiteral("<?xml version=\"1.0\" encoding=\"%1\"?>").arg(QLatin1String(declaration)));
        QStringEncoder encoder(encoding.constData());
        QVERIFY(encoder.isValid());
        const QByteArray bytes = encoder.encode(xml);
        const RssFeed::ParsedDocument document = RssFeed::readDocument(bytes, contentType);
        QVERIFY2(document.root, qPrintable(document.error));
        RssChannelInfo info;
        RssFeed::readFeed(*document.root, false, info);
        QCOMPARE(info.channelTitle, title);
        QCOMPARE(document.text(), xml);
        QCOMPARE(RssFeedEncoding::decode(bytes, contentType), xml);
    }

    void resolvesItemLinks_data()
    {
        QTest::addColumn<QString>("link");
        QTest::addColumn<QString>("feed");
        QTest::addColumn<QString>("expected");
        const QString feed = QStringLiteral("http://news.example:8080/feeds/rss.xml");
        QTest::newRow("absolute path") << "/news/1.html" << feed << "http://news.example:8080/news/1.html";
        QTest::newRow("relative path") << "item?id=3" << feed << "http://news.example:8080/feeds/item?id=3";
        QTest::newRow("relative path stays encoded") << "a%20b" << feed << "http://news.example:8080/feeds/a%20b";
        QTest::newRow("host, scheme of the feed") << "//cdn.example/x" << "https://f.example/rss"
                                                  << "https://cdn.example/x";
        QTest::newRow("absolute unchanged") << "HTTP://Other.example/A?b=%41" << feed << "HTTP://Other.example/A?b=%41";
        QTest::newRow("javascript unchanged") << "javascript:alert(1)" << feed << "javascript:alert(1)";
        QTest::newRow("empty stays empty") << "" << feed << "";
        QTest::newRow("no feed address") << "/news/1.html" << "" << "/news/1.html";
        QTest::newRow("feed from a file") << "/news/1.html" << "file:///tmp/rss.xml" << "/news/1.html";
    }
    void resolvesItemLinks()
    {
        QFETCH(QString, link);
        QFETCH(QString, feed);
        QFETCH(QString, expected);
        QCOMPARE(RssFeed::resolveLink(link, QUrl(feed)), expected);
    }

    // Entities that point outside the document are never fetched.
    void externalEntitiesAreNotFetched()
    {
        const QString secretFile = m_dir.filePath(QStringLiteral("secret.txt"));
        QFile secret(secretFile);
        QVERIFY(secret.open(QIODevice::WriteOnly));
        secret.write("TOP-SECRET");
        secret.close();
        TestServer listener;
        const QByteArray xml =
            "<?xml version=\"1.0\"?><!DOCTYPE rss SYSTEM \"http://127.0.0.1:" + QByteArray::number(listener.serverPort()) +
            "/rss.dtd\" [<!ENTITY file SYSTEM \"" + QUrl::fromLocalFile(secretFile).toEncoded() +
            "\"><!ENTITY web SYSTEM \"http://127.0.0.1:" + QByteArray::number(listener.serverPort()) +
            "/e\"><!ENTITY own \"inner\">]><rss><channel><title>a&file;b&web;c&own;</title></channel></rss>";
        const auto root = RssFeed::loadXml(xml);
        QVERIFY(root);
        RssChannelInfo info;
        RssFeed::readFeed(*root, false, info);
        QCOMPARE(info.channelTitle, QStringLiteral("abcinner"));
        QCoreApplication::processEvents();
        QCOMPARE(listener.connectionCount(), 0);
    }

    void malformedDocuments_data()
    {
        QTest::addColumn<QByteArray>("xml");
        QTest::newRow("unclosed") << QByteArray("<rss><channel><title>x</title></rss>");
        QTest::newRow("html entity") << QByteArray("<rss><channel><title>a&nbsp;b</title></channel></rss>");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("html page") << QByteArray("<!DOCTYPE html><html><body><p>x</body></html>");
        QTest::newRow("text after the root") << QByteArray("<rss/><rss/>");
    }
    void malformedDocuments()
    {
        QFETCH(QByteArray, xml);
        QVERIFY(!RssFeed::loadXml(xml));
        RssChannelInfo info;
        QVERIFY(!RssFeed::retrieveChannelInfo(xml, info, nullptr));
    }

    // Hostile documents: nesting beyond any feed's needs is refused (a deep tree once overflowed
    // the stack when torn down), and text inside deep nesting is kept once, not per level.
    void hostileDocumentsStayCheap()
    {
        const int deep = 200000;
        QByteArray nested = "<rss>" + QByteArray("<a>").repeated(deep) + QByteArray("</a>").repeated(deep) + "</rss>";
        QString error;
        QVERIFY(!RssFeed::loadXml(nested, nullptr, &error));
        QVERIFY(!error.isEmpty());
        RssChannelInfo info;
        QVERIFY(!RssFeed::retrieveChannelInfo(nested, info, nullptr));

        const int levels = RssFeed::kMaxDepth - 4;
        const QByteArray text(2 * 1024 * 1024, 'x');
        const QByteArray wide = "<rss><channel><title>" + QByteArray("<b>").repeated(levels) + text +
                                QByteArray("</b>").repeated(levels) + "</title></channel></rss>";
        const auto root = RssFeed::loadXml(wide);
        QVERIFY(root);
        const XmlElement *title = root->selectSingleNode(u"channel")->selectSingleNode(u"title");
        QCOMPARE(title->ownText.size(), 0);
        QCOMPARE(title->text().size(), text.size());
        // Interleaved text keeps the document order.
        const auto mixed = RssFeed::loadXml("<t> a<b>b<i>c</i>d</b>e </t>");
        QVERIFY(mixed);
        QCOMPARE(mixed->text(), QStringLiteral("abcde"));
    }

    // Elements no reader looks at cost only their text; a document of more elements than any
    // feed keeps is refused.
    void manyElements()
    {
        const int count = int(RssFeed::kMaxElements) + 1;
        const QByteArray ignored = "<rss><channel><item><title>T" + QByteArray("<a>x</a>").repeated(3) + "</title>" +
                                   QByteArray("<a/>").repeated(count) + "<link>L</link></item></channel></rss>";
        const auto root = RssFeed::loadXml(ignored);
        QVERIFY(root);
        RssChannelInfo info;
        const RssFeed::Document document = RssFeed::readFeed(*root, true, info);
        QCOMPARE(document.items.size(), 1);
        QCOMPARE(document.items[0].title, QStringLiteral("Txxx"));
        QCOMPARE(document.items[0].link, QStringLiteral("L"));

        const QByteArray items = "<rss><channel>" + QByteArray("<item/>").repeated(count) + "</channel></rss>";
        QString error;
        QVERIFY(!RssFeed::loadXml(items, nullptr, &error));
        QVERIFY(error.contains(QStringLiteral("too many elements")));
    }

    // An item dated in the future counts as dated at the check: later items still arrive.
    void futureDatesDoNotSilenceTheChannel()
    {
        auto db = freshDb();
        QVERIFY(db);
        QDateTime now = UtcTime::at(QDate(2024, 1, 1), QTime(8, 0));
        db->setClock([&now] { return now; });
        const qint32 id = db->insertChannel(QStringLiteral("F"), QString(), QString(), QString(), QString());
        auto item = [](const char *title, const char *date) {
            return QByteArray("<item><title>") + title + "</title><link>http://l/" + title +
                   "</link><pubDate>" + date + "</pubDate></item>";
        };
        QVERIFY(pass(*db, id, rss(item("future", "Fri, 01 Jan 2100 00:00:00 GMT"))));
        QCOMPARE(db->lastFetched(id).value(), now);
        now = now.addDays(1);
        QVERIFY(pass(*db, id, rss(item("next day", "Tue, 02 Jan 2024 06:00:00 GMT"))));
        QCOMPARE(db->headlines(id)->size(), 2);
        QCOMPARE(db->lastFetched(id).value(), UtcTime::at(QDate(2024, 1, 2), QTime(6, 0)));
    }

    // A feed whose clock runs ahead (a zone written wrong): its item is stored once, at the
    // checks while its date is ahead and after that date has come; later items still arrive,
    // and a dated item that repeats another one's texts under a new date is still new.
    void itemDatedAheadIsStoredOnce()
    {
        auto db = freshDb();
        QVERIFY(db);
        QDateTime now = utc(2024, 1, 1, 8);
        db->setClock([&now] { return now; });
        auto item = [](const char *title, const char *date) {
            return QByteArray("<item><title>") + title + "</title><link>http://l/" + title +
                   "</link><pubDate>" + date + "</pubDate></item>";
        };
        const QByteArray ahead = item("ahead", "Mon, 01 Jan 2024 10:00:00 GMT");
        QString insertError, parseError;
        const qint32 id = RssFeed::addChannel(*db, rss(ahead), QStringLiteral("http://f/"), QStringLiteral("A"),
                                              QString(), &insertError, &parseError);
        QVERIFY(id > 0);
        auto titles = [&db, id] {
            QStringList out;
            const QList<RssDatabase::Headline> headlines = db->headlines(id).value();
            for (const RssDatabase::Headline &h : headlines)
                out << h.headlineTitle;
            return out;
        };
        QCOMPARE(titles(), QStringList{"ahead"});
        QCOMPARE(db->headlines(id)->constFirst().headlineDate, now);
        for (int check = 0; check < 3; ++check) {
            now = now.addSecs(10 * 60);
            QVERIFY(!pass(*db, id, rss(ahead)));
        }
        QCOMPARE(titles(), QStringList{"ahead"});

        now = utc(2024, 1, 1, 9);
        QVERIFY(pass(*db, id, rss(item("later", "Mon, 01 Jan 2024 08:45:00 GMT") + ahead)));
        QCOMPARE(titles(), (QStringList{"ahead", "later"}));
        // The item's date has come: it is the item stored before, not a new one.
        for (const QDateTime &checkTime : {utc(2024, 1, 1, 10, 30), utc(2024, 1, 2, 8)}) {
            now = checkTime;
            QVERIFY(!pass(*db, id, rss(ahead + item("later", "Mon, 01 Jan 2024 08:45:00 GMT"))));
        }
        QCOMPARE(titles(), (QStringList{"ahead", "later"}));
        QVERIFY(pass(*db, id, rss(item("later", "Mon, 01 Jan 2024 20:00:00 GMT") + ahead)));
        QCOMPARE(titles(), (QStringList{"ahead", "later", "later"}));
        QCOMPARE(db->lastFetched(id).value(), utc(2024, 1, 1, 20));
    }

    // Which items a pass stores, given what the channel has seen before.
    void storesNewItemsOnly()
    {
        auto db = freshDb();
        QVERIFY(db);
        db->setClock([] { return UtcTime::at(QDate(2024, 1, 1), QTime(8, 0)); });
        const qint32 id = db->insertChannel(QStringLiteral("C"), QString(), QString(), QString(), QString());
        auto item = [](const char *title, const char *date) {
            QByteArray x = QByteArray("<item><title>") + title + "</title><link>http://l/" + title + "</link>";
            if (*date)
                x += QByteArray("<pubDate>") + date + "</pubDate>";
            return x + "</item>";
        };
        const QByteArray a = item("a", "Tue, 10 Jun 2003 04:00:00 GMT");
        const QByteArray u = item("u", "");

        QVERIFY(pass(*db, id, rss(a + u)));
        QCOMPARE(db->headlines(id)->size(), 2);
        QCOMPARE(db->lastFetched(id).value(), utc(2003, 6, 10, 4));
        // The same document again: the dated item is not newer, the undated one is known.
        QVERIFY(!pass(*db, id, rss(a + u)));
        QCOMPARE(db->headlines(id)->size(), 2);
        // Equal to last-fetched is not new; a second later is.
        QVERIFY(!pass(*db, id, rss(item("same", "Tue, 10 Jun 2003 04:00:00 GMT"))));
        QVERIFY(pass(*db, id, rss(item("later", "Tue, 10 Jun 2003 04:00:01 GMT"))));
        QCOMPARE(db->lastFetched(id).value(), utc(2003, 6, 10, 4, 0, 1));
        // A pass that stores only undated items leaves last-fetched where it was.
        QVERIFY(pass(*db, id, rss(item("u2", "") + item("old", "Sat, 07 Sep 2002 00:00:01 GMT"))));
        QCOMPARE(db->lastFetched(id).value(), utc(2003, 6, 10, 4, 0, 1));
        QCOMPARE(db->headlines(id)->size(), 4);
        // An error keeps what was stored before it and does not move last-fetched.
        QString error;
        pass(*db, id, rss(item("new1", "Wed, 11 Jun 2003 00:00:00 GMT") + "<item><title>broken</title></item>"), &error);
        QVERIFY(!error.isEmpty());
        QCOMPARE(db->headlines(id)->size(), 5);
        QCOMPARE(db->lastFetched(id).value(), utc(2003, 6, 10, 4, 0, 1));
        // A channel removed meanwhile stores nothing.
        QVERIFY(db->removeChannel(id));
        QVERIFY(!pass(*db, id, rss(item("gone", "Thu, 12 Jun 2003 00:00:00 GMT")), &error));
        QVERIFY(error.isEmpty());
        QVERIFY(db->headlines(id)->isEmpty());
    }

    void retrieveAndAdd()
    {
        auto db = freshDb();
        QVERIFY(db);
        const QByteArray xml = rss("<item><title>A</title><link>l1</link><pubDate>Tue, 10 Jun 2003 04:00:00 GMT</pubDate></item>",
                                   "<image><url>http://img/</url></image>");
        RssChannelInfo info;
        QString error;
        QVERIFY(RssFeed::retrieveChannelInfo(xml, info, &error));
        QCOMPARE(info.channelTitle, QStringLiteral("Chan"));
        QCOMPARE(info.imageUrl, QStringLiteral("http://img/"));
        QVERIFY(info.feedXML.contains(QStringLiteral("<pubDate>")));
        QVERIFY(error.isEmpty());
        // A retrieve of an "rss" root without channel still succeeds, and says what failed.
        QVERIFY(RssFeed::retrieveChannelInfo("<rss/>", info, &error));
        QVERIFY(!error.isEmpty());

        QString insertError;
        const qint32 id = RssFeed::addChannel(*db, xml, QStringLiteral("http://f/"), QStringLiteral("Mine's"),
                                              QStringLiteral("My own"), &insertError, &error);
        QVERIFY(id > 0);
        const auto channel = db->channels()->constFirst();
        QCOMPARE(channel.channelId, id);
        QCOMPARE(channel.channelTitle, QStringLiteral("Mine's"));
        QCOMPARE(channel.channelDescription, QStringLiteral("My own"));
        QCOMPARE(channel.feedUrl, QStringLiteral("http://f/"));
        QCOMPARE(channel.imageUrl, QStringLiteral("http://img/"));
        QCOMPARE(db->headlines(id)->size(), 1);
        QCOMPARE(RssFeed::addChannel(*db, "not xml", QString(), QString(), QString(), &insertError, &error),
                 RssFeed::kNoChannel);
        QCOMPARE(db->channels()->size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestRssFeed)
#include "tst_rssfeed.moc"
