#include "widgets/childholder.h"

#include <QLabel>
#include <QTabBar>
#include <QVBoxLayout>
#include <QtTest>

namespace {

// A request posted while posted events are being sent waits for the next round: a request that
// climbs two levels needs two.
void deliverPostedEvents()
{
    for (int round = 0; round < 3; ++round)
        QCoreApplication::processEvents();
}

// Counts the layout passes the window is asked for.
class LayoutRequests : public QObject
{
public:
    explicit LayoutRequests(QWidget *window) { window->installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::LayoutRequest)
            ++count;
        return false;
    }
};

struct Window
{
    QWidget window;
    ChildHolder *holder = nullptr;

    explicit Window(QWidget *child, ChildHolder::Width width)
    {
        auto *layout = new QVBoxLayout(&window);
        holder = new ChildHolder(child, width, &window);
        layout->addWidget(holder);
        layout->addStretch();
        window.resize(400, 200);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        deliverPostedEvents();
    }
};

} // namespace

class TestChildHolder : public QObject
{
    Q_OBJECT

private slots:
    // A tab strip asks for a layout at each caption; the window hears of it only when the strip's
    // height changes, and the strip always fills its holder.
    void tabStripPassesOnHeightOnly()
    {
        auto *strip = new QTabBar;
        strip->addTab(QStringLiteral("about:blank"));
        Window w(strip, ChildHolder::Width::ChildMinimum);
        LayoutRequests requests(&w.window);

        strip->setTabText(0, QStringLiteral("A much longer caption of a loaded page"));
        strip->addTab(QStringLiteral("Second"));
        strip->updateGeometry(); // as the frame's strip asks at every caption
        deliverPostedEvents();
        QCOMPARE(requests.count, 0);
        QCOMPARE(strip->geometry(), w.holder->rect());

        QFont big = strip->font();
        big.setPointSize(big.pointSize() * 3);
        strip->setFont(big);
        QTRY_VERIFY(requests.count > 0);
        QTRY_COMPARE(w.holder->height(), strip->sizeHint().height());
        QCOMPARE(strip->geometry(), w.holder->rect());
    }

    // With the child's own width, a wider hint is passed on; a resize that changes no hint is not.
    void widthChangesArePassedOn()
    {
        auto *label = new QLabel(QStringLiteral("short"));
        Window w(label, ChildHolder::Width::Child);
        LayoutRequests requests(&w.window);

        w.window.resize(420, 220);
        deliverPostedEvents();
        const int afterResize = requests.count;
        label->setText(QStringLiteral("short")); // the same text: no hint changes
        label->updateGeometry();
        deliverPostedEvents();
        QCOMPARE(requests.count, afterResize);

        label->setText(QStringLiteral("a label text that is a good deal wider than before"));
        QTRY_VERIFY(requests.count > afterResize);
        QCOMPARE(w.holder->sizeHint().width(), label->sizeHint().width());
    }
};

QTEST_MAIN(TestChildHolder)
#include "tst_childholder.moc"
