#include "progresspainter.h"

#include "core/storedcolor.h"
#include "core/storedvalue.h"
#include "core/numberederror.h"

#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

const QColor kBodyColour(204, 204, 255);    // 0xFFCCCC
const QColor kGradientStart(255, 255, 255); // 0xFFFFFF
const QColor kGradientEnd(106, 106, 181);   // 0xB56A6A
constexpr quint8 kCaptionAlpha = 128;
constexpr quint32 kLastSystemColour = 30; // the menu bar

int toChannel(float value)
{
    return std::clamp(int(StoredValue::roundHalfEven(double(value * 255.0f))), 0, 255);
}

} // namespace

ProgressPainter::ProgressPainter()
    : m_font(QStringLiteral("Tahoma"))
{
    m_font.setPointSizeF(8.25);
}

ProgressPainter::~ProgressPainter() = default;

qint32 ProgressPainter::translateColor(quint32 colour)
{
    if (colour & 0x80000000u) {
        if ((colour & 0x7FFFFFFFu) > kLastSystemColour)
            return -1;
        return qint32(qColorToStoredColor(storedColorToQColor(colour)));
    }
    if (colour >> 24)
        return -1;
    return qint32(colour);
}

void ProgressPainter::setWidth(int width)
{
    if (m_autoSize)
        throw NumberedError(kErrInvalidObjectUse, QLatin1String(kProgramFileName),
                            QStringLiteral("Invalid object use"));
    m_width = width;
    refresh();
}

void ProgressPainter::setMinWidth(int minWidth)
{
    if (m_minWidth == minWidth && rendered())
        return;
    m_minWidth = minWidth;
    if (m_autoSize)
        refresh();
}

void ProgressPainter::setValue(qint32 value)
{
    m_value = value;
    const double span = double(m_max) - double(m_min);
    float percent = 0;
    if (span >= 1)
        percent = float(std::clamp((double(value) - double(m_min)) / span, 0.0, 1.0));
    if (percent == m_percent && rendered())
        return;
    m_percent = percent;
    refresh();
}

QString ProgressPainter::caption() const
{
    QString caption = m_text;
    if (m_showPercentage) {
        const bool withText = !m_text.isEmpty();
        if (withText)
            caption += QLatin1String(" (");
        caption += QString::number(qint64(std::round(double(m_percent) * 100.0)));
        caption += QLatin1Char('%');
        if (withText)
            caption += QLatin1Char(')');
    }
    return caption;
}

int ProgressPainter::drawingWidth() const
{
    return m_autoSize ? std::max(m_width, m_minWidth) : m_width;
}

void ProgressPainter::draw(QPainter &painter, int left, int top, int width, int height,
                          int alpha) const
{
    if (width == -1)
        width = drawingWidth();
    if (height == -1)
        height = m_height;
    if (alpha >= 255)
        m_section.paintPicture(painter, left, top, width, height, 0, 0,
                               QPainter::CompositionMode_Source);
    else
        m_section.alphaPaintPicture(painter, left, top, width, height, 0, 0,
                                    quint8(std::max(alpha, 0)));
}

void ProgressPainter::refresh()
{
    const QString caption = this->caption();
    // Measured in the font the caption is drawn in, so it always fits.
    if (m_autoSize)
        m_width = QFontMetrics(m_font).horizontalAdvance(caption) + 4;
    const int width = drawingWidth();
    const int height = m_height;
    if (width <= 0 || height <= 0) {
        m_section.clearUp();
        return;
    }
    // The picture always has the drawn size, so the frame and tint follow the bar.
    if (m_section.width() != width || m_section.height() != height) {
        if (!m_section.create(width, height))
            return;
    }

    const float percent = std::clamp(m_percent, 0.0f, 1.0f);
    const int doneRight = int(StoredValue::roundHalfEven(double(percent) * (width - 2)));
    {
        QPainter painter(m_section.surface());
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.fillRect(0, 0, width, height, kBodyColour);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        painter.setPen(storedColorToQColor(kSysColorButtonFace));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(0, 0, width - 1, height - 1);
        if (doneRight > 2 && height > 4) {
            // The first column takes the start colour and the last one the end colour.
            QLinearGradient gradient(2.5, 0, std::max(doneRight - 0.5, 3.5), 0);
            gradient.setColorAt(0, kGradientStart);
            gradient.setColorAt(1, kGradientEnd);
            painter.fillRect(QRect(2, 2, doneRight - 2, height - 4), gradient);
        }
        if (!caption.isEmpty() && width > 3 && height > 4) {
            AlphaBitmap captionSection;
            if (captionSection.create(width - 3, height - 4)) {
                {
                    QPainter text(captionSection.surface());
                    text.setPen(Qt::white);
                    text.setFont(m_font);
                    text.drawText(QRect(2, 2, width - 3, height - 4),
                                  Qt::AlignCenter | Qt::TextSingleLine, caption);
                }
                captionSection.alphaPaintPicture(painter, 1, 1, -1, -1, 0, 0, kCaptionAlpha);
            }
        }
    }
    tint(doneRight);
}

