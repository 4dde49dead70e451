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
        AutoRefresh refresh;
        QSignalSpy spy(&refresh, &AutoRefresh::refresh);
        for (int i = 0; i < ticks; ++i)
            refresh.onTick();
        QTEST(int(spy.size()), "refreshes");
        QTEST(int(refresh.ticksSinceRefresh), "countAfter");
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

    // A change of period keeps the count: the first refresh after it can come early.
    void changeKeepsTheCount()
    {
        AutoRefresh refresh;
        refresh.apply(60);
        QSignalSpy spy(&refresh, &AutoRefresh::refresh);
        for (int i = 0; i < 700; ++i)
            refresh.onTick();
        refresh.apply(300);
        QCOMPARE(int(refresh.ticksSinceRefresh), 700);
        for (int i = 0; i < 300; ++i)
            refresh.onTick();
        QCOMPARE(spy.size(), 1);
    }

    void timerRunsAtTheInterval()
    {
        AutoRefresh refresh;
        QSignalSpy spy(&refresh, &AutoRefresh::refresh);
        refresh.apply(1); // one second: a tick every millisecond
        QVERIFY(spy.wait(10000));
        refresh.apply(0);
        const qsizetype count = spy.size();
        QTest::qWait(50);
        const int ticks = refresh.ticksSinceRefresh;
        QTest::qWait(50);
        QCOMPARE(int(refresh.ticksSinceRefresh), ticks);
        QCOMPARE(spy.size(), count);

        // Enabled without a period never ticks.
        AutoRefresh idle;
        idle.setEnabled(true);
        QTest::qWait(30);
        QCOMPARE(int(idle.ticksSinceRefresh), 0);
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

        // The item that carries the mark sets that state again.
        const int set = AutoRefresh::menuInterval(key);
        if (key == QLatin1String("mnuTabAutoRefreshCustom")) {
            QCOMPARE(set, -1);
            return;
        }
        AutoRefresh refresh;
        refresh.apply(77);
        refresh.apply(set);
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
        QVERIFY(dialog.isModal());
        QCOMPARE(dialog.windowTitle(), loadResString(6500));
        QTEST(dialog.m_intervalEdit->text(), "text");
        QCOMPARE(dialog.m_intervalEdit->selectedText(), dialog.m_intervalEdit->text());
        QCOMPARE(dialog.m_intervalScroll->value(), dialog.m_intervalEdit->text().toInt());
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
        dialog.m_intervalEdit->setText(typed);
        QTEST(dialog.m_intervalEdit->text(), "text");
        QTEST(dialog.m_intervalScroll->value(), "value");
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
                dialog.m_intervalEdit->setText(typed);
            if (ok)
                QTest::keyClick(dialog.m_intervalEdit, Qt::Key_Return);
            else
                dialog.m_cancelButton->click();
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
        dialog.m_intervalEdit->setText(QStringLiteral("20"));
        dialog.m_okButton->click();
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
        QScrollBar *bar = dialog.m_intervalScroll;
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
        QCOMPARE(dialog.m_intervalEdit->text(), QString::number(bar->value()));
    }
};

QTEST_MAIN(TestAutoRefresh)
#include "tst_autorefresh.moc"
