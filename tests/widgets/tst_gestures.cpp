#include "widgets/mousegesturerecognizer.h"

#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>
#include <QtTest>

namespace {

QList<QPoint> line(QPoint from, QPoint to, int steps = 10)
{
    QList<QPoint> points;
    for (int i = 0; i <= steps; ++i)
        points << from + (to - from) * i / steps;
    return points;
}

// A stroke through the corners given, with points along each leg.
QList<QPoint> path(const QList<QPoint> &corners)
{
    QList<QPoint> points{corners.first()};
    for (int i = 1; i < corners.size(); ++i)
        points << line(corners[i - 1], corners[i]).mid(1);
    return points;
}

class Target : public QWidget
{
public:
    int contextMenus = 0;
    int rightPresses = 0;
    int leftPresses = 0;
    int moves = 0;

protected:
    void contextMenuEvent(QContextMenuEvent *event) override
    {
        ++contextMenus;
        event->accept();
    }
    void mousePressEvent(QMouseEvent *event) override
    {
        if (event->button() == Qt::RightButton)
            ++rightPresses;
        else if (event->button() == Qt::LeftButton)
            ++leftPresses;
    }
    void mouseMoveEvent(QMouseEvent *) override { ++moves; }
};

} // namespace

class TestGestures : public QObject
{
    Q_OBJECT

    Target *m_target = nullptr;
    QWindow *m_window = nullptr;

    void stroke(const QList<QPoint> &points)
    {
        QTest::mousePress(m_window, Qt::RightButton, {}, points.first());
        for (const QPoint &p : points.mid(1, points.size() - 2))
            QTest::mouseMove(m_window, p);
        QTest::mouseRelease(m_window, Qt::RightButton, {}, points.last());
    }

