#pragma once

#include <QList>
#include <QRect>
#include <QString>
#include <QStringList>

class KeyedMenu;
class SettingsStore;
class StripToolBar;

// The frame's menus, skins and window arrangement, apart from the frame so that they can be
// built and checked without one.
namespace FrameMenus {

// ---- Menus. Each builder fills a fresh menu whose owner the caller has set.
void buildMainMenu(KeyedMenu &menu);
void buildTabMenu(KeyedMenu &menu);
void buildNewTabMenu(KeyedMenu &menu, bool lastClosedAvailable);
void buildRefreshAllMenu(KeyedMenu &menu);
void buildStopAllMenu(KeyedMenu &menu);
void buildSearchEnginesMenu(KeyedMenu &menu);
// One item per custom link (keys "Link1", "Link2", ..., the link's number as data), then the
// two link commands.
void buildLinksMenu(KeyedMenu &menu, const QStringList &linkNames, int linkCount);
QString linkItemKey(int link);
// The option menus of the browse, sites and address toolbars, marked from the stored options
// and the live toolbar. The Office XP items exist only where that style exists (flatStyle).
void buildNavToolbarMenu(KeyedMenu &menu, const SettingsStore &store, const StripToolBar &toolbar,
                         bool flatStyle);
void buildSitesToolbarMenu(KeyedMenu &menu, const SettingsStore &store, const StripToolBar &toolbar,
                           bool flatStyle);
void buildAddressBarMenu(KeyedMenu &menu, const SettingsStore &store, bool flatStyle);
// Whether a toolbar shows its captions, as its first captioned button says.
bool toolbarTextShown(const StripToolBar &toolbar);

// ---- Window menu.
struct WindowEntry
{
    int position = 0; // the window's position among the document windows (the item's data)
    QString caption;
};
// Window-menu item data.
inline constexpr int kWinSkins = -8000, kWinTile = -8001, kWinCascade = -8002, kWinMaximize = -8003,
                     kWinMinimize = -8004, kWinNext = -8005, kWinPrevious = -8006, kWinMore = -8007;
// Rebuilds the submenu of the item with the key: the Skins submenu, the arrangement commands
// and up to ten windows (the active window first) plus "More Windows...".
void buildWindowMenu(KeyedMenu &menu, const QString &key, const QList<WindowEntry> &windows);
// A window's caption as the Window menu lists it: at most 32 characters, then "...".
QString windowMenuCaption(const QString &caption);

// ---- Toolbar buttons.
// What a toolbar button runs: a command's key, or a family item's key and data.
struct ButtonCommand
{
    QString key;
    qint32 data = 0;
};
// The command of a button of the toolbar in the band ("Toolbar1", "Toolbar2", "Addressbar");
// newTab picks the new-tab command of the browse toolbar's site buttons. An empty key for a
// button that runs none (its drop-down is all it has).
ButtonCommand buttonCommand(const QString &bandKey, const QString &buttonKey, bool newTab);

// ---- Skins.
// Most entries of the skin list ("none" and 99 skins).
inline constexpr int kMaxSkins = 100;
// The folders skins come from: the ones shipped with the program, then the user's.
QStringList skinFolders();
// "none", then the name (without ".qvs", any case) of every skin file in the folders, each
// name once, in the order the folders list them; at most kMaxSkins entries.
QStringList enumerateSkins(const QStringList &folders);
// The file of a skin (the user's folder first); empty for "none" or an unknown skin.
QString skinFile(const QString &name);
// Fills the submenu of the item with the key with one radio item per skin ("skin1", ...);
// the skin for the next start carries the mark, "none" when it is not listed.
void buildSkinsMenu(KeyedMenu &menu, const QString &key, const QStringList &skins,
                    const QString &nextSkin);

} // namespace FrameMenus
