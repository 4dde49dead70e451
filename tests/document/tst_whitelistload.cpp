// The whitelist as a start reads it: not before the window shows, yet never too late for a
// decision, and never written over before it was read. The list is one per process, so the
// steps run in order in a process of their own.
#include "core/paths.h"
#include "core/userfile.h"
#include "document/popupwhitelist.h"

#include <QFile>
#include <QtTest>

class TestWhitelistLoad : public QObject
{
    Q_OBJECT

    static QByteArray fileBytes()
    {
        QByteArray data;
        return UserFile::read(Paths::dataFile(QStringLiteral("Whitelist.qvr")), &data) ? data : QByteArray("<none>");
    }

private slots:
    void readOnFirstUseAndKeptWhole()
    {
        // A list of years, with line ends of every kind and more lines than the count says.
        QByteArray written = " 30000 \r\n";
        for (int i = 0; i < 30000; ++i)
            written += "site" + QByteArray::number(i) + ".example" + (i % 3 == 0 ? "\n" : i % 3 == 1 ? "\r" : "\r\n");
        written += "beyond.count.example\r\n";
        QVERIFY(UserFile::makeFolder(Paths::dataDir()));
        QVERIFY(UserFile::save(Paths::dataFile(QStringLiteral("Whitelist.qvr")), written));

        // A save before anything read the list leaves the file as it is.
        QVERIFY(!isWhitelistLoaded());
        QVERIFY(saveWhitelist());
        QCOMPARE(fileBytes(), written);
        QVERIFY(!isWhitelistLoaded());

        // The first decision reads it: every entry the count gives, in order.
        QVERIFY(whitelistMatches(QStringLiteral("http://site29999.example/page"), programWhitelist()));
        QVERIFY(isWhitelistLoaded());
        QCOMPARE(programWhitelist().size(), 30000);
        QCOMPARE(programWhitelist().first(), QStringLiteral("site0.example"));
        QCOMPARE(programWhitelist().last(), QStringLiteral("site29999.example"));
        QVERIFY(saveWhitelist());
        QCOMPARE(fileBytes(), written); // unchanged, not written back

        // The start's own read, coming later, keeps what was added meanwhile.
        QVERIFY(addToWhitelist(QStringLiteral("added.example")));
        ensureWhitelistLoaded();
        QCOMPARE(programWhitelist().last(), QStringLiteral("added.example"));
        QVERIFY(saveWhitelist());
        QVERIFY(fileBytes().startsWith(" 30001 \r\nsite0.example\r\n"));
        QVERIFY(fileBytes().endsWith("site29999.example\r\nadded.example\r\n"));
    }
};

QTEST_GUILESS_MAIN(TestWhitelistLoad)
#include "tst_whitelistload.moc"
