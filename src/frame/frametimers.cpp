#include "frametimers.h"

#include "core/appstate.h"
#include "frame/chrome/framestatusbar.h"
#include "frame/documents/documentarea.h"
#include "frameparts.h"
#include "frameservices.h"
#include "sidebar/sidebar.h"
#include "updatecheck.h"

#include <QMainWindow>
#include <QTime>
#include <QWidget>

FrameTimers::FrameTimers(const FrameParts &parts, Sidebar &sidebar, QObject *parent)
    : QObject(parent), m_parts(parts), m_sidebar(&sidebar), m_favoritesTimer(new QTimer(this)),
      m_historyTimer(new QTimer(this))
{
    m_favoritesTimer->setObjectName(QStringLiteral("FavoritesTimer"));
    m_historyTimer->setObjectName(QStringLiteral("HistoryTimer"));
    connect(m_favoritesTimer, &QTimer::timeout, m_sidebar, &Sidebar::reloadFavorites);
    connect(m_historyTimer, &QTimer::timeout, m_sidebar, [this] { m_sidebar->reloadHistory(); });

    // The clock wakes the program once a minute, when the time shown changes, and no more.
    m_clock.setSingleShot(true);
    m_clock.setTimerType(Qt::PreciseTimer);
    connect(&m_clock, &QTimer::timeout, this, &FrameTimers::onClockTick);
    m_updateTimer.setInterval(60000);
    connect(&m_updateTimer, &QTimer::timeout, this, &FrameTimers::onUpdateTimer);
}

void FrameTimers::openFeedDatabaseSoon()
{
    m_feedDatabaseOpener.setSingleShot(true);
    m_feedDatabaseOpener.setInterval(2000);
    connect(&m_feedDatabaseOpener, &QTimer::timeout, this, &FrameTimers::openFeedDatabase);
    connect(m_parts.documents, &DocumentArea::pageLoaded, this, &FrameTimers::openFeedDatabase);
    m_feedDatabaseOpener.start();
}

void FrameTimers::start()
{
    armClock();
    m_parts.statusBar->showDateTime();
    m_updateTimer.start();
}

void FrameTimers::showDateTime()
{
    if (m_clock.isActive())
        m_parts.statusBar->showDateTime();
}

void FrameTimers::stop()
{
    m_clock.stop();
    m_updateTimer.stop();
    m_favoritesTimer->stop();
    m_historyTimer->stop();
}

void FrameTimers::armClock()
{
    // A little past the full minute, so the time read then is the new one.
    const QTime now = QTime::currentTime();
    const int toNextMinute = 60000 - (now.second() * 1000 + now.msec());
    m_clock.start(toNextMinute + 20);
}

void FrameTimers::onClockTick()
{
    armClock();
    // Nothing is drawn for a window no one can see; the time is brought up to date when the
    // window shows again.
    if (!m_parts.frame->isHidden() && !m_parts.frame->isMinimized())
        m_parts.statusBar->showDateTime();
    m_sidebar->onMinuteTick();
}

void FrameTimers::onUpdateTimer()
{
    // The update check, a minute after start (or a minute after it was switched on), once.
    if (!AppState::settings.checkForUpdate)
        return;
    m_updateTimer.stop();
    UpdateCheck::start(m_parts.frame, m_parts.statusBar);
}

void FrameTimers::openFeedDatabase()
{
    disconnect(m_parts.documents, &DocumentArea::pageLoaded, this, &FrameTimers::openFeedDatabase);
    m_feedDatabaseOpener.stop();
    if (!m_parts.services->isClosing()) {
        m_sidebar->openFeeds();
        m_sidebar->loadGamesPage(); // start-up step 14, after the first page
    }
}
