// Moments of daily use, on an X display, each program in its warm home:
//  close: with 10 tabs loaded, a close request through the window manager (the window activated,
//    then Alt+F4), timed until every process of the program's tree has ended; the bare view
//    closing its 10 tabs is the yardstick.
//  tab switch: with 2, 10 and 50 tabs loaded, Ctrl+Tab nine times, each once the page before
//    shows; timed from the key to the first frame of the page brought forward (it reports it),
//    with the pages that reported a change of their visibility (one shown, one covered: 2) and
//    the tree's CPU until the switch has settled. A program that never stops showing its
//    covered pages to the engine gives no such report: n/a.
//  opening: in the same run, after the switches, three hand-overs (a second start
//    `quarvel <address>` hands the address to the running window), each timed from that start to
//    the new page's ping, then three Ctrl+N (a new tab on the blank home page); after each, the
//    pages that reported a change of their visibility (only the page covered: 1). The bare view
//    has neither: its own start to its page's ping, in the same round, is the yardstick.
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

// The bare view's start to its page's ping: the yardstick of a hand-over. -1 when it failed.
double bareViewStart(const BenchProgram &program, BenchHome &home, const BenchDisplay &display,
                     PingServer &server)
{
    BrowserRun run(program, home, display);
    if (!run.startAndLoad(server, 1))
        return -1;
    return msBetween(run.started(), server.firstPing(1));
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
constexpr int kOpenings = 3;

// The medians of nine switches to the next tab; ms -1 when no switch showed its page.
struct Switches
{
    double ms = -1;
    double pagesChanged = -1;
    double cpuMs = -1;
};

// The medians of a few openings of a tab; -1 where none was measured.
struct Openings
{
    double handOverMs = -1;
    double handOverPagesChanged = -1;
    double newTabPagesChanged = -1;
};

// What one run with a number of tabs loaded measured.
struct TabsRun
{
    Switches switches;
    Openings openings;
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

QString pagesText(double pages)
{
    return pages < 0 ? QStringLiteral("n/a") : QString::number(pages);
}

QString openingsText(const Openings &o)
{
    return QStringLiteral("hand-over %1, %2 pages changed visibility; Ctrl+N %3 pages changed "
                          "visibility")
        .arg(msText(o.handOverMs), pagesText(o.handOverPagesChanged),
             pagesText(o.newTabPagesChanged));
}

// Nine switches to the next tab in a run with count tabs loaded: from the key to the first frame
// of the page brought forward, the pages that changed their visibility, and the tree's CPU until
// the switch settled (half a second after the page showed).
Switches switchTabs(BrowserRun &run, const BenchProgram &program, PingServer &server, int count)
{
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

// Quarvel, in a run with count tabs loaded: hand-overs of the next numbered pages, from the
// second start to the new page's ping, then Ctrl+N on the blank home page; after each opening,
// the pages that reported a change of their visibility.
Openings openTabs(BrowserRun &run, const BenchProgram &program, BenchHome &home,
                  const BenchDisplay &display, PingServer &server, int count)
{
    QList<double> handOverTimes, handOverPages, newTabPages;
    for (int i = 0; i < kOpenings; ++i) {
        run.waitForSteadyCpu(10000);
        const int page = count + 1 + i;
        server.markVisibility();
        BrowserRun second(program, home, display);
        second.start({server.numberedPage(page)}, BrowserRun::Start::JoinRunning);
        if (!run.waitForPings(server, page, 1, 30000)) {
            std::printf("  %s, %d tabs: the handed-over page %d never pinged\n%s\n",
                        qPrintable(program.name), count, page, qPrintable(second.errorTail()));
            break;
        }
        handOverTimes.append(msBetween(second.started(), server.firstPing(page)));
        pauseFor(500); // the covered pages' reports have come
        handOverPages.append(server.pagesChangedVisibility());
        if (!waitUntil([&] { return !second.isRunning(); }, 10000))
            std::printf("  %s: the second start did not end by itself\n", qPrintable(program.name));
    }
    for (int i = 0; i < kOpenings; ++i) {
        run.waitForSteadyCpu(10000);
        server.markVisibility();
        if (!run.sendKeys(QStringLiteral("ctrl+n")))
            break;
        // The blank page reports nothing: the page it covers does.
        waitUntil([&] { return server.pagesChangedVisibility() > 0; }, 5000);
        pauseFor(500);
        newTabPages.append(server.pagesChangedVisibility());
        // The blank tab closes, so that the next one covers a page that reports again.
        BrowserRun::Clock::time_point closed;
        if (!run.sendKeys(QStringLiteral("ctrl+F4"), &closed) ||
            !waitUntil([&] { return server.lastShown() > closed; }, 5000))
            break;
    }
    return {median(handOverTimes), median(handOverPages), median(newTabPages)};
}

TabsRun runWithTabs(const BenchProgram &program, BenchHome &home, const BenchDisplay &display,
                    PingServer &server, int count)
{
    BrowserRun run(program, home, display);
    if (!run.startAndLoad(server, count))
        return {};
    run.waitForSteadyCpu(15000 + 200 * count);
    TabsRun result;
    result.switches = switchTabs(run, program, server, count);
    if (program.quarvel)
        result.openings = openTabs(run, program, home, display, server, count);
    return result;
}

// The medians over the rounds of what the runs measured.
TabsRun medians(const QList<TabsRun> &runs)
{
    QList<double> ms, pages, cpu, handOver, handOverPages, newTabPages;
    for (const TabsRun &r : runs) {
        if (r.switches.ms >= 0) {
            ms.append(r.switches.ms);
            pages.append(r.switches.pagesChanged);
            cpu.append(r.switches.cpuMs);
        }
        handOver.append(r.openings.handOverMs);
        handOverPages.append(r.openings.handOverPagesChanged);
        newTabPages.append(r.openings.newTabPagesChanged);
    }
    TabsRun result;
    if (!ms.isEmpty())
        result.switches = {median(ms), median(pages), median(cpu)};
    result.openings = {median(handOver), median(handOverPages), median(newTabPages)};
    return result;
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

    QList<double> bareStarts;
    QList<QList<double>> closes(programs.size());
    // By program and tab count, one result a round.
    QList<QList<QList<TabsRun>>> runs(programs.size(),
                                      QList<QList<TabsRun>>(std::size(kTabCounts)));
    for (int round = 0; round < rounds; ++round) {
        for (int p : roundOrder(programs.size(), round)) {
            if (!programs[p].quarvel)
                bareStarts.append(bareViewStart(programs[p], *homes[p], display, server));
            closes[p].append(closeTenTabs(programs[p], *homes[p], display, server));
            for (size_t c = 0; c < std::size(kTabCounts); ++c)
                runs[p][c].append(
                    runWithTabs(programs[p], *homes[p], display, server, kTabCounts[c]));
        }
        std::printf("round %d: bare view start %s; close 10 tabs: bare view %s", round + 1,
                    qPrintable(msText(bareStarts.last())), qPrintable(msText(closes[0].last())));
        for (int p = 1; p < programs.size(); ++p)
            std::printf(", %s %s (ratio %s)", qPrintable(programs[p].name),
                        qPrintable(msText(closes[p].last())),
                        qPrintable(ratioText(closes[p].last(), closes[0].last())));
        std::printf("\n");
        for (size_t c = 0; c < std::size(kTabCounts); ++c) {
            std::printf("  tab switch with %d tabs:", kTabCounts[c]);
            for (int p = 0; p < programs.size(); ++p)
                std::printf("%s %s %s", p > 0 ? ";" : "", qPrintable(programs[p].name),
                            qPrintable(switchesText(runs[p][c].last().switches)));
            std::printf("\n  opening with %d tabs:", kTabCounts[c]);
            for (int p = 1; p < programs.size(); ++p)
                std::printf("%s %s %s", p > 1 ? ";" : "", qPrintable(programs[p].name),
                            qPrintable(openingsText(runs[p][c].last().openings)));
            std::printf("\n");
        }
        std::fflush(stdout);
    }

    std::printf("\nmedians over %d rounds, %s:\n", rounds, qPrintable(display.description()));
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
        for (int p = 0; p < programs.size(); ++p)
            std::printf("%s %s %s", p > 0 ? ";" : "", qPrintable(programs[p].name),
                        qPrintable(switchesText(medians(runs[p][c]).switches)));
        std::printf("\n");
    }
    const double bareStart = median(bareStarts);
    for (size_t c = 0; c < std::size(kTabCounts); ++c) {
        std::printf("opening with %d tabs (hand-over to the new page's ping; pages whose "
                    "visibility changed):",
                    kTabCounts[c]);
        for (int p = 1; p < programs.size(); ++p) {
            const Openings o = medians(runs[p][c]).openings;
            std::printf("%s %s %s (hand-over %s of a bare view start)", p > 1 ? ";" : "",
                        qPrintable(programs[p].name), qPrintable(openingsText(o)),
                        qPrintable(ratioText(o.handOverMs, bareStart)));
        }
        std::printf("\n");
    }
    std::printf("bare view start %s\n", qPrintable(msText(bareStart)));
    return 0;
}
