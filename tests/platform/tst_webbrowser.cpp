#include "platform/browserpage.h"
#include "platform/webbrowser.h"
#include "testserver.h"

#include <QQuickWidget>
#include <QQuickWindow>
#include <QSGRendererInterface>
#include <QWebEnginePage>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>

#include <sys/stat.h>

namespace {

// A page taller than the view, with a field half-way down.
QByteArray tallPage()
{
    QByteArray rows;
    for (int i = 1; i <= 120; ++i)
        rows += "<p>Row " + QByteArray::number(i) + "</p>";
    return "<html><body>" + rows + "<input id=field>" + rows + "</body></html>";
}

// The value of a script run in the page; invalid when it gives none in time.
QVariant evaluate(QWebEnginePage *page, const QString &script)
{
    QVariant result;
    bool done = false;
    page->runJavaScript(script, [&](const QVariant &value) {
        result = value;
        done = true;
    });
    if (!QTest::qWaitFor([&] { return done; }, 10000))
        return {};
    return result;
}

} // namespace

// A browser whose page is covered lets go of its view's drawing of the page and makes it anew
// when the page is shown again; the page itself stays as it was.
class TestWebBrowser : public QObject
{
    Q_OBJECT

    TestServer m_server;

private slots:
    void initTestCase()
    {
        m_server.setRoute(QStringLiteral("/tall"), TestServer::Route("200 OK", tallPage()));
    }

    // With the video switch off a page's audio and video are not even asked for.
    void videoSwitchDecidesWhetherMediaIsAsked_data()
    {
        QTest::addColumn<bool>("videos");
        QTest::newRow("off") << false;
        QTest::newRow("on") << true;
    }
    void videoSwitchDecidesWhetherMediaIsAsked()
    {
        QFETCH(bool, videos);
        const QString clip = QStringLiteral("/clip-%1.webm").arg(videos ? "on" : "off");
        m_server.setRoute(clip, TestServer::Route("200 OK", "not a video", "video/webm"));
        m_server.setRoute(QStringLiteral("/media"),
                          TestServer::Route("200 OK", "<video id=v preload=auto src='" + clip.toUtf8() + "'></video>"));
        WebBrowser browser;
        browser.setDownloadControl(DownloadControl::Images | (videos ? DownloadControl::Videos : 0));
        QSignalSpy loaded(browser.page(), &QWebEnginePage::loadFinished);
        const qsizetype mark = m_server.mark();
        browser.navigate(m_server.url(QStringLiteral("/media")));
        QVERIFY(loaded.wait(30000));
        // Blocked or not a video, the element ends in an error; asked for, it was asked first.
        QTRY_VERIFY_WITH_TIMEOUT(
            evaluate(browser.page(), QStringLiteral("document.getElementById('v').error !== null")).toBool(), 30000);
        QCOMPARE(m_server.countSince(mark, clip) > 0, videos);
    }

