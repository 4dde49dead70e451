#pragma once

#include "statusbarpanel.h"

#include <QPixmap>
#include <QRect>
#include <QString>

#include <functional>
#include <vector>

class QPainter;
class QStyle;
class QWidget;

// Paints a PanelStatusBar's row onto its owner's painter: the bar's background, the laid-out
// panels (or the simple-mode text) and the size grip. Styled, it draws the owner's QStyle status
// bar, panes and size grip; classic, it draws flat in the button-face colour with a ridged grip.
// Either way a background picture, when set, is tiled behind the panels.
//
// One painter serves one paint of the bar: it sets the owner's font and text colour on the
// QPainter and restores the QPainter's state when it goes.
class PanelStatusBarPainter
{
public:
    struct Look
    {
        bool styled = true;
        int iconSize = 0;
        QPixmap background; // tiled behind the panels; null for none
    };

    // The bar's owner-draw request for panel position (1-based) with its rectangle; the handler
    // may move the rectangle and clear doDefault.
    using OwnerDraw = std::function<void(QPainter *painter, int position, int &left, int &top,
                                         int &right, int &bottom, bool &doDefault)>;

    PanelStatusBarPainter(QPainter &painter, QWidget &owner, const Look &look);
    ~PanelStatusBarPainter();
    PanelStatusBarPainter(const PanelStatusBarPainter &) = delete;
    PanelStatusBarPainter &operator=(const PanelStatusBarPainter &) = delete;

    // The bar's background over rect (the whole bar, or one panel's last rectangle).
    void paintBackground(const QRect &rect);
    // Panels first..last (1-based); a panel that passes the owner's right edge is cut there
    // and is the last one painted.
    void paintPanels(const std::vector<StatusBarPanel> &panels, int first, int last,
                     const OwnerDraw &ownerDraw);
    // The one text of simple mode across the whole bar.
    void paintSimpleText(const QString &text);
    void paintSizeGrip();

private:
    // Tiles the background picture (when there is one) from the rectangle's corner, clipped one
    // pixel wider on the right.
    void tileBackground(int left, int top, int width, int height);
    // A panel's text in rect (a styled pane's contents), indent pixels in from its left.
    void drawPaneText(QRect rect, int indent, const QString &text, bool ellipsis);
    // Returns false when the panel was cut at the right edge.
    bool paintPanel(const StatusBarPanel &panel, int position, const OwnerDraw &ownerDraw);
    void paintPane(const QRect &rect);
    void useOwnerFont();

    QPainter &m_painter;
    QWidget &m_owner;
    Look m_look;
    QStyle *m_style = nullptr; // null when drawing classic
    QRect m_client;
};
