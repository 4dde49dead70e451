#include "core/paths.h"
#include "core/settingsmodel.h"
#include "core/settingsstore.h"
#include "core/startup.h"
#include "frame/crebar.h"
#include "frame/ctoolbar.h"
#include "frame/frmmain.h"
#include "frame/glyphs.h"
#include "frame/interface.h"
#include "frame/popupmenu6.h"

#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QSet>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using Kind = frmMain::MenuKind;

namespace {

QStringList keysOf(const PopupMenu6 &menu, const QList<int> &items)
{
    QStringList keys;
    for (int i : items)
        keys << menu.ItemKey(i);
    return keys;
}

QList<Interface::WindowEntry> windows(int count, const QString &title = QStringLiteral("Page"))
{
    QList<Interface::WindowEntry> list;
    for (int i = 0; i < count; ++i)
        list.append({i + 3, QStringLiteral("%1 %2").arg(title).arg(i + 1)});
    return list;
}

void touch(const QString &path)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
}

} // namespace

class TestMenus : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        QFile::remove(SettingsStore::instance().filePath());
        SettingsStore::instance().reload();
    }

    // ---------------------------------------------------------------- popup-menu component

    void clearingASubtreeKeepsTheRestConsistent()
    {
        PopupMenu6 menu;
        const int file = menu.AddItem(QStringLiteral("File"), {}, 0, 0, -1, false, true, "f");
        const int window = menu.AddItem(QStringLiteral("Window"), {}, 0, 0, -1, false, true, "w");
        const int skins =
            menu.AddItem(QStringLiteral("Skins"), {}, 0, window, -1, false, true, "s");
        menu.AddItem(QStringLiteral("one"), {}, 0, skins, -1, false, true, "s1");
        menu.AddItem(QStringLiteral("Tile"), {}, 7, window, -1, false, true, "t");
        const int help = menu.AddItem(QStringLiteral("Help"), {}, 0, 0, -1, false, true, "h");
        menu.AddItem(QStringLiteral("About"), {}, 0, help, -1, false, true, "a");
        // A grandchild added after later items (as rebuilt submenus are).
        menu.AddItem(QStringLiteral("two"), {}, 0, skins, -1, false, true, "s2");

        menu.ClearSubItems(window);
        QCOMPARE(menu.Count(), 4);
        QCOMPARE(keysOf(menu, menu.SubItems(0)), QStringList({"f", "w", "h"}));
        QCOMPARE(menu.ItemParent(menu.IndexForKey("a")), menu.IndexForKey("h"));
        QVERIFY(!menu.HasSubItems(menu.IndexForKey("w")));
        QCOMPARE(menu.IndexForKey("s2"), 0);
        QCOMPARE(menu.ItemKey(file), QStringLiteral("f"));

        // Reads and writes outside the list are harmless.
        menu.setChecked(99, true);
        menu.setEnabled(0, false);
        QVERIFY(!menu.Checked(99));
        QCOMPARE(menu.ItemKey(-1), QString());
        menu.ClearSubItems(42);
        QCOMPARE(menu.Count(), 4);
    }

    void submenusAreRebuiltWhenTheyOpen()
    {
        QWidget owner;
        PopupMenu6 menu;
        menu.sethWndOwner(&owner);
        const int window = menu.AddItem(QStringLiteral("&Window"), {}, 0, 0, -1, false, true, "w");
        menu.AddItem(QStringLiteral("placeholder"), {}, 0, window, -1, false, true, "p");
        const int help = menu.AddItem(QStringLiteral("&Help"), {}, 0, 0, -1, false, true, "h");
        menu.AddItem(QStringLiteral("About"), {}, 0, help, -1, false, true, "about");

        int opened = 0;
        connect(&menu, &PopupMenu6::InitPopupMenu, this, [&](int parent) {
            if (menu.ItemKey(parent) != QLatin1String("w"))
                return;
            ++opened;
            menu.ClearSubItems(parent);
            menu.AddItem(QStringLiteral("Fresh %1").arg(opened), {}, 0, menu.IndexForKey("w"), -1,
                         false, true, QStringLiteral("fresh"));
            menu.AddItem(QStringLiteral("R&D"), {}, 0, menu.IndexForKey("w"), -1, false, true,
                         QStringLiteral("data"), true);
        });
        QStringList clicked;
        connect(&menu, &PopupMenu6::Click, this, [&](int item) { clicked << menu.ItemKey(item); });

        QMenuBar bar(&owner);
        menu.BuildMenuBar(&bar);
        QCOMPARE(bar.actions().size(), 2);
        QMenu *windowMenu = bar.actions().at(0)->menu();
        QVERIFY(windowMenu);
        QCOMPARE(windowMenu->actions().at(0)->text(), QStringLiteral("placeholder"));

        emit windowMenu->aboutToShow();
        QCOMPARE(opened, 1);
        QCOMPARE(windowMenu->actions().size(), 2);
        QCOMPARE(windowMenu->actions().at(0)->text(), QStringLiteral("Fresh 1"));
        // A caption from data shows '&' as itself; the list keeps it as given.
        QCOMPARE(windowMenu->actions().at(1)->text(), QStringLiteral("R&&D"));
        QCOMPARE(menu.Caption(menu.IndexForKey("data")), QStringLiteral("R&D"));

        // Items keep their identity when indexes move under them.
        QMenu *helpMenu = bar.actions().at(1)->menu();
        emit helpMenu->aboutToShow();
        QAction *about = helpMenu->actions().at(0);
        emit windowMenu->aboutToShow(); // rebuilds, moving "About" to another index
        about->trigger();
        windowMenu->actions().at(0)->trigger();
        QCOMPARE(clicked, QStringList({"about", "fresh"}));
    }

    void showPopupMenuReturnsAfterTheClickWasHandled()
    {
        QWidget owner;
        owner.show();
        PopupMenu6 menu;
        menu.sethWndOwner(&owner);
        menu.AddItem(QStringLiteral("One"), {}, 11, 0, -1, false, true, "one");
        menu.AddItem(QStringLiteral("-"), {}, 0, 0, -1, false, true, "bar");
        menu.AddItem(QStringLiteral("Two"), {}, 22, 0, -1, true, true, "two");
        QString handled;
        connect(&menu, &PopupMenu6::Click, this, [&](int item) { handled = menu.ItemKey(item); });
        QTimer::singleShot(0, this, [] {
            auto *popup = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            QVERIFY(popup);
            QAction *two = popup->actions().at(2);
            QVERIFY(two->isSeparator() == false && two->isChecked());
            popup->setActiveAction(two);
            QTest::keyClick(popup, Qt::Key_Return);
        });
        const int chosen = menu.ShowPopupMenu(10, 10);
        QCOMPARE(handled, QStringLiteral("two"));
        QCOMPARE(chosen, menu.IndexForKey("two"));
        QCOMPARE(menu.ItemData(chosen), 22);

        // Dismissed: nothing handled, 0 returned.
        handled.clear();
        QTimer::singleShot(0, this, [] {
            if (QWidget *popup = QApplication::activePopupWidget())
                QTest::keyClick(popup, Qt::Key_Escape);
        });
        QCOMPARE(menu.ShowPopupMenu(10, 10), 0);
        QVERIFY(handled.isEmpty());
    }

    // ---------------------------------------------------------------- the menu bar's items

    void mainMenuItems()
    {
        PopupMenu6 menu;
        Interface::BuildMainMenu(menu);
        QCOMPARE(menu.Count(), 110);
        QCOMPARE(MenuImageList().size(), 42);
        QSet<QString> keys;
        for (int i = 1; i <= menu.Count(); ++i) {
            const QString key = menu.ItemKey(i);
            QVERIFY2(!key.isEmpty() && !keys.contains(key), qPrintable(key));
            keys.insert(key);
            QVERIFY2(menu.ItemParent(i) < i, qPrintable(key));
            QVERIFY2(!menu.Caption(i).isEmpty(), qPrintable(key));
            QVERIFY(menu.ItemIcon(i) >= -1 && menu.ItemIcon(i) < 42);
            QVERIFY(menu.HelpText(i).isEmpty());
        }
        QCOMPARE(keysOf(menu, menu.SubItems(0)),
                 QStringList({"mnuFile", "mnuEdit", "mnuView", "mnuNavigate1", "mnuContent",
                              "mnuWindow", "mnuHelp"}));
        QStringList checked, disabled, radio;
        for (int i = 1; i <= menu.Count(); ++i) {
            if (menu.Checked(i))
                checked << menu.ItemKey(i);
            if (!menu.Enabled(i))
                disabled << menu.ItemKey(i);
            if (menu.RadioCheck(i))
                radio << menu.ItemKey(i);
        }
        QCOMPARE(checked, QStringList({"mnuViewBrowseToolbar", "mnuViewSitesToolbar",
                                       "mnuViewAddressBar", "mnuViewTabsBar", "mnuViewStatusBar",
                                       "mnuViewSidebar", "mnuContentAutoFill"}));
        QCOMPARE(disabled, QStringList({"mnuEditUndoClose"}));
        QCOMPARE(radio, QStringList({"mnuAlignTop"}));
    }

    void mainMenuEntries_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("parent");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("icon");
        QTest::newRow("new") << "mnuFileNew"
                             << "mnuFile"
                             << "&New\tCtrl+N" << 4;
        QTest::newRow("separator") << "mnuFileBar3"
                                   << "mnuFile"
                                   << "-" << -1;
        QTest::newRow("undo") << "mnuEditUndoClose"
                              << "mnuEdit"
                              << "&Undo Close\tCtrl+U" << 36;
        QTest::newRow("nested") << "mnuAlignBottom"
                                << "mnuAlignment"
                                << "Align &Bottom" << -1;
        QTest::newRow("full screen") << "mnuViewFullScreen"
                                     << "mnuView"
                                     << "F&ull Screen\tF11" << 38;
        QTest::newRow("feeds") << "mnuViewRSS"
                               << "mnuView"
                               << "R&SS Feeds" << 39;
        QTest::newRow("auto refresh") << "mnuTabAutoRefreshStop"
                                      << "mnuTabAutoRefresh"
                                      << "None" << -1;
        QTest::newRow("window") << "mnuWin(0)"
                                << "mnuWindow"
                                << "<WindowMenu>" << -1;
        QTest::newRow("about") << "mnuHelpAbout"
                               << "mnuHelp"
                               << "&About " << 28;
    }

    void mainMenuEntries()
    {
        QFETCH(QString, key);
        QFETCH(QString, parent);
        QFETCH(QString, caption);
        QFETCH(int, icon);
        PopupMenu6 menu;
        Interface::BuildMainMenu(menu);
        const int index = menu.IndexForKey(key);
        QVERIFY(index > 0);
        QCOMPARE(menu.ItemKey(menu.ItemParent(index)), parent);
        QCOMPARE(menu.Caption(index), caption);
        QCOMPARE(menu.ItemIcon(index), icon);
    }

    // ---------------------------------------------------------------- dispatch

    void everyItemOfEveryMenuRunsACommand()
    {
        QMainWindow host;
        cToolbar toolbar(&host);
        toolbar.CreateToolbar(16, true, true);
        toolbar.AddButton("New", 0, "New", cToolbar::kStyleAutosize, "New");
        toolbar.AddButton("Back", 3, "Back", cToolbar::kStyleAutosize, "Back");
        const SettingsStore &store = SettingsStore::instance();

        struct Case
        {
            Kind kind;
            std::function<void(PopupMenu6 &)> build;
        };
        const QList<Case> cases = {
            {Kind::Main,
             [](PopupMenu6 &m) {
                 Interface::BuildMainMenu(m);
                 Interface::BuildWindowMenu(m, "mnuWindow", windows(12));
                 Interface::BuildSkinsMenu(m, "mnuSkin", {"none", "daybreak", "slate"}, "slate");
             }},
            {Kind::Tab, [](PopupMenu6 &m) { Interface::BuildTabMenu(m); }},
            {Kind::New, [](PopupMenu6 &m) { Interface::BuildNewTabMenu(m, true); }},
            {Kind::Refresh, [](PopupMenu6 &m) { Interface::BuildRefreshAllMenu(m); }},
            {Kind::Stop, [](PopupMenu6 &m) { Interface::BuildStopAllMenu(m); }},
            {Kind::SearchEngines, [](PopupMenu6 &m) { Interface::BuildSearchEnginesMenu(m); }},
            {Kind::Links,
             [](PopupMenu6 &m) {
                 Interface::BuildLinksMenu(m, {"a", "b", "c"}, 3);
             }},
            {Kind::NavToolbar,
             [&](PopupMenu6 &m) { Interface::BuildNavToolbarMenu(m, store, toolbar, true); }},
            {Kind::SitesToolbar,
             [&](PopupMenu6 &m) { Interface::BuildSitesToolbarMenu(m, store, toolbar, true); }},
            {Kind::Addressbar,
             [&](PopupMenu6 &m) { Interface::BuildAddressBarMenu(m, store, true); }},
        };
        int walked = 0;
        for (const Case &c : cases) {
            PopupMenu6 menu;
            c.build(menu);
            QVERIFY(menu.Count() > 0);
            for (int i = 1; i <= menu.Count(); ++i) {
                if (menu.IsSeparator(i) || menu.HasSubItems(i))
                    continue;
                ++walked;
                QVERIFY2(
                    frmMain::HasMenuCommand(c.kind, menu.ItemKey(i)),
                    qPrintable(
                        QStringLiteral("%1 in menu %2").arg(menu.ItemKey(i)).arg(int(c.kind))));
            }
        }
        QVERIFY(walked > 130);
        // Keys compare exactly.
        QVERIFY(!frmMain::HasMenuCommand(Kind::Main, "mnufilenew"));
        QVERIFY(!frmMain::HasMenuCommand(Kind::Tab, "mnuFileNew"));
        QVERIFY(!frmMain::HasMenuCommand(Kind::NavToolbar, "mnuImportIELinks"));
    }

    // ---------------------------------------------------------------- Window menu

    void windowMenu_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<bool>("nextEnabled");
        QTest::addColumn<QStringList>("listed");
        const QStringList head = {"mnuSkin",   "mnuWinBar0", "mnuWin(0)", "mnuWin(1)", "mnuWin(2)",
                                  "mnuWin(3)", "mnuWin(4)",  "mnuWin(5)", "mnuWin(6)"};
        QTest::newRow("none") << 0 << head << false << QStringList();
        QTest::newRow("one") << 1 << head + QStringList{"mnuWin(7)", "mnuWin(8)"} << false
                             << QStringList{"&1) Page 1"};
        QStringList twelve = head + QStringList{"mnuWin(7)"};
        QStringList listed;
        for (int j = 1; j <= 11; ++j) {
            twelve << QStringLiteral("mnuWin(%1)").arg(j + 7);
            listed << (j <= 10 ? QStringLiteral("&%1) Page %1").arg(j)
                               : QStringLiteral("&More Windows..."));
        }
        QTest::newRow("twelve") << 12 << twelve << true << listed;
    }

    void windowMenu()
    {
        QFETCH(int, count);
        QFETCH(QStringList, keys);
        QFETCH(bool, nextEnabled);
        QFETCH(QStringList, listed);
        PopupMenu6 menu;
        Interface::BuildMainMenu(menu);
        const int window = menu.IndexForKey("mnuWindow");
        Interface::BuildWindowMenu(menu, "mnuWindow", windows(count));
        const QList<int> items = menu.SubItems(window);
        QCOMPARE(keysOf(menu, items), keys);
        QCOMPARE(menu.Enabled(menu.IndexForKey("mnuWin(5)")), nextEnabled);
        QCOMPARE(menu.Enabled(menu.IndexForKey("mnuWin(6)")), nextEnabled);
        QCOMPARE(menu.ItemData(menu.IndexForKey("mnuSkin")), Interface::kWinSkins);
        QCOMPARE(menu.ItemData(menu.IndexForKey("mnuWin(0)")), Interface::kWinTile);
        QCOMPARE(menu.ItemKey(menu.SubItems(menu.IndexForKey("mnuSkin")).value(0)),
                 QStringLiteral("mnuSkin1"));
        QStringList captions;
        for (int j = 0; j < listed.size(); ++j) {
            const int index = menu.IndexForKey(QStringLiteral("mnuWin(%1)").arg(j + 8));
            captions << menu.Caption(index);
            QCOMPARE(menu.Checked(index), j == 0);
            QCOMPARE(menu.ItemData(index), j < 10 ? j + 3 : Interface::kWinMore);
        }
        QCOMPARE(captions, listed);
        // The rest of the menu bar is untouched.
        QCOMPARE(menu.Count(), 110 - 1 + int(items.size()) + 1);
        QCOMPARE(menu.ItemKey(menu.ItemParent(menu.IndexForKey("mnuHelpAbout"))),
                 QStringLiteral("mnuHelp"));
    }

    void windowCaptions_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("caption");
        const QString t32 = QString(32, QLatin1Char('x'));
        QTest::newRow("32 whole") << t32 << "&1) " + t32;
        QTest::newRow("33 cut") << t32 + "y"
                                << "&1) " + t32 + "...";
        QTest::newRow("ampersand") << "Q&A"
                                   << "&1) Q&&A";
    }

    void windowCaptions()
    {
        QFETCH(QString, title);
        QFETCH(QString, caption);
        PopupMenu6 menu;
        Interface::BuildMainMenu(menu);
        Interface::BuildWindowMenu(menu, "mnuWindow", {{0, title}});
        QCOMPARE(menu.Caption(menu.IndexForKey("mnuWin(8)")), caption);
    }

    void tileHorizontallyFillsTheArea()
    {
        const QList<QRect> rects = Interface::TileHorizontally(QRect(10, 20, 300, 100), 3);
        QCOMPARE(rects, QList<QRect>({QRect(10, 20, 300, 34), QRect(10, 54, 300, 33),
                                      QRect(10, 87, 300, 33)}));
        QVERIFY(Interface::TileHorizontally(QRect(0, 0, 300, 100), 0).isEmpty());
        QVERIFY(Interface::TileHorizontally(QRect(), 4).isEmpty());
    }

    // ---------------------------------------------------------------- other menus

    void linksMenu_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<QStringList>("keys");
        const QStringList tail = {"mnuNewBar1", "mnuCustomSitesToolbar", "mnuImportIELinks"};
        QTest::newRow("none") << 0 << tail;
        QTest::newRow("never saved") << -1 << tail;
        QTest::newRow("two") << 2 << QStringList{"Link1", "Link2"} + tail;
    }

    void linksMenu()
    {
        QFETCH(int, count);
        QFETCH(QStringList, keys);
        PopupMenu6 menu;
        Interface::BuildLinksMenu(menu, {"R&D", "News"}, count);
        QCOMPARE(keysOf(menu, menu.SubItems(0)), keys);
        if (count > 0) {
            QCOMPARE(menu.Caption(1), QStringLiteral("R&D"));
            QCOMPARE(menu.ItemData(2), 2);
            QCOMPARE(menu.ItemIcon(2), 32);
        }
    }

    void newTabMenuOffersUndoOnlyAfterAClose()
    {
        for (bool available : {false, true}) {
            PopupMenu6 menu;
            Interface::BuildNewTabMenu(menu, available);
            QCOMPARE(menu.Count(), 12);
            QCOMPARE(menu.Enabled(menu.IndexForKey("mnuNewUndoClose")), available);
            QVERIFY(menu.Enabled(menu.IndexForKey("mnuNewBlank")));
        }
    }

    void toolbarOptionMenus_data()
    {
        QTest::addColumn<bool>("isXP");
        QTest::addColumn<bool>("browse");
        QTest::addColumn<QStringList>("keys");
        QTest::newRow("browse") << false << true
                                << QStringList{"mnuTBLargeIcons", "mnuTBShowText",
                                               "mnuNewBar0",      "mnuTBLinksButton",
                                               "mnuNewBar1",      "mnuTBTextAlign"};
        QTest::newRow("browse xp")
            << true << true
            << QStringList{"mnuTBLargeIcons",  "mnuTBShowText", "mnuTBOfficeXPStyle", "mnuNewBar0",
                           "mnuTBLinksButton", "mnuNewBar1",    "mnuTBTextAlign"};
        QTest::newRow("sites") << false << false
                               << QStringList{"mnuTBLargeIcons", "mnuTBShowText",
                                              "mnuNewBar0",      "mnuTBTextAlign",
                                              "mnuNewBar1",      "mnuCustomSitesToolbar",
                                              "mnuImportIELinks"};
    }

    void toolbarOptionMenus()
    {
        QFETCH(bool, isXP);
        QFETCH(bool, browse);
        QFETCH(QStringList, keys);
        SettingsStore &store = SettingsStore::instance();
        store.write("Settings", browse ? "Toolbar1ShowText" : "Toolbar2ShowText", "False");
        QMainWindow host;
        cToolbar toolbar(&host);
        toolbar.CreateToolbar(16, false, true);
        toolbar.AddButton("Custom", 10, "Custom", cToolbar::kStyleAutosize, "Custom");
        PopupMenu6 menu;
        if (browse)
            Interface::BuildNavToolbarMenu(menu, store, toolbar, isXP);
        else
            Interface::BuildSitesToolbarMenu(menu, store, toolbar, isXP);
        QCOMPARE(keysOf(menu, menu.SubItems(0)), keys);
        // Marks from the stored options (defaults where none is stored) and the live toolbar.
        QCOMPARE(menu.Checked(menu.IndexForKey("mnuTBLargeIcons")), browse);
        QVERIFY(!menu.Checked(menu.IndexForKey("mnuTBShowText")));
        QVERIFY(!menu.RadioCheck(menu.IndexForKey("mnuTBTextAlignRight")));
        QVERIFY(menu.RadioCheck(menu.IndexForKey("mnuTBTextAlignBottom")));
        // A sites toolbar without links speaks through its one button.
        QVERIFY(menu.Enabled(menu.IndexForKey("mnuTBTextAlign")));
        toolbar.setButtonTextVisible("Custom", false);
        PopupMenu6 again;
        Interface::BuildSitesToolbarMenu(again, store, toolbar, isXP);
        QVERIFY(!again.Enabled(again.IndexForKey("mnuTBTextAlign")));

        PopupMenu6 address;
        Interface::BuildAddressBarMenu(address, store, isXP);
        QCOMPARE(address.Count(), isXP ? 1 : 0);
    }

    // ---------------------------------------------------------------- skins

    void skinList_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("skins");
        QTest::newRow("cases") << QStringList{"daybreak.qvs", "Slate.QVS", "mixed.Qvs"}
                               << QStringList{"Slate", "daybreak", "mixed"};
        QTest::newRow("not skins")
            << QStringList{".qvs", "qvs", "notes.txt", "a.qvsx", "b.qv"} << QStringList{};
        QTest::newRow("empty") << QStringList{} << QStringList{};
    }

    void skinList()
    {
        QFETCH(QStringList, files);
        QFETCH(QStringList, skins);
        QTemporaryDir dir;
        for (const QString &f : files)
            touch(dir.filePath(f));
        QStringList found = Interface::EnumerateSkins({dir.path()});
        QCOMPARE(found.value(0), QStringLiteral("none"));
        found.removeFirst();
        found.sort();
        skins.sort();
        QCOMPARE(found, skins);
    }

    void skinListLimitsAndFolders()
    {
        // A missing folder gives "none" alone.
        QCOMPARE(Interface::EnumerateSkins({"/nonexistent/quarvel/skins"}), QStringList({"none"}));
        // More files than the list holds: the list stops full, without error.
        QTemporaryDir many;
        for (int i = 0; i < 150; ++i)
            touch(many.filePath(QStringLiteral("skin%1.qvs").arg(i)));
        QCOMPARE(Interface::EnumerateSkins({many.path()}).size(), Interface::kMaxSkins);
        // A name in two folders is listed once.
        QTemporaryDir a, b;
        touch(a.filePath("same.qvs"));
        touch(b.filePath("same.qvs"));
        touch(b.filePath("other.qvs"));
        QCOMPARE(Interface::EnumerateSkins({a.path(), b.path()}),
                 QStringList({"none", "same", "other"}));
    }

    void skinFilesComeFromTheUsersFolderFirst()
    {
        const QString user = Paths::dataFile(QStringLiteral("skins"));
        QVERIFY(QDir().mkpath(user));
        touch(user + "/Mine.QVS");
        QCOMPARE(Interface::SkinFile("Mine"), user + "/Mine.QVS");
        QVERIFY(Interface::SkinFile("mine").isEmpty()); // the name's own case counts
        QVERIFY(Interface::SkinFile("none").isEmpty());
        QVERIFY(Interface::SkinFile("daybreak").endsWith("/skins/daybreak.qvs")); // shipped
        QVERIFY(!QPixmap(Interface::SkinFile("daybreak")).isNull());
        QVERIFY(Interface::SkinFolders().size() == 2);
    }

    void skinsMenuMarksExactlyOneSkin_data()
    {
        QTest::addColumn<QString>("next");
        QTest::addColumn<QString>("marked");
        QTest::newRow("listed") << "slate"
                                << "skin3";
        QTest::newRow("none") << "none"
                              << "skin1";
        QTest::newRow("not listed") << "gone"
                                    << "skin1";
    }

    void skinsMenuMarksExactlyOneSkin()
    {
        QFETCH(QString, next);
        QFETCH(QString, marked);
        PopupMenu6 menu;
        Interface::BuildMainMenu(menu);
        Interface::BuildWindowMenu(menu, "mnuWindow", {});
        Interface::BuildSkinsMenu(menu, "mnuSkin", {"none", "daybreak", "slate", "R&B"}, next);
        const QList<int> items = menu.SubItems(menu.IndexForKey("mnuSkin"));
        QCOMPARE(keysOf(menu, items), QStringList({"skin1", "skin2", "skin3", "skin4"}));
        QStringList radios;
        for (int i : items) {
            if (menu.RadioCheck(i))
                radios << menu.ItemKey(i);
        }
        QCOMPARE(radios, QStringList{marked});
        QCOMPARE(menu.Caption(items.last()), QStringLiteral("R&B"));
    }

    void skinPaintingWithoutAPicturePaintsNothing()
    {
        QImage target(40, 30, QImage::Format_ARGB32);
        target.fill(Qt::white);
        QPainter painter(&target);
        Interface::PaintSkinBackground(QPixmap(), painter, target.rect(), false);
        Interface::PaintSkinBackground(QPixmap(0, 5), painter, target.rect(), false);
        QPixmap red(7, 7);
        red.fill(Qt::red);
        Interface::PaintSkinBackground(red, painter, target.rect(), true);
        Interface::PaintSkinBackground(red, painter, QRect(), false);
        QCOMPARE(target.pixelColor(39, 29), QColor(Qt::white));
        Interface::PaintSkinBackground(red, painter, target.rect(), false);
        painter.end();
        QCOMPARE(target.pixelColor(39, 29), QColor(Qt::red));
    }

    // ---------------------------------------------------------------- toolbar strips

    void stripsAreCutIntoPictures()
    {
        QImage strip(50, 16, QImage::Format_RGB32);
        strip.fill(QColor(255, 0, 255));
        strip.setPixelColor(20, 5, Qt::blue);
        const QList<QPixmap> pictures = vbalImageList::CutStrip(strip, 16);
        QCOMPARE(pictures.size(), 3); // the partial picture at the end is dropped
        const QImage second = pictures[1].toImage();
        QCOMPARE(second.pixelColor(4, 5), QColor(Qt::blue));
        QCOMPARE(second.pixelColor(0, 0).alpha(), 0);
        QVERIFY(vbalImageList::CutStrip(strip, 64).isEmpty());
        QVERIFY(vbalImageList::CutStrip(QImage(), 16).isEmpty());
        QVERIFY(vbalImageList::CutStrip(strip, 0).isEmpty());

        vbalImageList shipped;
        QVERIFY(shipped.LoadStrip(Paths::assetFile("nav_24h.bmp"), 24));
        QCOMPARE(shipped.ImageCount(), 21); // one picture per engine from 15
        QVERIFY(shipped.LoadStrip(Paths::assetFile("nav_16h.bmp"), 16));
        QCOMPARE(shipped.ImageCount(), 21);
        QVERIFY(!shipped.LoadStrip(Paths::assetFile("missing.bmp"), 16));
        QVERIFY(shipped.ItemPicture(0).isNull());
    }

    // ---------------------------------------------------------------- layout text

    void layoutTextRoundTrip()
    {
        const QStringList keys = {"MenuBar", "Logo", "Toolbar1", "Tabbar"};
        const QList<cReBar::BandState> bands = {{"Tabbar", true, true, 800},
                                                {"MenuBar", true, true, 320},
                                                {"Logo", false, false, 150},
                                                {"Toolbar1", true, true, 0}};
        QList<cReBar::BandState> parsed;
        QVERIFY(cReBar::ParseLayout(cReBar::LayoutText(bands), keys, &parsed));
        QCOMPARE(parsed, bands);
        QVERIFY(cReBar::ParseLayout(cReBar::LayoutText({}), keys, &parsed));
        QVERIFY(parsed.isEmpty());
    }

    void corruptLayoutTexts_data()
    {
        QTest::addColumn<QString>("text");
        const QString ok = cReBar::LayoutText({{"MenuBar", true, true, 10}});
        QTest::newRow("empty") << QString();
        QTest::newRow("not xml") << "MenuBar 1 1 10";
        QTest::newRow("truncated") << ok.left(ok.size() - 12);
        QTest::newRow("trailing") << ok + "<band/>";
        QTest::newRow("other root") << "<layout version=\"1\"/>";
        QTest::newRow("version") << "<rebar version=\"2\"/>";
        QTest::newRow("unknown key") << "<rebar version=\"1\"><band key=\"Sidebar\" newrow=\"1\" "
                                        "visible=\"1\" width=\"0\"/></rebar>";
        QTest::newRow("twice")
            << "<rebar version=\"1\"><band key=\"Logo\" newrow=\"1\" visible=\"1\" width=\"0\"/>"
               "<band key=\"Logo\" newrow=\"1\" visible=\"1\" width=\"0\"/></rebar>";
        QTest::newRow("flag") << "<rebar version=\"1\"><band key=\"Logo\" newrow=\"yes\" "
                                 "visible=\"1\" width=\"0\"/></rebar>";
        QTest::newRow("width") << "<rebar version=\"1\"><band key=\"Logo\" newrow=\"1\" "
                                  "visible=\"1\" width=\"-4\"/></rebar>";
        QTest::newRow("other element") << "<rebar version=\"1\"><toolbar key=\"Logo\"/></rebar>";
    }

    void corruptLayoutTexts()
    {
        QFETCH(QString, text);
        QList<cReBar::BandState> parsed = {{"untouched", true, true, 1}};
        QVERIFY(!cReBar::ParseLayout(text, {"MenuBar", "Logo"}, &parsed));
        QCOMPARE(parsed.size(), 1);
    }

    void rebarRestoresOrderRowsVisibilityAndWidths()
    {
        const QStringList keys = {"A", "B", "C", "D"};
        auto makeBands = [&](QMainWindow &window, cReBar &rebar, QList<QWidget *> &children) {
            for (const QString &key : keys) {
                auto *child = new QWidget(&window);
                child->setMinimumSize(60, 20);
                children << child;
                rebar.AddBand(child, QString(), true, false, key);
            }
        };
        QString text;
        {
            QMainWindow window;
            window.setCentralWidget(new QWidget);
            cReBar rebar(&window);
            QList<QWidget *> children;
            makeBands(window, rebar, children);
            window.resize(900, 400);
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            // D joins C's row with a width of its own; B is hidden; A goes last.
            const QString wanted = cReBar::LayoutText({{"C", true, true, 300},
                                                       {"D", false, true, 0},
                                                       {"B", true, false, 0},
                                                       {"A", true, true, 0}});
            QVERIFY(rebar.RestoreLayout(wanted, keys, children));
            QTRY_COMPARE(rebar.Band(rebar.BandIndexForKey("C"))->width(), 300);
            text = rebar.GetLayout();
        }
        QList<cReBar::BandState> saved;
        QVERIFY(cReBar::ParseLayout(text, keys, &saved));
        QCOMPARE(saved.size(), 4);
        QCOMPARE(saved[0], cReBar::BandState({"C", true, true, 300}));
        QCOMPARE(saved[1].key, QStringLiteral("D"));
        QVERIFY(!saved[1].newRow && saved[1].visible);
        QCOMPARE(saved[2].key, QStringLiteral("B"));
        QVERIFY(saved[2].newRow && !saved[2].visible);
        QCOMPARE(saved[3].key, QStringLiteral("A"));

        // A new window built in default order comes back to the same arrangement.
        QMainWindow window;
        window.setCentralWidget(new QWidget);
        cReBar rebar(&window);
        QList<QWidget *> children;
        makeBands(window, rebar, children);
        window.resize(900, 400);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(rebar.RestoreLayout(text, keys, children));
        cBandBar *c = rebar.Band(rebar.BandIndexForKey("C"));
        cBandBar *d = rebar.Band(rebar.BandIndexForKey("D"));
        cBandBar *a = rebar.Band(rebar.BandIndexForKey("A"));
        QTRY_COMPARE(c->width(), 300);
        QCOMPARE(d->y(), c->y());
        QVERIFY(d->x() >= c->x() + 300);
        QVERIFY(a->y() > c->y());
        QVERIFY(!rebar.BandVisible(rebar.BandIndexForKey("B")));
        QCOMPARE(rebar.GetLayout(), text);

        // A text that does not parse changes nothing.
        QVERIFY(!rebar.RestoreLayout(QStringLiteral("<rebar"), keys, children));
        QCOMPARE(rebar.GetLayout(), text);

        // The user drags A in front of C: the layout follows the window, and hidden B keeps
        // its place after D.
        window.insertToolBar(c, a);
        QTRY_COMPARE(a->y(), c->y());
        QVERIFY(cReBar::ParseLayout(rebar.GetLayout(), keys, &saved));
        QStringList order;
        QList<bool> rows;
        for (const cReBar::BandState &band : saved) {
            order << band.key;
            rows << band.newRow;
        }
        QCOMPARE(order, QStringList({"A", "C", "D", "B"}));
        QCOMPARE(rows, QList<bool>({true, false, false, true}));
    }
};

int main(int argc, char **argv)
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    InitApplicationIdentity();
    TestMenus test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_menus.moc"
