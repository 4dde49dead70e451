#include "core/appstate.h"
#include "core/paths.h"
#include "core/paths.h"
#include "core/settingsmodel.h"
#include "core/settingsstore.h"
#include "core/strings.h"
#include "core/updateversionfile.h"
#include "core/website.h"
#include "frame/chrome/framestatusbar.h"
#include "frame/dialogs/updatedialog.h"
#include "frame/updatecheck.h"
#include "platform/updatechecker.h"
#include "testserver.h"
#include "widgets/panelstatusbar.h"

#include <QApplication>
#include <QCheckBox>
#include <QCryptographicHash>
#include <QDir>
#include <QMessageBox>
#include <QPushButton>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslKey>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

Q_DECLARE_METATYPE(UpdateVersionFile::Result)

namespace {

const QByteArray kHash(64, 'a');

QByteArray versionFile(const QByteArray &lines)
{
    return "QUARVEL-UPDATES\n" + lines + "END\n";
}

QByteArray entry(const QByteArray &version, const QByteArray &file, const QByteArray &data)
{
    return "Quarvel | " + version + " | " + file + " | " +
           QCryptographicHash::hash(data, QCryptographicHash::Sha256).toHex() + "\n";
}

// A checker that found "big.run" on server, the site of the test from now on, which answers it
// with a header promising a large body, a first part of it, and then nothing more.
void checkStalling(UpdateChecker &checker, TestServer &server)
{
    server.setRoute(QStringLiteral("/version.txt"),
                    TestServer::Route("200 OK", versionFile(entry("99.0.0.1", "big.run", "x")), "text/plain"));
    TestServer::Route stalling("200 OK", QByteArray(1048576, 'x'), "application/octet-stream");
    stalling.cutAt = 65536;
    server.setRoute(QStringLiteral("/big.run"), stalling);
    WebSite::setBaseForTesting(server.url(QString()));
    QSignalSpy checked(&checker, &UpdateChecker::checkFinished);
    checker.check();
    QVERIFY(checked.wait(10000));
    QCOMPARE(checked.at(0).at(0).value<UpdateVersionFile::Result>(), UpdateVersionFile::VersionFound);
}

// Where the checker stores its downloads: the "update" folder of the data folder.
QString downloadFolder()
{
    return Paths::dataFile(QStringLiteral("update"));
}

// Clicks button of the next message box that opens; its text is kept in *text.
void answerNextMessageBox(QMessageBox::StandardButton button, QString *text)
{
    auto *poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, button, text] {
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            auto *box = qobject_cast<QMessageBox *>(widget);
            if (box && box->isVisible() && box->button(button)) {
                *text = box->text();
                poll->deleteLater();
                box->button(button)->click();
                return;
            }
        }
    });
    poll->start(20);
}

} // namespace

class TestUpdate : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void parseVersionFile_data();
    void parseVersionFile();
    void compareVersions();
    void checkOverNetwork();
    void onlyHttpsAndLoopbackForTests();
    void downloadChecksum();
    void hostileAnswersOverHttps();
    void cancelAndTimeOut();
    void dialogDownloadsAndAsksBeforeRunning();
    void dialogNoAndDontCheckAgain();

private:
    std::unique_ptr<TestServer> m_server;
    QString m_checkedStatus;
};

void TestUpdate::initTestCase()
{
    qRegisterMetaType<UpdateVersionFile::Result>();
    qRegisterMetaType<UpdateChecker::Completion>();
    UpdateChecker::setLoopbackHttpAllowedForTesting(true);
    // The frame of the dialog test closes before its installer runs; the test goes on.
    QApplication::setQuitOnLastWindowClosed(false);
}

void TestUpdate::init()
{
    m_server = std::make_unique<TestServer>();
    WebSite::setBaseForTesting(m_server->url(QString()));
    QDir(downloadFolder()).removeRecursively();
    QDir().mkpath(downloadFolder());
}

