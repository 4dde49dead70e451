#include "calphadibsection.h"

#include "core/vbconvert.h"
#include "vberror.h"

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
    return quint8(std::clamp(VbConvert::roundHalfEven(value), 0.0, 255.0));
}

template<typename T>
void appendLittleEndian(QByteArray &bytes, T value)
{
    char buffer[sizeof(T)];
    qToLittleEndian(value, buffer);
    bytes.append(buffer, sizeof(T));
}

} // namespace

cAlphaDibSection::cAlphaDibSection() = default;

cAlphaDibSection::~cAlphaDibSection()
{
    ClearUp();
}

bool cAlphaDibSection::Create(int width, int height)
{
    ClearUp();
    if (width <= 0 || height <= 0 || width > (std::numeric_limits<int>::max() / 4))
        return false;
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return false;
    image.fill(0);
    m_image = std::move(image);
    return true;
}

void cAlphaDibSection::CreateFromPicture(const QImage &picture)
{
    if (Create(picture.width(), picture.height()))
        LoadPictureBlt(picture);
}

void cAlphaDibSection::CreateFromHBitmap(const QPixmap &bitmap)
{
    CreateFromPicture(bitmap.toImage());
}

void cAlphaDibSection::LoadPictureBlt(const QImage &source, int srcLeft, int srcTop,
                                      int srcWidth, int srcHeight,
                                      QPainter::CompositionMode rop)
{
    if (m_image.isNull() || source.isNull())
        return;
    if (srcWidth < 0)
        srcWidth = Width();
    if (srcHeight < 0)
        srcHeight = Height();
    QPainter painter(&m_image);
    painter.setCompositionMode(rop);
    painter.drawImage(QPoint(0, 0), source, QRect(srcLeft, srcTop, srcWidth, srcHeight));
}

QByteArray cAlphaDibSection::BitmapFileBytes() const
{
    const quint32 sizeImage = quint32(Height()) * quint32(BytesPerScanLine());
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
    appendLittleEndian<qint32>(bytes, Width());
    appendLittleEndian<qint32>(bytes, Height());
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
    for (int row = 0; row < Height(); ++row) {
        const auto *pixels = reinterpret_cast<const quint32 *>(ScanLine(row));
        for (int x = 0; x < Width(); ++x) {
            const quint32 argb = pixels[x];
            bytes.append(char(argb & 0xFF));
            bytes.append(char((argb >> 8) & 0xFF));
            bytes.append(char((argb >> 16) & 0xFF));
            bytes.append(char((argb >> 24) & 0xFF));
        }
    }
    return bytes;
}

bool cAlphaDibSection::SavePicture(const QString &fileName) const
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        throw VbError(kErrPathFileAccess, VbError::sourceFor(".cDIBSection"), file.errorString());
    const QByteArray bytes = BitmapFileBytes();
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

void cAlphaDibSection::PaintPicture(QPainter &target, int destLeft, int destTop, int destWidth,
                                    int destHeight, int srcLeft, int srcTop,
                                    QPainter::CompositionMode rop) const
{
    if (m_image.isNull())
        return;
    if (destWidth < 0)
        destWidth = Width();
    if (destHeight < 0)
        destHeight = Height();
    const QRect source = QRect(srcLeft, srcTop, destWidth, destHeight).intersected(m_image.rect());
    if (source.isEmpty())
        return;
    const QPoint at(destLeft + source.x() - srcLeft, destTop + source.y() - srcTop);
    const QPainter::CompositionMode previous = target.compositionMode();
    target.setCompositionMode(rop);
    target.drawImage(at, m_image, source);
    target.setCompositionMode(previous);
}