    // Lets the posted work (judging the stroke, handing held events back) run.
    static void settle()
    {
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
    }

private slots:
    void initTestCase()
    {
        m_target = new Target;
        m_target->setMouseTracking(true);
        m_target->resize(400, 400);
        m_target->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_target));
        m_window = m_target->windowHandle();
        QVERIFY(m_window);
    }
    void cleanupTestCase() { delete m_target; }
    void init()
    {
        m_target->contextMenus = m_target->rightPresses = m_target->leftPresses = 0;
        m_target->moves = 0;
    }

    void recognize_data()
    {
        QTest::addColumn<QList<QPoint>>("points");
        QTest::addColumn<int>("code");

        QTest::newRow("up") << line({100, 100}, {100, 40}) << 1;
        QTest::newRow("down") << line({100, 100}, {100, 160}) << 2;
        QTest::newRow("right") << line({100, 100}, {200, 100}) << 4;
        QTest::newRow("left") << line({200, 100}, {100, 100}) << 8;
        QTest::newRow("8 pixels across do not count") << line({100, 100}, {108, 40}) << 1;
        QTest::newRow("9 pixels across count") << line({100, 100}, {109, 150}) << 512;
        QTest::newRow("ratio above 7 drops the minor axis") << line({100, 100}, {109, 30}) << 1;
        QTest::newRow("ratio above 7 the other way") << line({100, 100}, {30, 109}) << 8;
        QTest::newRow("ratio of exactly 7 keeps both, straight")
            << line({100, 100}, {110, 30}) << 16;
        QTest::newRow("ratio of exactly 7 keeps both, right first")
            << path({{100, 100}, {110, 100}, {110, 30}}) << 256;
        QTest::newRow("right then up") << path({{100, 100}, {200, 100}, {200, 0}}) << 256;
        QTest::newRow("up then right") << path({{100, 100}, {100, 0}, {200, 0}}) << 16;
        QTest::newRow("down then right") << path({{0, 0}, {0, 100}, {100, 100}}) << 32;
        QTest::newRow("right then down") << path({{0, 0}, {100, 0}, {100, 100}}) << 512;
        QTest::newRow("down then left") << path({{100, 0}, {100, 100}, {0, 100}}) << 64;
        QTest::newRow("left then down") << path({{100, 0}, {0, 0}, {0, 100}}) << 1024;
        QTest::newRow("up then left") << path({{100, 100}, {100, 0}, {0, 0}}) << 128;
        QTest::newRow("left then up") << path({{100, 100}, {0, 100}, {0, 0}}) << 2048;
        QTest::newRow("diagonal up-right on the chord") << line({0, 100}, {100, 0}) << 16;
        QTest::newRow("diagonal down-right on the chord") << line({0, 0}, {100, 100}) << 512;
        QTest::newRow("a tie takes the second code")
            << QList<QPoint>{{0, 100}, {40, 100}, {60, 100}, {100, 0}} << 16;
        QTest::newRow("five pixels") << line({100, 100}, {105, 100}) << 0;
        QTest::newRow("eight pixels both ways") << line({100, 100}, {92, 108}) << 0;
        QTest::newRow("single point") << QList<QPoint>{{5, 5}} << 0;
    }
    void recognize()
    {
        QFETCH(QList<QPoint>, points);
        QFETCH(int, code);
        QCOMPARE(MouseGestureRecognizer::recognizeStroke(points), code);
    }

    void throughTheFilter_data()
    {
        QTest::addColumn<QList<QPoint>>("points");
        QTest::addColumn<int>("types");
        QTest::addColumn<bool>("accept");
        QTest::addColumn<int>("reported");    // code raised, 0 = none
        QTest::addColumn<int>("contextMenus"); // context menus the widget gets

        const QList<QPoint> up = line({200, 300}, {200, 100});
        const QList<QPoint> left = line({300, 200}, {100, 200});
        QTest::newRow("accepted gesture swallows the click") << up << 4095 << true << 1 << 0;
        QTest::newRow("refused gesture gives the menu") << up << 4095 << false << 1 << 1;
        QTest::newRow("plain click gives the menu")
            << QList<QPoint>{{50, 50}, {50, 50}} << 4095 << true << 0 << 1;
        QTest::newRow("short stroke gives the menu")
            << line({50, 50}, {55, 52}) << 4095 << true << 0 << 1;
        QTest::newRow("masked gesture gives the menu") << left << 5 << true << 0 << 1;
        QTest::newRow("mask lets its gestures through") << up << 5 << true << 1 << 0;
        QTest::newRow("two-segment code outside the mask")
            << path({{300, 300}, {300, 150}, {150, 150}}) << 4095 - 128 << true << 0 << 1;
    }
    void throughTheFilter()
    {
        QFETCH(QList<QPoint>, points);
        QFETCH(int, types);
        QFETCH(bool, accept);
        QFETCH(int, reported);
        QFETCH(int, contextMenus);

        MouseGestureRecognizer gestures;
        QCOMPARE(gestures.gestureTypes(), MouseGestureRecognizer::kAllGestures);
        gestures.setGestureTypes(types);
        QCOMPARE(gestures.gestureTypes(), types);
        gestures.attach();
        QList<int> codes;
        QPoint start, end;
        connect(&gestures, &MouseGestureRecognizer::gestureRecognized, this,
                [&](qint32 code, int x1, int y1, int x2, int y2, bool &acceptGesture) {
                    codes << code;
                    start = QPoint(x1, y1);
                    end = QPoint(x2, y2);
                    acceptGesture = accept;
                });

        stroke(points);
        // The press is held while the stroke may still be a gesture.
        QCOMPARE(m_target->rightPresses, 0);
        QCOMPARE(m_target->contextMenus, 0);
        if (contextMenus) {
            QTRY_COMPARE(m_target->contextMenus, contextMenus);
            QCOMPARE(m_target->rightPresses, 1);
        } else {
            QTRY_COMPARE(codes.size(), 1);
            settle();
            QCOMPARE(m_target->contextMenus, 0);
            QCOMPARE(m_target->rightPresses, 0);
        }
        if (reported) {
            QCOMPARE(codes, QList<int>{reported});
            QCOMPARE(start, m_window->mapToGlobal(points.first()));
            QCOMPARE(end, m_window->mapToGlobal(points.last()));
        } else {
            settle();
            QVERIFY(codes.isEmpty());
        }
    }

    void onlyTheStrokeIsHeld()
    {
        MouseGestureRecognizer gestures;
        gestures.attach();
        connect(&gestures, &MouseGestureRecognizer::gestureRecognized, this,
                [](qint32, int, int, int, int, bool &accept) { accept = true; });
        stroke(line({200, 300}, {200, 100}));
        QVERIFY(m_target->moves > 0); // moves of the stroke pass
        settle();
        // The next clicks reach the widget at once.
        QTest::mouseClick(m_window, Qt::LeftButton, {}, QPoint(20, 20));
        QCOMPARE(m_target->leftPresses, 1);
        QTest::mouseClick(m_window, Qt::LeftButton, {}, QPoint(25, 20));
        QCOMPARE(m_target->leftPresses, 2);
    }

    void offOrDetached_data()
    {
        QTest::addColumn<int>("types");
        QTest::addColumn<bool>("detach");
        QTest::newRow("no types") << 0 << false;
        QTest::newRow("negative types") << -1 << false;
        QTest::newRow("detached") << 4095 << true;
    }
    void offOrDetached()
    {
        QFETCH(int, types);
        QFETCH(bool, detach);
        MouseGestureRecognizer gestures;
        gestures.setGestureTypes(types);
        QCOMPARE(gestures.gestureTypes(), types); // kept as written, even when it turns it off
        gestures.attach();
        gestures.attach(); // a second attach changes nothing
        if (detach)
            gestures.detach();
        QCOMPARE(gestures.isAttached(), !detach);
        stroke(line({200, 300}, {200, 100}));
        QCOMPARE(m_target->rightPresses, 1); // not held at all
        QTRY_COMPARE(m_target->contextMenus, 1);
    }

    void forwardedEventsPass()
    {
        // Events code sends to a window (as a view does to its own off-screen window) are not
        // input from the window system and are never held.
        MouseGestureRecognizer gestures;
        gestures.attach();
        const QPointF at(60, 60);
        QMouseEvent press(QEvent::MouseButtonPress, at, m_window->mapToGlobal(at), Qt::RightButton,
                          Qt::RightButton, {});
        QCoreApplication::sendEvent(m_window, &press);
        QCOMPARE(m_target->rightPresses, 1);
        QMouseEvent release(QEvent::MouseButtonRelease, at, m_window->mapToGlobal(at),
                            Qt::RightButton, Qt::NoButton, {});
        QCoreApplication::sendEvent(m_window, &release);
    }

    void leftButtonSpoilsTheStroke()
    {
        MouseGestureRecognizer gestures;
        gestures.attach();
        int raised = 0;
        connect(&gestures, &MouseGestureRecognizer::gestureRecognized, this,
                [&](qint32, int, int, int, int, bool &accept) {
                    ++raised;
                    accept = true;
                });
        // Left held first: the right press is no stroke.
        QTest::mousePress(m_window, Qt::LeftButton, {}, QPoint(200, 300));
        stroke(line({200, 300}, {200, 100}));
        QTest::mouseRelease(m_window, Qt::LeftButton, {}, QPoint(200, 100));
        QCOMPARE(m_target->rightPresses, 1);
        // Left pressed during a stroke: the held press goes on, no gesture follows.
        QTest::mousePress(m_window, Qt::RightButton, {}, QPoint(200, 300));
        QTest::mouseMove(m_window, QPoint(200, 200));
        QTest::mousePress(m_window, Qt::LeftButton, {}, QPoint(200, 200));
        QTest::mouseMove(m_window, QPoint(200, 100));
        QTest::mouseRelease(m_window, Qt::RightButton, {}, QPoint(200, 100));
        QTest::mouseRelease(m_window, Qt::LeftButton, {}, QPoint(200, 100));
        QTRY_COMPARE(m_target->rightPresses, 2);
        settle();
        QCOMPARE(raised, 0);
    }
};

QTEST_MAIN(TestGestures)
#include "tst_gestures.moc"
