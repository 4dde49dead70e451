#pragma once

#include "frameparts.h"

class FrameOptionsHost;
class FrameTimers;
class FullScreenMode;
class Sidebar;

// The frame's settings: loaded into the frame's parts at start-up (the window's place and state,
// the bars shown, the typed addresses, the search engine, the skin, the content switches, the
// side bar, the reload timers, the notification-area icon) and gathered from them at the close.
class FrameSettings
{
public:
    // The frame's parts, and what is built on them that keeps settings.
    FrameSettings(const FrameParts &parts, Sidebar &sidebar, FullScreenMode &fullScreen,
                  FrameTimers &timers, FrameOptionsHost &optionsHost);

    // Every setting, with the whitelist; after an unclean exit the load asks which pages to open.
    void load(bool prevSessionCrashed);
    // False when the settings or the whitelist file could not be written.
    bool save();

private:
    const FrameParts &m_parts;
    Sidebar *m_sidebar;
    FullScreenMode *m_fullScreen;
    FrameTimers *m_timers;
    FrameOptionsHost *m_optionsHost;
};
