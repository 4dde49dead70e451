#include "widgets/progresspainter.h"
#include "widgets/segmentedprogresspainter.h"
#include "widgets/offscreencanvas.h"
#include "core/numberederror.h"
#include "core/storedcolor.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QWidget>
#include <QtTest>

namespace {

constexpr QRgb kTint = 0xFFCCCCFFu; // RGB(204, 204, 255)

QImage render(const ProgressPainter &bar, int width = 172, int height = 20)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::magenta);
    QPainter painter(&image);
    bar.draw(painter, 0, 0, -1, -1, 255);
    return image;
}

QImage render(SegmentedProgressPainter &bar, int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::magenta);
    QPainter painter(&image);
    bar.drawInto(painter, 0, 0, width, height);
    return image;
}

ProgressPainter *statusProgress()
{
    auto *bar = new ProgressPainter;
    bar->setMin(0);
    bar->setMax(100);
    bar->setWidth(172);
    return bar;
}

// A flat red-on-white bar without border or caption.
void plain(SegmentedProgressPainter &bar)
{
    bar.setBorderStyle(0);
    bar.setBackColor(0xFFFFFF);
    bar.setBarColor(0x0000FF);
}

} // namespace

class TestProgress : public QObject
{
    Q_OBJECT
private slots:
    // ---- ProgressPainter

