// CPU use of a program sitting idle with its pages loaded, for the bare view, Quarvel and (when
// given) another Quarvel build, each from a fresh home, in three ways of opening the pages:
//  1 tab      one page given on the command line;
//  restored   ten pages, Quarvel's as the saved pages it restores at start (the bare view takes
//             them on its command line, one tab each);
//  one by one ten pages, Quarvel's opened one after another as a user clicking links in other
//             programs opens them: the first on the command line, then each of the others by a
//             later start that hands its address to the running one, once the page before has
//             loaded. The bare view has no hand-over: its ten tabs are the yardstick here too.
// Once every page pinged, at least 10 s have passed (the tabs whose pages completed in the
// background have stopped blinking) and the tree's CPU use per second is steady, the CPU time of
// the whole process tree (the engine's helper processes included) is taken over the period.
// Of the program's own process, the CPU time of its GUI thread and of the web engine's compositor
// thread is shown too: an idle program whose GUI thread stays quiet while its compositor thread
// runs has a page (or a hidden view) the engine keeps drawing for, not a timer of its own.
// Each round runs every program in every way; which program goes first changes every round; the
// medians over the rounds are the result. The machine's load average is shown for each round.
//
// Usage: bench_idle [seconds=30] [other-quarvel] [rounds=1]   ('' for no other Quarvel)
// The programs take the environment: QT_QUICK_BACKEND=software measures software composition.
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

constexpr int kTabs = 10;
// The web engine's compositor thread in the program's own process, by its kernel name.
const QByteArray kCompositorThread = QByteArrayLiteral("VizCompositorTh");

enum class Opening { OneTab, Restored, OneByOne };

QString openingName(Opening opening)
{
    switch (opening) {
    case Opening::OneTab:
        return QStringLiteral("1 tab");
    case Opening::Restored:
        return QStringLiteral("10 tabs restored");
    case Opening::OneByOne:
        break;
    }
    return QStringLiteral("10 tabs one by one");
}

bool openPages(const BenchProgram &program, Opening opening, BrowserRun &run, PingServer &server)
{
    if (opening == Opening::OneTab)
        return run.startAndLoad(server, 1);
    if (opening == Opening::Restored || !program.quarvel)
        return run.startAndLoad(server, kTabs);
    return run.startOneByOne(server, kTabs);
}

// CPU milliseconds of the tree over the period, or -1 when the run failed.
double idleCpu(const BenchProgram &program, Opening opening, int seconds, const BenchDisplay &display,
               PingServer &server)
{
    BenchHome home(BenchHome::Kind::Fresh);
    BrowserRun run(program, home, display);
    if (!openPages(program, opening, run, server))
        return -1;
    // Tabs of pages that completed in the background blink for a few seconds (a steady
    // rhythm too): idle starts after that.
    const qint64 loaded = ProcessTree::cpuMs(run.pid());
    const int settled = run.waitForSteadyCpu(40000, 10000);
    const qint64 before = ProcessTree::cpuMs(run.pid());
    const qint64 ownBefore = ProcessTree::processCpuMs(run.pid());
    const double guiBefore = ProcessTree::threadCpuMs(run.pid(), run.pid());
    const double compositorBefore = ProcessTree::namedThreadsCpuMs(run.pid(), kCompositorThread);
    const qsizetype processes = ProcessTree::members(run.pid()).size();
    pauseFor(seconds * 1000);
    const qint64 after = ProcessTree::cpuMs(run.pid());
    const qint64 own = ProcessTree::processCpuMs(run.pid()) - ownBefore;
    const double gui = ProcessTree::threadCpuMs(run.pid(), run.pid()) - guiBefore;
    const double compositor =
        ProcessTree::namedThreadsCpuMs(run.pid(), kCompositorThread) - compositorBefore;
    if (!run.isRunning()) {
        std::printf("  %s ended during the period\n", qPrintable(program.name));
        return -1;
    }
    // What the last page's load and the settling after it cost: the tabs' blink, a hand-over's
    // after-effects.
    const QString steady = (settled < 0 ? QStringLiteral("not steady after 40 s")
                                        : QStringLiteral("steady after %1 s").arg(settled / 1000.0, 0, 'f', 1)) +
                           QStringLiteral(", %1 ms CPU till then").arg(before - loaded);
    std::printf("  %-18s %-9s %6lld ms CPU in %d s  (program %lld ms: GUI thread %.0f ms, engine "
                "compositor %.0f ms; %lld helper processes %lld ms; %s)\n",
                qPrintable(openingName(opening)), qPrintable(program.name), after - before, seconds,
                own, gui, compositor, qlonglong(processes - 1), after - before - own, qPrintable(steady));
    std::fflush(stdout);
    return double(after - before);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    BenchCleanup::installSignalHandlers();
    const QStringList args = QCoreApplication::arguments();
    const int seconds = std::max(1, args.value(1, QStringLiteral("30")).toInt());
    const QList<BenchProgram> programs = benchPrograms(args.value(2));
    const int rounds = std::max(1, args.value(3, QStringLiteral("1")).toInt());

    BenchDisplay display;
    PingServer server;
    const double scale = seconds / 30.0; // the goals are per 30 s
    const Opening openings[] = {Opening::OneTab, Opening::Restored, Opening::OneByOne};

    // cpu[opening][program] per round; the bare view runs once for both ways of ten tabs.
    std::map<Opening, QList<QList<double>>> cpu;
    for (Opening opening : openings)
        cpu[opening] = QList<QList<double>>(programs.size());
    for (int round = 0; round < rounds; ++round) {
        std::printf("round %d, load %s\n", round + 1, qPrintable(loadAverageText()));
        for (Opening opening : openings) {
            for (int p : roundOrder(programs.size(), round)) {
                const bool yardstickDone = p == 0 && opening == Opening::OneByOne;
                cpu[opening][p].append(yardstickDone ? cpu[Opening::Restored][0].last()
                                                     : idleCpu(programs[p], opening, seconds, display, server));
            }
        }
    }

    std::printf("\nmedians over %d round%s of %d s, %s, load %s:\n", rounds, rounds > 1 ? "s" : "",
                seconds, qPrintable(display.description()), qPrintable(loadAverageText()));
    for (Opening opening : openings) {
        const QList<QList<double>> &c = cpu[opening];
        std::printf("%-18s bare view %s", qPrintable(openingName(opening)), qPrintable(msText(median(c[0]))));
        for (int p = 1; p < programs.size(); ++p)
            std::printf(", %s %s", qPrintable(programs[p].name), qPrintable(msText(median(c[p]))));
        if (opening == Opening::OneTab)
            std::printf("  (goal: within %.0f ms of the bare view)\n", 50 * scale);
        else if (opening == Opening::OneByOne)
            std::printf("  (goal <= %.0f ms per %d s)\n", 100 * scale, seconds);
        else
            std::printf("  (goal: no worse than before)\n");
    }
    return 0;
}
