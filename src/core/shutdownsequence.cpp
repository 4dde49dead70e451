#include "core/shutdownsequence.h"

#include <QDebug>

#include <exception>

void ShutdownSequence::add(const QString &name, Step step)
{
    m_steps.append(Entry{name, std::move(step)});
}

void ShutdownSequence::addAction(const QString &name, const std::function<void()> &action)
{
    add(name, [action] {
        action();
        return true;
    });
}

QStringList ShutdownSequence::run(const Report &report)
{
    QStringList failed;
    for (const Entry &entry : std::as_const(m_steps)) {
        bool succeeded = false;
        try {
            succeeded = entry.step();
        } catch (const std::exception &error) {
            qWarning("Shut-down step %s: %s", qPrintable(entry.name), error.what());
        } catch (...) {
            qWarning("Shut-down step %s failed", qPrintable(entry.name));
        }
        if (!succeeded)
            failed.append(entry.name);
        if (report)
            report(entry.name, succeeded);
    }
    return failed;
}
