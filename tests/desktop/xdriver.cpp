#include "xdriver.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

namespace XDriver {

QStringList missingTools()
{
    QStringList missing;
    for (const char *tool : {"xdotool", "import"}) {
        if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty())
            missing.append(QLatin1String(tool));
    }
    return missing;
}

QString run(const QString &program, const QStringList &arguments, int timeoutMs)
{
    QProcess process;
    process.setStandardErrorFile(QProcess::nullDevice());
    QEventLoop loop;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&process, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    process.start(program, arguments);
    if (process.state() != QProcess::NotRunning)
        loop.exec();
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished(1000);
        return {};
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return {};
    const QString output = QString::fromLocal8Bit(process.readAllStandardOutput());
    return output.isNull() ? QStringLiteral("") : output;
}

QStringList visibleWindows(qint64 pid)
{
    return run(QStringLiteral("xdotool"),
               {QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--pid"),
                QString::number(pid)})
        .split(u'\n', Qt::SkipEmptyParts);
}

QString windowName(const QString &window)
{
    return run(QStringLiteral("xdotool"), {QStringLiteral("getwindowname"), window}).trimmed();
}

QRect windowGeometry(const QString &window)
{
    const QStringList lines = run(QStringLiteral("xdotool"), {QStringLiteral("getwindowgeometry"),
                                                              QStringLiteral("--shell"), window})
                                  .split(u'\n', Qt::SkipEmptyParts);
    QRect rect;
    for (const QString &line : lines) {
        const int value = line.section(u'=', 1).toInt();
        if (line.startsWith(QLatin1String("X=")))
            rect.moveLeft(value);
        else if (line.startsWith(QLatin1String("Y=")))
            rect.moveTop(value);
        else if (line.startsWith(QLatin1String("WIDTH=")))
            rect.setWidth(value);
        else if (line.startsWith(QLatin1String("HEIGHT=")))
            rect.setHeight(value);
    }
    return rect;
}

bool activate(const QString &window)
{
    return !run(QStringLiteral("xdotool"),
                {QStringLiteral("windowactivate"), QStringLiteral("--sync"), window}, 5000)
                .isNull();
}

QString activeWindow()
{
    return run(QStringLiteral("xdotool"), {QStringLiteral("getactivewindow")}).trimmed();
}

bool key(const QStringList &combinations)
{
    return !run(QStringLiteral("xdotool"),
                QStringList{QStringLiteral("key"), QStringLiteral("--clearmodifiers"),
                            QStringLiteral("--delay"), QStringLiteral("200")} +
                    combinations)
                .isNull();
}

bool type(const QString &text, int delayMs)
{
    return !run(QStringLiteral("xdotool"),
                {QStringLiteral("type"), QStringLiteral("--clearmodifiers"),
                 QStringLiteral("--delay"), QString::number(delayMs), QStringLiteral("--"), text},
                15000 + int(text.size()) * delayMs)
                .isNull();
}

bool click(QPoint at)
{
    return !run(QStringLiteral("xdotool"),
                // No --sync: it waits for a motion that never comes when the pointer is there
                // already.
                {QStringLiteral("mousemove"), QString::number(at.x()), QString::number(at.y()),
                 QStringLiteral("click"), QStringLiteral("1")})
                .isNull();
}

bool screenshot(const QString &window, const QString &file)
{
    return !run(QStringLiteral("import"), {QStringLiteral("-silent"), QStringLiteral("-window"),
                                           window, QStringLiteral("png:") + file})
                .isNull();
}

bool waitUntil(const std::function<bool()> &condition, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QTest::qWait(100);
    }
    return true;
}

} // namespace XDriver
