#pragma once

#include <QStringList>

#include <sys/types.h>

class QProcess;

// Nothing a benchmark starts or makes outlives it. Every program it starts (display server,
// window manager, browsers, tools) runs in a process group of its own and dies with the
// benchmark; on Ctrl+C or a termination signal the groups are killed at once and the temporary
// folders still registered are removed before the benchmark ends.
namespace BenchCleanup {

// Call once at the start of main(), after the application object; it also makes standard
// output line-buffered, so that a run cut short keeps its report.
void installSignalHandlers();

void startChild(QProcess &process, const QString &program, const QStringList &arguments);
// A child started otherwise, in a process group of its own.
void registerChild(pid_t pid);
// The child was ended and waited for.
void forgetChild(pid_t pid);
// Sends SIGKILL to the child's whole process group.
void killChildGroup(pid_t pid);

void addFolder(const QString &path);
void forgetFolder(const QString &path);

} // namespace BenchCleanup
