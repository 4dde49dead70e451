#include "app/startup.h"
#include "core/paths.h"
#include "core/settingsmodel.h"
#include "core/settingsstore.h"
#include "frame/chrome/framemenus.h"
#include "frame/chrome/glyphs.h"
#include "frame/chrome/keyedmenu.h"
#include "frame/chrome/skinpaint.h"
#include "frame/chrome/striptoolbar.h"
#include "frame/chrome/toolbarbands.h"
#include "frame/commands/commandbindings.h"
#include "frame/commands/commandregistry.h"
#include "frame/mainwindow.h"

#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QSet>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace {

QStringList keysOf(const KeyedMenu &menu, const QList<int> &items)
{
    QStringList keys;
    for (int i : items)
        keys << menu.itemKey(i);
    return keys;
}

// The action of the item with the key in a menu built from a keyed menu, submenus included.
QAction *builtAction(const QMenu *menu, const QString &key)
{
    for (QAction *action : menu->actions()) {
        if (action->objectName() == key)
            return action;
        if (QAction *inner = action->menu() ? builtAction(action->menu(), key) : nullptr)
            return inner;
    }
    return nullptr;
}

// Every action of a built menu, submenus included.
QList<QAction *> builtActions(const QMenu *menu)
{
    QList<QAction *> all;
    for (QAction *action : menu->actions()) {
        all << action;
        if (action->menu())
            all << builtActions(action->menu());
    }
    return all;
}

// What choosing the item with the key hands the command family that runs it; 0 when it runs none.
qint32 chosenData(KeyedMenu &menu, const QString &key)
{
    CommandRegistry commands;
    qint32 data = 0;
    commands.addFamily(key, [&data](const QString &, qint32 chosen) { data = chosen; });
    menu.setCommands(&commands);
    const std::unique_ptr<QMenu> built(menu.createMenu(0, nullptr));
    if (QAction *action = builtAction(built.get(), key))
        action->trigger();
    menu.setCommands(nullptr);
    return data;
}

// The picture an action shows: its position in the menus' image list, -1 for none, -2 for
// another picture.
int shownImage(const QAction *action)
{
    if (!action || action->icon().isNull())
        return -1;
    const QList<QIcon> &images = menuImageList();
    for (qsizetype i = 0; i < images.size(); ++i) {
        if (images[i].cacheKey() == action->icon().cacheKey())
            return int(i);
    }
    return -2;
}

