#include "processtree.h"

#include <QDir>
#include <QFile>
#include <QHash>

#include <algorithm>

#include <unistd.h>

namespace ProcessTree {

namespace {

struct Stat
{
    pid_t ppid = 0;
    char state = '?';
    qint64 ticks = 0; // utime + stime
    quint64 started = 0;
};

// A process's "/proc/<pid>/stat", or a thread's "/proc/<pid>/task/<tid>/stat".
bool readStatFile(const QString &path, Stat *stat)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray line = file.readAll();
    // The command name is in parentheses and may hold spaces: the fields start after the last ')'.
    const qsizetype close = line.lastIndexOf(')');
    if (close < 0)
        return false;
    const QList<QByteArray> fields = line.mid(close + 2).split(' ');
    if (fields.size() < 20)
        return false;
    stat->state = fields[0].isEmpty() ? '?' : fields[0][0];
    stat->ppid = fields[1].toInt();
    stat->ticks = fields[11].toLongLong() + fields[12].toLongLong();
    stat->started = fields[19].toULongLong();
    return true;
}

bool readStat(pid_t pid, Stat *stat)
{
    return readStatFile(QStringLiteral("/proc/%1/stat").arg(pid), stat);
}

const qint64 &ticksPerSecond()
{
    static const qint64 ticks = ::sysconf(_SC_CLK_TCK);
    return ticks;
}

bool gone(const Stat &stat)
{
    return stat.state == 'Z' || stat.state == 'X';
}

QList<pid_t> allPids()
{
    QList<pid_t> pids;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        bool number = false;
        const pid_t pid = entry.toInt(&number);
        if (number)
            pids.append(pid);
    }
    return pids;
}

} // namespace

QList<pid_t> descendants(pid_t root)
{
    if (root <= 0) // 0 would stand for the kernel: every process of the machine
        return {};
    QMultiHash<pid_t, pid_t> children;
    for (pid_t pid : allPids()) {
        Stat stat;
        if (readStat(pid, &stat) && !gone(stat))
            children.insert(stat.ppid, pid);
    }
    QList<pid_t> found;
    QList<pid_t> pending = {root};
    while (!pending.isEmpty()) {
        const QList<pid_t> direct = children.values(pending.takeLast());
        found += direct;
        pending += direct;
    }
    return found;
}

QList<Member> members(pid_t root)
{
    QList<Member> result;
    for (pid_t pid : QList<pid_t>{root} + descendants(root)) {
        Stat stat;
        if (readStat(pid, &stat) && !gone(stat))
            result.append({pid, stat.started});
    }
    return result;
}

bool isAlive(const Member &member)
{
    Stat stat;
    return readStat(member.pid, &stat) && !gone(stat) && stat.started == member.started;
}

bool anyAlive(const QList<Member> &members)
{
    return std::any_of(members.begin(), members.end(), isAlive);
}

qint64 processCpuMs(pid_t pid)
{
    Stat stat;
    return readStat(pid, &stat) ? stat.ticks * 1000 / ticksPerSecond() : 0;
}

double threadCpuMs(pid_t pid, pid_t tid)
{
    const QString task = QStringLiteral("/proc/%1/task/%2/").arg(pid).arg(tid);
    QFile schedstat(task + QLatin1String("schedstat"));
    if (schedstat.open(QIODevice::ReadOnly)) {
        bool ok = false;
        const qint64 ns = schedstat.readAll().split(' ').value(0).toLongLong(&ok);
        if (ok)
            return ns / 1e6;
    }
    Stat stat;
    return readStatFile(task + QLatin1String("stat"), &stat) ? stat.ticks * 1000.0 / ticksPerSecond() : -1;
}

double namedThreadsCpuMs(pid_t pid, const QByteArray &name)
{
    double total = 0;
    const QString tasks = QStringLiteral("/proc/%1/task").arg(pid);
    for (const QString &tid : QDir(tasks).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile comm(tasks + u'/' + tid + QLatin1String("/comm"));
        if (comm.open(QIODevice::ReadOnly) && comm.readAll().trimmed() == name)
            total += std::max(0.0, threadCpuMs(pid, tid.toInt()));
    }
    return total;
}

qint64 cpuMs(pid_t root)
{
    qint64 total = 0;
    for (pid_t pid : QList<pid_t>{root} + descendants(root))
        total += processCpuMs(pid);
    return total;
}

MemoryUse processMemory(pid_t pid)
{
    MemoryUse use;
    QFile rollup(QStringLiteral("/proc/%1/smaps_rollup").arg(pid));
    if (!rollup.open(QIODevice::ReadOnly))
        return use;
    for (const QByteArray &line : rollup.readAll().split('\n')) {
        const qsizetype colon = line.indexOf(':');
        const QByteArray name = line.left(colon);
        const qint64 kib = line.mid(colon + 1).trimmed().split(' ').value(0).toLongLong();
        if (name == "Pss")
            use.pssKiB = kib;
        else if (name == "Pss_File")
            use.pssFileKiB = kib;
        else if (name == "Anonymous")
            use.anonymousKiB = kib;
    }
    return use;
}

MemoryUse treeMemory(pid_t root)
{
    MemoryUse total;
    for (pid_t pid : QList<pid_t>{root} + descendants(root)) {
        const MemoryUse use = processMemory(pid);
        total.pssKiB += use.pssKiB;
        total.pssFileKiB += use.pssFileKiB;
        total.anonymousKiB += use.anonymousKiB;
    }
    return total;
}

qint64 pssKiB(pid_t root)
{
    return treeMemory(root).pssKiB;
}

int engineProcessesOutside(pid_t root)
{
    const QList<pid_t> tree = QList<pid_t>{root} + descendants(root);
    int count = 0;
    for (pid_t pid : allPids()) {
        if (!tree.contains(pid) &&
            QFile::symLinkTarget(QStringLiteral("/proc/%1/exe").arg(pid)).endsWith(QLatin1String("/QtWebEngineProcess")))
            ++count;
    }
    return count;
}

} // namespace ProcessTree
