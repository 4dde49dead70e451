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
    // Whether the icon is there to bring a hidden frame back: without a notification area the
    // frame is never hidden in it, so it can always be reached again.
    bool canHideFrame() const { return hasIcon() && m_isAvailable(); }
    // Where tests run there is no notification area; they say whether there is one.
    void setAvailabilityForTesting(std::function<bool()> isAvailable)
    {
        m_isAvailable = std::move(isAvailable);
    }

signals:
    void restoreRequested();

private:
    // Whether the desktop has a notification area.
    std::function<bool()> m_isAvailable;
    QSystemTrayIcon *m_icon = nullptr;
};
