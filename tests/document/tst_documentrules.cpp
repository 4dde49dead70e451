#include "document/documentrules.h"

#include <QtTest>

using namespace DocumentRules;

class TestDocumentRules : public QObject
{
    Q_OBJECT
private slots:
    void captions_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("shrunk");
        QTest::addColumn<QString>("expected");
        const QString fifty(50, u'x');
        QTest::newRow("short") << "Example" << false << "Example";
        QTest::newRow("exactly 50") << fifty << false << fifty;
        QTest::newRow("51 is cut") << fifty + u'y' << false << fifty + QLatin1String("...");
        QTest::newRow("shrunk") << "Example" << true << "Exa";
        QTest::newRow("shrunk short") << "ab" << true << "ab";
        QTest::newRow("empty") << "" << false << "";
    }
    void captions()
    {
        QFETCH(QString, title);
        QFETCH(bool, shrunk);
        QFETCH(QString, expected);
        QCOMPARE(tabCaption(title, shrunk), expected);
    }

    // Tab, Window menu, window list and frame caption never go blank: a page without a
    // title goes by its address, a failed load that reports neither keeps the name it had.
    void names_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("previous");
        QTest::addColumn<QString>("expected");
        QTest::newRow("title") << "Example" << "http://example.org/" << "Old" << "Example";
        QTest::newRow("title kept as it is") << " A & B " << "http://x/" << "Old" << " A & B ";
        QTest::newRow("no title: the address") << "" << "http://127.0.0.1:1/typo" << "Old"
                                               << "http://127.0.0.1:1/typo";
        QTest::newRow("blank title") << "  " << "http://x/" << "Old" << "http://x/";
        QTest::newRow("neither: the name it had") << "" << "" << "Start" << "Start";
        QTest::newRow("blank address") << "" << " " << "Start" << "Start";
    }
    void names()
    {
        QFETCH(QString, title);
        QFETCH(QString, address);
        QFETCH(QString, previous);
        QFETCH(QString, expected);
        QCOMPARE(documentName(title, address, previous), expected);
    }

    // After a failed load the field keeps what was asked for, so a typo is mended in place.
    void addressShown_data()
    {
        QTest::addColumn<QString>("requested");
        QTest::addColumn<QString>("page");
        QTest::addColumn<bool>("failed");
        QTest::addColumn<QString>("expected");
        QTest::newRow("loaded: the page's address")
            << "example.org" << "http://example.org/" << false << "http://example.org/";
        QTest::newRow("failed: the typed text")
            << "exmaple.org/a b" << "http://example.org/" << true << "exmaple.org/a b";
        QTest::newRow("failed link: the page's address")
            << "" << "http://127.0.0.1:1/" << true << "http://127.0.0.1:1/";
        QTest::newRow("failed, blank request") << " " << "http://x/" << true << "http://x/";
    }
    void addressShown()
    {
        QFETCH(QString, requested);
        QFETCH(QString, page);
        QFETCH(bool, failed);
        QFETCH(QString, expected);
        QCOMPARE(DocumentRules::addressShown(requested, page, failed), expected);
    }

    void iconPairs()
    {
        for (int even = 0; even < 12; even += 2) {
            QCOMPARE(iconForShrink(even, true), even + 1);
            QCOMPARE(iconForShrink(even + 1, true), even + 1);
            QCOMPARE(iconForShrink(even + 1, false), even);
            QCOMPARE(iconForShrink(even, false), even);
        }
        QCOMPARE(blinkIcon(8), 10);
        QCOMPARE(blinkIcon(10), 8);
        QCOMPARE(blinkIcon(9), 11);
        QCOMPARE(blinkIcon(11), 9);
        QCOMPARE(blinkIcon(4), 4);
    }

    void progress_data()
    {
        QTest::addColumn<int>("progress");
        QTest::addColumn<int>("max");
        QTest::addColumn<int>("percent");
        QTest::addColumn<int>("icon");     // normal tab, current icon 8
        QTest::addColumn<int>("shrunkIcon");
        QTest::newRow("a third") << 1 << 3 << 33 << 2 << 3;
        QTest::newRow("start") << 0 << 100 << 0 << 0 << 1;
        QTest::newRow("half") << 50 << 100 << 50 << 4 << 5;
        QTest::newRow("three quarters") << 75 << 100 << 75 << 6 << 7;
        QTest::newRow("minus one counts as 100") << -1 << 10 << 100 << 8 << 8;
        QTest::newRow("completion") << -1 << 0 << 0 << 0 << 1;
        QTest::newRow("above max is ignored") << 5 << 3 << -1 << -1 << -1;
        QTest::newRow("large numbers") << 2000000000 << 2100000000 << 95 << 6 << 7;
    }
    void progress()
    {
        QFETCH(int, progress);
        QFETCH(int, max);
        QFETCH(int, percent);
        QFETCH(int, icon);
        QFETCH(int, shrunkIcon);
        QCOMPARE(progressPercent(progress, max), percent);
        if (percent >= 0) {
            QCOMPARE(loadingIcon(percent, false, 8), icon);
            QCOMPARE(loadingIcon(percent, true, 8), shrunkIcon);
            QCOMPARE(progressText(percent), QString::number(percent) + u'%');
        }
    }
};

QTEST_GUILESS_MAIN(TestDocumentRules)
#include "tst_documentrules.moc"
