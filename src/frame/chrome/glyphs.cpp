#include "glyphs.h"

#include <QIconEngine>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace {

const QColor kInk(60, 64, 76);
const QColor kPaper(252, 252, 250);
const QColor kBlue(52, 120, 214);
const QColor kGreen(46, 160, 80);
const QColor kRed(214, 58, 48);
const QColor kGold(240, 186, 40);

QBrush shade(const QColor &c, qreal top = 1, qreal bottom = 15)
{
    QLinearGradient g(0, top, 0, bottom);
    g.setColorAt(0, c.lighter(135));
    g.setColorAt(1, c.darker(110));
    return g;
}

void page(QPainter &p, const QRectF &r = QRectF(3.5, 1.5, 9, 13))
{
    QPainterPath path;
    path.moveTo(r.left(), r.top());
    path.lineTo(r.right() - 3, r.top());
    path.lineTo(r.right(), r.top() + 3);
    path.lineTo(r.right(), r.bottom());
    path.lineTo(r.left(), r.bottom());
    path.closeSubpath();
    p.setPen(QPen(kInk, 1));
    p.setBrush(kPaper);
    p.drawPath(path);
    p.drawLine(QPointF(r.right() - 3, r.top()), QPointF(r.right() - 3, r.top() + 3));
    p.drawLine(QPointF(r.right() - 3, r.top() + 3), QPointF(r.right(), r.top() + 3));
}

void lines(QPainter &p, qreal left, qreal right, qreal top, int count, qreal step = 2.5)
{
    p.setPen(QPen(QColor(150, 155, 165), 1));
    for (int i = 0; i < count; ++i)
        p.drawLine(QPointF(left, top + i * step), QPointF(right, top + i * step));
}

void arrow(QPainter &p, bool right, const QColor &c)
{
    QPainterPath path;
    if (right) {
        path.moveTo(15, 8);
        path.lineTo(9, 2);
        path.lineTo(9, 5.5);
        path.lineTo(1.5, 5.5);
        path.lineTo(1.5, 10.5);
        path.lineTo(9, 10.5);
        path.lineTo(9, 14);
    } else {
        path.moveTo(1, 8);
        path.lineTo(7, 2);
        path.lineTo(7, 5.5);
        path.lineTo(14.5, 5.5);
        path.lineTo(14.5, 10.5);
        path.lineTo(7, 10.5);
        path.lineTo(7, 14);
    }
    path.closeSubpath();
    p.setPen(QPen(c.darker(150), 1));
    p.setBrush(shade(c, 2, 14));
    p.drawPath(path);
}

void house(QPainter &p, const QColor &roof, const QString &mark = QString())
{
    QPainterPath body;
    body.addRect(QRectF(3.5, 7.5, 9, 7));
    p.setPen(QPen(kInk, 1));
    p.setBrush(QColor(246, 236, 214));
    p.drawPath(body);
    QPainterPath top;
    top.moveTo(1, 8.5);
    top.lineTo(8, 1.5);
    top.lineTo(15, 8.5);
    top.closeSubpath();
    p.setPen(QPen(roof.darker(150), 1));
    p.setBrush(shade(roof, 1, 9));
    p.drawPath(top);
    if (mark.isEmpty()) {
        p.setPen(QPen(kInk, 1));
        p.setBrush(QColor(170, 110, 60));
        p.drawRect(QRectF(6.5, 10.5, 3, 4));
    } else {
        QFont f = p.font();
        f.setPixelSize(7);
        f.setBold(true);
        p.setFont(f);
        p.setPen(roof.darker(160));
        p.drawText(QRectF(3.5, 8, 9, 7), Qt::AlignCenter, mark);
    }
}

void magnifier(QPainter &p, const QColor &glass)
{
    p.setPen(QPen(QColor(110, 80, 50), 2.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(10, 10), QPointF(14, 14));
    p.setPen(QPen(kInk, 1.4));
    p.setBrush(glass);
    p.drawEllipse(QPointF(6.5, 6.5), 4.6, 4.6);
    p.setPen(QPen(Qt::white, 1.2));
    p.drawArc(QRectF(3.5, 3.5, 5, 5), 100 * 16, 70 * 16);
}

void badge(QPainter &p, const QColor &c, const QString &letter)
{
    p.setPen(QPen(c.darker(150), 1));
    p.setBrush(shade(c, 1, 15));
    p.drawEllipse(QRectF(1, 1, 14, 14));
    QFont f = p.font();
    f.setPixelSize(10);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRectF(1, 1, 14, 14), Qt::AlignCenter, letter);
}

