#include "commandbindings.h"

#include "core/settingsmodel.h"

#include "frame/chrome/framemenus.h"

namespace CommandBindings {

namespace {

struct ButtonRow
{
    const char *band;
    const char *button;
    const char *command;
    const char *newTabCommand; // the site buttons' command when sites open in a new tab
};

const ButtonRow kButtons[] = {
    {"Toolbar1", "New", "mnuFileNew", nullptr},
    {"Toolbar1", "Back", "mnuNavigateBack", nullptr},
    {"Toolbar1", "Forward", "mnuNavigateForward", nullptr},
    {"Toolbar1", "Refresh", "mnuNavigateRefresh", nullptr},
    {"Toolbar1", "Stop", "mnuNavigateStop", nullptr},
    {"Toolbar1", "Home", "mnuNavigateHome1", "mnuNewHome1"},
    {"Toolbar1", "Home2", "mnuNavigateHome2", "mnuNewHome2"},
    {"Toolbar1", "Mail", "mnuNavigateMail", "mnuNewEmail"},
    {"Toolbar1", "Search", "mnuNavigateSearch", "mnuNewSearch"},
    {"Toolbar1", "News", "mnuNavigateNews", "mnuNewNews"},
    {"Toolbar2", "Custom", "mnuCustomSitesToolbar", nullptr},
    {"Addressbar", "Go", "AddressbarGo", nullptr},
    {"Addressbar", "GoNew", "AddressbarGoNew", nullptr},
    {"Addressbar", "Search", "AddressbarSearch", nullptr},
};

} // namespace

ButtonCommand buttonCommand(const QString &bandKey, const QString &buttonKey, bool newTab)
{
    for (const ButtonRow &row : kButtons) {
        if (bandKey != QLatin1String(row.band) || buttonKey != QLatin1String(row.button))
            continue;
        const char *command = newTab && row.newTabCommand ? row.newTabCommand : row.command;
        return {QLatin1String(command)};
    }
    // A custom link button runs what its item of the links menu runs.
    const QLatin1String custom("Custom");
    if (bandKey == QLatin1String("Toolbar2") && buttonKey.startsWith(custom)) {
        bool ok = false;
        const int link = buttonKey.mid(custom.size()).toInt(&ok);
        if (ok)
            return {FrameMenus::linkItemKey(link), link};
    }
    return {};
}

qint32 gestureAction(qint32 gestureType, const SettingsModel &s)
{
    switch (gestureType) {
    case 1: return s.mouseUp;
    case 2: return s.mouseDown;
    case 4: return s.mouseRight;
    case 8: return s.mouseLeft;
    case 16: return s.mouseUpRight;
    case 32: return s.mouseDownRight;
    case 64: return s.mouseDownLeft;
    case 128: return s.mouseUpLeft;
    case 256: return s.mouseRightUp;
    case 512: return s.mouseRightDown;
    case 1024: return s.mouseLeftDown;
    case 2048: return s.mouseLeftUp;
    default: return 0;
    }
}

QString gestureCommand(qint32 action)
{
    // 14 opens the options, 15 and 16 add to and organise the favorites, 17 adds the
    // current site to the popup killer's whitelist.
    static const char *const commands[] = {
        "mnuNavigateBack", "mnuNavigateForward", "mnuNavigateRefresh", "mnuNavigateStop",
        "mnuFileClose",    "mnuNewHome1",        "mnuNewHome2",        "mnuNewBlank",
        "mnuNewCurrent",   "mnuNewClipboard",    "mnuNewEmail",        "mnuNewSearch",
        "mnuNewNews",      "mnuViewOptions",     "mnuViewAddToFav",    "mnuViewOrgFav",
        "mnuTabAdd2PopupKillerWhiteList",
    };
    if (action < 1 || action > qint32(std::size(commands)))
        return QString();
    return QLatin1String(commands[action - 1]);
}

} // namespace CommandBindings
