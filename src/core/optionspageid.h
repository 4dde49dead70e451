#pragma once

// The pages of the options dialog, in the order of its page tree. Whatever opens the dialog
// names the page it opens on.
enum class OptionsPageId {
    General = 1,
    History,
    UserSites,
    Sidebar,
    CustomLinks,
    Skins,
    Control,
    Content,
    Forms,
    PopupKiller,
    RssReader,
    MouseGestures,
};