void TestUpdate::parseVersionFile_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<UpdateVersionFile::Result>("result");
    const QByteArray ok = entry("2.8.0.12", "qvsetup-2.8.run", "x");
    QTest::newRow("found, among others") << versionFile("Other | 1 | a | b\n\n" + ok) << UpdateVersionFile::VersionFound;
    QTest::newRow("CRLF and blank lines") << ("\r\n" + versionFile(ok).replace("\n", "\r\n") + "\r\n")
                                          << UpdateVersionFile::VersionFound;
    QTest::newRow("no start") << ok + "END\n" << UpdateVersionFile::InvalidDataStartEnd;
    QTest::newRow("no end") << "QUARVEL-UPDATES\n" + ok << UpdateVersionFile::InvalidDataStartEnd;
    QTest::newRow("after end") << versionFile(ok) + "more\n" << UpdateVersionFile::InvalidDataStartEnd;
    QTest::newRow("empty") << QByteArray() << UpdateVersionFile::InvalidDataStartEnd;
    QTest::newRow("over 64 KiB") << versionFile(ok + QByteArray(65536, '\n')) << UpdateVersionFile::InvalidDataStartEnd;
    QTest::newRow("not UTF-8") << versionFile("Quarvel\xff\n") << UpdateVersionFile::InvalidDataStartEnd;
    QTest::newRow("control character") << versionFile(QByteArray(ok).replace("qvsetup", "qv\x01setup"))
                                       << UpdateVersionFile::InvalidDataStartEnd;
    QTest::newRow("three fields") << versionFile("Quarvel | 2.8.0.12 | qvsetup.run\n") << UpdateVersionFile::InvalidParameterCount;
    QTest::newRow("five fields") << versionFile(ok.trimmed() + " | x\n") << UpdateVersionFile::InvalidParameterCount;
    QTest::newRow("other product's line short") << versionFile("Other | 1\n" + ok) << UpdateVersionFile::InvalidParameterCount;
    QTest::newRow("three-part version") << versionFile(entry("2.8.12", "q.run", "x")) << UpdateVersionFile::InvalidParameterCount;
    QTest::newRow("version over 32 bits") << versionFile(entry("2.8.0.4294967296", "q.run", "x"))
                                          << UpdateVersionFile::InvalidParameterCount;
    QTest::newRow("signed version") << versionFile(entry("2.8.0.-1", "q.run", "x")) << UpdateVersionFile::InvalidParameterCount;
    QTest::newRow("path") << versionFile(entry("2.8.0.12", "bin/q.run", "x")) << UpdateVersionFile::InvalidParameterCount;
    QTest::newRow("dot-dot") << versionFile(entry("2.8.0.12", "..", "x")) << UpdateVersionFile::InvalidParameterCount;
    QTest::newRow("backslash") << versionFile(entry("2.8.0.12", "..\\q.run", "x")) << UpdateVersionFile::InvalidParameterCount;
    QTest::newRow("hidden") << versionFile(entry("2.8.0.12", ".profile", "x")) << UpdateVersionFile::InvalidParameterCount;
    QTest::newRow("short digest") << versionFile("Quarvel | 2.8.0.12 | q.run | " + kHash.left(63) + "\n")
                                  << UpdateVersionFile::InvalidParameterCount;
    QTest::newRow("not hexadecimal") << versionFile("Quarvel | 2.8.0.12 | q.run | " + QByteArray(64, 'g') + "\n")
                                     << UpdateVersionFile::InvalidParameterCount;
    QTest::newRow("product not found") << versionFile("Quarvelle | 2.8.0.12 | q.run | " + kHash + "\n")
                                       << UpdateVersionFile::ProductNotFound;
    QTest::newRow("no entries") << versionFile(QByteArray()) << UpdateVersionFile::ProductNotFound;
}

void TestUpdate::parseVersionFile()
{
    QFETCH(QByteArray, data);
    QFETCH(UpdateVersionFile::Result, result);
    UpdateVersionFile file;
    QCOMPARE(file.parse(data, QStringLiteral("Quarvel")), result);
    if (result == UpdateVersionFile::VersionFound) {
        QCOMPARE(file.version().parts, (std::array<quint32, 4>{2, 8, 0, 12}));
        QCOMPARE(file.fileName(), QStringLiteral("qvsetup-2.8.run"));
        QCOMPARE(file.sha256(), QCryptographicHash::hash("x", QCryptographicHash::Sha256));
    } else {
        QVERIFY(file.fileName().isEmpty());
        QCOMPARE(loadResString(UpdateVersionFile::statusString(result)).isEmpty(), false);
    }
}

