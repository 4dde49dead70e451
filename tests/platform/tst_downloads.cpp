#include "core/downloadfilename.h"
#include "core/filedialogfolder.h"
#include "platform/browserpage.h"
#include "platform/downloadgate.h"
#include "platform/downloadmanager.h"
#include "platform/downloadorigins.h"
#include "testserver.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>
#include <QtTest>

#include <memory>

#include <sys/stat.h>

namespace {

const QByteArray kZip = QByteArray("PK\x03\x04", 4) + QByteArray(256 * 1024, 'z');

// Serves the zip file at "/file.zip" whole, at "/held.zip" only its first half; then the server
// holds the connection until the test sends the rest, or closes or resets it at once.
void serveZip(TestServer &server, TestServer::Cut held)
{
    server.setRoute(QStringLiteral("/file.zip"), TestServer::Route("200 OK", kZip, "application/zip"));
    TestServer::Route half("200 OK", kZip, "application/zip");
    half.cutAt = kZip.size() / 2;
    half.cut = held;
    server.setRoute(QStringLiteral("/held.zip"), half);
}

} // namespace

// Downloads from a page into a folder of the test: the final name only when complete, nothing
// left by a cancelled or failed download, a file that took the name meanwhile kept; and the
// name rules.
class TestDownloads : public QObject
{
    Q_OBJECT

    TestServer m_server;
    QTemporaryDir m_folder;
    QWebEngineProfile *m_profile = nullptr;
    DownloadManager *m_manager = nullptr;
    std::unique_ptr<QSignalSpy> m_started;
    std::unique_ptr<QSignalSpy> m_finished;
    QString m_answer;
    QStringList m_proposed;

