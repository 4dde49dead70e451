#pragma once

#include <QList>
#include <QObject>
#include <QPoint>
#include <QPointF>
#include <QPointer>
#include <QtGlobal>

#include <memory>
#include <vector>

class QPointingDevice;
class QWindow;

// Right-button mouse gestures anywhere in the application: the user holds the right button,
// draws a stroke and lets go; the stroke is classified into one of twelve gestures (four
// straight, eight of two segments) and gestureRecognized is raised.
//
// Attach installs an event filter on the application that watches the mouse events of every
// window (the web engine's view included). The right-button press of a possible stroke is
// held back from its window, because the context menu opens on the press. When the button is
// let go the stroke is judged on the next pass of the event loop, outside the filter:
//  - a gesture of a type in gestureTypes raises gestureRecognized; when the handler accepts
//    it, the held press and release are dropped (the window never saw the click);
//  - otherwise (too short, masked, or not accepted) the held events go to their window as
//    they were, so a plain right click still opens its context menu.
// Only the events of the stroke itself are held; moves always pass. While gestureTypes is 0 or
// less no stroke is tracked at all: the right press reaches its window at once.
class MouseGestureRecognizer : public QObject
{
    Q_OBJECT
public:
    // Gesture codes, one bit each.
    enum GestureCode : qint32 {
        kUp = 1,
        kDown = 2,
        kRight = 4,
        kLeft = 8,
        kUpRight = 16,
        kDownRight = 32,
        kDownLeft = 64,
        kUpLeft = 128,
        kRightUp = 256,
        kRightDown = 512,
        kLeftDown = 1024,
        kLeftUp = 2048,
        kAllGestures = 4095,
    };

    // Moves of this many pixels or less on an axis do not count.
    static constexpr int kDeadZone = 8;
    // A two-axis stroke counts as straight when one axis exceeds the other by more than this.
    static constexpr double kDominance = 7.0;

    explicit MouseGestureRecognizer(QObject *parent = nullptr);
    ~MouseGestureRecognizer() override;

    void attach();
    void detach();
    bool isAttached() const { return m_attached; }

    // The gesture codes that may raise gestureRecognized (a mask of GestureCode bits, all
    // twelve by default); 0 or less turns recognition off.
    qint32 gestureTypes() const { return m_gestureTypes; }
    void setGestureTypes(qint32 types) { m_gestureTypes = types; }

    // The code of a stroke given as its cursor positions in order (0 = no gesture). Only the
    // first and last points decide the direction; the points between decide the order of
    // the two segments.
    static qint32 recognizeStroke(const QList<QPoint> &points);
    // The two-segment code of a stroke that moved on both axes: which side of the chord from
    // the first to the last point most points lie on.
    static qint32 strokeDirection(const QList<QPoint> &points, bool up, bool down, bool right,
                                  bool left);

signals:
    // A recognised gesture, start and end in global pixels. A (direct) handler sets
    // acceptGesture to swallow the right click. It runs from the event loop, never inside
    // the event filter.
    void gestureRecognized(qint32 gestureType, int xGestureStart, int yGestureStart, int xGestureEnd,
                      int yGestureEnd, bool &acceptGesture);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct HeldEvent
    {
        QPointer<QWindow> window;
        int type;
        QPointF position, scenePosition, globalPosition;
        Qt::MouseButton button;
        Qt::MouseButtons buttons;
        Qt::KeyboardModifiers modifiers;
        const QPointingDevice *device;
        quint64 timestamp;
    };
    struct Stroke
    {
        std::vector<HeldEvent> held;
        QList<QPoint> points;
    };

    void hold(Stroke &stroke, QObject *window, const QEvent *event);
    void finishStroke(const std::shared_ptr<Stroke> &stroke);
    static void deliver(const Stroke &stroke);

    qint32 m_gestureTypes = kAllGestures;
    bool m_attached = false;
    std::shared_ptr<Stroke> m_stroke; // the stroke being drawn, if any
};
