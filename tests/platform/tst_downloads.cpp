#include "core/downloadfilename.h"
#include "core/filedialogfolder.h"
#include "platform/downloadmanager.h"

#include <QApplication>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QtTest>

#include <memory>

#include <sys/stat.h>

// Serves a zip file: "/file.zip" whole, "/held.zip" only its first half; then the server
// holds the connection until the test sends the rest, or closes or resets it at once.
class ZipServer : public QTcpServer
{
public:
    enum Hold { Keep, Close, Reset };
    const QByteArray body = QByteArray("PK\x03\x04", 4) + QByteArray(256 * 1024, 'z');
    QPointer<QTcpSocket> held;
    Hold hold = Keep;

    ZipServer()
    {
        listen(QHostAddress::LocalHost, 0);
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = nextPendingConnection())
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { serve(socket); });
        });
    }
    QUrl url(const QString &path) const
    {
        return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(serverPort()).arg(path));
    }
    void sendRest()
    {
        held->write(body.mid(body.size() / 2));
        held->disconnectFromHost();
    }

private:
    void serve(QTcpSocket *socket)
    {
        const QByteArray request = socket->peek(4096);
        if (!request.contains("\r\n\r\n"))
            return;
        socket->readAll();
        socket->write("HTTP/1.1 200 OK\r\nContent-Type: application/zip\r\nConnection: close\r\n"
                      "Cache-Control: no-store\r\n"
                      "Content-Length: " + QByteArray::number(body.size()) + "\r\n\r\n");
        if (request.startsWith("GET /held.zip ")) {
            socket->write(body.left(body.size() / 2));
            held = socket;
            if (hold == Close) {
                socket->disconnectFromHost();
            } else if (hold == Reset) {
                socket->flush();
                socket->abort();
            }
        } else {
            socket->write(body);
            socket->disconnectFromHost();
        }
    }
};

// Downloads from a page into a folder of the test: the final name only when complete, nothing
// left by a cancelled or failed download, a file that took the name meanwhile kept; and the
// name rules.
class TestDownloads : public QObject
{
    Q_OBJECT

    ZipServer m_server;
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
        return QTest::qWaitFor([this] { return m_server.held && !files().filter(".part").isEmpty(); }, 30000);
    }

private slots:
    void initTestCase()
    {
        ::umask(022);
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
        m_server.hold = ZipServer::Keep;
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
        QVERIFY(content("report.zip") == m_server.body);
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
        QTest::newRow("cancelled") << int(ZipServer::Keep);
        QTest::newRow("server closes mid-body") << int(ZipServer::Close);
        QTest::newRow("connection reset, retried") << int(ZipServer::Reset);
    }
    void cancelledOrFailedDownloadLeavesNothing()
    {
        QFETCH(int, hold);
        m_server.hold = ZipServer::Hold(hold);
        download("/held.zip", path("held.zip"));
        if (hold == ZipServer::Keep) {
            QVERIFY(waitForPart());
            m_manager->cancel(m_started->value(0).value(0).toInt());
        }
        const QList<QVariant> end = waitForEnd();
        QCOMPARE(outcome(end), hold == ZipServer::Keep ? DownloadManager::Outcome::Cancelled
                                                       : DownloadManager::Outcome::Failed);
        const QString reason = end.value(3).toString();
        QVERIFY(hold == ZipServer::Keep || (!reason.isEmpty() && !reason.contains("cancel", Qt::CaseInsensitive)));
        // The engine's own new tries after a reset are one download, asked about once.
        QCOMPARE(m_started->size(), 1);
        QTRY_COMPARE(files(), QStringList());
    }

    void fileTakingTheNameMeanwhileIsKept()
    {
        download("/held.zip", path("late.zip"));
        QVERIFY(waitForPart());
        QVERIFY(QFile(path("late.zip")).open(QIODevice::WriteOnly));
        m_server.sendRest();
        const QList<QVariant> end = waitForEnd();
        QCOMPARE(outcome(end), DownloadManager::Outcome::Completed);
        QCOMPARE(end.value(2).toString(), path("late (1).zip"));
        QCOMPARE(content("late.zip"), QByteArray());
        QVERIFY(content("late (1).zip") == m_server.body);
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
