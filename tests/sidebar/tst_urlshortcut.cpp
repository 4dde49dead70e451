#include "platform/urlshortcut.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestUrlShortcut : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    static void writeFile(const QString &path, const QByteArray &data)
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(file.write(data), data.size());
    }

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void readsTheAddress_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("expected");

        QTest::newRow("plain") << QByteArray("[InternetShortcut]\r\nURL=http://example.com/\r\n")
                               << QStringLiteral("http://example.com/");
        QTest::newRow("nothing after url=") << QByteArray("[InternetShortcut]\r\nURL=\r\n")
                                            << QString();
        QTest::newRow("url= before the section is ignored")
            << QByteArray("URL=http://wrong.example/\r\n[InternetShortcut]\r\n"
                          "URL=http://right.example/\r\n")
            << QStringLiteral("http://right.example/");
        QTest::newRow("only before the section")
            << QByteArray("[DEFAULT]\r\nBASEURL=http://base.example/\r\n[InternetShortcut]\r\n"
                          "IconIndex=0\r\n")
            << QString();
        QTest::newRow("on the section line itself")
            << QByteArray("[InternetShortcut] URL=http://same.example/\n")
            << QStringLiteral("http://same.example/");
        QTest::newRow("value keeps its case")
            << QByteArray("[internetshortcut]\nurl=HTTP://Example.COM/Path?Q=A\n")
            << QStringLiteral("HTTP://Example.COM/Path?Q=A");
        QTest::newRow("blanks and controls trimmed")
            << QByteArray("  [InternetShortcut]  \n \t URL=http://t.example/a b \t\x01\r\n")
            << QStringLiteral("http://t.example/a b");
        QTest::newRow("first address wins")
            << QByteArray("[InternetShortcut]\nURL=http://one.example/\nURL=http://two.example/\n")
            << QStringLiteral("http://one.example/");
        QTest::newRow("text after the first url=")
            << QByteArray("[InternetShortcut]\nURL=http://r.example/?next=url=x\n")
            << QStringLiteral("http://r.example/?next=url=x");
        QTest::newRow("no line end at the end")
            << QByteArray("[InternetShortcut]\nURL=http://end.example/")
            << QStringLiteral("http://end.example/");
        QTest::newRow("carriage returns only")
            << QByteArray("[InternetShortcut]\rURL=http://mac.example/\r")
            << QStringLiteral("http://mac.example/");
        QTest::newRow("utf-8") << QByteArray("\xEF\xBB\xBF[InternetShortcut]\nURL=http://u.example/\xC3\xBC\n")
                               << QStringLiteral("http://u.example/ü");
        QTest::newRow("latin-1") << QByteArray("[InternetShortcut]\nURL=http://l.example/\xFC\n")
                                 << QStringLiteral("http://l.example/ü");
        QTest::newRow("no section") << QByteArray("URL=http://x.example/\n") << QString();
        QTest::newRow("empty file") << QByteArray() << QString();
        static const char binary[] = "\x00\x01\x02netshortcut\x00url";
        QTest::newRow("binary") << QByteArray(binary, sizeof binary - 1) << QString();
    }

    void readsTheAddress()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, expected);
        const QString base = m_dir.filePath(QStringLiteral("row-%1").arg(QTest::currentDataTag()));
        writeFile(base + QStringLiteral(".url"), content);
        QCOMPARE(readUrlShortcut(base), expected);
    }

    void extensionInAnyCase_data()
    {
        QTest::addColumn<QString>("extension");
        QTest::newRow("upper") << QStringLiteral(".URL");
        QTest::newRow("mixed") << QStringLiteral(".Url");
        QTest::newRow("lower") << QStringLiteral(".url");
    }

    void extensionInAnyCase()
    {
        QFETCH(QString, extension);
        const QString base = m_dir.filePath(QStringLiteral("Case %1").arg(QTest::currentDataTag()));
        writeFile(base + extension, "[InternetShortcut]\r\nURL=http://case.example/\r\n");
        QCOMPARE(readUrlShortcut(base), QStringLiteral("http://case.example/"));
        // Only the extension's case is free: the name itself must match.
        QCOMPARE(readUrlShortcut(base.toUpper()), QString());
    }

    void unreadableShortcuts()
    {
        QCOMPARE(readUrlShortcut(m_dir.filePath(QStringLiteral("missing"))), QString());
        QCOMPARE(readUrlShortcut(m_dir.filePath(QStringLiteral("no/such/folder/x"))), QString());
        QCOMPARE(readUrlShortcut(QString()), QString());
        QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("folder.url")));
        QCOMPARE(readUrlShortcut(m_dir.filePath(QStringLiteral("folder"))), QString());
    }

    void trimControlChars_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("blanks only") << QStringLiteral(" \t\r\n ") << QString();
        QTest::newRow("one character") << QStringLiteral("a") << QStringLiteral("a");
        QTest::newRow("one character padded") << QStringLiteral("  a\t") << QStringLiteral("a");
        QTest::newRow("controls both ends") << QStringLiteral("\x01\x1F a b \x1F\x01")
                                            << QStringLiteral("a b");
        QTest::newRow("inner blanks kept") << QStringLiteral("a \t b") << QStringLiteral("a \t b");
        QTest::newRow("! is kept") << QStringLiteral("!x!") << QStringLiteral("!x!");
        QTest::newRow("delete and no-break space kept") << QStringLiteral("\x7F\u00A0x\u00A0")
                                                        << QStringLiteral("\x7F\u00A0x\u00A0");
        QTest::newRow("nul") << QString(QChar(0)) + QStringLiteral("x") + QChar(0)
                             << QStringLiteral("x");
    }

    void trimControlChars()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(::trimControlChars(text), expected);
    }
};

QTEST_GUILESS_MAIN(TestUrlShortcut)
#include "tst_urlshortcut.moc"
