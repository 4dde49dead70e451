#include "core/settingsstore.h"
#include "core/strings.h"
#include "widgets/noticerules.h"
#include "widgets/notificationwindow.h"
#include "widgets/passworddialog.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// A clock the test steps by hand: fire() runs what is scheduled, now() moves only when told.
class FakeClock : public NoticeClock
{
public:
    void schedule(int ms, std::function<void()> fired) override
    {
        delay = ms;
        m_fired = std::move(fired);
    }
    void cancel() override
    {
        delay = -1;
        m_fired = {};
    }
    qint64 now() const override { return time; }

    // Runs the pending call, as if its time had passed; returns false when none was pending.
    bool fire()
    {
        auto fired = std::exchange(m_fired, {});
        if (!fired)
            return false;
        time += delay;
        delay = -1;
        fired();
        return true;
    }

    int delay = -1;
    qint64 time = 1000;

private:
    std::function<void()> m_fired;
};

// The title of the notice up now.
QString shownTitle(const NotificationWindow &window)
{
    return window.findChild<QLabel *>(QStringLiteral("lblTitle"))->text();
}

// The opacity of the notice up now, 0..255.
int shownAlpha(const NotificationWindow &window)
{
    return qRound(window.windowOpacity() * 255);
}

// Closes the notice up now and every one after it, as their close buttons do; the titles shown.
QStringList closeEveryNotice(NotificationWindow &window)
{
    QStringList titles;
    while (window.isVisible()) {
        titles << shownTitle(window);
        window.closeNotice();
    }
    return titles;
}

} // namespace

class NotificationTest : public QObject
{
    Q_OBJECT
private slots:
    void cleansTexts_data();
    void cleansTexts();
    void classifiesLinks();
    void fadesInWaitsAndEnds();
    void queuesNoticesInTurn();
    void stateFollowsTheNotice_data();
    void stateFollowsTheNotice();
    void stuckNoticeDoesNotBlockLaterOnes();
    void waitsForHiddenOwner();
    void clickOpensLink();
    void gamesPageNoticeOncePerTitle();
    void passwordDialogModes_data();
    void passwordDialogModes();
};

void NotificationTest::cleansTexts_data()
{
    QTest::addColumn<QString>("raw");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    QTest::newRow("entities") << "It&#8217;s here&#8230;"
                              << "It's here..." << "It's here...";
    QTest::newRow("entities are case-sensitive") << "&#X8217;" << "&#X8217;" << "&#X8217;";
    QTest::newRow("leading breaks, title untouched")
        << "\r\n\r\n Hello\nworld  " << "\r\n\r\n Hello\nworld  " << "Hello\nworld";
    QTest::newRow("adsense marker") << "<!--adsense-->News <!--adsense-->today"
                                    << "<!--adsense-->News <!--adsense-->today" << "News today";
    QTest::newRow("only blanks") << " \n \r " << " \n \r " << "";
    QTest::newRow("markup is kept as text") << "<b>bold</b>" << "<b>bold</b>" << "<b>bold</b>";
}

void NotificationTest::cleansTexts()
{
    QFETCH(QString, raw);
    QFETCH(QString, title);
    QFETCH(QString, text);
    QCOMPARE(NoticeRules::cleanTitle(raw), title);
    QCOMPARE(NoticeRules::cleanText(raw), text);
}

void NotificationTest::classifiesLinks()
{
    using Kind = NoticeRules::LinkKind;
    for (const char *rss : {"rss", "RSS", "rSs"})
        QCOMPARE(NoticeRules::classifyLink(QString::fromLatin1(rss)), Kind::RssSection);
    for (const char *page : {"http://example.org/a?b=1", "HTTPS://Example.org/"})
        QCOMPARE(NoticeRules::classifyLink(QString::fromLatin1(page)), Kind::WebPage);
    for (const char *none : {"", "ftp://example.org/", "httpx://example.org/", "http://", "rss2",
                             "file:///etc/passwd", "javascript:alert(1)"})
        QCOMPARE(NoticeRules::classifyLink(QString::fromLatin1(none)), Kind::None);
}

