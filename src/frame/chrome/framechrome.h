#pragma once

#include "addressband.h"
#include "navigatorpalette.h"

#include <QObject>
#include <QPixmap>
#include <QPoint>
#include <QString>

#include <utility>

class QMainWindow;
class CommandSource;
class KeyedMenuBar;
class MenuBarHost;
class StripToolBar;
class ToolBarBands;

// The frame's chrome: the bands and what they hold (the menu bar, the logo, the browse, sites and
// address toolbars, the tab strip), the band layout file, the skin, the toolbar options and the
// commands the toolbar buttons run.
class FrameChrome : public QObject
{
    Q_OBJECT
public:
    // The bands and the controls they hold are made as children of the frame window; the address
    // toolbar shows the address bar's holder, the tab band the tab strip.
    FrameChrome(QMainWindow *frame, CommandSource &commands, const AddressBand &address,
                QWidget *tabStrip);

    ToolBarBands *bands() const { return m_bands; }
    StripToolBar *addressToolBar() const { return m_addressToolBar; }
    // The toolbar of a band: "Toolbar1" (browse), "Toolbar2" (sites), "Addressbar"; else null.
    StripToolBar *toolBar(const QString &bandKey) const;
    KeyedMenuBar *menuBar() const { return m_menuBar; }

    // ---- Skins: the one loaded at this start, the list, the choice for the next start.
    // The skin settings and the picture of this start's skin.
    void loadSkin();
    void enumerateSkins();
    const QPixmap &skinPicture() const { return m_skinPicture; }
    QString skinPath() const { return m_skinPath; }
    QString nextSkin() const { return m_nextSkin; }
    void setNextSkin(const QString &skin) { m_nextSkin = skin; }

    // ---- Toolbars, menu bar and bands, built once by the interface start-up.
    void createToolbars();
    void createMenuBar();
    // The bands from the layout file, or the default bands when it gives none. A layout file
    // that is not a layout is kept aside (takeSetAsideLayoutFile) before the default bands are
    // saved at exit; an empty one simply gives the default.
    void loadBandLayout(const QString &skinPath);
    // Where a layout file that could not be read was moved at this start, for the one notice
    // about it: empty when it was read, and for later calls.
    QString takeSetAsideLayoutFile() { return std::exchange(m_setAsideLayoutFile, QString()); }
    void createDefaultBands(const QString &skinPath);
    // False when the layout file could not be written (the last one written is kept).
    bool saveBandLayout();
    void destroyToolbars();
    // The layout file of the bands, in the data folder.
    static QString layoutFile();
    // Whether the band of the key shows, and showing or hiding it.
    bool bandVisible(const QString &bandKey) const;
    void setBandVisible(const QString &bandKey, bool visible);
    // The rebar's place: 1 top, 2 bottom.
    int bandsAlignment() const { return m_bandsAlignment; }
    void setBandsAlignment(int alignment);

    // ---- Toolbar options.
    // The custom-link buttons of the sites toolbar, rebuilt from the custom links.
    void showCustomLinkButtons();
    void setToolbarShowText(StripToolBar *toolbar, const QString &bandKey, bool show);
    void setToolbarTextRight(StripToolBar *toolbar, const QString &bandKey, bool right);
    void setToolbarLargeIcons(StripToolBar *toolbar, bool large);

    // The navigator palette's buttons run what the browse toolbar's buttons of the same keys run.
    void onNavigatorCommand(NavigatorPalette::Command command);

signals:
    // The user confirmed closing every open website (the logo's close-all button).
    void closeAllRequested();
    // The menus the chrome shows, asked of the frame's menus: the menu bar's menu, filled into
    // the bar (before the bar is captured into its band), the skin picture behind that menu, a
    // toolbar's option menu (a right click) and the drop-downs of the browse toolbar's buttons
    // and the search button, below the button.
    void menuBarRequested(KeyedMenuBar *bar);
    void menuPictureRequested(const QPixmap &picture);
    void toolbarOptionsRequested(const QString &bandKey, const QPoint &at);
    void browseDropDownRequested(const QString &buttonKey, const QPoint &at);
    void searchEnginesMenuRequested(const QPoint &at);

private:
    // ---- Toolbar events: a button runs its command, a drop-down arrow or a right click
    // (position -1) opens a menu.
    void onBrowseButtonClicked(int position);
    void onBrowseDropDown(int position);
    void onSitesButtonClicked(int position);
    void onAddressButtonClicked(int position);
    void onAddressDropDown(int position);
    // A toolbar button's click runs its command; a right click (-1) opens the option menu.
    void onToolbarButtonClicked(StripToolBar *toolbar, const QString &bandKey, int position);
    // Toolbar buttons show the enabled and checked state of their commands.
    void bindButtonStates(StripToolBar *toolbar, const QString &bandKey);
    // The logo band's close-all button: asks first, then closes every document.
    void confirmCloseAll();
    QPoint belowButton(StripToolBar *toolbar, int position) const;

    QMainWindow *m_frame;
    CommandSource &m_commands;
    const AddressBand &m_address;
    StripToolBar *m_browseToolBar = nullptr; // browse toolbar
    StripToolBar *m_sitesToolBar = nullptr; // sites toolbar
    StripToolBar *m_addressToolBar = nullptr; // address toolbar
    KeyedMenuBar *m_menuBar = nullptr;
    MenuBarHost *m_menuBarHost = nullptr;
    QWidget *m_logo = nullptr;  // the logo
    QWidget *m_tabHolder = nullptr; // holds the tab strip
    ToolBarBands *m_bands = nullptr;
    QPixmap m_skinPicture;
    QString m_skinPath;
    QString m_nextSkin;
    int m_bandsAlignment = 1;
    QString m_setAsideLayoutFile;
    // A layout file that could not be read nor moved aside is not written over.
    bool m_layoutFileKept = false;
};