void window(QPainter &p, const QRectF &r, const QColor &title)
{
    p.setPen(QPen(kInk, 1));
    p.setBrush(kPaper);
    p.drawRect(r);
    p.setBrush(title);
    p.drawRect(QRectF(r.left(), r.top(), r.width(), 2.5));
}

// Files and pages: open, new, save, print, the source, form filling. False for a glyph of another family.
bool paintFileGlyph(QPainter &p, Glyph glyph)
{
    switch (glyph) {
    case Glyph::Open: {
        QPainterPath back;
        back.moveTo(1.5, 13.5);
        back.lineTo(1.5, 3.5);
        back.lineTo(5.5, 3.5);
        back.lineTo(7, 5);
        back.lineTo(12.5, 5);
        back.lineTo(12.5, 13.5);
        back.closeSubpath();
        p.setPen(QPen(QColor(150, 110, 20), 1));
        p.setBrush(QColor(236, 196, 90));
        p.drawPath(back);
        QPainterPath front;
        front.moveTo(1.5, 13.5);
        front.lineTo(4, 7.5);
        front.lineTo(15, 7.5);
        front.lineTo(12.5, 13.5);
        front.closeSubpath();
        p.setBrush(shade(kGold, 7, 14));
        p.drawPath(front);
        break;
    }
    case Glyph::NewPage:
        page(p);
        p.setPen(Qt::NoPen);
        p.setBrush(kGold);
        {
            QPainterPath star;
            for (int i = 0; i < 10; ++i) {
                const qreal a = qDegreesToRadians(-90.0 + i * 36.0);
                const qreal r = i % 2 ? 1.6 : 3.8;
                const QPointF pt(11.5 + r * qCos(a), 4.5 + r * qSin(a));
                i ? star.lineTo(pt) : star.moveTo(pt);
            }
            star.closeSubpath();
            p.setPen(QPen(QColor(180, 120, 0), 0.8));
            p.drawPath(star);
        }
        break;
    case Glyph::NewBlank:
        page(p);
        break;
    case Glyph::Save:
        p.setPen(QPen(QColor(30, 50, 110), 1));
        p.setBrush(shade(kBlue, 1, 15));
        p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 1.5, 1.5);
        p.setBrush(kPaper);
        p.drawRect(QRectF(4, 1.5, 8, 5));
        p.setBrush(QColor(200, 205, 215));
        p.drawRect(QRectF(4.5, 9.5, 7, 5));
        break;
    case Glyph::Print:
        p.setPen(QPen(kInk, 1));
        p.setBrush(kPaper);
        p.drawRect(QRectF(4.5, 1.5, 7, 5));
        p.setBrush(shade(QColor(150, 155, 170), 6, 12));
        p.drawRoundedRect(QRectF(1.5, 6.5, 13, 6), 1, 1);
        p.setBrush(kPaper);
        p.drawRect(QRectF(4.5, 10.5, 7, 4));
        p.setPen(kGreen);
        p.drawPoint(QPointF(12.5, 8.5));
        break;
    case Glyph::Source:
        page(p);
        {
            QFont f = p.font();
            f.setPixelSize(6);
            f.setBold(true);
            p.setFont(f);
            p.setPen(kBlue.darker(120));
            p.drawText(QRectF(3.5, 5, 9, 8), Qt::AlignCenter, QStringLiteral("<>"));
        }
        break;
    case Glyph::FillForm:
        p.setPen(QPen(kInk, 1));
        p.setBrush(kPaper);
        p.drawRect(QRectF(1.5, 1.5, 11, 13));
        p.setBrush(QColor(220, 228, 240));
        p.drawRect(QRectF(3.5, 3.5, 7, 2.5));
        p.drawRect(QRectF(3.5, 7.5, 7, 2.5));
        p.setPen(QPen(QColor(200, 120, 30), 2.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(9, 14), QPointF(14.5, 8.5));
        break;
    default:
        return false;
    }
    return true;
}

