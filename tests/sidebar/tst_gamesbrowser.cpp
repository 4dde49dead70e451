#include "core/settingsstore.h"
#include "core/website.h"
#include "sidebar/gamesbrowser.h"
#include "testserver.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QWebEngineView>
#include <QtTest>

// The games site on the test server: the games page links to a game, to the games index and to
// another page.
class GamesSite : public TestServer
{
public:
    GamesSite()
    {
        setTitle(QStringLiteral("Games of the week"));
        setRoute(QStringLiteral("/other"), Route("200 OK", html(QStringLiteral("Other"))));
    }
    QString base() const { return url(QStringLiteral("/site")); }
    QString title() const { return m_title; }
    void setTitle(const QString &title)
    {
        m_title = title;
        const QString links = QStringLiteral(
            "<a id='game' href='/site/games/ShowGame.php?id=3'>game</a>"
            "<a id='index' href='/site/games/'>all</a><a id='other' href='/other'>other</a>");
        setRoute(QStringLiteral("/site/games/sidebar.php"), Route("200 OK", html(title, links)));
    }

private:
    QString m_title;
};

class TestGamesBrowser : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        SettingsStore::setInstanceFile(m_dir.filePath(QStringLiteral("Quarvel.ini")));
    }

    void gamesOpenInTabsAndNewTitlesPostANotice()
    {
        GamesSite site;
        WebSite::setBaseForTesting(site.base());
        QStringList tabs;
        QStringList notices;
        SidebarHost host;
        host.openDocument = [&tabs](const QString &address) { tabs << address; };
        host.showTip = [&notices](const QString &title, const QString &, const QString &) {
            notices << title;
        };
        GamesBrowser browser(host);
        browser.resize(300, 400);
        browser.show();
        QSignalSpy loaded(&browser, &GamesBrowser::pageLoaded);

        browser.loadGamesPage();
        QVERIFY(loaded.wait(20000));
        QCOMPARE(loaded.last().at(0).toString(), site.title());
        QCOMPARE(notices.size(), 1);
        QCOMPARE(SettingsStore::instance().read(QStringLiteral("Settings"),
                                                QStringLiteral("GamesDate"), QString()),
                 site.title());

        // A game and the games index open in tabs; the small browser stays on its page.
        // The engine view is made by the first load.
        const QWebEngineView *view = browser.findChild<QWebEngineView *>();
        QVERIFY(view);
        auto click = [view](const char *id) {
            view->page()->runJavaScript(
                QStringLiteral("document.getElementById('%1').click()").arg(QLatin1String(id)));
        };
        click("game");
        QTRY_COMPARE(tabs.size(), 1);
        QCOMPARE(tabs.at(0), site.base() + QStringLiteral("/games/ShowGame.php?id=3"));
        click("index");
        QTRY_COMPARE(tabs.size(), 2);
        QCOMPARE(view->url().toString(), GamesBrowser::gamesPage());

        // The same title again is no news; a new one is.
        browser.loadGamesPage();
        QVERIFY(loaded.wait(20000));
        QCOMPARE(notices.size(), 1);
        site.setTitle(QStringLiteral("New games"));
        browser.loadGamesPage();
        QVERIFY(loaded.wait(20000));
        QCOMPARE(notices.size(), 2);

        // Any other page loads in the small browser.
        click("other");
        QVERIFY(loaded.wait(20000));
        QCOMPARE(tabs.size(), 2);
        QCOMPARE(view->url().path(), QStringLiteral("/other"));
    }
};

QTEST_MAIN(TestGamesBrowser)
#include "tst_gamesbrowser.moc"
