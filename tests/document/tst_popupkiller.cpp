#include "core/appstate.h"
#include "core/paths.h"
#include "core/settingsstore.h"
#include "core/strings.h"
#include "document/firstpopupnotice.h"
#include "document/whitelistquestiondialog.h"
#include "document/popupkiller.h"
#include "document/popupwhitelist.h"

#include <QApplication>
#include <QAudioDevice>
#include <QCheckBox>
#include <QFile>
#include <QMediaDevices>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSoundEffect>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>

Q_DECLARE_METATYPE(WhitelistAction)

namespace {

// Acts on the next modal dialog once it is up (exec() runs its own event loop).
void onNextModal(std::function<void(QWidget *)> act)
{
    auto *timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            act(modal);
        }
    });
    timer->start();
}

// The whitelist question's choices (0 go on, 1 the site, 2 the domain), its box and OK.
QRadioButton *choice(const WhitelistQuestionDialog &dialog, int index)
{
    return dialog.findChild<QRadioButton *>(QStringLiteral("Option1_%1").arg(index));
}

QCheckBox *dontAskAgain(const WhitelistQuestionDialog &dialog)
{
    return dialog.findChild<QCheckBox *>(QStringLiteral("chkDontAskAgain"));
}

QPushButton *okButton(const WhitelistQuestionDialog &dialog)
{
    return dialog.findChild<QPushButton *>(QStringLiteral("btnOk"));
}

// The timer of a popup killer's blink.
QTimer *blinkTimer(const PopupKiller &killer)
{
    return killer.findChild<QTimer *>(QStringLiteral("blinkTimer"));
}

// One tick of the blink, as when its period has passed.
void blinkTick(const PopupKiller &killer)
{
    QMetaObject::invokeMethod(blinkTimer(killer), "timeout");
}

} // namespace

class TestPopupKiller : public QObject
{
    Q_OBJECT

    static void resetSettings()
    {
        SettingsModel &s = AppState::settings;
        s.popupKillerEnable = true;
        s.popupAltEnable = true;
        s.popupChangeMouse = true;
        s.popupPlaySound = false;
        s.popupAutoWhitelistAdd = 1;
        s.popupPromptWhitelist = true;
        programWhitelist().clear();
    }

private slots:
    // A whitelist written by hand with LF line ends (and no count) is read whole and, left
    // unchanged, never written back; a change is written in our format, user-only.
    void handWrittenWhitelistSurvivesTheExit()
    {
        const QString file = Paths::dataFile(QStringLiteral("Whitelist.qvr"));
        const QByteArray written = "example.com\nnews.example.org\n";
        {
            QFile out(file);
            QVERIFY(out.open(QIODevice::WriteOnly));
            out.write(written);
        }
        loadWhitelist();
        QCOMPARE(programWhitelist(), (QStringList{"example.com", "news.example.org"}));
        QVERIFY(saveWhitelist());
        QFile in(file);
        QVERIFY(in.open(QIODevice::ReadOnly));
        QCOMPARE(in.readAll(), written);
        in.close();
        QVERIFY(::addToWhitelist(QStringLiteral("third.example")));
        QVERIFY(saveWhitelist());
        QVERIFY(in.open(QIODevice::ReadOnly));
        QCOMPARE(in.readAll(), QByteArray(" 3 \r\nexample.com\r\nnews.example.org\r\nthird.example\r\n"));
        QFile::remove(file);
    }

    void init()
    {
        resetSettings();
        // The one-time notice is tested on its own.
        SettingsStore::instance().write(QStringLiteral("Popup"), QStringLiteral("FirstPopup"),
                                        QStringLiteral("False"));
        while (QGuiApplication::overrideCursor())
            QGuiApplication::restoreOverrideCursor();
    }

    // ------------------------------------------------------------ domainName

    void getDomainName_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("domain");