// Editing: the clipboard, undo, the font size, find. False for a glyph of another family.
bool paintEditGlyph(QPainter &p, Glyph glyph)
{
    switch (glyph) {
    case Glyph::Find:
        magnifier(p, QColor(200, 225, 250));
        break;
    case Glyph::Copy:
        page(p, QRectF(1.5, 1.5, 8, 10));
        page(p, QRectF(6.5, 4.5, 8, 10));
        lines(p, 8, 12.5, 9, 3, 2);
        break;
    case Glyph::Cut:
        p.setPen(QPen(QColor(120, 125, 135), 1.3));
        p.drawLine(QPointF(4, 1.5), QPointF(10.5, 10));
        p.drawLine(QPointF(12, 1.5), QPointF(5.5, 10));
        p.setPen(QPen(kRed.darker(120), 1.4));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(4.5, 12), 2.4, 2.4);
        p.drawEllipse(QPointF(11.5, 12), 2.4, 2.4);
        break;
    case Glyph::Paste:
    case Glyph::Clipboard:
        p.setPen(QPen(QColor(110, 70, 30), 1));
        p.setBrush(QColor(200, 150, 90));
        p.drawRoundedRect(QRectF(2.5, 2.5, 10, 12), 1, 1);
        p.setBrush(QColor(170, 175, 185));
        p.drawRect(QRectF(5.5, 1.5, 4, 2.5));
        if (glyph == Glyph::Paste) {
            page(p, QRectF(7.5, 6.5, 7, 8.5));
        } else {
            p.setBrush(kPaper);
            p.setPen(QPen(kInk, 1));
            p.drawRect(QRectF(4.5, 5.5, 6, 7.5));
            lines(p, 5.5, 9.5, 7.5, 3, 2);
        }
        break;
    case Glyph::FontUp:
    case Glyph::FontDown: {
        QFont f = p.font();
        f.setPixelSize(glyph == Glyph::FontUp ? 12 : 9);
        f.setBold(true);
        p.setFont(f);
        p.setPen(kInk);
        p.drawText(QRectF(0, 2, 11, 13), Qt::AlignCenter, QStringLiteral("A"));
        p.setPen(QPen(glyph == Glyph::FontUp ? kGreen : kRed, 1.6));
        p.drawLine(QPointF(10.5, 4), QPointF(15, 4));
        if (glyph == Glyph::FontUp)
            p.drawLine(QPointF(12.75, 1.75), QPointF(12.75, 6.25));
        break;
    }
    case Glyph::Undo: {
        p.setPen(QPen(kBlue.darker(110), 2.2, Qt::SolidLine, Qt::FlatCap));
        p.setBrush(Qt::NoBrush);
        QPainterPath curve;
        curve.moveTo(4, 6);
        curve.cubicTo(9, 6, 14, 6.5, 14, 10.5);
        curve.cubicTo(14, 13, 11, 14, 8, 14);
        p.drawPath(curve);
        QPainterPath head;
        head.moveTo(0.5, 6);
        head.lineTo(5.5, 1.5);
        head.lineTo(5.5, 10.5);
        head.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(kBlue.darker(110));
        p.drawPath(head);
        break;
    }
    default:
        return false;
    }
    return true;
}

