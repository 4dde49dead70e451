#pragma once

#include "offscreencanvas.h"

#include <QFont>
#include <QPointer>
#include <QString>
#include <QtGlobal>

#include <memory>

class QImage;
class QPainter;
class QWidget;

// A progress bar without a widget of its own that paints onto a host widget: styled (the
// host's style draws the groove and the chunks) when themed is on, otherwise flat: a solid
// or segmented bar, optional background and bar pictures (tiled or stretched), a caption in
// two colours (one over the empty part, one over the filled part) and a flat, 3D-line or
// edge border. It renders through a OffscreenCanvas and copies the result out in one go.
//
// Every property write except Tag asks drawObject to repaint; the host's paint event calls
// Draw(painter) (or drawInto with a rectangle of its own).
class SegmentedProgressPainter
{
public:
    SegmentedProgressPainter();
    ~SegmentedProgressPainter();
    SegmentedProgressPainter(const SegmentedProgressPainter &) = delete;
    SegmentedProgressPainter &operator=(const SegmentedProgressPainter &) = delete;

    QString tag() const { return m_tag; }
    void setTag(const QString &tag) { m_tag = tag; }
    bool segments() const { return m_segments; }
    void setSegments(bool segments);
    bool themed() const { return m_themed; }
    void setThemed(bool themed);
    QString text() const { return m_text; }
    void setText(const QString &text);
    // 0 left, 1 centre, 2 right.
    int textAlignX() const { return m_textAlignX; }
    void setTextAlignX(int align);
    // 0 top, 1 centre, 2 bottom.
    int textAlignY() const { return m_textAlignY; }
    void setTextAlignY(int align);
    bool showText() const { return m_showText; }
    void setShowText(bool show);

    // (Value - Min) / (Max - Min) within 0..1, times 100; 0 when Max equals Min.
    double percent() const;

    qint32 min() const { return m_min; }
    void setMin(qint32 min);
    qint32 max() const { return m_max; }
    void setMax(qint32 max);
    qint32 value() const { return m_value; }
    void setValue(qint32 value);
    // 0 none, 1 sunken, 2 raised.
    qint32 borderStyle() const { return m_borderStyle; }
    void setBorderStyle(qint32 style);
    // 0 flat, 1 3D lines, 2 edge.
    qint32 appearance() const { return m_appearance; }
    void setAppearance(qint32 appearance);

    QWidget *drawObject() const { return m_drawObject; }
    void setDrawObject(QWidget *host);

    // Asks drawObject to repaint.
    void draw();
    // Paints over drawObject's whole rectangle; from the host's paint event.
    void draw(QPainter &painter);
    // Paints into the rectangle (left, top)-(right, bottom) of target.
    void drawInto(QPainter &target, int left, int top, int right, int bottom);

    // Colours as stored: 0x00BBGGRR, or negative for a system colour (index = value & 31).
    qint32 backColor() const { return m_backColor; }
    void setBackColor(qint32 colour);
    qint32 foreColor() const { return m_foreColor; }
    void setForeColor(qint32 colour);
    QFont font() const { return m_font; }
    void setFont(const QFont &font);
    qint32 barColor() const { return m_barColor; }
    void setBarColor(qint32 colour);
    qint32 barForeColor() const { return m_barForeColor; }
    void setBarForeColor(qint32 colour);
    // Pictures are copied; a null picture removes it. Mode 1 tiles, anything else stretches.
    void setBarPicture(const QImage &picture);
    qint32 barPictureMode() const { return m_barPictureMode; }
    void setBarPictureMode(qint32 mode);
    qint32 backPictureMode() const { return m_backPictureMode; }
    void setBackPictureMode(qint32 mode);
    void setPicture(const QImage &picture);

    static QColor translateColor(qint32 colour);

private:
    struct Edges
    {
        int left = 0, top = 0, right = 0, bottom = 0;
        QRect rect() const { return QRect(left, top, right - left, bottom - top); }
    };

    struct Look;

    static void drawBorder(QPainter &painter, qint32 style, const Edges &r, bool raised);
    // The parts of drawInto: the background, the caption under the bar and the border, with
    // the filled part between them.
    void paintProgress(QPainter &painter, const Edges &r, bool horizontal) const;
    Edges filledEdges(const Edges &inner, bool horizontal, int step) const;
    void paintFill(QPainter &painter, const Edges &r, const Edges &inner, const Edges &bar,
                   Look &look, bool horizontal) const;
    static void blitPicture(QPainter &painter, int x, int y, int width, int height,
                            const QImage &picture, int offsetX, int offsetY);
    void drawPicture(QPainter &painter, const QRect &rect, const OffscreenCanvas &picture,
                     qint32 mode) const;
    int textFlags() const;

    QPointer<QWidget> m_drawObject;
    OffscreenCanvas m_canvas;
    std::unique_ptr<OffscreenCanvas> m_backPicture;
    std::unique_ptr<OffscreenCanvas> m_barPicture;
    qint32 m_appearance = 1;
    qint32 m_borderStyle = 1;
    QFont m_font;
    qint32 m_backColor = -1;
    qint32 m_foreColor = 0;
    qint32 m_barColor = -1;
    qint32 m_barForeColor = 0xFFFFFF;
    qint32 m_barPictureMode = 1;
    qint32 m_backPictureMode = 1;
    qint32 m_min = 0;
    qint32 m_max = 100;
    qint32 m_value = 0;
    int m_textAlignX = 1;
    int m_textAlignY = 1;
    bool m_showText = false;
    QString m_text;
    bool m_segments = false;
    bool m_themed = false;
    QString m_tag;
};
