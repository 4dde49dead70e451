#pragma once

#include <QPixmap>
#include <QRect>
#include <QString>
#include <QtGlobal>

// One panel of a PanelStatusBar, as the bar keeps it: what the host set, what the bar measured
// and where the last layout put it. A new panel starts from an empty record.
struct StatusBarPanel
{
    // Style bits.
    static constexpr qint32 kStyleOwnerDraw = 0x1000;  // the host paints the panel's contents
    static constexpr qint32 kStyleGripperPane = 0x100; // icon panel drawn as a gripper pane

    QString key;         // compared case-sensitively; need not be unique
    qint32 itemData = 0; // the host's own value, kept for it
    int iconIndex = -1;  // image of the bar's image list; -1 or less = none
    QPixmap icon;        // what is drawn: the image-list image or the host's own pixmap
    QString text;
    QString toolTipText;
    int minWidth = 0;
    int idealWidth = 0;         // the measured text plus padding, never below minWidth
    bool spring = false;        // takes the width the others leave
    bool fitToContents = false; // the layout uses idealWidth instead of minWidth
    qint32 style = 0;           // the style bits above; other bits are kept and ignored
    // Owner pixels from the last layout (see PanelStatusBar::panelRect).
    int left = 0, top = 0, right = 0, bottom = 0;
};

// An edge rectangle as the layout keeps it (right and bottom exclusive) as a QRect.
inline QRect toQRect(int left, int top, int right, int bottom)
{
    return QRect(left, top, right - left, bottom - top);
}
