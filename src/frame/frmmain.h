#pragma once

#include "core/settingsmodel.h"
#include "interface.h"
#include "widgets/cmediaprogress.h"

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
class frmDocument;
class frmNavigator;
class frmQSearch;
class vbalDTabControl;
class cMouseGestures;
class cNoStatusBar;
class QDockWidget;
class Sidebar;
class PopupMenu6;
class cMenuBar;
class cToolbar;
class cToolbarHost;
class cReBar;

// The frame: the main window that holds every document window as an MDI child, with the tab
// strip, the address bar, the navigation commands and the registry of open documents.
class frmMain : public QMainWindow
{
    Q_OBJECT
public:
    explicit frmMain(QWidget *parent = nullptr);
    ~frmMain() override;

    // The load sequence; runs once, behind the splash, before the frame is first shown.
    // commandLine is the address given to this start (quotes not yet stripped).
    void MDIForm_Load(const QString &commandLine);
    // Shows the frame in the state the settings asked for.
    void ShowFrame();

    // ---- Opening documents and the registry (rows, tabs and documents by position).
    void LoadNewDoc(const QString &address);
    // Lets a page's new-window request through into a new document window.
    frmDocument *OpenPopup(QWebEngineNewWindowRequest &request);
    // A document window unloads: renumber the later rows, drop its row and tab.
    void DocumentUnloaded(frmDocument *document);
    frmNavigator *Navigator();
    frmDocument *ActiveDocument() const;
    // All documents in registry (tab) order.
    QList<frmDocument *> Documents() const;
    void BringToFront(frmDocument *document);
    // Tab actions: 0 front, 1 close, 2 toggle shrink, 3 tab menu, 4 refresh, 5 duplicate.
    void DoTabAction(frmDocument *document, int tabPosition, int action);

    // A later start handed over its command line: open it and bring the window back.
    void HandOver(const QString &text);

    // ---- Navigation and new-tab commands.
    void Back();
    void Forward();
    void StopLoading();
    void Refresh();
    void Home1();
    void Home2();
    void GoSearch();
    void GoMail();
    void GoNews();
    void NewHome1();
    void NewHome2();
    void NewSearch();
    void NewEmail();
    void NewNews();
    void mnuNewBlank();
    void mnuNewCurrent();
    void mnuNewClipboard();
    void mnuNavigateSearch();
    void mnuNavigateStop();
    void mnuNavigateHome2();
    void mnuViewQSearch();
    void mnuMoreWindows();
    void OpenQuickTour();

    // ---- Address bar and search engines.
    void SearchWeb(int engine, const QString &text);
    void SelectSearchEngine(int engine);
    // Enter in the address bar, with the modifier state of that key.
    void AddressbarEnter(bool ctrl, bool shift);
    void Addressbar_Select();
    void GoButton();
    QStringList TypedAddresses() const;
    void SetAddressText(const QString &text);
    QString AddressText() const;
    bool GoNewDown() const;
    void SetGoNew(bool down);

    // ---- Text size of the active document (zoom levels 0..4).
    void TextSizeLarger();
    void TextSizeSmaller();
    void TextSizeMedium();

    // ---- Saved pages.
    void SaveAllDocuments();
    void LoadAllDocuments();
    void CloseAllDocuments();

    // ---- Content switches: each inverts its setting and its menu mark; the download
    // switches reload every document with the new options.
    void mnuContentFlash();
    void mnuContentSuppressErrors();
    void mnuContentSuppressScriptErrors();
    void mnuViewRSS();

    // Enables the document-dependent commands by whether a document is open.
    void ModifyMenu();

    // ---- Interface: the chrome, built once by the load.
    void InitInterface();
    void CreateToolbars();
    void CreateStatusBar(const QString &skinPath);
    // The bands from the layout file, or the default bands when it gives none.
    void LoadRebarLayout(const QString &skinPath);
    void CreateRebarBands(const QString &skinPath);
    void SaveRebarLayout();
    void DestroyToolbars();
    // The layout file of the bands, in the data folder.
    static QString LayoutFile();
    // The custom-link buttons of the sites toolbar, rebuilt from the custom links.
    void ShowProperButtons();
    void SetToolbarShowText(cToolbar *toolbar, const QString &bandKey, bool show);
    void SetToolbarTextRight(cToolbar *toolbar, const QString &bandKey, bool right);
    void SetToolbarLargeIcons(cToolbar *toolbar, bool large);
    // The rebar's place: 1 top, 2 bottom.
    int picHolderAlign() const { return m_picHolderAlign; }

    // ---- Skins: the one loaded at this start, the list, the choice for the next start.
    void EnumerateSkins();
    void BuildSkinsMenu(const QString &key);
    void SelectSkin(const QString &key);
    QPixmap SkinPicture;
    QString SkinPath() const { return m_skinPath; }

