#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// The steps of a shut-down, run in the order they were added. A step that fails (returns false
// or throws) is reported and the next step runs all the same: one store that cannot be written
// never costs the user what the later steps keep.
class ShutdownSequence
{
public:
    using Step = std::function<bool()>;
    // Told of every step once it has run, with its outcome.
    using Report = std::function<void(const QString &step, bool succeeded)>;

    void add(const QString &name, Step step);
    // A step that cannot fail.
    void addAction(const QString &name, const std::function<void()> &action);

    // Runs every step; returns the names of those that failed.
    QStringList run(const Report &report = {});

private:
    struct Entry
    {
        QString name;
        Step step;
    };
    QList<Entry> m_steps;
};
