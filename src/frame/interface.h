#pragma once

#include <QList>
#include <QPixmap>
#include <QRect>
#include <QString>
#include <QStringList>

class PopupMenu6;
class QPainter;
class SettingsStore;
class cToolbar;

// The frame's menus, skins and window arrangement, apart from the frame so that they can be
// built and checked without one.
namespace Interface {

// ---- Menus. Each builder fills a fresh menu whose owner the caller has set.
void BuildMainMenu(PopupMenu6 &menu);
void BuildTabMenu(PopupMenu6 &menu);
void BuildNewTabMenu(PopupMenu6 &menu, bool lastClosedAvailable);
void BuildRefreshAllMenu(PopupMenu6 &menu);
void BuildStopAllMenu(PopupMenu6 &menu);
void BuildSearchEnginesMenu(PopupMenu6 &menu);
// One item per custom link (keys "Link1", "Link2", ...), then the two link commands.
void BuildLinksMenu(PopupMenu6 &menu, const QStringList &linkNames, int linkCount);
// The option menus of the browse, sites and address toolbars, marked from the stored options
// and the live toolbar. The Office XP items exist only where that style exists (isXP).
void BuildNavToolbarMenu(PopupMenu6 &menu, const SettingsStore &store, const cToolbar &toolbar,
                         bool isXP);
void BuildSitesToolbarMenu(PopupMenu6 &menu, const SettingsStore &store, const cToolbar &toolbar,
                           bool isXP);
void BuildAddressBarMenu(PopupMenu6 &menu, const SettingsStore &store, bool isXP);
// Whether a toolbar shows its captions, as its first captioned button says.
bool ToolbarTextShown(const cToolbar &toolbar);

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
void BuildWindowMenu(PopupMenu6 &menu, const QString &key, const QList<WindowEntry> &windows);
// A window's caption as the Window menu lists it: at most 32 characters, then "...".
QString WindowMenuCaption(const QString &caption);
// Rectangles of count windows stacked top to bottom over the area, each as wide as the area.
QList<QRect> TileHorizontally(const QRect &area, int count);

// ---- Skins.
// Most entries of the skin list ("none" and 99 skins).
inline constexpr int kMaxSkins = 100;
// The folders skins come from: the ones shipped with the program, then the user's.
QStringList SkinFolders();
// "none", then the name (without ".qvs", any case) of every skin file in the folders, each
// name once, in the order the folders list them; at most kMaxSkins entries.
QStringList EnumerateSkins(const QStringList &folders);
// The file of a skin (the user's folder first); empty for "none" or an unknown skin.
QString SkinFile(const QString &name);
// Fills the submenu of the item with the key with one radio item per skin ("skin1", ...);
// the skin for the next start carries the mark, "none" when it is not listed.
void BuildSkinsMenu(PopupMenu6 &menu, const QString &key, const QStringList &skins,
                    const QString &nextSkin);
// Tiles the skin picture over target from its corner; nothing when skip is set or there is
// no usable picture.
void PaintSkinBackground(const QPixmap &source, QPainter &painter, const QRect &target, bool skip);

} // namespace Interface
