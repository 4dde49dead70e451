#include "core/appstate.h"
#include "core/strings.h"
#include "document/autorefresh.h"
#include "document/autorefreshdialog.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QtTest>

#include <memory>

namespace {

// The timer of an automatic refresh.
QTimer *timerOf(AutoRefresh &refresh)
{
    return refresh.findChild<QTimer *>(QStringLiteral("refreshTimer"));
}

// Ticks of the timer, as when its period has passed.
void tick(AutoRefresh &refresh, int times = 1)
{
    QTimer *timer = timerOf(refresh);
    for (int i = 0; i < times; ++i)
        QMetaObject::invokeMethod(timer, "timeout");
}

// How many more ticks the next refresh takes.
int ticksToNextRefresh(AutoRefresh &refresh)
{
    QSignalSpy spy(&refresh, &AutoRefresh::refresh);
    int ticks = 0;
    while (spy.isEmpty() && ticks <= AutoRefresh::kTicksPerRefresh) {
        tick(refresh);
        ++ticks;
    }
    return ticks;
}

// The dialog's interval field, its scroll bar and its buttons.
QLineEdit *intervalEdit(const AutoRefreshDialog &dialog)
{
    return dialog.findChild<QLineEdit *>(QStringLiteral("txtInterval"));
}

QScrollBar *intervalScroll(const AutoRefreshDialog &dialog)
{
    return dialog.findChild<QScrollBar *>(QStringLiteral("VScroll1"));
}

QPushButton *button(const AutoRefreshDialog &dialog, const char *name)
{
    return dialog.findChild<QPushButton *>(QLatin1String(name));
}

} // namespace

class TestAutoRefresh : public QObject
{
    Q_OBJECT

private slots:

    // ------------------------------------------------------------ tick counting

    void ticksToRefreshes_data()
    {
        QTest::addColumn<int>("ticks");
        QTest::addColumn<int>("refreshes");
        QTest::addColumn<int>("countAfter");

        QTest::newRow("one short of a thousand") << 999 << 0 << 999;
        QTest::newRow("a thousand") << 1000 << 1 << 0;
        QTest::newRow("one more") << 1001 << 1 << 1;
        QTest::newRow("three thousand") << 3000 << 3 << 0;
    }

    void ticksToRefreshes()
    {
        QFETCH(int, ticks);
        QFETCH(int, countAfter);
        AutoRefresh refresh;
        QVERIFY(timerOf(refresh));
        QSignalSpy spy(&refresh, &AutoRefresh::refresh);
        tick(refresh, ticks);
        QTEST(int(spy.size()), "refreshes");
        QCOMPARE(ticksToNextRefresh(refresh), AutoRefresh::kTicksPerRefresh - countAfter);
    }

    void apply_data()
    {
        QTest::addColumn<int>("before"); // 0 = off
        QTest::addColumn<int>("seconds");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<int>("interval");

        QTest::newRow("switch on") << 0 << 30 << true << 30;
        QTest::newRow("change the period") << 60 << 300 << true << 300;
        QTest::newRow("zero switches off") << 120 << 0 << false << 120;
        QTest::newRow("negative switches off") << 120 << -4 << false << 120;
        QTest::newRow("one second") << 0 << 1 << true << 1;
    }

    void apply()
    {
        QFETCH(int, before);
        QFETCH(int, seconds);
        AutoRefresh refresh;
        if (before > 0)
            refresh.apply(before);
        refresh.apply(seconds);
        QTEST(refresh.isEnabled(), "enabled");
        QTEST(refresh.interval(), "interval");
    }

    // The period and the switch written one at a time, as by member name.
    void intervalAndSwitch_data()
    {
        QTest::addColumn<int>("seconds");
        QTest::addColumn<bool>("enable");
        QTest::addColumn<int>("interval");
        QTest::addColumn<bool>("running");

        QTest::newRow("period, switched on") << 90 << true << 90 << true;
        QTest::newRow("period, left off") << 90 << false << 90 << false;
        QTest::newRow("no period, switched on") << 0 << true << 0 << false;
        QTest::newRow("negative counts as 0") << -5 << true << 0 << false;
    }

