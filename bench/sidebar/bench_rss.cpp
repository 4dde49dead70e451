// Reports how long the RSS reader takes to read and store a large feed into a fresh database,
// and to purge a large number of old headlines. Goals on a developer machine: under 1 s for a
// feed of 10,000 items, under 0.2 s for purging 100,000 headlines. Nothing is asserted.

#include "sidebar/rssdatabase.h"
#include "sidebar/rssfeed.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

QByteArray generatedFeed(int items)
{
    QByteArray xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><rss version=\"2.0\"><channel>"
                     "<title>Bench</title><description>Generated</description>";
    const QDateTime start(QDate(2024, 1, 1), QTime(0, 0), Qt::UTC);
    for (int i = 0; i < items; ++i) {
        const QDateTime date = start.addSecs(qint64(i) * 60);
        xml += "<item><title>Headline number " + QByteArray::number(i) + " &amp; more</title>"
               "<link>http://bench.invalid/articles/" + QByteArray::number(i) + "</link>"
               "<description><![CDATA[Some <b>text</b> about item " + QByteArray::number(i) +
               ", long enough to look like a summary of an article.]]></description>"
               "<pubDate>" + date.toString(Qt::RFC2822Date).toLatin1() + "</pubDate></item>";
    }
    return xml + "</channel></rss>";
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTemporaryDir dir;
    if (!dir.isValid())
        return 1;

    {
        const QByteArray feed = generatedFeed(10000);
        RssDatabase db(dir.filePath(QStringLiteral("store.mdb")));
        QElapsedTimer timer;
        timer.start();
        if (!db.open())
            return 1;
        QString insertError, parseError;
        const qint32 id = RssFeed::addChannel(db, feed, QStringLiteral("http://bench.invalid/rss"),
                                              QStringLiteral("Bench"), QString(), &insertError,
                                              &parseError);
        const qint64 elapsed = timer.elapsed();
        out << "parse and store 10000 items (" << feed.size() / 1024 << " KiB) into a fresh database: "
            << elapsed << " ms, " << (id > 0 ? db.headlines(id)->size() : 0) << " stored\n";
    }

    {
        RssDatabase db(dir.filePath(QStringLiteral("purge.mdb")));
        if (!db.open())
            return 1;
        const QDateTime old = QDateTime::currentDateTimeUtc().addDays(-30);
        db.setClock([old] { return old; });
        const qint32 id = db.insertChannel(QStringLiteral("Old"), QString(), QString(), QString(), QString());
        db.beginTransaction();
        for (int i = 0; i < 100000; ++i) {
            db.addHeadline(id, QStringLiteral("Old headline %1").arg(i), QString(),
                           QStringLiteral("http://old.invalid/%1").arg(i), old.addSecs(i));
        }
        db.commitTransaction();
        db.setClock({});
        QElapsedTimer timer;
        timer.start();
        db.purgeHeadlines(1, 3);
        const qint64 elapsed = timer.elapsed();
        out << "purge 100000 headlines: " << elapsed << " ms, " << db.headlines(id)->size()
            << " left\n";
    }
    return 0;
}
