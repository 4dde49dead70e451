#include "recordingoptionshost.h"
#include "settingsroundtrip.h"

#include "core/appstate.h"
#include "core/settingsstore.h"
#include "core/strings.h"
#include "document/popupwhitelist.h"
#include "options/mousegesturespage.h"
#include "options/popupkilleroptionspage.h"
#include "options/rssoptionspage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

class TestPopupRssPages : public QObject
{
    Q_OBJECT
private:
    RecordingOptionsHost m_host;
    SettingsRoundTrip m_settings;

    void loadStore(const QMap<QString, QString> &values) { m_settings.load(values); }
    QString saved(const QString &section, const QStringList &keys) { return m_settings.saved(section, keys); }
    template <typename T> static T *control(QWidget &page, const char *name)
    {
        return page.findChild<T *>(QLatin1String(name));
    }
    static QString enabledStates(QWidget &page, const QList<const char *> &names)
    {
        QString states;
        for (const char *name : names)
            states += control<QWidget>(page, name)->isEnabled() ? u'1' : u'0';
        return states;
    }

private Q_SLOTS:
    void popupKiller_data()
    {
        QTest::addColumn<QString>("stored");   // killer, Alt, mouse, sound as four 0/1
        QTest::addColumn<QString>("enabled");  // Alt, mouse, sound, sound file, browse
        QTest::addColumn<QString>("soundFile"); // typed into the box before saving
        QTest::addColumn<bool>("refused");
        QTest::addColumn<QString>("expected"); // the four switches and the sound file saved
        QTest::newRow("killer and sound on") << "1111" << "11111" << "/gone/missing.wav" << false
                                             << "True|True|True|True|/gone/missing.wav";
        QTest::newRow("killer off, sound on") << "0001" << "01011" << "/a.wav" << false
                                              << "False|False|False|True|/a.wav";
        QTest::newRow("all off") << "0000" << "01000" << "" << false
                                 << "False|False|False|False|";
        QTest::newRow("sound on, no file") << "1011" << "11111" << "" << true << "";
    }
    void popupKiller()
    {
        QFETCH(QString, stored);
        QFETCH(QString, soundFile);
        QFETCH(QString, expected);
        const QStringList keys = {"PopupKillerEnable", "PopupAltEnable", "PopupChangeMouse",
                                  "PopupPlaySound"};
        QMap<QString, QString> values{{"Popup/PopupSoundFile", "/stored.wav"},
                                      {"Popup/PopupPromptWhitelist", "True"}};
        for (int i = 0; i < keys.size(); ++i)
            values.insert(QStringLiteral("Popup/") + keys[i], stored[i] == u'1' ? "True" : "False");
        loadStore(values);
        m_host.calls.clear();

        PopupKillerOptionsPage page(m_host);
        QTEST(enabledStates(page, {"chkDisablePopup", "ChkChangeMouse", "chkPlaySound",
                                   "txtPopupSndFile", "btnBrowsePopup"}),
              "enabled");
        QCOMPARE(control<QLineEdit>(page, "txtPopupSndFile")->text(), QStringLiteral("/stored.wav"));
        QVERIFY(control<QCheckBox>(page, "chkOfferWhitelistAdd")->isChecked());

        control<QLineEdit>(page, "txtPopupSndFile")->setText(soundFile);
        QFETCH(bool, refused);
        QCOMPARE(page.refusal(), refused ? loadResString(15016) : QString());
        if (refused)
            return;
        page.save();
        QCOMPARE(m_host.calls, QStringList{QStringLiteral("popup killer state")});
        QCOMPARE(saved(QStringLiteral("Popup"), keys + QStringList{"PopupSoundFile"}), expected);
    }

    void whitelistEditing()
    {
        loadStore({{"Popup/PopupKillerEnable", "True"}});
        programWhitelist() = {QStringLiteral("ads.test"), QStringLiteral("news.test")};
        PopupKillerOptionsPage page(m_host);
        auto *entry = control<QLineEdit>(page, "txtWhiteList");
        auto *list = control<QListWidget>(page, "lstWhiteList");
        auto *add = control<QPushButton>(page, "btnAdd");
        auto *remove = control<QPushButton>(page, "btnRemove");
        QCOMPARE(list->count(), 2);
        QCOMPARE(enabledStates(page, {"btnAdd", "btnRemove"}), QStringLiteral("00"));

        // The same site twice gives two entries, kept as typed.
        entry->setText(QStringLiteral(" Shop.test "));
        add->click();
        add->click();
        QCOMPARE(list->count(), 4);
        QCOMPARE(list->item(3)->text(), QStringLiteral(" Shop.test "));

        // Remove puts the entry back into the box, selected, ready to be added again.
        list->setCurrentRow(0);
        QVERIFY(remove->isEnabled());
        remove->click();
        QCOMPARE(entry->text(), QStringLiteral("ads.test"));
        QCOMPARE(entry->selectedText(), QStringLiteral("ads.test"));
        QCOMPARE(enabledStates(page, {"btnAdd", "btnRemove"}), QStringLiteral("10"));
        page.save();
        QCOMPARE(programWhitelist(), (QStringList{"news.test", " Shop.test ", " Shop.test "}));

        while (list->count() > 0) {
            list->setCurrentRow(0);
            remove->click();
        }
        page.save();
        QVERIFY(programWhitelist().isEmpty());
    }