void NotificationTest::fadesInWaitsAndEnds()
{
    NoticeFade fade;
    QList<std::pair<int, int>> steps;
    NoticeFade::Step step = fade.start();
    while (step.delayMs >= 0) {
        steps.append({step.alpha, step.delayMs});
        step = fade.advance();
    }
    const QList<std::pair<int, int>> expected{{0, 200},   {10, 200},  {60, 200},
                                              {110, 200}, {160, 200}, {210, 15000}};
    QCOMPARE(steps, expected);
    // Once finished it stays so.
    QCOMPARE(fade.advance().delayMs, -1);

    // A notice holds the window for kTotalMs, no more and no less: the window calls a notice
    // stuck by that time.
    QWidget owner;
    owner.show();
    auto *clock = new FakeClock;
    NotificationWindow window(&owner, std::unique_ptr<NoticeClock>(clock));
    const qint64 posted = clock->time;
    window.post({QStringLiteral("One"), QString(), QString()});
    while (window.isShowing())
        QVERIFY(clock->fire());
    QCOMPARE(clock->time - posted, qint64(NoticeFade::kTotalMs));
}

void NotificationTest::queuesNoticesInTurn()
{
    QWidget owner;
    owner.resize(800, 600);
    owner.show();
    auto *clock = new FakeClock;
    NotificationWindow window(&owner, std::unique_ptr<NoticeClock>(clock));

    window.post({QStringLiteral("One"), QStringLiteral("first"), QString()});
    QVERIFY(window.isVisible());
    QCOMPARE(window.windowOpacity(), 0.0);
    window.post({QStringLiteral("Two"), QStringLiteral("second"), QString()});
    window.post({QStringLiteral("Two"), QStringLiteral("second"), QString()}); // a repeat
    QCOMPARE(shownTitle(window), QStringLiteral("One"));

    for (int i = 0; i < 5; ++i)
        QVERIFY(clock->fire());
    QCOMPARE(shownAlpha(window), 210);
    QCOMPARE(clock->delay, NoticeFade::kWaitMs);
    QVERIFY(clock->fire()); // the wait is over: the next notice starts from invisible
    QCOMPARE(shownTitle(window), QStringLiteral("Two"));
    QCOMPARE(shownAlpha(window), 0);
    QVERIFY(window.isVisible());

    window.closeNotice(); // its close button; the repeat was never queued
    QVERIFY(!window.isVisible());
    QVERIFY(!clock->fire());

    QStringList posted;
    for (int i = 0; i < NotificationWindow::kMaxPending + 3; ++i) {
        posted << QString::number(i);
        window.post({posted.last(), QString(), QString()});
    }
    // The first shows at once and kMaxPending wait behind it.
    QCOMPARE(closeEveryNotice(window), posted.mid(0, NotificationWindow::kMaxPending + 1));
}

void NotificationTest::stateFollowsTheNotice_data()
{
    QTest::addColumn<int>("steps"); // fade and wait steps that have passed
    QTest::addColumn<bool>("showing");
    QTest::addColumn<int>("alpha");
    QTest::newRow("posted") << 0 << true << 0;
    QTest::newRow("first step") << 1 << true << 10;
    QTest::newRow("waiting") << 5 << true << int(NoticeFade::kWaitAlpha);
    QTest::newRow("wait over") << 6 << false << int(NoticeFade::kWaitAlpha);
}

void NotificationTest::stateFollowsTheNotice()
{
    QFETCH(int, steps);
    QWidget owner;
    owner.show();
    auto *clock = new FakeClock;
    NotificationWindow window(&owner, std::unique_ptr<NoticeClock>(clock));
    QVERIFY(!window.isShowing());

    window.post({QStringLiteral("It&#8217;s new"), QStringLiteral("\n\n text&#8230; "),
                 QStringLiteral("rss")});
    for (int i = 0; i < steps; ++i)
        QVERIFY(clock->fire());
    QTEST(window.isShowing(), "showing");
    QCOMPARE(window.isShowing(), window.isVisible());
    QTEST(window.alpha(), "alpha");
    if (window.isShowing())
        QCOMPARE(shownAlpha(window), window.alpha());
    // The notice as shown, until the next one starts.
    QCOMPARE(window.current().title, QStringLiteral("It's new"));
    QCOMPARE(window.current().text, QStringLiteral("text..."));
    QCOMPARE(window.current().link, QStringLiteral("rss"));
}

void NotificationTest::stuckNoticeDoesNotBlockLaterOnes()
{
    QWidget owner;
    owner.show();
    auto *clock = new FakeClock; // never fired: the notice never reaches its timers
    NotificationWindow window(&owner, std::unique_ptr<NoticeClock>(clock));

    window.post({QStringLiteral("Stuck"), QString(), QString()});
    clock->time += NoticeFade::kTotalMs; // within its time it still holds the window
    window.post({QStringLiteral("Next"), QString(), QString()});
    QCOMPARE(shownTitle(window), QStringLiteral("Stuck"));

    clock->time += NotificationWindow::kStuckSlackMs + 1;
    window.post({QStringLiteral("Later"), QString(), QString()});
    QCOMPARE(closeEveryNotice(window), (QStringList{"Next", "Later"}));
}

