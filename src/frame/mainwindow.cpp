#include "mainwindow.h"

#include "addressbar.h"
#include "commandregistry.h"
#include "defaultbrowserdialog.h"
#include "core/appstate.h"
#include "core/crashnoticedialog.h"
#include "core/historystore.h"
#include "core/paths.h"
#include "core/settingsstore.h"
#include "core/shutdownsequence.h"
#include "core/singleinstance.h"
#include "core/strings.h"
#include "document/documentwindow.h"
#include "document/popupwhitelist.h"
#include "documenttabbar.h"
#include "downloadswindow.h"
#include "framechrome.h"
#include "framecommandhost.h"
#include "frameinput.h"
#include "frameoptionshost.h"
#include "frameparts.h"
#include "framesettings.h"
#include "framesidebarhost.h"
#include "framestatusbar.h"
#include "frametimers.h"
#include "frametray.h"
#include "framewindowstate.h"
#include "fullscreenbar.h"
#include "fullscreenmode.h"
#include "keyedmenu.h"
#include "menucontroller.h"
#include "navigationcommands.h"
#include "pagecommands.h"
#include "panelcommands.h"
#include "platform/webbrowser.h"
#include "quicksearchdialog.h"
#include "restoredocumentsdialog.h"
#include "sidebar/sidebar.h"
#include "sidebar/sidebarhost.h"
#include "skinpaint.h"
#include "viewcommands.h"
#include "widgets/notificationwindow.h"
#include "widgets/plainmessagebox.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDockWidget>
#include <QFile>
#include <QMdiArea>
#include <QMessageBox>
#include <QPainter>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QString kSettings = QStringLiteral("Settings");

} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent),
      m_documentArea(new DocumentArea(this, [this] { return createDocument(); }))
{
    setObjectName(QStringLiteral("frmMain"));
    auto *central = new QWidget(this);
    auto *column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(m_documentArea->mdiArea(), 1);
    setCentralWidget(central);
    m_commands = new CommandRegistry(this);

    // The side bar's dock sits left of the documents, below the toolbars.
    m_sidebarDock = new QDockWidget(this);
    m_sidebarDock->setObjectName(QStringLiteral("sidebarDock"));
    m_sidebarDock->setTitleBarWidget(new QWidget(m_sidebarDock));
    m_sidebarDock->setFeatures(QDockWidget::NoDockWidgetFeatures);
    addDockWidget(Qt::LeftDockWidgetArea, m_sidebarDock);
    setWindowIcon(QIcon(QStringLiteral(":/quarvel/quarvel.png")));

    // The status bar below the documents; the address bar and the chrome in the bands.
    m_statusBar = new FrameStatusBar(this);
    column->addWidget(m_statusBar->canvas());
    m_addressBar = new AddressBar(*m_documentArea, *m_commands, this);
    m_chrome = new FrameChrome(this, *m_commands, *m_addressBar, m_documentArea->tabBar());

    // Full screen: its bar sits above the documents and shows only then.
    auto *fullScreenBar = new FullScreenBar(central);
    fullScreenBar->setStatusLabel(m_statusBar->fullScreenStatusLabel());
    column->insertWidget(0, fullScreenBar);
    m_windowState = new FrameWindowState(this);

    // Every part exists: what reaches them is built on them.
    FrameParts parts;
    parts.frame = this;
    parts.documents = m_documentArea;
    parts.commands = m_commands;
    parts.chrome = m_chrome;
    parts.addressBar = m_addressBar;
    parts.statusBar = m_statusBar;
    parts.sidebarDock = m_sidebarDock;
    parts.fullScreenBar = fullScreenBar;
    parts.windowState = m_windowState;
    parts.quickSearch = [this] { return quickSearch(); };
    parts.showQuickSearch = [this] { showQuickSearch(); };
    parts.showSidebarSection = [this](const QString &key) { showSidebarSection(key); };
    parts.showOptions = [this](OptionsPageId page) { m_panelCommands->showOptions(page); };
    parts.closing = [this] { return m_unloaded; };
    buildOnParts(parts);
}

