// CPU use of a program sitting idle with its pages loaded: 1 tab and 10 tabs of plain local
// pages, for the bare view, Quarvel and (when given) another Quarvel build, each from a fresh
// home. Once every page pinged, at least 10 s have passed (the tabs whose pages completed in
// the background have stopped blinking) and the tree's CPU use per second is steady, the CPU
// time of the whole process tree (the engine's helper processes included) is taken over the
// period.
//
// Usage: bench_idle [seconds=30] [other-quarvel]
#include "benchcleanup.h"
#include "benchdisplay.h"
#include "benchhome.h"
#include "benchutil.h"
#include "browserrun.h"
#include "pingserver.h"

#include <QCoreApplication>

#include <cstdio>

namespace {

// CPU milliseconds of the tree over the period, or -1 when the run failed.
double idleCpu(const BenchProgram &program, int tabs, int seconds, const BenchDisplay &display,
               PingServer &server)
{
    BenchHome home(BenchHome::Kind::Fresh);
    BrowserRun run(program, home, display);
    if (!run.startAndLoad(server, tabs))
        return -1;
    // Tabs of pages that completed in the background blink for a few seconds (a steady
    // rhythm too): idle starts after that.
    const int settled = run.waitForSteadyCpu(40000, 10000);
    const qint64 before = ProcessTree::cpuMs(run.pid());
    const qint64 ownBefore = ProcessTree::processCpuMs(run.pid());
    const qsizetype processes = ProcessTree::members(run.pid()).size();
    pauseFor(seconds * 1000);
    const qint64 after = ProcessTree::cpuMs(run.pid());
    const qint64 own = ProcessTree::processCpuMs(run.pid()) - ownBefore;
    if (!run.isRunning()) {
        std::printf("  %s ended during the period\n", qPrintable(program.name));
        return -1;
    }
    const QString steady = settled < 0 ? QStringLiteral("not steady after 30 s")
                                       : QStringLiteral("steady after %1 s").arg(settled / 1000.0, 0, 'f', 1);
    std::printf("%2d tab%s  %-9s %6lld ms CPU in %d s  (program %lld ms, %lld helper processes %lld ms; %s)\n",
                tabs, tabs > 1 ? "s" : " ", qPrintable(program.name), after - before, seconds, own,
                qlonglong(processes - 1), after - before - own, qPrintable(steady));
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

    BenchDisplay display;
    PingServer server(10);
    const double scale = seconds / 30.0; // the goals are per 30 s

    for (int tabs : {1, 10}) {
        QList<double> cpu;
        for (const BenchProgram &program : programs)
            cpu.append(idleCpu(program, tabs, seconds, display, server));
        for (int p = 1; p < programs.size(); ++p) {
            if (cpu[p] < 0 || cpu[0] < 0)
                continue;
            std::printf("   %s - bare view: %+.0f ms per %d s", qPrintable(programs[p].name),
                        cpu[p] - cpu[0], seconds);
            if (tabs == 1)
                std::printf("  (goal: within %.0f ms of the bare view)\n", 50 * scale);
            else
                std::printf("  (%s: %.0f ms, goal <= %.0f ms per %d s)\n", qPrintable(programs[p].name),
                            cpu[p], 200 * scale, seconds);
        }
    }
    return 0;
}
