#pragma once

#include "documentarea.h"
#include "framecommandhost.h"
#include "shortcutrules.h"

#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <memory>

class SettingsStore;
class QDockWidget;
class AddressBar;
class CommandRegistry;
class DocumentTabBar;
class DocumentWindow;
class FrameChrome;
class FrameOptionsHost;
class FrameStatusBar;
class FrameTray;
class FullScreenMode;
class KeyboardShortcuts;
class MenuController;
class MouseGestureRecognizer;
class PanelCommands;
class QuickSearchDialog;
class Sidebar;
struct SidebarHost;

// The frame: the main window that builds its parts (the document area, the commands and menus,
// the chrome, the address bar, the status bar, the side bar) and wires them, and that runs the
// start-up, the settings, the hand-over, the gestures and the close.
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

    // ---- The parts.
    DocumentArea *documentArea() const { return m_documentArea; }
    CommandRegistry *commands() const { return m_commands; }
    MenuController *menus() const { return m_menus; }
    FrameChrome *chrome() const { return m_chrome; }
    AddressBar *addressBar() const { return m_addressBar; }
    FrameStatusBar *frameStatusBar() const { return m_statusBar; }
    Sidebar *sidebar() const { return m_sidebar; }
    QDockWidget *sidebarDock() const { return m_sidebarDock; }
    // Null until the start-up attached the gestures.
    MouseGestureRecognizer *gestures() const { return m_gestures; }
    // The quick search box, made (hidden) on first use.
    QuickSearchDialog *quickSearch();
    FullScreenMode *fullScreen() const { return m_fullScreen; }

    // ---- Documents (forwarded to the document area).
    DocumentTabBar *tabBar() const { return m_documentArea->tabBar(); }
    QMdiArea *mdiArea() const { return m_documentArea->mdiArea(); }
    NavigatorPalette *navigator() { return m_documentArea->navigator(); }
    void openDocument(const QString &address) { m_documentArea->openDocument(address); }
    DocumentWindow *activeDocument() const { return m_commandHost->activeDocument(); }
    // All documents in tab order.
    QList<DocumentWindow *> documents() const { return m_commandHost->documents(); }
    void bringToFront(DocumentWindow *document) { m_commandHost->bringToFront(document); }
    // Tab actions: 0 front, 1 close, 2 toggle shrink, 3 tab menu, 4 refresh, 5 duplicate.
    void runTabAction(DocumentWindow *document, int action)
    {
        m_commandHost->runTabAction(document, action);
    }
    // What Undo Close brings back.
    QString lastClosedAddress() const { return m_documentArea->lastClosedAddress(); }
    // Saved pages.
    void saveAllDocuments() { m_documentArea->saveAll(); }
    void loadAllDocuments() { m_documentArea->loadAll(); }
    void closeAllDocuments() { m_documentArea->closeAll(); }

    // A later start handed over its command line: open it and bring the window back.
    void handOver(const QString &text);

    // The notification-area icon ("MinimizeToTray"); the options dialog adds and removes it too.
    FrameTray *tray() const { return m_tray; }
    void addTrayIcon();
    void removeTrayIcon();
    // A double click on the icon: the frame comes back, after the lock's password when one is set.
    void restoreFromTray();

    // The content switch for Flash, as a page's Flash placeholder asks for it.
    void toggleFlash();
    // The quick-search dialog the frame keeps.
    void showQuickSearch();
    // Shows the side bar, open on the section of the key.
    void showSidebarSection(const QString &key);
    // Enables the document-dependent commands by whether a document is open.
    void updateDocumentActions();

    // Mouse gestures: the stroke's setting picks one of seventeen commands.
    void onMouseGesture(qint32 gestureType, int xStart, int yStart, int xEnd, int yEnd,
                        bool &acceptGesture);

    bool prevSessionCrashed() const { return m_prevSessionCrashed; }
    // The periodic reloads of the side bar's favorites and history ("FavRefresh", "HistRefresh").
    const QTimer &favoritesTimer() const { return m_favoritesTimer; }
    const QTimer &historyTimer() const { return m_historyTimer; }

    QMenu *createPopupMenu() override { return nullptr; }

signals:
    // A step of the close has run (the steps of the close, in their order, each reported).
    void unloadStepFinished(const QString &step, bool succeeded);

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    // The command registry, the commands, the menus and the shortcuts, made by the constructor.
    void createCommands();
    // Each part's signals to the parts that follow them.
    void connectDocumentArea();
    void connectAddressBar();
    void connectStatusBar();
    // The chrome, built once by the load.
    void initInterface();
    void loadSettings();
    // False when the settings or the whitelist file could not be written.
    bool saveSettings();
    DocumentWindow *createDocument();
    // The one-second clock: date and time, and the timed checks.
    // The clock ticks at each full minute: the status bar's time and the periodic feed check.
    void onClockTick();
    void armClock();
    void onUpdateTimer();
    // Opens the feed database once, when the first page has loaded or a little later.
    void openFeedDatabase();
    void onStatusPanelDoubleClicked(int panel);
    void onShortcut(ShortcutRules::Action action);
    // A menu key the window did not take (the focus in a page): its item runs or its menu opens.
    void onMenuKey(QKeyCombination key);
    void onDocumentClosed(const QString &lastAddress);
    // "Quarvel v2.7 - [page title]" while a document is active, else the caption alone.
    void showPageInTitle(const QString &pageTitle);
    // Tells once about a settings file set aside or not writable, or a history store that
    // cannot be opened.
    void reportUnusableFiles(SettingsStore &store);
    void queryUnload();
    void unload();
    // The side bar's host members openDocument, setStatusText, isClosing and showTip (notices
    // in the frame's notification window); each does nothing (or reports closing) once the
    // frame is gone. In sidebarhostfactory.cpp.
    SidebarHost makeSidebarHost();

    DocumentArea *m_documentArea = nullptr;
    std::unique_ptr<FrameCommandHost> m_commandHost;
    std::unique_ptr<FrameOptionsHost> m_optionsHost;
    CommandRegistry *m_commands = nullptr;
    MenuController *m_menus = nullptr;
    PanelCommands *m_panelCommands = nullptr;
    Sidebar *m_sidebar = nullptr; // docked left of the documents
    QDockWidget *m_sidebarDock = nullptr;
    FrameStatusBar *m_statusBar = nullptr;
    AddressBar *m_addressBar = nullptr;
    FrameChrome *m_chrome = nullptr;
    MouseGestureRecognizer *m_gestures = nullptr;
    KeyboardShortcuts *m_shortcuts = nullptr;
    FrameTray *m_tray = nullptr;
    FullScreenMode *m_fullScreen = nullptr;
    QPointer<QuickSearchDialog> m_quickSearch;
    QTimer m_clock;
    QTimer m_updateTimer;
    QTimer m_feedDatabaseOpener;
    QTimer m_favoritesTimer;
    QTimer m_historyTimer;
    Qt::WindowStates m_normalWindowState = Qt::WindowNoState;
    bool m_prevSessionCrashed = false;
    bool m_loaded = false;
    bool m_unloaded = false;
    bool m_closing = false;
};
