// Start-up with a long-time user's big files: every user file at about 35 MB and the databases
// at about 100 MB. Reports the time from starting the program to its main window on the screen
// (the first window of the program's as large as the screen's quarter, seen through the window
// manager) and to the first page's load event (its ping, as bench_startup takes it), and the
// main process's memory then. The variants put one kind of file at its big size alone ("none":
// none of them, "all": every one), so that each file's cost shows on its own.
//
// Usage: bench_bigfiles [rounds=3] [other-quarvel] [variants=all,none,settings,...] [fileMb=35]
//        [dbMb=100]
// The other Quarvel (an earlier build) runs in the same rounds, in the same homes.
#include "benchcleanup.h"
#include "benchdisplay.h"
#include "benchhome.h"
#include "benchutil.h"
#include "bigfiles.h"
#include "browserrun.h"
#include "pingserver.h"
#include "processtree.h"

#include <QCoreApplication>
#include <QProcess>

#include <cstdio>
#include <map>

namespace {

struct Run
{
    double windowMs = -1; // start to the main window on the screen
    double pageMs = -1;   // start to the first page's ping
    double pssMb = -1;    // the main process when the window showed
};

QString tool(const BenchDisplay &display, const QStringList &arguments)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    display.apply(env);
    process.setProcessEnvironment(env);
    process.setStandardErrorFile(QProcess::nullDevice());
    BenchCleanup::startChild(process, QStringLiteral("xdotool"), arguments);
    if (!process.waitForFinished(5000))
        BenchCleanup::killChildGroup(pid_t(process.processId()));
    process.waitForFinished(1000);
    BenchCleanup::forgetChild(pid_t(process.processId()));
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

// Whether one of the program's visible windows covers a quarter of the screen: the main window,
// not the splash screen.
bool mainWindowShows(const BenchDisplay &display, pid_t pid)
{
    const QStringList windows = tool(display, {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                               QStringLiteral("--pid"), QString::number(pid)})
                                    .split(u'\n', Qt::SkipEmptyParts);
    const QSize screen = display.screenSize();
    for (const QString &window : windows) {
        const QString shell = tool(display, {QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), window});
        int width = 0, height = 0;
        for (const QString &line : shell.split(u'\n')) {
            if (line.startsWith(QLatin1String("WIDTH=")))
                width = line.mid(6).toInt();
            else if (line.startsWith(QLatin1String("HEIGHT=")))
                height = line.mid(7).toInt();
        }
        if (width * 2 >= screen.width() && height * 2 >= screen.height())
            return true;
    }
    return false;
}

Run startOnce(const BenchProgram &program, const BigFiles &files, const QStringList &kinds,
              const BenchDisplay &display, PingServer &server)
{
    BenchHome home(BenchHome::Kind::Fresh);
    files.putInto(home, kinds);
    BrowserRun run(program, home, display);
    Run result;
    server.forget();
    if (!run.start(server.numberedPages(1, 1)))
        return result;
    waitUntil([&] {
        if (!run.isRunning())
            return true;
        if (result.windowMs < 0 && display.isX() && mainWindowShows(display, run.pid())) {
            result.windowMs = msBetween(run.started(), BrowserRun::Clock::now());
            result.pssMb = ProcessTree::processMemory(run.pid()).pssKiB / 1024.0;
        }
        return result.windowMs >= 0 && server.allPinged(1, 1);
    }, 120000);
    if (server.allPinged(1, 1))
        result.pageMs = msBetween(run.started(), server.firstPing(1));
    if (result.windowMs < 0 || result.pageMs < 0) {
        std::printf("  %s did not come up (%s)\n%s\n", qPrintable(program.name),
                    run.isRunning() ? "time out" : "it ended", qPrintable(run.errorTail()));
    }
    return result;
}

QStringList kindsOf(const QString &variant)
{
    if (variant == QLatin1String("all"))
        return BigFiles::kinds();
    if (variant == QLatin1String("none"))
        return {};
    return {variant};
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    BenchCleanup::installSignalHandlers();
    const QStringList args = QCoreApplication::arguments();
    const int rounds = std::max(1, args.value(1, QStringLiteral("3")).toInt());
    QList<BenchProgram> programs;
    for (const BenchProgram &program : benchPrograms(args.value(2))) {
        if (program.quarvel)
            programs.append(program);
    }
    QStringList variants = args.value(3).split(u',', Qt::SkipEmptyParts);
    if (variants.isEmpty())
        variants = QStringList{QStringLiteral("none"), QStringLiteral("all")} + BigFiles::kinds();
    const int fileMb = args.value(4, QStringLiteral("35")).toInt();
    const int dbMb = args.value(5, QStringLiteral("100")).toInt();

    std::printf("making the files (%d MB each, databases %d MB)...\n", fileMb, dbMb);
    const BigFiles files(fileMb, dbMb);
    for (const QString &kind : BigFiles::kinds())
        std::printf("  %-10s %6.1f MB\n", qPrintable(kind), files.sizeMb(kind));
    BenchDisplay display;
    PingServer server;

    // results[variant][program] over the rounds
    std::map<QString, QList<QList<Run>>> results;
    for (int round = 0; round < rounds; ++round) {
        const QList<int> order = roundOrder(programs.size(), round);
        for (const QString &variant : variants) {
            QList<QList<Run>> &runs = results[variant];
            runs.resize(programs.size());
            std::printf("round %d %-10s (load %s):", round + 1, qPrintable(variant), qPrintable(loadAverageText()));
            for (int p : order) {
                const Run r = startOnce(programs[p], files, kindsOf(variant), display, server);
                runs[p].append(r);
                std::printf("  %s window %s, page %s, %.0f MB;", qPrintable(programs[p].name),
                            qPrintable(msText(r.windowMs)), qPrintable(msText(r.pageMs)), r.pssMb);
            }
            std::printf("\n");
            std::fflush(stdout);
        }
    }

    std::printf("\nmedians over %d rounds, %s (window / first page / main process PSS at the window):\n",
                rounds, qPrintable(display.description()));
    for (const QString &variant : variants) {
        std::printf("%-10s", qPrintable(variant));
        for (int p = 0; p < programs.size(); ++p) {
            QList<double> window, page, pss;
            for (const Run &r : results[variant][p]) {
                window.append(r.windowMs);
                page.append(r.pageMs);
                pss.append(r.pssMb);
            }
            std::printf("  %s %s / %s / %.0f MB", qPrintable(programs[p].name),
                        qPrintable(msText(median(window))), qPrintable(msText(median(page))), median(pss));
        }
        std::printf("\n");
    }
    std::printf("load average at the end: %s\n", qPrintable(loadAverageText()));
    std::printf("goal: the window within 3 s with every file big (\"all\")\n");
    return 0;
}
