#pragma once

#include <QObject>

class QSocketNotifier;

// The signals that ask the program to end (SIGTERM, SIGHUP, SIGINT: a log-out, a shut-down,
// kill, Ctrl+C), delivered by the event loop as terminationRequested. The handler only writes
// the signal's number into a pipe; the event loop reads it there. Once one has been taken,
// those signals have their default action again: a second one ends the program at once,
// while the first is still being served. One watcher at a time.
class TerminationSignals : public QObject
{
    Q_OBJECT
public:
    explicit TerminationSignals(QObject *parent = nullptr);
    // Gives the signals their default action back.
    ~TerminationSignals() override;

    // False when the pipe or a handler could not be set up (the signals then end the program
    // at once, as they would without a watcher).
    bool isWatching() const { return m_notifier != nullptr; }
    // The signal that asked the program to end; 0 until one did.
    int received() const { return m_received; }

    // Ends the process with status after the given time, wherever it is by then: what runs
    // after a termination request may not hold the program up longer than that.
    static void endAfter(int milliseconds, int status);

signals:
    void terminationRequested(int signalNumber);

private:
    void onActivated();

    QSocketNotifier *m_notifier = nullptr;
    int m_received = 0;
};
