#pragma once

#include <QImage>
#include <QtGlobal>

class QPainter;

// A small off-screen picture to render into and copy out in one go. It grows on demand and
// never shrinks on its own.
class OffscreenCanvas
{
public:
    OffscreenCanvas() = default;

    int width() const { return m_width; }
    // Stores the size and asks surface for a picture of the stored size: one is created when both
    // sizes are set, and an existing one grows when it is smaller.
    void setWidth(int width);
    int height() const { return m_height; }
    void setHeight(int height);

    // The picture, created at width x height when there is none, or made again at exactly that
    // size when either exceeds the picture's; null when none can be made.
    QImage *surface(int width, int height);

    // Copies a part onto target; a width or height of 0 or less stands for Width or Height.
    // Only what lies inside the picture is read.
    void draw(QPainter &target, int srcX = 0, int srcY = 0, int width = 0, int height = 0,
              int destX = 0, int destY = 0) const;

    // Sized to the picture and holding a copy of it.
    void createFromPicture(const QImage &picture);

    const QImage &image() const { return m_image; }

private:
    void create(int width, int height);
    void destroy();

    QImage m_image;
    int m_width = 0;
    int m_height = 0;
};
