// Memory of a program with its pages loaded: the proportional set size (PSS) of the whole
// process tree (the engine's helper processes included), with 1 tab and 10 tabs of plain local
// pages, for the bare view, Quarvel and (when given) another Quarvel build, each from a fresh
// home, read once every page pinged and the tree's CPU use settled. Each is read three times
// (the programs taking turns) and the median counts.
//
// The files part of PSS (the engine's libraries above all) is divided among every process of
// the machine that maps them: another program on the engine running meanwhile lowers it. The
// rest (heap, graphics buffers) is the program's own.
//
// Usage: bench_memory [other-quarvel]
#include "benchcleanup.h"
#include "benchdisplay.h"
#include "benchhome.h"
#include "benchutil.h"
#include "browserrun.h"
#include "pingserver.h"

#include <QCoreApplication>

#include <cstdio>

namespace {

constexpr int kReadings = 3;

struct Reading
{
    double pss = -1; // MiB, -1 when the run failed
    double own = 0;  // of it, the program's own process
    double files = 0;
    int helpers = 0;
    int others = 0; // engine processes of other programs on the machine
};

Reading readMemory(const BenchProgram &program, int tabs, const BenchDisplay &display, PingServer &server)
{
    BenchHome home(BenchHome::Kind::Fresh);
    BrowserRun run(program, home, display);
    Reading reading;
    if (!run.startAndLoad(server, tabs))
        return reading;
    run.waitForSteadyCpu(15000);
    const ProcessTree::MemoryUse tree = ProcessTree::treeMemory(run.pid());
    reading.pss = tree.pssKiB / 1024.0;
    reading.files = tree.pssFileKiB / 1024.0;
    reading.own = ProcessTree::processMemory(run.pid()).pssKiB / 1024.0;
    reading.helpers = int(ProcessTree::descendants(run.pid()).size());
    reading.others = ProcessTree::engineProcessesOutside(run.pid());
    return reading;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    BenchCleanup::installSignalHandlers();
    const QList<BenchProgram> programs = benchPrograms(QCoreApplication::arguments().value(1));

    BenchDisplay display;
    PingServer server;
    for (int tabs : {1, 10}) {
        QList<QList<Reading>> readings(programs.size());
        for (int round = 0; round < kReadings; ++round) {
            for (int p : roundOrder(programs.size(), round))
                readings[p].append(readMemory(programs[p], tabs, display, server));
        }
        QList<double> medians, ownMedians;
        for (int p = 0; p < programs.size(); ++p) {
            QList<double> pss, notFiles;
            for (const Reading &r : readings[p]) {
                pss.append(r.pss);
                notFiles.append(r.pss < 0 ? -1 : r.pss - r.files);
            }
            medians.append(median(pss));
            ownMedians.append(median(notFiles));
            std::printf("%2d tab%s  %-9s PSS median %6.1f MiB, of it not in files %6.1f MiB\n", tabs,
                        tabs > 1 ? "s" : " ", qPrintable(programs[p].name), medians.last(), ownMedians.last());
            for (const Reading &r : readings[p]) {
                if (r.pss < 0) {
                    std::printf("           failed\n");
                    continue;
                }
                std::printf("           %.0f MiB: program %.0f, %d helpers %.0f; files %.0f", r.pss, r.own,
                            r.helpers, r.pss - r.own, r.files);
                if (r.others)
                    std::printf(" (%d engine processes of other programs ran)", r.others);
                std::printf("\n");
            }
        }
        for (int p = 1; p < programs.size(); ++p) {
            std::printf("   %s / bare view: PSS %s (%+.1f MiB), not in files %s", qPrintable(programs[p].name),
                        qPrintable(ratioText(medians[p], medians[0])),
                        medians[p] < 0 || medians[0] < 0 ? 0.0 : medians[p] - medians[0],
                        qPrintable(ratioText(ownMedians[p], ownMedians[0])));
            std::printf(tabs == 10 ? "  (goal: 10 tabs no worse than 469 MiB)\n" : "\n");
        }
        std::fflush(stdout);
    }
    return 0;
}