void NotificationTest::waitsForHiddenOwner()
{
    QWidget owner;
    auto *clock = new FakeClock;
    NotificationWindow window(&owner, std::unique_ptr<NoticeClock>(clock));

    window.post({QStringLiteral("Welcome"), QString(), QString()});
    QVERIFY(!window.isVisible());
    owner.show();
    QTRY_VERIFY(window.isVisible());
    QCOMPARE(shownTitle(window), QStringLiteral("Welcome"));

    // Hidden again (the tray): the notice waits and starts over when the owner is back.
    QVERIFY(clock->fire());
    owner.hide();
    QVERIFY(!window.isVisible());
    owner.show();
    QTRY_VERIFY(window.isVisible());
    QCOMPARE(shownTitle(window), QStringLiteral("Welcome"));
    QCOMPARE(shownAlpha(window), 0);
    QCOMPARE(closeEveryNotice(window), QStringList{"Welcome"});
}

void NotificationTest::clickOpensLink()
{
    QWidget owner;
    owner.show();
    NotificationWindow window(&owner, std::make_unique<FakeClock>());
    QSignalSpy rss(&window, &NotificationWindow::rssSectionRequested);
    QSignalSpy address(&window, &NotificationWindow::addressRequested);
    auto *text = window.findChild<QLabel *>(QStringLiteral("lblTip"));
    QVERIFY(text);

    window.post({QStringLiteral("Feeds"), QStringLiteral("new"), QStringLiteral("Rss")});
    QTest::mouseClick(text, Qt::LeftButton);
    QCOMPARE(rss.count(), 1);
    QVERIFY(window.isVisible()); // a click leaves the notice up

    window.closeNotice();
    window.post({QStringLiteral("Page"), QStringLiteral("x"), QStringLiteral("https://example.org/")});
    QTest::mouseClick(text, Qt::LeftButton);
    QCOMPARE(address.count(), 1);
    QCOMPARE(address.first().first().toString(), QStringLiteral("https://example.org/"));

    window.closeNotice();
    window.post({QStringLiteral("Files"), QStringLiteral("y"), QStringLiteral("ftp://example.org/")});
    QTest::mouseClick(text, Qt::LeftButton);
    QCOMPARE(rss.count() + address.count(), 2);
}

void NotificationTest::gamesPageNoticeOncePerTitle()
{
    QTemporaryDir dir;
    SettingsStore store(dir.filePath(QStringLiteral("Quarvel.ini")));
    QVERIFY(!NoticeRules::gamesPageNotice(store, QString()));

    const auto notice = NoticeRules::gamesPageNotice(store, QStringLiteral("Games of May"));
    QVERIFY(notice);
    QCOMPARE(notice->title, QStringLiteral("Games Updated!"));
    QVERIFY(notice->text.startsWith(QStringLiteral("Quarvel games have been updated!\n\n")));
    QVERIFY(notice->link.isEmpty());
    QCOMPARE(store.read(QStringLiteral("Settings"), QStringLiteral("GamesDate"), QString()),
             QStringLiteral("Games of May"));
    QVERIFY(!NoticeRules::gamesPageNotice(store, QStringLiteral("Games of May")));
    QVERIFY(NoticeRules::gamesPageNotice(store, QStringLiteral("Games of June")));
}

// The small password prompt beside the notices: its mode, chosen by the caller, gives its
// caption and prompt.
void NotificationTest::passwordDialogModes_data()
{
    QTest::addColumn<PasswordDialog::Mode>("mode");
    QTest::addColumn<int>("caption");
    QTest::addColumn<int>("prompt");
    QTest::newRow("unlock") << PasswordDialog::Mode::Unlock << 3500 << 3501;
    QTest::newRow("website group") << PasswordDialog::Mode::WebsiteGroup << 19012 << 19013;
}

void NotificationTest::passwordDialogModes()
{
    QFETCH(PasswordDialog::Mode, mode);
    QFETCH(int, caption);
    QFETCH(int, prompt);
    PasswordDialog dialog(mode);
    QCOMPARE(dialog.mode(), mode);
    QCOMPARE(dialog.windowTitle(), loadResString(caption));
    QCOMPARE(dialog.findChild<QLabel *>(QStringLiteral("lblLabels"))->text(), loadResString(prompt));
}

QTEST_MAIN(NotificationTest)
#include "tst_notification.moc"
