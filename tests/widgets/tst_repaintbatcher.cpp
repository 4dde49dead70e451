#include "widgets/repaintbatcher.h"

#include <QLabel>
#include <QtTest>

namespace {

// A label that counts its paints.
struct CountingLabel : QLabel
{
    using QLabel::QLabel;
    int paints = 0;
    void paintEvent(QPaintEvent *event) override
    {
        ++paints;
        QLabel::paintEvent(event);
    }
};

} // namespace

class TestRepaintBatcher : public QObject
{
    Q_OBJECT

private slots:
    // Two widgets of one window changed one after the other stay as they were until the batch
    // ends, and then both paint, together and once.
    void heldWidgetsPaintOnceTogether()
    {
        QWidget window;
        auto *caption = new CountingLabel(QStringLiteral("caption"), &window);
        auto *progress = new CountingLabel(QStringLiteral("0"), &window);
        progress->move(0, 40);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTRY_VERIFY(caption->paints > 0 && progress->paints > 0);
        caption->paints = progress->paints = 0;

        for (const QString &percent : {QStringLiteral("40"), QStringLiteral("80")}) {
            RepaintBatcher::hold(caption);
            caption->setText(QStringLiteral("A page's title ") + percent);
            RepaintBatcher::hold(progress);
            progress->setText(percent);
        }
        QCoreApplication::processEvents();
        QCOMPARE(caption->paints + progress->paints, 0);

        QTRY_VERIFY(caption->paints > 0);
        QCOMPARE(caption->paints, 1);
        QCOMPARE(progress->paints, 1);
        QVERIFY(caption->updatesEnabled() && progress->updatesEnabled());
        QCOMPARE(window.findChildren<RepaintBatcher *>().size(), 1);
    }

    // A hidden widget, and one whose updates its owner turned off, are not touched; a held
    // widget that goes away, and a window that goes away while it holds, are no harm.
    void leavesOthersAlone()
    {
        auto window = std::make_unique<QWidget>();
        auto *hidden = new QLabel(window.get());
        hidden->hide();
        auto *frozen = new QLabel(window.get());
        auto *gone = new QLabel(window.get());
        auto *held = new QLabel(window.get());
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        frozen->setUpdatesEnabled(false);

        RepaintBatcher::hold(hidden);
        RepaintBatcher::hold(frozen);
        RepaintBatcher::hold(gone);
        RepaintBatcher::hold(held);
        QVERIFY(hidden->updatesEnabled());
        QVERIFY(!held->updatesEnabled());
        delete gone;
        window->findChild<RepaintBatcher *>()->release();
        QVERIFY(held->updatesEnabled());
        QVERIFY(!frozen->updatesEnabled());

        RepaintBatcher::hold(held);
        window.reset();
        QCoreApplication::processEvents();
    }
};

QTEST_MAIN(TestRepaintBatcher)
#include "tst_repaintbatcher.moc"
