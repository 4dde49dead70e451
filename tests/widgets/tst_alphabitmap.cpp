#include "widgets/alphabitmap.h"
#include "core/numberederror.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

namespace {

// Sets the pixel at (x, row from the bottom) to the bytes b, g, r, a.
void setPixel(AlphaBitmap &bitmap, int x, int row, int b, int g, int r, int a)
{
    uchar *p = bitmap.scanLine(row) + x * 4;
    p[AlphaBitmap::kBlue] = uchar(b);
    p[AlphaBitmap::kGreen] = uchar(g);
    p[AlphaBitmap::kRed] = uchar(r);
    p[AlphaBitmap::kAlpha] = uchar(a);
}

QList<int> pixel(const AlphaBitmap &bitmap, int x, int row)
{
    const uchar *p = bitmap.scanLine(row) + x * 4;
    return {p[AlphaBitmap::kBlue], p[AlphaBitmap::kGreen], p[AlphaBitmap::kRed],
            p[AlphaBitmap::kAlpha]};
}

void fill(AlphaBitmap &bitmap, int b, int g, int r, int a)
{
    for (int row = 0; row < bitmap.height(); ++row)
        for (int x = 0; x < bitmap.width(); ++x)
            setPixel(bitmap, x, row, b, g, r, a);
}

template<typename T>
T field(const QByteArray &bytes, int offset)
{
    return qFromLittleEndian<T>(bytes.constData() + offset);
}

} // namespace

