#pragma once

#include "frameparts.h"
#include "options/activepagesource.h"
#include "options/optionshost.h"

#include <QtGlobal>

class FrameTimers;
class QTimer;
class Sidebar;

// The running frame as the options dialog and its pages reach it: the frame's parts, the side
// bar built on them and the side bar's reload timers.
class FrameOptionsHost final : public OptionsHost, public ActivePageSource
{
public:
    FrameOptionsHost(const FrameParts &parts, Sidebar &sidebar, FrameTimers &timers)
        : m_parts(parts), m_sidebar(sidebar), m_timers(timers)
    {
    }

    // Arms a reload timer for a period in minutes; 0 or less leaves it off.
    static void armRefreshTimer(QTimer &timer, qint32 minutes);

    void setTrayIconShown(bool shown) override;
    bool setSidebarShown(bool shown) override;
    void applyQuickNotesStyle(const QFont &font, const QColor &color) override;
    void armFavoritesTimer(int minutes) override;
    void armHistoryTimer(int minutes) override;
    void showCustomLinkButtons() override;
    QString currentSkin() const override;
    QString nextSkin() const override;
    void setNextSkin(const QString &skin) override;
    void setCommandChecked(const QString &key, bool checked) override;
    void reloadFormData() override;
    bool reloadFavorites() override;
    void reloadHistory(std::function<void(bool ok)> done) override;
    void cleanHistory(HistoryCleaner::Kinds kinds, std::function<void(bool ok)> done) override;
    void showPopupKillerState() override;

    bool hasActivePage() const override;
    QString activePageTitle() const override;
    QString activePageAddress() const override;

private:
    const FrameParts &m_parts;
    Sidebar &m_sidebar;
    FrameTimers &m_timers;
};
