#include "widgets/panelstatusbar.h"
#include "core/numberederror.h"
#include "core/storedcolor.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QWidget>
#include <QtTest>

namespace {

struct Edges
{
    int left, top, right, bottom;
};

Edges rectOf(const PanelStatusBar &bar, const QVariant &position)
{
    Edges e{};
    bar.panelRect(position, e.left, e.top, e.right, e.bottom);
    return e;
}

QImage render(PanelStatusBar &bar, const QWidget &owner)
{
    QImage image(owner.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::magenta);
    QPainter painter(&image);
    bar.draw(painter);
    return image;
}

// Pixels in the rectangle that are not the colour given.
int pixelsOtherThan(const QImage &image, const QRect &rect, QRgb colour)
{
    int count = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            count += (image.pixel(x, y) & 0xFFFFFF) != (colour & 0xFFFFFF);
    return count;
}

QRgb buttonFace()
{
    return storedColorToQColor(0x8000000Fu).rgb();
}

// An owner that counts its paints.
class PaintCounter : public QWidget
{
public:
    int paints = 0;

protected:
    void paintEvent(QPaintEvent *) override { ++paints; }
};

// Pixels in the rectangle where the two images differ.
int pixelsDiffering(const QImage &image, const QImage &other, const QRect &rect)
{
    int count = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            count += image.pixel(x, y) != other.pixel(x, y);
    return count;
}

QPixmap filled(QColor colour)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(colour);
    return pixmap;
}

} // namespace

class TestStatusBar : public QObject
{
    Q_OBJECT

    QWidget m_owner;
    PanelStatusBar m_bar;

    // Panels "Item1".."ItemN" of the given minimum widths, plain and not springing.
    void addPanels(PanelStatusBar &bar, const QList<int> &minWidths)
    {
        for (int i = 0; i < minWidths.size(); ++i)
            bar.addPanel(0, QString(), -1, minWidths[i], false, false, 0,
                         QStringLiteral("Item%1").arg(i + 1));
    }

    void expectError(const std::function<void()> &call, qint32 number, const QString &source,
                     const QString &description)
    {
        try {
            call();
            QFAIL("no error raised");
        } catch (const NumberedError &e) {
            QCOMPARE(e.number(), number);
            QCOMPARE(e.source(), source);
            QCOMPARE(e.description(), description);
        }
    }

private slots:
    void init()
    {
        m_owner.resize(400, 20);
        m_owner.setToolTip(QString());
    }

    void panelIndex_data()
    {
        QTest::addColumn<QVariant>("key");
        QTest::addColumn<int>("expected"); // 0 = lookup error
        QTest::newRow("key") << QVariant(QStringLiteral("Item2")) << 2;
        QTest::newRow("position") << QVariant(3) << 3;
        QTest::newRow("numeric text") << QVariant(QStringLiteral("3")) << 3;
        QTest::newRow("numeric text with blanks") << QVariant(QStringLiteral(" 1 ")) << 1;
        QTest::newRow("half rounds to even") << QVariant(2.5) << 2;
        QTest::newRow("duplicate key finds first") << QVariant(QStringLiteral("Dup")) << 4;
        QTest::newRow("zero") << QVariant(0) << 0;
        QTest::newRow("negative") << QVariant(-1) << 0;
        QTest::newRow("past the count") << QVariant(6) << 0;
        QTest::newRow("keys are case-sensitive") << QVariant(QStringLiteral("item2")) << 0;
        QTest::newRow("unknown key") << QVariant(QStringLiteral("Nope")) << 0;
        QTest::newRow("empty key") << QVariant(QString()) << 0;
    }
    void panelIndex()
    {
        QFETCH(QVariant, key);
        QFETCH(int, expected);
        PanelStatusBar bar;
        bar.create(&m_owner);
        addPanels(bar, {10, 10, 10});
        bar.addPanel(0, {}, -1, 10, false, false, 0, QStringLiteral("Dup"));
        bar.addPanel(0, {}, -1, 10, false, false, 0, QStringLiteral("Dup"));
        if (expected > 0) {
            QCOMPARE(bar.panelIndex(key), expected);
            QVERIFY(bar.panelExists(key));
        } else {
            expectError([&] { bar.panelIndex(key); }, kErrInvalidPanelIndex,
                        QStringLiteral("quarvel.vbalStatusBar"),
                        QStringLiteral("Invalid Panel Index: ") + key.toString());
            QVERIFY(!bar.panelExists(key)); // never throws
            // Every keyed member goes through the same lookup.
            expectError([&] { bar.setPanelText(key, QStringLiteral("x")); },
                        kErrInvalidPanelIndex, QStringLiteral("quarvel.vbalStatusBar"),
                        QStringLiteral("Invalid Panel Index: ") + key.toString());
        }
    }

