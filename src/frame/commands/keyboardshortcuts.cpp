#include "keyboardshortcuts.h"

#include "core/appstate.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

using namespace ShortcutRules;

namespace {

// Whether the keyboard focus is in a page's view.
bool focusInPage()
{
    for (const QWidget *widget = QApplication::focusWidget(); widget; widget = widget->parentWidget()) {
        if (widget->inherits("QWebEngineView"))
            return true;
    }
    return false;
}

} // namespace

KeyboardShortcuts::KeyboardShortcuts(QObject *parent) : QObject(parent) {}

KeyboardShortcuts::~KeyboardShortcuts()
{
    remove();
}

void KeyboardShortcuts::install()
{
    if (m_installed || !QCoreApplication::instance())
        return;
    QCoreApplication::instance()->installEventFilter(this);
    m_installed = true;
}

void KeyboardShortcuts::remove()
{
    if (!m_installed)
        return;
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(this);
    m_installed = false;
}

bool KeyboardShortcuts::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if ((type != QEvent::KeyPress && type != QEvent::ShortcutOverride) || AppState::modalDialogOpen())
        return false;
    auto *key = static_cast<QKeyEvent *>(event);
    const bool firstPress = !key->isAutoRepeat();
    Decision decision = decide(key->key(), key->modifiers(), firstPress,
                               m_hasActiveDocument && m_hasActiveDocument());
    if (decision.action == Action::None) {
        // A menu's key or its letter with Alt goes to the menu: a page's view, which would claim
        // it before any window shortcut, does not see it.
        // With the focus in a page the window's shortcuts never see the key: the frame runs it
        // itself, from its key press. Elsewhere the menu's shortcut takes it (a text field keeps
        // its own keys, such as Ctrl+A).
        if (focusInPage() && m_isMenuKey && m_isMenuKey(key->keyCombination())) {
            if (type == QEvent::ShortcutOverride) {
                event->accept();
                return true;
            }
            if (!watched->inherits("QWidgetWindow") || !firstPress)
                return false;
            Q_EMIT menuKeyPressed(key->keyCombination());
            return true;
        }
        decision = decidePageKey(key->key(), key->modifiers(), firstPress,
                                 key->key() == Qt::Key_F3 && m_findTextPending &&
                                     m_findTextPending());
        if (decision.action == Action::None)
            return false;
    }
    if (type == QEvent::ShortcutOverride) {
        // The key is ours: no window shortcut takes it before its key press comes.
        if (decision.swallowed)
            event->accept();
        return false;
    }
    // A key press reaches a widget window first, then the widgets in it (and a page's view
    // hands it on to a window of its own): it is acted on once, where it enters.
    if (!watched->inherits("QWidgetWindow"))
        return false;
    Q_EMIT actionRequested(decision.action);
    return decision.swallowed;
}
