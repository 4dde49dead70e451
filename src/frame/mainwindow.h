#pragma once

#include "core/settingsmodel.h"
#include "navigatorpalette.h"
#include "widgets/progresspainter.h"

#include <QMainWindow>
#include <QPixmap>
#include <QPointer>

#include <QString>
#include <QTimer>

#include <memory>

class QComboBox;
class QLabel;
class QMdiArea;
class QToolBar;
class QAction;
class AbstractDocument;
class DocumentArea;
class DocumentWindow;
class NewWindowRequest;
class QuickSearchDialog;
class DocumentTabBar;
class MouseGestureRecognizer;
class PanelStatusBar;
class QDockWidget;
class Sidebar;
class KeyedMenuBar;
class StripToolBar;
class MenuBarHost;
class ToolBarBands;
class CommandHost;
class CommandRegistry;
class MenuController;
struct SidebarHost;

// The frame: the main window around the document area (the document windows, their tabs and
// the navigator palette), with the address bar, the status bar and the registry of its commands.
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

    // ---- Documents (forwarded to the document area).
    DocumentArea *documentArea() const { return m_documentArea; }
    DocumentTabBar *tabBar() const;
    void openDocument(const QString &address);
    // Lets a page's new-window request through into a new document window.
    DocumentWindow *openPopup(NewWindowRequest &request);
    NavigatorPalette *navigator();
    DocumentWindow *activeDocument() const;
    // All documents in tab order.
    QList<DocumentWindow *> documents() const;
    void bringToFront(DocumentWindow *document);
    // Tab actions: 0 front, 1 close, 2 toggle shrink, 3 tab menu, 4 refresh, 5 duplicate.
    void runTabAction(DocumentWindow *document, int action);
    // What Undo Close brings back.
    QString lastClosedAddress() const;

    // A later start handed over its command line: open it and bring the window back.
    void handOver(const QString &text);

    // ---- The commands: one action each, by its key; the menus that run them.
    CommandRegistry *commands() const { return m_commands; }
    MenuController *menus() const { return m_menus; }

    // The content switch for Flash, as a page's Flash placeholder asks for it.
    void toggleFlash();

    // The dialogs the frame keeps.
    void showQuickSearch();
    void showWindowList();

    // ---- Address bar and search engines.
    void searchWeb(int engine, const QString &text);
    // Enter in the address bar, with the modifier state of that key.
    void onAddressEnter(bool ctrl, bool shift);
    void onAddressSelected();
    void onGoButton();
    QStringList typedAddresses() const;
    void setAddressText(const QString &text);
    QString addressText() const;
    bool goNewDown() const;
    void setGoNew(bool down);

    // ---- Saved pages.
    void saveAllDocuments();
    void loadAllDocuments();
    void closeAllDocuments();

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
    void setBandsAlignment(int alignment);

    // ---- Skins: the one loaded at this start, the list, the choice for the next start.
    void enumerateSkins();
    QPixmap skinPicture;
    QString skinPath() const { return m_skinPath; }

    // ---- Toolbar events: a button runs its command, a drop-down arrow or a right click
    // (position -1) opens a menu.
    void onBrowseButtonClicked(int position);
    void onBrowseDropDown(int position);
    void onSitesButtonClicked(int position);
    void onAddressButtonClicked(int position);
    void onAddressDropDown(int position);

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
    // The setting that holds the action of a stroke code (0 for an unknown code).
    static qint32 gestureAction(qint32 gestureType);

    void loadSettings();
    void saveSettings();

    QMdiArea *mdiArea() const;

    // Controls.
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
    // The command registry, the commands, the menus and the shortcuts, made by the constructor.
    void createCommands();
    // A toolbar button's click runs its command; a right click (-1) opens the option menu.
    void onToolbarButtonClicked(StripToolBar *toolbar, const QString &bandKey, int position);
    // Toolbar buttons show the enabled and checked state of their commands.
    void bindButtonStates(StripToolBar *toolbar, const QString &bandKey);
    QPoint belowButton(StripToolBar *toolbar, int position) const;
    QString stripFile(bool large) const;
DocumentWindow *createDocument();
    void connectDocumentArea();
    void onActiveDocumentChanged(AbstractDocument *document);
    void onCurrentAddressChanged(const QString &address);
    void onDocumentClosed(const QString &lastAddress);
    void onNavigatorCommand(NavigatorPalette::Command command);
    void insertTypedAddress(const QString &address);
    void queryUnload();
    void unload();
    // The side bar's host members openDocument, setStatusText and isClosing; each does
    // nothing (or reports closing) once the frame is gone. In sidebarhostfactory.cpp.
    SidebarHost makeSidebarHost();

    DocumentArea *m_documentArea = nullptr;
    QPointer<QuickSearchDialog> m_quickSearch;
std::unique_ptr<CommandHost> m_commandHost;
    CommandRegistry *m_commands = nullptr;
    MenuController *m_menus = nullptr;
    QString m_skinPath;
    int m_bandsAlignment = 1;
    qint32 m_updateCounter = 0;
    bool m_prevSessionCrashed = false;
    bool m_loaded = false;
    bool m_unloaded = false;
};
