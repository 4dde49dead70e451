#include "core/terminationsignals.h"

#include <QSignalSpy>
#include <QtTest>

#include <csignal>

#include <unistd.h>

namespace {

using Handler = void (*)(int);

Handler dispositionOf(int signalNumber)
{
    struct sigaction action{};
    ::sigaction(signalNumber, nullptr, &action);
    return action.sa_handler;
}

} // namespace

class TestTerminationSignals : public QObject
{
    Q_OBJECT

private slots:
    // A real signal sent to this process reaches the event loop as terminationRequested; from
    // then on every one of these signals ends the program at once again.
    void signalReachesTheEventLoop_data()
    {
        QTest::addColumn<int>("signalNumber");
        QTest::addColumn<bool>("throughKill");
        QTest::newRow("SIGTERM by kill") << int(SIGTERM) << true;
        QTest::newRow("SIGHUP") << int(SIGHUP) << false;
        QTest::newRow("SIGINT") << int(SIGINT) << false;
    }
    void signalReachesTheEventLoop()
    {
        QFETCH(int, signalNumber);
        QFETCH(bool, throughKill);
        TerminationSignals watcher;
        QVERIFY(watcher.isWatching());
        for (const int other : {SIGTERM, SIGHUP, SIGINT})
            QVERIFY(dispositionOf(other) != SIG_DFL);
        QSignalSpy spy(&watcher, &TerminationSignals::terminationRequested);
        QCOMPARE(watcher.received(), 0);

        if (throughKill)
            QCOMPARE(::kill(::getpid(), signalNumber), 0);
        else
            QCOMPARE(::raise(signalNumber), 0);
        // The handler only wrote: nothing is told before the event loop runs.
        QCOMPARE(spy.size(), 0);
        QVERIFY(spy.wait(5000));
        QCOMPARE(spy.size(), 1);
        QCOMPARE(spy.at(0).at(0).toInt(), signalNumber);
        QCOMPARE(watcher.received(), signalNumber);
        for (const int other : {SIGTERM, SIGHUP, SIGINT})
            QVERIFY(dispositionOf(other) == SIG_DFL);
    }

    // A watcher that goes leaves the signals as it found them, and the next one watches anew.
    void watcherCanFollowAnother()
    {
        {
            TerminationSignals first;
            QVERIFY(first.isWatching());
        }
        QVERIFY(dispositionOf(SIGTERM) == SIG_DFL);
        TerminationSignals second;
        QVERIFY(second.isWatching());
        QSignalSpy spy(&second, &TerminationSignals::terminationRequested);
        QCOMPARE(::raise(SIGTERM), 0);
        QVERIFY(spy.wait(5000));
        QCOMPARE(spy.at(0).at(0).toInt(), int(SIGTERM));
    }
};

QTEST_GUILESS_MAIN(TestTerminationSignals)
#include "tst_terminationsignals.moc"