void TestUpdate::compareVersions()
{
    // The installed version is major.minor.0.build of the program.
    const UpdateVersion installed = UpdateVersion::installed();
    const QStringList parts = QStringLiteral(QUARVEL_VERSION).split(QLatin1Char('.'));
    QCOMPARE(installed.parts,
             (std::array<quint32, 4>{parts[0].toUInt(), parts[1].toUInt(), 0, parts[2].toUInt()}));

    auto newer = [&installed](int index, int delta) {
        UpdateVersion published = installed;
        published.parts[index] = quint32(qint64(published.parts[index]) + delta);
        return installed < published;
    };
    QVERIFY(!(installed < installed));
    QVERIFY(newer(3, 1));
    QVERIFY(newer(2, 1));
    QVERIFY(newer(1, 1));
    QVERIFY(newer(0, 1));
    QVERIFY(!newer(3, -1));
    // An earlier part decides over every later one.
    UpdateVersion older = installed;
    older.parts[1] -= 1;
    older.parts[2] = older.parts[3] = 0xFFFFFFFF;
    QVERIFY(older < installed);
}

void TestUpdate::checkOverNetwork()
{
    struct Case
    {
        TestServer::Route route;
        UpdateVersionFile::Result result;
    };
    const QByteArray found = versionFile(entry("99.0.0.1", "q.run", "x"));
    const QList<Case> cases = {
        {TestServer::Route("200 OK", found, "text/plain"), UpdateVersionFile::VersionFound},
        {TestServer::Route("404 Not Found", found, "text/plain"), UpdateVersionFile::CannotConnect},
        {TestServer::Route("200 OK", "garbage", "text/plain"), UpdateVersionFile::InvalidDataStartEnd},
        {TestServer::Route("200 OK", versionFile(QByteArray(200000, '\n')), "text/plain"),
         UpdateVersionFile::InvalidDataStartEnd},
        {TestServer::Route("200 OK", versionFile("Quarvel|1\n"), "text/plain"), UpdateVersionFile::InvalidParameterCount},
        {TestServer::Route("200 OK", versionFile(QByteArray()), "text/plain"), UpdateVersionFile::ProductNotFound},
    };
    QCOMPARE(UpdateChecker::versionFileUrl(), QUrl(m_server->url(QStringLiteral("/version.txt"))));
    for (const Case &c : cases) {
        m_server->setRoute(QStringLiteral("/version.txt"), c.route);
        UpdateChecker checker;
        QSignalSpy spy(&checker, &UpdateChecker::checkFinished);
        checker.check();
        QVERIFY(spy.wait(10000));
        QCOMPARE(spy.at(0).at(0).value<UpdateVersionFile::Result>(), c.result);
        // The published version and the file to download, only from a version found.
        const bool isFound = c.result == UpdateVersionFile::VersionFound;
        QCOMPARE(checker.versionFile().fileName(), isFound ? QStringLiteral("q.run") : QString());
        const UpdateVersion published{{99, 0, 0, 1}};
        QCOMPARE(checker.versionFile().version() == published, isFound);
    }
    // A version file that never comes: the time-out the test sets.
    TestServer::Route silent;
    silent.silent = true;
    m_server->setRoute(QStringLiteral("/version.txt"), silent);
    UpdateChecker checker;
    checker.setTimeout(300);
    QSignalSpy spy(&checker, &UpdateChecker::checkFinished);
    checker.check();
    QVERIFY(spy.wait(10000));
    QCOMPARE(spy.at(0).at(0).value<UpdateVersionFile::Result>(), UpdateVersionFile::CannotConnect);
}

