#include "browserrun.h"

#include "benchcleanup.h"
#include "benchdisplay.h"
#include "benchhome.h"
#include "pingserver.h"
#include "programprocess.h"

#include <QProcess>

#include <csignal>
#include <cstdio>
#include <unistd.h>

BrowserRun::BrowserRun(const BenchProgram &program, BenchHome &home, const BenchDisplay &display)
    : m_program(program), m_home(home), m_display(display)
{
}

BrowserRun::~BrowserRun()
{
    stop();
}

bool BrowserRun::start(const QStringList &addresses, Start how)
{
    QStringList arguments = addresses;
    if (how == Start::Own) {
        if (!m_home.resetRuntimeFolder())
            qFatal("Cannot make the runtime folder in %s", qPrintable(m_home.path()));
        if (m_program.quarvel) {
            const bool session = addresses.size() > 1;
            m_home.seedQuarvel(session ? addresses : QStringList(), m_display.screenSize());
            if (session)
                arguments.clear();
        }
    }
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    m_display.apply(env);

    m_process = std::make_unique<ProgramProcess>(m_home);
    m_started = Clock::now();
    if (!m_process->start(m_program.path, arguments, env,
                          how == Start::Own ? QStringLiteral("stderr.log")
                                            : QStringLiteral("stderr-second-start.log")))
        return false;
    m_pid = pid_t(m_process->pid());
    BenchCleanup::registerChild(m_pid);
    return true;
}

bool BrowserRun::startAndLoad(PingServer &server, int count)
{
    server.forget();
    if (start(server.numberedPages(1, count)) && waitForPings(server, 1, count))
        return true;
    int pinged = 0;
    for (int page = 1; page <= count; ++page)
        pinged += server.pingCount(page) > 0 ? 1 : 0;
    std::printf("  %s: %d of %d pages pinged (%s)\n", qPrintable(m_program.name), pinged, count,
                isRunning() ? "time out" : "the program ended");
    const QString tail = errorTail();
    if (!tail.isEmpty())
        std::printf("  its last words:\n%s\n", qPrintable(tail));
    std::fflush(stdout);
    return false;
}

bool BrowserRun::startOneByOne(PingServer &server, int count)
{
    if (m_program.quarvel)
        return startAndLoad(server, 1) && handOverPages(server, 2, count);
    server.forget();
    if (start(QStringList{QStringLiteral("--one-by-one")} + server.numberedPages(1, count)) &&
        waitForPings(server, 1, count, 60000 + 2000 * count))
        return true;
    std::printf("  %s: not every page of %d opened one by one pinged\n%s\n", qPrintable(m_program.name),
                count, qPrintable(errorTail()));
    return false;
}

bool BrowserRun::handOverPages(PingServer &server, int first, int last)
{
    // The running program takes hand-overs once its frame is up.
    waitForSteadyCpu(10000);
    for (int page = first; page <= last; ++page) {
        BrowserRun later(m_program, m_home, m_display);
        later.start({server.numberedPage(page)}, Start::JoinRunning);
        if (!waitForPings(server, page, 1, 30000)) {
            std::printf("  %s: handed-over page %d never pinged\n%s\n", qPrintable(m_program.name), page,
                        qPrintable(later.errorTail()));
            return false;
        }
        waitUntil([&] { return !later.isRunning(); }, 10000);
    }
    return true;
}

bool BrowserRun::isRunning() const
{
    return m_process && m_process->isRunning();
}

bool BrowserRun::waitForPings(const PingServer &server, int first, int count, int timeoutMs)
{
    return waitUntil([&] { return server.allPinged(first, count) || !isRunning(); }, timeoutMs) &&
           server.allPinged(first, count);
}

int BrowserRun::waitForSteadyCpu(int maxMs, int minMs)
{
    const Clock::time_point begin = Clock::now();
    QList<qint64> perSecond;
    qint64 before = ProcessTree::cpuMs(m_pid);
    while (msBetween(begin, Clock::now()) < maxMs && isRunning()) {
        pauseFor(1000);
        const qint64 now = ProcessTree::cpuMs(m_pid);
        perSecond.append(now - before);
        before = now;
        if (perSecond.size() < 3 || msBetween(begin, Clock::now()) < minMs)
            continue;
        const qint64 a = perSecond[perSecond.size() - 3], b = perSecond[perSecond.size() - 2],
                     c = perSecond.last();
        const double mean = (a + b + c) / 3.0;
        const double spread = std::max({a, b, c}) - std::min({a, b, c});
        if (spread <= std::max(15.0, 0.3 * mean))
            return int(msBetween(begin, Clock::now()));
    }
    return -1;
}

QString BrowserRun::runTool(const QString &program, const QStringList &arguments) const
{
    QProcess tool;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    m_display.apply(env);
    tool.setProcessEnvironment(env);
    tool.setStandardErrorFile(QProcess::nullDevice());
    BenchCleanup::startChild(tool, program, arguments);
    if (!tool.waitForFinished(5000)) {
        BenchCleanup::killChildGroup(pid_t(tool.processId()));
        tool.waitForFinished(1000);
    }
    BenchCleanup::forgetChild(pid_t(tool.processId()));
    return QString::fromLocal8Bit(tool.readAllStandardOutput());
}

bool BrowserRun::requestClose(Clock::time_point *sentAt)
{
    return sendKeys(QStringLiteral("alt+F4"), sentAt);
}

bool BrowserRun::sendKeys(const QString &keys, Clock::time_point *sentAt)
{
    if (!m_display.hasWindowManager() || !isRunning())
        return false;
    const QStringList windows =
        runTool(QStringLiteral("xdotool"),
                {QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--pid"),
                 QString::number(m_pid)})
            .split(u'\n', Qt::SkipEmptyParts);
    if (windows.isEmpty())
        return false;
    runTool(QStringLiteral("xdotool"), {QStringLiteral("windowactivate"), QStringLiteral("--sync"), windows.last()});
    if (sentAt)
        *sentAt = Clock::now();
    runTool(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("--clearmodifiers"), keys});
    return true;
}

void BrowserRun::stop()
{
    if (!m_process)
        return;
    if (m_pid <= 0) { // it never started
        m_process.reset();
        return;
    }
    const QList<ProcessTree::Member> tree = ProcessTree::members(m_pid);
    auto ended = [&] { return !isRunning() && !ProcessTree::anyAlive(tree); };
    if (!ended() && requestClose())
        waitUntil(ended, 15000);
    if (!ended()) {
        m_process->terminate();
        waitUntil(ended, 5000);
    }
    if (!ended()) {
        BenchCleanup::killChildGroup(m_pid);
        for (const ProcessTree::Member &member : tree) {
            if (ProcessTree::isAlive(member))
                ::kill(member.pid, SIGKILL);
        }
        waitUntil(ended, 5000);
    }
    m_process->waitForFinished(1000);
    BenchCleanup::forgetChild(m_pid);
    m_process.reset();
}

QString BrowserRun::errorTail(int lines) const
{
    return m_process ? m_process->errorTail(lines) : QString();
}
