#pragma once

#include <QImage>
#include <QPainter>
#include <QString>
#include <QtGlobal>

#include <memory>

// An off-screen 32-bit picture: premultiplied ARGB, 4 bytes a pixel in the order blue, green,
// red, alpha, rows without padding. Drawing code paints into it through surface(); pixel routines
// and the bitmap file count rows from the bottom of the picture (row 0 is the bottom row), as
// bottom-up bitmaps store them. It is copied onto a painter opaquely (paintPicture), with a
// constant alpha over its own per-pixel alpha (alphaPaintPicture), or blended onto another
// section in code (codeAlphaBlend). A new section starts cleared to transparent black.
class AlphaBitmap
{
public:
    AlphaBitmap();
    ~AlphaBitmap();
    AlphaBitmap(const AlphaBitmap &) = delete;
    AlphaBitmap &operator=(const AlphaBitmap &) = delete;

    // Replaces the section by a new cleared one; false (and empty) when it cannot be made.
    bool create(int width, int height);
    // A section of the picture's size holding a copy of it.
    void createFromPicture(const QImage &picture);
    void createFromPixmap(const QPixmap &bitmap);

    int bytesPerScanLine() const { return width() * 4; }
    int width() const { return m_image.width(); }
    int height() const { return m_image.height(); }

    // Copies a part of source into the section at (0, 0); a negative width or height stands
    // for the section's own.
    void loadPictureBlt(const QImage &source, int srcLeft = 0, int srcTop = 0, int srcWidth = -1,
                        int srcHeight = -1,
                        QPainter::CompositionMode rop = QPainter::CompositionMode_Source);

    // Writes the section as a 32-bit bottom-up bitmap file (58-byte header: the file header,
    // the 40-byte information header and one zero colour entry). Throws NumberedError 17 with the
    // system's message when the file cannot be created; false when a write fails.
    bool savePicture(const QString &fileName) const;
    // The bytes savePicture writes.
    QByteArray bitmapFileBytes() const;

    // Copies the section onto target; a negative width or height stands for the section's
    // own. Only the part that lies inside the section is read.
    void paintPicture(QPainter &target, int destLeft = 0, int destTop = 0, int destWidth = -1,
                      int destHeight = -1, int srcLeft = 0, int srcTop = 0,
                      QPainter::CompositionMode rop = QPainter::CompositionMode_Source) const;
    // Blends the section onto target over its own per-pixel alpha, scaled by constantAlpha.
    void alphaPaintPicture(QPainter &target, int destLeft, int destTop, int destWidth,
                           int destHeight, int srcLeft, int srcTop, quint8 constantAlpha) const;

    // Blends src onto dest in code, byte by byte: d = (1 - a/255) d + s a / 255, halves to even,
    // for blue, green and red; dest's alpha bytes stay. The source pixel (x, row y) lands on
    // dest pixel (left + x, row y + rowOffset), rows counted from the bottom. Width and height
    // -1 take the narrower width and the smaller height of the two; other values are pixels
    // and rows. Pixels that would fall outside dest are skipped.
    static void codeAlphaBlend(AlphaBitmap &dest, const AlphaBitmap &src, int left,
                               int rowOffset, int width, int height, int alpha);

    // The picture to paint into; null while the section is empty.
    QImage *surface() { return m_image.isNull() ? nullptr : &m_image; }
    const QImage &image() const { return m_image; }
    // The pixel bytes, height x bytesPerScanLine of them in one block, in memory order: the top
    // row first (scanLine(height - 1)); null while the section is empty.
    uchar *bits() { return m_image.isNull() ? nullptr : m_image.bits(); }
    const uchar *bits() const { return m_image.isNull() ? nullptr : m_image.constBits(); }
    // Bytes of row r, counted from the bottom.
    uchar *scanLine(int row) { return m_image.scanLine(m_image.height() - 1 - row); }
    const uchar *scanLine(int row) const
    {
        return m_image.constScanLine(m_image.height() - 1 - row);
    }

    void clear();
    // Random premultiplied pixels: colours, or greys when grey is set.
    void randomiseBits(bool grey);
    void clearUp();

    // A new section of the given size holding this picture scaled bilinearly (an exact copy
    // at the same size); null when it cannot be made.
    std::unique_ptr<AlphaBitmap> resample(int newHeight, int newWidth) const;

    // Byte offsets of the channels inside a pixel.
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    static constexpr int kBlue = 0, kGreen = 1, kRed = 2, kAlpha = 3;
#else
    static constexpr int kBlue = 3, kGreen = 2, kRed = 1, kAlpha = 0;
#endif

private:
    void resampleBitmap(AlphaBitmap &dest) const;

    QImage m_image;
};