// Navigation: back, forward, go, refresh, stop, the home pages, search. False for a glyph of another family.
bool paintNavigationGlyph(QPainter &p, Glyph glyph)
{
    switch (glyph) {
    case Glyph::Home:
        house(p, kRed);
        break;
    case Glyph::Home2:
        house(p, kBlue, QStringLiteral("2"));
        break;
    case Glyph::Search:
        magnifier(p, QColor(255, 236, 150));
        break;
    case Glyph::Back:
        arrow(p, false, kGreen);
        break;
    case Glyph::Forward:
        arrow(p, true, kGreen);
        break;
    case Glyph::Go:
        p.setPen(QPen(kGreen.darker(150), 1));
        p.setBrush(shade(kGreen));
        p.drawEllipse(QRectF(1, 1, 14, 14));
        {
            QPainterPath head;
            head.moveTo(12.5, 8);
            head.lineTo(8, 3.5);
            head.lineTo(8, 6.3);
            head.lineTo(3.5, 6.3);
            head.lineTo(3.5, 9.7);
            head.lineTo(8, 9.7);
            head.lineTo(8, 12.5);
            head.closeSubpath();
            p.setPen(Qt::NoPen);
            p.setBrush(Qt::white);
            p.drawPath(head);
        }
        break;
    case Glyph::Refresh: {
        p.setPen(QPen(kGreen.darker(120), 2.2, Qt::SolidLine, Qt::FlatCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(2.5, 2.5, 11, 11), 60 * 16, 280 * 16);
        QPainterPath head;
        head.moveTo(9.5, 0.5);
        head.lineTo(14, 3.5);
        head.lineTo(9.5, 6.5);
        head.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(kGreen.darker(120));
        p.drawPath(head);
        break;
    }
    case Glyph::Stop: {
        QPainterPath oct;
        for (int i = 0; i < 8; ++i) {
            const qreal a = qDegreesToRadians(22.5 + i * 45.0);
            const QPointF pt(8 + 7 * qCos(a), 8 + 7 * qSin(a));
            i ? oct.lineTo(pt) : oct.moveTo(pt);
        }
        oct.closeSubpath();
        p.setPen(QPen(kRed.darker(150), 1));
        p.setBrush(shade(kRed));
        p.drawPath(oct);
        p.setPen(QPen(Qt::white, 1.8, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(5.5, 5.5), QPointF(10.5, 10.5));
        p.drawLine(QPointF(10.5, 5.5), QPointF(5.5, 10.5));
        break;
    }
    default:
        return false;
    }
    return true;
}

// The frame and its windows: options, the lock, tiling, cascading, a new window, full
// screen. False for a glyph of another family.
bool paintWindowGlyph(QPainter &p, Glyph glyph)
{
    switch (glyph) {
    case Glyph::Options:
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
        break;
    case Glyph::Lock:
        p.setPen(QPen(QColor(120, 90, 20), 1.6));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(4.5, 1.5, 7, 8), 0, 180 * 16);
        p.drawLine(QPointF(4.5, 5.5), QPointF(4.5, 7));
        p.drawLine(QPointF(11.5, 5.5), QPointF(11.5, 7));
        p.setPen(QPen(QColor(120, 90, 20), 1));
        p.setBrush(shade(kGold, 7, 15));
        p.drawRect(QRectF(3, 7, 10, 7.5));
        break;
    case Glyph::Tile:
        window(p, QRectF(1.5, 1.5, 13, 6), kBlue);
        window(p, QRectF(1.5, 8.5, 13, 6), kBlue);
        break;
    case Glyph::Cascade:
        window(p, QRectF(1.5, 1.5, 9, 7), QColor(140, 150, 170));
        window(p, QRectF(5.5, 6.5, 9, 8), kBlue);
        break;
    case Glyph::NewWindow:
        window(p, QRectF(1.5, 3.5, 10, 11), kBlue);
        p.setPen(QPen(kGreen.darker(110), 2));
        p.drawLine(QPointF(12.5, 0.5), QPointF(12.5, 6.5));
        p.drawLine(QPointF(9.5, 3.5), QPointF(15.5, 3.5));
        break;
    case Glyph::FullScreen: {
        p.setPen(QPen(kInk, 1.6));
        const QPointF c[4][3] = {{{2, 6}, {2, 2}, {6, 2}},
                                 {{10, 2}, {14, 2}, {14, 6}},
                                 {{14, 10}, {14, 14}, {10, 14}},
                                 {{6, 14}, {2, 14}, {2, 10}}};
        for (const auto &corner : c)
            p.drawPolyline(corner, 3);
        p.setPen(QPen(kBlue, 1));
        p.setBrush(QColor(210, 225, 245));
        p.drawRect(QRectF(5.5, 5.5, 5, 5));
        break;
    }
    default:
        return false;
    }
    return true;
}

// The side bar, the sites and help: news, mail, favorites, history, the clock, feeds,
// help, contact, a web link. False for a glyph of another family.
bool paintSiteGlyph(QPainter &p, Glyph glyph)
{
    switch (glyph) {
    case Glyph::News:
        p.setPen(QPen(kInk, 1));
        p.setBrush(kPaper);
        p.drawRect(QRectF(1.5, 2.5, 13, 11));
        p.setBrush(QColor(120, 140, 180));
        p.drawRect(QRectF(3.5, 4.5, 4, 4));
        lines(p, 9, 13, 5, 2, 2.5);
        lines(p, 3.5, 13, 10.5, 2, 1.8);
        break;
    case Glyph::Mail:
        p.setPen(QPen(QColor(120, 100, 60), 1));
        p.setBrush(QColor(250, 240, 210));
        p.drawRect(QRectF(1.5, 3.5, 13, 9));
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(QPolygonF({QPointF(1.5, 3.5), QPointF(8, 9), QPointF(14.5, 3.5)}));
        break;
    case Glyph::Favorites: {
        QPainterPath star;
        for (int i = 0; i < 10; ++i) {
            const qreal a = qDegreesToRadians(-90.0 + i * 36.0);
            const qreal r = i % 2 ? 3 : 7;
            const QPointF pt(8 + r * qCos(a), 8.5 + r * qSin(a));
            i ? star.lineTo(pt) : star.moveTo(pt);
        }
        star.closeSubpath();
        p.setPen(QPen(QColor(190, 120, 0), 1));
        p.setBrush(shade(kGold));
        p.drawPath(star);
        break;
    }
    case Glyph::History:
    case Glyph::Clock:
        p.setPen(QPen(kInk, 1));
        p.setBrush(glyph == Glyph::Clock ? QColor(255, 250, 230) : QColor(230, 240, 255));
        p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
        p.setPen(QPen(glyph == Glyph::Clock ? kInk : kBlue.darker(130), 1.4, Qt::SolidLine,
                      Qt::RoundCap));
        p.drawLine(QPointF(8, 8), QPointF(8, 4));
        p.drawLine(QPointF(8, 8), QPointF(11, 9.5));
        if (glyph == Glyph::History) {
            p.setPen(QPen(kGreen, 1.4));
            p.setBrush(Qt::NoBrush);
            p.drawArc(QRectF(0.5, 0.5, 15, 15), 100 * 16, 80 * 16);
        }
        break;
    case Glyph::Help:
        p.setPen(QPen(kBlue.darker(150), 1));
        p.setBrush(shade(kBlue));
        p.drawEllipse(QRectF(1, 1, 14, 14));
        {
            QFont f = p.font();
            f.setPixelSize(11);
            f.setBold(true);
            p.setFont(f);
            p.setPen(Qt::white);
            p.drawText(QRectF(1, 1, 14, 14), Qt::AlignCenter, QStringLiteral("?"));
        }
        break;
    case Glyph::Contact:
        p.setPen(QPen(QColor(40, 90, 150), 1));
        p.setBrush(QColor(250, 220, 180));
        p.drawEllipse(QRectF(5, 1.5, 6, 6));
        p.setBrush(shade(kBlue, 8, 15));
        p.drawRoundedRect(QRectF(2.5, 8.5, 11, 6.5), 3, 3);
        break;
    case Glyph::WebLink:
        p.setPen(QPen(QColor(30, 90, 150), 1));
        p.setBrush(shade(QColor(90, 170, 230)));
        p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRectF(5, 1.5, 6, 13));
        p.drawLine(QPointF(1.5, 8), QPointF(14.5, 8));
        p.setPen(QPen(kGreen.darker(120), 1));
        p.setBrush(QColor(120, 200, 110));
        p.drawEllipse(QRectF(3, 4, 4, 3));
        break;
    case Glyph::Feed:
        p.setPen(QPen(QColor(190, 90, 10), 1));
        p.setBrush(shade(QColor(245, 140, 30)));
        p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 2.5, 2.5);
        p.setPen(QPen(Qt::white, 1.6, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(-2, 4, 14, 14), 0, 90 * 16);
        p.drawArc(QRectF(-6.5, 0, 22, 22), 0, 90 * 16);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(5, 11), 1.5, 1.5);
        break;
    default:
        return false;
    }
    return true;
}

