#include "core/paths.h"
#include "core/settingsstore.h"
#include "core/singleinstance.h"

#include <QElapsedTimer>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <thread>

#include <unistd.h>

using namespace SingleInstance;

class TestSingleInstance : public QObject
{
    Q_OBJECT

    // Starts the real program as a later start and waits for it to end.
    int secondStart(const QStringList &args, QStringList *received, Server &server,
                    QString *errorText = nullptr)
    {
        QSignalSpy spy(&server, &Server::commandLineReceived);
        QProcess process;
        QSignalSpy finished(&process, &QProcess::finished);
        QElapsedTimer timer;
        timer.start();
        process.start(QStringLiteral(QUARVEL_BINARY), args);
        // The event loop serves the hand-over while the process waits for its acknowledgement.
        if (!finished.wait(20000))
            return -1;
        qInfo("second start ended after %lld ms", timer.elapsed());
        for (const auto &call : spy)
            received->append(call.at(0).toString());
        if (errorText)
            *errorText = QString::fromUtf8(process.readAllStandardError());
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    }

private slots:
    void quoteStripping_data()
    {
        QTest::addColumn<QString>("commandLine");
        QTest::addColumn<QString>("expected");
        QTest::newRow("plain") << "http://example.test/" << "http://example.test/";
        QTest::newRow("quoted path with blanks") << "\"/tmp/my pages/a b.html\""
                                                 << "/tmp/my pages/a b.html";
        QTest::newRow("open quote keeps the last character") << "\"/tmp/a.html"
                                                             << "/tmp/a.html";
        QTest::newRow("lone quote") << "\"" << "";
        QTest::newRow("empty") << "" << "";
        QTest::newRow("quote only at the end") << "a.html\"" << "a.html\"";
    }
    void quoteStripping()
    {
        QFETCH(QString, commandLine);
        QFETCH(QString, expected);
        QCOMPARE(stripCommandLineQuotes(commandLine), expected);
    }

    void decoding()
    {
        QCOMPARE(decodeHandOver(QByteArray(1, '\0')), QString());
        QCOMPARE(decodeHandOver(QByteArray("abc\0", 4)), QStringLiteral("abc"));
        QCOMPARE(decodeHandOver(QByteArray("abc\0\0", 5)), QString::fromUtf8("abc\0", 4));
        QCOMPARE(decodeHandOver(QStringLiteral("Zürich €").toUtf8()), QStringLiteral("Zürich €"));
    }

    void sendsThroughTheSocket()
    {
        Server server;
        QVERIFY(server.listen());
        QSignalSpy spy(&server, &Server::commandLineReceived);
        const QString text = QStringLiteral("http://127.0.0.1:8080/pâge?q=1 2");
        std::atomic<int> result{-1};
        std::thread sender([&] { result = sendCommandLine(text) ? 1 : 0; });
        QTRY_COMPARE(spy.size(), 1);
        QCOMPARE(spy.at(0).at(0).toString(), text);
        QTRY_COMPARE(result.load(), 1);
        sender.join();
    }

    void noInstanceMeansNoHandOver()
    {
        QVERIFY(!QFile::exists(serverPath()) || QFile::remove(serverPath()));
        QVERIFY(!sendCommandLine(QStringLiteral("x"), 500));
    }

