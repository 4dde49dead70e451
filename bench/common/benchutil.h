#pragma once

#include <QList>
#include <QString>

#include <chrono>
#include <functional>

// A program under test.
struct BenchProgram
{
    QString name;
    QString path;
    bool quarvel = false;
};

// The bare view, this build's Quarvel and, when a path is given, another Quarvel build.
QList<BenchProgram> benchPrograms(const QString &otherQuarvel);
// The programs in the order of the given round: each round another one goes first.
QList<int> roundOrder(int programCount, int round);

// Runs the event loop until done() holds or the time is up; returns done().
bool waitUntil(const std::function<bool()> &done, int timeoutMs);
// Runs the event loop for the time given.
void pauseFor(int ms);

double msBetween(std::chrono::steady_clock::time_point from, std::chrono::steady_clock::time_point to);
// Median of the values that are not negative (a negative value is a failed run); -1 if none.
double median(QList<double> values);
// Median of the ratios value / yardstick of the same round, over the rounds where both exist.
double medianPairedRatio(const QList<double> &values, const QList<double> &yardsticks);
// "1.23" or "n/a" when either side is missing.
QString ratioText(double value, double yardstick);
// "123 ms" or "failed".
QString msText(double ms);
// The machine's load averages over 1, 5 and 15 minutes ("1.20 0.80 0.55"): other programs of the
// machine that may have slowed the run.
QString loadAverageText();
