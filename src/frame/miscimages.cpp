#include "miscimages.h"

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

const QList<QPixmap> &MiscImageList()
{
    static const QList<QPixmap> images = [] {
        QList<QPixmap> list;
        { // 0 options: a cog
            QPixmap pixmap = canvas();
            QPainter p(&pixmap);
            p.setRenderHint(QPainter::Antialiasing);
            p.setPen(QPen(QColor(80, 80, 90), 2.2));
            for (int i = 0; i < 8; ++i) {
                p.save();
                p.translate(8, 8);
                p.rotate(i * 45);
                p.drawLine(QPointF(0, 4), QPointF(0, 6.8));
                p.restore();
            }
            p.setBrush(QColor(150, 150, 165));
            p.setPen(QPen(QColor(80, 80, 90), 1));
            p.drawEllipse(QPointF(8, 8), 4.2, 4.2);
            p.setBrush(Qt::white);
            p.drawEllipse(QPointF(8, 8), 1.6, 1.6);
            list << pixmap;
        }
        list << shield(QColor(150, 150, 150), false); // 1 killer off
        { // 2 secure: a padlock
            QPixmap pixmap = canvas();
            QPainter p(&pixmap);
            p.setRenderHint(QPainter::Antialiasing);
            p.setPen(QPen(QColor(120, 90, 20), 1.6));
            p.setBrush(Qt::NoBrush);
            p.drawArc(QRectF(4.5, 1.5, 7, 8), 0, 180 * 16);
            p.drawLine(QPointF(4.5, 5.5), QPointF(4.5, 7));
            p.drawLine(QPointF(11.5, 5.5), QPointF(11.5, 7));
            p.setPen(QPen(QColor(120, 90, 20), 1));
            p.setBrush(QColor(235, 190, 60));
            p.drawRect(QRectF(3, 7, 10, 7.5));
            list << pixmap;
        }
        list << shield(QColor(40, 160, 70), false); // 3 killer on
        { // 4 typed address: a page with a link
            QPixmap pixmap = canvas();
            QPainter p(&pixmap);
            p.setPen(QColor(90, 90, 90));
            p.setBrush(Qt::white);
            p.drawRect(QRectF(3.5, 1.5, 9, 13));
            p.setPen(QPen(QColor(40, 90, 200), 1.4));
            p.drawLine(QPointF(5, 8), QPointF(11, 8));
            list << pixmap;
        }
        list << shield(QColor(210, 40, 40), true); // 5 popup killed
        { // 6 page
            QPixmap pixmap = canvas();
            QPainter p(&pixmap);
            p.setPen(QColor(90, 90, 90));
            p.setBrush(Qt::white);
            p.drawRect(QRectF(3.5, 1.5, 9, 13));
            list << pixmap;
        }
        { // 7 full screen: four corners
            QPixmap pixmap = canvas();
            QPainter p(&pixmap);
            p.setPen(QPen(QColor(60, 60, 70), 1.6));
            const QPointF c[4][3] = {{{2, 6}, {2, 2}, {6, 2}},
                                     {{10, 2}, {14, 2}, {14, 6}},
                                     {{14, 10}, {14, 14}, {10, 14}},
                                     {{6, 14}, {2, 14}, {2, 10}}};
            for (const auto &corner : c)
                p.drawPolyline(corner, 3);
            list << pixmap;
        }
        return list;
    }();
    return images;
}