void ProgressPainter::tint(int doneRight)
{
    float h0, s0, l0;
    rgbToHls(204, 204, 255, h0, s0, l0);
    const int width = m_section.width();
    const int height = m_section.height();
    // Neighbouring pixels mostly share a colour (rows of the frame, columns of the gradient):
    // remember the last conversion.
    QRgb lastIn = 0;
    QRgb lastOut = 0;
    bool haveLast = false;
    for (int y = 0; y < height; ++y) {
        auto *line = reinterpret_cast<QRgb *>(m_section.scanLine(y));
        const bool edgeRow = y == 0 || y == height - 1;
        for (int x = 0; x < width; ++x) {
            if (!(edgeRow || x == 0 || x == width - 1 || x < doneRight))
                continue;
            const QRgb in = line[x];
            if (!haveLast || (in & 0x00FFFFFFu) != lastIn) {
                float hp, sp, lp;
                rgbToHls(qRed(in), qGreen(in), qBlue(in), hp, sp, lp);
                int r, g, b;
                hlsToRgb(h0, s0, l0 * lp, r, g, b);
                lastIn = in & 0x00FFFFFFu;
                lastOut = QRgb((r << 16) | (g << 8) | b);
                haveLast = true;
            }
            line[x] = (in & 0xFF000000u) | lastOut;
        }
    }
}

void ProgressPainter::rgbToHls(int red, int green, int blue, float &hue, float &saturation,
                              float &lightness)
{
    const float r = float(red) / 255.0f;
    const float g = float(green) / 255.0f;
    const float b = float(blue) / 255.0f;
    const float max = std::max({r, g, b});
    const float min = std::min({r, g, b});
    lightness = (max + min) / 2.0f;
    if (max == min) {
        saturation = 0;
        hue = 0;
        return;
    }
    const float d = max - min;
    saturation = lightness <= 0.5f ? d / (max + min) : d / (2.0f - max - min);
    if (r == max)
        hue = (g - b) / d;
    else if (g == max)
        hue = 2.0f + (b - r) / d;
    else
        hue = 4.0f + (r - g) / d;
}

void ProgressPainter::hlsToRgb(float hue, float saturation, float lightness, int &red,
                              int &green, int &blue)
{
    float r, g, b;
    if (saturation == 0) {
        r = g = b = lightness;
    } else {
        const float low = lightness <= 0.5f ? lightness * (1.0f - saturation)
                                            : lightness - (1.0f - lightness) * saturation;
        const float high = 2.0f * lightness - low;
        const float d = high - low;
        if (hue < 0) {
            r = high;
            g = low;
            b = low - d * hue;
        } else if (hue < 1) {
            r = high;
            g = low + d * hue;
            b = low;
        } else if (hue < 2) {
            r = low - d * (hue - 2);
            g = high;
            b = low;
        } else if (hue < 3) {
            r = low;
            g = high;
            b = low + d * (hue - 2);
        } else if (hue < 4) {
            r = low;
            g = low - d * (hue - 4);
            b = high;
        } else {
            r = low + d * (hue - 4);
            g = low;
            b = high;
        }
    }
    red = toChannel(r);
    green = toChannel(g);
    blue = toChannel(b);
}
