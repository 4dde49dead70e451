#include "documenttabclicks.h"

#include "core/appstate.h"
#include "document/abstractdocument.h"
#include "documenttabbar.h"

namespace {

// The "Control" setting for a click on a tab with the button and modifiers.
int tabClickAction(Qt::MouseButton button, Qt::KeyboardModifiers modifiers)
{
    const SettingsModel &s = AppState::settings;
    const bool modified = modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    if (button == Qt::LeftButton)
        return modified ? s.controlShiftLeft : s.controlLeft;
    return modified ? s.controlShiftRight : s.controlRight;
}

} // namespace

DocumentTabClicks::DocumentTabClicks(DocumentTabBar *tabBar, Documents documents, QObject *parent)
    : QObject(parent), m_documents(std::move(documents))
{
    connect(tabBar, &DocumentTabBar::tabPressed, this, &DocumentTabClicks::onTabPressed);
    connect(tabBar, &DocumentTabBar::tabDoubleClicked, this,
            &DocumentTabClicks::onTabDoubleClicked);
    connect(tabBar, &QTabBar::tabCloseRequested, this, &DocumentTabClicks::onTabCloseRequested);
}

void DocumentTabClicks::onTabPressed(int position, Qt::MouseButton button,
                                     Qt::KeyboardModifiers modifiers, const QPoint &globalPos)
{
    if (position >= 1) {
        clickTab(position, button, modifiers, globalPos);
        return;
    }
    m_pressed = nullptr;
    // The empty strip: the New menu at the pointer; Ctrl with the left button, the home page
    // in a new tab.
    if (button == Qt::RightButton)
        Q_EMIT newMenuRequested(globalPos);
    else if (button == Qt::LeftButton && modifiers == Qt::ControlModifier)
        Q_EMIT newTabRequested();
}

void DocumentTabClicks::clickTab(int position, Qt::MouseButton button,
                                 Qt::KeyboardModifiers modifiers, const QPoint &globalPos)
{
    if (m_documents.activating())
        return;
    AbstractDocument *document = m_documents.at(position);
    m_pressed = document;
    if (!document)
        return;
    Q_EMIT frontRequested(document);
    const int action = tabClickAction(button, modifiers);
    if (action != 0)
        Q_EMIT tabActionRequested(document, action, globalPos);
}

void DocumentTabClicks::onTabDoubleClicked(int position, const QPoint &globalPos)
{
    if (position < 1) {
        Q_EMIT newTabRequested();
        return;
    }
    // The second click of a double click lands on the tab the first one pressed, unless that
    // one has closed since and another tab moved up into its place.
    AbstractDocument *document = m_documents.at(position);
    if (document && document == m_pressed)
        Q_EMIT tabActionRequested(document, AppState::settings.controlDouble, globalPos);
}

void DocumentTabClicks::onTabCloseRequested(int index)
{
    // The tab goes with its document, as for every other close.
    Q_EMIT closeRequested(m_documents.at(index + 1));
}
