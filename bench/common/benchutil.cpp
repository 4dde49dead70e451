#include "benchutil.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

#include <algorithm>
#include <cstdio>

QList<BenchProgram> benchPrograms(const QString &otherQuarvel)
{
    QList<BenchProgram> programs = {
        {QStringLiteral("bare view"), QStringLiteral(BARE_VIEW_BINARY), false},
        {QStringLiteral("Quarvel"), QStringLiteral(QUARVEL_BINARY), true},
    };
    if (!otherQuarvel.isEmpty() && !QFileInfo(otherQuarvel).isExecutable())
        std::printf("other: %s is not an executable file; its runs will fail\n", qPrintable(otherQuarvel));
    if (!otherQuarvel.isEmpty())
        programs.append({QStringLiteral("other"), otherQuarvel, true});
    return programs;
}

QList<int> roundOrder(int programCount, int round)
{
    QList<int> order;
    for (int i = 0; i < programCount; ++i)
        order.append((round + i) % programCount);
    return order;
}

bool waitUntil(const std::function<bool()> &done, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() >= timeoutMs)
            return false;
        pauseFor(10);
    }
    return true;
}

void pauseFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

double msBetween(std::chrono::steady_clock::time_point from, std::chrono::steady_clock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

double median(QList<double> values)
{
    values.removeIf([](double v) { return v < 0; });
    if (values.isEmpty())
        return -1;
    std::sort(values.begin(), values.end());
    const qsizetype n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double medianPairedRatio(const QList<double> &values, const QList<double> &yardsticks)
{
    QList<double> ratios;
    for (qsizetype i = 0; i < std::min(values.size(), yardsticks.size()); ++i)
        ratios.append(values[i] < 0 || yardsticks[i] <= 0 ? -1 : values[i] / yardsticks[i]);
    return median(ratios);
}

QString ratioText(double value, double yardstick)
{
    if (value < 0 || yardstick <= 0)
        return QStringLiteral("n/a");
    return QString::number(value / yardstick, 'f', 2);
}

QString msText(double ms)
{
    return ms < 0 ? QStringLiteral("failed") : QStringLiteral("%1 ms").arg(ms, 0, 'f', 0);
}

QString loadAverageText()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("unknown");
    return QString::fromLatin1(file.readAll().split(' ').mid(0, 3).join(' '));
}
