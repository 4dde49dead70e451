#pragma once

#include <type_traits>

class AddressBar;
class CommandRegistry;
class DocumentArea;
class FrameChrome;
class FrameServices;
class FrameStatusBar;
class FrameWindowState;
class FullScreenBar;
class QDockWidget;
class QMainWindow;

// The parts the frame window is made of, and what the window does itself. The frame window holds
// this value, made once when every part exists; everything that reaches the parts is built on it
// and refers to the window's one value: the views the commands, the side bar and the options
// dialog see (CommandHost, SidebarHost, OptionsHost), the menus, the input, the timers, full
// screen and the settings.
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

    // What the frame window does itself.
    FrameServices *services = nullptr;
};

// Pointers only: the parts built on the value may still read it while the window's children
// are taken down, after the window's own members.
static_assert(std::is_trivially_destructible_v<FrameParts>);
