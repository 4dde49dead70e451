#include "keyboardshortcuts.h"

#include "core/appstate.h"

#include <QCoreApplication>
#include <QKeyEvent>

using namespace ShortcutRules;

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
                               hasActiveDocument && hasActiveDocument());
    if (decision.action == Action::None) {
        decision = decidePageKey(key->key(), key->modifiers(), firstPress,
                                 key->key() == Qt::Key_F3 && findTextPending && findTextPending());
        if (decision.action == Action::None || (isMenuKey && isMenuKey(key->keyCombination())))
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