    void intervalAndSwitch()
    {
        QFETCH(int, seconds);
        QFETCH(bool, enable);
        AutoRefresh refresh;
        refresh.setInterval(seconds);
        refresh.setEnabled(enable);
        QTEST(refresh.interval(), "interval");
        QTEST(timerOf(refresh)->isActive(), "running");
        // The period reaches a running timer, and the menu's mark follows.
        refresh.setInterval(60);
        QCOMPARE(timerOf(refresh)->isActive(), enable);
        QCOMPARE(refresh.menuKey(), QLatin1String(enable ? "mnuTabAutoRefresh1" : "mnuTabAutoRefreshStop"));
        if (enable)
            QCOMPARE(timerOf(refresh)->interval(), 60);
    }

    // A change of period keeps the count: the first refresh after it can come early.
    void changeKeepsTheCount()
    {
        AutoRefresh refresh;
        refresh.apply(60);
        QSignalSpy spy(&refresh, &AutoRefresh::refresh);
        tick(refresh, 700);
        refresh.apply(300);
        tick(refresh, 299);
        QCOMPARE(spy.size(), 0);
        tick(refresh);
        QCOMPARE(spy.size(), 1);
    }

    void timerRunsAtTheInterval()
    {
        AutoRefresh refresh;
        QSignalSpy spy(&refresh, &AutoRefresh::refresh);
        refresh.apply(1); // one second: a tick every millisecond
        QVERIFY(spy.wait(10000));
        refresh.apply(0);
        QVERIFY(!timerOf(refresh)->isActive());
        const qsizetype count = spy.size();
        QTest::qWait(50);
        QCOMPARE(spy.size(), count);

        // Enabled without a period never ticks.
        AutoRefresh idle;
        idle.setEnabled(true);
        QVERIFY(!timerOf(idle)->isActive());
    }

    void menuKeys_data()
    {
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<int>("interval");
        QTest::addColumn<QString>("key");

        QTest::newRow("one minute") << true << 60 << "mnuTabAutoRefresh1";
        QTest::newRow("two minutes") << true << 120 << "mnuTabAutoRefresh2";
        QTest::newRow("five minutes") << true << 300 << "mnuTabAutoRefresh5";
        QTest::newRow("typed period") << true << 30 << "mnuTabAutoRefreshCustom";
        QTest::newRow("off") << false << 120 << "mnuTabAutoRefreshStop";
        QTest::newRow("never set") << false << 0 << "mnuTabAutoRefreshStop";
    }

    void menuKeys()
    {
        QFETCH(bool, enabled);
        QFETCH(int, interval);
        QFETCH(QString, key);
        QCOMPARE(AutoRefresh::menuKey(enabled, interval), key);

        // A refresh in that state carries the same mark.
        AutoRefresh refresh;
        refresh.apply(77);
        refresh.apply(enabled ? interval : 0);
        QCOMPARE(refresh.menuKey(), key);
    }

    // ------------------------------------------------------------ the dialog

    void dialogProposes_data()
    {
        QTest::addColumn<bool>("hasDocument");
        QTest::addColumn<int>("applied"); // 0 = never switched on
        QTest::addColumn<QString>("text");

        QTest::newRow("no active document") << false << 0 << "100";
        QTest::newRow("document without refresh") << true << 0 << "100";
        QTest::newRow("document refreshing") << true << 45 << "45";
    }

    void dialogProposes()
    {
        QFETCH(bool, hasDocument);
        QFETCH(int, applied);
        AutoRefresh refresh;
        if (applied)
            refresh.apply(applied);
        AutoRefreshDialog dialog(hasDocument ? &refresh : nullptr);
        QVERIFY(intervalEdit(dialog) && intervalScroll(dialog));
        QVERIFY(button(dialog, "cmdOK") && button(dialog, "cmdCancel"));
        QVERIFY(dialog.isModal());
        QCOMPARE(dialog.windowTitle(), loadResString(6500));
        QTEST(intervalEdit(dialog)->text(), "text");
        QCOMPARE(intervalEdit(dialog)->selectedText(), intervalEdit(dialog)->text());
        QCOMPARE(intervalScroll(dialog)->value(), intervalEdit(dialog)->text().toInt());
    }

