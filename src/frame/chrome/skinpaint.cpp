#include "skinpaint.h"

#include <QPainter>
#include <QWidget>

namespace SkinPaint {

bool usable(const QPixmap &picture)
{
    return !picture.isNull() && picture.width() > 0 && picture.height() > 0;
}

void tile(QPainter &painter, const QWidget *target, const QRect &rect, const QPixmap &picture)
{
    if (!usable(picture) || rect.isEmpty())
        return;
    QPoint origin = rect.topLeft();
    if (target)
        origin = target->mapTo(target->window(), origin);
    const QPoint offset(origin.x() % picture.width(), origin.y() % picture.height());
    painter.drawTiledPixmap(rect, picture,
                            QPoint(offset.x() < 0 ? offset.x() + picture.width() : offset.x(),
                                   offset.y() < 0 ? offset.y() + picture.height() : offset.y()));
}

void paintSkinBackground(const QPixmap &skin, QPainter &painter, const QWidget *target,
                         const QRect &rect, bool skip)
{
    if (!skip)
        tile(painter, target, rect, skin);
}

} // namespace SkinPaint