    // Without XDG_RUNTIME_DIR the folder in the temporary folder is used only when it is ours
    // and closed to others; a folder opened up or a link put there first means no hand-over.
    void untrustedFallbackFolderMeansNoHandOver_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("fresh") << "fresh";
        QTest::newRow("open to others") << "open";
        QTest::newRow("link to another folder") << "link";
    }
    void untrustedFallbackFolderMeansNoHandOver()
    {
        QFETCH(QString, kind);
        QTemporaryDir tmp;
        const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR"), tmpdir = qgetenv("TMPDIR");
        qunsetenv("XDG_RUNTIME_DIR");
        qputenv("TMPDIR", QFile::encodeName(tmp.path()));
        const QString fallback = tmp.path() + QStringLiteral("/quarvel-") + QString::number(getuid());
        if (kind == QLatin1String("open")) {
            QVERIFY(QDir().mkpath(fallback));
            QVERIFY(QFile::setPermissions(fallback, QFileDevice::Permissions(0x7777)));
        } else if (kind == QLatin1String("link")) {
            QVERIFY(QDir().mkpath(tmp.path() + QStringLiteral("/elsewhere")));
            QVERIFY(QFile::link(tmp.path() + QStringLiteral("/elsewhere"), fallback));
        }
        const QString dir = Paths::runtimeDir();
        const bool trusted = kind == QLatin1String("fresh");
        QCOMPARE(dir, trusted ? fallback : QString());
        {
            Server server;
            QCOMPARE(server.listen(), trusted);
            QVERIFY(acquireInstanceMutex()); // runs as the only instance either way
            releaseInstanceMutex();
        }
        qputenv("XDG_RUNTIME_DIR", runtime);
        qputenv("TMPDIR", tmpdir);
    }

    void oversizedAndStalledClientsAreDropped()
    {
        Server server;
        QVERIFY(server.listen());
        QSignalSpy received(&server, &Server::commandLineReceived);

        QLocalSocket big;
        QSignalSpy bigGone(&big, &QLocalSocket::disconnected);
        big.connectToServer(serverPath());
        QVERIFY(big.waitForConnected(2000));
        char header[4];
        qToBigEndian<qint32>(kMaxPayload + 1, header);
        big.write(header, 4);
        big.write(QByteArray(1000, 'x'));
        QVERIFY(bigGone.wait(5000));

        QLocalSocket stalled;
        QSignalSpy stalledGone(&stalled, &QLocalSocket::disconnected);
        stalled.connectToServer(serverPath());
        QVERIFY(stalled.waitForConnected(2000));
        stalled.write("\0\0", 2);
        QVERIFY(stalledGone.wait(kTimeoutMs + 3000));
        QCOMPARE(received.size(), 0);

        // The server still serves the next start.
        std::atomic<int> result{-1};
        std::thread sender([&] { result = sendCommandLine(QStringLiteral("after")) ? 1 : 0; });
        QTRY_COMPARE(received.size(), 1);
        QTRY_COMPARE(result.load(), 1);
        sender.join();
    }

    void secondStartHandsOverAndEnds()
    {
        QVERIFY(acquireInstanceMutex());
        Server server;
        QVERIFY(server.listen());

        QStringList received;
        QCOMPARE(secondStart({QStringLiteral("http://127.0.0.1:1/page.html")}, &received, server), 0);
        QCOMPARE(received, QStringList{"http://127.0.0.1:1/page.html"});

        // No arguments: an empty hand-over that still reaches the frame.
        received.clear();
        QCOMPARE(secondStart({}, &received, server), 0);
        QCOMPARE(received, QStringList{QString()});

        // A quoted path with blanks loses its quotes; an unquoted one stays whole.
        received.clear();
        QCOMPARE(secondStart({QStringLiteral("\"/tmp/my pages/a b.html\"")}, &received, server), 0);
        QCOMPARE(received, QStringList{"/tmp/my pages/a b.html"});
        received.clear();
        QCOMPARE(secondStart({QStringLiteral("/tmp/my pages/a b.html")}, &received, server), 0);
        QCOMPARE(received, QStringList{"/tmp/my pages/a b.html"});

        releaseInstanceMutex();
        QVERIFY(!holdsInstanceMutex());
    }

    // A first instance that holds the lock but takes no hand-over: the later start fails, and
    // says on standard error that the address went nowhere.
    void failedHandOverIsAFailedStart_data()
    {
        QTest::addColumn<QString>("first");
        QTest::newRow("no hand-over socket") << "none";
        QTest::newRow("socket never answers") << "silent";
    }
    void failedHandOverIsAFailedStart()
    {
        QFETCH(QString, first);
        QVERIFY(acquireInstanceMutex());
        QLocalServer::removeServer(serverPath());
        QLocalServer fake;
        QList<QLocalSocket *> held;
        if (first != QLatin1String("none")) {
            QVERIFY(fake.listen(serverPath()));
            connect(&fake, &QLocalServer::newConnection, &fake, [&] {
                while (QLocalSocket *socket = fake.nextPendingConnection())
                    held << socket;
            });
        }
        QProcess second;
        QSignalSpy finished(&second, &QProcess::finished);
        second.start(QStringLiteral(QUARVEL_BINARY), {QStringLiteral("http://127.0.0.1:1/lost.html")});
        QVERIFY(finished.wait(20000));
        releaseInstanceMutex();
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 1);
        const QString error = QString::fromUtf8(second.readAllStandardError());
        QVERIFY2(error.contains(QLatin1String("http://127.0.0.1:1/lost.html")) &&
                     error.contains(QLatin1String("not handed over")),
                 qPrintable(error));
        QCOMPARE(held.isEmpty(), first == QLatin1String("none"));
    }

    // The hand-over takes up to kMaxPayload bytes of UTF-8; a longer address is refused by
    // the later start itself, which says it was too long rather than that nobody answered.
    void tooLongAddressIsRefusedAsTooLong_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<bool>("handedOver");
        const QString twoByteCharacters(kMaxPayload / 2, QChar(0xe9));
        QTest::newRow("at the cap") << twoByteCharacters << true;
        QTest::newRow("one byte over") << twoByteCharacters + u'a' << false;
        QTest::newRow("far over") << QString(100000, u'a') << false;
    }
    void tooLongAddressIsRefusedAsTooLong()
    {
        QFETCH(QString, address);
        QFETCH(bool, handedOver);
        QCOMPARE(fitsHandOver(address), handedOver);
        QVERIFY(acquireInstanceMutex());
        Server server;
        QVERIFY(server.listen());
        QStringList received;
        QString error;
        const int status = secondStart({address}, &received, server, &error);
        releaseInstanceMutex();
        if (handedOver) {
            QCOMPARE(status, 0);
            QCOMPARE(received, QStringList{address});
            QVERIFY2(error.isEmpty(), qPrintable(error));
        } else {
            QCOMPARE(status, 1);
            QVERIFY(received.isEmpty());
            QVERIFY2(error.contains(QLatin1String("too long")) &&
                         !error.contains(QLatin1String("did not answer")),
                     qPrintable(error.left(300)));
            // The line names the size, not the whole address.
            QVERIFY(error.size() < 300);
        }
    }

    void staleLockFromACrashedInstance()
    {
        releaseInstanceMutex();
        // A start that asks nothing: no default-browser question holds up its load.
        const QString configDir = qEnvironmentVariable("XDG_CONFIG_HOME", QDir::homePath() + "/.config");
        QVERIFY(QDir().mkpath(configDir + "/Quarvel"));
        SettingsStore settings(configDir + "/Quarvel/Quarvel.ini");
        QVERIFY(settings.write("General", "CheckIfDefault", "False"));
        QVERIFY(settings.write("Settings", "FileAssociationSetDefault", "False"));
        // A real first instance that dies without cleaning up.
        QProcess first;
        first.start(QStringLiteral(QUARVEL_BINARY), {});
        QVERIFY(first.waitForStarted(10000));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(serverPath()), 60000);
        QVERIFY(!acquireInstanceMutex());
        first.kill();
        QVERIFY(first.waitForFinished(10000));
        QVERIFY(QFile::exists(lockFilePath()));

        QVERIFY(acquireInstanceMutex());
        Server server;
        QVERIFY(server.listen());
        QSignalSpy spy(&server, &Server::commandLineReceived);
        std::atomic<int> result{-1};
        std::thread sender([&] { result = sendCommandLine(QStringLiteral("again")) ? 1 : 0; });
        QTRY_COMPARE(spy.size(), 1);
        QTRY_COMPARE(result.load(), 1);
        sender.join();
        releaseInstanceMutex();
    }
};

QTEST_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