    void panelKeyByPosition()
    {
        PanelStatusBar bar;
        addPanels(bar, {10, 10});
        QCOMPARE(bar.panelKey(2), QStringLiteral("Item2"));
        bar.setPanelKey(1, 42); // any value, kept as its text
        QCOMPARE(bar.panelKey(1), QStringLiteral("42"));
        QCOMPARE(bar.panelIndex(QStringLiteral("Item2")), 2);
        for (int outside : {0, 3}) {
            const QString description = QStringLiteral("Invalid Panel Index: %1").arg(outside);
            expectError([&] { bar.panelKey(outside); }, kErrInvalidPanelIndex,
                        QStringLiteral("quarvel.vbalStatusBar"), description);
            expectError([&] { bar.setPanelKey(outside, QStringLiteral("x")); },
                        kErrInvalidPanelIndex, QStringLiteral("quarvel.vbalStatusBar"),
                        description);
        }
    }

    void panelLimit()
    {
        PanelStatusBar bar;
        bar.create(&m_owner);
        for (int i = 1; i <= 255; ++i)
            QCOMPARE(bar.addPanel(0, {}, -1, 1, false, false, 0, QString::number(i)), i);
        expectError([&] { bar.addPanel(0, {}, -1, 1, false, false, 0, QStringLiteral("x")); },
                    kErrTooManyPanels, QStringLiteral("quarvel.vbalStatusBar"),
                    QStringLiteral("Too many panels."));
        // Nothing was added: position 256 and the key are unknown.
        QCOMPARE(bar.panelCount(), 255);
        QVERIFY(!bar.panelExists(QStringLiteral("x")));
        QCOMPARE(bar.panelIndex(255), 255);
        expectError([&] { bar.panelIndex(256); }, kErrInvalidPanelIndex,
                    QStringLiteral("quarvel.vbalStatusBar"),
                    QStringLiteral("Invalid Panel Index: 256"));
        expectError([&] { bar.panelIndex(QStringLiteral("x")); }, kErrInvalidPanelIndex,
                    QStringLiteral("quarvel.vbalStatusBar"), QStringLiteral("Invalid Panel Index: x"));
    }

    void insertBefore_data()
    {
        QTest::addColumn<QVariant>("before");
        QTest::addColumn<int>("position"); // 0 = lookup error
        QTest::newRow("before the first, by key") << QVariant(QStringLiteral("Item1")) << 1;
        QTest::newRow("before a position") << QVariant(2) << 2;
        QTest::newRow("before the last") << QVariant(QStringLiteral("Item3")) << 3;
        QTest::newRow("unknown key") << QVariant(QStringLiteral("No")) << 0;
    }
    // The new panel gets an empty record: the panels it moves keep their icon and tool tip.
    void insertBefore()
    {
        QFETCH(QVariant, before);
        QFETCH(int, position);
        PanelStatusBar bar;
        bar.create(&m_owner);
        addPanels(bar, {20, 30, 40});
        const QPixmap red = filled(Qt::red);
        for (int i = 1; i <= 3; ++i) {
            bar.setPanelPixmap(i, red);
            bar.setPanelToolTipText(i, QString::number(i));
        }
        if (position == 0) {
            expectError(
                [&] { bar.addPanel(0, {}, -1, 1, false, false, 0, QStringLiteral("New"), before); },
                kErrInvalidPanelIndex, QStringLiteral("quarvel.vbalStatusBar"),
                QStringLiteral("Invalid Panel Index: No"));
            QCOMPARE(bar.panelCount(), 3);
            return;
        }
        QCOMPARE(bar.addPanel(0, QStringLiteral("new"), -1, 50, false, false, 7,
                              QStringLiteral("New"), before),
                 position);
        QCOMPARE(bar.panelCount(), 4);
        QCOMPARE(bar.panelKey(position), QStringLiteral("New"));
        QCOMPARE(bar.panelText(position), QStringLiteral("new"));
        QVERIFY(bar.panelPixmap(position).isNull());
        QCOMPARE(bar.panelToolTipText(position), QString());
        for (int i = 1; i <= 3; ++i) {
            const QString key = QStringLiteral("Item%1").arg(i);
            QCOMPARE(bar.panelIndex(key), i < position ? i : i + 1);
            QCOMPARE(bar.panelToolTipText(key), QString::number(i));
            QCOMPARE(bar.panelPixmap(key).cacheKey(), red.cacheKey());
        }
    }

