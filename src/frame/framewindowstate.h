#pragma once

#include <QObject>

class FrameTray;
class QMainWindow;

// How the frame window comes and goes: the state it returns to when it comes back from
// minimised, the notification-area icon it hides behind when minimised with "MinimizeToTray"
// (letting the instance lock go under a password), and the ways back: a double click on the
// icon (after the lock's password) and a later start's hand-over.
class FrameWindowState : public QObject
{
    Q_OBJECT
public:
    explicit FrameWindowState(QMainWindow *frame);

    // The notification-area icon; the options dialog adds and removes it too.
    FrameTray *tray() const { return m_tray; }

    // Shows the frame in the state the settings asked for.
    void showFrame();
    // The frame's state now is the one it comes back to from minimised.
    void keepNormalState();
    // A later start handed over: the window comes back, but not out of a locked notification
    // area.
    void bringBack();
    // The window's state changed. True when it is not minimised (its state is kept); minimised
    // with "MinimizeToTray", the frame hides behind its icon.
    bool onWindowStateChanged();

private:
    // A double click on the icon: the frame comes back, after the lock's password when one is set.
    void restoreFromTray();

    QMainWindow *m_frame;
    FrameTray *m_tray;
    Qt::WindowStates m_normalWindowState = Qt::WindowNoState;
};