class TestAlphaBitmap : public QObject
{
    Q_OBJECT
private slots:
    void create_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<bool>("ok");
        QTest::newRow("1 x 1") << 1 << 1 << true;
        QTest::newRow("172 x 20") << 172 << 20 << true;
        QTest::newRow("zero width") << 0 << 5 << false;
        QTest::newRow("negative height") << 5 << -1 << false;
        QTest::newRow("width beyond 32-bit rows") << 0x40000000 << 1 << false;
    }
    void create()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(bool, ok);
        AlphaBitmap bitmap;
        QVERIFY(bitmap.create(3, 3));
        QCOMPARE(bitmap.create(width, height), ok);
        if (!ok) {
            QCOMPARE(bitmap.width(), 0);
            QVERIFY(!bitmap.surface());
            QVERIFY(!bitmap.bits());
            return;
        }
        QCOMPARE(bitmap.width(), width);
        QCOMPARE(bitmap.height(), height);
        QCOMPARE(bitmap.bytesPerScanLine(), width * 4);
        // A new section starts transparent black.
        for (int row = 0; row < height; ++row)
            for (int x = 0; x < width; ++x)
                QCOMPARE(pixel(bitmap, x, row), (QList<int>{0, 0, 0, 0}));
        // The bits are every row in one block, the top row first.
        const int line = bitmap.bytesPerScanLine();
        for (int row = 0; row < height; ++row)
            QCOMPARE(bitmap.bits() + qsizetype(height - 1 - row) * line, bitmap.scanLine(row));
        bitmap.bits()[qsizetype(height) * line - 4 + AlphaBitmap::kRed] = 200;
        QCOMPARE(pixel(bitmap, width - 1, 0), (QList<int>{0, 0, 200, 0}));
    }

    void bitmapFile_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::newRow("1 x 1") << 1 << 1;
        QTest::newRow("3 x 2") << 3 << 2;
    }
    void bitmapFile()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        AlphaBitmap bitmap;
        QVERIFY(bitmap.create(width, height));
        setPixel(bitmap, width - 1, height - 1, 10, 20, 30, 40); // top-right
        setPixel(bitmap, 0, 0, 1, 2, 3, 4);                      // bottom-left

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("out.bmp"));
        QVERIFY(bitmap.savePicture(path));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        const int sizeImage = width * height * 4;
        QCOMPARE(bytes.size(), 58 + sizeImage);
        QCOMPARE(bytes.left(2), QByteArray("BM"));
        QCOMPARE(field<quint32>(bytes, 2), quint32(58 + sizeImage)); // bfSize
        QCOMPARE(field<quint16>(bytes, 6), quint16(0));
        QCOMPARE(field<quint16>(bytes, 8), quint16(0));
        QCOMPARE(field<quint32>(bytes, 10), quint32(58)); // bfOffBits
        QCOMPARE(field<quint32>(bytes, 14), quint32(40)); // biSize
        QCOMPARE(field<qint32>(bytes, 18), width);
        QCOMPARE(field<qint32>(bytes, 22), height); // positive: bottom-up
        QCOMPARE(field<quint16>(bytes, 26), quint16(1));
        QCOMPARE(field<quint16>(bytes, 28), quint16(32));
        QCOMPARE(field<quint32>(bytes, 30), quint32(0));
        QCOMPARE(field<quint32>(bytes, 34), quint32(sizeImage));
        for (int offset = 38; offset < 58; offset += 4)
            QCOMPARE(field<quint32>(bytes, offset), quint32(0));
        // Bottom row first, bytes blue, green, red, alpha.
        QCOMPARE(bytes.mid(58, 4), QByteArray("\x01\x02\x03\x04", 4));
        if (width * height > 1)
            QCOMPARE(bytes.right(4), QByteArray("\x0A\x14\x1E\x28", 4));
        QCOMPARE(bytes, bitmap.bitmapFileBytes());
        // The file holds the bits row by row, in the opposite order.
        const int line = bitmap.bytesPerScanLine();
        for (int row = 0; row < height; ++row)
            QCOMPARE(bytes.mid(58 + row * line, line),
                     QByteArray(reinterpret_cast<const char *>(bitmap.bits()) +
                                    (height - 1 - row) * line,
                                line));
    }

    void saveFailure()
    {
        AlphaBitmap bitmap;
        QVERIFY(bitmap.create(2, 2));
        QTemporaryDir dir;
        try {
            bitmap.savePicture(dir.filePath(QStringLiteral("missing/folder/out.bmp")));
            QFAIL("no error raised");
        } catch (const NumberedError &e) {
            QCOMPARE(e.number(), 17);
            QCOMPARE(e.source(), QStringLiteral("quarvel.cDIBSection"));
            QVERIFY(!e.description().isEmpty());
        }
    }

    void codeAlphaBlend_data()
    {
        QTest::addColumn<int>("alpha");
        QTest::addColumn<int>("dest");
        QTest::addColumn<int>("source");
        QTest::addColumn<int>("expected");
        QTest::newRow("alpha 0 keeps the destination") << 0 << 200 << 100 << 200;
        QTest::newRow("alpha 255 copies the source") << 255 << 200 << 100 << 100;
        QTest::newRow("alpha 128") << 128 << 200 << 100 << 150;
        QTest::newRow("alpha 128 onto black") << 128 << 0 << 255 << 128;
        QTest::newRow("alpha 128 of black") << 128 << 255 << 0 << 127;
        QTest::newRow("alpha beyond 255 clamps") << 300 << 200 << 100 << 100;
    }
    void codeAlphaBlend()
    {
        QFETCH(int, alpha);
        QFETCH(int, dest);
        QFETCH(int, source);
        QFETCH(int, expected);
        AlphaBitmap d, s;
        QVERIFY(d.create(2, 2));
        QVERIFY(s.create(2, 2));
        fill(d, dest, dest, dest, 77);
        fill(s, source, source / 2, source, 200);
        AlphaBitmap::codeAlphaBlend(d, s, 0, 0, -1, -1, alpha);
        for (int row = 0; row < 2; ++row)
            for (int x = 0; x < 2; ++x) {
                const QList<int> p = pixel(d, x, row);
                QCOMPARE(p[0], expected);
                QCOMPARE(p[2], expected);
                QCOMPARE(p[3], 77); // alpha bytes never change
            }
    }

    void codeAlphaBlendClipsToTheDestination()
    {
        AlphaBitmap d, s;
        QVERIFY(d.create(4, 3));
        QVERIFY(s.create(10, 5));
        fill(d, 0, 0, 0, 255);
        fill(s, 255, 255, 255, 255);
        // Offsets push the source past the right and top edges: only what lands inside
        // changes, the rest of the source is skipped.
        AlphaBitmap::codeAlphaBlend(d, s, 1, 1, -1, -1, 255);
        for (int row = 0; row < 3; ++row)
            for (int x = 0; x < 4; ++x) {
                const bool blended = x >= 1 && row >= 1;
                QCOMPARE(pixel(d, x, row)[0], blended ? 255 : 0);
            }
        // Offsets before the first pixel or row.
        fill(d, 0, 0, 0, 255);
        AlphaBitmap::codeAlphaBlend(d, s, -2, -1, 3, 2, 255);
        for (int row = 0; row < 3; ++row)
            for (int x = 0; x < 4; ++x)
                QCOMPARE(pixel(d, x, row)[0], (x == 0 && row == 0) ? 255 : 0);
    }

    void resample_data()
    {
        QTest::addColumn<QList<int>>("sourceRow"); // blue bytes of a one-row source
        QTest::addColumn<int>("newWidth");
        QTest::addColumn<int>("newHeight");
        QTest::addColumn<QList<int>>("expectedRow"); // blue bytes of every destination row
        QTest::newRow("two pixels to four") << QList<int>{0, 255} << 4 << 1
                                            << QList<int>{0, 64, 128, 191};
        QTest::newRow("one pixel to four by three")
            << QList<int>{90} << 4 << 3 << QList<int>{90, 90, 90, 90};
        QTest::newRow("three pixels to two") << QList<int>{0, 100, 200} << 2 << 2
                                             << QList<int>{0, 100};
        QTest::newRow("two pixels to one") << QList<int>{40, 80} << 1 << 1 << QList<int>{40};
    }
    void resample()
    {
        QFETCH(QList<int>, sourceRow);
        QFETCH(int, newWidth);
        QFETCH(int, newHeight);
        QFETCH(QList<int>, expectedRow);
        AlphaBitmap source;
        QVERIFY(source.create(int(sourceRow.size()), 1));
        for (int x = 0; x < sourceRow.size(); ++x)
            setPixel(source, x, 0, sourceRow[x], 0, 0, 255);
        const auto result = source.resample(newHeight, newWidth);
        QVERIFY(result);
        QCOMPARE(result->width(), newWidth);
        QCOMPARE(result->height(), newHeight);
        for (int row = 0; row < newHeight; ++row)
            for (int x = 0; x < newWidth; ++x)
                QCOMPARE(pixel(*result, x, row)[0], expectedRow[x]);
    }

    void resampleRowsFromTheBottom()
    {
        // Rows are stepped from the bottom row: a 1 x 3 source of 0, 100, 200 (bottom up)
        // scaled to 1 x 2 takes rows 0 and 2/3.
        AlphaBitmap source;
        QVERIFY(source.create(1, 3));
        setPixel(source, 0, 0, 0, 0, 0, 255);
        setPixel(source, 0, 1, 100, 0, 0, 255);
        setPixel(source, 0, 2, 200, 0, 0, 255);
        const auto result = source.resample(2, 1);
        QVERIFY(result);
        QCOMPARE(pixel(*result, 0, 0)[0], 0);
        QCOMPARE(pixel(*result, 0, 1)[0], 100);
    }

    void resampleSameSizeCopies()
    {
        AlphaBitmap source;
        QVERIFY(source.create(5, 4));
        source.randomiseBits(false);
        const auto copy = source.resample(4, 5);
        QVERIFY(copy);
        QCOMPARE(copy->image(), source.image());
        QVERIFY(!source.resample(0, 5));
    }

    void randomPixelsArePremultiplied_data()
    {
        QTest::addColumn<bool>("grey");
        QTest::newRow("colour") << false;
        QTest::newRow("grey") << true;
    }
    void randomPixelsArePremultiplied()
    {
        QFETCH(bool, grey);
        AlphaBitmap bitmap;
        QVERIFY(bitmap.create(32, 32));
        bitmap.randomiseBits(grey);
        for (int row = 0; row < bitmap.height(); ++row)
            for (int x = 0; x < bitmap.width(); ++x) {
                const QList<int> p = pixel(bitmap, x, row);
                QVERIFY(p[0] <= p[3] && p[1] <= p[3] && p[2] <= p[3]);
                if (grey)
                    QVERIFY(p[0] == p[1] && p[1] == p[2]);
            }
        bitmap.clear();
        QCOMPARE(pixel(bitmap, 7, 7), (QList<int>{0, 0, 0, 0}));
    }

    void paintAndBlendOntoAPainter()
    {
        AlphaBitmap bitmap;
        QVERIFY(bitmap.create(4, 4));
        QImage *canvas = bitmap.surface();
        QVERIFY(canvas);
        canvas->fill(qRgba(255, 0, 0, 255));

        QImage target(10, 10, QImage::Format_ARGB32_Premultiplied);
        target.fill(qRgba(0, 0, 255, 255));
        {
            QPainter painter(&target);
            bitmap.paintPicture(painter, 2, 2, -1, -1, 0, 0);
            // Asking for more than the section holds reads only the section.
            bitmap.paintPicture(painter, 7, 7, 10, 10, 0, 0);
            bitmap.alphaPaintPicture(painter, 0, 7, 2, 2, 0, 0, 128);
        }
        QCOMPARE(target.pixel(2, 2), qRgb(255, 0, 0));
        QCOMPARE(target.pixel(5, 5), qRgb(255, 0, 0));
        QCOMPARE(target.pixel(6, 6), qRgb(0, 0, 255));
        QCOMPARE(target.pixel(9, 9), qRgb(255, 0, 0));
        const QColor half = QColor::fromRgb(target.pixel(1, 8));
        QVERIFY(qAbs(half.red() - 128) <= 1 && qAbs(half.blue() - 127) <= 1);
        QCOMPARE(target.pixel(2, 8), qRgb(0, 0, 255));
    }

    void createFromPicture()
    {
        QImage picture(3, 2, QImage::Format_RGB32);
        picture.fill(qRgb(10, 20, 30));
        picture.setPixel(0, 0, qRgb(1, 2, 3)); // top-left
        AlphaBitmap bitmap;
        bitmap.createFromPicture(picture);
        QCOMPARE(bitmap.width(), 3);
        QCOMPARE(bitmap.height(), 2);
        QCOMPARE(pixel(bitmap, 0, 1), (QList<int>{3, 2, 1, 255})); // top row is row 1
        QCOMPARE(pixel(bitmap, 2, 0), (QList<int>{30, 20, 10, 255}));
        bitmap.clearUp();
        QCOMPARE(bitmap.width(), 0);
        QVERIFY(!bitmap.surface());
    }
};

QTEST_MAIN(TestAlphaBitmap)
#include "tst_alphabitmap.moc"
