#include "benchdisplay.h"

#include "benchcleanup.h"

#include <QProcess>
#include <QStandardPaths>

#include <cstdio>

BenchDisplay::BenchDisplay()
{
    m_display = qEnvironmentVariable("DISPLAY");
    if (qEnvironmentVariable("QT_QPA_PLATFORM") == QLatin1String("offscreen")) {
        m_kind = Kind::Offscreen;
        m_askedForOffscreen = true;
    } else if (!m_display.isEmpty()) {
        m_kind = Kind::Existing;
        QProcess tool;
        tool.start(QStringLiteral("xdotool"), {QStringLiteral("getdisplaygeometry")});
        const QList<QByteArray> size = tool.waitForFinished(5000) ? tool.readAllStandardOutput().simplified().split(' ')
                                                                   : QList<QByteArray>();
        m_screenSize = size.size() == 2 ? QSize(size[0].toInt(), size[1].toInt()) : QSize(1280, 1024);
    } else if (!QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty() && startXvfb())
        m_kind = Kind::Xvfb;
    else
        m_kind = Kind::Offscreen;
    std::printf("display: %s\n", qPrintable(description()));
    std::fflush(stdout);
}

BenchDisplay::~BenchDisplay()
{
    stop(m_openbox);
    stop(m_xvfb);
}

QString BenchDisplay::description() const
{
    switch (m_kind) {
    case Kind::Existing:
        return QStringLiteral("X display %1 (from $DISPLAY), %2x%3")
            .arg(m_display)
            .arg(m_screenSize.width())
            .arg(m_screenSize.height());
    case Kind::Xvfb:
        return QStringLiteral("Xvfb %1, 1280x1024x24, with openbox%2")
            .arg(m_display, m_openbox ? QString() : QStringLiteral(" (openbox did not start)"));
    case Kind::Offscreen:
        break;
    }
    return m_askedForOffscreen ? QStringLiteral("offscreen (asked for by QT_QPA_PLATFORM)")
                               : QStringLiteral("offscreen (QT_QPA_PLATFORM=offscreen; Xvfb not found)");
}

void BenchDisplay::apply(QProcessEnvironment &env) const
{
    if (isX()) {
        env.insert(QStringLiteral("DISPLAY"), m_display);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    } else {
        env.remove(QStringLiteral("DISPLAY"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    }
}

bool BenchDisplay::startXvfb()
{
    // Xvfb picks a free display number itself and writes it to its standard output once it
    // takes connections; -noreset keeps it up between the programs under test.
    m_xvfb = std::make_unique<QProcess>();
    m_xvfb->setStandardErrorFile(QProcess::nullDevice());
    BenchCleanup::startChild(*m_xvfb, QStringLiteral("Xvfb"),
                          {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                           QStringLiteral("0"), QStringLiteral("1280x1024x24"),
                           QStringLiteral("-nolisten"), QStringLiteral("tcp"), QStringLiteral("-noreset")});
    QByteArray number;
    while (!number.contains('\n') && m_xvfb->waitForReadyRead(15000))
        number += m_xvfb->readAllStandardOutput();
    bool ok = false;
    number.trimmed().toInt(&ok);
    if (!ok) {
        stop(m_xvfb);
        return false;
    }
    m_display = u':' + QString::fromLatin1(number.trimmed());
    m_screenSize = QSize(1280, 1024);

    // openbox runs its start-up command once it manages the screen.
    m_openbox = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), m_display);
    m_openbox->setProcessEnvironment(env);
    m_openbox->setProcessChannelMode(QProcess::MergedChannels);
    BenchCleanup::startChild(*m_openbox, QStringLiteral("openbox"),
                          {QStringLiteral("--startup"), QStringLiteral("echo bench-wm-ready")});
    QByteArray output;
    while (!output.contains("bench-wm-ready") && m_openbox->waitForReadyRead(15000))
        output += m_openbox->readAll();
    if (!output.contains("bench-wm-ready"))
        stop(m_openbox);
    else
        QObject::connect(m_openbox.get(), &QProcess::readyRead, m_openbox.get(), [p = m_openbox.get()] { p->readAll(); });
    return true;
}

void BenchDisplay::stop(std::unique_ptr<QProcess> &process)
{
    if (!process)
        return;
    const pid_t pid = pid_t(process->processId());
    process->terminate();
    if (!process->waitForFinished(5000)) {
        BenchCleanup::killChildGroup(pid);
        process->waitForFinished(5000);
    }
    BenchCleanup::forgetChild(pid);
    process.reset();
}