QList<FrameMenus::WindowEntry> windows(int count, const QString &title = QStringLiteral("Page"))
{
    QList<FrameMenus::WindowEntry> list;
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
        KeyedMenu menu;
        const int file = menu.addItem(QStringLiteral("File"), {}, 0, 0, -1, false, true, "f");
        const int window = menu.addItem(QStringLiteral("Window"), {}, 0, 0, -1, false, true, "w");
        const int skins =
            menu.addItem(QStringLiteral("Skins"), {}, 0, window, -1, false, true, "s");
        menu.addItem(QStringLiteral("one"), {}, 0, skins, -1, false, true, "s1");
        menu.addItem(QStringLiteral("Tile"), {}, 7, window, -1, false, true, "t");
        const int help = menu.addItem(QStringLiteral("Help"), {}, 0, 0, -1, false, true, "h");
        menu.addItem(QStringLiteral("About"), {}, 0, help, -1, false, true, "a");
        // A grandchild added after later items (as rebuilt submenus are).
        menu.addItem(QStringLiteral("two"), {}, 0, skins, -1, false, true, "s2");

        menu.clearSubItems(window);
        QCOMPARE(menu.itemCount(), 4);
        QCOMPARE(keysOf(menu, menu.subItems(0)), QStringList({"f", "w", "h"}));
        QCOMPARE(keysOf(menu, menu.subItems(menu.indexForKey("h"))), QStringList{"a"});
        QVERIFY(!menu.hasSubItems(menu.indexForKey("w")));
        QCOMPARE(menu.indexForKey("s2"), 0);
        QCOMPARE(menu.itemKey(file), QStringLiteral("f"));

        // Reads and writes outside the list are harmless.
        menu.setChecked(99, true);
        menu.setEnabled(0, false);
        QVERIFY(!menu.isChecked(99));
        QCOMPARE(menu.itemKey(-1), QString());
        menu.clearSubItems(42);
        QCOMPARE(menu.itemCount(), 4);
    }

    void itemsReadBackAsAdded_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("helpText");
        QTest::addColumn<qint32>("data");
        QTest::addColumn<int>("parent");
        QTest::addColumn<int>("icon");
        QTest::addColumn<bool>("separator");
        QTest::newRow("top-level item") << "&Open" << "" << qint32(5) << 0 << 3 << false;
        QTest::newRow("submenu item with help") << "Tile" << "Tiles the windows" << qint32(-2)
                                                << 1 << -1 << false;
        QTest::newRow("separator") << "-" << "" << qint32(0) << 1 << -1 << true;
        QTest::newRow("dash in a longer caption") << "-x-" << "" << qint32(0) << 0 << 0 << false;
    }

    void itemsReadBackAsAdded()
    {
        QFETCH(QString, caption);
        QFETCH(QString, helpText);
        QFETCH(qint32, data);
        QFETCH(int, parent);
        QFETCH(int, icon);
        QFETCH(bool, separator);
        KeyedMenu menu;
        menu.addItem(QStringLiteral("Window"), {}, 0, 0, -1, false, true, "w");
        const int index = menu.addItem(caption, helpText, data, parent, icon, false, true, "k");
        QCOMPARE(menu.itemData(index), data);
        QCOMPARE(menu.helpText(index), helpText);
        QCOMPARE(menu.itemParent(index), parent);
        QCOMPARE(menu.itemIcon(index), icon);
        QCOMPARE(menu.isSeparator(index), separator);
        // Outside 1..Count the reads are empty.
        for (int outside : {0, index + 1}) {
            QCOMPARE(menu.itemData(outside), 0);
            QCOMPARE(menu.itemParent(outside), 0);
            QCOMPARE(menu.itemIcon(outside), -1);
            QVERIFY(!menu.isSeparator(outside));
        }
    }

    void submenusAreRebuiltWhenTheyOpen()
    {
        QWidget owner;
        KeyedMenu menu;
        menu.setOwner(&owner);
        const int window = menu.addItem(QStringLiteral("&Window"), {}, 0, 0, -1, false, true, "w");
        menu.addItem(QStringLiteral("placeholder"), {}, 0, window, -1, false, true, "p");
        const int help = menu.addItem(QStringLiteral("&Help"), {}, 0, 0, -1, false, true, "h");
        menu.addItem(QStringLiteral("About"), {}, 0, help, -1, false, true, "about");

        int opened = 0;
        connect(&menu, &KeyedMenu::aboutToShowItem, this, [&](int parent) {
            if (menu.itemKey(parent) != QLatin1String("w"))
                return;
            ++opened;
            menu.clearSubItems(parent);
            menu.addItem(QStringLiteral("Fresh %1").arg(opened), {}, 0, menu.indexForKey("w"), -1,
                         false, true, QStringLiteral("fresh"));
            menu.addItem(QStringLiteral("R&D"), {}, 0, menu.indexForKey("w"), -1, false, true,
                         QStringLiteral("data"), true);
        });
        // The chosen items run the commands of their keys.
        CommandRegistry commands;
        QStringList clicked;
        for (const char *key : {"about", "fresh"})
            commands.addFamily(QLatin1String(key),
                               [&clicked](const QString &chosen, qint32) { clicked << chosen; });
        menu.setCommands(&commands);

        QMenuBar bar(&owner);
        menu.buildMenuBar(&bar);
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
        QCOMPARE(menu.caption(menu.indexForKey("data")), QStringLiteral("R&D"));

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
        KeyedMenu menu;
        menu.setOwner(&owner);
        menu.addItem(QStringLiteral("One"), {}, 11, 0, -1, false, true, "one");
        menu.addItem(QStringLiteral("-"), {}, 0, 0, -1, false, true, "bar");
        menu.addItem(QStringLiteral("Two"), {}, 22, 0, -1, true, true, "two");
        CommandRegistry commands;
        QList<qint32> ran;
        commands.addFamily("two", [&ran](const QString &, qint32 data) { ran << data; });
        menu.setCommands(&commands);
        // The click is raised with the item's index before the command runs.
        QList<int> clicked;
        connect(&menu, &KeyedMenu::itemClicked, this, [&](int item) {
            QVERIFY(ran.isEmpty());
            clicked << item;
        });
        QTimer::singleShot(0, this, [] {
            auto *popup = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            QVERIFY(popup);
            QAction *two = popup->actions().at(2);
            QVERIFY(two->isSeparator() == false && two->isChecked());
            popup->setActiveAction(two);
            QTest::keyClick(popup, Qt::Key_Return);
        });
        const int chosen = menu.showPopupMenu(10, 10);
        QCOMPARE(chosen, menu.indexForKey("two"));
        QCOMPARE(ran, QList<qint32>{22});
        QCOMPARE(clicked, QList<int>{chosen});

        // Dismissed: nothing handled, 0 returned.
        ran.clear();
        QTimer::singleShot(0, this, [] {
            if (QWidget *popup = QApplication::activePopupWidget())
                QTest::keyClick(popup, Qt::Key_Escape);
        });
        QCOMPARE(menu.showPopupMenu(10, 10), 0);
        QVERIFY(ran.isEmpty());
        QCOMPARE(clicked.size(), 1);
    }

    // ---------------------------------------------------------------- the menu bar's items

    void mainMenuItems()
    {
        KeyedMenu menu;
        FrameMenus::buildMainMenu(menu);
        QCOMPARE(menu.itemCount(), 110);
        QCOMPARE(menuImageList().size(), 42);
        QSet<QString> keys;
        for (int i = 1; i <= menu.itemCount(); ++i) {
            const QString key = menu.itemKey(i);
            QVERIFY2(!key.isEmpty() && !keys.contains(key), qPrintable(key));
            keys.insert(key);
            QVERIFY2(!menu.caption(i).isEmpty(), qPrintable(key));
        }
        // Every item hangs below one that comes before it.
        for (int parent = 0; parent <= menu.itemCount(); ++parent) {
            for (int child : menu.subItems(parent))
                QVERIFY2(child > parent, qPrintable(menu.itemKey(child)));
        }
        // Pictures come from the menus' image list; no item has a text for the status bar.
        const std::unique_ptr<QMenu> built(menu.createMenu(0, nullptr));
        for (const QAction *action : builtActions(built.get())) {
            QVERIFY2(shownImage(action) >= -1, qPrintable(action->objectName()));
            QVERIFY(action->statusTip().isEmpty());
        }
        QCOMPARE(keysOf(menu, menu.subItems(0)),
                 QStringList({"mnuFile", "mnuEdit", "mnuView", "mnuNavigate1", "mnuContent",
                              "mnuWindow", "mnuHelp"}));
        QStringList checked, disabled, radio;
        for (int i = 1; i <= menu.itemCount(); ++i) {
            if (menu.isChecked(i))
                checked << menu.itemKey(i);
            if (!menu.isEnabled(i))
                disabled << menu.itemKey(i);
            if (menu.isRadioCheck(i))
                radio << menu.itemKey(i);
        }
        QCOMPARE(checked, QStringList({"mnuViewBrowseToolbar", "mnuViewSitesToolbar",
                                       "mnuViewAddressBar", "mnuViewTabsBar", "mnuViewStatusBar",
                                       "mnuViewSidebar", "mnuContentAutoFill"}));
        QCOMPARE(disabled, QStringList({"mnuEditUndoClose"}));
        QCOMPARE(radio, QStringList({"mnuAlignTop"}));
    }

    // The menu pictures are drawn when first shown: each is its glyph at both sizes, and a
    // disabled item shows it greyed, as a picture made ahead would be.
    void menuImagesAreTheirGlyphs()
    {
        const QList<QIcon> &images = menuImageList();
        const QList<std::pair<int, Glyph>> samples = {
            {0, Glyph::Open}, {9, Glyph::Back}, {36, Glyph::Undo}, {38, Glyph::FullScreen}, {41, Glyph::EngineW}};
        for (const auto &[position, glyph] : samples) {
            const QIcon &icon = images.at(position);
            QVERIFY(!icon.isNull());
            for (int size : {16, 32}) {
                const QImage shown = icon.pixmap(QSize(size, size)).toImage().convertToFormat(QImage::Format_ARGB32);
                const QImage drawn = glyphPixmap(glyph, size).toImage().convertToFormat(QImage::Format_ARGB32);
                QVERIFY2(shown == drawn, qPrintable(QStringLiteral("picture %1 at %2 px").arg(position).arg(size)));
            }
            QVERIFY(icon.availableSizes().contains(QSize(16, 16)));
            QVERIFY(icon.pixmap(QSize(16, 16), QIcon::Disabled).toImage() !=
                    icon.pixmap(QSize(16, 16)).toImage());
        }
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
        KeyedMenu menu;
        FrameMenus::buildMainMenu(menu);
        const int index = menu.indexForKey(key);
        QVERIFY(index > 0);
        QVERIFY(menu.subItems(menu.indexForKey(parent)).contains(index));
        QCOMPARE(menu.caption(index), caption);
        const std::unique_ptr<QMenu> built(menu.createMenu(0, nullptr));
        QCOMPARE(shownImage(builtAction(built.get(), key)), icon);
    }

    // ---------------------------------------------------------------- dispatch

    void everyItemOfEveryMenuRunsACommand()
    {
        MainWindow frame;
        const CommandRegistry &commands = *frame.findChild<CommandRegistry *>();
        QMainWindow host;
        StripToolBar toolbar(&host);
        toolbar.createToolBar(16, true, true);
        toolbar.addButton("New", 0, "New", StripToolBar::kStyleAutosize, "New");
        toolbar.addButton("Back", 3, "Back", StripToolBar::kStyleAutosize, "Back");
        const SettingsStore &store = SettingsStore::instance();

        const QList<std::function<void(KeyedMenu &)>> builders = {
            [](KeyedMenu &m) {
                FrameMenus::buildMainMenu(m);
                FrameMenus::buildWindowMenu(m, "mnuWindow", windows(12));
                FrameMenus::buildSkinsMenu(m, "mnuSkin", {"none", "daybreak", "slate"}, "slate");
            },
            [](KeyedMenu &m) { FrameMenus::buildTabMenu(m); },
            [](KeyedMenu &m) { FrameMenus::buildNewTabMenu(m, true); },
            [](KeyedMenu &m) { FrameMenus::buildRefreshAllMenu(m); },
            [](KeyedMenu &m) { FrameMenus::buildStopAllMenu(m); },
            [](KeyedMenu &m) { FrameMenus::buildSearchEnginesMenu(m); },
            [](KeyedMenu &m) {
                FrameMenus::buildLinksMenu(m, {"a", "b", "c"}, 3);
            },
            [&](KeyedMenu &m) { FrameMenus::buildNavToolbarMenu(m, store, toolbar, true); },
            [&](KeyedMenu &m) { FrameMenus::buildSitesToolbarMenu(m, store, toolbar, true); },
            [&](KeyedMenu &m) { FrameMenus::buildAddressBarMenu(m, store, true); },
        };
        int walked = 0;
        for (qsizetype c = 0; c < builders.size(); ++c) {
            KeyedMenu menu;
            builders[c](menu);
            QVERIFY(menu.itemCount() > 0);
            for (int i = 1; i <= menu.itemCount(); ++i) {
                if (menu.caption(i) == QLatin1String("-") || menu.hasSubItems(i))
                    continue;
                ++walked;
                const QString key = menu.itemKey(i);
                QVERIFY2(commands.handles(key),
                         qPrintable(QStringLiteral("%1 in menu %2").arg(key).arg(c)));
                // Fixed items have an action of their own; data-driven items run a family.
                const bool family =
                    key.startsWith("mnuWin(") || key.startsWith("skin") || key.startsWith("Link");
                QVERIFY2(family != bool(commands.action(key)), qPrintable(key));
            }
        }
        QVERIFY(walked > 130);
        // Keys compare exactly.
        QVERIFY(!commands.handles("mnufilenew"));
        QVERIFY(!commands.handles("mnuNoSuchThing"));

        // Buttons, gestures and shortcuts name commands that exist.
        for (const char *button : {"New", "Back", "Forward", "Refresh", "Stop", "Home", "Home2",
                                   "Mail", "Search", "News"}) {
            for (bool newTab : {false, true})
                QVERIFY2(
                    commands.action(FrameMenus::buttonCommand("Toolbar1", button, newTab).key),
                    button);
        }
        for (const char *button : {"Go", "GoNew", "Search"})
            QVERIFY(
                commands.action(FrameMenus::buttonCommand("Addressbar", button, false).key));
        QVERIFY(commands.action(FrameMenus::buttonCommand("Toolbar2", "Custom", false).key));
        const FrameMenus::ButtonCommand link =
            FrameMenus::buttonCommand("Toolbar2", "Custom3", false);
        QCOMPARE(link.key, QStringLiteral("Link3"));
        QCOMPARE(link.data, 3);
        QVERIFY(FrameMenus::buttonCommand("Toolbar1", "Links", false).key.isEmpty());
        for (qint32 action = 1; action <= 17; ++action)
            QVERIFY(commands.action(CommandBindings::gestureCommand(action)));
        QCOMPARE(CommandBindings::gestureCommand(14), QStringLiteral("mnuViewOptions"));
        QCOMPARE(CommandBindings::gestureCommand(15), QStringLiteral("mnuViewAddToFav"));
        QCOMPARE(CommandBindings::gestureCommand(16), QStringLiteral("mnuViewOrgFav"));
        QCOMPARE(CommandBindings::gestureCommand(17), QStringLiteral("mnuTabAdd2PopupKillerWhiteList"));
        QVERIFY(CommandBindings::gestureCommand(0).isEmpty());
        QVERIFY(CommandBindings::gestureCommand(18).isEmpty());
    }

    void itemsShowAndRunTheirCommands()
    {
        CommandRegistry commands;
        QAction *bound = commands.add("bound");
        QSignalSpy runs(bound, &QAction::triggered);
        QList<qint32> familyData;
        commands.addFamily("fam", [&](const QString &, qint32 data) { familyData << data; });

        QWidget owner;
        KeyedMenu menu;
        menu.setOwner(&owner);
        menu.setCommands(&commands);
        const int item = menu.addItem("Bound", {}, 0, 0, -1, false, true, "bound");
        const int radio = menu.addItem("Radio", {}, 0, 0, -1, false, true, "bound");
        menu.addItem("Other", {}, 7, 0, -1, false, true, "fam7");

        // The item's state is the action's, both ways.
        menu.setChecked(item, true);
        QVERIFY(bound->isCheckable() && bound->isChecked());
        bound->setEnabled(false);
        QVERIFY(!menu.isEnabled(item));
        menu.setEnabled(item, true);
        QVERIFY(bound->isEnabled());
        menu.setRadioCheck(radio, false); // the same command shown as a radio item
        QVERIFY(!bound->isChecked() && !menu.isChecked(item) && !menu.isRadioCheck(radio));
        bound->setChecked(true);
        QVERIFY(menu.isChecked(item) && menu.isRadioCheck(radio) && !menu.isChecked(radio));

        // The built menu shows the state; choosing runs the command.
        std::unique_ptr<QMenu> built(menu.createMenu(0, &owner));
        QAction *shown = built->actions().at(0);
        QVERIFY(shown->isCheckable() && shown->isChecked());
        bound->setEnabled(false);
        emit built->aboutToShow();
        QVERIFY(!built->actions().at(0)->isEnabled());
        bound->setEnabled(true);
        emit built->aboutToShow();
        built->actions().at(0)->trigger();
        built->actions().at(2)->trigger();
        QCOMPARE(runs.count(), 1);
        QCOMPARE(familyData, QList<qint32>{7});
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
        KeyedMenu menu;
        FrameMenus::buildMainMenu(menu);
        const int window = menu.indexForKey("mnuWindow");
        FrameMenus::buildWindowMenu(menu, "mnuWindow", windows(count));
        const QList<int> items = menu.subItems(window);
        QCOMPARE(keysOf(menu, items), keys);
        QCOMPARE(menu.isEnabled(menu.indexForKey("mnuWin(5)")), nextEnabled);
        QCOMPARE(menu.isEnabled(menu.indexForKey("mnuWin(6)")), nextEnabled);
        QCOMPARE(chosenData(menu, "mnuWin(0)"), FrameMenus::kWinTile);
        QCOMPARE(menu.itemKey(menu.subItems(menu.indexForKey("mnuSkin")).value(0)),
                 QStringLiteral("mnuSkin1"));
        QStringList captions;
        for (int j = 0; j < listed.size(); ++j) {
            const int index = menu.indexForKey(QStringLiteral("mnuWin(%1)").arg(j + 8));
            captions << menu.caption(index);
            QCOMPARE(menu.isChecked(index), j == 0);
            QCOMPARE(chosenData(menu, menu.itemKey(index)), j < 10 ? j + 3 : FrameMenus::kWinMore);
        }
        QCOMPARE(captions, listed);
        // The rest of the menu bar is untouched.
        QCOMPARE(menu.itemCount(), 110 - 1 + int(items.size()) + 1);
        QVERIFY(menu.subItems(menu.indexForKey("mnuHelp"))
                    .contains(menu.indexForKey("mnuHelpAbout")));
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
        KeyedMenu menu;
        FrameMenus::buildMainMenu(menu);
        FrameMenus::buildWindowMenu(menu, "mnuWindow", {{0, title}});
        QCOMPARE(menu.caption(menu.indexForKey("mnuWin(8)")), caption);
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
        KeyedMenu menu;
        FrameMenus::buildLinksMenu(menu, {"R&D", "News"}, count);
        QCOMPARE(keysOf(menu, menu.subItems(0)), keys);
        if (count > 0) {
            QCOMPARE(menu.caption(1), QStringLiteral("R&D"));
            QCOMPARE(chosenData(menu, "Link2"), 2);
            const std::unique_ptr<QMenu> built(menu.createMenu(0, nullptr));
            QCOMPARE(shownImage(builtAction(built.get(), "Link2")), 32);
        }
    }

    void newTabMenuOffersUndoOnlyAfterAClose()
    {
        for (bool available : {false, true}) {
            KeyedMenu menu;
            FrameMenus::buildNewTabMenu(menu, available);
            QCOMPARE(menu.itemCount(), 12);
            QCOMPARE(menu.isEnabled(menu.indexForKey("mnuNewUndoClose")), available);
            QVERIFY(menu.isEnabled(menu.indexForKey("mnuNewBlank")));
        }
    }

    void toolbarOptionMenus_data()
    {
        QTest::addColumn<bool>("flatStyle");
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
        QFETCH(bool, flatStyle);
        QFETCH(bool, browse);
        QFETCH(QStringList, keys);
        SettingsStore &store = SettingsStore::instance();
        store.write("Settings", browse ? "Toolbar1ShowText" : "Toolbar2ShowText", "False");
        QMainWindow host;
        StripToolBar toolbar(&host);
        toolbar.createToolBar(16, false, true);
        toolbar.addButton("Custom", 10, "Custom", StripToolBar::kStyleAutosize, "Custom");
        KeyedMenu menu;
        if (browse)
            FrameMenus::buildNavToolbarMenu(menu, store, toolbar, flatStyle);
        else
            FrameMenus::buildSitesToolbarMenu(menu, store, toolbar, flatStyle);
        QCOMPARE(keysOf(menu, menu.subItems(0)), keys);
        // Marks from the stored options (defaults where none is stored) and the live toolbar.
        QCOMPARE(menu.isChecked(menu.indexForKey("mnuTBLargeIcons")), browse);
        QVERIFY(!menu.isChecked(menu.indexForKey("mnuTBShowText")));
        QVERIFY(!menu.isRadioCheck(menu.indexForKey("mnuTBTextAlignRight")));
        QVERIFY(menu.isRadioCheck(menu.indexForKey("mnuTBTextAlignBottom")));
        // A sites toolbar without links speaks through its one button.
        QVERIFY(menu.isEnabled(menu.indexForKey("mnuTBTextAlign")));
        toolbar.setButtonTextVisible("Custom", false);
        KeyedMenu again;
        FrameMenus::buildSitesToolbarMenu(again, store, toolbar, flatStyle);
        QVERIFY(!again.isEnabled(again.indexForKey("mnuTBTextAlign")));

        KeyedMenu address;
        FrameMenus::buildAddressBarMenu(address, store, flatStyle);
        QCOMPARE(address.itemCount(), flatStyle ? 1 : 0);
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
        QStringList found = FrameMenus::enumerateSkins({dir.path()});
        QCOMPARE(found.value(0), QStringLiteral("none"));
        found.removeFirst();
        found.sort();
        skins.sort();
        QCOMPARE(found, skins);
    }

    void skinListLimitsAndFolders()
    {
        // A missing folder gives "none" alone.
        QCOMPARE(FrameMenus::enumerateSkins({"/nonexistent/quarvel/skins"}), QStringList({"none"}));
        // More files than the list holds: the list stops full, without error.
        QTemporaryDir many;
        for (int i = 0; i < 150; ++i)
            touch(many.filePath(QStringLiteral("skin%1.qvs").arg(i)));
        QCOMPARE(FrameMenus::enumerateSkins({many.path()}).size(), FrameMenus::kMaxSkins);
        // A name in two folders is listed once.
        QTemporaryDir a, b;
        touch(a.filePath("same.qvs"));
        touch(b.filePath("same.qvs"));
        touch(b.filePath("other.qvs"));
        QCOMPARE(FrameMenus::enumerateSkins({a.path(), b.path()}),
                 QStringList({"none", "same", "other"}));
    }

    void skinFilesComeFromTheUsersFolderFirst()
    {
        const QString user = Paths::dataFile(QStringLiteral("skins"));
        QVERIFY(QDir().mkpath(user));
        touch(user + "/Mine.QVS");
        QCOMPARE(FrameMenus::skinFile("Mine"), user + "/Mine.QVS");
        QVERIFY(FrameMenus::skinFile("mine").isEmpty()); // the name's own case counts
        QVERIFY(FrameMenus::skinFile("none").isEmpty());
        QVERIFY(FrameMenus::skinFile("daybreak").endsWith("/skins/daybreak.qvs")); // shipped
        QVERIFY(!QPixmap(FrameMenus::skinFile("daybreak")).isNull());
        QVERIFY(FrameMenus::skinFolders().size() == 2);
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
        KeyedMenu menu;
        FrameMenus::buildMainMenu(menu);
        FrameMenus::buildWindowMenu(menu, "mnuWindow", {});
        FrameMenus::buildSkinsMenu(menu, "mnuSkin", {"none", "daybreak", "slate", "R&B"}, next);
        const QList<int> items = menu.subItems(menu.indexForKey("mnuSkin"));
        QCOMPARE(keysOf(menu, items), QStringList({"skin1", "skin2", "skin3", "skin4"}));
        QStringList radios;
        for (int i : items) {
            if (menu.isRadioCheck(i))
                radios << menu.itemKey(i);
        }
        QCOMPARE(radios, QStringList{marked});
        QCOMPARE(menu.caption(items.last()), QStringLiteral("R&B"));
    }

    void skinPaintingWithoutAPicturePaintsNothing()
    {
        QImage target(40, 30, QImage::Format_ARGB32);
        target.fill(Qt::white);
        QPainter painter(&target);
        SkinPaint::tile(painter, nullptr, target.rect(), QPixmap());
        SkinPaint::tile(painter, nullptr, target.rect(), QPixmap(0, 5));
        QPixmap red(7, 7);
        red.fill(Qt::red);
        SkinPaint::tile(painter, nullptr, QRect(), red);
        QCOMPARE(target.pixelColor(39, 29), QColor(Qt::white));
        // A closing window skips the skin; otherwise it is tiled like any bar's.
        SkinPaint::paintSkinBackground(red, painter, nullptr, target.rect(), true);
        QCOMPARE(target.pixelColor(39, 29), QColor(Qt::white));
        SkinPaint::paintSkinBackground(QPixmap(), painter, nullptr, target.rect(), false);
        QCOMPARE(target.pixelColor(39, 29), QColor(Qt::white));
        SkinPaint::paintSkinBackground(red, painter, nullptr, target.rect(), false);
        painter.end();
        QCOMPARE(target.pixelColor(39, 29), QColor(Qt::red));
    }

    // ---------------------------------------------------------------- toolbar strips

    void stripsAreCutIntoPictures()
    {
        QImage strip(50, 16, QImage::Format_RGB32);
        strip.fill(QColor(255, 0, 255));
        strip.setPixelColor(20, 5, Qt::blue);
        const QList<QPixmap> pictures = ImageStrip::cutStrip(strip, 16);
        QCOMPARE(pictures.size(), 3); // the partial picture at the end is dropped
        const QImage second = pictures[1].toImage();
        QCOMPARE(second.pixelColor(4, 5), QColor(Qt::blue));
        QCOMPARE(second.pixelColor(0, 0).alpha(), 0);
        QVERIFY(ImageStrip::cutStrip(strip, 64).isEmpty());
        QVERIFY(ImageStrip::cutStrip(QImage(), 16).isEmpty());
        QVERIFY(ImageStrip::cutStrip(strip, 0).isEmpty());

        ImageStrip shipped;
        QVERIFY(shipped.loadStrip(Paths::assetFile("nav_24h.bmp"), 24));
        // 21 pictures: one per engine from 15.
        QVERIFY(!shipped.itemPicture(20).isNull() && shipped.itemPicture(21).isNull());
        QVERIFY(shipped.loadStrip(Paths::assetFile("nav_16h.bmp"), 16));
        QVERIFY(!shipped.itemPicture(20).isNull() && shipped.itemPicture(21).isNull());
        QVERIFY(!shipped.loadStrip(Paths::assetFile("missing.bmp"), 16));
        QVERIFY(shipped.itemPicture(0).isNull());
    }

    // ---------------------------------------------------------------- layout text

    void layoutTextRoundTrip()
    {
        const QStringList keys = {"MenuBar", "Logo", "Toolbar1", "Tabbar"};
        const QList<ToolBarBands::BandState> bands = {{"Tabbar", true, true, 800},
                                                {"MenuBar", true, true, 320},
                                                {"Logo", false, false, 150},
                                                {"Toolbar1", true, true, 0}};
        QList<ToolBarBands::BandState> parsed;
        QVERIFY(ToolBarBands::parseLayout(ToolBarBands::layoutText(bands), keys, &parsed));
        QCOMPARE(parsed, bands);
        QVERIFY(ToolBarBands::parseLayout(ToolBarBands::layoutText({}), keys, &parsed));
        QVERIFY(parsed.isEmpty());
    }

    void corruptLayoutTexts_data()
    {
        QTest::addColumn<QString>("text");
        const QString ok = ToolBarBands::layoutText({{"MenuBar", true, true, 10}});
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
        QList<ToolBarBands::BandState> parsed = {{"untouched", true, true, 1}};
        QVERIFY(!ToolBarBands::parseLayout(text, {"MenuBar", "Logo"}, &parsed));
        QCOMPARE(parsed.size(), 1);
    }

    void rebarRestoresOrderRowsVisibilityAndWidths()
    {
        const QStringList keys = {"A", "B", "C", "D"};
        auto makeBands = [&](QMainWindow &window, ToolBarBands &rebar, QList<QWidget *> &children) {
            for (const QString &key : keys) {
                auto *child = new QWidget(&window);
                child->setMinimumSize(60, 20);
                children << child;
                rebar.addBand(child, QString(), true, false, key);
            }
        };
        QString text;
        {
            QMainWindow window;
            window.setCentralWidget(new QWidget);
            ToolBarBands rebar(&window);
            QList<QWidget *> children;
            makeBands(window, rebar, children);
            window.resize(900, 400);
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            // D joins C's row with a width of its own; B is hidden; A goes last.
            const QString wanted = ToolBarBands::layoutText({{"C", true, true, 300},
                                                       {"D", false, true, 0},
                                                       {"B", true, false, 0},
                                                       {"A", true, true, 0}});
            QVERIFY(rebar.restoreLayout(wanted, keys, children));
            QTRY_COMPARE(rebar.band(rebar.bandIndexForKey("C"))->width(), 300);
            text = rebar.currentLayoutText();
        }
        QList<ToolBarBands::BandState> saved;
        QVERIFY(ToolBarBands::parseLayout(text, keys, &saved));
        QCOMPARE(saved.size(), 4);
        QCOMPARE(saved[0], ToolBarBands::BandState({"C", true, true, 300}));
        QCOMPARE(saved[1].key, QStringLiteral("D"));
        QVERIFY(!saved[1].newRow && saved[1].visible);
        QCOMPARE(saved[2].key, QStringLiteral("B"));
        QVERIFY(saved[2].newRow && !saved[2].visible);
        QCOMPARE(saved[3].key, QStringLiteral("A"));

        // A new window built in default order comes back to the same arrangement.
        QMainWindow window;
        window.setCentralWidget(new QWidget);
        ToolBarBands rebar(&window);
        QList<QWidget *> children;
        makeBands(window, rebar, children);
        window.resize(900, 400);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(rebar.restoreLayout(text, keys, children));
        BandToolBar *c = rebar.band(rebar.bandIndexForKey("C"));
        BandToolBar *d = rebar.band(rebar.bandIndexForKey("D"));
        BandToolBar *a = rebar.band(rebar.bandIndexForKey("A"));
        QTRY_COMPARE(c->width(), 300);
        QCOMPARE(d->y(), c->y());
        QVERIFY(d->x() >= c->x() + 300);
        QVERIFY(a->y() > c->y());
        QVERIFY(!rebar.bandVisible(rebar.bandIndexForKey("B")));
        QCOMPARE(rebar.currentLayoutText(), text);

        // A text that does not parse changes nothing.
        QVERIFY(!rebar.restoreLayout(QStringLiteral("<rebar"), keys, children));
        QCOMPARE(rebar.currentLayoutText(), text);

        // The user drags A in front of C: the layout follows the window, and hidden B keeps
        // its place after D.
        window.insertToolBar(c, a);
        QTRY_COMPARE(a->y(), c->y());
        QVERIFY(ToolBarBands::parseLayout(rebar.currentLayoutText(), keys, &saved));
        QStringList order;
        QList<bool> rows;
        for (const ToolBarBands::BandState &band : saved) {
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
    initApplicationIdentity();
    TestMenus test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_menus.moc"
