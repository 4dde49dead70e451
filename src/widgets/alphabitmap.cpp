#include "alphabitmap.h"

#include "core/storedvalue.h"
#include "core/numberederror.h"

#include <QDateTime>
#include <QPixmap>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr int kFileHeaderSize = 14;
constexpr int kInfoHeaderSize = 40;
constexpr int kColourEntrySize = 4;
constexpr int kPixelOffset = kFileHeaderSize + kInfoHeaderSize + kColourEntrySize; // 58

quint8 roundToByte(double value)
{
    return quint8(std::clamp(StoredValue::roundHalfEven(value), 0.0, 255.0));
}

template<typename T>
void appendLittleEndian(QByteArray &bytes, T value)
{
    char buffer[sizeof(T)];
    qToLittleEndian(value, buffer);
    bytes.append(buffer, sizeof(T));
}

} // namespace

AlphaBitmap::AlphaBitmap() = default;

AlphaBitmap::~AlphaBitmap()
{
    clearUp();
}

bool AlphaBitmap::create(int width, int height)
{
    clearUp();
    if (width <= 0 || height <= 0 || width > (std::numeric_limits<int>::max() / 4))
        return false;
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return false;
    image.fill(0);
    m_image = std::move(image);
    return true;
}

void AlphaBitmap::createFromPicture(const QImage &picture)
{
    if (create(picture.width(), picture.height()))
        loadPictureBlt(picture);
}

void AlphaBitmap::createFromPixmap(const QPixmap &bitmap)
{
    createFromPicture(bitmap.toImage());
}

void AlphaBitmap::loadPictureBlt(const QImage &source, int srcLeft, int srcTop,
                                      int srcWidth, int srcHeight,
                                      QPainter::CompositionMode rop)
{
    if (m_image.isNull() || source.isNull())
        return;
    if (srcWidth < 0)
        srcWidth = width();
    if (srcHeight < 0)
        srcHeight = height();
    QPainter painter(&m_image);
    painter.setCompositionMode(rop);
    painter.drawImage(QPoint(0, 0), source, QRect(srcLeft, srcTop, srcWidth, srcHeight));
}

QByteArray AlphaBitmap::bitmapFileBytes() const
{
    const quint32 sizeImage = quint32(height()) * quint32(bytesPerScanLine());
    QByteArray bytes;
    bytes.reserve(int(kPixelOffset + sizeImage));
    // File header.
    appendLittleEndian<quint16>(bytes, 19778); // "BM"
    appendLittleEndian<quint32>(bytes, sizeImage + kPixelOffset);
    appendLittleEndian<quint16>(bytes, 0);
    appendLittleEndian<quint16>(bytes, 0);
    appendLittleEndian<quint32>(bytes, kPixelOffset);
    // Information header: bottom-up (positive height), one plane, 32 bits, uncompressed.
    appendLittleEndian<quint32>(bytes, kInfoHeaderSize);
    appendLittleEndian<qint32>(bytes, width());
    appendLittleEndian<qint32>(bytes, height());
    appendLittleEndian<quint16>(bytes, 1);
    appendLittleEndian<quint16>(bytes, 32);
    appendLittleEndian<quint32>(bytes, 0);
    appendLittleEndian<quint32>(bytes, sizeImage);
    appendLittleEndian<qint32>(bytes, 0);
    appendLittleEndian<qint32>(bytes, 0);
    appendLittleEndian<quint32>(bytes, 0);
    appendLittleEndian<quint32>(bytes, 0);
    // The one colour entry.
    appendLittleEndian<quint32>(bytes, 0);
    // Pixels, bottom row first, bytes blue, green, red, alpha.
    for (int row = 0; row < height(); ++row) {
        const auto *pixels = reinterpret_cast<const quint32 *>(scanLine(row));
        for (int x = 0; x < width(); ++x) {
            const quint32 argb = pixels[x];
            bytes.append(char(argb & 0xFF));
            bytes.append(char((argb >> 8) & 0xFF));
            bytes.append(char((argb >> 16) & 0xFF));
            bytes.append(char((argb >> 24) & 0xFF));
        }
    }
    return bytes;
}

bool AlphaBitmap::savePicture(const QString &fileName) const
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        throw NumberedError(kErrPathFileAccess, NumberedError::sourceFor(".cDIBSection"), file.errorString());
    const QByteArray bytes = bitmapFileBytes();
    // Header, information and pixels go out as the three writes the format is made of.
    const qint64 parts[] = {kFileHeaderSize, kInfoHeaderSize + kColourEntrySize,
                            bytes.size() - kPixelOffset};
    qint64 offset = 0;
    for (qint64 part : parts) {
        if (part > 0 && file.write(bytes.constData() + offset, part) != part) {
            file.cancelWriting();
            return false;
        }
        offset += part;
    }
    return file.commit();
}

void AlphaBitmap::paintPicture(QPainter &target, int destLeft, int destTop, int destWidth,
                                    int destHeight, int srcLeft, int srcTop,
                                    QPainter::CompositionMode rop) const
{
    if (m_image.isNull())
        return;
    if (destWidth < 0)
        destWidth = width();
    if (destHeight < 0)
        destHeight = height();
    const QRect source = QRect(srcLeft, srcTop, destWidth, destHeight).intersected(m_image.rect());
    if (source.isEmpty())
        return;
    const QPoint at(destLeft + source.x() - srcLeft, destTop + source.y() - srcTop);
    const QPainter::CompositionMode previous = target.compositionMode();
    target.setCompositionMode(rop);
    target.drawImage(at, m_image, source);
    target.setCompositionMode(previous);
}