    void removePanel_data()
    {
        QTest::addColumn<QVariant>("key");
        QTest::addColumn<QStringList>("remaining");
        QTest::newRow("first") << QVariant(QStringLiteral("Item1"))
                               << QStringList{QStringLiteral("Item2"), QStringLiteral("Item3")};
        QTest::newRow("middle, by position")
            << QVariant(2) << QStringList{QStringLiteral("Item1"), QStringLiteral("Item3")};
        QTest::newRow("last") << QVariant(QStringLiteral("Item3"))
                              << QStringList{QStringLiteral("Item1"), QStringLiteral("Item2")};
    }
    void removePanel()
    {
        QFETCH(QVariant, key);
        QFETCH(QStringList, remaining);
        PanelStatusBar bar;
        bar.create(&m_owner);
        addPanels(bar, {50, 60, 70});
        for (int i = 1; i <= 3; ++i)
            bar.setPanelToolTipText(i, bar.panelKey(i));
        bar.removePanel(key);
        QStringList keys;
        for (int i = 1; i <= bar.panelCount(); ++i) {
            keys << bar.panelKey(i);
            QCOMPARE(bar.panelToolTipText(i), bar.panelKey(i)); // the records moved up whole
        }
        QCOMPARE(keys, remaining);
        QCOMPARE(rectOf(bar, 2).right, 400); // laid out again: the last one reaches the edge
        bar.removePanel(1);
        bar.removePanel(1);
        QCOMPARE(bar.panelCount(), 0);
    }

    void springFlags()
    {
        PanelStatusBar bar;
        bar.create(&m_owner);
        auto springing = [&] {
            QList<int> result;
            for (int i = 1; i <= bar.panelCount(); ++i)
                if (bar.panelSpring(i))
                    result << i;
            return result;
        };
        addPanels(bar, {10, 10, 10});
        QCOMPARE(springing(), QList<int>{});
        bar.setPanelSpring(QStringLiteral("Item2"), true);
        QCOMPARE(springing(), QList<int>{2});
        bar.setPanelSpring(QStringLiteral("Item1"), true);
        QCOMPARE(springing(), QList<int>{1});
        QVERIFY(rectOf(bar, 1).right > 300); // laid out again at once
        bar.setPanelSpring(QStringLiteral("Item3"), false); // already off: nothing changes
        QCOMPARE(springing(), QList<int>{1});
        bar.setPanelSpring(QStringLiteral("Item1"), false);
        QCOMPARE(springing(), QList<int>{});
    }

    // The springing panel takes the free width; a new panel that springs stops the others.
    void springIsExclusive()
    {
        PanelStatusBar bar;
        bar.create(&m_owner);
        auto width = [&](const QString &key) {
            const Edges e = rectOf(bar, key);
            return e.right - e.left;
        };
        bar.addPanel(0, {}, -1, 10, true, false, 0, QStringLiteral("A"));
        bar.addPanel(0, {}, -1, 10, false, false, 0, QStringLiteral("B"));
        QVERIFY(width(QStringLiteral("A")) > 300);
        QCOMPARE(width(QStringLiteral("B")), 10 + 10); // with the size grip's room
        bar.addPanel(0, {}, -1, 10, true, false, 0, QStringLiteral("C"));
        QCOMPARE(width(QStringLiteral("A")), 9);
        QCOMPARE(width(QStringLiteral("B")), 9);
        QVERIFY(width(QStringLiteral("C")) > 300);
    }

    void layout_data()
    {
        QTest::addColumn<QList<int>>("minWidths");
        QTest::addColumn<int>("spring");     // 1-based, 0 = none
        QTest::addColumn<int>("iconPanel");  // 1-based panel with a 16-pixel icon
        QTest::addColumn<int>("fitPanel");   // 1-based panel fitted to an ideal width of 90
        QTest::addColumn<QPoint>("offsets"); // left, top
        QTest::addColumn<QList<int>>("rects"); // left, top, right, bottom per panel

        QTest::newRow("last panel takes the free width")
            << QList<int>{50, 60, 70} << 0 << 0 << 0 << QPoint()
            << QList<int>{0, 0, 49, 20, 50, 0, 109, 20, 110, 0, 400, 20};
        QTest::newRow("first panel springs")
            << QList<int>{50, 60, 70} << 1 << 0 << 0 << QPoint()
            << QList<int>{0, 0, 259, 20, 260, 0, 319, 20, 320, 0, 400, 20};
        QTest::newRow("middle panel springs")
            << QList<int>{50, 60, 70} << 2 << 0 << 0 << QPoint()
            << QList<int>{0, 0, 49, 20, 50, 0, 319, 20, 320, 0, 400, 20};
        QTest::newRow("single panel reaches the edge")
            << QList<int>{100} << 0 << 0 << 0 << QPoint() << QList<int>{0, 0, 400, 20};
        QTest::newRow("too wide: nothing springs")
            << QList<int>{300, 200} << 1 << 0 << 0 << QPoint()
            << QList<int>{0, 0, 299, 20, 300, 0, 510, 20};
        QTest::newRow("icon widens its panel")
            << QList<int>{50, 60, 70} << 0 << 2 << 0 << QPoint()
            << QList<int>{0, 0, 49, 20, 50, 0, 125, 20, 126, 0, 400, 20};
        QTest::newRow("fitted panel uses its ideal width")
            << QList<int>{50, 60, 70} << 0 << 0 << 1 << QPoint()
            << QList<int>{0, 0, 89, 20, 90, 0, 149, 20, 150, 0, 400, 20};
        QTest::newRow("offsets narrow the first panel and lower all")
            << QList<int>{50, 60, 70} << 0 << 0 << 0 << QPoint(10, 2)
            << QList<int>{10, 2, 49, 20, 50, 2, 109, 20, 110, 2, 400, 20};
    }

