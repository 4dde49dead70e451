#pragma once

#include "core/optionspageid.h"

#include <functional>

class AddressBar;
class CommandRegistry;
class DocumentArea;
class FrameChrome;
class FrameStatusBar;
class FrameWindowState;
class FullScreenBar;
class QDockWidget;
class QMainWindow;
class QString;
class QuickSearchDialog;

// The parts the frame window is made of, and what the window does itself. The frame makes this
// value once, when every part exists, and builds on it everything that reaches the parts: the
// views the commands, the side bar and the options dialog see (CommandHost, SidebarHost,
// OptionsHost), the menus, the input, the timers, full screen and the settings.
struct FrameParts
{
    QMainWindow *frame = nullptr;
    DocumentArea *documents = nullptr;
    CommandRegistry *commands = nullptr;
    FrameChrome *chrome = nullptr;
    AddressBar *addressBar = nullptr;
    FrameStatusBar *statusBar = nullptr;
    // The dock left of the documents; the side bar it holds is built on its SidebarHost.
    QDockWidget *sidebarDock = nullptr;
    FullScreenBar *fullScreenBar = nullptr;
    // The window's state and its notification-area icon.
    FrameWindowState *windowState = nullptr;

    // ---- What the frame window does itself.
    // The quick search box, made (hidden) on first use, and shown.
    std::function<QuickSearchDialog *()> quickSearch;
    std::function<void()> showQuickSearch;
    // Shows the side bar, open on the section of the key.
    std::function<void(const QString &key)> showSidebarSection;
    // Opens the options dialog on the page.
    std::function<void(OptionsPageId page)> showOptions;
    // True once the frame's close has begun its unload.
    std::function<bool()> closing;
};
