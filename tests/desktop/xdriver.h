#pragma once

#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>

#include <functional>

// Real input and screen reading on the X display of $DISPLAY, through the tools a person's
// desktop has: xdotool for windows, keys and the mouse, ImageMagick's import for screenshots.
// Keys and the mouse act on whatever window has the focus, as a keyboard and a mouse do. Every
// call runs the event loop while it waits, so servers of the test keep answering.
namespace XDriver {

// The tools missing on this machine (none when the tier can run).
QStringList missingTools();

// Runs a tool to its end (at most timeoutMs); its standard output, or a null string when it
// failed or did not end in time.
QString run(const QString &program, const QStringList &arguments, int timeoutMs = 15000);

// The visible windows of a process (by _NET_WM_PID), as xdotool's window ids.
QStringList visibleWindows(qint64 pid);
QString windowName(const QString &window);
QRect windowGeometry(const QString &window);
// Asks the window manager to activate the window and waits until it has the focus.
bool activate(const QString &window);
// The window that has the focus (the one keys go to).
QString activeWindow();

// One or more key combinations in xdotool's names ("alt+d", "F5", "Return"), pressed one after
// the other at the pace of a person.
bool key(const QStringList &combinations);
// Types the text key by key with delayMs between the keys.
bool type(const QString &text, int delayMs);
bool click(QPoint at);

// A screenshot of the window (or of the whole screen for "root") as PNG.
bool screenshot(const QString &window, const QString &file);

// Runs the event loop until the condition holds, looking every 100 ms; false when timeoutMs
// passed without it.
bool waitUntil(const std::function<bool()> &condition, int timeoutMs);

} // namespace XDriver
