#pragma once

#include "shortcutrules.h"

#include <QObject>

#include <functional>

// The frame's keyboard shortcuts: an application event filter that sees every key before the
// focused widget does (a page's view included) and runs the frame's commands for the keys of
// ShortcutRules, then the page's own keys (back, forward, refresh, find again, zoom) that no
// shortcut row or menu item claims. A key the rules pass on reaches the focused widget unchanged.
class KeyboardShortcuts : public QObject
{
    Q_OBJECT
public:
    explicit KeyboardShortcuts(QObject *parent = nullptr);
    ~KeyboardShortcuts() override;

    // Starts and ends watching the application's keys.
    void install();
    void remove();

    // Whether the frame has an active document (Ctrl+F4 acts only then).
    void setHasActiveDocument(std::function<bool()> check)
    {
        m_hasActiveDocument = std::move(check);
    }
    // Whether the active page's find bar holds text (F3 and Shift+F3 act only then).
    void setFindTextPending(std::function<bool()> check)
    {
        m_findTextPending = std::move(check);
    }
    // Whether a menu item runs on the key (its shortcut, or Alt and its menu's letter): such a
    // key goes to the menu, whatever has the focus.
    void setIsMenuKey(std::function<bool(QKeyCombination)> check)
    {
        m_isMenuKey = std::move(check);
    }

signals:
    // Requests for the frame; tab cycling and closing run after the key's event has returned.
    void actionRequested(ShortcutRules::Action action);
    // A menu's key reached the window without running its item (the focus is in a page).
    void menuKeyPressed(QKeyCombination key);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::function<bool()> m_hasActiveDocument;
    std::function<bool()> m_findTextPending;
    std::function<bool(QKeyCombination)> m_isMenuKey;
    bool m_installed = false;
};
