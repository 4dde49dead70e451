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

int cycledTab(int current, int count, bool back)
{
    if (count <= 1)
        return 0;
    if (current < 1 || current > count)
        current = 1;
    if (back)
        return current == 1 ? count : current - 1;
    return current == count ? 1 : current + 1;
}

} // namespace ShortcutRules