    // ---- Menus. The menu bar's menu lives for the run; the others exist while they show.
    enum class MenuKind {
        Main,
        Tab,
        New,
        Refresh,
        Stop,
        SearchEngines,
        Links,
        NavToolbar,
        SitesToolbar,
        Addressbar,
    };
    // What a click hands to a command: the chosen item's key, data and check mark.
    struct MenuChoice
    {
        QString key;
        qint32 itemData = 0;
        bool checked = false;
    };
    // Whether a click on an item with the key runs a command of that menu.
    static bool HasMenuCommand(MenuKind menu, const QString &key);
    // Runs the command of the item (keys compared exactly; an unknown key does nothing).
    void RunMenuCommand(MenuKind menu, const MenuChoice &choice);

    PopupMenu6 *m_cMenu = nullptr;
    PopupMenu6 *m_cTabMenu = nullptr;
    PopupMenu6 *m_cNew = nullptr;
    PopupMenu6 *m_cRefresh = nullptr;
    PopupMenu6 *m_cStop = nullptr;
    PopupMenu6 *m_cSearchEngines = nullptr;
    PopupMenu6 *m_cNavLinksToolbar = nullptr;
    PopupMenu6 *m_cNavToolbar = nullptr;
    PopupMenu6 *m_cSitesToolbar = nullptr;
    PopupMenu6 *m_cAddressbar = nullptr;
    void m_cMenu_Click(int ItemNumber);
    void m_cMenu_InitPopupMenu(int ParentItemNumber);
    void m_cTabMenu_Click(int ItemNumber);
    void m_cNew_Click(int ItemNumber);
    void m_cRefresh_Click(int ItemNumber);
    void m_cStop_Click(int ItemNumber);
    void m_cSearchEngines_Click(int ItemNumber);
    void m_cNavLinksToolbar_Click(int ItemNumber);
    void m_cNavToolbar_Click(int ItemNumber);
    void m_cSitesToolbar_Click(int ItemNumber);
    void m_cAddressbar_Click(int ItemNumber);
    // Menus shown under a button or at a screen point.
    void ShowNewMenu(const QPoint &at);
    void ShowTabMenu(frmDocument *document, const QPoint &at);
    // The Window menu: its rebuild, the windows it lists (active first) and its commands.
    void BuildWindowMenu(const QString &key);
    QList<Interface::WindowEntry> WindowMenuEntries() const;
    void DoWindowMenuCommand(qint32 code);
    // Check marks of the menu bar's items by key.
    bool MenuChecked(const QString &key) const;
    void SetMenuChecked(const QString &key, bool checked);
    bool MenuEnabled(const QString &key) const;

    // ---- Toolbar events.
    void Toolbar1_ButtonClick(int position);
    void Toolbar1_DropDownPress(int position);
    void Toolbar2_ButtonClick(int position);
    void Toolbar3_ButtonClick(int position);
    void Toolbar3_DropDownPress(int position);

    // ---- File, edit and view commands.
    void mnuFileOpen();
    void mnuFileSaveAs();
    void mnuFileProperties();
    void mnuFilePageSetup();
    void mnuFilePrintPreview();
    void mnuFilePrint();
    void mnuFileExit();
    void mnuEditUndoClose();
    void mnuEditCut();
    void mnuEditCopy();
    void PasteKeys();
    void SelectAll();
    void mnuEditFind();
    void ToggleBrowseToolbar();
    void ToggleSitesToolbar();
    void ToggleAddressBar();
    void mnuViewTabsBar();
    void mnuViewStatusBar();
    void ToggleSidebarMenu();
    void mnuAlignTop();
    void mnuAlignBottom();
    void mnuViewTabsShrinkAll();
    void mnuViewTabsShrinkActive();
    void mnuViewTabsShrinkAllbutActive();
    void mnuViewTabsResetAll();
    void mnuViewSource();
    void ImportIELinks();
    void mnuContentAutoFill_Click();
    void FillForm();
    void mnuContentImage_Click();
    void mnuContentSound_Click();
    void mnuContentVideo_Click();
    void mnuContentScripts_Click();
    void mnuContentJava_Click();
    void mnuContentDLACTX_Click();
    void mnuContentRUNACTX_Click();

    // ---- Commands whose windows and panels other parts of the program bring (placeholders
    // until then: they do nothing).
    void ToggleFullScreen();
    void ShowFavoritesPanel();
    void ShowHistoryPanel();
    void AddToFavorites();
    void OrganizeFavorites();
    void AddCurrentSiteToWhitelist();
    void ExecDocCommand2135();
    void mnuViewOptions();
    void ShowOptionsPage9();
    void ShowAbout();
    void mnuTabAutoRefreshCustom();
    void ShowTravelLogMenu(bool back, const QPoint &at);
    void OpenHomeSite();
    void OpenHelpPage();
    void OpenForum();
    void OpenGamesSite();
    void OpenBlog();
    void OpenContactPage();

