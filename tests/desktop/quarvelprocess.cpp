#include "quarvelprocess.h"

#include "desktophome.h"
#include "xdriver.h"

#include "core/strings.h"

#include <QFile>

#include <csignal>
#include <unistd.h>

QuarvelProcess::QuarvelProcess(const QString &binary, const DesktopHome &home)
    : m_binary(binary), m_home(home)
{
}

QuarvelProcess::~QuarvelProcess()
{
    stop();
}

bool QuarvelProcess::start(const QStringList &arguments)
{
    QProcessEnvironment env = m_home.environment(QProcessEnvironment::systemEnvironment());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    if (::geteuid() == 0) // the engine's sandbox refuses to run as root
        env.insert(QStringLiteral("QTWEBENGINE_DISABLE_SANDBOX"), QStringLiteral("1"));
    m_process.setProcessEnvironment(env);
    m_process.setWorkingDirectory(m_home.path());
    m_logFile = m_home.filePath(QStringLiteral("stderr.log"));
    m_process.setStandardOutputFile(QProcess::nullDevice());
    m_process.setStandardErrorFile(m_logFile);
    // A group of its own: the engine's helper processes end with it.
    m_process.setChildProcessModifier([] { ::setpgid(0, 0); });
    m_process.start(m_binary, arguments);
    if (!m_process.waitForStarted(10000))
        return false;
    m_pid = m_process.processId();
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
        signalGroup(SIGTERM);
        XDriver::waitUntil([this] { return !isRunning(); }, 5000);
    }
    // The engine's helpers may outlive the program for a moment; none outlives the test.
    signalGroup(SIGKILL);
    m_process.waitForFinished(5000);
    m_pid = 0;
}

QString QuarvelProcess::errorTail(int lines) const
{
    QFile log(m_logFile);
    if (!log.open(QIODevice::ReadOnly))
        return {};
    const QStringList all = QString::fromLocal8Bit(log.readAll()).split(u'\n', Qt::SkipEmptyParts);
    return all.mid(std::max<qsizetype>(0, all.size() - lines)).join(u'\n');
}

void QuarvelProcess::signalGroup(int signal) const
{
    if (m_pid > 0)
        ::kill(-pid_t(m_pid), signal);
}
