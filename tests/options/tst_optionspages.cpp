#include "settingsroundtrip.h"
#include "core/appstate.h"
#include "core/settingsstore.h"
#include "core/strings.h"
#include "options/activepagesource.h"
#include "options/contentoptionspage.h"
#include "options/controloptionspage.h"
#include "options/customlinkdialog.h"
#include "options/customlinkspage.h"
#include "options/optionshost.h"
#include "options/usersitespage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

#include <functional>

namespace {

class FakeHost : public OptionsHost, public ActivePageSource
{
public:
    bool pageOpen = true;

    void setTrayIconShown(bool) override {}
    bool setSidebarShown(bool shown) override { return shown; }
    void applyQuickNotesStyle(const QFont &, const QColor &) override {}
    void armFavoritesTimer(int) override {}
    void armHistoryTimer(int) override {}
    void showCustomLinkButtons() override {}
    QString currentSkin() const override { return QString(); }
    QString nextSkin() const override { return QString(); }
    void setNextSkin(const QString &) override {}
    void setCommandChecked(const QString &, bool) override {}
    void reloadFormData() override {}
    bool reloadFavorites() override { return true; }
    void reloadHistory(std::function<void(bool)>) override {}
    void cleanHistory(HistoryCleaner::Kinds, std::function<void(bool)> done) override { done(true); }
    void showPopupKillerState() override {}

    bool hasActivePage() const override { return pageOpen; }
    QString activePageTitle() const override { return QStringLiteral("A page title longer than twenty"); }
    QString activePageAddress() const override { return QStringLiteral("https://open.test/now"); }
};

// A custom-links page whose dialogs and questions answer from a script instead of the user.
class ScriptedLinksPage : public CustomLinksPage
{
public:
    using CustomLinksPage::CustomLinksPage;
    std::function<int(QDialog &)> answer;
    QStringList asked; // texts of the message boxes shown

protected:
    int execModal(QDialog &dialog) override
    {
        if (auto *box = qobject_cast<QMessageBox *>(&dialog))
            asked.append(box->text());
        return answer ? answer(dialog) : QDialog::Rejected;
    }
};

std::function<int(QDialog &)> fillLink(const QString &name, const QString &address, int result)
{
    return [=](QDialog &dialog) {
        auto &link = static_cast<CustomLinkDialog &>(dialog);
        link.setName(name);
        link.setAddress(address);
        return result;
    };
}

} // namespace

class TestOptionsPages : public QObject
{
    Q_OBJECT
private:
    FakeHost m_host;
    SettingsRoundTrip m_settings;

    void loadStore(const QMap<QString, QString> &values) { m_settings.load(values); }
    QString saved(const QString &section, const QString &key) { return m_settings.saved(section, {key}); }

    static QStringList rows(const QTreeWidget *list)
    {
        QStringList out;
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            out << list->topLevelItem(i)->text(1) + u'=' + list->topLevelItem(i)->text(2);
        return out;
    }

    static QString buttonStates(const QWidget &page)
    {
        QString states;
        for (const char *name : {"btnEditLink", "btnDeleteLink", "btnUp", "btnDown"})
            states += page.findChild<QPushButton *>(QLatin1String(name))->isEnabled() ? u'1' : u'0';
        return states;
    }

