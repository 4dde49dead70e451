#pragma once

#include "alphabitmap.h"

#include <QFont>
#include <QString>
#include <QtGlobal>

class QPainter;

// A progress bar without a widget: it renders itself into its own picture whenever a
// property changes (writing the value it already has changes nothing), and Draw copies that
// picture onto any painter (the status bar's progress panel and the update dialog's download
// bar). The look is fixed: a light blue-violet body in a button-face frame, a white-to-blue
// gradient over the done part, an optional caption (Tahoma 8.25 pt unless another font is
// set), and a last pass that tints the frame and the done part in one hue.
//
// Width's setter throws NumberedError 425 while autoSize is on.
class ProgressPainter
{
public:
    ProgressPainter();
    ~ProgressPainter();
    ProgressPainter(const ProgressPainter &) = delete;
    ProgressPainter &operator=(const ProgressPainter &) = delete;

    // A colour as stored (0x00BBGGRR, or a system colour with the high bit set) as its RGB
    // value in the same byte order; -1 for a value that names no colour.
    static qint32 translateColor(quint32 colour);

    int width() const { return m_width; }
    void setWidth(int width);
    // The narrowest the bar is drawn while autoSize is on.
    int minWidth() const { return m_minWidth; }
    void setMinWidth(int minWidth);
    int height() const { return m_height; }
    void setHeight(int height) { assign(m_height, height); }
    QFont font() const { return m_font; }
    void setFont(const QFont &font) { assign(m_font, font); }
    // Kept with the bar's other settings; the fixed look does not use it.
    qint32 barColor() const { return m_barColor; }
    void setBarColor(qint32 colour) { assign(m_barColor, colour); }
    // With autoSize the width follows the caption (its width in the bar's font + 4), drawn at
    // least minWidth wide.
    bool autoSize() const { return m_autoSize; }
    void setAutoSize(bool autoSize) { assign(m_autoSize, autoSize); }
    bool showPercentage() const { return m_showPercentage; }
    void setShowPercentage(bool show) { assign(m_showPercentage, show); }
    QString text() const { return m_text; }
    void setText(const QString &text) { assign(m_text, text); }
    // Min and Max leave Percent as it is until the next setValue.
    qint32 min() const { return m_min; }
    void setMin(qint32 min) { assign(m_min, min); }
    qint32 max() const { return m_max; }
    void setMax(qint32 max) { assign(m_max, max); }
    // The done fraction, 1.0 = full; drawn within 0..1.
    float percent() const { return m_percent; }
    void setPercent(float percent) { assign(m_percent, percent); }
    qint32 value() const { return m_value; }
    // Sets Percent to (value - Min) / (Max - Min), within 0..1; 0 while Max - Min is below 1.
    void setValue(qint32 value);

    // Copies the bar onto painter at (left, top); width -1 is the drawing width, height -1 the
    // bar's Height. An alpha below 255 blends it with that constant alpha.
    void draw(QPainter &painter, int left, int top, int width = -1, int height = -1,
              int alpha = 255) const;
    // Renders the bar into its picture.
    void refresh();

    // The caption the bar shows: text, the rounded percentage with a percent sign (in
    // parentheses after a text), or text alone without showPercentage.
    QString caption() const;
    // The width the bar is drawn at: Width, or at least minWidth while autoSize is on.
    int drawingWidth() const;

    // Colour space of the tint: hue in sixths of the circle (about -1 to 5, not normalised),
    // saturation and lightness 0..1; channels 0..255.
    static void rgbToHls(int red, int green, int blue, float &hue, float &saturation,
                         float &lightness);
    static void hlsToRgb(float hue, float saturation, float lightness, int &red, int &green,
                         int &blue);

private:
    void tint(int doneRight);
    // A write that changes nothing after the first render leaves the picture as it is.
    bool rendered() const { return !m_section.image().isNull(); }
    // Stores value in field and renders, unless that changes nothing.
    template<typename T>
    void assign(T &field, const T &value)
    {
        if (field == value && rendered())
            return;
        field = value;
        refresh();
    }

    qint32 m_min = 0;
    qint32 m_max = 0;
    qint32 m_value = 0;
    float m_percent = 0;
    QString m_text;
    bool m_autoSize = false;
    bool m_showPercentage = true;
    qint32 m_barColor = 6932573;
    QFont m_font;
    AlphaBitmap m_section;
    int m_width = 100;
    int m_minWidth = 16;
    int m_height = 20;
};
