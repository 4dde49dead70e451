#pragma once

#include "core/historycleanerkinds.h"

#include <QString>

#include <functional>

class QColor;
class QFont;

// What the options dialog and its pages need of the running frame. The frame implements it; the
// dialog and every page are tested with a fake.
class OptionsHost
{
public:
    virtual ~OptionsHost() = default;

    // The tray icon is added or removed.
    virtual void setTrayIconShown(bool shown) = 0;
    // The side bar is shown or hidden; returns whether it is visible afterwards.
    virtual bool setSidebarShown(bool shown) = 0;
    virtual void applyQuickNotesStyle(const QFont &font, const QColor &color) = 0;
    // The refresh timers of the favorites and history trees: every so many minutes, 0 stops them.
    virtual void armFavoritesTimer(int minutes) = 0;
    virtual void armHistoryTimer(int minutes) = 0;
    // The sites toolbar shows the custom-link buttons the settings now hold.
    virtual void showCustomLinkButtons() = 0;
    // The skin running since start-up, and the skin chosen for the next start.
    virtual QString currentSkin() const = 0;
    virtual QString nextSkin() const = 0;
    virtual void setNextSkin(const QString &skin) = 0;
    // The check mark of the menu item with this key.
    virtual void setCommandChecked(const QString &key, bool checked) = 0;
    // Every open document reads the form-filler data again.
    virtual void reloadFormData() = 0;
    // The side bar's trees are built again from what is stored now: favorites at once (false
    // when they could not be read), history in the background, done telling whether it was.
    virtual bool reloadFavorites() = 0;
    virtual void reloadHistory(std::function<void(bool ok)> done) = 0;
    // Cleans the chosen traces now, with the side bar's cleaner; done tells whether every step
    // was done (it may come after the call returns: the engine's cache is emptied in the
    // background).
    virtual void cleanHistory(HistoryCleaner::Kinds kinds, std::function<void(bool ok)> done) = 0;
    // The status bar's popup-killer icon shows whether the killer is on.
    virtual void showPopupKillerState() = 0;
};
