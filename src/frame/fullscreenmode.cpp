#include "fullscreenmode.h"

#include "core/appstate.h"
#include "core/storedcolor.h"
#include "core/strings.h"
#include "frame/chrome/framechrome.h"
#include "frame/chrome/framestatusbar.h"
#include "frame/chrome/fullscreenbar.h"
#include "frame/chrome/navigatorpalette.h"
#include "frame/chrome/toolbarbands.h"
#include "frame/commands/commandregistry.h"
#include "frame/documents/documentarea.h"

#include <QDockWidget>
#include <QMainWindow>
#include <QToolButton>

FullScreenMode::FullScreenMode(const FrameParts &parts, QObject *parent)
    : QObject(parent), m_parts(parts)
{
    FullScreenBar *bar = m_parts.fullScreenBar;
    connect(bar->normalModeButton(), &QToolButton::clicked, this, [this] { setFullScreen(false); });
    connect(bar->barsButton(), &QToolButton::clicked, this, &FullScreenMode::toggleBars);
    connect(bar->navigatorButton(), &QToolButton::toggled, this, &FullScreenMode::showNavigator);
}

bool FullScreenMode::isOn() const
{
    return AppState::fullScreen;
}

void FullScreenMode::setFullScreen(bool on)
{
    if (on == AppState::fullScreen || m_switching)
        return;
    m_switching = true;
    QMainWindow *frame = m_parts.frame;
    FullScreenBar *bar = m_parts.fullScreenBar;
    AppState::fullScreen = on;
    if (on) {
        m_stateBefore = frame->windowState() & ~(Qt::WindowMinimized | Qt::WindowFullScreen);
        m_parts.chrome->bands()->setHolderShown(false);
        bar->barsButton()->setChecked(false);
        bar->barsButton()->setToolTip(loadResString(1188));
        bar->show();
        m_parts.statusBar->canvas()->hide();
        m_parts.sidebarDock->hide();
        m_parts.commands->setChecked(QStringLiteral("mnuViewStatusBar"), false);
        m_parts.commands->setChecked(QStringLiteral("mnuViewSidebar"), false);
        frame->setWindowState(Qt::WindowFullScreen);
    } else {
        m_parts.chrome->bands()->setHolderShown(true);
        bar->hide();
        bar->navigatorButton()->setChecked(false); // hides the palette
        const bool statusBar = AppState::settings.statusBarVisible;
        m_parts.statusBar->canvas()->setVisible(statusBar);
        m_parts.commands->setChecked(QStringLiteral("mnuViewStatusBar"), statusBar);
        m_parts.sidebarDock->setVisible(AppState::sidebarVisible);
        m_parts.commands->setChecked(QStringLiteral("mnuViewSidebar"), AppState::sidebarVisible);
        if (frame->windowState() & Qt::WindowFullScreen)
            frame->setWindowState(m_stateBefore);
    }
    m_switching = false;
}

void FullScreenMode::onWindowStateChanged()
{
    if (AppState::fullScreen && !m_switching &&
        !(m_parts.frame->windowState() & (Qt::WindowFullScreen | Qt::WindowMinimized)))
        setFullScreen(false);
}

void FullScreenMode::toggleBars()
{
    FullScreenBar *bar = m_parts.fullScreenBar;
    const bool navigatorShown = bar->navigatorButton()->isChecked();
    if (navigatorShown)
        bar->navigatorButton()->setChecked(false);
    const bool barsShown = !m_parts.chrome->bands()->holderShown();
    m_parts.chrome->bands()->setHolderShown(barsShown);
    bar->barsButton()->setChecked(barsShown);
    bar->barsButton()->setToolTip(loadResString(barsShown ? 1189 : 1188));
    // Placed anew for the changed layout.
    if (navigatorShown)
        bar->navigatorButton()->setChecked(true);
}

void FullScreenMode::showNavigator(bool shown)
{
    NavigatorPalette *palette = m_parts.documents->navigator();
    if (!shown) {
        palette->hide();
        return;
    }
    // Right edge against the check button, a little above the bar's top.
    QToolButton *button = m_parts.fullScreenBar->navigatorButton();
    const QPoint barTop = m_parts.fullScreenBar->mapToGlobal(QPoint(0, 0));
    const QPoint buttonLeft = button->mapToGlobal(QPoint(0, 0));
    palette->move(buttonLeft.x() - palette->width(), barTop.y() - twipsToPixels(50));
    palette->show();
    palette->raise();
}
