#include "miscimages.h"

#include "glyphs.h"

#include <QPainter>
#include <QPainterPath>

namespace {

QPixmap canvas()
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

QPixmap shield(const QColor &fill, bool cross)
{
    QPixmap pixmap = canvas();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.moveTo(8, 1.5);
    path.lineTo(14, 3.5);
    path.cubicTo(14, 10, 11, 13, 8, 14.5);
    path.cubicTo(5, 13, 2, 10, 2, 3.5);
    path.closeSubpath();
    p.setPen(QPen(fill.darker(160), 1));
    p.setBrush(fill);
    p.drawPath(path);
    if (cross) {
        p.setPen(QPen(Qt::white, 1.6));
        p.drawLine(QPointF(5.5, 5), QPointF(10.5, 10));
        p.drawLine(QPointF(10.5, 5), QPointF(5.5, 10));
    }
    return pixmap;
}

} // namespace

const QList<QPixmap> &miscImageList()
{
    // The killer's three states are drawn here; the others are the frame's common glyphs.
    static const QList<QPixmap> images = {
        glyphPixmap(Glyph::Options, 16),         // 0 options
        shield(QColor(150, 150, 150), false),    // 1 killer off
        glyphPixmap(Glyph::Lock, 16),            // 2 secure page
        shield(QColor(40, 160, 70), false),      // 3 killer on
        glyphPixmap(Glyph::WebLink, 16),         // 4 typed address
        shield(QColor(210, 40, 40), true),       // 5 popup killed
        glyphPixmap(Glyph::NewPage, 16),         // 6 page
        glyphPixmap(Glyph::FullScreen, 16),      // 7 full screen
    };
    return images;
}
