#include "segmentedprogresspainter.h"

#include "core/storedcolor.h"
#include "core/storedvalue.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionProgressBar>
#include <QWidget>
#include <qdrawutil.h>

#include <algorithm>
#include <cstdlib>

namespace {

constexpr int kSegmentChunk = 8;
constexpr int kSegmentGap = 2;

// Text-drawing codes the alignment properties combine.
constexpr int kDtCenter = 0x1;
constexpr int kDtRight = 0x2;
constexpr int kDtVCenter = 0x4;
constexpr int kDtBottom = 0x8;

} // namespace

SegmentedProgressPainter::SegmentedProgressPainter()
    : m_font(QStringLiteral("Tahoma"), 8)
{
}

SegmentedProgressPainter::~SegmentedProgressPainter() = default;

QColor SegmentedProgressPainter::translateColor(qint32 colour)
{
    if (colour < 0)
        return storedColorToQColor(0x80000000u | (quint32(colour) & 31u));
    return storedColorToQColor(quint32(colour));
}

// ---- properties

void SegmentedProgressPainter::setSegments(bool segments)
{
    m_segments = segments;
    draw();
}

void SegmentedProgressPainter::setThemed(bool themed)
{
    m_themed = themed;
    draw();
}

void SegmentedProgressPainter::setText(const QString &text)
{
    m_text = text;
    draw();
}

void SegmentedProgressPainter::setTextAlignX(int align)
{
    m_textAlignX = align;
    draw();
}

void SegmentedProgressPainter::setTextAlignY(int align)
{
    m_textAlignY = align;
    draw();
}

void SegmentedProgressPainter::setShowText(bool show)
{
    m_showText = show;
    draw();
}

double SegmentedProgressPainter::percent() const
{
    const double span = double(m_max) - double(m_min);
    if (span == 0)
        return 0;
    return std::clamp((double(m_value) - double(m_min)) / span, 0.0, 1.0) * 100.0;
}

void SegmentedProgressPainter::setMin(qint32 min)
{
    m_min = min;
    draw();
}

void SegmentedProgressPainter::setMax(qint32 max)
{
    m_max = max;
    draw();
}

void SegmentedProgressPainter::setValue(qint32 value)
{
    m_value = value;
    draw();
}

void SegmentedProgressPainter::setBorderStyle(qint32 style)
{
    m_borderStyle = style;
    draw();
}

void SegmentedProgressPainter::setAppearance(qint32 appearance)
{
    m_appearance = appearance;
    draw();
}

void SegmentedProgressPainter::setDrawObject(QWidget *host)
{
    m_drawObject = host;
    draw();
}

void SegmentedProgressPainter::setBackColor(qint32 colour)
{
    m_backColor = colour;
    draw();
}

void SegmentedProgressPainter::setForeColor(qint32 colour)
{
    m_foreColor = colour;
    draw();
}

void SegmentedProgressPainter::setFont(const QFont &font)
{
    m_font = font;
    draw();
}

void SegmentedProgressPainter::setBarColor(qint32 colour)
{
    m_barColor = colour;
    draw();
}

void SegmentedProgressPainter::setBarForeColor(qint32 colour)
{
    m_barForeColor = colour;
    draw();
}

void SegmentedProgressPainter::setBarPicture(const QImage &picture)
{
    if (picture.isNull()) {
        m_barPicture.reset();
    } else {
        m_barPicture = std::make_unique<OffscreenCanvas>();
        m_barPicture->createFromPicture(picture);
    }
    draw();
}

void SegmentedProgressPainter::setBarPictureMode(qint32 mode)
{
    m_barPictureMode = mode;
    draw();
}

void SegmentedProgressPainter::setBackPictureMode(qint32 mode)
{
    m_backPictureMode = mode;
    draw();
}

void SegmentedProgressPainter::setPicture(const QImage &picture)
{
    if (picture.isNull()) {
        m_backPicture.reset();
    } else {
        m_backPicture = std::make_unique<OffscreenCanvas>();
        m_backPicture->createFromPicture(picture);
    }
    draw();
}

// ---- drawing

void SegmentedProgressPainter::draw()
{
    if (m_drawObject)
        m_drawObject->update();
}

void SegmentedProgressPainter::draw(QPainter &painter)
{
    if (!m_drawObject)
        return;
    const QRect r = m_drawObject->rect();
    drawInto(painter, r.x(), r.y(), r.x() + r.width(), r.y() + r.height());
}

int SegmentedProgressPainter::textFlags() const
{
    const int codes = m_textAlignY * 4 | m_textAlignX;
    int flags = Qt::TextSingleLine;
    if (codes & kDtCenter)
        flags |= Qt::AlignHCenter;
    else if (codes & kDtRight)
        flags |= Qt::AlignRight;
    else
        flags |= Qt::AlignLeft;
    if (codes & kDtVCenter)
        flags |= Qt::AlignVCenter;
    else if (codes & kDtBottom)
        flags |= Qt::AlignBottom;
    else
        flags |= Qt::AlignTop;
    return flags;
}