void MainWindow::buildOnParts(const FrameParts &parts)
{
    // The side bar, on its host.
    m_sidebar = new Sidebar((new FrameSidebarHost(parts))->host(), this);
    m_sidebarDock->setWidget(m_sidebar);
    connect(m_sidebar, &Sidebar::widthRequested, this,
            [this](int width) { resizeDocks({m_sidebarDock}, {width}, Qt::Horizontal); });

    // The commands and the menus, on theirs.
    m_commandHost = std::make_unique<FrameCommandHost>(parts);
    createCommands();
    connect(m_chrome, &FrameChrome::closeAllRequested, m_documentArea, &DocumentArea::closeAll);
    // Keys and gestures run the commands, wherever the focus is.
    m_input = new FrameInput(parts, this);
    m_fullScreen = new FullScreenMode(parts, this);
    connect(m_commands->add(QStringLiteral("mnuViewFullScreen")), &QAction::triggered, m_fullScreen,
            &FullScreenMode::toggle);
    connectDocumentArea();
    connectAddressBar();
    connectStatusBar();

    m_timers = new FrameTimers(parts, *m_sidebar, this);
    // The options dialog, on its host.
    m_optionsHost = std::make_unique<FrameOptionsHost>(parts, *m_sidebar, *m_timers);
    m_panelCommands =
        new PanelCommands(*m_commandHost, *m_commands, *m_menus, *m_sidebar, *m_optionsHost, this);
    // Every page's downloads, shown in a small window of the frame.
    auto *downloads = new DownloadsWindow(WebBrowser::sharedProfile(), this);
    connect(downloads, &DownloadsWindow::downloadRefused, m_statusBar, &FrameStatusBar::setStatusText);
    m_settings = std::make_unique<FrameSettings>(parts, *m_sidebar, *m_fullScreen, *m_timers,
                                                 *m_optionsHost);
}

MainWindow::~MainWindow()
{
    // Documents unload while the frame they report to is still whole (a frame destroyed
    // without being closed would otherwise have them reach its half-destroyed parts).
    m_documentArea->deleteAll();
}

void MainWindow::warnAboutFile(int messageId, const QString &file)
{
    plainMessageBox(this, QMessageBox::Warning, loadResString(100),
                    loadResString(messageId).arg(QDir::toNativeSeparators(file)));
}

void MainWindow::reportUnusableFiles(SettingsStore &store)
{
    const QString aside = store.takeSetAsideFile();
    if (!aside.isEmpty())
        warnAboutFile(store.setAsideKeptValues() ? 19903 : 19900, aside);
    if (store.lastWriteFailed())
        warnAboutFile(19901, store.filePath());
    // A store another program holds locked is tried again later; a damaged one is not.
    if (!HistoryStore::instance().isOpen() && !HistoryStore::instance().isLocked())
        warnAboutFile(19902, HistoryStore::defaultFile());
}