void TestUpdate::onlyHttpsAndLoopbackForTests()
{
    QVERIFY(UpdateChecker::isAllowedUrl(QUrl(QStringLiteral("https://quarvel.example.org/version.txt"))));
    QVERIFY(UpdateChecker::isAllowedUrl(QUrl(m_server->url(QStringLiteral("/version.txt")))));
    QVERIFY(!UpdateChecker::isAllowedUrl(QUrl(QStringLiteral("http://localhost/version.txt"))));
    QVERIFY(!UpdateChecker::isAllowedUrl(QUrl(QStringLiteral("ftp://127.0.0.1/version.txt"))));

    // Without the test switch plain http is refused before anything is sent.
    m_server->setRoute(QStringLiteral("/version.txt"),
        TestServer::Route("200 OK", versionFile(QByteArray()), "text/plain"));
    UpdateChecker::setLoopbackHttpAllowedForTesting(false);
    {
        UpdateChecker checker;
        QSignalSpy spy(&checker, &UpdateChecker::checkFinished);
        checker.check();
        QVERIFY(spy.wait(10000));
        QCOMPARE(spy.at(0).at(0).value<UpdateVersionFile::Result>(), UpdateVersionFile::CannotConnect);
    }
    UpdateChecker::setLoopbackHttpAllowedForTesting(true);
    QVERIFY(m_server->targets().isEmpty());

    // A redirect is followed only where the first request could have gone.
    m_server->setRoute(QStringLiteral("/version.txt"), TestServer::Route(
        "302 Found", QByteArray(), "text/plain",
        "Location: http://localhost:" + QByteArray::number(m_server->serverPort()) + "/moved.txt\r\n"));
    m_server->setRoute(QStringLiteral("/moved.txt"),
        TestServer::Route("200 OK", versionFile(QByteArray()), "text/plain"));
    UpdateChecker checker;
    QSignalSpy spy(&checker, &UpdateChecker::checkFinished);
    checker.check();
    QVERIFY(spy.wait(10000));
    QCOMPARE(spy.at(0).at(0).value<UpdateVersionFile::Result>(), UpdateVersionFile::CannotConnect);
    QCOMPARE(m_server->targets().size(), 1);
}

void TestUpdate::downloadChecksum()
{
    const QByteArray installer = "#!/bin/sh\necho installer\n" + QByteArray(300000, '#');
    m_server->setRoute(QStringLiteral("/q.run"), TestServer::Route("200 OK", installer, "application/octet-stream"));
    QCOMPARE(UpdateChecker::downloadFolder(), downloadFolder());
    const QString stored = QDir(downloadFolder()).filePath(QStringLiteral("q.run"));
    for (const bool right : {false, true}) {
        m_server->setRoute(QStringLiteral("/version.txt"), TestServer::Route(
            "200 OK", versionFile(entry("99.0.0.1", "q.run", right ? installer : installer + "changed")),
            "text/plain"));
        UpdateChecker checker;
        QSignalSpy checked(&checker, &UpdateChecker::checkFinished);
        checker.check();
        QVERIFY(checked.wait(10000));
        QVERIFY(checker.isNewer());
        QSignalSpy progress(&checker, &UpdateChecker::downloadProgress);
        QSignalSpy done(&checker, &UpdateChecker::downloadFinished);
        checker.download();
        QVERIFY(done.wait(10000));
        QVERIFY(!progress.isEmpty());
        if (!right) {
            QCOMPARE(done.at(0).at(0).value<UpdateChecker::Completion>(), UpdateChecker::Completion::Failed);
            QVERIFY(checker.downloadedFile().isEmpty());
            QCOMPARE(QDir(downloadFolder()).entryList(QDir::Files | QDir::Hidden), QStringList());
            continue;
        }
        QCOMPARE(done.at(0).at(0).value<UpdateChecker::Completion>(), UpdateChecker::Completion::Completed);
        QCOMPARE(progress.constLast().at(1).toInt(), 100);
        QCOMPARE(checker.downloadedFile(), stored);
        QFile file(stored);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), installer);
        QCOMPARE(file.permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther), QFileDevice::Permissions());
    }
}

