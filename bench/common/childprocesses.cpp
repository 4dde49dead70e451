#include "childprocesses.h"

#include <QProcess>

#include <array>
#include <atomic>
#include <csignal>
#include <cstdio>

#include <sys/prctl.h>
#include <unistd.h>

namespace ChildProcesses {

namespace {

std::array<std::atomic<pid_t>, 64> groups{};

void killAllAndExit(int signal)
{
    for (std::atomic<pid_t> &group : groups) {
        const pid_t pid = group.load();
        if (pid > 0)
            ::kill(-pid, SIGKILL);
    }
    ::_exit(128 + signal);
}

} // namespace

void installSignalCleanup()
{
    // Lines reach a pipe or file as they are printed, also when a signal cuts the run short.
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    struct sigaction action = {};
    action.sa_handler = killAllAndExit;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT})
        ::sigaction(signal, &action, nullptr);
}

void start(QProcess &process, const QString &program, const QStringList &arguments)
{
    process.setChildProcessModifier([] {
        ::setpgid(0, 0);
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    });
    process.start(program, arguments);
    if (!process.waitForStarted(10000))
        return;
    const pid_t pid = pid_t(process.processId());
    for (std::atomic<pid_t> &group : groups) {
        pid_t empty = 0;
        if (group.compare_exchange_strong(empty, pid))
            break;
    }
}

void forget(pid_t pid)
{
    for (std::atomic<pid_t> &group : groups) {
        pid_t expected = pid;
        group.compare_exchange_strong(expected, 0);
    }
}

void killGroup(pid_t pid)
{
    if (pid > 0)
        ::kill(-pid, SIGKILL);
}

} // namespace ChildProcesses