void MainWindow::startUp(const QString &commandLine)
{
    SettingsStore &store = SettingsStore::instance();

    // 1. Crash marker: read it, then set it until the unload clears it.
    m_prevSessionCrashed =
        SettingsModel::readBoolean(store, kSettings, QStringLiteral("PrevSessionCrashed"), false);
    SettingsModel::writeBoolean(store, kSettings, QStringLiteral("PrevSessionCrashed"), true);
    if (m_prevSessionCrashed) {
        CrashNoticeDialog warning(this);
        warning.exec();
    }
    // 2. Files of the user's that cannot be used are reported once, and browsing goes on.
    reportUnusableFiles(store);

    // 3. The installer an update left behind.
    QFile::remove(Paths::dataFile(QStringLiteral("qvsetup.exe")));

    // 4. The feed database (message 1200 when it cannot be opened) opens while the first page
    // loads and is used once open: the page does not wait for it.
    m_timers->openFeedDatabaseSoon();

    // 5. Captions.
    setProperty(kTagProperty, resId(1120));
    loadResStrings(this);

    // 6. The keyboard shortcuts.
    m_input->installShortcuts();

    // 7. Search engine.
    m_addressBar->setSearchEngine(
        SettingsModel::readInteger(store, kSettings, QStringLiteral("CurrentSearchEngine"), 0));

    // 8. Skin, toolbars, menu bar, band layout and status bar; a layout file that could not be
    // read is said once, as the settings file is.
    initInterface();
    const QString layoutAside = m_chrome->takeSetAsideLayoutFile();
    if (!layoutAside.isEmpty())
        warnAboutFile(19904, layoutAside);

    // 10. The favorites tree; the address given at start is its start node. A Favorites folder
    // of years takes long to scan: it is scanned once the window shows, unless the settings
    // still take their custom links from its "Links" folders (no list of their own saved yet).
    m_sidebar->setFavoritesStartTarget(commandLine);
    m_favoritesAfterShown = SettingsModel::readInteger(store, QStringLiteral("CustomLinks"),
                                                       QStringLiteral("CustomLinksCount"), -1) != -1;
    if (!m_favoritesAfterShown)
        m_sidebar->reloadFavorites();

    // 11. Every setting.
    m_settings->load(m_prevSessionCrashed);

    // 12. The default browser: asked about, or registered again as once answered.
    DefaultBrowserDialog::checkAtStartUp(this);

    // 13. The history tree and the website groups; the quick notes (and the popup whitelist)
    // are read once the window shows (loadAfterShown), or at their first use before that.
    m_sidebar->reloadHistory();
    m_sidebar->fillGroupList();

    // 14. The games page of the side bar loads with the feed database (FrameTimers), once
    // the first page has loaded: a second page loading meanwhile would hold that one up.

    // 15. First run: the quick tour and a welcome, nothing else.
    const bool firstTime =
        SettingsModel::readBoolean(store, kSettings, QStringLiteral("FirstTime"), true);
    if (firstTime) {
        SettingsModel::writeBoolean(store, kSettings, QStringLiteral("FirstTime"), false);
        m_commands->trigger(QStringLiteral("mnuHelpQuickTour"));
        // Shown once the frame is on the screen.
        NotificationWindow::of(this)->post({loadResString(1203), loadResString(1204), QString()});
    } else {
        // 16. Document-dependent commands.
        updateDocumentActions();
        // 17. Saved pages, or home page 1 when none are kept and no address was given.
        const SettingsModel &s = AppState::settings;
        if (s.saveDocumentOnExit) {
            if (s.loadAction == 1) {
                m_documentArea->loadAll();
            } else if (s.loadAction == 2) {
                if (SettingsModel::readInteger(store, kSettings, QStringLiteral("DocumentCount"), 0) > 0) {
                    RestoreDocumentsDialog restore(this);
                    restore.exec();
                    if (restore.loadChosen())
                        m_documentArea->loadAll();
                }
            }
        } else if (commandLine.isEmpty()) {
            openDocument(s.sitesHome1);
        }
        // 18. The command-line address, as the last tab.
        if (!commandLine.isEmpty()) {
            const QString address = SingleInstance::stripCommandLineQuotes(commandLine);
            if (!address.isEmpty())
                openDocument(address);
        }
    }
    updateDocumentActions();

    // 20. The clock; 21. the gestures.
    m_timers->start();
    m_input->attachGestures();
    m_loaded = true;
}

void MainWindow::showFrame()
{
    m_windowState->showFrame();
    // The rest is read once the window painted (paintEvent); a window that does not show (a
    // start to the tray) or paints late does not hold it up for long.
    QTimer::singleShot(isVisible() && !isMinimized() ? kLoadAfterShownLatestMs : 0, this,
                       &MainWindow::loadAfterShown);
}

void MainWindow::loadAfterShown()
{
    if (m_loadedAfterShown || m_unloaded)
        return;
    m_loadedAfterShown = true;
    // The whitelist first: the first page's popups are decided by it.
    ensureWhitelistLoaded();
    m_sidebar->ensureQuickNotesLoaded();
    if (m_favoritesAfterShown)
        m_sidebar->reloadFavorites();
}

void MainWindow::initInterface()
{
    // 1-3. The skin settings and the skin picture.
    m_chrome->loadSkin();
    m_documentArea->setSkinPicture(m_chrome->skinPicture());

    // 4. The side bar, its section tabs over the skin.
    m_sidebar->buildSidebar(m_chrome->skinPath());
    // 5. Toolbars.
    m_chrome->createToolbars();

    // 6, 7. The menu bar.
    m_chrome->createMenuBar();

    // 8. The bands.
    m_chrome->loadBandLayout(m_chrome->skinPath());

    // 9. The page-progress drawer of the status bar.
    m_statusBar->setUpProgressPainter();

    // 10. The status bar.
    m_statusBar->create(m_chrome->skinPath());

    // 11. The tab strip shows the skin through its band.
}