    QString path(const QString &name) const { return m_folder.filePath(name); }
    QStringList files() const { return QDir(m_folder.path()).entryList(QDir::Files | QDir::Hidden); }
    QByteArray content(const QString &name) const
    {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // Loads urlPath in a new page; the save question is answered with answer.
    void download(const QString &urlPath, const QString &answer)
    {
        m_answer = answer;
        (new BrowserPage(m_profile, this))->load(m_server.url(urlPath));
    }
    // The next download's end: id, outcome, file, reason.
    QList<QVariant> waitForEnd()
    {
        return m_finished->size() || m_finished->wait(30000) ? m_finished->takeFirst() : QList<QVariant>();
    }
    static DownloadManager::Outcome outcome(const QList<QVariant> &end)
    {
        return end.value(1).value<DownloadManager::Outcome>();
    }
    // The names of the refused downloads a spy on downloadRefused saw, filtered by part.
    static QStringList refusedNames(const QSignalSpy &refused, const QString &part)
    {
        QStringList names;
        for (const QList<QVariant> &arguments : refused)
            names << arguments.value(0).toString();
        return names.filter(part);
    }
    // Until the held download is being written under its temporary name.
    bool waitForPart()
    {
        return QTest::qWaitFor(
            [this] { return m_server.isHoldingAnswer() && !files().filter(".part").isEmpty(); }, 30000);
    }

private slots:
    void initTestCase()
    {
        ::umask(022);
        serveZip(m_server, TestServer::Cut::Hold);
        m_profile = new QWebEngineProfile(this);
        m_manager = new DownloadManager(m_profile, this);
        m_manager->setSavePathAsker([this](const QString &proposed) {
            m_proposed << proposed;
            return m_answer;
        });
    }
    void init()
    {
        m_started = std::make_unique<QSignalSpy>(m_manager, &DownloadManager::downloadStarted);
        m_finished = std::make_unique<QSignalSpy>(m_manager, &DownloadManager::downloadFinished);
    }
    void cleanup()
    {
        qDeleteAll(findChildren<QWebEnginePage *>());
        serveZip(m_server, TestServer::Cut::Hold);
        for (const QString &name : files())
            QFile::remove(path(name));
    }

    void completeDownloadReplacesAgreedFile()
    {
        QVERIFY(QFile(path("report.zip")).open(QIODevice::WriteOnly)); // the user agreed to replace it
        download("/file.zip", path("report.zip"));
        const QList<QVariant> end = waitForEnd();
        QCOMPARE(m_proposed.last(), QDir(FileDialogFolder::downloadFolder()).filePath("file.zip"));
        QCOMPARE(outcome(end), DownloadManager::Outcome::Completed);
        QCOMPARE(files(), QStringList{"report.zip"});
        QVERIFY(content("report.zip") == kZip);
        // The user's file: readable by others as the umask allows.
        QVERIFY(QFile::permissions(path("report.zip")) & QFileDevice::ReadOther);
    }

    void cancelInTheDialogStartsNothing()
    {
        const qsizetype asked = m_proposed.size();
        download("/file.zip", QString());
        QTRY_COMPARE(m_proposed.size(), asked + 1);
        QCOMPARE(m_started->size(), 0);
        QCOMPARE(files(), QStringList());
    }

    void cancelledOrFailedDownloadLeavesNothing_data()
    {
        QTest::addColumn<int>("hold");
        QTest::newRow("cancelled") << int(TestServer::Cut::Hold);
        QTest::newRow("server closes mid-body") << int(TestServer::Cut::Close);
        QTest::newRow("connection reset, retried") << int(TestServer::Cut::Reset);
    }
    void cancelledOrFailedDownloadLeavesNothing()
    {
        QFETCH(int, hold);
        serveZip(m_server, TestServer::Cut(hold));
        download("/held.zip", path("held.zip"));
        if (hold == int(TestServer::Cut::Hold)) {
            QVERIFY(waitForPart());
            m_manager->cancel(m_started->value(0).value(0).toInt());
        }
        const QList<QVariant> end = waitForEnd();
        QCOMPARE(outcome(end), hold == int(TestServer::Cut::Hold) ? DownloadManager::Outcome::Cancelled
                                                       : DownloadManager::Outcome::Failed);
        const QString reason = end.value(3).toString();
        QVERIFY(hold == int(TestServer::Cut::Hold) || (!reason.isEmpty() && !reason.contains("cancel", Qt::CaseInsensitive)));
        // The engine's own new tries after a reset are one download, asked about once.
        QCOMPARE(m_started->size(), 1);
        QTRY_COMPARE(files(), QStringList());
    }

    void fileTakingTheNameMeanwhileIsKept()
    {
        download("/held.zip", path("late.zip"));
        QVERIFY(waitForPart());
        QVERIFY(QFile(path("late.zip")).open(QIODevice::WriteOnly));
        m_server.finishHeldAnswer();
        const QList<QVariant> end = waitForEnd();
        QCOMPARE(outcome(end), DownloadManager::Outcome::Completed);
        QCOMPARE(end.value(2).toString(), path("late (1).zip"));
        QCOMPARE(content("late.zip"), QByteArray());
        QVERIFY(content("late (1).zip") == kZip);
        QCOMPARE(files().size(), 2);
    }

    // A page's own downloads after its first are refused unasked, however far apart; a click or
    // key allows one more, and one the user clicked is always asked. Steps:
    // "<page> click|answer|restart <ms>", "<page> down <ms> ask|refuse".
    void automaticDownloadsAreLimited_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::newRow("first automatic one asked") << QStringList{"1 down 0 ask"};
        QTest::newRow("second soon after refused") << QStringList{"1 down 0 ask", "1 down 3000 refuse", "1 down 6000 refuse"};
        QTest::newRow("every eleven seconds refused after the first")
            << QStringList{"1 down 0 ask", "1 down 11000 refuse", "1 down 22000 refuse", "1 down 33000 refuse"};
        QTest::newRow("clicked always asked")
            << QStringList{"1 down 0 ask", "1 click 1000", "1 down 1500 ask", "1 click 1600", "1 down 1700 ask"};
        QTest::newRow("one click, one question")
            << QStringList{"1 click 0", "1 down 100 ask", "1 down 200 refuse"};
        QTest::newRow("click during the question does not count")
            << QStringList{"1 down 0 ask", "1 click 5", "1 answer 2000", "1 down 2100 refuse"};
        QTest::newRow("click long before allows one more")
            << QStringList{"1 down 0 ask", "1 click 1000", "1 down 600000 ask", "1 down 600100 refuse"};
        QTest::newRow("a click's download is the page's one question")
            << QStringList{"1 click 0", "1 down 100 ask", "1 down 20000 refuse", "1 click 30000", "1 down 90000 ask"};
        QTest::newRow("not again once the time passed")
            << QStringList{"1 down 0 ask", "1 down 3600000 refuse"};
        QTest::newRow("not again after the answer")
            << QStringList{"1 down 0 ask", "1 answer 30000", "1 down 35000 refuse", "1 down 50000 refuse"};
        QTest::newRow("taken elsewhere by the user: afresh")
            << QStringList{"1 down 0 ask", "1 down 100 refuse", "1 restart 200", "1 down 300 ask", "1 down 400 refuse"};
        QTest::newRow("pages apart") << QStringList{"1 down 0 ask", "2 down 100 ask", "1 down 200 refuse"};
    }
    void automaticDownloadsAreLimited()
    {
        QFETCH(QStringList, steps);
        DownloadGate gate;
        for (const QString &step : steps) {
            const QStringList part = step.split(' ');
            const quintptr page = part[0].toUInt();
            const qint64 ms = part[2].toLongLong();
            if (part[1] == "click")
                gate.noteUserAction(page, ms);
            else if (part[1] == "answer")
                gate.noteAnswered(page, ms);
            else if (part[1] == "restart")
                gate.restart(page);
            else
                QVERIFY2(gate.mayAsk(page, ms) == (part[3] == "ask"), qPrintable(step));
        }
    }

