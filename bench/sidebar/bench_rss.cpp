// Reports how long the RSS reader takes to read and store a large feed into a fresh database,
// and to purge a large number of old headlines. Goals on a developer machine: under 1 s for a
// feed of 10,000 items, under 0.2 s for purging 100,000 headlines.
//
// Then the peak memory of a 9 MB feed of several shapes, downloaded from a server on 127.0.0.1
// and read as the panel's check does (download, parse, store new items) and as the channel
// dialog does (retrieve, then add). Each run is a child process of its own, so its peak
// resident size (VmHWM) is that run's alone. Goal: at most about three times the feed's size
// plus 100 MB above the process's size before the download. Nothing is asserted.

#include "core/utctime.h"
#include "sidebar/rsschanneldialog.h"
#include "sidebar/rssdatabase.h"
#include "sidebar/rssfeed.h"
#include "sidebar/rsspanel.h"
#include "testserver.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

constexpr qsizetype kFeedBytes = 9 * 1024 * 1024;

QByteArray generatedItem(int i)
{
    const QDateTime date = UtcTime::at(QDate(2024, 1, 1), QTime(0, 0)).addSecs(qint64(i) * 60);
    return "<item><title>Headline number " + QByteArray::number(i) + " &amp; more</title>"
           "<link>http://bench.invalid/articles/" + QByteArray::number(i) + "</link>"
           "<description><![CDATA[Some <b>text</b> about item " + QByteArray::number(i) +
           ", long enough to look like a summary of an article.]]></description>"
           "<pubDate>" + date.toString(Qt::RFC2822Date).toLatin1() + "</pubDate></item>";
}

const QByteArray kHead = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><rss version=\"2.0\"><channel>"
                         "<title>Bench</title><description>Generated</description>";
const QByteArray kTail = "</channel></rss>";

QByteArray generatedFeed(int items)
{
    QByteArray xml = kHead;
    for (int i = 0; i < items; ++i)
        xml += generatedItem(i);
    return xml + kTail;
}

// kFeedBytes of feed: items made by item(i), as many as fit.
QByteArray feedOf(const std::function<QByteArray(int)> &item)
{
    QByteArray xml = kHead;
    for (int i = 0; xml.size() < kFeedBytes; ++i)
        xml += item(i);
    return xml + kTail;
}

// One item whose description holds `inner` repeated to fill the feed.
QByteArray oneItemHolding(const QByteArray &inner, bool inDescription)
{
    const QByteArray open = "<item><title>One</title><link>http://bench.invalid/one</link>" +
                            QByteArray(inDescription ? "<description>" : "");
    const QByteArray close = QByteArray(inDescription ? "</description>" : "") + "</item>";
    const qsizetype room = kFeedBytes - kHead.size() - kTail.size() - open.size() - close.size();
    return kHead + open + inner.repeated(room / inner.size()) + close + kTail;
}

// As many dated items of three fields as the element limit lets in (four kept elements
// each), their titles as long as it takes to fill the feed.
QByteArray itemsUpToTheLimit()
{
    const int items = int(RssFeed::kMaxElements / 4) - 100;
    const qsizetype itemBytes = (kFeedBytes - kHead.size() - kTail.size()) / items;
    QByteArray xml = kHead;
    for (int i = 0; i < items; ++i) {
        const QByteArray item = "<link>http://bench.invalid/" + QByteArray::number(i) + "</link><pubDate>" +
                                UtcTime::at(QDate(2024, 1, 1), QTime(0, 0)).addSecs(qint64(i) * 60)
                                    .toString(Qt::RFC2822Date).toLatin1() + "</pubDate></item>";
        const QByteArray title = "<item><title>Headline " + QByteArray::number(i) + ' ';
        xml += title + QByteArray(qMax<qsizetype>(0, itemBytes - title.size() - item.size() - 8), 'x') + "</title>" + item;
    }
    return xml + kTail;
}

struct Shape
{
    const char *name;
    QByteArray feed;
};

QList<Shape> shapes()
{
    // rss, channel, item and description take four of the levels.
    const int levels = RssFeed::kMaxDepth - 4;
    const QByteArray nested = QByteArray("<b>").repeated(levels) + "x" + QByteArray("</b>").repeated(levels);
    return {
        {"many small items", feedOf(generatedItem)},
        {"a few huge descriptions", feedOf([](int i) {
             return "<item><title>Long " + QByteArray::number(i) + "</title><link>http://bench.invalid/" +
                    QByteArray::number(i) + "</link><description>" +
                    QByteArray("Words &amp; more words. ").repeated(kFeedBytes / 3 / 24) + "</description></item>";
         })},
        {"deep nesting in descriptions", feedOf([&nested](int i) {
             return "<item><title>Deep " + QByteArray::number(i) + "</title><link>http://bench.invalid/" +
                    QByteArray::number(i) + "</link><description>" + nested.repeated(200) + "</description></item>";
         })},
        {"items up to the element limit", itemsUpToTheLimit()},
        {"tiny items, too many elements", feedOf([](int i) {
             return "<item><title>" + QByteArray::number(i) + "</title><link>l</link></item>";
         })},
        {"tiny elements in an item", oneItemHolding("<a/>", false)},
        {"tiny elements in a description", oneItemHolding("<a/>", true)},
    };
}