// ---------------------------------------------------------------- side bar and commands

void MainWindow::showSidebarSection(const QString &key)
{
    m_sidebarDock->show();
    m_commands->setChecked(QStringLiteral("mnuViewSidebar"), true);
    if (!AppState::fullScreen) {
        AppState::sidebarVisible = true;
        AppState::settings.enableSidebar = true;
    }
    m_sidebar->showSection(key);
}

void MainWindow::updateDocumentActions()
{
    // The browse toolbar's Back, Forward, Refresh and Stop buttons follow their commands.
    const bool enabled = m_documentArea->documentCount() > 0;
    for (const char *key : {"mnuFileClose",       "mnuFileSaveAs",       "mnuFileProperties",
                            "mnuFilePageSetup",   "mnuFilePrintPreview", "mnuFilePrint",
                            "mnuEditIncFont",     "mnuEditDecFont",      "mnuEditResetFont",
                            "mnuEditSelectAll",   "mnuEditFind",         "mnuViewAddToFav",
                            "mnuViewTabs",        "mnuViewSource",       "mnuViewInternetOptions",
                            "mnuNavigateBack",    "mnuNavigateForward",  "mnuNavigateStop",
                            "mnuNavigateRefresh", "mnuContentFillForm"})
        m_commands->setEnabled(QLatin1String(key), enabled);
    // The engine has no options dialog, Java or ActiveX: these commands can do nothing.
    for (const char *key :
         {"mnuViewInternetOptions", "mnuContentJava", "mnuContentDLACTX", "mnuContentRUNACTX"})
        m_commands->setEnabled(QLatin1String(key), false);
    if (m_sidebar)
        m_sidebar->setPageButtonsEnabled(enabled);
}

// ---------------------------------------------------------------- documents

DocumentWindow *MainWindow::activeDocument() const
{
    return m_commandHost->activeDocument();
}

DocumentWindow *MainWindow::createDocument()
{
    auto *document = new DocumentWindow;
    // The popup killer's indication shows on the status bar's "Item4" panel. A document may
    // still report while the frame is being destroyed (the status bar outlives the documents),
    // so the report goes to the status bar itself.
    connect(document, &DocumentWindow::popupIndicatorChanged, m_statusBar,
            &FrameStatusBar::setPopupIndicator);
    document->setPopupIndicatorReader(
        [statusBar = m_statusBar] { return statusBar->popupIndicator(); });
    // A click on a Flash placeholder: switched on after the page's navigation check returned.
    connect(document, &DocumentWindow::flashEnableRequested, this, &MainWindow::toggleFlash,
            Qt::QueuedConnection);
    return document;
}

void MainWindow::connectDocumentArea()
{
    DocumentArea *area = m_documentArea;
    connect(area, &DocumentArea::documentClosed, this, &MainWindow::onDocumentClosed);
    connect(area, &DocumentArea::documentCountChanged, this, &MainWindow::updateDocumentActions);
    connect(area, &DocumentArea::tabMenuRequested, this,
            [this](AbstractDocument *document, const QPoint &at) {
                m_menus->showTabMenu(qobject_cast<DocumentWindow *>(document), at);
            });
    connect(area, &DocumentArea::newMenuRequested, this,
            [this](const QPoint &at) { m_menus->showNewMenu(at); });
    connect(area, &DocumentArea::newTabRequested, this,
            [this] { m_commands->trigger(QStringLiteral("mnuFileNew")); });
    connect(area, &DocumentArea::navigatorCommandRequested, m_chrome, &FrameChrome::onNavigatorCommand);
}

void MainWindow::connectAddressBar()
{
    DocumentArea *area = m_documentArea;
    // The frame's caption names the active page, as a maximised document's caption joins it.
    connect(area, &DocumentArea::activeDocumentChanged, this, [this](AbstractDocument *document) {
        showPageInTitle(document ? document->windowTitle() : QString());
    });
    connect(area, &DocumentArea::currentTitleChanged, this, &MainWindow::showPageInTitle);
    connect(area, &DocumentArea::activeDocumentChanged, m_addressBar,
            &AddressBar::onActiveDocumentChanged);
    connect(area, &DocumentArea::currentAddressChanged, m_addressBar,
            &AddressBar::onCurrentAddressChanged);
    connect(area, &DocumentArea::addressOpened, m_addressBar, &AddressBar::insertTypedAddress);
}