    // A tab closed while its download was on the way: the download is asked about as no page's,
    // and the next one of no page only after a click or key in some page.
    void downloadOfAPageThatHasGone()
    {
        QSignalSpy refused(m_manager, &DownloadManager::downloadRefused);
        TestServer::Route slow("200 OK", kZip, "application/zip");
        slow.delayMs = 1500;
        m_server.setRoute("/slow.zip", slow);
        const QString script = QStringLiteral(
            "<script>const a = document.createElement('a'); a.href = '/slow.zip?%1';"
            " a.download = 'gone%1.zip'; document.body.appendChild(a); a.click();</script>");
        m_server.setRoute("/gone1", TestServer::Route("200 OK", TestServer::html("Gone", script.arg(1))));
        m_server.setRoute("/gone2", TestServer::Route("200 OK", TestServer::html("Gone", script.arg(2))));
        m_answer.clear();
        const auto asked = [this] { return m_proposed.filter("/gone").size(); };
        const auto openAndClose = [this](const QString &path) {
            auto *page = new BrowserPage(m_profile, this);
            QSignalSpy loaded(page, &QWebEnginePage::loadFinished);
            page->load(m_server.url(path));
            QVERIFY(loaded.wait(30000));
            // Gone while the server has not answered yet.
            QTRY_VERIFY_WITH_TIMEOUT(std::any_of(m_server.log().cbegin(), m_server.log().cend(),
                [&](const TestServer::Request &request) {
                    return request.target.startsWith("/slow.zip?" + path.right(1));
                }), 30000);
            delete page;
        };
        openAndClose("/gone1");
        QTRY_COMPARE_WITH_TIMEOUT(asked(), 1, 30000);
        QVERIFY(m_proposed.filter("/gone").last().endsWith("gone1.zip"));

        openAndClose("/gone2");
        QTRY_VERIFY_WITH_TIMEOUT(!refusedNames(refused, "gone2").isEmpty(), 30000);
        QCOMPARE(asked(), 1);
    }

    // A page whose script starts three downloads at once gets one question; a click on its link
    // right after is asked all the same.
    void pageChainingDownloadsIsAskedOnce()
    {
        QSignalSpy refused(m_manager, &DownloadManager::downloadRefused);
        const qsizetype asked = m_proposed.size();
        const QByteArray body =
            "<a id='link' href='/file.zip?clicked' download='clicked.zip' style='display:block;"
            "position:fixed;inset:0'>Download</a><script>"
            "for (let i = 1; i <= 3; ++i) { const a = document.createElement('a');"
            " a.href = '/file.zip?' + i; a.download = 'chained' + i + '.zip';"
            " document.body.appendChild(a); a.click(); }</script>";
        m_server.setRoute("/chain", TestServer::Route("200 OK", TestServer::html("Chain", QString::fromUtf8(body))));
        m_answer.clear(); // each question is answered with Cancel
        QWebEngineView view;
        // The page goes before its view: a page the view still owns when it is torn down
        // calls back into the half-destroyed view.
        const auto page = std::make_unique<BrowserPage>(m_profile, nullptr);
        view.setPage(page.get());
        view.resize(400, 300);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QSignalSpy loaded(view.page(), &QWebEnginePage::loadFinished);
        view.load(m_server.url("/chain"));
        QVERIFY(loaded.wait(30000));
        QTRY_COMPARE(m_proposed.size() + refused.size(), asked + 3);
        QCOMPARE(m_proposed.size(), asked + 1);
        QVERIFY(refused.value(0).value(0).toString().startsWith("chained"));

        // The engine takes clicks once the page has been drawn: the click is repeated until
        // one reaches the link.
        QTRY_VERIFY(view.focusProxy());
        const bool clicked = QTest::qWaitFor([&] {
            QTest::mouseClick(view.focusProxy(), Qt::LeftButton, {}, QPoint(200, 150));
            return QTest::qWaitFor([&] { return m_proposed.size() > asked + 1 || refused.size() > 2; }, 500);
        }, 30000);
        QVERIFY(clicked);
        QVERIFY(m_proposed.last().endsWith("clicked.zip"));
        QCOMPARE(refused.size(), 2);
        QCOMPARE(m_started->size(), 0);
    }