    void loadLinks(const QStringList &names)
    {
        QMap<QString, QString> values{
            {QStringLiteral("CustomLinks/CustomLinksCount"), QString::number(names.size())}};
        for (int i = 0; i < names.size(); ++i) {
            values.insert(QStringLiteral("CustomLinks/CustomLinksName%1").arg(i + 1), names[i]);
            values.insert(QStringLiteral("CustomLinks/CustomLinksURL%1").arg(i + 1),
                          QStringLiteral("https://%1.test/").arg(names[i]));
        }
        loadStore(values);
    }

private slots:
    void userSites_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<bool>("pageOpen");
        QTest::addColumn<QStringList>("expected");
        const QString longSite(300, u'x');
        QTest::newRow("untouched, a long stored address uncut")
            << "" << true << QStringList{longSite, "h2", "s", "n", "m"};
        QTest::newRow("Use Blank without focus fills Home 1")
            << "blank" << true << QStringList{"about:blank", "h2", "s", "n", "m"};
        QTest::newRow("focus News, Use Current")
            << "txtNews current" << true << QStringList{longSite, "h2", "s", "https://open.test/now", "m"};
        QTest::newRow("emptied boxes save empty")
            << "clear" << true << QStringList{"", "", "", "", ""};
        QTest::newRow("no tab open: Use Current disabled") << "current" << false
                                                            << QStringList{longSite, "h2", "s", "n", "m"};
    }
    void userSites()
    {
        QFETCH(QString, action);
        QFETCH(bool, pageOpen);
        QFETCH(QStringList, expected);
        loadStore({{"Sites/SitesHome1", QString(300, u'x')}, {"Sites/SitesHome2", "h2"},
                   {"Sites/SitesSearch", "s"}, {"Sites/SitesNews", "n"}, {"Sites/SitesMail", "m"}});
        m_host.pageOpen = pageOpen;
        UserSitesPage page(m_host);
        const QStringList boxes = {"txtHome1", "txtHome2", "txtSearch", "txtNews", "txtMail"};
        auto *useCurrent = page.findChild<QPushButton *>(QStringLiteral("btnUseCurrent"));
        QCOMPARE(useCurrent->isEnabled(), pageOpen);
        for (const QString &step : action.split(u' ', Qt::SkipEmptyParts)) {
            if (step == u"blank") {
                page.findChild<QPushButton *>(QStringLiteral("btnUseBlank"))->click();
            } else if (step == u"current") {
                useCurrent->click();
            } else if (step == u"clear") {
                for (const QString &box : boxes)
                    page.findChild<QLineEdit *>(box)->clear();
            } else {
                QFocusEvent focus(QEvent::FocusIn);
                QApplication::sendEvent(page.findChild<QLineEdit *>(step), &focus);
            }
        }
        page.save();
        const QStringList keys = {"SitesHome1", "SitesHome2", "SitesSearch", "SitesNews", "SitesMail"};
        for (int i = 0; i < keys.size(); ++i)
            QCOMPARE(saved(QStringLiteral("Sites"), keys[i]), expected[i]);
    }

    void contentSwitches_data()
    {
        QTest::addColumn<QString>("stored");  // the eight flags in box order
        QTest::addColumn<QList<int>>("toggle");
        QTest::addColumn<QString>("expected");
        QTest::newRow("all on, all unticked") << "11111111" << QList<int>{0, 1, 2, 3, 4, 5, 6, 7}
                                              << "00000000";
        QTest::newRow("Flash alone") << "00000000" << QList<int>{4} << "00001000";
        QTest::newRow("mixed kept") << "10100101" << QList<int>{} << "10100101";
    }
    void contentSwitches()
    {
        QFETCH(QString, stored);
        QFETCH(QList<int>, toggle);
        QFETCH(QString, expected);
        const QStringList keys = {"EnableImages", "EnableSound", "EnableVideo", "EnableScripts",
                                  "EnableFlash", "EnableJava", "EnableActiveXDL", "EnableActiveXRUN"};
        QMap<QString, QString> values;
        for (int i = 0; i < 8; ++i)
            values.insert(QStringLiteral("Content/") + keys[i], stored[i] == u'1' ? "True" : "False");
        loadStore(values);
        ContentOptionsPage page(m_host);
        // Java and ActiveX have no effect on this engine: their boxes are shown disabled.
        for (int i = 0; i < 8; ++i)
            QCOMPARE(page.findChild<QCheckBox *>(QStringLiteral("chkDownload%1").arg(i))->isEnabled(), i < 5);
        for (int i : toggle)
            page.findChild<QCheckBox *>(QStringLiteral("chkDownload%1").arg(i))->toggle();
        page.save();
        QString got;
        for (const QString &key : keys)
            got += saved(QStringLiteral("Content"), key) == u"True" ? u'1' : u'0';
        QCOMPARE(got, expected);
    }

    void controlLists_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("shown");
        QTest::addColumn<int>("choose"); // -1: leave the list alone
        QTest::addColumn<QString>("expected");
        QTest::newRow("Double click to Duplicate Tab") << "lstTabDbl" << "ControlDouble" << "2" << 2 << 5 << "5";
        QTest::newRow("action the list lacks is kept") << "lstTabLeft" << "ControlLeft" << "9" << -1 << -1 << "9";
        QTest::newRow("negative action is kept") << "lstTabRight" << "ControlRight" << "-1" << -1 << -1 << "-1";
        QTest::newRow("active tab stores false") << "lstSites" << "ControlSitesNew" << "True" << 1 << 0 << "False";
        QTest::newRow("new tab stores true") << "lstHistory" << "ControlHistNew" << "False" << 0 << 1 << "True";
    }
    void controlLists()
    {
        QFETCH(QString, list);
        QFETCH(QString, key);
        QFETCH(QString, stored);
        QFETCH(int, shown);
        QFETCH(int, choose);
        QFETCH(QString, expected);
        loadStore({{QStringLiteral("Control/") + key, stored}});
        ControlOptionsPage page(m_host);
        auto *combo = page.findChild<QComboBox *>(list);
        QCOMPARE(combo->currentIndex(), shown);
        if (choose >= 0)
            combo->setCurrentIndex(choose);
        page.save();
        QCOMPARE(saved(QStringLiteral("Control"), key), expected);
    }

    void customLinksEditing()
    {
        loadLinks({"a", "b", "c"});
        ScriptedLinksPage page(m_host);
        auto *list = page.findChild<QTreeWidget *>(QStringLiteral("lstCustomLinks"));
        auto click = [&](const char *name) { page.findChild<QPushButton *>(QLatin1String(name))->click(); };
        QCOMPARE(buttonStates(page), QStringLiteral("0000"));

        list->topLevelItem(1)->setSelected(true);
        QCOMPARE(buttonStates(page), QStringLiteral("1111"));
        click("btnUp"); // the second row becomes the first
        QCOMPARE(rows(list).join(u' '), QStringLiteral("b=https://b.test/ a=https://a.test/ c=https://c.test/"));
        QCOMPARE(buttonStates(page), QStringLiteral("1101"));
        click("btnDown");
        click("btnDown"); // the next-to-last row becomes the last
        QCOMPARE(rows(list).first(), QStringLiteral("a=https://a.test/"));
        QCOMPARE(rows(list).last(), QStringLiteral("b=https://b.test/"));
        QCOMPARE(buttonStates(page), QStringLiteral("1110"));

        page.answer = fillLink("B", "example.org/x", QDialog::Rejected);
        click("btnEditLink");
        QCOMPARE(rows(list).last(), QStringLiteral("b=https://b.test/"));
        page.answer = fillLink("B", "example.org/x", QDialog::Accepted);
        click("btnEditLink");
        QCOMPARE(rows(list).last(), QStringLiteral("B=http://example.org/x"));

        page.answer = [](QDialog &) { return int(QMessageBox::No); };
        QTest::keyClick(list, Qt::Key_Delete);
        QCOMPARE(page.asked, QStringList{loadResString(15007)});
        QCOMPARE(list->topLevelItemCount(), 3);
        QCOMPARE(buttonStates(page), QStringLiteral("1110"));
        page.answer = [](QDialog &) { return int(QMessageBox::Yes); };
        click("btnDeleteLink");
        QCOMPARE(list->topLevelItemCount(), 2);
        QCOMPARE(buttonStates(page), QStringLiteral("0000"));

        for (int i = 0; i < 10; ++i) {
            page.answer = fillLink(QStringLiteral("n%1").arg(i), "", QDialog::Accepted);
            click("btnAddLink");
        }
        page.save();
        QCOMPARE(saved(QStringLiteral("CustomLinks"), QStringLiteral("CustomLinksCount")), QStringLiteral("12"));
        QCOMPARE(saved(QStringLiteral("CustomLinks"), QStringLiteral("CustomLinksName12")), QStringLiteral("n9"));
        QCOMPARE(saved(QStringLiteral("CustomLinks"), QStringLiteral("CustomLinksURL12")), QString());
    }

    void customLinksDeleteLast()
    {
        loadLinks({"only"});
        ScriptedLinksPage page(m_host);
        page.findChild<QTreeWidget *>()->topLevelItem(0)->setSelected(true);
        page.answer = [](QDialog &) { return int(QMessageBox::Yes); };
        page.findChild<QPushButton *>(QStringLiteral("btnDeleteLink"))->click();
        page.save();
        QCOMPARE(saved(QStringLiteral("CustomLinks"), QStringLiteral("CustomLinksCount")), QStringLiteral("0"));
        QCOMPARE(saved(QStringLiteral("CustomLinks"), QStringLiteral("CustomLinksName1")), QStringLiteral("<missing>"));
    }

    void customLinksImport_data()
    {
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QStringList>("found");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QList<int>>("asked");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("no links: copied without asking")
            << QStringList{} << QStringList{"x", "y"} << 0 << QList<int>{}
            << QStringList{"x=https://x.test/", "y=https://y.test/"};
        QTest::newRow("answered No: unchanged")
            << QStringList{"a"} << QStringList{"x"} << int(QMessageBox::No) << QList<int>{15003}
            << QStringList{"a=https://a.test/"};
        QTest::newRow("nothing found: warned, unchanged")
            << QStringList{"a"} << QStringList{} << int(QMessageBox::Yes) << QList<int>{15003, 15004}
            << QStringList{"a=https://a.test/"};
        QTest::newRow("answered Yes: replaced")
            << QStringList{"a", "b"} << QStringList{"x"} << int(QMessageBox::Yes) << QList<int>{15003}
            << QStringList{"x=https://x.test/"};
    }
    void customLinksImport()
    {
        QFETCH(QStringList, present);
        QFETCH(QStringList, found);
        QFETCH(int, answer);
        QFETCH(QList<int>, asked);
        QFETCH(QStringList, expected);
        loadLinks(present);
        AppState::linkNames = found;
        AppState::linkUrls.clear();
        for (const QString &name : found)
            AppState::linkUrls << QStringLiteral("https://%1.test/").arg(name);
        ScriptedLinksPage page(m_host);
        page.answer = [answer](QDialog &) { return answer; };
        page.findChild<QPushButton *>(QStringLiteral("btnImportLinks"))->click();
        QStringList askedTexts;
        for (int id : asked)
            askedTexts << loadResString(id);
        QCOMPARE(page.asked, askedTexts);
        QCOMPARE(rows(page.findChild<QTreeWidget *>()), expected);
        QCOMPARE(AppState::settings.customLinksCount, qint16(present.size())); // only save writes
    }

    void linkDialog_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("address");
        QTest::newRow("host") << "example.org" << "http://example.org";
        QTest::newRow("host and port") << "localhost:8080/a" << "http://localhost:8080/a";
        QTest::newRow("scheme kept as typed") << "HTTPS://Example.org" << "HTTPS://Example.org";
        QTest::newRow("about") << "about:blank" << "about:blank";
        QTest::newRow("mail") << "mailto:me@example.org" << "mailto:me@example.org";
        QTest::newRow("empty") << "" << "";
    }
    void linkDialog()
    {
        QFETCH(QString, typed);
        QFETCH(QString, address);
        CustomLinkDialog dialog(m_host);
        dialog.setAddress(typed);
        QCOMPARE(dialog.address(), address);
    }

    void linkDialogButtons()
    {
        m_host.pageOpen = false;
        QVERIFY(!CustomLinkDialog(m_host).findChild<QPushButton *>(QStringLiteral("btnCurrent"))->isEnabled());
        m_host.pageOpen = true;
        CustomLinkDialog dialog(m_host);
        auto *name = dialog.findChild<QLineEdit *>(QStringLiteral("txtName"));
        QTest::keyClicks(name, QStringLiteral("abcdefghijklmnopqrstuvwxyz"));
        QCOMPARE(dialog.name(), QStringLiteral("abcdefghijklmnopqrst"));
        dialog.findChild<QPushButton *>(QStringLiteral("btnCurrent"))->click();
        QCOMPARE(dialog.name(), QStringLiteral("A page title longer than twenty"));
        QCOMPARE(dialog.address(), QStringLiteral("https://open.test/now"));

        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QSignalSpy finished(&dialog, &QDialog::finished);
        dialog.close(); // the close box
        QCOMPARE(finished.size(), 1);
        QCOMPARE(finished.first().first().toInt(), int(QDialog::Rejected));
    }
};

QTEST_MAIN(TestOptionsPages)
#include "tst_optionspages.moc"