void cAlphaDibSection::AlphaPaintPicture(QPainter &target, int destLeft, int destTop,
                                         int destWidth, int destHeight, int srcLeft, int srcTop,
                                         quint8 constantAlpha) const
{
    if (m_image.isNull())
        return;
    if (destWidth < 0)
        destWidth = Width();
    if (destHeight < 0)
        destHeight = Height();
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

void cAlphaDibSection::CodeAlphaBlend(cAlphaDibSection &dest, const cAlphaDibSection &src,
                                      int left, int rowOffset, int width, int height, int alpha)
{
    if (dest.m_image.isNull() || src.m_image.isNull())
        return;
    alpha = std::clamp(alpha, 0, 255);
    const int pixels = width == -1 ? std::min(dest.Width(), src.Width())
                                   : std::min(width, src.Width());
    const int rows = height == -1 ? std::min(dest.Height(), src.Height())
                                  : std::min(height, src.Height());
    const double keep = 1.0 - alpha / 255.0;
    // Only the source pixels that land inside dest.
    const int firstX = std::max(0, -left);
    const int lastX = std::min(pixels, dest.Width() - left);
    const int firstY = std::max(0, -rowOffset);
    const int lastY = std::min(rows, dest.Height() - rowOffset);
    for (int y = firstY; y < lastY; ++y) {
        const uchar *s = src.ScanLine(y);
        uchar *d = dest.ScanLine(y + rowOffset);
        for (int x = firstX; x < lastX; ++x) {
            for (int c : {kBlue, kGreen, kRed}) {
                uchar &byte = d[(left + x) * 4 + c];
                byte = roundToByte(keep * byte + double(int(s[x * 4 + c]) * alpha) / 255.0);
            }
        }
    }
}

void cAlphaDibSection::Clear()
{
    if (!m_image.isNull())
        m_image.fill(0);
}

void cAlphaDibSection::RandomiseBits(bool grey)
{
    QRandomGenerator random(quint32(QDateTime::currentMSecsSinceEpoch()));
    for (int row = 0; row < Height(); ++row) {
        uchar *line = ScanLine(row);
        for (int x = 0; x < Width(); ++x) {
            uchar *pixel = line + x * 4;
            if (grey) {
                const double level = VbConvert::roundHalfEven(random.generateDouble() * 255);
                const double a = VbConvert::roundHalfEven(random.generateDouble() * 255);
                pixel[kAlpha] = uchar(a);
                pixel[kBlue] = pixel[kGreen] = pixel[kRed] = roundToByte(a * level / 255);
            } else {
                const double a = VbConvert::roundHalfEven(random.generateDouble() * 255);
                pixel[kAlpha] = uchar(a);
                for (int c : {kBlue, kGreen, kRed})
                    pixel[c] = roundToByte(random.generateDouble() * 255 * a / 255);
            }
        }
    }
}

void cAlphaDibSection::ClearUp()
{
    m_image = QImage();
}

std::unique_ptr<cAlphaDibSection> cAlphaDibSection::Resample(int newHeight, int newWidth) const
{
    auto result = std::make_unique<cAlphaDibSection>();
    if (!result->Create(newWidth, newHeight))
        return nullptr;
    if (m_image.isNull())
        return result;
    if (newWidth == Width() && newHeight == Height())
        result->LoadPictureBlt(m_image, 0, 0, -1, -1, QPainter::CompositionMode_Source);
    else
        ResampleDib(*result);
    return result;
}

void cAlphaDibSection::ResampleDib(cAlphaDibSection &dest) const
{
    const int width = Width();
    const int height = Height();
    const float xStep = float(width - 1) / float(dest.Width());
    const float yStep = float(height - 1) / float(dest.Height());
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
    for (int y = 0; y < dest.Height(); ++y) {
        int ys, ys1;
        float fy;
        row(yStep * float(y), ys, ys1, fy);
        const uchar *lower = ScanLine(ys);
        const uchar *upper = ScanLine(ys1);
        uchar *out = dest.ScanLine(y);
        for (int x = 0; x < dest.Width(); ++x) {
            int xs, xs1;
            float fx;
            column(xStep * float(x), xs, xs1, fx);
            for (int c : {kBlue, kGreen, kRed}) {
                const double leftMix = VbConvert::roundHalfEven(
                    (1.0 - fy) * lower[xs * 4 + c] + double(fy) * upper[xs * 4 + c]);
                const double rightMix = VbConvert::roundHalfEven(
                    (1.0 - fy) * lower[xs1 * 4 + c] + double(fy) * upper[xs1 * 4 + c]);
                out[x * 4 + c] = roundToByte((1.0 - fx) * leftMix + double(fx) * rightMix);
            }
        }
    }
}