void TestUpdate::hostileAnswersOverHttps()
{
    // The real road: https to a server whose certificate the system trusts. Until the test
    // trusts it, nothing is read from it at all.
    QFile certFile(QFINDTESTDATA("data/update-server.crt")), keyFile(QFINDTESTDATA("data/update-server.key"));
    QVERIFY(certFile.open(QIODevice::ReadOnly) && keyFile.open(QIODevice::ReadOnly));
    const QSslCertificate cert(&certFile, QSsl::Pem);
    QSslConfiguration serverTls = QSslConfiguration::defaultConfiguration();
    serverTls.setLocalCertificate(cert);
    serverTls.setPrivateKey(QSslKey(&keyFile, QSsl::Ec));
    TestServer server;
    server.setTls(serverTls);
    const QByteArray installer = "#!/bin/sh\necho installer\n";
    server.setRoute(QStringLiteral("/q.run"), TestServer::Route("200 OK", installer, "application/octet-stream"));
    QCOMPARE(server.url(QString()).left(8), QStringLiteral("https://"));
    WebSite::setBaseForTesting(server.url(QString()));
    const auto check = [&](const QByteArray &body, UpdateChecker &checker) {
        server.setRoute(QStringLiteral("/version.txt"), TestServer::Route("200 OK", body, "text/plain"));
        QSignalSpy spy(&checker, &UpdateChecker::checkFinished);
        checker.check();
        return spy.wait(10000) ? spy.at(0).at(0).value<UpdateVersionFile::Result>()
                               : UpdateVersionFile::Result(-1);
    };
    const QByteArray good = versionFile(entry("99.0.0.1", "q.run", installer));
    {
        UpdateChecker checker;
        QCOMPARE(check(good, checker), UpdateVersionFile::CannotConnect);
    }
    const QSslConfiguration before = QSslConfiguration::defaultConfiguration();
    QSslConfiguration trusting = before;
    trusting.addCaCertificate(cert);
    QSslConfiguration::setDefaultConfiguration(trusting);

    struct Case
    {
        QByteArray body;
        UpdateVersionFile::Result result;
    };
    const QList<Case> cases = {
        {good, UpdateVersionFile::VersionFound},
        {versionFile(QByteArray(UpdateVersionFile::kMaxSize, 'Q')), UpdateVersionFile::InvalidDataStartEnd},
        {"QUARVEL-UPDATES\nQuarvel | 99 | ../../q.run | zz\nEND\n", UpdateVersionFile::InvalidParameterCount},
        {QByteArray("\0\xff\xfe", 3), UpdateVersionFile::InvalidDataStartEnd},
    };
    for (const Case &c : cases) {
        UpdateChecker checker;
        QCOMPARE(check(c.body, checker), c.result);
    }
    // The installer offered with another checksum is not kept.
    UpdateChecker checker;
    QCOMPARE(check(versionFile(entry("99.0.0.1", "q.run", installer + "changed")), checker),
             UpdateVersionFile::VersionFound);
    QSignalSpy done(&checker, &UpdateChecker::downloadFinished);
    checker.download();
    QVERIFY(done.wait(10000));
    QCOMPARE(done.at(0).at(0).value<UpdateChecker::Completion>(), UpdateChecker::Completion::Failed);
    QCOMPARE(QDir(downloadFolder()).entryList(QDir::Files | QDir::Hidden), QStringList());
    QSslConfiguration::setDefaultConfiguration(before);
}

void TestUpdate::cancelAndTimeOut()
{
    TestServer stalling;
    for (const bool cancel : {true, false}) {
        UpdateChecker checker;
        checkStalling(checker, stalling);
        if (!cancel)
            checker.setTimeout(300);
        QSignalSpy progress(&checker, &UpdateChecker::downloadProgress);
        QSignalSpy done(&checker, &UpdateChecker::downloadFinished);
        checker.download();
        QTRY_VERIFY_WITH_TIMEOUT(!progress.isEmpty() && progress.constLast().at(1).toInt() > 0, 10000);
        if (cancel)
            checker.cancel();
        QTRY_COMPARE_WITH_TIMEOUT(done.size(), 1, 10000);
        QCOMPARE(done.at(0).at(0).value<UpdateChecker::Completion>(),
                 cancel ? UpdateChecker::Completion::Cancelled : UpdateChecker::Completion::Failed);
        QCOMPARE(QDir(downloadFolder()).entryList(QDir::Files | QDir::Hidden), QStringList());
    }
}

