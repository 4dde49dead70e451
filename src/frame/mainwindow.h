#pragma once

#include "frame/documents/documentarea.h"
#include "frameparts.h"
#include "frameservices.h"
#include "core/filesnapshot.h"

#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QString>

#include <memory>
#include <utility>

class SettingsStore;
class QDockWidget;
class AddressBar;
class CommandRegistry;
class DocumentWindow;
class FrameChrome;
class FrameCommandHost;
class FrameInput;
class FrameOptionsHost;
class FrameSettings;
class FrameStatusBar;
class FrameTimers;
class FrameWindowState;
class FullScreenMode;
class MenuController;
class PanelCommands;
class QuickSearchDialog;
class Sidebar;

// The frame: the main window that builds its parts (the document area, the commands and menus,
// the chrome, the address bar, the status bar, the side bar, the input, the timers, the window
// state and the settings) and wires them, and that runs the start-up, the hand-over and the
// close. Tests find the parts as the frame's children (findChild). What the window does itself
// its parts reach as FrameServices.
class MainWindow : public QMainWindow, private FrameServices
{
    Q_OBJECT
public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    // The load sequence; runs once, behind the splash, before the frame is first shown.
    // commandLine is the address given to this start (quotes not yet stripped).
    void startUp(const QString &commandLine);
    // Before the frame first shows: the event loop goes to the first page until it has loaded,
    // for at most atMostMs (nothing when no document is open, or a page has loaded). The engine carries
    // a load on only while the loop waits, and the window's first composition holds the thread
    // for tens of milliseconds: a page that loads fast has loaded by then, and a slower one has
    // its request out before that composition.
    void giveFirstPageAHeadStart(int atMostMs = kFirstPageHeadStartMs);
    static constexpr int kFirstPageHeadStartMs = 30;
    // Shows the frame in the state the settings asked for.
    void showFrame();
    // Reads what the start leaves until the window is on the screen (the popup whitelist, the
    // quick notes, a large Favorites folder); runs once, after the first paint when the first
    // page has loaded (kLoadAfterPaintLatestMs after the paint when it is still loading), or at
    // the latest kLoadAfterShownLatestMs after showFrame.
    void loadAfterShown();
    static constexpr int kLoadAfterShownLatestMs = 2000;
    static constexpr int kLoadAfterPaintLatestMs = 500;

    // A later start handed over its command line: open it and bring the window back.
    void handOver(const QString &text);

    // The program is asked to end from outside (a termination signal, the desktop session's
    // end): the close's own steps run now, in their order, and the frame goes from the screen.
    // The caller ends the program. Nothing happens before the load has completed.
    void endSession();
    // The program is asked to end before the load has completed (while a start-up question or
    // notice is open): nothing of this start is kept. The settings file goes back to what it
    // held before the start, crash marker included, and nothing else is saved; the caller ends
    // the program at once.
    void abandonStart();
    bool hasLoaded() const { return m_loaded; }
    // The close (or the session's end, or an abandoned start) has begun.
    bool hasUnloaded() const { return m_unloaded; }

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
    // What reaches the frame's parts: the side bar, the commands, the menus, the input, full
    // screen, the timers, the options dialog's host and the settings.
    void buildOnParts();
    // The commands and the menus.
    void createCommands();
    // Each part's signals to the parts that follow them.
    void connectDocumentArea();
    void connectAddressBar();
    void connectStatusBar();
    // The chrome, built once by the load.
    void initInterface();
    DocumentWindow *createDocument();
    DocumentWindow *activeDocument() const;
    void openDocument(const QString &address) { m_parts.documents->openDocument(address); }

    // What the window does for its parts.
    QuickSearchDialog *quickSearch() override;
    void showQuickSearch() override;
    void showSidebarSection(const QString &key) override;
    bool isClosing() const override { return m_unloaded; }

    // The steps of the load, in their order.
    // The crash marker: read (the notice of a crash shown), then set until the unload clears it.
    void markSessionStarted(SettingsStore &store);
    // The installer an update left behind goes.
    static void removeLeftInstaller();
    void loadCaptions();
    // The keyboard shortcuts and the search engine.
    void loadInputAndSearch(SettingsStore &store);
    // The chrome (initInterface); a layout file that could not be read is said once.
    void loadInterface();
    // The favorites tree, now or once the window shows.
    void loadFavorites(SettingsStore &store, const QString &commandLine);
    // The history tree and the website groups.
    void loadHistoryAndGroups();
    // A first run's quick tour and welcome; false on any later run.
    bool welcomeFirstRun(SettingsStore &store);
    // Saved pages or the home page, then the command line's address as the last tab.
    void openStartDocuments(SettingsStore &store, const QString &commandLine);
    // The clock and the gestures.
    void startClockAndGestures();
    // Enables the document-dependent commands by whether a document is open.
    void updateDocumentActions();
    // The content switch for Flash, as a page's Flash placeholder asks for it.
    void toggleFlash();
    void onStatusPanelDoubleClicked(int panel);
    void onDocumentClosed(const QString &lastAddress);
    // "Quarvel v2.7 - [page title]" while a document is active, else the caption alone.
    void showPageInTitle(const QString &pageTitle);
    // Tells once about a settings file set aside or not writable, or a history store that
    // cannot be opened.
    void reportUnusableFiles(SettingsStore &store);
    // A warning naming a file of the user's (the message's "%1"), over the frame.
    void warnAboutFile(int messageId, const QString &file);
    // Tells once about each save refused since the last time (something other than a regular
    // file stood in its place) and where what it held is kept, on standard error at the
    // session's end; the paths told.
    QStringList reportRefusedSaves();
    // The close: its request, every document's unload, then the frame's own.
    void closeInOrder();
    void queryUnload();
    void unload();

    // The parts, made once; the parts built on them refer to this one value.
    FrameParts m_parts;
    std::unique_ptr<FrameCommandHost> m_commandHost;
    std::unique_ptr<FrameOptionsHost> m_optionsHost;
    std::unique_ptr<FrameSettings> m_settings;
    MenuController *m_menus = nullptr;
    PanelCommands *m_panelCommands = nullptr;
    Sidebar *m_sidebar = nullptr; // in the parts' dock, left of the documents
    FrameInput *m_input = nullptr;
    FrameTimers *m_timers = nullptr;
    FullScreenMode *m_fullScreen = nullptr;
    QPointer<QuickSearchDialog> m_quickSearch;
    bool m_prevSessionCrashed = false;
    // The settings file as it was before this start, for an end before the load completed.
    FileSnapshot m_settingsBeforeStart;
    // The files this start moved aside as unreadable: where each was, and where it went.
    QList<std::pair<QString, QString>> m_movedAsideThisStart;
    bool m_reportingRefusedSaves = false;
    bool m_endingSession = false;
    bool m_loaded = false;
    // What the start reads once the window shows (loadAfterShown).
    bool m_favoritesAfterShown = false;
    bool m_loadedAfterShown = false;
    bool m_painted = false;
    bool m_pageLoaded = false; // a document completed a load
    // Set as the close begins its unload; what comes later is left undone.
    bool m_unloaded = false;
};
