#include "shortcutrules.h"

namespace ShortcutRules {

Decision decide(int key, Qt::KeyboardModifiers modifiers, bool firstPress, bool hasActiveDocument)
{
    // Ctrl and Alt count only on the first press; an auto-repeat runs nothing.
    const bool ctrl = firstPress && (modifiers & Qt::ControlModifier);
    const bool alt = firstPress && (modifiers & Qt::AltModifier);
    const bool shift = modifiers & Qt::ShiftModifier;
    switch (key) {
    case Qt::Key_D:
        return alt ? Decision{Action::FocusAddressBar, true} : Decision{};
    case Qt::Key_Escape:
        return firstPress ? Decision{Action::Stop, false} : Decision{};
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        if (!ctrl)
            return {};
        return {key == Qt::Key_Backtab || shift ? Action::PreviousTab : Action::NextTab, true};
    case Qt::Key_F4:
        return ctrl && hasActiveDocument ? Decision{Action::CloseDocument, false} : Decision{};
    case Qt::Key_Home:
        return alt ? Decision{Action::Home, true} : Decision{};
    case Qt::Key_N:
        return ctrl ? Decision{Action::NewTab, true} : Decision{};
    case Qt::Key_O:
        return ctrl ? Decision{Action::OpenFile, true} : Decision{};
    case Qt::Key_F9:
        return firstPress ? Decision{Action::QuickSearch, true} : Decision{};
    default:
        return {};
    }
}

Decision decidePageKey(int key, Qt::KeyboardModifiers modifiers, bool firstPress, bool findTextPending)
{
    const Qt::KeyboardModifiers held =
        modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier | Qt::MetaModifier);
    const bool plain = held == Qt::NoModifier;
    const bool ctrl = held == Qt::ControlModifier;
    const bool ctrlShift = held == (Qt::ControlModifier | Qt::ShiftModifier);
    const auto swallow = [](Action action) { return Decision{action, true}; };
    // Zoom and find repeat while the key is held, as they do in a page; the others run once.
    switch (key) {
    case Qt::Key_Left:
        return firstPress && held == Qt::AltModifier ? swallow(Action::Back) : Decision{};
    case Qt::Key_Right:
        return firstPress && held == Qt::AltModifier ? swallow(Action::Forward) : Decision{};
    case Qt::Key_F5:
        if (!firstPress)
            return {};
        return plain ? swallow(Action::Refresh) : ctrl ? swallow(Action::RefreshBypassCache) : Decision{};
    case Qt::Key_R:
        if (!firstPress)
            return {};
        return ctrl ? swallow(Action::Refresh) : ctrlShift ? swallow(Action::RefreshBypassCache) : Decision{};
    case Qt::Key_F3:
        if (!findTextPending)
            return {};
        return plain ? swallow(Action::FindNext)
                     : held == Qt::ShiftModifier ? swallow(Action::FindPrevious) : Decision{};
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        // Plus is Shift+= on many keyboards: Ctrl+Shift+= is Ctrl+plus too.
        return ctrl || ctrlShift ? swallow(Action::ZoomIn) : Decision{};
    case Qt::Key_Minus:
        return ctrl ? swallow(Action::ZoomOut) : Decision{};
    case Qt::Key_0:
        return ctrl && firstPress ? swallow(Action::ZoomReset) : Decision{};
    default:
        return {};
    }
}

const char *commandKey(Action action)
{
    switch (action) {
    case Action::Stop:
        return "mnuNavigateStop";
    case Action::Home:
        return "mnuNavigateHome1";
    case Action::NewTab:
        return "mnuFileNew";
    case Action::OpenFile:
        return "mnuFileOpen";
    case Action::QuickSearch:
        return "mnuViewQSearch";
    case Action::Back:
        return "mnuNavigateBack";
    case Action::Forward:
        return "mnuNavigateForward";
    case Action::Refresh:
        return "mnuNavigateRefresh";
    case Action::RefreshBypassCache:
        return "PageRefreshBypassCache";
    case Action::FindNext:
        return "PageFindNext";
    case Action::FindPrevious:
        return "PageFindPrevious";
    case Action::ZoomIn:
        return "PageZoomIn";
    case Action::ZoomOut:
        return "PageZoomOut";
    case Action::ZoomReset:
        return "PageZoomReset";
    case Action::None:
    case Action::FocusAddressBar:
    case Action::NextTab:
    case Action::PreviousTab:
    case Action::CloseDocument:
        break;
    }
    return nullptr;
}

} // namespace ShortcutRules
