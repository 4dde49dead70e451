#include "mousegesturerecognizer.h"

#include "core/storedvalue.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QWindow>

#include <cstdlib>

MouseGestureRecognizer::MouseGestureRecognizer(QObject *parent)
    : QObject(parent)
{
}

MouseGestureRecognizer::~MouseGestureRecognizer()
{
    detach();
}

void MouseGestureRecognizer::attach()
{
    if (m_attached || !QCoreApplication::instance())
        return;
    QCoreApplication::instance()->installEventFilter(this);
    m_attached = true;
}

void MouseGestureRecognizer::detach()
{
    if (!m_attached)
        return;
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(this);
    m_attached = false;
    if (m_stroke) {
        deliver(*m_stroke);
        m_stroke.reset();
    }
}

// ---- recognition

qint32 MouseGestureRecognizer::recognizeStroke(const QList<QPoint> &points)
{
    if (points.isEmpty())
        return 0;
    const QPoint first = points.first();
    const QPoint last = points.last();
    const int dx = first.x() - last.x();
    const int dy = first.y() - last.y();
    bool up = false, down = false, right = false, left = false;
    if (std::abs(dy) > kDeadZone)
        (dy > 0 ? up : down) = true;
    if (std::abs(dx) > kDeadZone)
        (dx > 0 ? left : right) = true;

    const bool vertical = up || down;
    const bool horizontal = left || right;
    if (vertical && horizontal) {
        const double adx = std::abs(dx);
        const double ady = std::abs(dy);
        if (adx > ady) {
            if (adx / ady > kDominance)
                up = down = false;
        } else if (ady / adx > kDominance) {
            left = right = false;
        }
    }

    if ((up || down) && (left || right))
        return strokeDirection(points, up, down, right, left);
    if (left || right)
        return right ? kRight : kLeft;
    if (up || down)
        return up ? kUp : kDown;
    return 0;
}

qint32 MouseGestureRecognizer::strokeDirection(const QList<QPoint> &points, bool up, bool down,
                                       bool right, bool left)
{
    if (points.isEmpty())
        return 0;
    const QPoint first = points.first();
    const QPoint last = points.last();
    const double x1 = first.x(), y1 = first.y();
    const double x2 = last.x(), y2 = last.y();
    int below = 0;
    int above = 0;
    for (const QPoint &p : points) {
        // Height of the chord from the first to the last point at this x; points on the
        // chord count as above.
        const double chord =
            x1 == x2 ? y1 : StoredValue::roundHalfEven(y1 + (y1 - y2) * (p.x() - x1) / (x1 - x2));
        if (p.y() > chord)
            ++below;
        else
            ++above;
    }
    const bool moreBelow = below > above;
    if (up && right)
        return moreBelow ? kRightUp : kUpRight;
    if (up && left)
        return moreBelow ? kLeftUp : kUpLeft;
    if (down && right)
        return moreBelow ? kDownRight : kRightDown;
    if (down && left)
        return moreBelow ? kDownLeft : kLeftDown;
    return 0;
}

// ---- the filter

void MouseGestureRecognizer::hold(Stroke &stroke, QObject *window, const QEvent *event)
{
    const auto *mouse = static_cast<const QMouseEvent *>(event);
    stroke.held.push_back(HeldEvent{qobject_cast<QWindow *>(window), int(event->type()),
                                    mouse->position(), mouse->scenePosition(),
                                    mouse->globalPosition(), mouse->button(), mouse->buttons(),
                                    mouse->modifiers(), mouse->pointingDevice(),
                                    mouse->timestamp()});
}

bool MouseGestureRecognizer::eventFilter(QObject *watched, QEvent *event)
{
    // Mouse input from the window system reaches a window first and the window hands it on
    // to its widgets: watching windows sees every click once, wherever it lands. Events that
    // code sends on to other windows (a view forwarding to its own off-screen window, the
    // events handed back below) are not spontaneous and are left alone.
    // The event is looked at before the object: the filter also sees events sent to objects
    // that are still being built or torn down, which must not be touched.
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick
        && type != QEvent::MouseButtonRelease && type != QEvent::MouseMove)
        return false;
    if (!event->spontaneous() || !watched->isWindowType())
        return false;
    const auto *mouse = static_cast<const QMouseEvent *>(event);

    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        if (m_stroke) {
            if (mouse->button() == Qt::RightButton) {
                hold(*m_stroke, watched, event);
                return true;
            }
            // Another button joined in: no gesture; the held press goes on its way.
            deliver(*m_stroke);
            m_stroke.reset();
            return false;
        }
        if (type != QEvent::MouseButtonPress || mouse->button() != Qt::RightButton
            || (mouse->buttons() & ~Qt::MouseButtons(Qt::RightButton)) || m_gestureTypes <= 0)
            return false;
        m_stroke = std::make_shared<Stroke>();
        hold(*m_stroke, watched, event);
        m_stroke->points.append(mouse->globalPosition().toPoint());
        return true;

    case QEvent::MouseMove:
        if (m_stroke && (mouse->buttons() & Qt::RightButton))
            m_stroke->points.append(mouse->globalPosition().toPoint());
        return false;

    case QEvent::MouseButtonRelease: {
        if (!m_stroke || mouse->button() != Qt::RightButton)
            return false;
        hold(*m_stroke, watched, event);
        m_stroke->points.append(mouse->globalPosition().toPoint());
        std::shared_ptr<Stroke> stroke = std::move(m_stroke);
        m_stroke.reset();
        QMetaObject::invokeMethod(
            this, [this, stroke] { finishStroke(stroke); }, Qt::QueuedConnection);
        return true;
    }
    default:
        return false;
    }
}

void MouseGestureRecognizer::finishStroke(const std::shared_ptr<Stroke> &stroke)
{
    const qint32 code = recognizeStroke(stroke->points);
    bool accept = false;
    if (code != 0 && m_gestureTypes > 0 && (code & m_gestureTypes)) {
        const QPoint first = stroke->points.first();
        const QPoint last = stroke->points.last();
        emit gestureRecognized(code, first.x(), first.y(), last.x(), last.y(), accept);
    }
    if (!accept)
        deliver(*stroke);
}

void MouseGestureRecognizer::deliver(const Stroke &stroke)
{
    // Posted in their order, behind whatever the event loop already holds; posted events are
    // not spontaneous, so the filter lets them pass.
    for (const HeldEvent &held : stroke.held) {
        if (!held.window)
            continue;
        auto *event = new QMouseEvent(QEvent::Type(held.type), held.position,
                                      held.scenePosition, held.globalPosition, held.button,
                                      held.buttons, held.modifiers, held.device);
        event->setTimestamp(held.timestamp);
        QCoreApplication::postEvent(held.window, event);
    }
}
