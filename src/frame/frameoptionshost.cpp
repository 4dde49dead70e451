#include "frameoptionshost.h"

#include "core/appstate.h"
#include "document/abstractdocument.h"
#include "document/documentwindow.h"
#include "frame/chrome/framechrome.h"
#include "frame/chrome/framestatusbar.h"
#include "frame/commands/commandregistry.h"
#include "frame/documents/documentarea.h"
#include "frametimers.h"
#include "frametray.h"
#include "framewindowstate.h"
#include "sidebar/historycleaner.h"
#include "sidebar/sidebar.h"

#include <QDockWidget>
#include <QTimer>

#include <limits>

void FrameOptionsHost::setTrayIconShown(bool shown)
{
    if (shown)
        m_parts.windowState->tray()->addIcon();
    else
        m_parts.windowState->tray()->removeIcon();
}

bool FrameOptionsHost::setSidebarShown(bool shown)
{
    m_parts.sidebarDock->setVisible(shown);
    m_parts.commands->setChecked(QStringLiteral("mnuViewSidebar"), shown);
    return !m_parts.sidebarDock->isHidden();
}

void FrameOptionsHost::applyQuickNotesStyle(const QFont &font, const QColor &color)
{
    m_sidebar.applyQuickNotesStyle(font, color);
}

void FrameOptionsHost::armFavoritesTimer(int minutes)
{
    armRefreshTimer(*m_timers.favoritesTimer(), minutes);
}

void FrameOptionsHost::armHistoryTimer(int minutes)
{
    armRefreshTimer(*m_timers.historyTimer(), minutes);
}

void FrameOptionsHost::showCustomLinkButtons()
{
    m_parts.chrome->showCustomLinkButtons();
}

QString FrameOptionsHost::currentSkin() const
{
    return AppState::settings.currentSkin;
}

QString FrameOptionsHost::nextSkin() const
{
    return m_parts.chrome->nextSkin();
}

void FrameOptionsHost::setNextSkin(const QString &skin)
{
    m_parts.chrome->setNextSkin(skin);
}

void FrameOptionsHost::setCommandChecked(const QString &key, bool checked)
{
    m_parts.commands->setChecked(key, checked);
}

void FrameOptionsHost::reloadFormData()
{
    for (AbstractDocument *document : m_parts.documents->documents()) {
        if (auto *window = dynamic_cast<DocumentWindow *>(document))
            window->reloadFormData();
    }
}

bool FrameOptionsHost::reloadFavorites()
{
    return m_sidebar.reloadFavorites();
}

void FrameOptionsHost::reloadHistory(std::function<void(bool ok)> done)
{
    m_sidebar.reloadHistory(std::move(done));
}

bool FrameOptionsHost::hasActivePage() const
{
    return m_parts.documents->activeDocument() != nullptr;
}

QString FrameOptionsHost::activePageTitle() const
{
    const AbstractDocument *document = m_parts.documents->activeDocument();
    return document ? document->locationName() : QString();
}

QString FrameOptionsHost::activePageAddress() const
{
    const AbstractDocument *document = m_parts.documents->activeDocument();
    return document ? document->locationUrl() : QString();
}

void FrameOptionsHost::armRefreshTimer(QTimer &timer, qint32 minutes)
{
    if (minutes <= 0) {
        timer.stop();
        return;
    }
    // Every period the settings can hold fires: minutes are counted in 64 bits and the longest
    // interval a timer takes is used beyond it.
    const qint64 ms = qint64(minutes) * 60000;
    timer.start(int(qMin<qint64>(ms, std::numeric_limits<int>::max())));
}

void FrameOptionsHost::cleanHistory(HistoryCleaner::Kinds kinds, std::function<void(bool ok)> done)
{
    HistoryCleaner::deleteHistory(m_sidebar.host(), kinds, m_sidebar.window(), nullptr, done);
}

void FrameOptionsHost::showPopupKillerState()
{
    m_parts.statusBar->setPopupIndicator(AppState::settings.popupKillerEnable ? 3 : 1);
}