void MainWindow::connectStatusBar()
{
    DocumentArea *area = m_documentArea;
    connect(area, &DocumentArea::currentStatusTextChanged, m_statusBar,
            &FrameStatusBar::setStatusText);
    connect(area, &DocumentArea::currentProgressChanged, m_statusBar,
            [this](int percent) { m_statusBar->setProgressText(QString::number(percent)); });
    connect(area, &DocumentArea::currentLoadingChanged, m_statusBar, &FrameStatusBar::setPageLoading);
    connect(area, &DocumentArea::currentSecureChanged, m_statusBar, &FrameStatusBar::setSecureIcon);
    connect(area, &DocumentArea::activeDocumentChanged, m_statusBar,
            [this](AbstractDocument *document) { m_statusBar->setHasActiveDocument(document); });
    connect(m_statusBar, &FrameStatusBar::panelDoubleClicked, this,
            &MainWindow::onStatusPanelDoubleClicked);
}

void MainWindow::showPageInTitle(const QString &pageTitle)
{
    const QString caption = loadResString(1120);
    setWindowTitle(pageTitle.isEmpty() || !activeDocument()
                       ? caption
                       : QStringLiteral("%1 - [%2]").arg(caption, pageTitle));
}

void MainWindow::onDocumentClosed(const QString &lastAddress)
{
    // Undo Close has something to bring back now.
    if (!lastAddress.isEmpty())
        m_commands->setEnabled(QStringLiteral("mnuEditUndoClose"), true);
}

// ---------------------------------------------------------------- commands

void MainWindow::createCommands()
{
    m_menus = new MenuController(*m_commandHost, *m_commands, this);
    // The chrome shows the menus it asks for.
    connect(m_chrome, &FrameChrome::menuBarRequested, m_menus, &MenuController::buildMenuBar);
    connect(m_chrome, &FrameChrome::menuPictureRequested, m_menus,
            [this](const QPixmap &picture) { m_menus->mainMenu()->setPicture(picture); });
    connect(m_chrome, &FrameChrome::toolbarOptionsRequested, m_menus,
            &MenuController::showToolbarOptions);
    connect(m_chrome, &FrameChrome::browseDropDownRequested, m_menus,
            &MenuController::showBrowseDropDown);
    connect(m_chrome, &FrameChrome::searchEnginesMenuRequested, m_menus,
            &MenuController::showSearchEnginesMenu);
    new NavigationCommands(*m_commandHost, *m_commands, this);
    new PageCommands(*m_commandHost, *m_commands, this);
    new ViewCommands(*m_commandHost, *m_commands, *m_menus, this);
}

void MainWindow::toggleFlash()
{
    m_commands->trigger(QStringLiteral("mnuContentFlash"));
}

void MainWindow::onStatusPanelDoubleClicked(int panel)
{
    if (panel == 3)
        m_commands->trigger(QStringLiteral("mnuViewOptions"));
    else if (panel == 4)
        m_commands->trigger(QStringLiteral("PopupKillerEnable"));
    else if (panel == 5)
        m_fullScreen->setFullScreen(true);
}

// ---------------------------------------------------------------- hand-over

void MainWindow::handOver(const QString &text)
{
    if (text.size() > 1) {
        openDocument(text);
        if (DocumentWindow *document = activeDocument())
            document->setWindowTitle(text);
    }
    m_windowState->bringBack();
}

// ---------------------------------------------------------------- quick search

QuickSearchDialog *MainWindow::quickSearch()
{
    if (!m_quickSearch) {
        m_quickSearch = new QuickSearchDialog(this);
        connect(m_quickSearch, &QuickSearchDialog::searchRequested, this,
                &MainWindow::openDocument);
    }
    return m_quickSearch;
}

void MainWindow::showQuickSearch()
{
    quickSearch();
    if (m_quickSearch->isVisible())
        return;
    m_quickSearch->exec();
}

