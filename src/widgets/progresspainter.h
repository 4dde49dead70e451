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
// gradient over the done part, an optional caption in Tahoma 8.25 pt, and a last pass that tints
// the frame and the done part in one hue.
class ProgressPainter
{
public:
    ProgressPainter();
    ~ProgressPainter();
    ProgressPainter(const ProgressPainter &) = delete;
    ProgressPainter &operator=(const ProgressPainter &) = delete;

    void setWidth(int width);
    void setHeight(int height);
    void setShowPercentage(bool show);
    void setText(const QString &text);
    void setMin(qint32 min);
    void setMax(qint32 max);
    qint32 value() const { return m_value; }
    // Sets the done fraction to (value - Min) / (Max - Min), within 0..1; 0 while Max - Min is
    // below 1.
    void setValue(qint32 value);

    // Copies the bar onto painter at (left, top); width -1 is the bar's Width, height -1 its
    // Height. An alpha below 255 blends it with that constant alpha.
    void draw(QPainter &painter, int left, int top, int width = -1, int height = -1,
              int alpha = 255) const;
    // Renders the bar into its picture.
    void refresh();

    // The caption the bar shows: text, the rounded percentage with a percent sign (in
    // parentheses after a text), or text alone without showPercentage.
    QString caption() const;

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

    qint32 m_min = 0;
    qint32 m_max = 0;
    qint32 m_value = 0;
    float m_percent = 0; // the done fraction, 1.0 = full
    QString m_text;
    bool m_showPercentage = true;
    QFont m_font;
    AlphaBitmap m_section;
    int m_width = 100;
    int m_height = 20;
};
