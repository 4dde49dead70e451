// Start-up as a user sees it: from starting the program to the first page's load event (the page
// pings the local server from onload), for Quarvel and the bare view in the same rounds, on an X
// display. Each round runs every program once with a warm home (the home of an earlier run of
// the same program, engine caches included) and once with a fresh one; which program goes first
// changes every round. Each round gives a paired ratio Quarvel / bare view; the medians of these
// ratios are the result. Beside the wall time, the CPU time the program's main (GUI) thread has
// spent when the page's ping arrives: what the frame costs on top of the engine.
//
// Usage: bench_startup [rounds=5] [other-quarvel]
// The other Quarvel (an earlier build) is measured in the same rounds, with its own ratio.
#include "benchcleanup.h"
#include "benchdisplay.h"
#include "benchhome.h"
#include "benchutil.h"
#include "browserrun.h"
#include "pingserver.h"
#include "processtree.h"

#include <QCoreApplication>

#include <cstdio>
#include <map>

namespace {

constexpr BenchHome::Kind kKinds[] = {BenchHome::Kind::Warm, BenchHome::Kind::Fresh};

struct StartUp
{
    double ms = -1;     // from start to the page's ping, -1 when it never came
    double guiCpu = -1; // CPU ms of the main thread when the ping came
};

StartUp startUp(const BenchProgram &program, BenchHome &home, const BenchDisplay &display,
                PingServer &server)
{
    BrowserRun run(program, home, display);
    StartUp result;
    // Read as the ping is answered, before the program goes on to anything after its load.
    const QMetaObject::Connection reader = QObject::connect(&server, &PingServer::pageLoaded, [&](int page) {
        if (page == 1 && result.guiCpu < 0 && run.pid() > 0)
            result.guiCpu = ProcessTree::threadCpuMs(run.pid(), run.pid());
    });
    if (run.startAndLoad(server, 1))
        result.ms = msBetween(run.started(), server.firstPing(1));
    QObject::disconnect(reader);
    if (result.ms < 0)
        result.guiCpu = -1;
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
    PingServer server;

    // The warm homes, made by a first run of each program (which also brings its files into the
    // page cache).
    std::map<int, std::unique_ptr<BenchHome>> warmHomes;
    for (int p = 0; p < programs.size(); ++p) {
        warmHomes[p] = std::make_unique<BenchHome>(BenchHome::Kind::Warm);
        const double ms = startUp(programs[p], *warmHomes[p], display, server).ms;
        std::printf("first run of %s (makes its warm home): %s\n", qPrintable(programs[p].name),
                    qPrintable(msText(ms)));
    }

    // times[kind][program] per round, and the main thread's CPU beside them
    std::map<BenchHome::Kind, QList<QList<double>>> times, guiCpu;
    for (BenchHome::Kind kind : kKinds) {
        times[kind] = QList<QList<double>>(programs.size());
        guiCpu[kind] = QList<QList<double>>(programs.size());
    }
    for (int round = 0; round < rounds; ++round) {
        const QList<int> order = roundOrder(programs.size(), round);
        for (BenchHome::Kind kind : kKinds) {
            for (int p : order) {
                std::unique_ptr<BenchHome> fresh;
                if (kind == BenchHome::Kind::Fresh)
                    fresh = std::make_unique<BenchHome>(kind);
                BenchHome &home = fresh ? *fresh : *warmHomes[p];
                const StartUp s = startUp(programs[p], home, display, server);
                times[kind][p].append(s.ms);
                guiCpu[kind][p].append(s.guiCpu);
            }
            const QList<QList<double>> &t = times[kind];
            const QList<QList<double>> &g = guiCpu[kind];
            std::printf("round %d %-5s (%s first, load %s): bare view %s (GUI thread %s)", round + 1,
                        qPrintable(homeKindName(kind)), qPrintable(programs[order[0]].name),
                        qPrintable(loadAverageText()), qPrintable(msText(t[0].last())),
                        qPrintable(msText(g[0].last())));
            for (int p = 1; p < programs.size(); ++p)
                std::printf(", %s %s (GUI thread %s; ratio %s)", qPrintable(programs[p].name),
                            qPrintable(msText(t[p].last())), qPrintable(msText(g[p].last())),
                            qPrintable(ratioText(t[p].last(), t[0].last())));
            std::printf("\n");
            std::fflush(stdout);
        }
    }

    std::printf("\nstart to first page load, %d rounds, %s:\n", rounds, qPrintable(display.description()));
    for (BenchHome::Kind kind : kKinds) {
        const QList<QList<double>> &t = times[kind];
        const QList<QList<double>> &g = guiCpu[kind];
        std::printf("%-5s home: median bare view %s (GUI thread %s)", qPrintable(homeKindName(kind)),
                    qPrintable(msText(median(t[0]))), qPrintable(msText(median(g[0]))));
        for (int p = 1; p < programs.size(); ++p)
            std::printf(", %s %s (GUI thread %s), median paired ratio %s (GUI thread %s)",
                        qPrintable(programs[p].name), qPrintable(msText(median(t[p]))),
                        qPrintable(msText(median(g[p]))),
                        qPrintable(ratioText(medianPairedRatio(t[p], t[0]), 1)),
                        qPrintable(ratioText(medianPairedRatio(g[p], g[0]), 1)));
        std::printf("\n");
    }
    std::printf("load average at the end: %s\n", qPrintable(loadAverageText()));
    std::printf("goal <= 1.15, fresh and warm\n");
    return 0;
}
