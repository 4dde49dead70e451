#pragma once

#include "frameparts.h"

#include <QObject>
#include <QTimer>

class Sidebar;

// The frame's timed work: the clock that wakes the program once a minute (the status bar's date
// and time, the feed panel's minute), the update check a minute after the start, the feed
// database and the games page opened once the first page has loaded, and the periodic reloads of
// the side bar's favorites ("FavoritesTimer") and history ("HistoryTimer").
class FrameTimers : public QObject
{
    Q_OBJECT
public:
    // The feed database no longer opens once the frame is closing.
    FrameTimers(const FrameParts &parts, Sidebar &sidebar, QObject *parent = nullptr);

    // The reload timers; their periods are settings.
    QTimer *favoritesTimer() const { return m_favoritesTimer; }
    QTimer *historyTimer() const { return m_historyTimer; }

    // The feed database opens when the first page has loaded, or two seconds from now.
    void openFeedDatabaseSoon();
    // The clock, with the date and time shown now, and the update check's minute.
    void start();
    // The date and time shown again while the clock runs (the frame is seen again).
    void showDateTime();
    void stop();

private:
    // The clock ticks at each full minute: the status bar's time and the periodic feed check.
    void onClockTick();
    void armClock();
    void onUpdateTimer();
    // Opens the feed database once, when the first page has loaded or a little later.
    void openFeedDatabase();

    const FrameParts &m_parts;
    Sidebar *m_sidebar;
    QTimer m_clock;
    QTimer m_updateTimer;
    QTimer m_feedDatabaseOpener;
    QTimer *m_favoritesTimer;
    QTimer *m_historyTimer;
};
