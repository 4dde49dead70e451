#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

// A document's automatic refresh. "Interval" is the period in seconds: the timer ticks every
// Interval milliseconds and every thousandth tick asks for a complete refresh. The tick count
// is not reset when the interval changes, so the first refresh after a change can come early.
class AutoRefresh : public QObject
{
    Q_OBJECT
public:
    static constexpr qint16 kTicksPerRefresh = 1000;
    // The periods of the tab menu: one, two and five minutes.
    static constexpr int kOneMinute = 60, kTwoMinutes = 120, kFiveMinutes = 300;

    explicit AutoRefresh(QObject *parent = nullptr);

    int interval() const { return m_interval; }
    bool isEnabled() const { return m_enabled; }
    // "Interval" and "enabled" as the tab menu and the dialog write them; negative periods count
    // as 0. The timer runs only while enabled with a period above 0.
    void setInterval(int seconds);
    void setEnabled(bool on);
    // What the tab menu and the interval dialog do: a period of 1 or more is set and switched
    // on, anything below 1 switches automatic refresh off.
    void apply(int seconds);

    // The tab menu's item that carries the mark for this state: "mnuTabAutoRefresh1", "2", "5",
    // "Custom" (any other period) or "Stop" (off).
    static QString menuKey(bool enabled, int interval);
    QString menuKey() const { return menuKey(m_enabled, m_interval); }

signals:
    // Time for a complete refresh (bypassing the cache).
    void refresh();

private:
    void update();
    void onTick();

    QTimer *m_timer; // "refreshTimer"
    int m_interval = 0;
    bool m_enabled = false;
    qint16 m_ticks = 0; // since the last refresh
};