    // Only a regular file or a folder is opened of a file address; a pipe, a device or a socket
    // would hold the engine's open without end.
    void fileAddressesTheEngineMayOpen()
    {
        QTemporaryDir dir;
        const auto path = [&dir](const char *name) { return dir.filePath(QLatin1String(name)); };
        QFile file(path("page.html"));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("<p>x</p>") > 0);
        file.close();
        QCOMPARE(::mkfifo(QFile::encodeName(path("pipe")).constData(), 0600), 0);
        QVERIFY(QFile::link(path("pipe"), path("link-to-pipe")));
        QVERIFY(QFile::link(path("page.html"), path("link-to-page")));
        QVERIFY(QDir(dir.path()).mkdir("folder"));
        const struct
        {
            QUrl url;
            bool mayOpen;
        } rows[] = {
            {QUrl::fromLocalFile(path("page.html")), true},
            {QUrl::fromLocalFile(path("link-to-page")), true},
            {QUrl::fromLocalFile(path("folder")), true},
            {QUrl::fromLocalFile(path("missing.html")), true}, // the engine says it is not there
            {QUrl::fromLocalFile(path("pipe")), false},
            {QUrl::fromLocalFile(path("link-to-pipe")), false},
            {QUrl::fromLocalFile(QStringLiteral("/dev/zero")), false},
            {QUrl(QStringLiteral("http://127.0.0.1/pipe")), true},
        };
        for (const auto &row : rows)
            QVERIFY2(PageRequestInterceptor::mayOpen(row.url) == row.mayOpen,
                     qPrintable(row.url.toString()));
    }

    // A pipe as the address, or linked from a page, fails as a file that cannot be opened, at
    // once, and the page goes on: the engine never waits on it.
    void pipeAddressFailsAtOnce()
    {
        QTemporaryDir dir;
        const QString pipe = dir.filePath(QStringLiteral("a-pipe"));
        QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        QFile page(dir.filePath(QStringLiteral("links.html")));
        QVERIFY(page.open(QIODevice::WriteOnly));
        page.write("<title>Links</title><iframe id=f src='a-pipe'></iframe>"
                   "<a id=l href='a-pipe'>pipe</a>");
        page.close();

        WebBrowser browser;
        browser.setLoadErrorsSuppressed(true);
        QSignalSpy status(&browser, &WebBrowser::statusTextChanged);
        QSignalSpy loaded(browser.page(), &QWebEnginePage::loadFinished);
        QVERIFY(browser.navigate(QUrl::fromLocalFile(pipe).toString()));
        QVERIFY(loaded.wait(10000));
        QCOMPARE(loaded.last().at(0).toBool(), false);
        QVERIFY(browser.loadFailed());
        const QString said = QUrl::fromLocalFile(pipe).toDisplayString() + QStringLiteral(" could not be opened.");
        QTRY_VERIFY(std::any_of(status.cbegin(), status.cend(),
                                [&](const QList<QVariant> &args) { return args.at(0).toString() == said; }));

        // From a page: the frame and the link fail, the page stays.
        loaded.clear();
        QVERIFY(browser.navigate(page.fileName()));
        QVERIFY(loaded.wait(10000));
        QCOMPARE(loaded.last().at(0).toBool(), true);
        QCOMPARE(browser.page()->title(), QStringLiteral("Links"));
        loaded.clear();
        evaluate(browser.page(), QStringLiteral("document.getElementById('l').click(); true"));
        QVERIFY(loaded.wait(10000));
        QCOMPARE(loaded.last().at(0).toBool(), false);
    }

    // A page still waiting for its first answer stands for the address it was asked for: what
    // is saved of it then (the open pages at the end, a group) is that address.
    void pageNotAnsweredYetStandsForItsAddress()
    {
        WebBrowser browser;
        const QString slow = m_server.url(QStringLiteral("/slow?ms=3000&title=Late"));
        QVERIFY(browser.navigate(slow));
        QCOMPARE(browser.locationUrl(), slow);
        QTRY_COMPARE_WITH_TIMEOUT(browser.locationName(), QStringLiteral("Late"), 10000);
        QCOMPARE(browser.locationUrl(), slow);
    }

    void hiddenPageLetsItsDrawingGoAndComesBackAsItWas()
    {
        WebBrowser browser;
        browser.resize(400, 300);
        browser.show();
        QVERIFY(QTest::qWaitForWindowExposed(&browser));
        QWebEnginePage *page = browser.page();
        QSignalSpy loaded(page, &QWebEnginePage::loadFinished);
        browser.navigate(m_server.url(QStringLiteral("/tall")));
        QVERIFY(loaded.wait(30000));
        evaluate(page, QStringLiteral("window.scrollTo(0, 900); document.getElementById('field').value = 'typed'"));
        QTRY_COMPARE(evaluate(page, QStringLiteral("window.scrollY")).toInt(), 900);

        auto *drawing = browser.findChild<QQuickWidget *>();
        QVERIFY(drawing);
        QQuickWindow *scene = drawing->quickWindow();
        QTRY_VERIFY(scene->isSceneGraphInitialized());
        QSignalSpy letGo(scene, &QQuickWindow::sceneGraphInvalidated);
        QSignalSpy madeAnew(scene, &QQuickWindow::sceneGraphInitialized);
        QSignalSpy loadStarted(page, &QWebEnginePage::loadStarted);
        // Drawn with a graphics API, the scene goes and comes back with its textures; the
        // software drawing of a display-less run keeps its scene.
        const bool graphics = scene->rendererInterface()->graphicsApi() != QSGRendererInterface::Software;

        browser.setPageVisible(false);
        QVERIFY(!page->isVisible());
        QVERIFY(!drawing->isVisible());
        QVERIFY(!scene->isPersistentSceneGraph());
        if (graphics)
            QTRY_COMPARE(letGo.count(), 1);

        browser.setPageVisible(true);
        QVERIFY(page->isVisible());
        QVERIFY(drawing->isVisible());
        if (graphics)
            QTRY_COMPARE(madeAnew.count(), 1);
        QCOMPARE(browser.page(), page);
        QCOMPARE(evaluate(page, QStringLiteral("window.scrollY")).toInt(), 900);
        QCOMPARE(evaluate(page, QStringLiteral("document.getElementById('field').value")).toString(),
                 QStringLiteral("typed"));
        QCOMPARE(loadStarted.count(), 0);
    }
};

QTEST_MAIN(TestWebBrowser)
#include "tst_webbrowser.moc"