// The search engines' badges. False for a glyph of another family.
bool paintEngineGlyph(QPainter &p, Glyph glyph)
{
    switch (glyph) {
    case Glyph::EngineG:
        badge(p, QColor(66, 133, 244), QStringLiteral("G"));
        break;
    case Glyph::EngineM:
        badge(p, QColor(0, 120, 180), QStringLiteral("M"));
        break;
    case Glyph::EngineY:
        badge(p, QColor(120, 40, 180), QStringLiteral("Y"));
        break;
    case Glyph::EngineA:
        badge(p, QColor(200, 40, 40), QStringLiteral("A"));
        break;
    case Glyph::EngineL:
        badge(p, QColor(20, 150, 200), QStringLiteral("L"));
        break;
    case Glyph::EngineW:
        badge(p, QColor(90, 90, 90), QStringLiteral("W"));
        break;
    default:
        return false;
    }
    return true;
}

void paint(QPainter &p, Glyph glyph)
{
    for (const auto family : {paintFileGlyph, paintEditGlyph, paintNavigationGlyph,
                              paintWindowGlyph, paintSiteGlyph, paintEngineGlyph}) {
        if (family(p, glyph))
            return;
    }
}

} // namespace

void paintGlyph(QPainter &painter, Glyph glyph, const QRectF &rect)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.translate(rect.topLeft());
    painter.scale(rect.width() / 16.0, rect.height() / 16.0);
    paint(painter, glyph);
    painter.restore();
}

