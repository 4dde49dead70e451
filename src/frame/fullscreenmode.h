#pragma once

#include "frameparts.h"

#include <QObject>
#include <QPointer>

// Full screen: the frame covers the screen without its frame, every bar around the pages goes and
// the full-screen bar takes their place; leaving brings back the bars, the status bar and the
// side bar as the user chose them, and the window state of before. The program's full-screen
// flag follows the window: every way in or out (the menu, the status bar, the bar's button, the
// window manager) leaves the flag, the menu marks and the bars in step.
class FullScreenMode : public QObject
{
    Q_OBJECT
public:
    explicit FullScreenMode(const FrameParts &parts, QObject *parent = nullptr);

    bool isOn() const;
    void setFullScreen(bool on);
    void toggle() { setFullScreen(!isOn()); }
    // The window state to keep while full screen (what leaving returns to).
    Qt::WindowStates stateBefore() const { return m_stateBefore; }
    // The window's state changed: a full screen ended by someone else ends here too.
    void onWindowStateChanged();

    // The bar's check buttons.
    void toggleBars();
    void showNavigator(bool shown);

private:
    const FrameParts &m_parts;
    Qt::WindowStates m_stateBefore = Qt::WindowNoState;
    bool m_switching = false;
};
