#include "subwindowarrangement.h"


#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStyle>

namespace {

// Cascaded windows step down and right by a title bar each and keep the room that is left,
// but never less than half the area (the steps start over from the top then).
QList<QRect> cascadeRects(const QRect &area, int count, int step)
{
    QList<QRect> rects;
    if (count < 1 || area.isEmpty() || step < 1)
        return rects;
    const int stepsThatFit = qMin(area.width(), area.height()) / 2 / step;
    const int steps = qMin(count - 1, stepsThatFit);
    const QSize size(area.width() - steps * step, area.height() - steps * step);
    for (int i = 0; i < count; ++i) {
        const int offset = (stepsThatFit > 0 ? i % (stepsThatFit + 1) : 0) * step;
        rects.append(QRect(area.topLeft() + QPoint(offset, offset), size));
    }
    return rects;
}

void setFramed(QMdiSubWindow *sub, bool framed)
{
    const Qt::WindowFlags flags = sub->windowFlags();
    if (flags.testFlag(Qt::FramelessWindowHint) == framed)
        sub->setWindowFlags(flags ^ Qt::FramelessWindowHint);
}
} // namespace

SubWindowArrangement::SubWindowArrangement(QMdiArea *area, QObject *parent)
    : QObject(parent), m_mdiArea(area)
{
}

void SubWindowArrangement::present(QMdiSubWindow *sub)
{
    setFramed(sub, m_arranged);
    if (!m_arranged)
        sub->showMaximized();
    else if (sub->isMinimized() || sub->isMaximized())
        sub->showNormal();
    else
        sub->show();
}

QList<QMdiSubWindow *> SubWindowArrangement::visibleSubWindows() const
{
    QList<QMdiSubWindow *> visible;
    for (QMdiSubWindow *sub : m_mdiArea->subWindowList(QMdiArea::CreationOrder)) {
        if (!sub->isHidden())
            visible.append(sub);
    }
    return visible;
}

void SubWindowArrangement::arrange(
    const std::function<void(const QList<QMdiSubWindow *> &)> &placement)
{
    m_arranged = true;
    const QList<QMdiSubWindow *> visible = visibleSubWindows();
    // In the tabbed view every document is maximised. A covered one shown in its normal state
    // becomes the active one, so the active one goes first (else a covered one activated while
    // the active one is still maximised stays maximised) and is made the active one again after.
    QMdiSubWindow *active = m_mdiArea->currentSubWindow();
    QList<QMdiSubWindow *> order = visible;
    if (order.removeOne(active))
        order.prepend(active);
    for (QMdiSubWindow *sub : std::as_const(order)) {
        if (sub->isMaximized() || sub->isMinimized())
            sub->showNormal();
    }
    for (QMdiSubWindow *sub : visible)
        setFramed(sub, true);
    if (active && m_mdiArea->currentSubWindow() != active)
        m_mdiArea->setActiveSubWindow(active);
    placement(visible);
    Q_EMIT arrangementChanged();
}

void SubWindowArrangement::tileHorizontally()
{
    arrange([this](const QList<QMdiSubWindow *> &visible) {
        const QList<QRect> rects =
            tileHorizontally(m_mdiArea->viewport()->rect(), int(visible.size()));
        for (qsizetype i = 0; i < rects.size(); ++i)
            visible[i]->setGeometry(rects[i]);
    });
}

QList<QRect> SubWindowArrangement::tileHorizontally(const QRect &area, int count)
{
    QList<QRect> rects;
    if (count < 1 || area.isEmpty())
        return rects;
    // The first (height % count) windows take one pixel more, so the column is filled exactly.
    const int base = area.height() / count;
    const int extra = area.height() % count;
    int top = area.top();
    for (int i = 0; i < count; ++i) {
        const int h = base + (i < extra ? 1 : 0);
        rects.append(QRect(area.left(), top, area.width(), h));
        top += h;
    }
    return rects;
}

void SubWindowArrangement::cascade()
{
    arrange([this](const QList<QMdiSubWindow *> &visible) {
        if (visible.isEmpty())
            return;
        QMdiSubWindow *first = visible.first();
        const int step = first->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, first);
        const QList<QRect> rects =
            cascadeRects(m_mdiArea->viewport()->rect(), int(visible.size()), step);
        for (qsizetype i = 0; i < rects.size(); ++i) {
            visible[i]->setGeometry(rects[i]);
            visible[i]->raise();
        }
        if (QMdiSubWindow *active = m_mdiArea->currentSubWindow())
            active->raise();
    });
}

void SubWindowArrangement::minimizeAll()
{
    arrange([](const QList<QMdiSubWindow *> &visible) {
        for (QMdiSubWindow *sub : visible)
            sub->showMinimized();
    });
}

void SubWindowArrangement::maximizeAll()
{
    m_arranged = false;
    QMdiSubWindow *active = m_mdiArea->currentSubWindow();
    for (QMdiSubWindow *sub : visibleSubWindows()) {
        if (sub != active)
            present(sub);
    }
    // The active one last, so it stays on top.
    if (active) {
        present(active);
        m_mdiArea->setActiveSubWindow(active);
    }
    Q_EMIT arrangementChanged();
}

void SubWindowArrangement::onSubWindowStateChanged(QMdiSubWindow *sub)
{
    // A framed document maximised from its title bar takes the whole area back to the tabs.
    if (m_arranged && sub->isMaximized())
        maximizeAll();
    else
        Q_EMIT arrangementChanged();
}
