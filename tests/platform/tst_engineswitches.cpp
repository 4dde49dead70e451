#include "platform/browserpage.h"
#include "platform/webbrowser.h"
#include "testserver.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QtTest>

namespace {

// The processes below pid, its own children first.
QList<qint64> descendants(qint64 pid)
{
    QList<qint64> found;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString &entry : entries) {
        bool number = false;
        const qint64 child = entry.toLongLong(&number);
        if (!number)
            continue;
        QFile stat(QStringLiteral("/proc/%1/stat").arg(child));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        const QByteArray text = stat.readAll();
        // pid (name) state ppid ...: the name may hold spaces and brackets.
        const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 1 && fields[1].toLongLong() == pid)
            found << child << descendants(child);
    }
    return found;
}

// The largest mapping of the process that is executable and of no file, in KiB.
qint64 largestAnonymousCode(qint64 pid)
{
    QFile maps(QStringLiteral("/proc/%1/maps").arg(pid));
    if (!maps.open(QIODevice::ReadOnly))
        return 0;
    qint64 largest = 0;
    // start-end perms offset device inode [path]; the file has no size to read up to.
    const QList<QByteArray> lines = maps.readAll().split('\n');
    for (const QByteArray &line : lines) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() != 5 || fields[1] != "r-xp" || fields[4] != "0")
            continue;
        const QList<QByteArray> range = fields[0].split('-');
        largest = qMax(largest, (range[1].toLongLong(nullptr, 16) - range[0].toLongLong(nullptr, 16)) / 1024);
    }
    return largest;
}

} // namespace

// The switches the engine is started with reach the pages' processes.
class TestEngineSwitches : public QObject
{
    Q_OBJECT

private slots:
    // A page's process keeps no copy of the script engine's built-in code (about 1.4 MiB) among
    // its compiled scripts.
    void pageProcessesKeepNoCopyOfTheBuiltInCode()
    {
        prepareEngineSwitches();
        TestServer server;
        WebBrowser browser;
        browser.resize(400, 300);
        browser.show();
        QSignalSpy loaded(&server, &TestServer::pageLoaded);
        browser.navigate(QUrl(server.numberedPage(1)));
        QVERIFY(loaded.wait(20000));

        const QList<qint64> processes = descendants(QCoreApplication::applicationPid());
        QVERIFY(!processes.isEmpty());
        for (qint64 pid : processes)
            QVERIFY2(largestAnonymousCode(pid) < 1024, qPrintable(QString::number(pid)));
    }
};

QTEST_MAIN(TestEngineSwitches)
#include "tst_engineswitches.moc"
