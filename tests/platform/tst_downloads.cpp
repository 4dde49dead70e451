#include "core/downloadfilename.h"
#include "core/filedialogfolder.h"
#include "platform/downloadmanager.h"
#include "testserver.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QWebEnginePage>
#include <QWebEngineProfile>
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
        (new QWebEnginePage(m_profile, this))->load(m_server.url(urlPath));
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
