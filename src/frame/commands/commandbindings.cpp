#include "commandbindings.h"

#include "core/settingsmodel.h"

namespace CommandBindings {

qint32 gestureAction(qint32 gestureType, const SettingsModel &settings)
{
    switch (gestureType) {
    case 1: return settings.mouseUp;
    case 2: return settings.mouseDown;
    case 4: return settings.mouseRight;
    case 8: return settings.mouseLeft;
    case 16: return settings.mouseUpRight;
    case 32: return settings.mouseDownRight;
    case 64: return settings.mouseDownLeft;
    case 128: return settings.mouseUpLeft;
    case 256: return settings.mouseRightUp;
    case 512: return settings.mouseRightDown;
    case 1024: return settings.mouseLeftDown;
    case 2048: return settings.mouseLeftUp;
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