    // ---- Status bar.
    void SetStatusText(const QString &text);
    // The active page's load percentage as text ("0" when idle).
    void SetProgressTag(const QString &text);
    QString ProgressTag() const;
    void SetSecureIcon(bool secure);
    cNoStatusBar *m_cStatusBar = nullptr;

    // The side bar, docked left of the documents.
    Sidebar *m_sidebar = nullptr;
    QDockWidget *m_sidebarDock = nullptr;
    void ShowSidebarSection(const QString &key);
    QWidget *picStatus = nullptr;
    cMediaProgress cProgress;

    // The one-second clock: date and time, and the timed checks.
    QTimer Clock;
    void Clock_Timer();
    void m_cStatusBar_DoubleClick(int panel, int x, int y);
    void m_cStatusBar_OwnerDraw(QPainter *painter, int panel, int &left, int &top, int &right,
                                int &bottom, bool &doDefault);

    // Mouse gestures: the stroke's setting picks one of seventeen commands.
    cMouseGestures *mouseGestures = nullptr;
    void mouseGestures_MouseGesture(qint32 gestureType, int xStart, int yStart, int xEnd, int yEnd,
                                    bool &acceptGesture);
    // Runs gesture action 1..17; 0 and unknown codes do nothing.
    void RunGestureAction(qint32 action);
    // The setting that holds the action of a stroke code (0 for an unknown code).
    static qint32 GestureAction(qint32 gestureType);
    void mnuFileClose();

    void LoadSettings();
    void SaveSettings();

    QMdiArea *mdiArea() const { return m_mdiArea; }

    // Controls.
    vbalDTabControl *vbalDTabControl1 = nullptr;
    QComboBox *Addressbar = nullptr;
    cToolbar *Toolbar1 = nullptr; // browse toolbar
    cToolbar *Toolbar2 = nullptr; // sites toolbar
    cToolbar *Toolbar3 = nullptr; // address toolbar
    cMenuBar *tbrMenu = nullptr;
    cToolbarHost *tbhMenu = nullptr;
    cReBar *cReBar1 = nullptr;
    QWidget *picTest = nullptr;  // the logo
    QWidget *Picture1 = nullptr; // holds the address field
    QWidget *Picture6 = nullptr; // holds the tab strip
    QLabel *lblFullScreenStatus = nullptr;

    // Public state of the frame.
    Qt::WindowStates g_windowState = Qt::WindowNoState;
    QString g_sLastClosedDocument;
    qint16 g_nSearchEngine = 0;
    bool g_bClosing = false;
    bool g_bAddressEditing = false;
    bool g_Focus = false;
    QString g_sNextSkin;

    bool PrevSessionCrashed() const { return m_bPrevSessionCrashed; }
    frmQSearch *QuickSearch() const;

    QMenu *createPopupMenu() override { return nullptr; }

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    using MenuCommand = void (*)(frmMain &frame, const MenuChoice &choice);
    static const QHash<QString, MenuCommand> &MenuCommands(MenuKind menu);
    // The one command of each placeholder family that another part of the program builds.
    void NotYetAvailable() {}
    void ShowMenu(PopupMenu6 *&slot, const std::function<void(PopupMenu6 &)> &build,
                  void (frmMain::*click)(int), const QPoint &at);
    QPoint BelowButton(cToolbar *toolbar, int position) const;
    void ToggleBand(const QString &bandKey, const QString &menuKey);
    void SetContentSwitch(bool SettingsModel::*setting, const char *menuKey, bool refreshAll);
    void MarkAutoRefresh(PopupMenu6 &menu, frmDocument *document);
    void SetAutoRefresh(frmDocument *document, int interval);
    void ShrinkTabs(int variant);
    void OpenLink(int link);
    void ToolbarOption(cToolbar *toolbar, const QString &bandKey, const QString &prefix,
                       const MenuChoice &choice);
    QString StripFile(bool large) const;
    QWidget *FocusedEditor() const;
    void OnSubWindowActivated(QMdiSubWindow *sub);
    frmDocument *RegisterDocument(const QString &address);
    void InsertTypedAddress(const QString &address);
    void OnTabMouseDown(int position, Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                        const QPoint &pos);
    void OnTabDoubleClick(int position);
    void MDIForm_QueryUnload();
    void MDIForm_Unload();
    // Runs one of the five site commands on the active document, or opens a new tab.
    void GoSite(const QString &address);

    QMdiArea *m_mdiArea = nullptr;
    QPointer<frmNavigator> m_navigator;
    QPointer<frmQSearch> m_qsearch;
    QPointer<frmDocument> m_activeDocument;
    QPointer<frmDocument> m_tabMenuDocument;
    QString m_skinPath;
    int m_picHolderAlign = 1;
    qint32 m_updateCounter = 0;
    bool m_bPrevSessionCrashed = false;
    bool m_bLoaded = false;
    bool m_bUnloaded = false;
};