QPixmap glyphPixmap(Glyph glyph, int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    paintGlyph(painter, glyph, QRectF(0, 0, size, size));
    return pixmap;
}

namespace {

// A glyph's menu icon, drawn (at 16 and 32 pixels) when a menu first shows it rather than
// when the menus are built at start-up, ahead of the first page.
class GlyphIconEngine : public QIconEngine
{
public:
    explicit GlyphIconEngine(Glyph glyph) : m_glyph(glyph) {}

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        drawn().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return drawn().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize &size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override
    {
        return drawn().pixmap(size, scale, mode, state);
    }
    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return drawn().actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        return drawn().availableSizes(mode, state);
    }
    bool isNull() override { return false; }
    QIconEngine *clone() const override { return new GlyphIconEngine(m_glyph); }

private:
    const QIcon &drawn()
    {
        if (m_icon.isNull()) {
            m_icon.addPixmap(glyphPixmap(m_glyph, 16));
            m_icon.addPixmap(glyphPixmap(m_glyph, 32));
        }
        return m_icon;
    }

    Glyph m_glyph;
    QIcon m_icon;
};

} // namespace

const QList<QIcon> &menuImageList()
{
    static const QList<QIcon> icons = [] {
        const Glyph order[] = {
            Glyph::Open,      Glyph::Options,   Glyph::Home,    Glyph::Find,       Glyph::NewPage,
            Glyph::Save,      Glyph::Copy,      Glyph::Cut,     Glyph::Paste,      Glyph::Back,
            Glyph::Forward,   Glyph::Refresh,   Glyph::Stop,    Glyph::Print,      Glyph::Source,
            Glyph::FontUp,    Glyph::FontDown,  Glyph::Search,  Glyph::News,       Glyph::Home2,
            Glyph::Mail,      Glyph::Favorites, Glyph::History, Glyph::FillForm,   Glyph::Lock,
            Glyph::Tile,      Glyph::Cascade,   Glyph::Clock,   Glyph::Help,       Glyph::NewBlank,
            Glyph::Clipboard, Glyph::Contact,   Glyph::WebLink, Glyph::EngineG,    Glyph::EngineM,
            Glyph::EngineY,   Glyph::Undo,      Glyph::EngineA, Glyph::FullScreen, Glyph::Feed,
            Glyph::EngineL,   Glyph::EngineW,
        };
        QList<QIcon> list;
        for (Glyph g : order)
            list << QIcon(new GlyphIconEngine(g));
        return list;
    }();
    return icons;
}
