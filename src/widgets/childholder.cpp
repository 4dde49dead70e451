#include "childholder.h"

#include <QEvent>

ChildHolder::ChildHolder(QWidget *child, Width width, QWidget *parent)
    : QWidget(parent), m_child(child), m_width(width)
{
    setSizePolicy(child->sizePolicy());
    child->setParent(this);
}

QSize ChildHolder::hintNow() const
{
    const QSize hint = m_child->sizeHint();
    return {m_width == Width::Child ? hint.width() : m_child->minimumSizeHint().width(), hint.height()};
}

QSize ChildHolder::sizeHint() const
{
    m_reportedHint = hintNow();
    return m_reportedHint;
}

QSize ChildHolder::minimumSizeHint() const
{
    m_reportedMinimum = m_child->minimumSizeHint();
    return m_reportedMinimum;
}

bool ChildHolder::event(QEvent *event)
{
    // The child has no layout around it: its requests come here as events, and none come
    // while the holder is hidden, so a change made meanwhile is looked for when it shows.
    if ((event->type() == QEvent::LayoutRequest || event->type() == QEvent::Show) &&
        (hintNow() != m_reportedHint || m_child->minimumSizeHint() != m_reportedMinimum))
        updateGeometry();
    return QWidget::event(event);
}

void ChildHolder::resizeEvent(QResizeEvent *event)
{
    m_child->setGeometry(rect());
    QWidget::resizeEvent(event);
}
