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
// With --one-by-one, the pages come one after another instead, each shown once it comes, as a
// user opening links one by one opens them (Quarvel through the hand-over of later starts, the
// bare view opening its tabs itself): the tree is read with 1, 10 and 50 tabs (Quarvel's along
// one run, the bare view's from a start each), and what each tab after the first adds.
//
// Usage: bench_memory [other-quarvel]
//        bench_memory --one-by-one [rounds=3] [other-quarvel]
#include "benchcleanup.h"
#include "benchdisplay.h"
#include "benchhome.h"
#include "benchutil.h"
#include "browserrun.h"
#include "pingserver.h"

#include <QCoreApplication>

#include <cstdio>
#include <iterator>

namespace {

constexpr int kReadings = 3;

struct Reading
{
    double pss = -1; // MiB, -1 when the run failed
    double own = 0;  // of it, the program's own process
    double files = 0;
    int helpers = 0;
    int others = 0; // engine processes of other programs on the machine
    double ownAnonymous = 0; // the program's own process: memory of no file
};

// The tree of a running program, once its CPU use settled.
Reading readTree(BrowserRun &run)
{
    run.waitForSteadyCpu(15000);
    Reading reading;
    const ProcessTree::MemoryUse tree = ProcessTree::treeMemory(run.pid());
    const ProcessTree::MemoryUse own = ProcessTree::processMemory(run.pid());
    reading.pss = tree.pssKiB / 1024.0;
    reading.files = tree.pssFileKiB / 1024.0;
    reading.own = own.pssKiB / 1024.0;
    reading.ownAnonymous = own.anonymousKiB / 1024.0;
    reading.helpers = int(ProcessTree::descendants(run.pid()).size());
    reading.others = ProcessTree::engineProcessesOutside(run.pid());
    return reading;
}

Reading readMemory(const BenchProgram &program, int tabs, const BenchDisplay &display, PingServer &server)
{
    BenchHome home(BenchHome::Kind::Fresh);
    BrowserRun run(program, home, display);
    if (!run.startAndLoad(server, tabs))
        return {};
    return readTree(run);
}

// ---- Tabs opened one by one.

constexpr int kSteps[] = {1, 10, 50};
constexpr int kStepCount = int(std::size(kSteps));

// The readings with 1, 10 and 50 tabs of one run of the program (the bare view: of one start
// for each); a failed step fails the later ones.
QList<Reading> readOneByOne(const BenchProgram &program, const BenchDisplay &display, PingServer &server)
{
    QList<Reading> readings;
    if (!program.quarvel) {
        for (int tabs : kSteps) {
            BenchHome home(BenchHome::Kind::Fresh);
            BrowserRun run(program, home, display);
            readings.append(run.startOneByOne(server, tabs) ? readTree(run) : Reading{});
        }
        return readings;
    }
    BenchHome home(BenchHome::Kind::Fresh);
    BrowserRun run(program, home, display);
    bool ok = run.startOneByOne(server, kSteps[0]);
    for (int step = 0; step < kStepCount; ++step) {
        if (ok && step > 0)
            ok = run.handOverPages(server, kSteps[step - 1] + 1, kSteps[step]);
        readings.append(ok ? readTree(run) : Reading{});
    }
    return readings;
}

void printReading(const Reading &r)
{
    if (r.pss < 0) {
        std::printf("failed");
        return;
    }
    std::printf("%.0f (program %.0f, its own anonymous %.0f; %d helpers %.0f; files %.0f)", r.pss, r.own,
                r.ownAnonymous, r.helpers, r.pss - r.own, r.files);
    if (r.others)
        std::printf(" [%d engine processes of other programs ran]", r.others);
}

// MiB each tab after the first added, from the readings with 1 and with n tabs.
double perTab(const Reading &one, const Reading &many, int n, double Reading::*part = &Reading::pss)
{
    return one.pss < 0 || many.pss < 0 ? -1 : (many.*part - one.*part) / (n - 1);
}

int runOneByOne(const QList<BenchProgram> &programs, int rounds)
{
    BenchDisplay display;
    PingServer server;
    // readings[program][round][step]
    QList<QList<QList<Reading>>> readings(programs.size());
    for (int round = 0; round < rounds; ++round) {
        std::printf("round %d, load %s\n", round + 1, qPrintable(loadAverageText()));
        for (int p : roundOrder(programs.size(), round)) {
            readings[p].append(readOneByOne(programs[p], display, server));
            for (int step = 0; step < kStepCount; ++step) {
                std::printf("  %-9s %2d tab%s  PSS ", qPrintable(programs[p].name), kSteps[step],
                            kSteps[step] > 1 ? "s" : " ");
                printReading(readings[p].last()[step]);
                std::printf("\n");
            }
        }
    }

    std::printf("\nmedians over %d round%s, %s, load %s (MiB):\n", rounds, rounds > 1 ? "s" : "",
                qPrintable(display.description()), qPrintable(loadAverageText()));
    std::printf("%-9s %8s %8s %8s %13s %13s %19s %17s\n", "", "1 tab", "10 tabs", "50 tabs", "per tab 1-10",
                "per tab 1-50", "not in files 1-50", "program anon/tab");
    for (int p = 0; p < programs.size(); ++p) {
        QList<double> pss[kStepCount], tenPerTab, fiftyPerTab, notFilesPerTab, anonymousPerTab;
        for (const QList<Reading> &r : std::as_const(readings[p])) {
            for (int step = 0; step < kStepCount; ++step)
                pss[step].append(r[step].pss);
            tenPerTab.append(perTab(r[0], r[1], kSteps[1]));
            const double fifty = perTab(r[0], r[2], kSteps[2]);
            fiftyPerTab.append(fifty);
            notFilesPerTab.append(fifty < 0 ? -1 : fifty - perTab(r[0], r[2], kSteps[2], &Reading::files));
            anonymousPerTab.append(perTab(r[0], r[2], kSteps[2], &Reading::ownAnonymous));
        }
        std::printf("%-9s %8.1f %8.1f %8.1f %13.1f %13.1f %19.1f %17.1f\n", qPrintable(programs[p].name),
                    median(pss[0]), median(pss[1]), median(pss[2]), median(tenPerTab), median(fiftyPerTab),
                    median(notFilesPerTab), median(anonymousPerTab));
    }
    std::printf("goals: each tab after the first at most 15 MiB; 50 tabs at most 1,000 MiB\n");
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    BenchCleanup::installSignalHandlers();
    const QStringList args = QCoreApplication::arguments();
    if (args.value(1) == QLatin1String("--one-by-one"))
        return runOneByOne(benchPrograms(args.value(3)), std::max(1, args.value(2, QStringLiteral("3")).toInt()));
    const QList<BenchProgram> programs = benchPrograms(args.value(1));

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
