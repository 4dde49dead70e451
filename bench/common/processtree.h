#pragma once

#include <QByteArray>
#include <QList>

#include <sys/types.h>

// A running program as the kernel sees it: the process and everything it started (the engine's
// helper processes), read from /proc.
namespace ProcessTree {

// One process, told apart from a later one that reuses its number by its start time.
struct Member
{
    pid_t pid = 0;
    quint64 started = 0;
};

// The root and all its descendants that are alive (zombies left out).
QList<Member> members(pid_t root);
QList<pid_t> descendants(pid_t root);
bool isAlive(const Member &member);
bool anyAlive(const QList<Member> &members);

// User plus system CPU time of one process, and of the root and its descendants, in ms.
qint64 processCpuMs(pid_t pid);
qint64 cpuMs(pid_t root);
// CPU time of one thread of a process (the main thread has the process's number), in ms: from
// the scheduler's nanosecond count where the kernel keeps one, else from the clock ticks.
double threadCpuMs(pid_t pid, pid_t tid);
// CPU time of the threads of a process whose name (as the kernel keeps it, at most 15
// characters) is the one given, summed, in ms: e.g. "VizCompositorTh", the web engine's
// compositor in the program's own process.
double namedThreadsCpuMs(pid_t pid, const QByteArray &name);
// Memory in KiB: the proportional set size (each page divided among every process on the
// machine that maps it) and the part of it in files (libraries and other mapped files, the part
// that other programs of the machine share and so change).
struct MemoryUse
{
    qint64 pssKiB = 0;
    qint64 pssFileKiB = 0;
    // Memory of no file (heap, graphics buffers), resident, not divided among sharers.
    qint64 anonymousKiB = 0;
};
MemoryUse processMemory(pid_t pid);
// Of the root and its descendants, summed.
MemoryUse treeMemory(pid_t root);
qint64 pssKiB(pid_t root);

// Web engine helper processes running on the machine outside the root's tree: they share the
// engine's libraries with the tree and so lower its PSS.
int engineProcessesOutside(pid_t root);

} // namespace ProcessTree