// ---------------------------------------------------------------- frame life

void MainWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::WindowStateChange) {
        m_fullScreen->onWindowStateChanged();
        // Not minimised: the time shown is brought up to date.
        if (m_windowState->onWindowStateChanged())
            m_timers->showDateTime();
    }
    QMainWindow::changeEvent(event);
}

void MainWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    m_timers->showDateTime();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (m_loaded && !m_unloaded)
        closeInOrder();
    event->accept();
}

void MainWindow::endSession()
{
    if (!m_loaded || m_unloaded)
        return;
    closeInOrder();
    hide();
}

void MainWindow::closeInOrder()
{
    queryUnload();
    // Every document unloads, each removing its own entry, before the frame's unload.
    m_documentArea->closeAll();
    unload();
}

void MainWindow::queryUnload()
{
    if (AppState::settings.saveDocumentOnExit)
        m_documentArea->saveAll();
}

void MainWindow::unload()
{
    m_unloaded = true;
    SettingsStore &store = SettingsStore::instance();
    ShutdownSequence steps;
    // The clean-exit marker goes first, before anything that could take long or fail.
    steps.add(QStringLiteral("exitMarker"), [&store] {
        return SettingsModel::writeBoolean(store, kSettings, QStringLiteral("PrevSessionCrashed"),
                                           false);
    });
    // Ends a running feed check, purges old headlines and closes the database.
    steps.add(QStringLiteral("feeds"), [this] { return m_sidebar->unload(); });
    steps.addAction(QStringLiteral("keysAndGestures"), [this] { m_input->remove(); });
    steps.addAction(QStringLiteral("historyCleaning"), [this] { m_sidebar->cleanHistoryAtExit(); });
    steps.add(QStringLiteral("settings"), [this] { return m_settings->save(); });
    // The layout always keeps the four bands shown: whether each shows is a setting.
    steps.add(QStringLiteral("bandLayout"), [this] {
        for (const char *key : {"Toolbar1", "Toolbar2", "Addressbar", "Tabbar"})
            m_chrome->setBandVisible(QLatin1String(key), true);
        return m_chrome->saveBandLayout();
    });
    if (AppState::settings.minimizeToTray)
        steps.addAction(QStringLiteral("trayIcon"), [this] { m_windowState->tray()->removeIcon(); });
    steps.add(QStringLiteral("quickNotes"), [this] { return m_sidebar->saveQuickNotes(); });
    steps.addAction(QStringLiteral("historyReader"), [this] { m_sidebar->releaseHistoryReader(); });
    steps.addAction(QStringLiteral("toolbars"), [this] { m_chrome->destroyToolbars(); });
    steps.addAction(QStringLiteral("timers"), [this] { m_timers->stop(); });
    steps.addAction(QStringLiteral("navigator"), [this] { m_documentArea->closeNavigator(); });
    steps.addAction(QStringLiteral("trayAndQuickSearch"), [this] {
        m_windowState->tray()->removeIcon();
        if (m_quickSearch) {
            m_quickSearch->unload();
            m_quickSearch->close();
        }
    });
    // Whatever other window is still open (a tool window, a notice) goes with the frame.
    steps.addAction(QStringLiteral("otherWindows"), [this] {
        for (QWidget *window : QApplication::topLevelWidgets()) {
            if (window != this && window->isVisible())
                window->close();
        }
    });
    steps.addAction(QStringLiteral("instanceLock"), [] { SingleInstance::releaseInstanceMutex(); });
    const QStringList failed = steps.run(
        [this](const QString &step, bool succeeded) { emit unloadStepFinished(step, succeeded); });
    if (!failed.isEmpty())
        qWarning("Closing: could not complete %s", qPrintable(failed.join(QLatin1String(", "))));
}

void MainWindow::paintEvent(QPaintEvent *event)
{
    if (!m_loadedAfterShown && m_loaded)
        QTimer::singleShot(0, this, &MainWindow::loadAfterShown);
    // The skin behind the bands (their gaps show the window itself).
    if (!SkinPaint::usable(m_chrome->skinPicture()))
        return;
    QPainter painter(this);
    SkinPaint::paintSkinBackground(m_chrome->skinPicture(), painter, this, event->rect(),
                                   m_unloaded);
}
