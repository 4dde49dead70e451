// Times process start to the first page's load event, for Quarvel and for a bare web view,
// on the same machine in one run, and reports the ratio (goal: Quarvel within 1.3x).
//
// The page pings the server from its onload handler, so both programs are measured from the
// outside the same way. Each Quarvel run gets fresh folders holding settings of a later run.
//
// Usage: bench_startup [runs] [other-quarvel]   (needs a display: Xvfb or QT_QPA_PLATFORM=offscreen)
// With another Quarvel binary (an earlier build), it is measured in the same rounds.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHostAddress>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

class PingServer : public QTcpServer
{
public:
    bool loaded = false;
    PingServer()
    {
        listen(QHostAddress::LocalHost, 0);
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *s = nextPendingConnection()) {
                connect(s, &QTcpSocket::readyRead, s, [this, s] {
                    const QByteArray request = s->readAll();
                    QByteArray body;
                    if (request.startsWith("GET /loaded")) {
                        loaded = true;
                    } else {
                        body = "<!DOCTYPE html><html><head><title>Bench</title></head><body "
                               "onload=\"new Image().src='/loaded?'+Date.now()\"><h1>Bench</h1>"
                               "<p>A local page.</p></body></html>";
                    }
                    s->write("HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nCache-Control: no-store\r\n"
                             "Connection: close\r\nContent-Length: " +
                             QByteArray::number(body.size()) + "\r\n\r\n" + body);
                    s->disconnectFromHost();
                });
                connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
            }
        });
    }
};

double runOnce(const QString &program, const QString &url, bool quarvel)
{
    QTemporaryDir home;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *sub : {"config", "data", "cache", "runtime"})
        QDir(home.path()).mkpath(QLatin1String(sub));
    QFile::setPermissions(home.filePath(QStringLiteral("runtime")),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    env.insert(QStringLiteral("HOME"), home.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
    env.insert(QStringLiteral("XDG_CACHE_HOME"), home.filePath(QStringLiteral("cache")));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.filePath(QStringLiteral("runtime")));
    if (quarvel) {
        QDir(home.filePath(QStringLiteral("config"))).mkpath(QStringLiteral("Quarvel"));
        QFile ini(home.filePath(QStringLiteral("config/Quarvel/Quarvel.ini")));
        ini.open(QIODevice::WriteOnly);
        ini.write("[Settings]\nFirstTime=False\n[General]\nSaveDocumentOnExit=False\n"
                  "CheckIfDefault=False\n");
    }

    PingServer server;
    const QString page = url.isEmpty()
                             ? QStringLiteral("http://127.0.0.1:%1/page").arg(server.serverPort())
                             : url;
    QProcess process;
    process.setProcessEnvironment(env);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    process.start(program, {page});
    while (!server.loaded && timer.elapsed() < 60000 && process.state() != QProcess::NotRunning)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    const double ms = server.loaded ? double(timer.nsecsElapsed()) / 1e6 : -1;
    process.terminate();
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished(5000);
    }
    return ms;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? -1 : v[v.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int runs = qMax(1, QCoreApplication::arguments().value(1, QStringLiteral("5")).toInt());
    const QString dir = QCoreApplication::applicationDirPath();
    const QString quarvel = QStringLiteral(QUARVEL_BINARY);
    const QString bare = dir + QStringLiteral("/bare_view");

    const QString other = QCoreApplication::arguments().value(2);

    std::vector<double> q, b, o;
    runOnce(bare, {}, false); // warm the file cache for every program
    runOnce(quarvel, {}, true);
    if (!other.isEmpty())
        runOnce(other, {}, true);
    for (int i = 0; i < runs; ++i) {
        b.push_back(runOnce(bare, {}, false));
        q.push_back(runOnce(quarvel, {}, true));
        if (!other.isEmpty())
            o.push_back(runOnce(other, {}, true));
        std::printf("run %d: bare %.0f ms, quarvel %.0f ms", i + 1, b.back(), q.back());
        if (!other.isEmpty())
            std::printf(", other %.0f ms", o.back());
        std::printf("\n");
    }
    const double mb = median(b), mq = median(q);
    std::printf("median start to first page load: bare view %.0f ms, Quarvel %.0f ms\n", mb, mq);
    if (mb > 0 && mq > 0)
        std::printf("ratio Quarvel / bare view: %.2f (goal <= 1.30)\n", mq / mb);
    if (!other.isEmpty()) {
        const double mo = median(o);
        std::printf("other Quarvel %.0f ms, ratio to bare view %.2f\n", mo, mb > 0 ? mo / mb : -1.0);
    }
    return 0;
}