    void layout()
    {
        QFETCH(QList<int>, minWidths);
        QFETCH(int, spring);
        QFETCH(int, iconPanel);
        QFETCH(int, fitPanel);
        QFETCH(QPoint, offsets);
        QFETCH(QList<int>, rects);

        PanelStatusBar bar;
        bar.create(&m_owner);
        QPixmap icon(16, 16);
        icon.fill(Qt::blue);
        bar.setImageList({icon});
        bar.setLeftTopOffsets(offsets.x(), offsets.y());
        for (int i = 0; i < minWidths.size(); ++i)
            bar.addPanel(0, {}, i + 1 == iconPanel ? 0 : -1, minWidths[i], i + 1 == spring,
                         i + 1 == fitPanel, 0, QStringLiteral("P%1").arg(i + 1));
        if (fitPanel)
            bar.setPanelIdealWidth(fitPanel, 90);
        for (int i = 0; i < minWidths.size(); ++i) {
            const Edges e = rectOf(bar, i + 1);
            const QList<int> actual{e.left, e.top, e.right, e.bottom};
            QCOMPARE(actual, rects.mid(i * 4, 4));
        }
    }

    void barHeight()
    {
        PanelStatusBar bar;
        bar.create(&m_owner);
        QCOMPARE(bar.barHeightPixels(), QFontMetrics(m_owner.font()).height() + 10);
    }

    // An icon of the image list shows at the panel's left; none for -1 or an image not in the
    // list.
    void icons()
    {
        PanelStatusBar bar;
        bar.create(&m_owner);
        QPixmap red(16, 16), green(16, 16);
        red.fill(Qt::red);
        green.fill(Qt::green);
        bar.setImageList({red, green});
        bar.addPanel(0, {}, 1, 20, false, false, 0, QStringLiteral("I"));
        const Edges e = rectOf(bar, QStringLiteral("I"));
        const QPoint inIcon(e.left + 2 + 8, (e.top + e.bottom) / 2);
        QCOMPARE(bar.panelIcon(QStringLiteral("I")), 1);
        QCOMPARE(render(bar, m_owner).pixel(inIcon), QColor(Qt::green).rgb());
        bar.setPanelIcon(QStringLiteral("I"), -1);
        QCOMPARE(bar.panelIcon(QStringLiteral("I")), -1);
        const QImage none = render(bar, m_owner);
        QVERIFY(none.pixel(inIcon) != QColor(Qt::green).rgb());
        QVERIFY(none.pixel(inIcon) != QColor(Qt::red).rgb());
        bar.setPanelIcon(QStringLiteral("I"), 0);
        QCOMPARE(render(bar, m_owner).pixel(inIcon), QColor(Qt::red).rgb());
        bar.setPanelIcon(QStringLiteral("I"), 5); // no such image: no icon
        QCOMPARE(render(bar, m_owner), none);
    }

    void barProperties()
    {
        PanelStatusBar bar;
        bar.setTag(QStringLiteral("42"));
        QCOMPARE(bar.tag(), QStringLiteral("42"));

        expectError([&] { bar.create(nullptr); }, kErrSubscriptOutOfRange,
                    QStringLiteral("quarvel.cNoStatusBar"),
                    QStringLiteral("Invalid object passed to Create."));
        // Without an owner nothing paints and nothing fails.
        QImage image(10, 10, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::magenta);
        QPainter painter(&image);
        bar.addPanel(0, QStringLiteral("x"), -1, 10, false, false, 0, QStringLiteral("A"));
        bar.draw(painter);
        bar.draw(1);
        painter.end();
        QCOMPARE(image.pixel(5, 5), QColor(Qt::magenta).rgb());
    }

    void mouse()
    {
        PanelStatusBar bar;
        bar.create(&m_owner);
        addPanels(bar, {50, 60, 70});
        bar.setPanelToolTipText(2, QStringLiteral("second"));
        bar.setPanelToolTipText(3, QStringLiteral("third"));
        bar.handleMouseMove(QPoint(60, 5));
        QCOMPARE(m_owner.toolTip(), QStringLiteral("second"));
        bar.handleMouseMove(QPoint(109, 20)); // edges count
        QCOMPARE(m_owner.toolTip(), QStringLiteral("second"));
        bar.handleMouseMove(QPoint(450, 5)); // over no panel: left alone
        QCOMPARE(m_owner.toolTip(), QStringLiteral("second"));

        QSignalSpy spy(&bar, &PanelStatusBar::panelDoubleClicked);
        bar.handleDoubleClick(QPoint(200, 10));
        QCOMPARE(spy.count(), 1);
        const QPoint global = m_owner.mapToGlobal(QPoint(200, 10));
        QCOMPARE(spy.at(0).at(0).toInt(), 3);
        QCOMPARE(spy.at(0).at(1).toInt(), global.x());
        QCOMPARE(spy.at(0).at(2).toInt(), global.y());
        bar.handleDoubleClick(QPoint(450, 10));
        QCOMPARE(spy.count(), 1);
    }

