// Three moments of daily use, on an X display, each program in its warm home:
//  hand-over: with Quarvel running one tab, a second start `quarvel <address>` hands the address
//    to the running window; timed from that start to the new page's ping. The bare view has no
//    hand-over: its own start to the page's ping, in the same round, is the yardstick.
//  close: with 10 tabs loaded, a close request through the window manager (the window activated,
//    then Alt+F4), timed until every process of the program's tree has ended; the bare view
//    closing its 10 tabs is the yardstick.
//  tab switch: with 2, 10 and 50 tabs loaded, Ctrl+Tab nine times, each once the page before
//    shows; timed from the key to the first frame of the page brought forward (it reports it),
//    with the pages that reported a change of their visibility (one shown, one covered: 2) and
//    the tree's CPU until the switch has settled. A program that never stops showing its
//    covered pages to the engine gives no such report: n/a.
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

constexpr int kTabCounts[] = {2, 10, 50};

// The medians of nine switches to the next tab; ms -1 when no switch showed its page.
struct Switches
{
    double ms = -1;
    double pagesChanged = -1;
    double cpuMs = -1;
};

// "n/a" for a program that gave no first-frame report.
QString switchesText(const Switches &s)
{
    if (s.ms < 0)
        return QStringLiteral("n/a");
    return QStringLiteral("%1, %2 pages changed visibility, CPU %3")
        .arg(msText(s.ms))
        .arg(s.pagesChanged)
        .arg(msText(s.cpuMs));
}

// With count tabs loaded, nine switches to the next tab: from the key to the first frame of the
// page brought forward, the pages that changed their visibility, and the tree's CPU until the
// switch settled (half a second after the page showed).
Switches switchTabs(const BenchProgram &program, BenchHome &home, const BenchDisplay &display,
                    PingServer &server, int count)
{
    BrowserRun run(program, home, display);
    if (!run.startAndLoad(server, count))
        return {};
    run.waitForSteadyCpu(15000 + 200 * count);
    // Quarvel shows the last page of its saved ones, the bare view its first tab.
    int current = program.quarvel ? count : 1;
    QList<double> times, pages, cpu;
    for (int i = 0; i < 9; ++i) {
        const int next = current % count + 1;
        server.markVisibility();
        const qint64 cpuBefore = ProcessTree::cpuMs(run.pid());
        BrowserRun::Clock::time_point sent;
        if (!run.sendKeys(QStringLiteral("ctrl+Tab"), &sent))
            break;
        if (!waitUntil([&] { return server.lastShown(next) > sent; }, 5000)) {
            std::printf("  %s, %d tabs: page %d did not show after Ctrl+Tab\n",
                        qPrintable(program.name), count, next);
            break;
        }
        times.append(msBetween(sent, server.lastShown(next)));
        pauseFor(500); // the reports of the pages covered have come, the switch has settled
        pages.append(server.pagesChangedVisibility());
        cpu.append(double(ProcessTree::cpuMs(run.pid()) - cpuBefore));
        current = next;
    }
    if (times.isEmpty())
        return {};
    return {median(times), median(pages), median(cpu)};
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

    QList<QList<double>> handOvers(programs.size()), closes(programs.size());
    // By program and tab count, one result a round.
    QList<QList<QList<Switches>>> switches(programs.size(),
                                           QList<QList<Switches>>(std::size(kTabCounts)));
    for (int round = 0; round < rounds; ++round) {
        for (int p : roundOrder(programs.size(), round)) {
            handOvers[p].append(handOver(programs[p], *homes[p], display, server));
            closes[p].append(closeTenTabs(programs[p], *homes[p], display, server));
            for (size_t c = 0; c < std::size(kTabCounts); ++c)
                switches[p][c].append(
                    switchTabs(programs[p], *homes[p], display, server, kTabCounts[c]));
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
        std::printf("\n");
        for (size_t c = 0; c < std::size(kTabCounts); ++c) {
            std::printf("  tab switch with %d tabs:", kTabCounts[c]);
            for (int p = 0; p < programs.size(); ++p)
                std::printf("%s %s %s", p > 0 ? ";" : "", qPrintable(programs[p].name),
                            qPrintable(switchesText(switches[p][c].last())));
            std::printf("\n");
        }
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
    std::printf("\n");
    for (size_t c = 0; c < std::size(kTabCounts); ++c) {
        std::printf("tab switch with %d tabs (to the page's first frame; pages whose visibility "
                    "changed; CPU of the tree):",
                    kTabCounts[c]);
        for (int p = 0; p < programs.size(); ++p) {
            QList<double> ms, pages, cpu;
            for (const Switches &s : std::as_const(switches[p][c])) {
                if (s.ms < 0)
                    continue;
                ms.append(s.ms);
                pages.append(s.pagesChanged);
                cpu.append(s.cpuMs);
            }
            const Switches medians = ms.isEmpty() ? Switches{}
                                                  : Switches{median(ms), median(pages), median(cpu)};
            std::printf("%s %s %s", p > 0 ? ";" : "", qPrintable(programs[p].name),
                        qPrintable(switchesText(medians)));
        }
        std::printf("\n");
    }
    return 0;
}
