#pragma once

#include "pcmemdc.h"

#include <QFont>
#include <QPointer>
#include <QString>
#include <QtGlobal>

#include <memory>

class QImage;
class QPainter;
class QWidget;

// A progress bar without a widget of its own that paints onto a host widget: styled (the
// host's style draws the groove and the chunks) when XpStyle is on, otherwise flat: a solid
// or segmented bar, optional background and bar pictures (tiled or stretched), a caption in
// two colours (one over the empty part, one over the filled part) and a flat, 3D-line or
// edge border. It renders through a pcMemDC and copies the result out in one go.
//
// Every property write except Tag asks DrawObject to repaint; the host's paint event calls
// Draw(painter) (or DrawToDC with a rectangle of its own).
class cProgressBar
{
public:
    cProgressBar();
    ~cProgressBar();
    cProgressBar(const cProgressBar &) = delete;
    cProgressBar &operator=(const cProgressBar &) = delete;

    QString Tag() const { return m_tag; }
    void setTag(const QString &tag) { m_tag = tag; }
    bool Segments() const { return m_segments; }
    void setSegments(bool segments);
    bool XpStyle() const { return m_xpStyle; }
    void setXpStyle(bool xpStyle);
    QString text() const { return m_text; }
    void setText(const QString &text);
    // 0 left, 1 centre, 2 right.
    int TextAlignX() const { return m_textAlignX; }
    void setTextAlignX(int align);
    // 0 top, 1 centre, 2 bottom.
    int TextAlignY() const { return m_textAlignY; }
    void setTextAlignY(int align);
    bool ShowText() const { return m_showText; }
    void setShowText(bool show);

    // (Value - Min) / (Max - Min) within 0..1, times 100; 0 when Max equals Min.
    double Percent() const;

    qint32 Min() const { return m_min; }
    void setMin(qint32 min);
    qint32 Max() const { return m_max; }
    void setMax(qint32 max);
    qint32 Value() const { return m_value; }
    void setValue(qint32 value);
    // 0 none, 1 sunken, 2 raised.
    qint32 BorderStyle() const { return m_borderStyle; }
    void setBorderStyle(qint32 style);
    // 0 flat, 1 3D lines, 2 edge.
    qint32 Appearance() const { return m_appearance; }
    void setAppearance(qint32 appearance);

    QWidget *DrawObject() const { return m_drawObject; }
    void setDrawObject(QWidget *host);

    // Asks DrawObject to repaint.
    void Draw();
    // Paints over DrawObject's whole rectangle; from the host's paint event.
    void Draw(QPainter &painter);
    // Paints into the rectangle (left, top)-(right, bottom) of target.
    void DrawToDC(QPainter &target, int left, int top, int right, int bottom);

    // Colours as stored: 0x00BBGGRR, or negative for a system colour (index = value & 31).
    qint32 BackColor() const { return m_backColor; }
    void setBackColor(qint32 colour);
    qint32 ForeColor() const { return m_foreColor; }
    void setForeColor(qint32 colour);
    QFont Font() const { return m_font; }
    void setFont(const QFont &font);
    qint32 BarColor() const { return m_barColor; }
    void setBarColor(qint32 colour);
    qint32 BarForeColor() const { return m_barForeColor; }
    void setBarForeColor(qint32 colour);
    // Pictures are copied; a null picture removes it. Mode 1 tiles, anything else stretches.
    void setBarPicture(const QImage &picture);
    qint32 BarPictureMode() const { return m_barPictureMode; }
    void setBarPictureMode(qint32 mode);
    qint32 BackPictureMode() const { return m_backPictureMode; }
    void setBackPictureMode(qint32 mode);
    void setPicture(const QImage &picture);

    static QColor TranslateColor(qint32 colour);

private:
    struct Edges
    {
        int left = 0, top = 0, right = 0, bottom = 0;
        QRect rect() const { return QRect(left, top, right - left, bottom - top); }
    };

    static void DrawBorder(QPainter &painter, qint32 style, const Edges &r, bool raised);
    static void BlitPicture(QPainter &painter, int x, int y, int width, int height,
                            const QImage &picture, int offsetX, int offsetY);
    void drawPicture(QPainter &painter, const QRect &rect, const pcMemDC &picture,
                     qint32 mode) const;
    int textFlags() const;

    QPointer<QWidget> m_drawObject;
    pcMemDC m_memDC;
    std::unique_ptr<pcMemDC> m_backPicture;
    std::unique_ptr<pcMemDC> m_barPicture;
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
    bool m_xpStyle = false;
    QString m_tag;
};