    // A panel's text draws in that panel only.
    void textShowsInItsPanel()
    {
        PanelStatusBar bar;
        bar.create(&m_owner);
        addPanels(bar, {50, 60, 70});
        const QImage empty = render(bar, m_owner);
        bar.setPanelText(2, QStringLiteral("WWWW"));
        QCOMPARE(bar.panelText(2), QStringLiteral("WWWW"));
        const QImage withText = render(bar, m_owner);
        QVERIFY(pixelsDiffering(withText, empty, QRect(50, 0, 60, 20)) > 0);
        QCOMPARE(pixelsDiffering(withText, empty, QRect(0, 0, 49, 20)), 0);
        QCOMPARE(pixelsDiffering(withText, empty, QRect(111, 0, 289, 20)), 0);
    }

    void ownerDraw()
    {
        // The same panels without text: what a panel looks like when nothing is drawn in it.
        PanelStatusBar blankBar;
        blankBar.create(&m_owner);
        PanelStatusBar bar;
        bar.create(&m_owner);
        for (PanelStatusBar *b : {&blankBar, &bar}) {
            const QString text = b == &bar ? QStringLiteral("WWWW") : QString();
            b->addPanel(PanelStatusBar::kStyleOwnerDraw, text, -1, 100, false, false, 0,
                        QStringLiteral("A"));
            b->addPanel(PanelStatusBar::kStyleOwnerDraw, text, -1, 100, false, false, 0,
                        QStringLiteral("B"));
        }
        const QImage blank = render(blankBar, m_owner);
        QList<int> raised;
        connect(&bar, &PanelStatusBar::ownerDrawRequested, this,
                [&](QPainter *painter, int panel, int &left, int &top, int &right, int &bottom,
                    bool &doDefault) {
                    raised << panel;
                    if (panel == 1) {
                        painter->fillRect(QRect(left, top, 10, bottom - top), Qt::red);
                        left += 40; // the default text follows the moved edge
                    } else {
                        QVERIFY(doDefault); // a new panel starts with its default drawing
                        Q_UNUSED(right);
                    }
                });
        QImage image = render(bar, m_owner);
        QCOMPARE(raised, (QList<int>{1, 2}));
        QCOMPARE(image.pixel(5, 10), QColor(Qt::red).rgb());
        QCOMPARE(pixelsDiffering(image, blank, QRect(10, 0, 30, 20)), 0);
        QVERIFY(pixelsDiffering(image, blank, QRect(40, 0, 59, 20)) > 0);

        // A handler that turns the default drawing off does so for its own panel only.
        disconnect(&bar, &PanelStatusBar::ownerDrawRequested, this, nullptr);
        connect(&bar, &PanelStatusBar::ownerDrawRequested, this,
                [&](QPainter *, int panel, int &, int &, int &, int &, bool &doDefault) {
                    if (panel == 1)
                        doDefault = false;
                });
        image = render(bar, m_owner);
        QCOMPARE(pixelsDiffering(image, blank, QRect(0, 0, 99, 20)), 0);
        QVERIFY(pixelsDiffering(image, blank, QRect(100, 0, 100, 20)) > 0);
    }

    void clippedRow()
    {
        PanelStatusBar bar;
        bar.create(&m_owner);
        for (int width : {300, 200, 100})
            bar.addPanel(PanelStatusBar::kStyleOwnerDraw, {}, -1, width, false, false, 0, {});
        QList<int> raised;
        int rightOfSecond = 0;
        connect(&bar, &PanelStatusBar::ownerDrawRequested, this,
                [&](QPainter *, int panel, int &, int &, int &right, int &, bool &) {
                    raised << panel;
                    if (panel == 2)
                        rightOfSecond = right;
                });
        render(bar, m_owner);
        QCOMPARE(raised, (QList<int>{1, 2}));
        QCOMPARE(rightOfSecond, 399);
    }

    void sizeGrip()
    {
        PanelStatusBar bar;
        bar.create(&m_owner);
        addPanels(bar, {50});
        const QRect corner(380, 0, 20, 20);
        const QImage without = render(bar, m_owner);
        bar.setSizeGrip(true);
        QVERIFY(pixelsDiffering(render(bar, m_owner), without, corner) > 0);
        QCOMPARE(pixelsDiffering(render(bar, m_owner), without, QRect(0, 0, 370, 20)), 0);
    }

