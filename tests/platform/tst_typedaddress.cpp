#include "platform/typedaddress.h"

#include <QTemporaryDir>
#include <QtTest>

class TestTypedAddress : public QObject
{
    Q_OBJECT
private slots:
    void searchOrAddress_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("search");
        QTest::newRow("phrase") << "how to bake bread" << true;
        QTest::newRow("one word") << "bread" << true;
        QTest::newRow("padded word") << "  bread " << true;
        QTest::newRow("host") << "example.org" << false;
        QTest::newRow("host and path") << "example.org/a b" << true; // blanks make it words
        QTest::newRow("address with blanks") << "http://example.org/a b" << false;
        QTest::newRow("ip") << "10.0.0.1" << false;
        QTest::newRow("localhost") << "localhost" << false;
        QTest::newRow("localhost port") << "localhost:8080" << false;
        QTest::newRow("host port") << "router:8080" << false;
        QTest::newRow("about") << "about:blank" << false;
        QTest::newRow("mailto") << "mailto:me@example.org" << false;
        QTest::newRow("unknown scheme word") << "define:bread" << false; // reads as host:port
        QTest::newRow("absolute path") << "/tmp/some file.html" << false;
        QTest::newRow("home path") << "~/notes.html" << false;
        QTest::newRow("empty") << "" << false;
    }

    void searchOrAddress()
    {
        QFETCH(QString, text);
        QFETCH(bool, search);
        QCOMPARE(TypedAddress::isSearchText(text), search);
    }

    void resolveUsesTheSearchOnlyForWords()
    {
        auto search = [](const QString &query) {
            return QStringLiteral("https://search.example/?q=") + query;
        };
        QTemporaryDir dir;
        QCOMPARE(TypedAddress::resolve("how to", dir.path(), search),
                 QUrl("https://search.example/?q=how to"));
        QCOMPARE(TypedAddress::resolve("example.org", dir.path(), search), QUrl("http://example.org"));
        // Without a search, and for a file of that name in the working folder, it is an address.
        QCOMPARE(TypedAddress::resolve("bread", dir.path(), {}), QUrl("http://bread"));
        // Script addresses never load, however they are spelled.
        for (const QString &script : {QStringLiteral("javascript:alert(1)"), QStringLiteral("  JavaScript:x"),
                                      QStringLiteral("\x01java\tscript:x"), QStringLiteral("java\r\nscript:x"),
                                      QStringLiteral("\u3000javascript:x")}) {
            QVERIFY2(TypedAddress::isScriptAddress(script), qPrintable(script));
            QVERIFY2(TypedAddress::resolve(script, dir.path(), search).isEmpty(), qPrintable(script));
        }
        QVERIFY(!TypedAddress::isScriptAddress("http://example.org/javascript:x"));
        QVERIFY(!TypedAddress::isScriptAddress("javascript"));
        QCOMPARE(TypedAddress::resolve("view-source:http://example.org/", dir.path(), search),
                 QUrl("view-source:http://example.org/"));
        QFile file(dir.filePath("bread"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QCOMPARE(TypedAddress::resolve("bread", dir.path(), search),
                 QUrl::fromLocalFile(dir.filePath("bread")));
    }
};

QTEST_GUILESS_MAIN(TestTypedAddress)
#include "tst_typedaddress.moc"
