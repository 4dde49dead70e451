#include "core/historystore.h"
#include "core/utctime.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

class TestHistoryStore : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_serial = 0;

    QString freshFile() { return m_dir.filePath(QStringLiteral("history-%1.db").arg(++m_serial)); }

    static QDateTime at(int minutes)
    {
        return UtcTime::at(QDate(2024, 3, 1), QTime(12, 0)).addSecs(minutes * 60);
    }

    static QStringList urls(const QList<HistoryStore::Entry> &entries)
    {
        QStringList list;
        for (const HistoryStore::Entry &entry : entries)
            list.append(entry.url);
        return list;
    }

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void oneRowPerAddressNewestFirst()
    {
        HistoryStore store(freshFile());
        QVERIFY(store.isOpen());
        QVERIFY(store.addVisit(QStringLiteral("http://a.example/"), QStringLiteral("A"), at(1)));
        QVERIFY(store.addVisit(QStringLiteral("http://b.example/"), QStringLiteral("B"), at(2)));
        QVERIFY(store.addVisit(QStringLiteral("http://c.example/"), QStringLiteral("C"), at(3)));
        // A revisit moves the address to the front and takes the new title ...
        QVERIFY(store.addVisit(QStringLiteral("http://a.example/"), QStringLiteral("A2"), at(4)));
        // ... but a visit without a title keeps the one it had.
        QVERIFY(store.addVisit(QStringLiteral("http://b.example/"), QString(), at(5)));

        const QList<HistoryStore::Entry> entries = store.snapshot();
        QCOMPARE(urls(entries), QStringList({QStringLiteral("http://b.example/"),
                                             QStringLiteral("http://a.example/"),
                                             QStringLiteral("http://c.example/")}));
        QCOMPARE(entries.at(0).title, QStringLiteral("B"));
        QCOMPARE(entries.at(0).lastVisit, at(5));
        QCOMPARE(entries.at(0).lastVisit.timeSpec(), Qt::UTC);
        QCOMPARE(entries.at(1).title, QStringLiteral("A2"));
        QCOMPARE(entries.at(1).lastVisit, at(4));
    }

    // A store whose header is whole but whose pages are damaged opens, and the check finds it:
    // from then on it is not open, and the file is left as it is.
    void damagedStoreIsFound()
    {
        const QString file = m_dir.filePath(QStringLiteral("damaged.db"));
        {
            HistoryStore store(file);
            QVERIFY(store.checkIntegrity());
            // Each visit is a transaction of its own, so a few long rows fill the pages rather
            // than thousands of short ones.
            const QString longTitle(1000, QLatin1Char('t'));
            for (int i = 0; i < 50; ++i)
                QVERIFY(store.addVisit(QStringLiteral("http://site%1.example/").arg(i), longTitle));
        }
        QFile damage(file);
        QVERIFY(damage.open(QIODevice::ReadWrite));
        QVERIFY(damage.size() > 4 * 4096);
        QVERIFY(damage.seek(2 * 4096));
        damage.write(QByteArray(4096, '\xab'));
        damage.close();
        QByteArray before;
        QVERIFY(damage.open(QIODevice::ReadOnly));
        before = damage.readAll();
        damage.close();

        HistoryStore store(file);
        QVERIFY(!store.checkIntegrity());
        QVERIFY(!store.isOpen());
        QVERIFY(!store.addVisit(QStringLiteral("http://new.example/"), {}));
        QVERIFY(damage.open(QIODevice::ReadOnly));
        QCOMPARE(damage.readAll(), before);
    }

    void ignoredAddresses_data()
    {
        QTest::addColumn<QString>("url");
        QTest::newRow("empty") << QString();
        QTest::newRow("blanks") << QStringLiteral("  \t");
        QTest::newRow("about:blank") << QStringLiteral("about:blank");
        QTest::newRow("upper case") << QStringLiteral("ABOUT:BLANK");
    }

    void ignoredAddresses()
    {
        QFETCH(QString, url);
        HistoryStore store(freshFile());
        QVERIFY(!store.addVisit(url, QStringLiteral("title")));
        QVERIFY(store.snapshot().isEmpty());
    }

    void textIsStoredAsGiven_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("title");
        QTest::newRow("quotes") << QStringLiteral("http://q.example/?a='1'&b=\"2\"")
                                << QStringLiteral("It's \"quoted\"");
        QTest::newRow("statement") << QStringLiteral("http://x.example/');DROP TABLE history;--")
                                   << QStringLiteral("'); DELETE FROM history; --");
        QTest::newRow("unicode") << QStringLiteral("http://例え.jp/パス")
                                 << QStringLiteral("日本語 — ünïcödé 😀");
    }

    void textIsStoredAsGiven()
    {
        QFETCH(QString, url);
        QFETCH(QString, title);
        HistoryStore store(freshFile());
        QVERIFY(store.addVisit(QStringLiteral("http://first.example/"), QStringLiteral("1"), at(1)));
        QVERIFY(store.addVisit(url, title, at(2)));
        const QList<HistoryStore::Entry> entries = store.snapshot();
        QCOMPARE(entries.size(), 2);
        QCOMPARE(entries.at(0).url, url);
        QCOMPARE(entries.at(0).title, title);
    }

    void sharedFileUserOnlyAndClear()
    {
        const QString file = freshFile();
        HistoryStore writer(file);
        HistoryStore reader(file); // a second connection on the same file at the same time
        QVERIFY(writer.isOpen() && reader.isOpen());
        QVERIFY(writer.addVisit(QStringLiteral("http://a.example/"), QStringLiteral("A")));
        QCOMPARE(reader.snapshot().size(), 1);
        const auto mask = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ReadOther
            | QFileDevice::WriteOther;
        QCOMPARE(QFile::permissions(file) & mask, QFileDevice::Permissions());

        QVERIFY(reader.clear());
        QVERIFY(writer.snapshot().isEmpty());
        QVERIFY(writer.addVisit(QStringLiteral("http://b.example/"), QStringLiteral("B")));
        QCOMPARE(reader.snapshot().size(), 1);
    }

    void unusableFileFailsQuietly_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("folderIsFile");
        QTest::newRow("not a database") << QByteArray(4096, 'x') << false;
        QTest::newRow("folder is a file") << QByteArray() << true;
    }

    void unusableFileFailsQuietly()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, folderIsFile);
        QString file = freshFile();
        {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(content);
        }
        if (folderIsFile)
            file += QStringLiteral("/history.db");
        HistoryStore store(file);
        QVERIFY(!store.addVisit(QStringLiteral("http://a.example/"), QStringLiteral("A")));
        QVERIFY(store.snapshot().isEmpty());
        QVERIFY(!store.clear());
    }

    void lockedStoreKeepsVisitsUntilFree()
    {
        // Another program holds the file locked: nothing stalls, no damage is assumed, and the
        // visits of the meantime are written once it lets go.
        const QString file = freshFile();
        { HistoryStore create(file); }
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
        other.setDatabaseName(file);
        QVERIFY(other.open());
        QSqlQuery lock(other);
        QVERIFY(lock.exec(QStringLiteral("BEGIN EXCLUSIVE")));
        {
            HistoryStore store(file);
            QVERIFY(!store.isOpen());
            QVERIFY(store.isLocked());
            store.setLockRetryInterval(60000);
            QVERIFY(!store.addVisit(QStringLiteral("http://a.example/"), QStringLiteral("A")));
            QVERIFY(lock.exec(QStringLiteral("COMMIT")));
            // Not tried again before the interval has passed.
            QVERIFY(!store.addVisit(QStringLiteral("http://b.example/"), QStringLiteral("B")));
            QVERIFY(store.isLocked());
            store.setLockRetryInterval(100); // five seconds otherwise
            QTRY_VERIFY_WITH_TIMEOUT(store.addVisit(QStringLiteral("http://b.example/"), QStringLiteral("B"))
                                         || store.isOpen(), 10000);
            // Visits keep the millisecond: c is the latest only once the clock has moved on.
            const qint64 bAdded = QDateTime::currentMSecsSinceEpoch();
            QTRY_VERIFY(QDateTime::currentMSecsSinceEpoch() > bAdded);
            QVERIFY(store.addVisit(QStringLiteral("http://c.example/"), QStringLiteral("C")));
            QVERIFY(!store.isLocked());
            QCOMPARE(store.addresses().first(), QStringLiteral("http://c.example/"));
            QVERIFY(store.addresses().contains(QStringLiteral("http://a.example/")));
        }
        lock = QSqlQuery();
        other.close();
        other = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("other"));
    }
};

QTEST_GUILESS_MAIN(TestHistoryStore)
#include "tst_historystore.moc"
