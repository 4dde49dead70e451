// Start-up as a user sees it: from starting the program to the first page's load event (the page
// pings the local server from onload), for Quarvel and the bare view in the same rounds, on an X
// display. Each round runs every program once with a warm home (the home of an earlier run of
// the same program, engine caches included) and once with a fresh one; which program goes first
// changes every round. Each round gives a paired ratio Quarvel / bare view; the medians of these
// ratios are the result.
//
// Usage: bench_startup [rounds=5] [other-quarvel]
// The other Quarvel (an earlier build) is measured in the same rounds, with its own ratio.
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

constexpr BenchHome::Kind kKinds[] = {BenchHome::Kind::Warm, BenchHome::Kind::Fresh};

// Milliseconds from start to the page's ping, or -1 when it never came.
double startUp(const BenchProgram &program, BenchHome &home, const BenchDisplay &display,
               PingServer &server)
{
    BrowserRun run(program, home, display);
    return run.startAndLoad(server, 1) ? msBetween(run.started(), server.firstPing(1)) : -1;
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
    PingServer server(1);

    // The warm homes, made by a first run of each program (which also brings its files into the
    // page cache).
    std::map<int, std::unique_ptr<BenchHome>> warmHomes;
    for (int p = 0; p < programs.size(); ++p) {
        warmHomes[p] = std::make_unique<BenchHome>(BenchHome::Kind::Warm);
        const double ms = startUp(programs[p], *warmHomes[p], display, server);
        std::printf("first run of %s (makes its warm home): %s\n", qPrintable(programs[p].name),
                    qPrintable(msText(ms)));
    }

    // times[kind][program] per round
    std::map<BenchHome::Kind, QList<QList<double>>> times;
    for (BenchHome::Kind kind : kKinds)
        times[kind] = QList<QList<double>>(programs.size());
    for (int round = 0; round < rounds; ++round) {
        const QList<int> order = roundOrder(programs.size(), round);
        for (BenchHome::Kind kind : kKinds) {
            for (int p : order) {
                std::unique_ptr<BenchHome> fresh;
                if (kind == BenchHome::Kind::Fresh)
                    fresh = std::make_unique<BenchHome>(kind);
                BenchHome &home = fresh ? *fresh : *warmHomes[p];
                times[kind][p].append(startUp(programs[p], home, display, server));
            }
            const QList<QList<double>> &t = times[kind];
            std::printf("round %d %-5s (%s first): bare view %s", round + 1,
                        qPrintable(homeKindName(kind)), qPrintable(programs[order[0]].name),
                        qPrintable(msText(t[0].last())));
            for (int p = 1; p < programs.size(); ++p)
                std::printf(", %s %s (ratio %s)", qPrintable(programs[p].name),
                            qPrintable(msText(t[p].last())),
                            qPrintable(ratioText(t[p].last(), t[0].last())));
            std::printf("\n");
            std::fflush(stdout);
        }
    }

    std::printf("\nstart to first page load, %d rounds, %s:\n", rounds, qPrintable(display.description()));
    for (BenchHome::Kind kind : kKinds) {
        const QList<QList<double>> &t = times[kind];
        std::printf("%-5s home: median bare view %s", qPrintable(homeKindName(kind)),
                    qPrintable(msText(median(t[0]))));
        for (int p = 1; p < programs.size(); ++p)
            std::printf(", %s %s, median paired ratio %s", qPrintable(programs[p].name),
                        qPrintable(msText(median(t[p]))),
                        qPrintable(ratioText(medianPairedRatio(t[p], t[0]), 1)));
        std::printf("\n");
    }
    std::printf("%s\n", display.isX() ? "goal <= 1.30 on an X display, aim 1.15"
                                       : "goal <= 1.15 offscreen");
    return 0;
}
