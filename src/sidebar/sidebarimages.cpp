#include "sidebarimages.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QtMath>

#include <array>
#include <cmath>

namespace SidebarImages {

namespace {

// The feed sign: an orange tile with a dot and two arcs.
void drawFeed(QPainter &p, const QRectF &r)
{
    p.setPen(QPen(QColor(0xb8, 0x5a, 0x0d), 1));
    p.setBrush(QColor(0xf2, 0x8c, 0x28));
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 2, 2);
    p.setPen(QPen(Qt::white, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    const QPointF origin(r.left() + r.width() * 0.25, r.bottom() - r.height() * 0.25);
    p.setBrush(Qt::white);
    p.drawEllipse(origin, 1.1, 1.1);
    p.setBrush(Qt::NoBrush);
    for (double radius : {r.width() * 0.33, r.width() * 0.58}) {
        const QRectF arc(origin.x() - radius, origin.y() - radius, 2 * radius, 2 * radius);
        p.drawArc(arc, 0, 90 * 16);
    }
}

// A small star in the top right corner: something new.
void drawNewMark(QPainter &p)
{
    QPainterPath star;
    const QPointF c(12.5, 3.5);
    for (int i = 0; i < 10; ++i) {
        const double radius = (i % 2) ? 1.4 : 3.4;
        const double angle = M_PI / 5 * i - M_PI / 2;
        const QPointF point(c.x() + radius * std::cos(angle), c.y() + radius * std::sin(angle));
        i ? star.lineTo(point) : star.moveTo(point);
    }
    star.closeSubpath();
    p.setPen(QPen(QColor(0x9a, 0x6a, 0x00), 0.8));
    p.setBrush(QColor(0xff, 0xd7, 0x1a));
    p.drawPath(star);
}

void drawHeart(QPainter &p, const QColor &color)
{
    QPainterPath heart;
    heart.moveTo(8, 14);
    heart.cubicTo(1, 9, 1, 3, 4.5, 3);
    heart.cubicTo(6.5, 3, 8, 5, 8, 5);
    heart.cubicTo(8, 5, 9.5, 3, 11.5, 3);
    heart.cubicTo(15, 3, 15, 9, 8, 14);
    p.setPen(QPen(color.darker(150), 1));
    p.setBrush(color);
    p.drawPath(heart);
}

QPixmap draw(int index)
{
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF full(0, 0, kSize, kSize);
    switch (index) {
    case 0: { // Fav: a gold star
        QPainterPath star;
        for (int i = 0; i < 10; ++i) {
            const double radius = (i % 2) ? 3.2 : 7.2;
            const double angle = M_PI / 5 * i - M_PI / 2;
            const QPointF point(8 + radius * std::cos(angle), 8.5 + radius * std::sin(angle));
            i ? star.lineTo(point) : star.moveTo(point);
        }
        star.closeSubpath();
        p.setPen(QPen(QColor(0xa0, 0x70, 0x00), 1));
        p.setBrush(QColor(0xff, 0xc8, 0x20));
        p.drawPath(star);
        break;
    }
    case 1: // History: a clock
        p.setPen(QPen(QColor(0x2a, 0x55, 0x9a), 1.2));
        p.setBrush(Qt::white);
        p.drawEllipse(full.adjusted(1.5, 1.5, -1.5, -1.5));
        p.drawLine(QPointF(8, 8), QPointF(8, 4));
        p.drawLine(QPointF(8, 8), QPointF(11, 9.5));
        break;
    case 2: // QNotes: a yellow note with lines
        p.setPen(QPen(QColor(0x9a, 0x8a, 0x20), 1));
        p.setBrush(QColor(0xff, 0xf3, 0x8a));
        p.drawRect(QRectF(2.5, 1.5, 11, 13));
        for (double y : {5.0, 8.0, 11.0})
            p.drawLine(QPointF(4.5, y), QPointF(11.5, y));
        break;
    case 3: // fopen: an open folder
        p.setPen(QPen(QColor(0xa0, 0x7a, 0x20), 1));
        p.setBrush(QColor(0xf5, 0xd0, 0x6a));
        p.drawRect(QRectF(1.5, 4.5, 12, 9));
        p.setBrush(QColor(0xfb, 0xe3, 0x9a));
        p.drawPolygon(QPolygonF({QPointF(3.5, 7.5), QPointF(15.5, 7.5), QPointF(13.5, 13.5),
                                 QPointF(1.5, 13.5)}));
        break;
    case 4: // HistItem: a page
        p.setPen(QPen(QColor(0x60, 0x60, 0x60), 1));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(3.5, 1.5, 9, 13));
        p.drawLine(QPointF(5.5, 5), QPointF(10.5, 5));
        p.drawLine(QPointF(5.5, 8), QPointF(10.5, 8));
        break;
    case 5: // feed
        drawFeed(p, QRectF(2, 2, 12, 12));
        break;
    case 6: // feedchannelnew
        drawFeed(p, QRectF(0, 2, 13, 13));
        drawNewMark(p);
        break;
    case 7: // feedchannel
        drawFeed(p, QRectF(0, 2, 13, 13));
        break;
    case 8: // feednew
        drawFeed(p, QRectF(1, 3, 12, 12));
        drawNewMark(p);
        break;
    case 9: // heart
        drawHeart(p, QColor(0xe0, 0x30, 0x40));
        break;
    case 10: // heartsec: a heart with a lock
        drawHeart(p, QColor(0xe0, 0x30, 0x40));
        p.setPen(QPen(QColor(0x40, 0x40, 0x40), 1));
        p.setBrush(QColor(0xd0, 0xb0, 0x30));
        p.drawRect(QRectF(9.5, 9.5, 6, 5));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(10.5, 6.5, 4, 6), 0, 180 * 16);
        break;
    case 11: { // soccer: a ball
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(Qt::white);
        p.drawEllipse(full.adjusted(1.5, 1.5, -1.5, -1.5));
        p.setBrush(Qt::black);
        QPolygonF pentagon;
        for (int i = 0; i < 5; ++i) {
            const double angle = 2 * M_PI / 5 * i - M_PI / 2;
            pentagon << QPointF(8 + 2.6 * std::cos(angle), 8 + 2.6 * std::sin(angle));
        }
        p.drawPolygon(pentagon);
        break;
    }
    default:
        break;
    }
    return pixmap;
}

} // namespace

const QStringList &keys()
{
    static const QStringList keys = {QStringLiteral("Fav"),         QStringLiteral("History"),
                                     QStringLiteral("QNotes"),      QStringLiteral("fopen"),
                                     QStringLiteral("HistItem"),    QStringLiteral("feed"),
                                     QStringLiteral("feedchannelnew"), QStringLiteral("feedchannel"),
                                     QStringLiteral("feednew"),     QStringLiteral("heart"),
                                     QStringLiteral("heartsec"),    QStringLiteral("soccer")};
    return keys;
}

int index(const QString &key)
{
    return int(keys().indexOf(key));
}

QIcon icon(int index)
{
    static std::array<QIcon, 12> icons;
    if (index < 0 || index >= int(icons.size()))
        return QIcon();
    if (icons[index].isNull())
        icons[index] = QIcon(draw(index));
    return icons[index];
}

QIcon icon(const QString &key)
{
    return icon(index(key));
}

} // namespace SidebarImages