void TestUpdate::dialogDownloadsAndAsksBeforeRunning()
{
    // The "installer" leaves a mark beside itself when it runs.
    const QByteArray installer = "#!/bin/sh\necho ran > \"$0.ran\"\n" + QByteArray(200000, '#') + "\n";
    m_server->setRoute(QStringLiteral("/version.txt"),
        TestServer::Route("200 OK", versionFile(entry("99.0.0.1", "q.run", installer)), "text/plain"));
    m_server->setRoute(QStringLiteral("/q.run"), TestServer::Route("200 OK", installer, "application/octet-stream"));
    AppState::settings.checkForUpdate = true;

    QWidget frame;
    frame.show();
    FrameStatusBar statusBar(&frame);
    statusBar.create(QString());
    auto statusText = [&statusBar] { return statusBar.panels()->panelText(QStringLiteral("Item1")); };
    // The installer goes where a real check puts it: the data folder's "update" folder.
    const QDir updateFolder(Paths::dataFile(QStringLiteral("update")));
    QDir(updateFolder).removeRecursively();
    // The check deletes itself when it and its download are over.
    const QPointer<UpdateCheck> check = UpdateCheck::start(&frame, &statusBar);
    QCOMPARE(statusText(), loadResString(16011));
    const auto openDialog = [&frame] { return frame.findChild<UpdateDialog *>(); };
    QTRY_VERIFY_WITH_TIMEOUT(openDialog() && openDialog()->isVisible(), 10000);
    QCOMPARE(statusText(), loadResString(16001));
    QPointer<UpdateDialog> dialog = openDialog();

    // Y is Yes; the completed download runs only after the user's OK, and after the frame closed.
    QString message;
    answerNextMessageBox(QMessageBox::Ok, &message);
    QTest::keyClick(dialog, Qt::Key_Y);
    QVERIFY(dialog->findChild<QPushButton *>(QStringLiteral("CancelDownload"))->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(!check, 10000);
    QCOMPARE(message, loadResString(16009));
    QVERIFY(!frame.isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(updateFolder.filePath(QStringLiteral("q.run.ran"))),
                             10000);
    QCOMPARE(statusText(), QString());
    QVERIFY(AppState::settings.checkForUpdate);
    QTRY_VERIFY(!dialog);
    QDir(updateFolder).removeRecursively();
}

void TestUpdate::dialogNoAndDontCheckAgain()
{
    AppState::settings.checkForUpdate = true;
    UpdateChecker checker;
    TestServer stalling;
    checkStalling(checker, stalling);

    UpdateDialog dialog(&checker);
    dialog.show();
    QSignalSpy install(&dialog, &UpdateDialog::installRequested);
    dialog.findChild<QPushButton *>(QStringLiteral("OKButton"))->click();
    QSignalSpy progress(&checker, &UpdateChecker::downloadProgress);
    QSignalSpy done(&checker, &UpdateChecker::downloadFinished);
    QTRY_VERIFY_WITH_TIMEOUT(!progress.isEmpty(), 10000);

    // Keys do nothing during a download; closing asks, and No keeps the download going.
    QTest::keyClick(&dialog, Qt::Key_N);
    QVERIFY(dialog.isVisible());
    QString message;
    answerNextMessageBox(QMessageBox::No, &message);
    dialog.findChild<QPushButton *>(QStringLiteral("CancelDownload"))->click();
    QCOMPARE(message, loadResString(16007));
    QVERIFY(dialog.isVisible() && done.isEmpty());
    // Yes cancels it: "Autoupdate Cancelled!", and the dialog closes.
    answerNextMessageBox(QMessageBox::Yes, &message);
    QString cancelled;
    answerNextMessageBox(QMessageBox::Ok, &cancelled);
    dialog.findChild<QPushButton *>(QStringLiteral("CancelDownload"))->click();
    QTRY_VERIFY_WITH_TIMEOUT(!dialog.isVisible(), 10000);
    QCOMPARE(cancelled, loadResString(16008));
    QCOMPARE(done.size(), 1);
    QVERIFY(install.isEmpty());

    // N answers No; the ticked box turns the check off and writes it at once.
    UpdateDialog question(&checker);
    question.show();
    question.findChild<QCheckBox *>(QStringLiteral("Check1"))->setChecked(true);
    QTest::keyClick(&question, Qt::Key_N);
    QVERIFY(!question.isVisible());
    QVERIFY(!AppState::settings.checkForUpdate);
    QCOMPARE(SettingsModel::readBoolean(SettingsStore::instance(), QStringLiteral("General"),
                                        QStringLiteral("CheckForUpdate"), true),
             false);
}

QTEST_MAIN(TestUpdate)
#include "tst_update.moc"
