#include "core/settingsstore.h"
#include "core/website.h"
#include "sidebar/gamesbrowser.h"

#include <QHostAddress>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QWebEngineView>
#include <QtTest>

// The games site: the games page links to a game, to the games index and to another page.
class GamesSite : public QTcpServer
{
public:
    QString title = QStringLiteral("Games of the week");

    GamesSite()
    {
        listen(QHostAddress::LocalHost, 0);
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { serve(socket); });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
    }
    QString base() const { return QStringLiteral("http://127.0.0.1:%1/site").arg(serverPort()); }

private:
    void serve(QTcpSocket *socket)
    {
        const QByteArray request = socket->readAll();
        const QByteArray path = request.mid(4, request.indexOf(' ', 4) - 4);
        const QByteArray body = path.startsWith("/site/games/sidebar.php")
            ? "<html><head><title>" + title.toUtf8() +
                  "</title></head><body><a id='game' href='/site/games/ShowGame.php?id=3'>game</a>"
                  "<a id='index' href='/site/games/'>all</a><a id='other' href='/other'>other</a>"
                  "</body></html>"
            : QByteArray("<html><head><title>Other</title></head><body></body></html>");
        socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nConnection: close\r\n"
                      "Content-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body);
        socket->disconnectFromHost();
    }
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
        QCOMPARE(loaded.last().at(0).toString(), site.title);
        QCOMPARE(notices.size(), 1);
        QCOMPARE(SettingsStore::instance().read(QStringLiteral("Settings"),
                                                QStringLiteral("GamesDate"), QString()),
                 site.title);

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
        site.title = QStringLiteral("New games");
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
