#include "framewindowstate.h"

#include "core/appstate.h"
#include "core/singleinstance.h"
#include "frametray.h"
#include "widgets/passworddialog.h"

#include <QMainWindow>
#include <QWindow>

FrameWindowState::FrameWindowState(QMainWindow *frame)
    : QObject(frame), m_frame(frame), m_tray(new FrameTray(this))
{
    connect(m_tray, &FrameTray::restoreRequested, this, &FrameWindowState::restoreFromTray);
}

void FrameWindowState::showFrame()
{
    // The first web view made the native window anew after the settings had maximised it, and
    // the new one knows nothing of it (on X11): it is told again before it shows.
    const Qt::WindowStates state = m_frame->windowState() & ~Qt::WindowActive;
    if (m_frame->isHidden() && m_frame->windowHandle() &&
        m_frame->windowHandle()->windowStates() != state)
        m_frame->windowHandle()->setWindowStates(state);
    m_frame->show();
    m_frame->raise();
    m_frame->activateWindow();
}

void FrameWindowState::keepNormalState()
{
    m_normalWindowState = m_frame->windowState();
}

void FrameWindowState::bringBack()
{
    if (m_frame->isMinimized() || m_frame->isHidden()) {
        const bool locked = !AppState::settings.trayPassword.isEmpty();
        if (m_frame->isMinimized())
            m_frame->setWindowState(m_normalWindowState & ~Qt::WindowMinimized);
        if (!locked || !m_frame->isHidden())
            showFrame();
    } else {
        showFrame();
    }
}

bool FrameWindowState::onWindowStateChanged()
{
    if (!(m_frame->windowState() & Qt::WindowMinimized)) {
        m_normalWindowState = m_frame->windowState();
        return true;
    }
    if (AppState::settings.minimizeToTray && m_tray->canHideFrame()) {
        // Minimised into the notification area: hidden, and with a lock the instance lock is
        // let go, so a new start runs as an instance of its own.
        QMetaObject::invokeMethod(m_frame, &QWidget::hide, Qt::QueuedConnection);
        if (!AppState::settings.trayPassword.isEmpty())
            SingleInstance::releaseInstanceMutex();
    }
    return false;
}

void FrameWindowState::restoreFromTray()
{
    const SettingsModel &s = AppState::settings;
    if (!s.trayPassword.isEmpty() && s.minimizeToTray) {
        if (AppState::modalDialogOpen())
            return;
        PasswordDialog unlock(PasswordDialog::Mode::Unlock, s.trayPassword);
        if (unlock.exec() != QDialog::Accepted || unlock.isCancelled())
            return; // still locked in the tray
        m_frame->setWindowState(Qt::WindowNoState);
        showFrame();
        SingleInstance::acquireInstanceMutex();
        return;
    }
    m_frame->setWindowState(m_normalWindowState & ~Qt::WindowMinimized);
    showFrame();
}
