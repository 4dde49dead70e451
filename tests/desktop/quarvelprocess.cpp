#include "quarvelprocess.h"

#include "desktophome.h"
#include "xdriver.h"

#include "core/strings.h"

#include <csignal>

QuarvelProcess::QuarvelProcess(const QString &binary, const DesktopHome &home)
    : m_binary(binary), m_process(home)
{
}

QuarvelProcess::~QuarvelProcess()
{
    stop();
}

bool QuarvelProcess::start(const QStringList &arguments)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    if (!m_process.start(m_binary, arguments, env))
        return false;
    m_pid = m_process.pid();
    return true;
}

QString QuarvelProcess::frameWindow() const
{
    if (!isRunning())
        return {};
    const QString caption = loadResString(1120);
    QString frame;
    int frameArea = -1;
    for (const QString &window : XDriver::visibleWindows(m_pid)) {
        if (!XDriver::windowName(window).startsWith(caption))
            continue;
        const QRect rect = XDriver::windowGeometry(window);
        if (rect.width() * rect.height() > frameArea) {
            frame = window;
            frameArea = rect.width() * rect.height();
        }
    }
    return frame;
}

QString QuarvelProcess::title() const
{
    const QString frame = frameWindow();
    return frame.isEmpty() ? QString() : XDriver::windowName(frame);
}

QStringList QuarvelProcess::otherWindows() const
{
    if (!isRunning())
        return {};
    QStringList windows = XDriver::visibleWindows(m_pid);
    windows.removeAll(frameWindow());
    return windows;
}

QString QuarvelProcess::windowsText() const
{
    if (!isRunning())
        return QStringLiteral("(the program has ended)");
    QStringList texts;
    for (const QString &window : XDriver::visibleWindows(m_pid))
        texts.append(QStringLiteral("%1 '%2'").arg(window, XDriver::windowName(window)));
    return texts.isEmpty() ? QStringLiteral("(no visible window)")
                           : texts.join(QStringLiteral(", "));
}

bool QuarvelProcess::closeFrame(int timeoutMs)
{
    const QString frame = frameWindow();
    if (frame.isEmpty() || !XDriver::activate(frame) || !XDriver::key({QStringLiteral("alt+F4")}))
        return false;
    return XDriver::waitUntil([this] { return !isRunning(); }, timeoutMs);
}

void QuarvelProcess::stop()
{
    if (m_pid <= 0)
        return;
    if (isRunning() && otherWindows().isEmpty())
        closeFrame(10000);
    if (isRunning()) {
        m_process.signalGroup(SIGTERM);
        XDriver::waitUntil([this] { return !isRunning(); }, 5000);
    }
    // The engine's helpers may outlive the program for a moment; none outlives the test.
    m_process.signalGroup(SIGKILL);
    m_process.waitForFinished(5000);
    m_pid = 0;
}
