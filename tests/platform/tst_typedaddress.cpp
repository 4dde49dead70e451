#include "platform/typedaddress.h"

#include <QTemporaryDir>
#include <QtTest>

using EnterOutcome = TypedAddress::EnterOutcome;
using Action = EnterOutcome::Action;
using Decision = TypedAddress::Decision;

Q_DECLARE_METATYPE(EnterOutcome::Action)
Q_DECLARE_METATYPE(TypedAddress::Decision::Kind)

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

    // A shortcut file opens the address it holds, named by a path or a file address, with its
    // extension in any letter case; other text is left as it is.
    void followShortcut()
    {
        QTemporaryDir dir;
        QFile file(dir.filePath("site.URL"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[InternetShortcut]\r\nURL=http://example.org/held\r\n");
        file.close();
        const QString held = QStringLiteral("http://example.org/held");
        QCOMPARE(TypedAddress::followShortcut(dir.filePath("site.URL")), held);
        QCOMPARE(TypedAddress::followShortcut(dir.filePath("site.url")), held);
        QCOMPARE(TypedAddress::followShortcut(QUrl::fromLocalFile(dir.filePath("site.URL")).toString()),
                 held);
        QCOMPARE(TypedAddress::followShortcut(dir.filePath("missing.url")), QString());
        for (const QString &text : {QStringLiteral("example.org"), QStringLiteral("two words"),
                                    QStringLiteral("http://example.org/site.urls"), QString()})
            QCOMPARE(TypedAddress::followShortcut(text), text);
    }

    // What each kind of text stands for. In the texts, "<dir>" is a folder holding the shortcut
    // files "site.URL" (to an address), "words.url" (to words), "script.url" (to a script) and
    // "empty.url" (to nothing), and an empty file "bread"; it is the working folder.
    void decision_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<Decision::Kind>("kind");
        QTest::addColumn<QString>("named"); // the decision's text
        QTest::addColumn<QString>("url");

        const QString search = QStringLiteral("https://search.example/?q=");
        QTest::newRow("address") << "example.org" << Decision::Address << "example.org"
                                 << "http://example.org";
        QTest::newRow("address with scheme") << "https://example.org/a b" << Decision::Address
                                             << "https://example.org/a b" << "https://example.org/a%20b";
        QTest::newRow("file path") << "<dir>/page.html" << Decision::Address << "<dir>/page.html"
                                   << "file://<dir>/page.html";
        QTest::newRow("file in the working folder") << "bread" << Decision::Address << "bread"
                                                    << "file://<dir>/bread";
        QTest::newRow("words") << " how to bake " << Decision::Search << " how to bake "
                               << search + "how to bake";
        QTest::newRow("one word") << "loaf" << Decision::Search << "loaf" << search + "loaf";
        QTest::newRow(".url path") << "<dir>/site.URL" << Decision::Shortcut
                                   << "http://example.org/held" << "http://example.org/held";
        QTest::newRow(".url path, lower case") << "<dir>/site.url" << Decision::Shortcut
                                               << "http://example.org/held" << "http://example.org/held";
        QTest::newRow(".url file address") << "file://<dir>/site.URL" << Decision::Shortcut
                                           << "http://example.org/held" << "http://example.org/held";
        QTest::newRow(".url holding words") << "<dir>/words.url" << Decision::Shortcut
                                            << "held words" << search + "held words";
        QTest::newRow(".url holding a script") << "<dir>/script.url" << Decision::Refused
                                               << "javascript:alert(1)" << "";
        QTest::newRow(".url holding nothing") << "<dir>/empty.url" << Decision::Refused << "" << "";
        QTest::newRow("missing .url") << "<dir>/missing.url" << Decision::Refused << "" << "";
        QTest::newRow("javascript:") << "javascript:alert(1)" << Decision::Refused
                                     << "javascript:alert(1)" << "";
        QTest::newRow("javascript:, spelt otherwise") << " Java\tScript:x" << Decision::Refused
                                                      << " Java\tScript:x" << "";
        QTest::newRow("empty") << "" << Decision::Refused << "" << "";
        QTest::newRow("blank") << "   " << Decision::Refused << "   " << "";
    }
    void decision()
    {
        QFETCH(QString, text);
        QFETCH(Decision::Kind, kind);
        QFETCH(QString, named);
        QFETCH(QString, url);
        QTemporaryDir dir;
        const auto write = [&dir](const char *name, const QByteArray &content) {
            QFile file(dir.filePath(QLatin1String(name)));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        };
        write("site.URL", "[InternetShortcut]\r\nURL=http://example.org/held\r\n");
        write("words.url", "[InternetShortcut]\r\nURL=held words\r\n");
        write("script.url", "[InternetShortcut]\r\nURL=javascript:alert(1)\r\n");
        write("empty.url", "[InternetShortcut]\r\n");
        write("bread", "");
        const auto inDir = [&dir](QString s) { return s.replace(QLatin1String("<dir>"), dir.path()); };
        QStringList queries;
        const Decision decision = TypedAddress::decide(inDir(text), dir.path(), [&](const QString &query) {
            queries << query;
            return QStringLiteral("https://search.example/?q=") + query;
        });
        QCOMPARE(decision.kind, kind);
        QCOMPARE(decision.text, inDir(named));
        QCOMPARE(decision.url, QUrl(inDir(url)));
        QCOMPARE(decision.url.isEmpty(), kind == Decision::Refused);
        QCOMPARE(queries.size(), kind == Decision::Search || text.endsWith("words.url") ? 1 : 0);
    }

    void enterDecision_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ctrl");
        QTest::addColumn<bool>("shift");
        QTest::addColumn<bool>("goNew");
        QTest::addColumn<bool>("hasDocument");
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<Action>("action");
        QTest::addColumn<QString>("usedText");
        QTest::addColumn<bool>("addToList");
        QTest::addColumn<bool>("focus");

        const QStringList none;
        QTest::newRow("empty does nothing") << "" << false << false << false << true << none
                                            << Action::Nothing << "" << false << false;
        QTest::newRow("blank does nothing") << "   " << false << false << false << true << none
                                            << Action::Nothing << "   " << false << false;
        QTest::newRow("ctrl on empty does nothing") << "" << true << false << false << true << none
                                                    << Action::Nothing << "" << false << false;
        QTest::newRow("new text navigates and focuses")
            << "a.test" << false << false << false << true << none << Action::NavigateActive
            << "a.test" << true << true;
        QTest::newRow("known text leaves list and focus")
            << "a.test" << false << false << false << true << QStringList{"b", "a.test"}
            << Action::NavigateActive << "a.test" << false << false;
        QTest::newRow("list compare is case-sensitive")
            << "A.test" << false << false << false << true << QStringList{"a.test"}
            << Action::NavigateActive << "A.test" << true << true;
        QTest::newRow("no document opens a tab")
            << "a.test" << false << false << false << false << none << Action::OpenNewTab
            << "a.test" << false << false;
        QTest::newRow("go-new opens a tab") << "a.test" << false << false << true << true << none
                                            << Action::OpenNewTab << "a.test" << false << false;
        QTest::newRow("ctrl completes") << "example" << true << false << false << true << none
                                        << Action::NavigateActive << "http://www.example.com" << true
                                        << true;
        QTest::newRow("shift searches") << "two words" << false << true << false << true << none
                                        << Action::Search << "two words" << false << true;
        QTest::newRow("script is neither loaded nor listed")
            << " JavaScript:alert(1)" << false << false << false << true << none << Action::Nothing
            << " JavaScript:alert(1)" << false << false;
        QTest::newRow("script in a new tab neither")
            << "javascript:alert(1)" << false << false << true << true << none << Action::Nothing
            << "javascript:alert(1)" << false << false;
        QTest::newRow("ctrl and shift search the completed text")
            << "example" << true << true << false << false << none << Action::Search
            << "http://www.example.com" << false << true;
    }
    void enterDecision()
    {
        QFETCH(QString, text);
        QFETCH(bool, ctrl);
        QFETCH(bool, shift);
        QFETCH(bool, goNew);
        QFETCH(bool, hasDocument);
        QFETCH(QStringList, typed);
        QFETCH(Action, action);
        QFETCH(QString, usedText);
        QFETCH(bool, addToList);
        QFETCH(bool, focus);
        const EnterOutcome out = TypedAddress::decideEnter({text, ctrl, shift, goNew, hasDocument, typed});
        QCOMPARE(out.action, action);
        QCOMPARE(out.text, usedText);
        QCOMPARE(out.addToTypedList, addToList);
        QCOMPARE(out.focusDocument, focus);
    }
};

QTEST_GUILESS_MAIN(TestTypedAddress)
#include "tst_typedaddress.moc"