    void soundFilePicker()
    {
        loadStore({{"Popup/PopupKillerEnable", "True"}, {"Popup/PopupPlaySound", "True"},
                   {"Popup/PopupSoundFile", "/old.wav"}});
        PopupKillerOptionsPage page(m_host);
        QString answer, askedWith;
        page.setSoundFilePicker([&](QWidget *, const QString &current) {
            askedWith = current;
            return answer;
        });
        auto *browse = control<QPushButton>(page, "btnBrowsePopup");
        browse->click(); // cancelled
        QCOMPARE(askedWith, QStringLiteral("/old.wav"));
        QCOMPARE(control<QLineEdit>(page, "txtPopupSndFile")->text(), QStringLiteral("/old.wav"));
        answer = QStringLiteral("/sounds/new.wav");
        browse->click();
        QCOMPARE(control<QLineEdit>(page, "txtPopupSndFile")->text(), answer);
    }

    void rss_data()
    {
        QTest::addColumn<QString>("read");     // stored days
        QTest::addColumn<QString>("unread");
        QTest::addColumn<QString>("shown");    // the two lists' texts, "" for no selection
        QTest::addColumn<QString>("timeout");  // typed into the boxes
        QTest::addColumn<QString>("interval");
        QTest::addColumn<QString>("expected"); // RSSTimeoutSec, RSSAutoCheckMinutes, read, unread
        QTest::newRow("untouched") << "3" << "14" << "3 days|2 Weeks" << "20" << "45" << "20|45|3|14";
        QTest::newRow("unread above a week") << "7" << "9" << "7 days|2 Weeks" << "0" << "0"
                                             << "0|0|7|14";
        QTest::newRow("days without an item") << "0" << "-2" << "|" << "20" << "45"
                                              << "20|45|0|-2";
        QTest::newRow("empty and invalid numbers") << "1" << "1" << "1 day|1 day" << "" << "40000"
                                                   << "20|45|1|1";
    }
    void rss()
    {
        QFETCH(QString, read);
        QFETCH(QString, unread);
        QFETCH(QString, timeout);
        QFETCH(QString, interval);
        const QString longProxy(120, u'p');
        loadStore({{"RSS/ReadDeleteDays", read}, {"RSS/UnreadDeleteDays", unread},
                   {"RSS/RSSTimeoutSec", "20"}, {"RSS/RSSAutoCheckMinutes", "45"},
                   {"RSS/RSSProxyServer", longProxy}, {"RSS/RSSStartupCheck", "True"}});
        RssOptionsPage page(m_host);
        auto *readList = control<QComboBox>(page, "cmbRead");
        auto *unreadList = control<QComboBox>(page, "cmbUnread");
        QCOMPARE(readList->count(), 7);
        QCOMPARE(unreadList->count(), 8);
        QTEST(readList->currentText() + u'|' + unreadList->currentText(), "shown");
        QCOMPARE(control<QLineEdit>(page, "txtTimeout")->text(), QStringLiteral("20"));

        // A stored proxy longer than the box allows stays whole but cannot grow; a new one is
        // cut at 100 characters.
        auto *proxy = control<QLineEdit>(page, "txtProxyServer");
        QCOMPARE(proxy->text(), longProxy);
        QTest::keyClicks(proxy, QStringLiteral("more"));
        QCOMPARE(proxy->text().size(), longProxy.size());

        control<QLineEdit>(page, "txtTimeout")->setText(timeout);
        control<QLineEdit>(page, "txtCheckInterval")->setText(interval);
        page.save();
        QTEST(saved(QStringLiteral("RSS"), {"RSSTimeoutSec", "RSSAutoCheckMinutes", "ReadDeleteDays",
                                            "UnreadDeleteDays"}),
              "expected");
        QCOMPARE(saved(QStringLiteral("RSS"), {"RSSProxyServer", "RSSStartupCheck"}),
                 longProxy + QStringLiteral("|True"));
    }

    void gestures()
    {
        const QStringList keys = {"MouseUp", "MouseDown", "MouseRight", "MouseLeft", "MouseUpRight",
                                  "MouseUpLeft", "MouseDownRight", "MouseDownLeft", "MouseRightUp",
                                  "MouseRightDown", "MouseLeftUp", "MouseLeftDown"};
        // A first run: the store's defaults.
        loadStore({});
        {
            MouseGesturesPage page(m_host);
            QStringList shown;
            for (const char *name : {"lstUp", "lstDown", "lstRight", "lstLeft", "lstUpRight", "lstUpLeft"})
                shown << control<QComboBox>(page, name)->currentText();
            QCOMPARE(shown, (QStringList{"Refresh", "Stop", "Forward", "Back", "New from Clipboard",
                                         "Not used"}));
            auto *downLeft = control<QComboBox>(page, "lstDownLeft");
            QCOMPARE(downLeft->count(), MouseGesturesPage::kActions);
            QCOMPARE(downLeft->itemText(17), QStringLiteral("Add to popup killer whitelist"));
            page.save();
            QCOMPARE(saved(QStringLiteral("Gestures"), keys),
                     QStringLiteral("3|4|2|1|10|0|0|0|0|0|0|0"));
        }

        // A number without an item stays stored; "Not used" turns a gesture off.
        loadStore({{"Gestures/MouseLeftDown", "25"}, {"Gestures/MouseRightUp", "17"}});
        MouseGesturesPage page(m_host);
        QCOMPARE(control<QComboBox>(page, "lstLeftDown")->currentIndex(), -1);
        control<QComboBox>(page, "lstUp")->setCurrentIndex(0);
        control<QComboBox>(page, "lstLeftUp")->setCurrentIndex(14);
        page.save();
        QCOMPARE(saved(QStringLiteral("Gestures"), keys),
                 QStringLiteral("0|4|2|1|10|0|0|0|17|0|14|25"));
    }
};

QTEST_MAIN(TestPopupRssPages)
#include "tst_popuprss.moc"
