#include "autorefresh.h"

AutoRefresh::AutoRefresh(QObject *parent) : QObject(parent), m_timer(new QTimer(this))
{
    m_timer->setObjectName(QStringLiteral("refreshTimer"));
    connect(m_timer, &QTimer::timeout, this, &AutoRefresh::onTick);
}

void AutoRefresh::setInterval(int seconds)
{
    m_interval = qMax(seconds, 0);
    update();
}

void AutoRefresh::setEnabled(bool on)
{
    m_enabled = on;
    update();
}

void AutoRefresh::apply(int seconds)
{
    if (seconds < 1) {
        setEnabled(false);
        return;
    }
    m_interval = seconds;
    m_enabled = true;
    update();
}

void AutoRefresh::update()
{
    if (m_enabled && m_interval > 0) {
        // A running timer keeps its phase when the period is the same.
        if (!m_timer->isActive() || m_timer->interval() != m_interval)
            m_timer->start(m_interval);
    } else {
        m_timer->stop();
    }
}

void AutoRefresh::onTick()
{
    ++m_ticks;
    if (m_ticks >= kTicksPerRefresh) {
        m_ticks = 0;
        emit refresh();
    }
}

QString AutoRefresh::menuKey(bool enabled, int interval)
{
    if (!enabled)
        return QStringLiteral("mnuTabAutoRefreshStop");
    switch (interval) {
    case kOneMinute:
        return QStringLiteral("mnuTabAutoRefresh1");
    case kTwoMinutes:
        return QStringLiteral("mnuTabAutoRefresh2");
    case kFiveMinutes:
        return QStringLiteral("mnuTabAutoRefresh5");
    default:
        return QStringLiteral("mnuTabAutoRefreshCustom");
    }
}
