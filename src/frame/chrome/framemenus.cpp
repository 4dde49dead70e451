#include "framemenus.h"

#include "core/paths.h"
#include "core/settingsmodel.h"
#include "core/settingsstore.h"
#include "core/strings.h"
#include "glyphs.h"
#include "keyedmenu.h"
#include "striptoolbar.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

namespace FrameMenus {

namespace {

const QString kSettings = QStringLiteral("Settings");

struct Row
{
    const char *key;
    int id;             // caption's string; 0 for a separator
    const char *parent; // nullptr at the top level
    int icon;
};

// Menus with pictures use the menus' image list; the option menus have none.
void prologue(KeyedMenu &menu, bool pictures)
{
    if (pictures)
        menu.setImageList(menuImageList());
}

int add(KeyedMenu &menu, const Row &row)
{
    const int parent = row.parent ? menu.indexForKey(QLatin1String(row.parent)) : 0;
    const QString caption = row.id ? loadResString(row.id) : QStringLiteral("-");
    return menu.addItem(caption, QString(), 0, parent, row.icon, false, true,
                        QLatin1String(row.key));
}

void addRows(KeyedMenu &menu, std::initializer_list<Row> rows)
{
    for (const Row &row : rows)
        add(menu, row);
}

void setChecked(KeyedMenu &menu, const char *key, bool on)
{
    menu.setChecked(menu.indexForKey(QLatin1String(key)), on);
}

void setRadio(KeyedMenu &menu, const char *key, bool on)
{
    menu.setRadioCheck(menu.indexForKey(QLatin1String(key)), on);
}

bool stored(const SettingsStore &store, const char *key, bool defaultValue)
{
    return SettingsModel::readBoolean(store, kSettings, QLatin1String(key), defaultValue);
}

// The shared part of the browse and sites toolbar option menus.
void toolbarOptions(KeyedMenu &menu, const SettingsStore &store, const StripToolBar &toolbar,
                    bool flatStyle, bool browse)
{
    prologue(menu, false);
    addRows(menu, {{"mnuTBLargeIcons", 8500, nullptr, -1}, {"mnuTBShowText", 8501, nullptr, -1}});
    if (flatStyle)
        add(menu, {"mnuTBOfficeXPStyle", 8514, nullptr, -1});
    add(menu, {"mnuNewBar0", 0, nullptr, -1});
    if (browse) {
        addRows(menu, {{"mnuTBLinksButton", 8515, nullptr, -1}, {"mnuNewBar1", 0, nullptr, -1}});
    }
    addRows(menu, {{"mnuTBTextAlign", 8502, nullptr, -1},
                   {"mnuTBTextAlignRight", 8503, "mnuTBTextAlign", -1},
                   {"mnuTBTextAlignBottom", 8504, "mnuTBTextAlign", -1}});
    if (!browse) {
        addRows(menu, {{"mnuNewBar1", 0, nullptr, -1},
                       {"mnuCustomSitesToolbar", 8505, nullptr, -1},
                       {"mnuImportIELinks", 8506, nullptr, -1}});
    }

    const char *large = browse ? "Toolbar1LargeIcons" : "Toolbar2LargeIcons";
    const char *text = browse ? "Toolbar1ShowText" : "Toolbar2ShowText";
    const char *xp = browse ? "Toolbar1OfficeXP" : "Toolbar2OfficeXP";
    setChecked(menu, "mnuTBLargeIcons", stored(store, large, browse));
    setChecked(menu, "mnuTBShowText", stored(store, text, true));
    if (flatStyle)
        setChecked(menu, "mnuTBOfficeXPStyle", stored(store, xp, false));
    if (browse)
        setChecked(menu, "mnuTBLinksButton", stored(store, "Toolbar1LinksButton", true));
    setRadio(menu, "mnuTBTextAlignRight", toolbar.textRight());
    setRadio(menu, "mnuTBTextAlignBottom", !toolbar.textRight());
    menu.setEnabled(menu.indexForKey(QStringLiteral("mnuTBTextAlign")), toolbarTextShown(toolbar));
}

// The File menu.
void addFileMenu(KeyedMenu &menu)
{
    addRows(menu, {
                      {"mnuFile", 1000, nullptr, -1},
                      {"mnuFileNew", 1001, "mnuFile", 4},
                      {"mnuFileOpen", 1002, "mnuFile", 0},
                      {"mnuFileClose", 1003, "mnuFile", -1},
                      {"mnuFileBar0", 0, "mnuFile", -1},
                      {"mnuFileSaveAs", 1005, "mnuFile", 5},
                      {"mnuFileBar1", 0, "mnuFile", -1},
                      {"mnuFileProperties", 1007, "mnuFile", -1},
                      {"mnuFileBar2", 0, "mnuFile", -1},
                      {"mnuFilePageSetup", 1008, "mnuFile", -1},
                      {"mnuFilePrintPreview", 1067, "mnuFile", -1},
                      {"mnuFilePrint", 1010, "mnuFile", 13},
                      {"mnuFileBar3", 0, "mnuFile", -1},
                      {"mnuFileExit", 1012, "mnuFile", -1},
                  });
}

// The Edit menu.
void addEditMenu(KeyedMenu &menu)
{
    addRows(menu, {
                      {"mnuEdit", 1013, nullptr, -1},
                      {"mnuEditUndoClose", 1014, "mnuEdit", 36},
                      {"mnuEditBar0", 0, "mnuEdit", -1},
                      {"mnuEditCut", 1015, "mnuEdit", 7},
                      {"mnuEditCopy", 1016, "mnuEdit", 6},
                      {"mnuEditPaste", 1017, "mnuEdit", 8},
                      {"mnuEditBar1", 0, "mnuEdit", -1},
                      {"mnuEditIncFont", 1068, "mnuEdit", 15},
                      {"mnuEditDecFont", 1069, "mnuEdit", 16},
                      {"mnuEditResetFont", 1070, "mnuEdit", -1},
                      {"mnuEditBar2", 0, "mnuEdit", -1},
                      {"mnuEditSelectAll", 1071, "mnuEdit", -1},
                      {"mnuEditBar3", 0, "mnuEdit", -1},
                      {"mnuEditFind", 1072, "mnuEdit", 3},
                  });
}

// The View menu: the bars of the frame, the side bar's sections, the tabs.
void addViewMenu(KeyedMenu &menu)
{
    addRows(menu, {
                      {"mnuView", 1019, nullptr, -1},
                      {"mnuInterface", 1135, "mnuView", -1},
                      {"mnuViewBrowseToolbar", 1073, "mnuInterface", -1},
                      {"mnuViewSitesToolbar", 1074, "mnuInterface", -1},
                      {"mnuViewAddressBar", 1075, "mnuInterface", -1},
                      {"mnuViewTabsBar", 1076, "mnuInterface", -1},
                      {"mnuViewStatusBar", 1021, "mnuInterface", -1},
                      {"mnuViewSidebar", 1172, "mnuInterface", -1},
                      {"mnuAlignment", 1186, "mnuInterface", -1},
                      {"mnuAlignTop", 1138, "mnuAlignment", -1},
                      {"mnuAlignBottom", 1139, "mnuAlignment", -1},
                      {"mnuViewBar0", 0, "mnuView", -1},
                      {"mnuViewFullScreen", 1187, "mnuView", 38},
                      {"mnuViewBar1", 0, "mnuView", -1},
                      {"mnuViewFav", 1078, "mnuView", 21},
                      {"mnuViewAddToFav", 1079, "mnuView", -1},
                      {"mnuViewOrgFav", 1080, "mnuView", -1},
                      {"mnuViewBar2", 0, "mnuView", -1},
                      {"mnuViewHistory", 1159, "mnuView", 22},
                      {"mnuViewBar3", 0, "mnuView", -1},
                      {"mnuViewRSS", 1192, "mnuView", 39},
                      {"mnuViewBar4", 0, "mnuView", -1},
                      {"mnuViewTabs", 1081, "mnuView", -1},
                      {"mnuViewTabsShrinkAll", 1082, "mnuViewTabs", -1},
                      {"mnuViewTabsShrinkActive", 1160, "mnuViewTabs", -1},
                      {"mnuViewTabsShrinkAllbutActive", 1083, "mnuViewTabs", -1},
                      {"mnuViewTabsResetAll", 1084, "mnuViewTabs", -1},
                      {"mnuViewBar5", 0, "mnuView", -1},
                      {"mnuViewQSearch", 1085, "mnuView", 3},
                      {"mnuViewBar6", 0, "mnuView", -1},
                      {"mnuViewSource", 1086, "mnuView", 14},
                      {"mnuViewBar7", 0, "mnuView", -1},
                      {"mnuViewInternetOptions", 1128, "mnuView", 1},
                      {"mnuViewOptions", 1023, "mnuView", 1},
                  });
}

// The Navigate menu, with the automatic refresh of a tab.
void addNavigateMenu(KeyedMenu &menu)
{
    addRows(menu, {
                      {"mnuNavigate1", 1087, nullptr, -1},
                      {"mnuNavigateBack", 1088, "mnuNavigate1", 9},
                      {"mnuNavigateForward", 1089, "mnuNavigate1", 10},
                      {"mnuNavigateStop", 1090, "mnuNavigate1", 12},
                      {"mnuNavigateRefresh", 1091, "mnuNavigate1", -1},
                      {"mnuTabAutoRefresh", 6005, "mnuNavigate1", 27},
                      {"mnuTabAutoRefresh1", 6006, "mnuTabAutoRefresh", -1},
                      {"mnuTabAutoRefresh2", 6007, "mnuTabAutoRefresh", -1},
                      {"mnuTabAutoRefresh5", 6008, "mnuTabAutoRefresh", -1},
                      {"mnuTabAutoRefreshCustom", 6009, "mnuTabAutoRefresh", -1},
                      {"mnuTabBar1", 0, "mnuTabAutoRefresh", -1},
                      {"mnuTabAutoRefreshStop", 6010, "mnuTabAutoRefresh", -1},
                      {"mnuNavigateBar0", 0, "mnuNavigate1", -1},
                      {"mnuNavigateHome1", 1092, "mnuNavigate1", 2},
                      {"mnuNavigateHome2", 1093, "mnuNavigate1", 19},
                      {"mnuNavigatorBar1", 0, "mnuNavigate1", -1},
                      {"mnuNavigateMail", 1094, "mnuNavigate1", 20},
                      {"mnuNavigateSearch", 1095, "mnuNavigate1", 17},
                      {"mnuNavigateNews", 1096, "mnuNavigate1", 18},
                  });
}

// The Content menu: form filling and the content switches.
void addContentMenu(KeyedMenu &menu)
{
    addRows(menu, {
                      {"mnuContent", 1131, nullptr, -1},
                      {"mnuContentAutoFill", 1133, "mnuContent", -1},
                      {"mnuContentFillForm", 1132, "mnuContent", 23},
                      {"mnuContentFormData", 1134, "mnuContent", -1},
                      {"mnuContentBar0", 0, "mnuContent", -1},
                      {"mnuContentImage", 1158, "mnuContent", -1},
                      {"mnuContentSound", 1155, "mnuContent", -1},
                      {"mnuContentVideo", 1156, "mnuContent", -1},
                      {"mnuContentScripts", 1154, "mnuContent", -1},
                      {"mnuContentJava", 1166, "mnuContent", -1},
                      {"mnuContentDLACTX", 1164, "mnuContent", -1},
                      {"mnuContentRUNACTX", 1165, "mnuContent", -1},
                      {"mnuContentFlash", 1157, "mnuContent", -1},
                      {"mnuContentBar1", 0, "mnuContent", -1},
                      {"mnuContentSuppressErrors", 1168, "mnuContent", -1},
                      {"mnuContentSuppressScriptErrors", 1169, "mnuContent", -1},
                  });
}

// The Window menu: its entries are made from the open documents when it opens.
void addWindowMenu(KeyedMenu &menu)
{
    add(menu, {"mnuWindow", 1025, nullptr, -1});
    menu.addItem(QStringLiteral("<WindowMenu>"), QString(), 0,
                 menu.indexForKey(QStringLiteral("mnuWindow")), -1, false, true,
                 QStringLiteral("mnuWin(0)"));
}

// The Help menu.
void addHelpMenu(KeyedMenu &menu)
{
    addRows(menu, {
                      {"mnuHelp", 1031, nullptr, -1},
                      {"mnuHelpOnTheWeb", 1097, "mnuHelp", 32},
                      {"mnuHelpContents", 1098, "mnuHelp", -1},
                      {"mnuHelpForum", 1201, "mnuHelp", -1},
                      {"mnuHelpGames", 1209, "mnuHelp", -1},
                      {"mnuHelpBlog", 1181, "mnuHelp", -1},
                      {"mnuHelpQuickTour", 1170, "mnuHelp", -1},
                      {"mnuHelpBar0", 0, "mnuHelp", -1},
                      {"mnuHelpReportBug", 1171, "mnuHelp", 31},
                      {"mnuHelpBar1", 0, "mnuHelp", -1},
                      {"mnuHelpAbout", 1034, "mnuHelp", 28},
                  });
}

} // namespace

void buildMainMenu(KeyedMenu &menu)
{
    prologue(menu, true);
    addFileMenu(menu);
    addEditMenu(menu);
    addViewMenu(menu);
    addNavigateMenu(menu);
    addContentMenu(menu);
    addWindowMenu(menu);
    addHelpMenu(menu);

    for (const char *key :
         {"mnuViewBrowseToolbar", "mnuViewSitesToolbar", "mnuViewAddressBar", "mnuViewTabsBar",
          "mnuViewStatusBar", "mnuViewSidebar", "mnuContentAutoFill"})
        setChecked(menu, key, true);
    menu.setEnabled(menu.indexForKey(QStringLiteral("mnuEditUndoClose")), false);
    setRadio(menu, "mnuAlignTop", true);
    setRadio(menu, "mnuAlignBottom", false);
}

void buildTabMenu(KeyedMenu &menu)
{
    prologue(menu, true);
    addRows(menu, {
                      {"mnuTabRefresh", 6000, nullptr, 11},
                      {"mnuTabClose", 6001, nullptr, -1},
                      {"mnuTabToggleShrink", 6002, nullptr, -1},
                      {"mnuTabDuplicate", 6003, nullptr, -1},
                      {"mnuTabBar0", 0, nullptr, -1},
                      {"mnuTabAutoRefresh", 6005, nullptr, 27},
                      {"mnuTabAutoRefresh1", 6006, "mnuTabAutoRefresh", -1},
                      {"mnuTabAutoRefresh2", 6007, "mnuTabAutoRefresh", -1},
                      {"mnuTabAutoRefresh5", 6008, "mnuTabAutoRefresh", -1},
                      {"mnuTabAutoRefreshCustom", 6009, "mnuTabAutoRefresh", -1},
                      {"mnuTabBar1", 0, "mnuTabAutoRefresh", -1},
                      {"mnuTabAutoRefreshStop", 6010, "mnuTabAutoRefresh", -1},
                      {"mnuTabBar2", 0, nullptr, -1},
                      {"mnuTabAdd2Fav", 1079, nullptr, 21},
                      {"mnuTabAdd2PopupKillerWhiteList", 1182, nullptr, 31},
                      {"mnuTabBar3", 0, nullptr, -1},
                      {"mnuTabCancel", 6004, nullptr, -1},
                  });
}

void buildNewTabMenu(KeyedMenu &menu, bool lastClosedAvailable)
{
    prologue(menu, true);
    addRows(menu, {
                      {"mnuNewHome1", 1092, nullptr, 2},
                      {"mnuNewHome2", 1093, nullptr, 19},
                      {"mnuNewBar0", 0, nullptr, -1},
                      {"mnuNewBlank", 1099, nullptr, 29},
                      {"mnuNewCurrent", 1100, nullptr, -1},
                      {"mnuNewClipboard", 1167, nullptr, 30},
                      {"mnuNewBar1", 0, nullptr, -1},
                      {"mnuNewEmail", 1149, nullptr, 20},
                      {"mnuNewSearch", 1150, nullptr, 17},
                      {"mnuNewNews", 1151, nullptr, 18},
                      {"mnuNewBar2", 0, nullptr, -1},
                      {"mnuNewUndoClose", 1180, nullptr, 36},
                  });
    menu.setEnabled(menu.indexForKey(QStringLiteral("mnuNewUndoClose")), lastClosedAvailable);
}

void buildRefreshAllMenu(KeyedMenu &menu)
{
    prologue(menu, true);
    add(menu, {"mnuNavigateRefreshAll", 1152, nullptr, 11});
}

void buildStopAllMenu(KeyedMenu &menu)
{
    prologue(menu, true);
    add(menu, {"mnuNavigateStopAll", 1153, nullptr, 12});
}

void buildSearchEnginesMenu(KeyedMenu &menu)
{
    prologue(menu, true);
    addRows(menu, {
                      {"mnuSearchEngineGoogle", 1173, nullptr, 33},
                      {"mnuSearchEngineMsn", 1174, nullptr, 34},
                      {"mnuSearchEngineYahoo", 1175, nullptr, 35},
                      {"mnuSearchEngineAsk", 1185, nullptr, 37},
                      {"mnuSearchEngineLive", 1205, nullptr, 40},
                      {"mnuSearchEngineWiki", 1206, nullptr, 41},
                  });
}

void buildLinksMenu(KeyedMenu &menu, const QStringList &linkNames, int linkCount)
{
    prologue(menu, true);
    for (int i = 1; i <= linkCount; ++i)
        menu.addItem(linkNames.value(i - 1), QString(), i, 0, 32, false, true, linkItemKey(i),
                     true);
    addRows(menu, {
                      {"mnuNewBar1", 0, nullptr, -1},
                      {"mnuCustomSitesToolbar", 8505, nullptr, -1},
                      {"mnuImportIELinks", 8506, nullptr, -1},
                  });
}

QString linkItemKey(int link)
{
    return QStringLiteral("Link%1").arg(link);
}

bool toolbarTextShown(const StripToolBar &toolbar)
{
    // The second button speaks for the toolbar (the first is "New" or "Customize"); a sites
    // toolbar without links has only the first.
    const int position = toolbar.buttonCount() > 1 ? 1 : 0;
    return toolbar.buttonTextVisible(toolbar.buttonKey(position));
}

void buildNavToolbarMenu(KeyedMenu &menu, const SettingsStore &store, const StripToolBar &toolbar,
                         bool flatStyle)
{
    toolbarOptions(menu, store, toolbar, flatStyle, true);
}

void buildSitesToolbarMenu(KeyedMenu &menu, const SettingsStore &store, const StripToolBar &toolbar,
                           bool flatStyle)
{
    toolbarOptions(menu, store, toolbar, flatStyle, false);
}

void buildAddressBarMenu(KeyedMenu &menu, const SettingsStore &store, bool flatStyle)
{
    prologue(menu, false);
    if (!flatStyle)
        return;
    add(menu, {"mnuTBOfficeXPStyle", 8514, nullptr, -1});
    setChecked(menu, "mnuTBOfficeXPStyle", stored(store, "AddressbarOfficeXP", false));
}

// ---------------------------------------------------------------- Window menu

QString windowMenuCaption(const QString &caption)
{
    return caption.size() > 32 ? caption.left(32) + QLatin1String("...") : caption;
}

void buildWindowMenu(KeyedMenu &menu, const QString &key, const QList<WindowEntry> &windows)
{
    const int parent = menu.indexForKey(key);
    if (parent < 1)
        return;
    menu.clearSubItems(parent);
    auto item = [&](const QString &caption, qint32 data, int icon, const QString &itemKey) {
        return menu.addItem(caption, QString(), data, parent, icon, false, true, itemKey);
    };
    const int skins = item(loadResString(1140), kWinSkins, -1, QStringLiteral("mnuSkin"));
    menu.addItem(QStringLiteral("testskin"), QString(), 0, skins, -1, false, true,
                 QStringLiteral("mnuSkin1"));
    item(QStringLiteral("-"), -1, -1, QStringLiteral("mnuWinBar0"));
    item(loadResString(1141), kWinTile, 25, QStringLiteral("mnuWin(0)"));
    item(loadResString(1142), kWinCascade, 26, QStringLiteral("mnuWin(1)"));
    item(loadResString(1143), kWinMaximize, -1, QStringLiteral("mnuWin(2)"));
    item(loadResString(1144), kWinMinimize, -1, QStringLiteral("mnuWin(3)"));
    item(QStringLiteral("-"), -1, -1, QStringLiteral("mnuWin(4)"));
    const int next = item(loadResString(1145), kWinNext, -1, QStringLiteral("mnuWin(5)"));
    const int previous = item(loadResString(1146), kWinPrevious, -1, QStringLiteral("mnuWin(6)"));
    menu.setEnabled(next, windows.size() >= 2);
    menu.setEnabled(previous, windows.size() >= 2);
    if (windows.isEmpty())
        return;
    item(QStringLiteral("-"), -1, -1, QStringLiteral("mnuWin(7)"));
    for (int j = 1; j <= qMin(int(windows.size()), 11); ++j) {
        const QString itemKey = QStringLiteral("mnuWin(%1)").arg(j + 7);
        int index;
        if (j <= 10) {
            const WindowEntry &w = windows[j - 1];
            index = item(QStringLiteral("&%1) ").arg(j) +
                             KeyedMenu::escapeCaption(windowMenuCaption(w.caption)),
                         w.position, -1, itemKey);
        } else {
            index = item(loadResString(1197), kWinMore, -1, itemKey);
        }
        if (j == 1)
            menu.setChecked(index, true);
    }
}

// ---------------------------------------------------------------- toolbar buttons

namespace {

struct ButtonRow
{
    const char *band;
    const char *button;
    const char *command;
    const char *newTabCommand; // the site buttons' command when sites open in a new tab
};

const ButtonRow kButtons[] = {
    {"Toolbar1", "New", "mnuFileNew", nullptr},
    {"Toolbar1", "Back", "mnuNavigateBack", nullptr},
    {"Toolbar1", "Forward", "mnuNavigateForward", nullptr},
    {"Toolbar1", "Refresh", "mnuNavigateRefresh", nullptr},
    {"Toolbar1", "Stop", "mnuNavigateStop", nullptr},
    {"Toolbar1", "Home", "mnuNavigateHome1", "mnuNewHome1"},
    {"Toolbar1", "Home2", "mnuNavigateHome2", "mnuNewHome2"},
    {"Toolbar1", "Mail", "mnuNavigateMail", "mnuNewEmail"},
    {"Toolbar1", "Search", "mnuNavigateSearch", "mnuNewSearch"},
    {"Toolbar1", "News", "mnuNavigateNews", "mnuNewNews"},
    {"Toolbar2", "Custom", "mnuCustomSitesToolbar", nullptr},
    {"Addressbar", "Go", "AddressbarGo", nullptr},
    {"Addressbar", "GoNew", "AddressbarGoNew", nullptr},
    {"Addressbar", "Search", "AddressbarSearch", nullptr},
};

} // namespace

ButtonCommand buttonCommand(const QString &bandKey, const QString &buttonKey, bool newTab)
{
    for (const ButtonRow &row : kButtons) {
        if (bandKey != QLatin1String(row.band) || buttonKey != QLatin1String(row.button))
            continue;
        const char *command = newTab && row.newTabCommand ? row.newTabCommand : row.command;
        return {QLatin1String(command)};
    }
    // A custom link button runs what its item of the links menu runs.
    const QLatin1String custom("Custom");
    if (bandKey == QLatin1String("Toolbar2") && buttonKey.startsWith(custom)) {
        bool ok = false;
        const int link = buttonKey.mid(custom.size()).toInt(&ok);
        if (ok)
            return {linkItemKey(link), link};
    }
    return {};
}

// ---------------------------------------------------------------- skins

QStringList skinFolders()
{
    return {Paths::assetFile(QStringLiteral("skins")), Paths::dataFile(QStringLiteral("skins"))};
}

QStringList enumerateSkins(const QStringList &folders)
{
    QStringList skins{QStringLiteral("none")};
    QSet<QString> seen{skins.first()};
    for (const QString &folder : folders) {
        const QStringList names =
            QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Unsorted);
        for (const QString &entry : names) {
            if (skins.size() >= kMaxSkins)
                return skins;
            const QString name = stripNulls(entry);
            if (name.size() <= 4 || name.right(4).toLower() != QLatin1String(".qvs"))
                continue;
            const QString skin = name.left(name.size() - 4);
            if (seen.contains(skin))
                continue;
            seen.insert(skin);
            skins.append(skin);
        }
    }
    return skins;
}

