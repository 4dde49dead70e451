#pragma once

#include "core/settingsmodel.h"
#include "framemenus.h"
#include "widgets/progresspainter.h"

#include <QHash>
#include <QMainWindow>
#include <QPixmap>
#include <QPointer>

#include <functional>
#include <QString>
#include <QTimer>

class QComboBox;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QToolBar;
class QAction;
class QWebEngineNewWindowRequest;
class DocumentWindow;
class NavigatorPalette;
class QuickSearchDialog;
class DocumentTabBar;
class MouseGestureRecognizer;
class PanelStatusBar;
class QDockWidget;
class Sidebar;
class KeyedMenu;
class KeyedMenuBar;
class StripToolBar;
class MenuBarHost;
class ToolBarBands;
struct SidebarHost;

// The frame: the main window that holds every document window as an MDI child, with the tab
// strip, the address bar, the navigation commands and the registry of open documents.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    // The load sequence; runs once, behind the splash, before the frame is first shown.
    // commandLine is the address given to this start (quotes not yet stripped).
    void startUp(const QString &commandLine);
    // Shows the frame in the state the settings asked for.
    void showFrame();

    // ---- Opening documents and the registry (rows, tabs and documents by position).
    void openDocument(const QString &address);
    // Lets a page's new-window request through into a new document window.
    DocumentWindow *openPopup(QWebEngineNewWindowRequest &request);
    // A document window unloads: renumber the later rows, drop its row and tab.
    void onDocumentUnloaded(DocumentWindow *document);
    NavigatorPalette *navigator();
    DocumentWindow *activeDocument() const;
    // All documents in registry (tab) order.
    QList<DocumentWindow *> documents() const;
    void bringToFront(DocumentWindow *document);
    // Tab actions: 0 front, 1 close, 2 toggle shrink, 3 tab menu, 4 refresh, 5 duplicate.
    void runTabAction(DocumentWindow *document, int tabPosition, int action);

    // A later start handed over its command line: open it and bring the window back.
    void handOver(const QString &text);

    // ---- Navigation and new-tab commands.
    void back();
    void forward();
    void stopLoading();
    void refresh();
    void goHome();
    void goSecondHome();
    void goSearch();
    void goMail();
    void goNews();
    void openHomeInNewTab();
    void openSecondHomeInNewTab();
    void openSearchInNewTab();
    void openMailInNewTab();
    void openNewsInNewTab();
    void openBlankTab();
    void duplicateCurrentTab();
    void openClipboardAddress();
    void navigateSearch();
    void navigateStop();
    void navigateSecondHome();
    void showQuickSearch();
    void showWindowList();
    void openQuickTour();

    // ---- Address bar and search engines.
    void searchWeb(int engine, const QString &text);
    void selectSearchEngine(int engine);
    // Enter in the address bar, with the modifier state of that key.
    void onAddressEnter(bool ctrl, bool shift);
    void onAddressSelected();
    void onGoButton();
    QStringList typedAddresses() const;
    void setAddressText(const QString &text);
    QString addressText() const;
    bool goNewDown() const;
    void setGoNew(bool down);

    // ---- Text size of the active document (zoom levels 0..4).
    void textSizeLarger();
    void textSizeSmaller();
    void textSizeMedium();

    // ---- Saved pages.
    void saveAllDocuments();
    void loadAllDocuments();
    void closeAllDocuments();

    // ---- Content switches: each inverts its setting and its menu mark; the download
    // switches reload every document with the new options.
    void toggleFlash();
    void toggleSuppressErrors();
    void toggleSuppressScriptErrors();
    void showRssSection();

    // Enables the document-dependent commands by whether a document is open.
    void updateDocumentActions();

    // ---- FrameMenus: the chrome, built once by the load.
    void initInterface();
    void createToolbars();
    void createStatusBar(const QString &skinPath);
    // The bands from the layout file, or the default bands when it gives none.
    void loadBandLayout(const QString &skinPath);
    void createDefaultBands(const QString &skinPath);
    void saveBandLayout();
    void destroyToolbars();
    // The layout file of the bands, in the data folder.
    static QString layoutFile();
    // The custom-link buttons of the sites toolbar, rebuilt from the custom links.
    void showCustomLinkButtons();
    void setToolbarShowText(StripToolBar *toolbar, const QString &bandKey, bool show);
    void setToolbarTextRight(StripToolBar *toolbar, const QString &bandKey, bool right);
    void setToolbarLargeIcons(StripToolBar *toolbar, bool large);
    // The rebar's place: 1 top, 2 bottom.
    int bandsAlignment() const { return m_bandsAlignment; }

    // ---- Skins: the one loaded at this start, the list, the choice for the next start.
    void enumerateSkins();
    void buildSkinsMenu(const QString &key);
    void selectSkin(const QString &key);
    QPixmap skinPicture;
    QString skinPath() const { return m_skinPath; }

    // ---- Menus. The menu bar's menu lives for the run; the others exist while they show.
    enum class MenuKind {
        runApplication,
        Tab,
        New,
        Refresh,
        Stop,
        SearchEngines,
        Links,
        NavToolbar,
        SitesToolbar,
        m_addressBar,
    };
    // What a click hands to a command: the chosen item's key, data and check mark.
    struct MenuChoice
    {
        QString key;
        qint32 itemData = 0;
        bool checked = false;
    };
    // Whether a click on an item with the key runs a command of that menu.
    static bool hasMenuCommand(MenuKind menu, const QString &key);
    // Runs the command of the item (keys compared exactly; an unknown key does nothing).
    void runMenuCommand(MenuKind menu, const MenuChoice &choice);

    KeyedMenu *m_mainMenu = nullptr;
    KeyedMenu *m_tabMenu = nullptr;
    KeyedMenu *m_newMenu = nullptr;
    KeyedMenu *m_refreshMenu = nullptr;
    KeyedMenu *m_stopMenu = nullptr;
    KeyedMenu *m_searchEnginesMenu = nullptr;
    KeyedMenu *m_linksMenu = nullptr;
    KeyedMenu *m_browseToolBarMenu = nullptr;
    KeyedMenu *m_sitesToolBarMenu = nullptr;
    KeyedMenu *m_addressBarMenu = nullptr;
    void onMainMenuClicked(int ItemNumber);
    void onMainMenuAboutToShow(int ParentItemNumber);
    void onTabMenuClicked(int ItemNumber);
    void onNewMenuClicked(int ItemNumber);
    void onRefreshMenuClicked(int ItemNumber);
    void onStopMenuClicked(int ItemNumber);
    void onSearchEnginesMenuClicked(int ItemNumber);
    void onLinksMenuClicked(int ItemNumber);
    void onBrowseToolBarMenuClicked(int ItemNumber);
    void onSitesToolBarMenuClicked(int ItemNumber);
    void onAddressBarMenuClicked(int ItemNumber);
    // Menus shown under a button or at a screen point.
    void showNewMenu(const QPoint &at);
    void showTabMenu(DocumentWindow *document, const QPoint &at);
    // The Window menu: its rebuild, the windows it lists (active first) and its commands.
    void buildWindowMenu(const QString &key);
    QList<FrameMenus::WindowEntry> windowMenuEntries() const;
    void runWindowMenuCommand(qint32 code);
    // Check marks of the menu bar's items by key.
    bool isMenuChecked(const QString &key) const;
    void setMenuChecked(const QString &key, bool checked);
    bool isMenuEnabled(const QString &key) const;

    // ---- Toolbar events.
    void onBrowseButtonClicked(int position);
    void onBrowseDropDown(int position);
    void onSitesButtonClicked(int position);
    void onAddressButtonClicked(int position);
    void onAddressDropDown(int position);

    // ---- File, edit and view commands.
    void openFile();
    void saveAs();
    void showProperties();
    void pageSetup();
    void printPreview();
    void printPage();
    void exitProgram();
    void undoClose();
    void cut();
    void copy();
    void paste();
    void selectAll();
    void findInPage();
    void toggleBrowseToolBar();
    void toggleSitesToolBar();
    void toggleAddressBar();
    void toggleTabsBar();
    void toggleStatusBar();
    void toggleSidebar();
    void alignBandsTop();
    void alignBandsBottom();
    void shrinkAllTabs();
    void shrinkActiveTab();
    void shrinkAllButActiveTab();
    void resetAllTabs();
    void viewSource();
    void importLinks();
    void toggleAutoFill();
    void fillForm();
    void toggleImages();
    void toggleSounds();
    void toggleVideos();
    void toggleScripts();
    void toggleJava();
    void toggleActiveXDownload();
    void toggleActiveXRun();

    // ---- Commands whose windows and panels other parts of the program bring (placeholders
    // until then: they do nothing).
    void toggleFullScreen();
    void showFavoritesPanel();
    void showHistoryPanel();
    void addToFavorites();
    void organizeFavorites();
    void addCurrentSiteToWhitelist();
    void showEngineOptions();
    void showOptions();
    void showFormDataOptions();
    void showAbout();
    void askCustomAutoRefresh();
    void showTravelLogMenu(bool back, const QPoint &at);
    void openHomeSite();
    void openHelpPage();
    void openForum();
    void openGamesSite();
    void openBlog();
    void openContactPage();

    // ---- Status bar.
    void setStatusText(const QString &text);
    // The active page's load percentage as text ("0" when idle).
    void setProgressText(const QString &text);
    QString progressText() const;
    void setSecureIcon(bool secure);
    PanelStatusBar *m_statusBar = nullptr;

    // The side bar, docked left of the documents.
    Sidebar *m_sidebar = nullptr;
    QDockWidget *m_sidebarDock = nullptr;
    void showSidebarSection(const QString &key);
    QWidget *m_statusCanvas = nullptr;
    ProgressPainter m_progressPainter;

    // The one-second clock: date and time, and the timed checks.
    QTimer m_clock;
    void onClockTick();
    void onStatusPanelDoubleClicked(int panel, int x, int y);
    void onStatusPanelOwnerDraw(QPainter *painter, int panel, int &left, int &top, int &right,
                                int &bottom, bool &doDefault);

    // Mouse gestures: the stroke's setting picks one of seventeen commands.
    MouseGestureRecognizer *m_gestures = nullptr;
    void onMouseGesture(qint32 gestureType, int xStart, int yStart, int xEnd, int yEnd,
                                    bool &acceptGesture);
    // Runs gesture action 1..17; 0 and unknown codes do nothing.
    void runGestureAction(qint32 action);
    // The setting that holds the action of a stroke code (0 for an unknown code).
    static qint32 gestureAction(qint32 gestureType);
    void closeActiveDocument();

    void loadSettings();
    void saveSettings();

    QMdiArea *mdiArea() const { return m_mdiArea; }

    // Controls.
    DocumentTabBar *m_tabBar = nullptr;
    QComboBox *m_addressBar = nullptr;
    StripToolBar *m_browseToolBar = nullptr; // browse toolbar
    StripToolBar *m_sitesToolBar = nullptr; // sites toolbar
    StripToolBar *m_addressToolBar = nullptr; // address toolbar
    KeyedMenuBar *m_menuBar = nullptr;
    MenuBarHost *m_menuBarHost = nullptr;
    ToolBarBands *m_bands = nullptr;
    QWidget *m_logo = nullptr;  // the logo
    QWidget *m_addressHolder = nullptr; // holds the address field
    QWidget *m_tabHolder = nullptr; // holds the tab strip
    QLabel *m_fullScreenStatus = nullptr;

    // Public state of the frame.
    Qt::WindowStates m_normalWindowState = Qt::WindowNoState;
    QString m_lastClosedAddress;
    qint16 m_searchEngine = 0;
    bool m_closing = false;
    bool m_addressEditing = false;
    bool m_addressHasFocus = false;
    QString m_nextSkin;

    bool prevSessionCrashed() const { return m_prevSessionCrashed; }
    QuickSearchDialog *quickSearch() const;

    QMenu *createPopupMenu() override { return nullptr; }

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    using MenuCommand = void (*)(MainWindow &frame, const MenuChoice &choice);
    static const QHash<QString, MenuCommand> &menuCommands(MenuKind menu);
    // The one command of each placeholder family that another part of the program builds.
    void notYetAvailable() {}
    void showMenu(KeyedMenu *&slot, const std::function<void(KeyedMenu &)> &build,
                  void (MainWindow::*click)(int), const QPoint &at);
    QPoint belowButton(StripToolBar *toolbar, int position) const;
    void toggleBand(const QString &bandKey, const QString &menuKey);
    void setContentSwitch(bool SettingsModel::*setting, const char *menuKey, bool refreshAll);
    void markAutoRefresh(KeyedMenu &menu, DocumentWindow *document);
    void setAutoRefresh(DocumentWindow *document, int interval);
    void shrinkTabs(int variant);
    void openLink(int link);
    void runToolBarOption(StripToolBar *toolbar, const QString &bandKey, const QString &prefix,
                       const MenuChoice &choice);
    QString stripFile(bool large) const;
    QWidget *focusedEditor() const;
    void onSubWindowActivated(QMdiSubWindow *sub);
    DocumentWindow *registerDocument(const QString &address);
    void insertTypedAddress(const QString &address);
    void onTabPressed(int position, Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                        const QPoint &pos);
    void onTabDoubleClicked(int position);
    void queryUnload();
    void unload();
    // Runs one of the five site commands on the active document, or opens a new tab.
    void goSite(const QString &address);
    // The side bar's host members openDocument, setStatusText and isClosing; each does
    // nothing (or reports closing) once the frame is gone. In sidebarhostfactory.cpp.
    SidebarHost makeSidebarHost();

    QMdiArea *m_mdiArea = nullptr;
    QPointer<NavigatorPalette> m_navigator;
    QPointer<QuickSearchDialog> m_quickSearch;
    QPointer<DocumentWindow> m_activeDocument;
    QPointer<DocumentWindow> m_tabMenuDocument;
    QString m_skinPath;
    int m_bandsAlignment = 1;
    qint32 m_updateCounter = 0;
    bool m_prevSessionCrashed = false;
    bool m_loaded = false;
    bool m_unloaded = false;
};