    void backgroundPicture()
    {
        QTemporaryDir dir;
        const QString tile = dir.filePath(QStringLiteral("tile.png"));
        QImage green(3, 2, QImage::Format_RGB32);
        green.fill(Qt::green);
        QVERIFY(green.save(tile));
        const QString empty = dir.filePath(QStringLiteral("empty.bmp"));
        QFile(empty).open(QIODevice::WriteOnly);

        PanelStatusBar bar;
        bar.create(&m_owner);
        addPanels(bar, {50, 60});
        // A picture that does not load (here an empty file) leaves the plain background.
        const QImage plain = render(bar, m_owner);
        QVERIFY(plain.pixel(200, 10) != QColor(Qt::green).rgb());
        bar.setImageFile(empty);
        QCOMPARE(render(bar, m_owner), plain);
        bar.setImageFile(tile);
        QCOMPARE(render(bar, m_owner).pixel(200, 10), QColor(Qt::green).rgb());
        QCOMPARE(render(bar, m_owner).pixel(25, 10), QColor(Qt::green).rgb());
        bar.setImageFile(empty); // keeps the picture it has
        QCOMPARE(bar.imageFile(), empty);
        QCOMPARE(render(bar, m_owner).pixel(200, 10), QColor(Qt::green).rgb());
    }

    void styledDrawing()
    {
        PanelStatusBar bar;
        bar.create(&m_owner);
        QPixmap icon(16, 16);
        icon.fill(Qt::blue);
        bar.setImageList({icon});
        bar.addPanel(0, QStringLiteral("Status"), -1, 145, true, false, 0, QStringLiteral("Item1"));
        bar.addPanel(PanelStatusBar::kStyleGripperPane, {}, 0, 16, false, false, 0,
                     QStringLiteral("Item3"));
        bar.addPanel(PanelStatusBar::kStyleOwnerDraw, {}, -1, 172, false, false, 0,
                     QStringLiteral("Item7"));
        bar.setSizeGrip(true);
        int raised = 0;
        connect(&bar, &PanelStatusBar::ownerDrawRequested, this,
                [&](QPainter *painter, int panel, int &left, int &top, int &, int &, bool &) {
                    QCOMPARE(panel, 3);
                    ++raised;
                    painter->fillRect(left, top, 4, 4, Qt::red);
                });
        const QImage image = render(bar, m_owner);
        QCOMPARE(raised, 1);
        const Edges item7 = rectOf(bar, QStringLiteral("Item7"));
        QCOMPARE(image.pixel(item7.left + 1, item7.top + 1), QColor(Qt::red).rgb());
        // The icon of Item3 is on the bar.
        const Edges item3 = rectOf(bar, QStringLiteral("Item3"));
        QCOMPARE(image.pixel(item3.left + 2 + 8, 10), QColor(Qt::blue).rgb());
    }

    // A panel's ideal width is its text plus 12, at least its minimum width; only measuring
    // (adding the panel, switching spring or fit) sets it, not a new text.
    void measuring()
    {
        PanelStatusBar bar;
        bar.create(&m_owner);
        const QFontMetrics metrics(m_owner.font());
        bar.addPanel(0, QStringLiteral("Wide panel text"), -1, 5, false, true, 0,
                     QStringLiteral("Fit"));
        const int ideal = metrics.horizontalAdvance(QStringLiteral("Wide panel text")) + 12;
        QCOMPARE(bar.panelIdealWidth(QStringLiteral("Fit")), ideal);
        QVERIFY(bar.panelFitToContents(QStringLiteral("Fit")));
        bar.setPanelText(QStringLiteral("Fit"),
                         QStringLiteral("Much wider panel text than before"));
        QCOMPARE(bar.panelIdealWidth(QStringLiteral("Fit")), ideal);
        bar.setPanelFitToContents(QStringLiteral("Fit"), false);
        QVERIFY(!bar.panelFitToContents(QStringLiteral("Fit")));
        bar.setPanelFitToContents(QStringLiteral("Fit"), true);
        QVERIFY(bar.panelIdealWidth(QStringLiteral("Fit")) > ideal);
        bar.addPanel(0, QStringLiteral("x"), -1, 300, false, true, 0, QStringLiteral("Min"));
        QCOMPARE(bar.panelIdealWidth(QStringLiteral("Min")), 300);
        QCOMPARE(bar.panelMinWidth(QStringLiteral("Min")), 300);
    }

    void fontAndHeight()
    {
        QWidget owner;
        PanelStatusBar bar;
        bar.create(&owner);
        QFont font(owner.font());
        font.setPointSize(24);
        bar.setFont(font);
        QCOMPARE(owner.font(), font);
        QCOMPARE(bar.font(), font);
        const int pixels = QFontMetrics(font).height() + 10;
        QCOMPARE(bar.barHeightPixels(), pixels);
        QCOMPARE(bar.height(), pixels * 15);
    }