    void typedText_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("beeps");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value");

        QTest::newRow("number") << "250" << false << "250" << 250;
        QTest::newRow("zero") << "0" << false << "0" << 0;
        QTest::newRow("cleared") << "" << true << "100" << 100;
        QTest::newRow("not a number") << "abc" << true << "100" << 100;
        QTest::newRow("negative") << "-5" << true << "100" << 100;
        QTest::newRow("above the range") << "40000" << true << "100" << 100;
    }

    void typedText()
    {
        QFETCH(QString, typed);
        AutoRefresh refresh;
        AutoRefreshDialog dialog(&refresh);
        intervalEdit(dialog)->setText(typed);
        QTEST(intervalEdit(dialog)->text(), "text");
        QTEST(intervalScroll(dialog)->value(), "value");
    }

    void answer_data()
    {
        QTest::addColumn<int>("before"); // 0 = off
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<int>("interval");

        QTest::newRow("thirty seconds") << 0 << "30" << true << true << 30;
        QTest::newRow("zero turns it off") << 60 << "0" << true << false << 60;
        QTest::newRow("cancel changes nothing") << 60 << "30" << false << true << 60;
        QTest::newRow("proposal accepted") << 0 << "" << true << true << 100;
    }

    void answer()
    {
        QFETCH(int, before);
        QFETCH(QString, typed);
        QFETCH(bool, ok);
        AutoRefresh refresh;
        if (before)
            refresh.apply(before);
        {
            AutoRefreshDialog dialog(&refresh);
            dialog.show();
            if (!typed.isEmpty())
                intervalEdit(dialog)->setText(typed);
            if (ok)
                QTest::keyClick(intervalEdit(dialog), Qt::Key_Return);
            else
                button(dialog, "cmdCancel")->click();
            QVERIFY(!dialog.isVisible());
            QVERIFY(!AppState::modalDialogOpen());
        }
        QTEST(refresh.isEnabled(), "enabled");
        QTEST(refresh.interval(), "interval");
    }

    // The document closes while the dialog is open: OK changes nothing and does not crash.
    void documentGoneBeforeOk()
    {
        auto refresh = std::make_unique<AutoRefresh>();
        AutoRefreshDialog dialog(refresh.get());
        refresh.reset();
        intervalEdit(dialog)->setText(QStringLiteral("20"));
        button(dialog, "cmdOK")->click();
        QVERIFY(!AppState::modalDialogOpen());
    }

    void arrowsStepTheWayTheyPoint_data()
    {
        QTest::addColumn<int>("control");
        QTest::addColumn<int>("value");
        QTest::newRow("upper arrow raises") << int(QStyle::SC_ScrollBarSubLine) << 101;
        QTest::newRow("lower arrow lowers") << int(QStyle::SC_ScrollBarAddLine) << 99;
    }

    void arrowsStepTheWayTheyPoint()
    {
        QFETCH(int, control);
        AutoRefreshDialog dialog(nullptr);
        QScrollBar *bar = intervalScroll(dialog);
        bar->setFixedSize(20, 80);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QStyleOptionSlider option;
        option.initFrom(bar);
        option.orientation = Qt::Vertical;
        option.minimum = bar->minimum();
        option.maximum = bar->maximum();
        option.sliderPosition = bar->sliderPosition();
        option.sliderValue = bar->value();
        option.singleStep = bar->singleStep();
        option.pageStep = bar->pageStep();
        option.upsideDown = bar->invertedAppearance();
        option.subControls = QStyle::SC_All;
        const QRect arrow = bar->style()->subControlRect(
            QStyle::CC_ScrollBar, &option, QStyle::SubControl(control), bar);
        QVERIFY(!arrow.isEmpty());
        QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, arrow.center());
        QTEST(bar->value(), "value");
        QCOMPARE(intervalEdit(dialog)->text(), QString::number(bar->value()));
    }
};

QTEST_MAIN(TestAutoRefresh)
#include "tst_autorefresh.moc"