void SegmentedProgressPainter::blitPicture(QPainter &painter, int x, int y, int width, int height,
                               const QImage &picture, int offsetX, int offsetY)
{
    const int pw = picture.width();
    const int ph = picture.height();
    if (pw <= 0 || ph <= 0 || width <= 0 || height <= 0)
        return;
    // Tiles line up with (-offsetX, -offsetY); the first row and column start inside a tile.
    int srcY = (((y + offsetY) % ph) + ph) % ph;
    for (int ty = y; ty < y + height;) {
        const int h = std::min(ph - srcY, y + height - ty);
        int srcX = (((x + offsetX) % pw) + pw) % pw;
        for (int tx = x; tx < x + width;) {
            const int w = std::min(pw - srcX, x + width - tx);
            painter.drawImage(QPoint(tx, ty), picture, QRect(srcX, srcY, w, h));
            tx += w;
            srcX = 0;
        }
        ty += h;
        srcY = 0;
    }
}

void SegmentedProgressPainter::drawPicture(QPainter &painter, const QRect &rect, const OffscreenCanvas &picture,
                               qint32 mode) const
{
    const QImage &image = picture.image();
    if (image.isNull())
        return;
    if (mode == 1)
        blitPicture(painter, rect.x(), rect.y(), rect.width(), rect.height(), image, 0, 0);
    else
        painter.drawImage(rect, image, QRect(0, 0, picture.width(), picture.height()));
}

void SegmentedProgressPainter::drawBorder(QPainter &painter, qint32 style, const Edges &r, bool raised)
{
    const int l = r.left, t = r.top, ri = r.right, b = r.bottom;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    switch (style) {
    case 0:
        painter.setPen(QPen(Qt::black, 0));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(l, t, ri - 1 - l, b - 1 - t);
        break;
    case 1: {
        const QColor shadow = storedColorToQColor(kSysColorButtonShadow);
        const QColor highlight = storedColorToQColor(kSysColor3DHighlight);
        if (raised) {
            painter.setPen(QPen(highlight, 0));
            painter.drawLine(l, b - 2, l, t + 1);
            painter.drawLine(l, t, ri - 2, t);
            painter.setPen(QPen(shadow, 0));
            painter.drawLine(ri - 1, t, ri - 1, b - 2);
            painter.drawLine(ri - 1, b - 1, l, b - 1);
        } else {
            painter.setPen(QPen(shadow, 0));
            painter.drawLine(l, b - 1, l, t + 1);
            painter.drawLine(l, t, ri - 1, t);
            painter.setPen(QPen(highlight, 0));
            painter.drawLine(ri - 1, t + 1, ri - 1, b - 2);
            painter.drawLine(ri - 1, b - 1, l + 1, b - 1);
        }
        break;
    }
    case 2:
        qDrawWinPanel(&painter, r.rect(), QApplication::palette(), !raised);
        break;
    default:
        break;
    }
    painter.restore();
}

// How one drawing looks: the style that draws it (none for the flat look), its option, and the
// chunks and gaps of a stepped bar.
struct SegmentedProgressPainter::Look
{
    QStyle *style = nullptr;
    QStyleOptionProgressBar option;
    bool themed = false;
    int chunk = 0;
    int gap = 0;
};

void SegmentedProgressPainter::drawInto(QPainter &target, int left, int top, int right, int bottom)
{
    const int width = std::abs(right - left);
    const int height = std::abs(bottom - top);
    if (width == 0 || height == 0)
        return;

    // Render off-screen when a picture can be had, else straight onto the target.
    QImage *memory = m_canvas.surface(width, height);
    QPainter offscreen;
    QPainter *p = &target;
    Edges r{left, top, right, bottom};
    if (memory) {
        offscreen.begin(memory);
        offscreen.setCompositionMode(QPainter::CompositionMode_Source);
        offscreen.fillRect(0, 0, width, height, Qt::transparent);
        offscreen.setCompositionMode(QPainter::CompositionMode_SourceOver);
        p = &offscreen;
        r = Edges{0, 0, width, height};
    } else {
        target.save();
    }

    paintProgress(*p, r, width > height);

    if (memory) {
        offscreen.end();
        target.drawImage(QPoint(std::min(left, right), std::min(top, bottom)), *memory,
                         QRect(0, 0, width, height));
    } else {
        target.restore();
    }
}