    void caption_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("showPercentage");
        QTest::addColumn<float>("percent");
        QTest::addColumn<QString>("caption");
        QTest::newRow("percentage alone") << QString() << true << 0.426f << "43%";
        QTest::newRow("text and percentage") << "Loading" << true << 0.426f << "Loading (43%)";
        QTest::newRow("full") << QString() << true << 1.0f << "100%";
        QTest::newRow("text alone") << "Complete" << false << 1.0f << "Complete";
        QTest::newRow("nothing") << QString() << false << 0.5f << "";
    }
    void caption()
    {
        QFETCH(QString, text);
        QFETCH(bool, showPercentage);
        QFETCH(float, percent);
        QFETCH(QString, caption);
        ProgressPainter bar;
        bar.setText(text);
        bar.setShowPercentage(showPercentage);
        bar.setPercent(percent);
        QCOMPARE(bar.caption(), caption);
    }

    void percentFromValue_data()
    {
        QTest::addColumn<int>("min");
        QTest::addColumn<int>("max");
        QTest::addColumn<int>("value");
        QTest::addColumn<float>("percent");
        QTest::newRow("half") << 0 << 100 << 50 << 0.5f;
        QTest::newRow("counted from Min") << 10 << 110 << 60 << 0.5f;
        QTest::newRow("Max equal to Min") << 10 << 10 << 5 << 0.0f;
        QTest::newRow("fresh bar: Max 0") << 0 << 0 << 10 << 0.0f;
        QTest::newRow("above Max") << 0 << 100 << 150 << 1.0f;
        QTest::newRow("below Min") << 0 << 100 << -5 << 0.0f;
        QTest::newRow("Max below Min") << 100 << 0 << 50 << 0.0f;
    }
    void percentFromValue()
    {
        QFETCH(int, min);
        QFETCH(int, max);
        QFETCH(int, value);
        QFETCH(float, percent);
        ProgressPainter bar;
        bar.setMin(min);
        bar.setMax(max);
        bar.setValue(value);
        QCOMPARE(bar.percent(), percent);
        // Min and Max alone leave Percent as the last Value set it.
        bar.setMin(min - 1000);
        bar.setMax(max + 1000);
        QCOMPARE(bar.percent(), percent);
    }

    void autoSize()
    {
        const QString text = QStringLiteral("Downloading the update");
        ProgressPainter bar;
        bar.setText(text);
        bar.setShowPercentage(false);
        QFont large;
        large.setPixelSize(30);
        bar.setAutoSize(true);
        bar.setFont(large); // measured with the bar's own font
        const int measured = QFontMetrics(large).horizontalAdvance(text) + 4;
        QCOMPARE(bar.width(), measured);
        try {
            bar.setWidth(10);
            QFAIL("no error raised");
        } catch (const NumberedError &e) {
            QCOMPARE(e.number(), 425);
        }
        QCOMPARE(bar.width(), measured);

        // A caption narrower than minWidth is drawn minWidth wide.
        bar.setText(QStringLiteral("a"));
        bar.setMinWidth(60);
        const QImage image = render(bar, 80, 20);
        QCOMPARE(image.pixel(59, 10), image.pixel(0, 10)); // the right frame
        QCOMPARE(image.pixel(60, 10), QColor(Qt::magenta).rgb());
    }

    void translateColor_data()
    {
        QTest::addColumn<quint32>("colour");
        QTest::addColumn<bool>("namesAColour");
        QTest::newRow("rgb") << quint32(0xB56A6A) << true;
        QTest::newRow("not a colour") << quint32(0x01000000) << false;
        QTest::newRow("last system colour") << quint32(0x8000001E) << true;
        QTest::newRow("no such system colour") << quint32(0x8000001F) << false;
        QTest::newRow("system colour with stray bits") << quint32(0x8000010F) << false;
    }
    void translateColor()
    {
        QFETCH(quint32, colour);
        QFETCH(bool, namesAColour);
        const qint32 rgb = ProgressPainter::translateColor(colour);
        QCOMPARE(rgb, namesAColour ? qint32(qColorToStoredColor(storedColorToQColor(colour))) : -1);
    }

    void hlsRoundTrip_data()
    {
        QTest::addColumn<int>("red");
        QTest::addColumn<int>("green");
        QTest::addColumn<int>("blue");
        QTest::newRow("tint colour") << 204 << 204 << 255;
        QTest::newRow("red") << 255 << 0 << 0;
        QTest::newRow("green") << 0 << 255 << 0;
        QTest::newRow("blue") << 0 << 0 << 255;
        QTest::newRow("hue below 0") << 255 << 0 << 128;
        QTest::newRow("dark") << 12 << 34 << 56;
        QTest::newRow("orange") << 250 << 100 << 20;
        QTest::newRow("grey") << 128 << 128 << 128;
        QTest::newRow("white") << 255 << 255 << 255;
        QTest::newRow("black") << 0 << 0 << 0;
        QTest::newRow("gradient end") << 106 << 106 << 181;
    }
    void hlsRoundTrip()
    {
        QFETCH(int, red);
        QFETCH(int, green);
        QFETCH(int, blue);
        float h, s, l;
        ProgressPainter::rgbToHls(red, green, blue, h, s, l);
        QVERIFY(h >= -1.0f && h <= 5.0f);
        QVERIFY(s >= 0 && s <= 1 && l >= 0 && l <= 1);
        int r, g, b;
        ProgressPainter::hlsToRgb(h, s, l, r, g, b);
        QCOMPARE(QList<int>({r, g, b}), QList<int>({red, green, blue}));
    }

    void hlsOfTheTint()
    {
        float h, s, l;
        ProgressPainter::rgbToHls(204, 204, 255, h, s, l);
        QCOMPARE(h, 4.0f);
        QCOMPARE(s, 1.0f);
        QVERIFY(qAbs(l - 0.9f) < 1e-6f);
    }

    // The bar colour is kept with the bar's settings; the look is the same whatever it is.
    void fillEdgeAndTint_data()
    {
        QTest::addColumn<qint32>("barColor");
        QTest::newRow("default bar colour") << qint32(0x69C85D);
        QTest::newRow("another bar colour") << qint32(0x0000FF);
    }
    void fillEdgeAndTint()
    {
        QFETCH(qint32, barColor);
        std::unique_ptr<ProgressPainter> bar(statusProgress());
        QCOMPARE(bar->barColor(), 6932573);
        bar->setShowPercentage(false);
        bar->setValue(50);
        const QImage withDefault = render(*bar);
        bar->setBarColor(barColor);
        QCOMPARE(bar->barColor(), barColor);
        const QImage image = render(*bar);
        QCOMPARE(image, withDefault);
        // Done part: 2 .. round(0.5 x 170) = 85. Its first column was white and is now the
        // tint colour; the last one is the tinted dark end of the gradient.
        QCOMPARE(image.pixel(2, 10), kTint);
        const QColor edge = QColor::fromRgb(image.pixel(84, 10));
        QCOMPARE(edge.blue(), 255);
        QVERIFY(edge.red() < 60 && edge.green() < 60);
        // The interior past the done part keeps the body colour, untinted.
        QCOMPARE(image.pixel(85, 10), kTint);
        QCOMPARE(image.pixel(150, 10), kTint);
        // The frame is tinted in the same hue: blue is its strongest channel.
        const QColor frame = QColor::fromRgb(image.pixel(100, 0));
        QVERIFY(frame.blue() >= frame.red() && frame.red() == frame.green());
        QCOMPARE(image.pixel(0, 10), image.pixel(171, 10));
    }

    void emptyBar()
    {
        std::unique_ptr<ProgressPainter> bar(statusProgress());
        bar->setShowPercentage(false);
        bar->setValue(0);
        const QImage image = render(*bar);
        QCOMPARE(image.pixel(2, 10), kTint);
        QCOMPARE(image.pixel(1, 10), kTint);
        QCOMPARE(image.pixel(86, 10), kTint);
    }

    void captionPresent()
    {
        // Caption pixels are lighter than the body: white text blended at half strength.
        auto lighterThanBody = [](const QImage &image) {
            int count = 0;
            for (int y = 3; y < 17; ++y)
                for (int x = 90; x < 140; ++x)
                    count += QColor::fromRgb(image.pixel(x, y)).red() > 215;
            return count;
        };
        std::unique_ptr<ProgressPainter> bar(statusProgress());
        bar->setText(QStringLiteral("Loading"));
        bar->setValue(10);
        QVERIFY(lighterThanBody(render(*bar)) > 0);
        bar->setShowPercentage(false);
        bar->setText(QString());
        QCOMPARE(lighterThanBody(render(*bar)), 0);
    }

    void drawsAtTheDrawnSize()
    {
        std::unique_ptr<ProgressPainter> bar(statusProgress());
        bar->setShowPercentage(false);
        bar->setValue(100);
        bar->setWidth(100);
        const QImage image = render(*bar);
        // The right frame sits at the new width; nothing of the old, wider bar is drawn.
        QCOMPARE(image.pixel(99, 10), image.pixel(0, 10));
        QCOMPARE(image.pixel(100, 10), QColor(Qt::magenta).rgb());
        QCOMPARE(image.pixel(171, 10), QColor(Qt::magenta).rgb());
        // Growing again follows.
        bar->setWidth(172);
        QCOMPARE(render(*bar).pixel(171, 10), image.pixel(0, 10));
    }

    // ---- SegmentedProgressPainter

    void fill_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("min");
        QTest::addColumn<int>("max");
        QTest::addColumn<int>("value");
        QTest::addColumn<bool>("segments");
        QTest::addColumn<int>("filledTo"); // horizontal: right edge; vertical: top edge

        QTest::newRow("half") << 100 << 20 << 0 << 100 << 50 << false << 50;
        QTest::newRow("below Min: empty") << 100 << 20 << 10 << 100 << 0 << false << 0;
        QTest::newRow("above Max: full") << 100 << 20 << 0 << 100 << 500 << false << 100;
        QTest::newRow("Max equal to Min: empty") << 100 << 20 << 50 << 50 << 50 << false << 0;
        QTest::newRow("segmented at half") << 100 << 20 << 0 << 100 << 50 << true << 50;
        QTest::newRow("segmented rounds down") << 100 << 20 << 0 << 100 << 47 << true << 40;
        QTest::newRow("vertical fills from the bottom") << 20 << 100 << 0 << 100 << 25 << false
                                                        << 75;
        QTest::newRow("square counts as vertical") << 40 << 40 << 0 << 100 << 50 << false << 20;
        QTest::newRow("vertical segmented") << 20 << 100 << 0 << 100 << 47 << true << 60;
    }
    void fill()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(int, min);
        QFETCH(int, max);
        QFETCH(int, value);
        QFETCH(bool, segments);
        QFETCH(int, filledTo);
        SegmentedProgressPainter bar;
        plain(bar);
        bar.setSegments(segments);
        bar.setMin(min);
        bar.setMax(max);
        bar.setValue(value);
        const QImage image = render(bar, width, height);
        const QRgb red = qRgb(255, 0, 0);
        const QRgb white = qRgb(255, 255, 255);
        if (width > height) {
            if (filledTo > 0)
                QCOMPARE(image.pixel(filledTo - 1 - (segments ? 2 : 0), height / 2), red);
            if (filledTo < width)
                QCOMPARE(image.pixel(filledTo, height / 2), white);
        } else {
            if (filledTo < height)
                QCOMPARE(image.pixel(width / 2, filledTo + (segments ? 2 : 0)), red);
            if (filledTo > 0)
                QCOMPARE(image.pixel(width / 2, filledTo - 1), white);
        }
        QVERIFY(bar.percent() >= 0 && bar.percent() <= 100);
    }

    void segmentGaps()
    {
        SegmentedProgressPainter bar;
        plain(bar);
        bar.setSegments(true);
        bar.setValue(100);
        const QImage image = render(bar, 100, 20);
        // Chunks of 8 with gaps of 2 in the background colour.
        QCOMPARE(image.pixel(7, 10), qRgb(255, 0, 0));
        QCOMPARE(image.pixel(8, 10), qRgb(255, 255, 255));
        QCOMPARE(image.pixel(9, 10), qRgb(255, 255, 255));
        QCOMPARE(image.pixel(10, 10), qRgb(255, 0, 0));
    }

    void captionInTwoColours()
    {
        auto darkPixels = [](const QImage &image) {
            int count = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 20; x < 80; ++x)
                    count += QColor::fromRgb(image.pixel(x, y)).lightness() < 100;
            return count;
        };
        SegmentedProgressPainter bar;
        plain(bar);
        bar.setText(QStringLiteral("HHHHHH"));
        QCOMPARE(darkPixels(render(bar, 100, 20)), 0); // showText off
        bar.setShowText(true);
        bar.setValue(0);
        QVERIFY(darkPixels(render(bar, 100, 20)) > 0); // black over the empty part
        bar.setValue(100);
        QCOMPARE(darkPixels(render(bar, 100, 20)), 0); // white over the bar
    }

    void borders_data()
    {
        QTest::addColumn<int>("borderStyle");
        QTest::addColumn<int>("appearance");
        QTest::addColumn<int>("inset");
        QTest::newRow("none") << 0 << 1 << 0;
        QTest::newRow("sunken 3D lines") << 1 << 1 << 1;
        QTest::newRow("raised flat") << 2 << 0 << 1;
        QTest::newRow("sunken edge") << 1 << 2 << 2;
    }
    void borders()
    {
        QFETCH(int, borderStyle);
        QFETCH(int, appearance);
        QFETCH(int, inset);
        SegmentedProgressPainter bar;
        plain(bar);
        bar.setBorderStyle(borderStyle);
        bar.setAppearance(appearance);
        bar.setValue(100);
        const QImage image = render(bar, 100, 20);
        QCOMPARE(image.pixel(inset, 10), qRgb(255, 0, 0));
        if (inset > 0)
            QVERIFY(image.pixel(0, 10) != qRgb(255, 0, 0));
    }

    void pictures()
    {
        QImage back(4, 4, QImage::Format_RGB32);
        back.fill(Qt::green);
        QImage stripe(3, 3, QImage::Format_RGB32);
        stripe.fill(Qt::blue);
        SegmentedProgressPainter bar;
        plain(bar);
        bar.setPicture(back);
        bar.setBarPicture(stripe);
        bar.setValue(50);
        QImage image = render(bar, 100, 20);
        QCOMPARE(image.pixel(10, 10), qRgb(0, 0, 255));
        QCOMPARE(image.pixel(90, 10), qRgb(0, 255, 0));
        bar.setBackPictureMode(0); // stretched
        bar.setPicture(QImage());  // removed: the back colour again
        image = render(bar, 100, 20);
        QCOMPARE(image.pixel(90, 10), qRgb(255, 255, 255));
    }

    void styled()
    {
        QWidget host;
        host.resize(120, 20);
        SegmentedProgressPainter bar;
        bar.setDrawObject(&host);
        bar.setThemed(true);
        bar.setMin(5);
        bar.setMax(5); // no span: an empty bar, no failure
        QImage image(120, 20, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::magenta);
        {
            QPainter painter(&image);
            bar.draw(painter);
        }
        QCOMPARE(bar.percent(), 0.0);
        bar.setMax(10);
        bar.setValue(10);
        QCOMPARE(bar.percent(), 100.0);
        QImage full(120, 20, QImage::Format_ARGB32_Premultiplied);
        full.fill(Qt::magenta);
        {
            QPainter painter(&full);
            bar.draw(painter);
        }
        QVERIFY(full != image); // the chunks show
        bar.setTag(QStringLiteral("t"));
        QCOMPARE(bar.tag(), QStringLiteral("t"));
    }

    // ---- OffscreenCanvas

    void canvasGrows_data()
    {
        QTest::addColumn<QList<QSize>>("requests");
        QTest::addColumn<QSize>("size");
        QTest::newRow("first request") << QList<QSize>{{100, 50}} << QSize(100, 50);
        QTest::newRow("smaller keeps") << QList<QSize>{{100, 50}, {20, 20}} << QSize(100, 50);
        QTest::newRow("wider but lower: exactly that")
            << QList<QSize>{{100, 50}, {120, 10}} << QSize(120, 10);
        QTest::newRow("higher only") << QList<QSize>{{100, 50}, {10, 60}} << QSize(10, 60);
        QTest::newRow("zero makes none") << QList<QSize>{{0, 50}} << QSize();
    }
    void canvasGrows()
    {
        QFETCH(QList<QSize>, requests);
        QFETCH(QSize, size);
        OffscreenCanvas canvas;
        QImage *image = nullptr;
        for (const QSize &s : requests)
            image = canvas.surface(s.width(), s.height());
        if (size.isValid()) {
            QVERIFY(image);
            QCOMPARE(image->size(), size);
            QCOMPARE(QSize(canvas.width(), canvas.height()), size);
        } else {
            QVERIFY(!image);
        }
    }

    void canvasFromPicture()
    {
        QImage picture(5, 3, QImage::Format_RGB32);
        picture.fill(Qt::red);
        OffscreenCanvas canvas;
        canvas.setWidth(10);
        QVERIFY(canvas.image().isNull()); // no height yet
        canvas.setHeight(4);
        QCOMPARE(canvas.image().size(), QSize(10, 4));
        canvas.createFromPicture(picture);
        QCOMPARE(QSize(canvas.width(), canvas.height()), QSize(5, 3));
        QImage target(8, 8, QImage::Format_ARGB32_Premultiplied);
        target.fill(Qt::white);
        {
            QPainter painter(&target);
            canvas.draw(painter, 0, 0, 0, 0, 1, 1);
        }
        QCOMPARE(target.pixel(1, 1), qRgb(255, 0, 0));
        QCOMPARE(target.pixel(5, 3), qRgb(255, 0, 0));
        QCOMPARE(target.pixel(6, 3), qRgb(255, 255, 255));
    }
};

QTEST_MAIN(TestProgress)
#include "tst_progress.moc"
