#include "repaintbatcher.h"

#include <QWidget>

void RepaintBatcher::hold(QWidget *widget)
{
    if (!widget)
        return;
    QWidget *window = widget->window();
    auto *batcher = window->findChild<RepaintBatcher *>(QString(), Qt::FindDirectChildrenOnly);
    if (!batcher)
        batcher = new RepaintBatcher(window);
    batcher->add(widget);
}

RepaintBatcher::RepaintBatcher(QWidget *window) : QObject(window)
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(kIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &RepaintBatcher::release);
}

RepaintBatcher::~RepaintBatcher()
{
    release();
}

void RepaintBatcher::add(QWidget *widget)
{
    if (!widget->isVisible() || !widget->updatesEnabled())
        return;
    widget->setUpdatesEnabled(false);
    m_held.append(widget);
    if (!m_timer.isActive())
        m_timer.start();
}

void RepaintBatcher::release()
{
    m_timer.stop();
    const QList<QPointer<QWidget>> held = std::exchange(m_held, {});
    for (const QPointer<QWidget> &widget : held) {
        if (widget)
            widget->setUpdatesEnabled(true); // repaints it
    }
}
