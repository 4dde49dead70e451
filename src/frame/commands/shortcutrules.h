#pragma once

#include <Qt>

// The frame's keyboard shortcuts as a decision: which key runs what, and whether the key then
// goes on to the focused widget. They act wherever the focus is (a page, the address bar, the
// notes), only on the key-down that starts a keystroke, and never while a modal dialog is open.
namespace ShortcutRules {

enum class Action {
    None,
    FocusAddressBar, // Alt+D
    Stop,            // Esc
    NextTab,         // Ctrl+Tab
    PreviousTab,     // Ctrl+Shift+Tab
    CloseDocument,   // Ctrl+F4, with an active document
    Home,            // Alt+Home
    NewTab,          // Ctrl+N
    OpenFile,        // Ctrl+O
    QuickSearch,     // F9
    // The page's own keys.
    Back,               // Alt+Left
    Forward,            // Alt+Right
    Refresh,            // F5, Ctrl+R
    RefreshBypassCache, // Ctrl+F5, Ctrl+Shift+R
    FindNext,           // F3, while the find bar holds text
    FindPrevious,       // Shift+F3, likewise
    ZoomIn,             // Ctrl+plus (Ctrl+= on keyboards where plus needs Shift)
    ZoomOut,            // Ctrl+minus
    ZoomReset,          // Ctrl+0
};

struct Decision
{
    Action action = Action::None;
    // True when the key goes no further.
    bool swallowed = false;
};

// key is a Qt::Key (Ctrl+Shift+Tab arrives as Key_Backtab); firstPress is false for
// auto-repeats. The first row whose key matches decides.
Decision decide(int key, Qt::KeyboardModifiers modifiers, bool firstPress, bool hasActiveDocument);

// The page's own keys, which a web page's control used to handle itself. The frame asks only
// for a key the rows of decide() and the menus leave alone. Backspace is not one of them: in a
// form it would lose what was typed. findTextPending: the active page's find bar holds text.
Decision decidePageKey(int key, Qt::KeyboardModifiers modifiers, bool firstPress, bool findTextPending);

// The command key that runs an action, or nullptr for the actions the frame runs itself
// (focus to the address bar, tab cycling, closing the document).
const char *commandKey(Action action);

} // namespace ShortcutRules
