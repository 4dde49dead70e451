#include "benchcleanup.h"

#include "programprocess.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QSocketNotifier>

#include <array>
#include <atomic>
#include <csignal>
#include <cstdio>

#include <sys/socket.h>
#include <unistd.h>

namespace BenchCleanup {

namespace {

std::array<std::atomic<pid_t>, 64> groups{};
int signalPipe[2] = {-1, -1};

QStringList &folders()
{
    static QStringList list;
    return list;
}

void killAll()
{
    for (std::atomic<pid_t> &group : groups) {
        const pid_t pid = group.load();
        if (pid > 0)
            ::kill(-pid, SIGKILL);
    }
}

// Only what is safe in a signal handler: the children die here, the folders go in the event
// loop (or right away when the pipe is not there).
void onSignal(int signal)
{
    killAll();
    const char number = char(signal);
    if (signalPipe[1] < 0 || ::write(signalPipe[1], &number, 1) != 1)
        ::_exit(128 + signal);
}

} // namespace

void installSignalHandlers()
{
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) == 0) {
        auto *notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, QCoreApplication::instance());
        QObject::connect(notifier, &QSocketNotifier::activated, notifier, [] {
            char number = 0;
            if (::read(signalPipe[0], &number, 1) != 1)
                number = SIGTERM;
            killAll();
            for (const QString &folder : std::as_const(folders()))
                QDir(folder).removeRecursively();
            std::printf("\nstopped by signal %d; every program and folder of the run removed\n", int(number));
            ::_exit(128 + number);
        });
    }
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT})
        ::sigaction(signal, &action, nullptr);
}

void startChild(QProcess &process, const QString &program, const QStringList &arguments)
{
    ProgramProcess::startInOwnGroup(process);
    process.start(program, arguments);
    if (process.waitForStarted(10000))
        registerChild(pid_t(process.processId()));
}

void registerChild(pid_t pid)
{
    for (std::atomic<pid_t> &group : groups) {
        pid_t empty = 0;
        if (group.compare_exchange_strong(empty, pid))
            break;
    }
}

void forgetChild(pid_t pid)
{
    for (std::atomic<pid_t> &group : groups) {
        pid_t expected = pid;
        group.compare_exchange_strong(expected, 0);
    }
}

void killChildGroup(pid_t pid)
{
    if (pid > 0)
        ::kill(-pid, SIGKILL);
}

void addFolder(const QString &path)
{
    folders().append(path);
}

void forgetFolder(const QString &path)
{
    folders().removeAll(path);
}

} // namespace BenchCleanup