void AlphaBitmap::alphaPaintPicture(QPainter &target, int destLeft, int destTop,
                                         int destWidth, int destHeight, int srcLeft, int srcTop,
                                         quint8 constantAlpha) const
{
    if (m_image.isNull())
        return;
    if (destWidth < 0)
        destWidth = width();
    if (destHeight < 0)
        destHeight = height();
    const QRect source = QRect(srcLeft, srcTop, destWidth, destHeight).intersected(m_image.rect());
    if (source.isEmpty())
        return;
    target.save();
    target.setCompositionMode(QPainter::CompositionMode_SourceOver);
    target.setOpacity(target.opacity() * constantAlpha / 255.0);
    target.drawImage(QPoint(destLeft + source.x() - srcLeft, destTop + source.y() - srcTop),
                     m_image, source);
    target.restore();
}

void AlphaBitmap::codeAlphaBlend(AlphaBitmap &dest, const AlphaBitmap &src,
                                      int left, int rowOffset, int width, int height, int alpha)
{
    if (dest.m_image.isNull() || src.m_image.isNull())
        return;
    alpha = std::clamp(alpha, 0, 255);
    const int pixels = width == -1 ? std::min(dest.width(), src.width())
                                   : std::min(width, src.width());
    const int rows = height == -1 ? std::min(dest.height(), src.height())
                                  : std::min(height, src.height());
    const double keep = 1.0 - alpha / 255.0;
    // Only the source pixels that land inside dest.
    const int firstX = std::max(0, -left);
    const int lastX = std::min(pixels, dest.width() - left);
    const int firstY = std::max(0, -rowOffset);
    const int lastY = std::min(rows, dest.height() - rowOffset);
    for (int y = firstY; y < lastY; ++y) {
        const uchar *s = src.scanLine(y);
        uchar *d = dest.scanLine(y + rowOffset);
        for (int x = firstX; x < lastX; ++x) {
            for (int c : {kBlue, kGreen, kRed}) {
                uchar &byte = d[(left + x) * 4 + c];
                byte = roundToByte(keep * byte + double(int(s[x * 4 + c]) * alpha) / 255.0);
            }
        }
    }
}

void AlphaBitmap::clear()
{
    if (!m_image.isNull())
        m_image.fill(0);
}

void AlphaBitmap::randomiseBits(bool grey)
{
    QRandomGenerator random{quint32(QDateTime::currentMSecsSinceEpoch())};
    for (int row = 0; row < height(); ++row) {
        uchar *line = scanLine(row);
        for (int x = 0; x < width(); ++x) {
            uchar *pixel = line + x * 4;
            if (grey) {
                const double level = StoredValue::roundHalfEven(random.generateDouble() * 255);
                const double a = StoredValue::roundHalfEven(random.generateDouble() * 255);
                pixel[kAlpha] = uchar(a);
                pixel[kBlue] = pixel[kGreen] = pixel[kRed] = roundToByte(a * level / 255);
            } else {
                const double a = StoredValue::roundHalfEven(random.generateDouble() * 255);
                pixel[kAlpha] = uchar(a);
                for (int c : {kBlue, kGreen, kRed})
                    pixel[c] = roundToByte(random.generateDouble() * 255 * a / 255);
            }
        }
    }
}

void AlphaBitmap::clearUp()
{
    m_image = QImage();
}

std::unique_ptr<AlphaBitmap> AlphaBitmap::resample(int newHeight, int newWidth) const
{
    auto result = std::make_unique<AlphaBitmap>();
    if (!result->create(newWidth, newHeight))
        return nullptr;
    if (m_image.isNull())
        return result;
    if (newWidth == width() && newHeight == height())
        result->loadPictureBlt(m_image, 0, 0, -1, -1, QPainter::CompositionMode_Source);
    else
        resampleBitmap(*result);
    return result;
}

void AlphaBitmap::resampleBitmap(AlphaBitmap &dest) const
{
    const int width = this->width();
    const int height = this->height();
    const float xStep = float(width - 1) / float(dest.width());
    const float yStep = float(height - 1) / float(dest.height());
    // Neighbours are clamped to the last row and column, so a one-pixel source is read
    // within its bounds too.
    auto column = [&](float position, int &first, int &second, float &fraction) {
        first = std::clamp(int(std::floor(position)), 0, width - 1);
        fraction = position - float(first);
        second = std::min(first + 1, width - 1);
    };
    auto row = [&](float position, int &first, int &second, float &fraction) {
        first = std::clamp(int(std::floor(position)), 0, height - 1);
        fraction = position - float(first);
        second = std::min(first + 1, height - 1);
    };
    for (int y = 0; y < dest.height(); ++y) {
        int ys, ys1;
        float fy;
        row(yStep * float(y), ys, ys1, fy);
        const uchar *lower = scanLine(ys);
        const uchar *upper = scanLine(ys1);
        uchar *out = dest.scanLine(y);
        for (int x = 0; x < dest.width(); ++x) {
            int xs, xs1;
            float fx;
            column(xStep * float(x), xs, xs1, fx);
            for (int c : {kBlue, kGreen, kRed}) {
                const double leftMix = StoredValue::roundHalfEven(
                    (1.0 - fy) * lower[xs * 4 + c] + double(fy) * upper[xs * 4 + c]);
                const double rightMix = StoredValue::roundHalfEven(
                    (1.0 - fy) * lower[xs1 * 4 + c] + double(fy) * upper[xs1 * 4 + c]);
                out[x * 4 + c] = roundToByte((1.0 - fx) * leftMix + double(fx) * rightMix);
            }
        }
    }
}