QString skinFile(const QString &name)
{
    if (name.isEmpty() || name == QLatin1String("none"))
        return QString();
    QStringList folders = skinFolders();
    std::reverse(folders.begin(), folders.end());
    for (const QString &folder : folders) {
        const QDir dir(folder);
        for (const QString &entry : dir.entryList(QDir::Files | QDir::Hidden)) {
            if (entry.size() == name.size() + 4 && entry.left(name.size()) == name &&
                entry.right(4).toLower() == QLatin1String(".qvs"))
                return dir.filePath(entry);
        }
    }
    return QString();
}

void buildSkinsMenu(KeyedMenu &menu, const QString &key, const QStringList &skins,
                    const QString &nextSkin)
{
    const int parent = menu.indexForKey(key);
    if (parent < 1)
        return;
    menu.clearSubItems(parent);
    int first = 0, marked = 0;
    for (int i = 1; i <= skins.size(); ++i) {
        const int index = menu.addItem(skins[i - 1], QString(), 0, parent, -1, false, true,
                                       QStringLiteral("skin%1").arg(i), true);
        menu.setRadioCheck(index, false);
        if (i == 1)
            first = index;
        if (skins[i - 1] == nextSkin)
            marked = index;
    }
    menu.setRadioCheck(marked ? marked : first, true);
}

} // namespace FrameMenus
