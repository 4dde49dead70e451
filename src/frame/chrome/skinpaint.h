#pragma once

#include <QPixmap>
#include <QRect>

class QPainter;
class QWidget;

// Tiling of the skin picture behind the frame's bars.
namespace SkinPaint {

// A picture worth tiling: loaded and at least one pixel in each direction.
bool usable(const QPixmap &picture);

// Tiles the picture over rect of target, the tiles lined up with the target's window so that
// neighbouring bars join without seams. Does nothing for an unusable picture.
void tile(QPainter &painter, const QWidget *target, const QRect &rect, const QPixmap &picture);

// The skin behind a bar or panel: tiles the skin as tile() does, unless skip is set (the window
// is closing) or there is no usable skin.
void paintSkinBackground(const QPixmap &skin, QPainter &painter, const QWidget *target,
                         const QRect &rect, bool skip);

} // namespace SkinPaint
