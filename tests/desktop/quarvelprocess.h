#pragma once

#include "programprocess.h"

#include <QString>
#include <QStringList>

class DesktopHome;

// One start of the real Quarvel binary in a home, on the X display of $DISPLAY, in a process
// group of its own (the engine's processes with it), until stop().
class QuarvelProcess
{
public:
    QuarvelProcess(const QString &binary, const DesktopHome &home);
    ~QuarvelProcess();
    QuarvelProcess(const QuarvelProcess &) = delete;
    QuarvelProcess &operator=(const QuarvelProcess &) = delete;

    bool start(const QStringList &arguments);
    bool isRunning() const { return m_process.isRunning(); }
    qint64 pid() const { return m_pid; }
    // Once it has ended: whether it crashed, and its exit code.
    bool crashed() const { return m_process.crashed(); }
    int exitCode() const { return m_process.exitCode(); }

    // The frame's window: the visible window of the process whose name begins with the
    // frame's caption ("Quarvel v2.7"); empty while there is none.
    QString frameWindow() const;
    // The frame's window name, as a window list and the title bar show it.
    QString title() const;
    // The other visible windows of the process (dialogs, menus, the preview).
    QStringList otherWindows() const;
    // "id 'name'" of every visible window, for a failure message.
    QString windowsText() const;

    // A close through the window manager (the frame activated, Alt+F4), as a person closes it;
    // true when the program ended by itself within the time.
    bool closeFrame(int timeoutMs);
    // Ends the program: a close when only the frame is open, then SIGTERM, then SIGKILL to the
    // whole group. Returns once the program is gone.
    void stop();

    // The last lines the program wrote to its standard error.
    QString errorTail(int lines = 10) const { return m_process.errorTail(lines); }

private:
    QString m_binary;
    ProgramProcess m_process;
    qint64 m_pid = 0;
};
