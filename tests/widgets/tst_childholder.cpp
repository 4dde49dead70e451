#include "widgets/childholder.h"

#include <QLabel>
#include <QTabBar>
#include <QVBoxLayout>
#include <QtTest>

namespace {

// Counts the layout passes a window is asked for. A request posted while posted events are being
// sent waits for the next round, so each check lets three rounds go by.
struct LayoutRequests : QObject
{
    int count = 0;
    int settledCount()
    {
        for (int round = 0; round < 3; ++round)
            QCoreApplication::processEvents();
        return count;
    }
    bool eventFilter(QObject *, QEvent *event) override
    {
        count += event->type() == QEvent::LayoutRequest;
        return false;
    }
};

} // namespace

class TestChildHolder : public QObject
{
    Q_OBJECT

private slots:
    void passesOnChangedHintsOnly_data()
    {
        QTest::addColumn<bool>("tabStrip");
        QTest::newRow("tab strip, its height") << true;
        QTest::newRow("label, its own width") << false;
    }

    // A caption that leaves the hints as they were reaches no further than the holder; a taller
    // strip or a wider label is passed on, and the child fills its holder.
    void passesOnChangedHintsOnly()
    {
        QFETCH(bool, tabStrip);
        QWidget window;
        auto *strip = new QTabBar(&window);
        strip->addTab(QStringLiteral("about:blank"));
        auto *label = new QLabel(QStringLiteral("short"), &window);
        QWidget *child = tabStrip ? static_cast<QWidget *>(strip) : label;
        (tabStrip ? static_cast<QWidget *>(label) : strip)->hide();
        auto *holder = new ChildHolder(
            child, tabStrip ? ChildHolder::Width::ChildMinimum : ChildHolder::Width::Child, &window);
        (new QVBoxLayout(&window))->addWidget(holder);
        window.resize(400, 200);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        LayoutRequests requests;
        requests.settledCount();
        window.installEventFilter(&requests);

        strip->setTabText(0, QStringLiteral("A much longer caption of a loaded page"));
        child->updateGeometry(); // as the frame's strip asks at every caption
        QCOMPARE(requests.settledCount(), 0);

        if (tabStrip) {
            QFont big = strip->font();
            big.setPointSize(big.pointSize() * 3);
            strip->setFont(big);
        } else {
            label->setText(QStringLiteral("a label text that is a good deal wider than before"));
        }
        QTRY_VERIFY(requests.settledCount() > 0);
        QTRY_COMPARE(child->geometry(), holder->rect());
        QCOMPARE(holder->sizeHint().height(), child->sizeHint().height());
        if (!tabStrip)
            QCOMPARE(holder->sizeHint().width(), label->sizeHint().width());
    }

    // Before the window first shows, the child's requests go nowhere: a change made after the
    // window's layout read the hints is passed on when it shows.
    void changeBeforeFirstShowIsPassedOn()
    {
        auto *label = new QLabel(QStringLiteral("short"));
        QWidget window;
        auto *holder = new ChildHolder(label, ChildHolder::Width::Child, &window);
        (new QVBoxLayout(&window))->addWidget(holder);
        window.layout()->activate();
        label->setText(QStringLiteral("a label text that is a good deal wider than before"));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTRY_COMPARE(window.layout()->itemAt(0)->sizeHint().width(), label->sizeHint().width());
    }
};

QTEST_MAIN(TestChildHolder)
#include "tst_childholder.moc"