    // A page that moves itself to another address and starts a download there stays the page
    // that had its question: refused. Taken elsewhere by the user, it is asked again.
    void pageMovingItselfStaysRefused()
    {
        QSignalSpy refused(m_manager, &DownloadManager::downloadRefused);
        // Only this test's own downloads are counted: one a page that went before clicked may
        // still come.
        const auto asked = [this] { return m_proposed.filter("/hop").size(); };
        const auto route = [this](const QString &name, const QString &next) {
            const QString script = QStringLiteral(
                "<script>const a = document.createElement('a'); a.href = '/file.zip?%1';"
                " a.download = '%1.zip'; document.body.appendChild(a); a.click();%2</script>")
                .arg(name, next.isEmpty() ? QString() : QStringLiteral(" setTimeout(() => location.href = '%1', 100);").arg(next));
            m_server.setRoute("/" + name, TestServer::Route("200 OK", TestServer::html(name, script)));
        };
        route("hop1", "/hop2");
        route("hop2", QString());
        route("hop3", QString());
        m_answer.clear();
        auto *page = new BrowserPage(m_profile, this);
        page->load(m_server.url("/hop1"));
        QTRY_COMPARE_WITH_TIMEOUT(refusedNames(refused, "hop").size(), 1, 30000);
        QCOMPARE(asked(), 1);
        QVERIFY(m_proposed.filter("/hop").last().endsWith("hop1.zip"));
        QVERIFY(refusedNames(refused, "hop").first().startsWith("hop2"));
        QCOMPARE(page->url().path(), "/hop2");

        page->noteUserNavigation();
        page->load(m_server.url("/hop3"));
        QTRY_COMPARE_WITH_TIMEOUT(asked(), 2, 30000);
        QVERIFY(m_proposed.filter("/hop").last().endsWith("hop3.zip"));
        QCOMPARE(refusedNames(refused, "hop").size(), 1);
    }

    // Which page asked for an address: the newest living one, a fragment aside; pages that went
    // are not found and are told of.
    void originsNameTheNewestLivingPage()
    {
        DownloadOrigins &origins = DownloadOrigins::shared();
        auto first = std::make_unique<QObject>();
        auto second = std::make_unique<QObject>();
        const QUrl url("http://example.test/a.zip");
        origins.note(first.get(), url);
        origins.note(second.get(), QUrl("http://example.test/a.zip#part"));
        QCOMPARE(origins.pageOf(url), second.get());
        QCOMPARE(origins.pageOf(QUrl("http://example.test/b.zip")), nullptr);
        second.reset();
        QCOMPARE(origins.pageOf(url), first.get());
        QVERIFY(origins.pageWentWithin(60000));
        first.reset();
        QCOMPARE(origins.pageOf(url), nullptr);

        // Only the newest requests are kept.
        auto busy = std::make_unique<QObject>();
        origins.note(busy.get(), url);
        for (int i = 0; i < DownloadOrigins::Limit; ++i)
            origins.note(busy.get(), QUrl(QStringLiteral("http://example.test/%1").arg(i)));
        QCOMPARE(origins.pageOf(url), nullptr);
        QCOMPARE(origins.pageOf(QUrl("http://example.test/0")), busy.get());
    }

    void nameRules_data()
    {
        QTest::addColumn<QString>("suggested");
        QTest::addColumn<QString>("expected");
        QTest::newRow("unicode kept") << u8"résumé 😀.pdf" << u8"résumé 😀.pdf";
        QTest::newRow("path up") << "../../etc/passwd" << "_.._etc_passwd";
        QTest::newRow("backslash") << "dir\\file.zip" << "dir_file.zip";
        QTest::newRow("dots only") << ".." << "download";
        QTest::newRow("hidden, blanks") << "  .hidden  " << "hidden";
        QTest::newRow("trailing dots") << "name. . \t" << "name";
        QTest::newRow("control") << "a\nb\x7f.zip" << "a_b_.zip";
        QTest::newRow("direction override") << QStringLiteral("evil\u202Egpj.exe") << "evil_gpj.exe";
        QTest::newRow("leading colon") << ":data.bin" << "_data.bin";
        QTest::newRow("too long") << QString(300, u'a') + ".zip" << QString(226, u'a') + ".zip";
    }
    void nameRules()
    {
        QFETCH(QString, suggested);
        QFETCH(QString, expected);
        QCOMPARE(DownloadFileName::clean(suggested, "download"), expected);
    }

    void temporaryAndFreeNames()
    {
        const QStringList taken{"a.zip.part", "a.zip.1.part", "a.tar.gz", "a (1).tar.gz"};
        const auto isTaken = [&taken](const QString &name) { return taken.contains(name); };
        QCOMPARE(DownloadFileName::partName("b.zip", isTaken), "b.zip.part");
        QCOMPARE(DownloadFileName::partName("a.zip", isTaken), "a.zip.2.part");
        QCOMPARE(DownloadFileName::freeName("a.zip", isTaken), "a.zip");
        QCOMPARE(DownloadFileName::freeName("a.tar.gz", isTaken), "a (2).tar.gz");
    }
};

int main(int argc, char **argv)
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    TestDownloads test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_downloads.moc"
