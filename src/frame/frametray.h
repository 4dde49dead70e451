#pragma once

#include <QObject>

#include <functional>

class QSystemTrayIcon;

// The frame's icon in the notification area: shown while "MinimizeToTray" is on; a double click
// on it asks for the frame back.
class FrameTray : public QObject
{
    Q_OBJECT
public:
    explicit FrameTray(QObject *parent = nullptr);
    ~FrameTray() override;

    void addIcon();
    void removeIcon();
    bool hasIcon() const;
    // Whether the desktop has a notification area; without one the frame is never hidden in it,
    // so it can always be reached again.
    std::function<bool()> isAvailable;
    // Whether the icon is there to bring a hidden frame back.
    bool canHideFrame() const { return hasIcon() && isAvailable(); }

signals:
    void restoreRequested();

private:
    QSystemTrayIcon *m_icon = nullptr;
};
