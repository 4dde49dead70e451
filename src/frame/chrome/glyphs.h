#pragma once

#include <QIcon>
#include <QList>
#include <QPixmap>

class QPainter;
class QRectF;

// The frame's small pictures, drawn as vectors so that one drawing serves the 16-pixel menu
// icons and the 16- and 24-pixel toolbar strips shipped as "nav_16h.bmp" and "nav_24h.bmp".
enum class Glyph {
    Open,
    Options,
    Home,
    Find,
    NewPage,
    Save,
    Copy,
    Cut,
    Paste,
    Back,
    Forward,
    Refresh,
    Stop,
    Print,
    Source,
    FontUp,
    FontDown,
    Search,
    News,
    Home2,
    Mail,
    Favorites,
    History,
    FillForm,
    Lock,
    Tile,
    Cascade,
    Clock,
    Help,
    NewBlank,
    Clipboard,
    Contact,
    WebLink,
    EngineG,
    EngineM,
    EngineY,
    Undo,
    EngineA,
    FullScreen,
    Feed,
    EngineL,
    EngineW,
    Go,
    NewWindow,
};

// Draws the glyph into the rectangle (any size; the drawing is made on a 16-unit grid).
void paintGlyph(QPainter &painter, Glyph glyph, const QRectF &rect);
QPixmap glyphPixmap(Glyph glyph, int size);

// The menus' image list (42 pictures addressed by position): 0 Open, 1 Options, 2 goHome,
// 3 Find, 4 New, 5 Save, 6 Copy, 7 Cut, 8 Paste, 9 Back, 10 Forward, 11 Refresh, 12 Stop,
// 13 Print, 14 Source, 15 FontUp, 16 FontDown, 17 Search, 18 News, 19 Home2, 20 Mail,
// 21 Favorites, 22 History, 23 FillForm, 24 Lock, 25 Tile, 26 Cascade, 27 Clock, 28 Help,
// 29 NewBlank, 30 Clipboard, 31 Contact, 32 WebLink, 33-35 and 37 and 40-41 the search
// engines, 36 Undo, 38 full screen, 39 feeds.
const QList<QIcon> &menuImageList();
