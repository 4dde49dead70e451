#pragma once

#include "benchutil.h"
#include "processtree.h"

#include <QStringList>

#include <chrono>
#include <memory>

class BenchDisplay;
class BenchHome;
class PingServer;
class ProgramProcess;

// One start of a program under test in a home, on the display, until it is stopped. The bare
// view takes every address on its command line. Quarvel takes a single address on its command
// line and several as its saved pages (the session it restores).
class BrowserRun
{
public:
    using Clock = std::chrono::steady_clock;
    // Own: a start of its own (a new runtime folder, settings seeded). JoinRunning: a second
    // start into a home where the program already runs, as a user's second start.
    enum class Start { Own, JoinRunning };

    BrowserRun(const BenchProgram &program, BenchHome &home, const BenchDisplay &display);
    ~BrowserRun();
    BrowserRun(const BrowserRun &) = delete;
    BrowserRun &operator=(const BrowserRun &) = delete;

    bool start(const QStringList &addresses, Start how = Start::Own);
    // Starts the program on pages 1..count of the server (its counts forgotten first) and waits
    // until all of them pinged; says so on standard output when they did not.
    bool startAndLoad(PingServer &server, int count);
    // Opens pages 1..count one after another, each shown once it comes, as a user clicking
    // links in other programs opens them. Quarvel: the first on its command line, each other one
    // through a later start that hands its address to the running one, once the page before has
    // pinged. The bare view has no hand-over: it opens its tabs one after another itself, each
    // the current tab once the page before has loaded.
    bool startOneByOne(PingServer &server, int count);
    // Quarvel: pages first..last, each through the hand-over of a later start once the page
    // before has pinged; says so on standard output when one never pinged.
    bool handOverPages(PingServer &server, int first, int last);
    pid_t pid() const { return m_pid; }
    Clock::time_point started() const { return m_started; }
    bool isRunning() const;

    // Waits until pages first.. first + count - 1 pinged; false when the program ended first or
    // the time ran out.
    bool waitForPings(const PingServer &server, int first, int count, int timeoutMs = 60000);
    // Waits at least minMs, then until the tree's CPU use per second is steady over three
    // seconds; returns the milliseconds waited, or -1 when it was not steady within maxMs.
    int waitForSteadyCpu(int maxMs, int minMs = 0);

    // Keys (as xdotool names them, "ctrl+Tab") to the program's window, activated first through
    // the window manager; sentAt receives the moment just before the keys go out.
    bool sendKeys(const QString &keys, Clock::time_point *sentAt = nullptr);
    // A close request through the window manager: Alt+F4.
    bool requestClose(Clock::time_point *sentAt = nullptr);
    // Ends the program: a close request when a window manager is there, then SIGTERM, then
    // SIGKILL for the whole tree; returns once every process of the tree is gone.
    void stop();

    // The last lines the program wrote to its standard error, for a report of a failed run.
    QString errorTail(int lines = 8) const;

private:
    QString runTool(const QString &program, const QStringList &arguments) const;

    BenchProgram m_program;
    BenchHome &m_home;
    const BenchDisplay &m_display;
    std::unique_ptr<ProgramProcess> m_process;
    pid_t m_pid = 0;
    Clock::time_point m_started;
};
