#include "offscreencanvas.h"

#include <QPainter>

void OffscreenCanvas::setWidth(int width)
{
    if (width == m_width)
        return;
    m_width = width;
    surface(m_width, m_height);
}

void OffscreenCanvas::setHeight(int height)
{
    if (height == m_height)
        return;
    m_height = height;
    surface(m_width, m_height);
}

QImage *OffscreenCanvas::surface(int width, int height)
{
    if (m_image.isNull()) {
        if (width > 0 && height > 0)
            create(width, height);
    } else if (width > m_image.width() || height > m_image.height()) {
        create(width, height);
    }
    return m_image.isNull() ? nullptr : &m_image;
}

void OffscreenCanvas::draw(QPainter &target, int srcX, int srcY, int width, int height, int destX,
                   int destY) const
{
    if (m_image.isNull())
        return;
    if (width <= 0)
        width = m_width;
    if (height <= 0)
        height = m_height;
    const QRect source = QRect(srcX, srcY, width, height).intersected(m_image.rect());
    if (source.isEmpty())
        return;
    const QPainter::CompositionMode previous = target.compositionMode();
    target.setCompositionMode(QPainter::CompositionMode_Source);
    target.drawImage(QPoint(destX + source.x() - srcX, destY + source.y() - srcY), m_image,
                     source);
    target.setCompositionMode(previous);
}

void OffscreenCanvas::createFromPicture(const QImage &picture)
{
    if (picture.isNull()) {
        destroy();
        return;
    }
    destroy();
    setWidth(picture.width());
    setHeight(picture.height());
    if (m_image.isNull())
        return;
    QPainter painter(&m_image);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(QPoint(0, 0), picture);
}

void OffscreenCanvas::create(int width, int height)
{
    destroy();
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return;
    image.fill(0);
    m_image = std::move(image);
    m_width = width;
    m_height = height;
}

void OffscreenCanvas::destroy()
{
    m_image = QImage();
    m_width = 0;
    m_height = 0;
}
