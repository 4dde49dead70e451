#include "commandbindings.h"

#include "core/settingsmodel.h"

namespace CommandBindings {

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