    // A pixmap of the host's own replaces the panel's icon, takes the icon's room and shows.
    void hostPixmap()
    {
        PanelStatusBar bar;
        bar.create(&m_owner);
        bar.setImageList({filled(Qt::red)});
        addPanels(bar, {50, 60});
        bar.setPanelIcon(1, 0);
        bar.setPanelPixmap(1, filled(Qt::green));
        QCOMPARE(bar.panelIcon(1), 0);
        QCOMPARE(bar.panelPixmap(1).toImage().pixel(0, 0), QColor(Qt::green).rgb());
        QCOMPARE(rectOf(bar, 1).right, 50 + 16 - 1);
        QCOMPARE(render(bar, m_owner).pixel(2 + 8, 10), QColor(Qt::green).rgb());
        bar.setPanelIcon(1, -1); // removes it, pixmap and all
        QVERIFY(bar.panelPixmap(1).isNull());
        QCOMPARE(rectOf(bar, 1).right, 49);
    }

    // Reading gives what the program can do, not the choice; the choice picks the drawing.
    void stylesSwitch()
    {
        PanelStatusBar bar;
        bar.create(&m_owner);
        addPanels(bar, {50, 60});
        QVERIFY(bar.allowXPStyles());
        const QImage styled = render(bar, m_owner);
        bar.setAllowXPStyles(false);
        QVERIFY(bar.allowXPStyles());
        const QImage classic = render(bar, m_owner);
        QCOMPARE(pixelsOtherThan(classic, classic.rect(), buttonFace()), 0);
        bar.setAllowXPStyles(true);
        QCOMPARE(render(bar, m_owner), styled);
    }

    // A program without a widget style (the test run again as one) cannot switch styles on.
    void stylesUnavailable()
    {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--without-widgets")});
        QVERIFY(child.waitForFinished(60000));
        QCOMPARE(child.exitCode(), 0);
        QCOMPARE(QString::fromUtf8(child.readAllStandardOutput()),
                 QStringLiteral("%1|quarvel.vbalStatusBar|XP Styles not supported on this "
                                "Windows installation.")
                     .arg(kErrStylesNotSupported));
    }

    // A write that changes the look repaints the bar; text beside the panels does not show. A
    // panel's style is kept whole (bits without a meaning too) and its owner-drawn bit raises
    // ownerDrawRequested for that panel.
    void writesRepaint_data()
    {
        QTest::addColumn<bool>("modeBefore");
        QTest::addColumn<QString>("write"); // "mode", "text", "styles off" or "style"
        QTest::addColumn<bool>("repaints");
        QTest::newRow("mode on") << false << "mode" << true;
        QTest::newRow("mode off") << true << "mode" << true;
        QTest::newRow("text in simple mode") << true << "text" << true;
        QTest::newRow("text beside the panels") << false << "text" << false;
        QTest::newRow("styles off") << false << "styles off" << true;
        QTest::newRow("panel style") << false << "style" << true;
        QTest::newRow("panel style in simple mode") << true << "style" << true;
    }
    void writesRepaint()
    {
        QFETCH(bool, modeBefore);
        QFETCH(QString, write);
        QFETCH(bool, repaints);
        PaintCounter owner;
        owner.resize(200, 20);
        PanelStatusBar bar;
        bar.create(&owner);
        addPanels(bar, {50});
        bar.setSimpleMode(modeBefore);
        owner.show();
        QVERIFY(QTest::qWaitForWindowExposed(&owner));
        QTRY_VERIFY(owner.paints > 0);
        QCoreApplication::processEvents();
        const int before = owner.paints;
        if (write == QLatin1String("mode"))
            bar.setSimpleMode(!modeBefore);
        else if (write == QLatin1String("text"))
            bar.setSimpleText(QStringLiteral("Simple"));
        else if (write == QLatin1String("style"))
            bar.setPanelStyle(QStringLiteral("Item1"), PanelStatusBar::kStyleOwnerDraw | 0x4);
        else
            bar.setAllowXPStyles(false);
        QCOMPARE(bar.simpleText(), write == QLatin1String("text") ? QStringLiteral("Simple") : QString());
        const bool simple = write == QLatin1String("mode") ? !modeBefore : modeBefore;
        QCOMPARE(bar.simpleMode(), simple);
        const bool ownerDrawn = write == QLatin1String("style");
        QCOMPARE(bar.panelStyle(1), ownerDrawn ? PanelStatusBar::kStyleOwnerDraw | 0x4 : 0);
        if (repaints) {
            QTRY_VERIFY(owner.paints > before);
        } else {
            QCoreApplication::processEvents();
            QCOMPARE(owner.paints, before);
        }
        QList<int> raised;
        connect(&bar, &PanelStatusBar::ownerDrawRequested, this,
                [&](QPainter *, int panel, int &, int &, int &, int &, bool &) { raised << panel; });
        render(bar, owner);
        QCOMPARE(raised, ownerDrawn && !simple ? QList<int>{1} : QList<int>{});
    }

