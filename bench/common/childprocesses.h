#pragma once

#include <QStringList>

#include <sys/types.h>

class QProcess;

// Every program a benchmark starts (display server, window manager, browsers) runs in a process
// group of its own and dies with the benchmark: on Ctrl+C or a termination signal the groups are
// killed before the benchmark ends, and a crashed benchmark takes its children with it.
namespace ChildProcesses {

// Call once at the start of main(); it also makes standard output line-buffered.
void installSignalCleanup();
void start(QProcess &process, const QString &program, const QStringList &arguments);
// The process group of a child that was ended and waited for.
void forget(pid_t pid);
// Sends SIGKILL to the child's whole process group.
void killGroup(pid_t pid);

} // namespace ChildProcesses