        QTest::newRow("scheme, www and path") << "http://www.example.com/path/a.html" << "example.com";
        QTest::newRow("letter case kept") << "HTTP://WWW.Example.COM/Path" << "Example.COM";
        QTest::newRow("https www no path") << "https://www.a.org" << "a.org";
        QTest::newRow("ftp www") << "ftp://www.files.net/pub" << "files.net";
        QTest::newRow("gopher www") << "gopher://www.hole.org/1" << "hole.org";
        QTest::newRow("scheme without www keeps the port") << "http://example.com:8080/p"
                                                           << "example.com:8080";
        QTest::newRow("subdomain") << "https://news.example.com/" << "news.example.com";
        QTest::newRow("www without scheme loses four characters") << "www.example.com/x"
                                                                  << "example.com";
        QTest::newRow("WWW in capitals without scheme") << "WWW.Example.com" << "Example.com";
        QTest::newRow("neither scheme nor www: cut at the first slash") << "example.com/a/b"
                                                                        << "example.com";
        QTest::newRow("bare host") << "example.com" << "example.com";
        QTest::newRow("file address whole") << "file:///home/u/a.html" << "file:///home/u/a.html";
        QTest::newRow("FILE in capitals whole") << "FILE://server/share/a.htm"
                                                << "FILE://server/share/a.htm";
        QTest::newRow("www inside the query") << "http://ads.example.com/r?u=www.foo.com"
                                              << "ads.example.com";
        QTest::newRow("scheme and www inside the query")
            << "http://ads.example.com/r?u=http://www.foo.com/" << "ads.example.com";
        QTest::newRow("file inside the query") << "http://ads.example.com/r?f=file://x"
                                               << "ads.example.com";
        QTest::newRow("other scheme") << "about:blank" << "about:blank";
        QTest::newRow("empty") << "" << "";
        QTest::newRow("nothing after www") << "http://www." << "";
    }

    void getDomainName()
    {
        QFETCH(QString, url);
        QFETCH(QString, domain);
        QCOMPARE(domainName(url), domain);
    }

    // ------------------------------------------------------------ whitelist

    void whitelistMatches_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<QStringList>("whitelist");
        QTest::addColumn<bool>("matches");

        QTest::newRow("word in any case") << "http://www.EXAMPLE.com/x" << QStringList{"example"}
                                          << true;
        QTest::newRow("anywhere in the address") << "http://a.com/?ref=partner"
                                                 << QStringList{"PARTNER"} << true;
        QTest::newRow("second entry") << "http://b.org/" << QStringList{"a.com", "b.org"} << true;
        QTest::newRow("no entry matches") << "http://c.net/" << QStringList{"a.com", "b.org"}
                                          << false;
        QTest::newRow("empty entry never matches") << "http://c.net/" << QStringList{""} << false;
        QTest::newRow("blank entry never matches") << "http://c .net/" << QStringList{" "} << false;
        QTest::newRow("empty address") << "" << QStringList{"a.com", ""} << false;
        QTest::newRow("empty list") << "http://a.com/" << QStringList{} << false;
    }

    void whitelistMatches()
    {
        QFETCH(QString, url);
        QFETCH(QStringList, whitelist);
        QFETCH(bool, matches);
        QCOMPARE(::whitelistMatches(url, whitelist), matches);
    }

    void addToWhitelist_data()
    {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<bool>("result");
        QTest::addColumn<QStringList>("after");

        QTest::newRow("new entry at the end") << QStringList{"a.com"} << "B.org" << true
                                              << QStringList{"a.com", "B.org"};
        QTest::newRow("same site in other case") << QStringList{"a.com"} << "A.COM" << true
                                                 << QStringList{"a.com"};
        QTest::newRow("empty entry") << QStringList{"a.com"} << "" << false
                                     << QStringList{"a.com"};
        QTest::newRow("blank entry") << QStringList{} << "  " << false << QStringList{};
    }

    void addToWhitelist()
    {
        QFETCH(QStringList, before);
        QFETCH(QString, entry);
        QFETCH(bool, result);
        QFETCH(QStringList, after);

        QStringList list = before;
        QCOMPARE(::addToWhitelist(list, entry), result);
        QCOMPARE(list, after);

        // The same on the program's list.
        programWhitelist() = before;
        QCOMPARE(::addToWhitelist(entry), result);
        QCOMPARE(programWhitelist(), after);
    }

    void fullWhitelistRefusesNewEntries()
    {
        QStringList list;
        for (int i = 0; i < kMaxWhitelistEntries; ++i)
            list.append(QStringLiteral("site%1").arg(i));
        QVERIFY(!::addToWhitelist(list, QStringLiteral("one.more")));
        QCOMPARE(list.size(), kMaxWhitelistEntries);
        QVERIFY(::addToWhitelist(list, QStringLiteral("SITE7")));
    }

    // ------------------------------------------------------------ the decision

    void decision_data()
    {
        QTest::addColumn<bool>("killer");
        QTest::addColumn<bool>("altEnabled");
        QTest::addColumn<bool>("alt");
        QTest::addColumn<bool>("shift");
        QTest::addColumn<bool>("secure");
        QTest::addColumn<bool>("jsLink");
        QTest::addColumn<bool>("customizer");
        QTest::addColumn<QString>("url");
        QTest::addColumn<QStringList>("whitelist");
        QTest::addColumn<int>("autoAdd");
        QTest::addColumn<bool>("prompt");
        QTest::addColumn<bool>("kill");
        QTest::addColumn<WhitelistAction>("action");
        QTest::addColumn<QString>("entry");

        const QString url = QStringLiteral("http://www.example.com/page");
        const QStringList none;
        using A = WhitelistAction;
        // killer altEn alt shift secure js cust url whitelist autoAdd prompt -> kill action entry
        QTest::newRow("killer off") << false << true << false << false << false << false << false
                                    << url << none << 1 << true << false << A::None << "";
        QTest::newRow("nothing lets it through") << true << true << false << false << false
                                                 << false << false << url << none << 1 << true
                                                 << true << A::None << "";
        QTest::newRow("alt without its override") << true << false << true << false << false
                                                  << false << false << url << none << 1 << true
                                                  << true << A::None << "";
        QTest::newRow("alt asks") << true << true << true << false << false << false << false
                                  << url << none << 1 << true << false << A::Prompt << url;
        QTest::newRow("alt asks though shift lets it through too")
            << true << true << true << true << false << false << false << url << none << 1
            << true << false << A::Prompt << url;
        QTest::newRow("alt asks with the killer off") << false << true << true << false << false
                                                      << false << false << url << none << 1
                                                      << true << false << A::Prompt << url;
        QTest::newRow("alt adds the site") << true << true << true << false << false << false
                                           << false << url << none << 2 << false << false
                                           << A::AddSite << url;
        QTest::newRow("alt adds the domain") << true << true << true << false << false << false
                                             << false << url << none << 3 << false << false
                                             << A::AddDomain << "example.com";
        QTest::newRow("alt, automatic action nothing") << true << true << true << false << false
                                                       << false << false << url << none << 1
                                                       << false << false << A::None << "";
        QTest::newRow("alt, unknown automatic action") << true << true << true << false << false
                                                       << false << false << url << none << 7
                                                       << false << false << A::None << "";
        QTest::newRow("shift") << true << true << false << true << false << false << false << url
                               << none << 2 << false << false << A::None << "";
        QTest::newRow("secure opener") << true << true << false << false << true << false << false
                                       << url << none << 1 << true << false << A::None << "";
        QTest::newRow("script link") << true << true << false << false << false << true << false
                                     << url << none << 1 << true << false << A::None << "";
        QTest::newRow("customizer allows") << true << true << false << false << false << false
                                           << true << url << none << 1 << true << false
                                           << A::None << "";
        QTest::newRow("whitelisted in other case") << true << true << false << false << false
                                                   << false << false << url
                                                   << QStringList{"EXAMPLE"} << 1 << true
                                                   << false << A::None << "";
        QTest::newRow("not whitelisted") << true << true << false << false << false << false
                                         << false << url << QStringList{"other.org"} << 1
                                         << true << true << A::None << "";
        QTest::newRow("empty whitelist entry") << true << true << false << false << false << false
                                               << false << url << QStringList{""} << 1 << true
                                               << true << A::None << "";
        QTest::newRow("empty opener address") << true << true << false << false << false << false
                                              << false << "" << QStringList{"a", ""} << 1 << true
                                              << true << A::None << "";
    }

    void decision()
    {
        PopupContext c;
        QFETCH(bool, killer);
        QFETCH(bool, altEnabled);
        QFETCH(bool, alt);
        QFETCH(bool, shift);
        QFETCH(bool, secure);
        QFETCH(bool, jsLink);
        QFETCH(bool, customizer);
        QFETCH(QString, url);
        QFETCH(QStringList, whitelist);
        QFETCH(int, autoAdd);
        QFETCH(bool, prompt);
        c.killerEnabled = killer;
        c.altEnabled = altEnabled;
        c.altDown = alt;
        c.shiftDown = shift;
        c.securePage = secure;
        c.javaScriptLink = jsLink;
        c.customizerAllows = customizer;
        c.openerUrl = url;
        c.whitelist = whitelist;
        c.autoWhitelistAdd = autoAdd;
        c.promptWhitelist = prompt;

        const PopupDecision d = isPopupToKill(c);
        QTEST(d.kill, "kill");
        QTEST(d.whitelistAction, "action");
        QTEST(d.whitelistEntry, "entry");
    }

    // The document's decision reads the program's settings and whitelist and uses up the
    // script-link flag.
    void decideWithTheProgramsState()
    {
        QWidget document;
        PopupKiller killer(&document);
        programWhitelist() = {QStringLiteral("friendly")};

        bool jsLink = false;
        QVERIFY(killer.decide(QStringLiteral("http://ads.test/"), false, jsLink, false));
        QVERIFY(!killer.decide(QStringLiteral("http://Friendly.test/"), false, jsLink, false));

        jsLink = true;
        QVERIFY(!killer.decide(QStringLiteral("http://ads.test/"), false, jsLink, false));
        QVERIFY(!jsLink);
        QVERIFY(killer.decide(QStringLiteral("http://ads.test/"), false, jsLink, false));

        AppState::settings.popupKillerEnable = false;
        QVERIFY(!killer.decide(QStringLiteral("http://ads.test/"), false, jsLink, false));
    }

    // Alt as the keyboard reports it lets the popup through and adds the domain silently, or
    // requests the question.
    void altAddsTheDomain()
    {
        QWidget document;
        document.show();
        QVERIFY(QTest::qWaitForWindowExposed(&document));
        PopupKiller killer(&document);
        AppState::settings.popupPromptWhitelist = false;
        AppState::settings.popupAutoWhitelistAdd = 3;

        QTest::keyPress(document.windowHandle(), Qt::Key_Alt, Qt::AltModifier);
        if (!isAltDown())
            QSKIP("this platform does not report the held key");
        bool jsLink = false;
        const bool kill = killer.decide(QStringLiteral("http://www.Shop.example/cart"), false,
                                        jsLink, false);
        QTest::keyRelease(document.windowHandle(), Qt::Key_Alt, Qt::NoModifier);
        QVERIFY(!kill);
        QCOMPARE(programWhitelist(), QStringList{QStringLiteral("Shop.example")});
        QVERIFY(!isAltDown());

        // With the question on, Alt requests it about the opener's address instead.
        AppState::settings.popupPromptWhitelist = true;
        QSignalSpy questions(&killer, &PopupKiller::whitelistQuestionRequested);
        QTest::keyPress(document.windowHandle(), Qt::Key_Alt, Qt::AltModifier);
        QVERIFY(!killer.decide(QStringLiteral("http://other.example/a"), false, jsLink, false));
        QTest::keyRelease(document.windowHandle(), Qt::Key_Alt, Qt::NoModifier);
        QCOMPARE(questions.size(), 1);
        QCOMPARE(questions.first().first().toString(), QStringLiteral("http://other.example/a"));
        QCOMPARE(programWhitelist().size(), 1);
    }

    // ------------------------------------------------------------ kill indication

    void blinkAfterAKill_data()
    {
        QTest::addColumn<bool>("killerOnAtEnd");
        QTest::addColumn<int>("finalIcon");
        QTest::newRow("killer on") << true << 3;
        QTest::newRow("killer switched off meanwhile") << false << 1;
    }

    void blinkAfterAKill()
    {
        QFETCH(bool, killerOnAtEnd);
        QFETCH(int, finalIcon);

        QWidget document;
        PopupKiller killer(&document);
        int panelIcon = 3; // the status bar's "Item4"
        killer.setIndicatorReader([&panelIcon] { return panelIcon; });
        connect(&killer, &PopupKiller::indicatorIconChanged, this, [&panelIcon](int i) { panelIcon = i; });
        QSignalSpy icons(&killer, &PopupKiller::indicatorIconChanged);

        QVERIFY(blinkTimer(killer));
        killer.reportKilled();
        QVERIFY(blinkTimer(killer)->isActive());
        QCOMPARE(blinkTimer(killer)->interval(), 800);
        QVERIFY(isPopupCursorShown());
        QVERIFY(QGuiApplication::overrideCursor());
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::ForbiddenCursor);

        QList<int> seen;
        QList<bool> cursor;
        for (int tick = 1; tick <= 6; ++tick) {
            if (tick == 6)
                AppState::settings.popupKillerEnable = killerOnAtEnd;
            blinkTick(killer);
            seen.append(panelIcon);
            cursor.append(QGuiApplication::overrideCursor() != nullptr);
        }
        QCOMPARE(seen, (QList<int>{5, 3, 5, 3, 5, finalIcon}));
        // The cursor comes back at the fourth tick.
        QCOMPARE(cursor, (QList<bool>{true, true, true, false, false, false}));
        QVERIFY(!blinkTimer(killer)->isActive());
        QVERIFY(!isPopupCursorShown());
        QCOMPARE(icons.size(), 7);
    }

    void secondKillRestartsTheBlink()
    {
        QWidget document;
        PopupKiller killer(&document);
        killer.reportKilled();
        for (int i = 0; i < 4; ++i)
            blinkTick(killer);
        QVERIFY(!isPopupCursorShown());
        killer.reportKilled();
        QVERIFY(isPopupCursorShown());
        for (int i = 0; i < 5; ++i) {
            blinkTick(killer);
            QVERIFY(blinkTimer(killer)->isActive());
        }
        blinkTick(killer);
        QVERIFY(!blinkTimer(killer)->isActive());
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    void blinkRunsOnItsOwn()
    {
        QWidget document;
        PopupKiller killer(&document);
        blinkTimer(killer)->setInterval(5);
        QSignalSpy icons(&killer, &PopupKiller::indicatorIconChanged);
        killer.reportKilled();
        QTRY_VERIFY(!blinkTimer(killer)->isActive());
        QCOMPARE(icons.size(), 7);
        QCOMPARE(icons.last().first().toInt(), 3);
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    void cursorFollowsItsSetting()
    {
        AppState::settings.popupChangeMouse = false;
        setPopupCursor(true);
        QVERIFY(!isPopupCursorShown());
        QVERIFY(!QGuiApplication::overrideCursor());

        // Switched off while the cursor shows: it still comes back.
        AppState::settings.popupChangeMouse = true;
        setPopupCursor(true);
        setPopupCursor(true); // never stacked twice
        AppState::settings.popupChangeMouse = false;
        setPopupCursor(false);
        QVERIFY(!isPopupCursorShown());
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    void closingTheDocumentEndsTheBlink()
    {
        auto document = std::make_unique<QWidget>();
        auto *killer = new PopupKiller(document.get());
        int panelIcon = -1;
        connect(killer, &PopupKiller::indicatorIconChanged, this, [&panelIcon](int i) { panelIcon = i; });
        killer->reportKilled();
        blinkTick(*killer);
        QCOMPARE(panelIcon, 5);
        document.reset();
        QCOMPARE(panelIcon, 3);
        QVERIFY(!isPopupCursorShown());
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    void soundWithoutDeviceOrFileIsSilent_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("shipped sound") << QString();
        QTest::newRow("missing file") << QStringLiteral("/nonexistent/tick.wav");
    }

    void soundWithoutDeviceOrFileIsSilent()
    {
        QFETCH(QString, file);
        AppState::settings.popupPlaySound = true;
        AppState::settings.popupSoundFile = file;
        playPopupSound();
        playPopupSound();
        AppState::settings.popupPlaySound = false;

        // One player for the whole program, never given a file that is not there.
        const QList<QSoundEffect *> players =
            qApp->findChildren<QSoundEffect *>(QString(), Qt::FindDirectChildrenOnly);
        QVERIFY(players.size() <= 1);
        if (!file.isEmpty()) {
            for (const QSoundEffect *player : players)
                QVERIFY(player->source() != QUrl::fromLocalFile(file));
            return;
        }
        QCOMPARE(players.size(), 1);
        const QSoundEffect *player = players.first();
        QCOMPARE(player->source(), QUrl::fromLocalFile(Paths::assetFile(QStringLiteral("popup.wav"))));
        // The shipped sound is one the player can read. Where the system has no sound output at
        // all, newer players report an error whatever they were given: the file must then at
        // least be a wave file.
        QFile sound(player->source().toLocalFile());
        QVERIFY(sound.open(QIODevice::ReadOnly));
        QCOMPARE(sound.read(4), QByteArray("RIFF"));
        QTRY_VERIFY(player->status() == QSoundEffect::Ready
                    || (player->status() == QSoundEffect::Error
                        && QMediaDevices::audioOutputs().isEmpty()));
    }

    // ------------------------------------------------------------ dialogs

    void firstKillShowsTheNoticeOnce()
    {
        SettingsStore &store = SettingsStore::instance();
        store.write(QStringLiteral("Popup"), QStringLiteral("FirstPopup"), QStringLiteral("True"));
        QWidget document;
        PopupKiller killer(&document);
        // Wired as the document window wires it.
        connect(&killer, &PopupKiller::firstKillNoticeRequested, &document,
                [&document] { FirstPopupNotice::queue(&document); });
        QSignalSpy requests(&killer, &PopupKiller::firstKillNoticeRequested);

        QString shown;
        QString title;
        onNextModal([&](QWidget *modal) {
            shown = modal->objectName();
            title = modal->windowTitle();
            if (auto *ok = modal->findChild<QPushButton *>(QStringLiteral("cmdOK")))
                ok->click();
        });
        killer.reportKilled();
        // Stored before the notice shows, and the notice waits for the caller to return.
        QCOMPARE(store.read(QStringLiteral("Popup"), QStringLiteral("FirstPopup"), "?"),
                 QStringLiteral("False"));
        QVERIFY(shown.isEmpty());
        QTRY_COMPARE(shown, QStringLiteral("frmFirstPopup"));
        QCOMPARE(title, loadResString(17500));

        // Never again.
        bool again = false;
        killer.reportKilled();
        QTimer probe;
        connect(&probe, &QTimer::timeout, this, [&again] {
            if (QApplication::activeModalWidget()) {
                again = true;
                QApplication::activeModalWidget()->close();
            }
        });
        probe.start(5);
        QTest::qWait(100);
        QVERIFY(!again);
        QCOMPARE(requests.size(), 1);
    }

    void whitelistQuestion_data()
    {
        QTest::addColumn<int>("option");
        QTest::addColumn<bool>("dontAsk");
        QTest::addColumn<bool>("cancel");
        QTest::addColumn<QString>("site");
        QTest::addColumn<QStringList>("whitelist");
        QTest::addColumn<int>("autoAdd");
        QTest::addColumn<bool>("prompt");

        const QString site = QStringLiteral("http://www.Example.com/page?x=1");
        QTest::newRow("do nothing") << 0 << false << false << site << QStringList{} << 1 << true;
        QTest::newRow("add the site") << 1 << false << false << site << QStringList{site} << 2
                                      << true;
        QTest::newRow("add the domain") << 2 << false << false << site
                                        << QStringList{"Example.com"} << 3 << true;
        QTest::newRow("domain, don't ask again") << 2 << true << false << site
                                                 << QStringList{"Example.com"} << 3 << false;
        QTest::newRow("nothing, don't ask again") << 0 << true << false << site << QStringList{}
                                                  << 1 << false;
        QTest::newRow("cancel stores nothing") << 2 << true << true << site << QStringList{} << 2
                                               << true;
        QTest::newRow("empty site adds nothing") << 1 << false << false << "" << QStringList{}
                                                 << 2 << true;
    }

    void whitelistQuestion()
    {
        QFETCH(int, option);
        QFETCH(bool, dontAsk);
        QFETCH(bool, cancel);
        QFETCH(QString, site);
        AppState::settings.popupAutoWhitelistAdd = 2;

        {
            WhitelistQuestionDialog dialog(site);
            QCOMPARE(dialog.windowTitle(), loadResString(17000));
            QCOMPARE(choice(dialog, 2)->text(), loadResString(17005));
            QVERIFY(choice(dialog, 0)->isChecked());
            QVERIFY(!dontAskAgain(dialog)->isChecked());
            dialog.show();
            QVERIFY(AppState::modalDialogOpen());
            choice(dialog, option)->setChecked(true);
            dontAskAgain(dialog)->setChecked(dontAsk);
            if (cancel)
                QTest::keyClick(&dialog, Qt::Key_Escape);
            else
                okButton(dialog)->click();
            QVERIFY(!dialog.isVisible());
            QVERIFY(!AppState::modalDialogOpen());
        }
        QFETCH(QStringList, whitelist);
        QCOMPARE(programWhitelist(), whitelist);
        QTEST(AppState::settings.popupAutoWhitelistAdd, "autoAdd");
        QTEST(AppState::settings.popupPromptWhitelist, "prompt");
    }

    void whitelistQuestionSettings()
    {
        // The choice and the box become the automatic action.
        AppState::settings.popupAutoWhitelistAdd = 1;
        WhitelistQuestionDialog dialog(QStringLiteral("http://www.a.org/"));
        choice(dialog, 2)->setChecked(true);
        dontAskAgain(dialog)->setChecked(true);
        okButton(dialog)->click();
        QCOMPARE(AppState::settings.popupAutoWhitelistAdd, 3);
        QVERIFY(!AppState::settings.popupPromptWhitelist);
    }

    void queuedQuestionWaitsForTheCaller()
    {
        auto document = std::make_unique<QWidget>();
        QString shown;
        onNextModal([&](QWidget *modal) {
            shown = modal->objectName();
            static_cast<QDialog *>(modal)->reject();
        });
        WhitelistQuestionDialog::queue(QStringLiteral("http://a.org/"), document.get());
        QVERIFY(shown.isEmpty());
        QTRY_COMPARE(shown, QStringLiteral("frmWhitelist"));
        QVERIFY(programWhitelist().isEmpty());

        // The document is gone before the question's turn: nothing is asked.
        bool asked = false;
        WhitelistQuestionDialog::queue(QStringLiteral("http://a.org/"), document.get());
        document.reset();
        QTimer probe;
        connect(&probe, &QTimer::timeout, this, [&asked] {
            if (QWidget *modal = QApplication::activeModalWidget()) {
                asked = true;
                modal->close();
            }
        });
        probe.start(5);
        QTest::qWait(100);
        QVERIFY(!asked);
    }
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    TestPopupKiller test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_popupkiller.moc"