    // Simple mode shows its text instead of the panels and raises no owner drawing.
    void simpleModeDrawing_data()
    {
        QTest::addColumn<bool>("styled");
        QTest::newRow("styled") << true;
        QTest::newRow("classic") << false;
    }
    void simpleModeDrawing()
    {
        QFETCH(bool, styled);
        PanelStatusBar bar, noPanels;
        for (PanelStatusBar *b : {&bar, &noPanels}) {
            b->create(&m_owner);
            b->setAllowXPStyles(styled);
            b->setSimpleMode(true);
        }
        bar.addPanel(0, QStringLiteral("WWWW"), -1, 100, false, false, 0, QStringLiteral("A"));
        bar.addPanel(PanelStatusBar::kStyleOwnerDraw, QStringLiteral("WWWW"), -1, 100, false, false,
                     0, QStringLiteral("B"));
        int raised = 0;
        connect(&bar, &PanelStatusBar::ownerDrawRequested, this,
                [&](QPainter *, int, int &, int &, int &, int &, bool &) { ++raised; });
        QCOMPARE(render(bar, m_owner), render(noPanels, m_owner));
        if (!styled)
            QCOMPARE(pixelsOtherThan(render(bar, m_owner), m_owner.rect(), buttonFace()), 0);
        bar.setSimpleText(QStringLiteral("Simple"));
        const QImage withText = render(bar, m_owner);
        QVERIFY(pixelsDiffering(withText, render(noPanels, m_owner), QRect(0, 0, 60, 20)) > 0);
        QCOMPARE(pixelsDiffering(withText, render(noPanels, m_owner), QRect(100, 0, 250, 20)), 0);
        QCOMPARE(raised, 0);
        bar.setSimpleMode(false);
        render(bar, m_owner);
        QCOMPARE(raised, 1);
    }

    // The classic bar: flat button face, the text and icon where the panel is, a ridged grip
    // in the corner and a picture tiled under all of it.
    void classicDrawing()
    {
        PanelStatusBar bar;
        bar.create(&m_owner);
        bar.setAllowXPStyles(false);
        bar.setImageList({filled(Qt::blue)});
        addPanels(bar, {50, 60, 70});
        const QRect corner(380, 4, 20, 16);
        QCOMPARE(pixelsOtherThan(render(bar, m_owner), m_owner.rect(), buttonFace()), 0);

        bar.setPanelText(2, QStringLiteral("WWWW"));
        QImage image = render(bar, m_owner);
        QVERIFY(pixelsOtherThan(image, QRect(50, 0, 60, 20), buttonFace()) > 0);
        QCOMPARE(pixelsOtherThan(image, QRect(0, 0, 49, 20), buttonFace()), 0);
        QCOMPARE(pixelsOtherThan(image, QRect(111, 0, 289, 20), buttonFace()), 0);

        bar.setPanelIcon(1, 0); // one pixel higher than in a styled pane
        image = render(bar, m_owner);
        QCOMPARE(image.pixel(2, 1 + (20 - 2 - 16) / 2), QColor(Qt::blue).rgb());
        QCOMPARE(image.pixel(2, 1 + (20 - 2 - 16) / 2 + 16), buttonFace());

        bar.setSizeGrip(true);
        image = render(bar, m_owner);
        QVERIFY(pixelsOtherThan(image, corner, buttonFace()) > 0);
        QCOMPARE(pixelsOtherThan(image, QRect(300, 0, 80, 20), buttonFace()), 0);

        QTemporaryDir dir;
        const QString tile = dir.filePath(QStringLiteral("tile.png"));
        QImage green(3, 2, QImage::Format_RGB32);
        green.fill(Qt::green);
        QVERIFY(green.save(tile));
        bar.setImageFile(tile);
        image = render(bar, m_owner);
        for (const QPoint &point : {QPoint(0, 0), QPoint(30, 10), QPoint(250, 19)})
            QCOMPARE(image.pixel(point), QColor(Qt::green).rgb());
    }
};

// Run as "tst_statusbar --without-widgets": a program without a widget style tries to switch
// the bar's styles on and prints the error it gets.
static int switchStylesWithoutWidgets(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    PanelStatusBar bar;
    if (bar.allowXPStyles())
        return 2;
    bar.setAllowXPStyles(false);
    try {
        bar.setAllowXPStyles(true);
    } catch (const NumberedError &e) {
        QTextStream(stdout) << e.number() << '|' << e.source() << '|' << e.description();
        return 0;
    }
    return 3;
}

int main(int argc, char **argv)
{
    if (argc == 2 && qstrcmp(argv[1], "--without-widgets") == 0)
        return switchStylesWithoutWidgets(argc, argv);
    QApplication app(argc, argv);
    TestStatusBar test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_statusbar.moc"
