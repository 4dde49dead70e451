#include "frameinput.h"

#include "core/appstate.h"
#include "document/documentwindow.h"
#include "document/findbar.h"
#include "frame/address/addressbar.h"
#include "frame/chrome/framechrome.h"
#include "frame/chrome/keyedmenu.h"
#include "frame/commands/commandbindings.h"
#include "frame/commands/commandregistry.h"
#include "frame/commands/keyboardshortcuts.h"
#include "frame/documents/documentarea.h"
#include "frameparts.h"
#include "widgets/mousegesturerecognizer.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMainWindow>

#include <algorithm>

namespace {

// Shortcuts and gestures wait while a small modal dialog is open.
bool noModalDialogOpen()
{
    return !AppState::modalDialogOpen();
}

} // namespace

FrameInput::FrameInput(const FrameParts &parts, QObject *parent) : QObject(parent), m_parts(parts)
{
    // The keyboard shortcuts act wherever the focus is; they run once the key has been handled.
    m_shortcuts = new KeyboardShortcuts(this);
    m_shortcuts->setHasActiveDocument([this] { return activeDocument() != nullptr; });
    m_shortcuts->setFindTextPending([this] {
        const DocumentWindow *document = activeDocument();
        return document && document->findBar() && document->findBar()->isVisible() &&
               !document->findBar()->text().isEmpty();
    });
    m_shortcuts->setIsMenuKey([this](QKeyCombination key) {
        const QKeySequence keys(key);
        const QList<QAction *> menuActions = m_parts.frame->actions();
        if (std::any_of(menuActions.begin(), menuActions.end(),
                        [&](const QAction *action) { return action->shortcut() == keys; }))
            return true;
        const QList<QAction *> menus = m_parts.chrome->menuBar()->actions();
        return std::any_of(menus.begin(), menus.end(), [&](const QAction *menu) {
            return menu->isVisible() && QKeySequence::mnemonic(menu->text()) == keys;
        });
    });
    connect(m_shortcuts, &KeyboardShortcuts::actionRequested, this, &FrameInput::onShortcut,
            Qt::QueuedConnection);
    connect(m_shortcuts, &KeyboardShortcuts::menuKeyPressed, this, &FrameInput::onMenuKey,
            Qt::QueuedConnection);
}

DocumentWindow *FrameInput::activeDocument() const
{
    return qobject_cast<DocumentWindow *>(m_parts.documents->activeDocument());
}

void FrameInput::installShortcuts()
{
    m_shortcuts->install();
}

void FrameInput::attachGestures()
{
    m_gestures = new MouseGestureRecognizer(this);
    connect(m_gestures, &MouseGestureRecognizer::gestureRecognized, this,
            &FrameInput::onMouseGesture, Qt::DirectConnection);
    m_gestures->attach();
}

void FrameInput::remove()
{
    m_shortcuts->remove();
    if (m_gestures)
        m_gestures->detach();
}

void FrameInput::onMenuKey(QKeyCombination key)
{
    const QKeySequence keys(key);
    for (QAction *action : m_parts.frame->actions()) {
        if (action->shortcut() == keys && action->isEnabled()) {
            action->trigger();
            return;
        }
    }
    KeyedMenuBar *menuBar = m_parts.chrome->menuBar();
    for (QAction *menu : menuBar->actions()) {
        if (menu->isVisible() && QKeySequence::mnemonic(menu->text()) == keys) {
            menuBar->setActiveAction(menu);
            return;
        }
    }
}

void FrameInput::onShortcut(ShortcutRules::Action action)
{
    using ShortcutRules::Action;
    switch (action) {
    case Action::FocusAddressBar:
        // Selected also when the field has the focus already (after Enter on a known address).
        m_parts.addressBar->comboBox()->setFocus(Qt::ShortcutFocusReason);
        m_parts.addressBar->comboBox()->lineEdit()->selectAll();
        break;
    case Action::NextTab:
    case Action::PreviousTab:
        m_parts.documents->cycleTabs(action == Action::PreviousTab);
        break;
    case Action::CloseDocument:
        if (DocumentWindow *document = activeDocument())
            m_parts.documents->closeDocument(document);
        break;
    default:
        if (const char *key = ShortcutRules::commandKey(action))
            m_parts.commands->trigger(QLatin1String(key));
        break;
    }
}

void FrameInput::onMouseGesture(qint32 gestureType, int, int, int, int, bool &acceptGesture)
{
    const qint32 action = CommandBindings::gestureAction(gestureType, AppState::settings);
    if (noModalDialogOpen() && action != 0)
        m_parts.commands->trigger(CommandBindings::gestureCommand(action));
    acceptGesture = true;
}