qint64 statusKiB(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

// Runs `start` and waits for `signal` of `sender`.
template <typename Sender, typename Signal>
void runUntil(Sender *sender, Signal signal, const std::function<void()> &start)
{
    QEventLoop loop;
    QObject::connect(sender, signal, &loop, &QEventLoop::quit);
    start();
    loop.exec();
}

// The child: one feed check of the panel ("check") or one retrieve and add of the channel
// dialog ("add") on url. Prints the peak and the size before the download in KiB, how many
// headlines were stored and the failure the panel showed, if any.
int measure(const QString &mode, const QString &url)
{
    QTemporaryDir dir;
    QString shown;
    SidebarHost host;
    host.messageBox = [&shown](QWidget *, QMessageBox::Icon, const QString &text, QMessageBox::StandardButtons) {
        shown = text;
        return QMessageBox::Ok;
    };
    if (!dir.isValid())
        return 1;
    const QString file = dir.filePath(QStringLiteral("peak.mdb"));
    qint32 id = 0;
    if (mode == QLatin1String("check")) {
        // The channel is in the database before the panel opens it, as at a start.
        RssDatabase db(file);
        if (!db.open())
            return 1;
        id = db.insertChannel(QStringLiteral("Bench"), QString(), url, QString(), QString());
    }
    RssPanel panel(host);
    if (!panel.openConnection(file))
        return 1;
    qint64 before = 0;
    if (mode == QLatin1String("check")) {
        before = statusKiB("VmRSS:");
        runUntil(&panel, &RssPanel::checkFinished, [&panel] { panel.onCheckClicked(); });
    } else {
        const std::unique_ptr<RssChannelDialog> dialog(panel.newChannelDialog());
        dialog->setForAdding();
        dialog->findChild<QLineEdit *>(QStringLiteral("txtURL"))->setText(url);
        before = statusKiB("VmRSS:");
        bool retrieved = false;
        QObject::connect(dialog.get(), &RssChannelDialog::retrieveFinished, [&retrieved](bool ok) { retrieved = ok; });
        QObject::connect(dialog.get(), &RssChannelDialog::addFinished, [&id](qint32 channelId) { id = channelId; });
        runUntil(dialog.get(), &RssChannelDialog::retrieveFinished, [&dialog] { dialog->onRetrieveClicked(); });
        if (retrieved)
            runUntil(dialog.get(), &RssChannelDialog::addFinished, [&dialog] { dialog->onAddClicked(); });
    }
    const qint64 peak = statusKiB("VmHWM:");
    RssDatabase db(file);
    const qsizetype stored =
        id > 0 && db.open() ? db.headlines(id).value_or(QList<RssDatabase::Headline>()).size() : 0;
    QTextStream(stdout) << peak << ' ' << before << ' ' << stored << ' ' << shown << '\n';
    return 0;
}

void reportPeaks(QTextStream &out)
{
    TestServer server;
    for (const Shape &shape : shapes()) {
        server.feed(QStringLiteral("/feed"), shape.feed);
        out << "peak memory, " << shape.name << " (" << shape.feed.size() / 1024 << " KiB):";
        for (const char *mode : {"check", "add"}) {
            QProcess child;
            QEventLoop loop;
            QObject::connect(&child, &QProcess::finished, &loop, &QEventLoop::quit);
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
            child.setProcessEnvironment(environment);
            child.start(QCoreApplication::applicationFilePath(),
                        {QStringLiteral("--peak"), QLatin1String(mode), server.url(QStringLiteral("/feed"))});
            loop.exec();
            const QList<QByteArray> words = child.readAllStandardOutput().trimmed().split(' ');
            const qint64 peak = words.value(0).toLongLong(), before = words.value(1).toLongLong();
            out << ' ' << mode << ' ' << (peak - before) / 1024 << " MB";
            if (child.exitCode() != 0 || words.size() < 3)
                out << " (failed)";
            else
                out << " (" << words.value(2) << " stored" << (words.size() > 3 ? ", shown: " + words.mid(3).join(' ') : QByteArray()) << ")";
        }
        out << Qt::endl;
    }
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 4 && qstrcmp(argv[1], "--peak") == 0) {
        QApplication app(argc, argv);
        return measure(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    }
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
    out.flush();
    reportPeaks(out);
    return 0;
}