void SegmentedProgressPainter::paintProgress(QPainter &painter, const Edges &r,
                                             bool horizontal) const
{
    Look look;
    if (m_themed) {
        if (m_drawObject)
            look.style = m_drawObject->style();
        else if (qobject_cast<QApplication *>(QCoreApplication::instance()))
            look.style = QApplication::style();
    }
    QStyleOptionProgressBar &option = look.option;
    if (m_drawObject)
        option.initFrom(m_drawObject);
    else
        option.palette = QApplication::palette();
    option.state |= QStyle::State_Horizontal;
    if (!horizontal)
        option.state &= ~QStyle::State_Horizontal;
    option.minimum = 0;
    option.maximum = 100;
    option.progress = int(percent());

    // Background.
    if (!m_backPicture) {
        if (look.style) {
            const int chunkSize =
                look.style->pixelMetric(QStyle::PM_ProgressBarChunkWidth, &option, m_drawObject);
            if (chunkSize > 0) {
                look.chunk = chunkSize;
                look.gap = 0;
                option.rect = r.rect();
                look.style->drawControl(QStyle::CE_ProgressBarGroove, &option, &painter,
                                        m_drawObject);
                look.themed = true;
            }
        }
        if (!look.themed)
            painter.fillRect(r.rect(), translateColor(m_backColor));
    } else {
        drawPicture(painter, r.rect(), *m_backPicture, m_backPictureMode);
    }

    if (m_segments && !look.themed) {
        look.chunk = kSegmentChunk;
        look.gap = kSegmentGap;
    }
    const int step = look.chunk + look.gap;
    const bool stepped = (m_segments || look.themed) && step > 0;

    const Edges border = r;
    Edges inner = r;
    if (m_borderStyle > 0) {
        const int inset = look.themed ? 1 : (m_appearance == 2 ? 2 : 1);
        inner = Edges{r.left + inset, r.top + inset, r.right - inset, r.bottom - inset};
    }

    if (!m_text.isEmpty() && m_showText && !look.themed) {
        painter.setFont(m_font);
        painter.setPen(translateColor(m_foreColor));
        painter.drawText(inner.rect(), textFlags(), QLatin1Char(' ') + m_text + QLatin1Char(' '));
    }

    const Edges bar = filledEdges(inner, horizontal, stepped ? step : 0);
    paintFill(painter, r, inner, bar, look, horizontal);

    if (!look.themed && (m_borderStyle == 1 || m_borderStyle == 2)) {
        const bool raised = m_borderStyle == 2;
        drawBorder(painter, m_appearance, (raised && m_appearance == 1) ? inner : border, raised);
    }
}

SegmentedProgressPainter::Edges SegmentedProgressPainter::filledEdges(const Edges &inner,
                                                                      bool horizontal,
                                                                      int step) const
{
    const double fraction = percent() / 100.0;
    Edges bar = inner;
    if (!horizontal) {
        bar.top = int(StoredValue::roundHalfEven((inner.bottom - inner.top) * (1.0 - fraction) +
                                               inner.top));
        if (step > 0) {
            int filled = bar.bottom - bar.top;
            filled -= filled % step;
            bar.top = bar.bottom - filled;
        }
        bar.top = std::min(bar.top, inner.bottom);
    } else {
        bar.right = int(StoredValue::roundHalfEven((inner.right - inner.left) * fraction +
                                                 inner.left));
        if (step > 0) {
            int filled = bar.right - bar.left;
            filled -= filled % step;
            bar.right = bar.left + filled;
        }
        bar.right = std::max(bar.right, inner.left);
    }
    return bar;
}

void SegmentedProgressPainter::paintFill(QPainter &painter, const Edges &r, const Edges &inner,
                                         const Edges &bar, Look &look, bool horizontal) const
{
    const bool themed = look.themed;
    const int chunk = look.chunk;
    const int gap = look.gap;
    const int step = chunk + gap;
    QPainter *p = &painter;
    p->save();
    if (!themed)
        p->setClipRect(bar.rect(), Qt::IntersectClip);

    if (!m_barPicture) {
        if (themed) {
            if (bar.right > bar.left && bar.bottom > bar.top) {
                look.option.rect = bar.rect();
                look.style->drawPrimitive(QStyle::PE_IndicatorProgressChunk, &look.option, p,
                                          m_drawObject);
            }
        } else {
            p->fillRect(bar.rect(), translateColor(m_barColor));
        }
    } else {
        drawPicture(*p, r.rect(), *m_barPicture, m_barPictureMode);
    }

    if (m_segments && !themed && step > 0) {
        const QColor back = translateColor(m_backColor);
        if (horizontal) {
            for (int x = bar.left + chunk; x < bar.right; x += step)
                p->fillRect(QRect(x, inner.top, gap, inner.bottom - inner.top), back);
        } else {
            // Chunks stack up from the bottom; a gap sits above each chunk.
            for (int y = bar.bottom; y >= bar.top + chunk; y -= step)
                p->fillRect(QRect(inner.left, y - chunk - gap, inner.right - inner.left, gap),
                            back);
        }
    }

    if (!m_text.isEmpty() && m_showText) {
        p->setFont(m_font);
        if (themed) {
            p->setPen(look.option.palette.color(QPalette::Text));
            p->drawText(inner.rect().adjusted(1, 0, -1, 0), textFlags(), m_text);
        } else {
            p->setPen(translateColor(m_barForeColor));
            p->drawText(inner.rect(), textFlags(), QLatin1Char(' ') + m_text + QLatin1Char(' '));
        }
    }
    p->restore();
}
