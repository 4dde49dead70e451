// Three moments of daily use, on an X display, each program in its warm home:
//  hand-over: with Quarvel running one tab, a second start `quarvel <address>` hands the address
//    to the running window; timed from that start to the new page's ping. The bare view has no
//    hand-over: its own start to the page's ping, in the same round, is the yardstick.
//  close: with 10 tabs loaded, a close request through the window manager (the window activated,
//    then Alt+F4), timed until every process of the program's tree has ended; the bare view
//    closing its 10 tabs is the yardstick.
//  tab switch: with 10 tabs loaded, Ctrl+Tab nine times, each once the page before shows; timed
//    from the key to the first frame of the page that comes into view (it reports it). A program
//    that never stops showing its covered pages to the engine gives no such report: n/a.
// Which program goes first changes every round; the medians are the result.
//
// Usage: bench_tabs [rounds=5] [other-quarvel]
#include "benchcleanup.h"
#include "benchdisplay.h"
#include "benchhome.h"
#include "benchutil.h"
#include "browserrun.h"
#include "pingserver.h"

#include <QCoreApplication>

#include <cstdio>
#include <map>

namespace {

// Quarvel: from the second start to the handed-over page's ping. Bare view: its own start to
// its page's ping. -1 when it failed.
double handOver(const BenchProgram &program, BenchHome &home, const BenchDisplay &display,
                PingServer &server)
{
    BrowserRun first(program, home, display);
    if (!first.startAndLoad(server, 1))
        return -1;
    if (!program.quarvel)
        return msBetween(first.started(), server.firstPing(1));
    first.waitForSteadyCpu(10000);
    BrowserRun second(program, home, display);
    second.start({server.numberedPage(2)}, BrowserRun::Start::JoinRunning);
    if (!first.waitForPings(server, 2, 1, 30000)) {
        std::printf("  %s: the handed-over page never pinged\n%s\n", qPrintable(program.name),
                    qPrintable(second.errorTail()));
        return -1;
    }
    if (!waitUntil([&] { return !second.isRunning(); }, 10000))
        std::printf("  %s: the second start did not end by itself\n", qPrintable(program.name));
    return msBetween(second.started(), server.firstPing(2));
}

// Ten tabs loaded, and the tree's CPU use settled after them.
bool loadTenTabs(BrowserRun &run, PingServer &server)
{
    if (!run.startAndLoad(server, 10))
        return false;
    run.waitForSteadyCpu(15000);
    return true;
}

// From the close request to the end of the last process of the tree; -1 when it failed.
double closeTenTabs(const BenchProgram &program, BenchHome &home, const BenchDisplay &display,
                    PingServer &server)
{
    BrowserRun run(program, home, display);
    if (!loadTenTabs(run, server))
        return -1;
    const QList<ProcessTree::Member> tree = ProcessTree::members(run.pid());
    BrowserRun::Clock::time_point sent;
    if (!run.requestClose(&sent)) {
        std::printf("  %s: no window to close\n", qPrintable(program.name));
        return -1;
    }
    if (!waitUntil([&] { return !ProcessTree::anyAlive(tree); }, 30000)) {
        std::printf("  %s: still running 30 s after the close request\n", qPrintable(program.name));
        return -1;
    }
    return msBetween(sent, BrowserRun::Clock::now());
}

// "n/a" for a program that gave no first-frame report.
QString switchText(double ms)
{
    return ms < 0 ? QStringLiteral("n/a") : msText(ms);
}

// The median of nine switches to the next tab, from the key to the shown page's first frame;
// -1 when no page reported one.
double switchTabs(const BenchProgram &program, BenchHome &home, const BenchDisplay &display,
                  PingServer &server)
{
    BrowserRun run(program, home, display);
    if (!loadTenTabs(run, server))
        return -1;
    QList<double> switches;
    for (int i = 0; i < 9; ++i) {
        const int before = server.lastShownPage();
        const PingServer::Clock::time_point shownBefore = server.lastShown();
        BrowserRun::Clock::time_point sent;
        if (!run.sendKeys(QStringLiteral("ctrl+Tab"), &sent))
            return -1;
        if (!waitUntil([&] { return server.lastShownPage() != 0 &&
                                    (server.lastShownPage() != before || server.lastShown() != shownBefore); },
                       3000))
            break;
        switches.append(msBetween(sent, server.lastShown()));
        pauseFor(300); // the page shown has settled
    }
    return switches.isEmpty() ? -1 : median(switches);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    BenchCleanup::installSignalHandlers();
    const QStringList args = QCoreApplication::arguments();
    const int rounds = std::max(1, args.value(1, QStringLiteral("5")).toInt());
    const QList<BenchProgram> programs = benchPrograms(args.value(2));

    BenchDisplay display;
    if (!display.hasWindowManager()) {
        std::printf("bench_tabs needs an X display with a window manager\n");
        return 1;
    }
    PingServer server;
    std::map<int, std::unique_ptr<BenchHome>> homes;
    for (int p = 0; p < programs.size(); ++p) {
        homes[p] = std::make_unique<BenchHome>(BenchHome::Kind::Warm);
        BrowserRun(programs[p], *homes[p], display).startAndLoad(server, 1);
    }

    QList<QList<double>> handOvers(programs.size()), closes(programs.size()), switches(programs.size());
    for (int round = 0; round < rounds; ++round) {
        for (int p : roundOrder(programs.size(), round)) {
            handOvers[p].append(handOver(programs[p], *homes[p], display, server));
            closes[p].append(closeTenTabs(programs[p], *homes[p], display, server));
            switches[p].append(switchTabs(programs[p], *homes[p], display, server));
        }
        std::printf("round %d: hand-over", round + 1);
        for (int p = 1; p < programs.size(); ++p)
            std::printf("%s %s %s", p > 1 ? "," : "", qPrintable(programs[p].name),
                        qPrintable(msText(handOvers[p].last())));
        std::printf(" (bare view start %s); close 10 tabs: bare view %s",
                    qPrintable(msText(handOvers[0].last())), qPrintable(msText(closes[0].last())));
        for (int p = 1; p < programs.size(); ++p)
            std::printf(", %s %s (ratio %s)", qPrintable(programs[p].name),
                        qPrintable(msText(closes[p].last())),
                        qPrintable(ratioText(closes[p].last(), closes[0].last())));
        std::printf("; tab switch:");
        for (int p = 0; p < programs.size(); ++p)
            std::printf("%s %s %s", p > 0 ? "," : "", qPrintable(programs[p].name),
                        qPrintable(switchText(switches[p].last())));
        std::printf("\n");
        std::fflush(stdout);
    }

    std::printf("\nmedians over %d rounds, %s:\n", rounds, qPrintable(display.description()));
    std::printf("hand-over to the new page's ping:");
    for (int p = 1; p < programs.size(); ++p)
        std::printf(" %s %s (%s of a bare view start);", qPrintable(programs[p].name),
                    qPrintable(msText(median(handOvers[p]))),
                    qPrintable(ratioText(median(handOvers[p]), median(handOvers[0]))));
    std::printf(" bare view start %s\n", qPrintable(msText(median(handOvers[0]))));
    std::printf("close with 10 tabs to the tree's end: bare view %s", qPrintable(msText(median(closes[0]))));
    for (int p = 1; p < programs.size(); ++p)
        std::printf(", %s %s (median paired ratio %s)", qPrintable(programs[p].name),
                    qPrintable(msText(median(closes[p]))),
                    qPrintable(ratioText(medianPairedRatio(closes[p], closes[0]), 1)));
    std::printf("\ntab switch to the shown page's first frame:");
    for (int p = 0; p < programs.size(); ++p)
        std::printf("%s %s %s", p > 0 ? "," : "", qPrintable(programs[p].name),
                    qPrintable(switchText(median(switches[p]))));
    std::printf("\n");
    return 0;
}
