#include "mainwindow.h"

#include "core/appstate.h"
#include "core/crashnoticedialog.h"
#include "core/historystore.h"
#include "core/paths.h"
#include "core/saverefusalnotifier.h"
#include "core/settingsstore.h"
#include "core/shutdownsequence.h"
#include "core/singleinstance.h"
#include "core/strings.h"
#include "core/userfile.h"
#include "document/documentwindow.h"
#include "document/popupwhitelist.h"
#include "frame/address/addressbar.h"
#include "frame/address/quicksearchdialog.h"
#include "frame/chrome/framechrome.h"
#include "frame/chrome/framestatusbar.h"
#include "frame/chrome/fullscreenbar.h"
#include "frame/chrome/keyedmenu.h"
#include "frame/chrome/skinpaint.h"
#include "frame/commands/commandregistry.h"
#include "frame/commands/menucontroller.h"
#include "frame/commands/navigationcommands.h"
#include "frame/commands/pagecommands.h"
#include "frame/commands/panelcommands.h"
#include "frame/commands/viewcommands.h"
#include "frame/dialogs/defaultbrowserdialog.h"
#include "frame/dialogs/downloadswindow.h"
#include "frame/dialogs/restoredocumentsdialog.h"
#include "frame/documents/documenttabbar.h"
#include "framecommandhost.h"
#include "frameinput.h"
#include "frameoptionshost.h"
#include "frameparts.h"
#include "framesettings.h"
#include "framesidebarhost.h"
#include "frametimers.h"
#include "frametray.h"
#include "framewindowstate.h"
#include "fullscreenmode.h"
#include "platform/webbrowser.h"
#include "sidebar/sidebar.h"
#include "sidebar/sidebarhost.h"
#include "widgets/notificationwindow.h"
#include "widgets/plainmessagebox.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDockWidget>
#include <QEventLoop>
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

MainWindow::MainWindow(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmMain"));
    m_parts.frame = this;
    m_parts.services = this;
    m_parts.documents = new DocumentArea(this, [this] { return createDocument(); });
    auto *central = new QWidget(this);
    auto *column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(m_parts.documents->mdiArea(), 1);
    setCentralWidget(central);
    m_parts.commands = new CommandRegistry(this);

    // The side bar's dock sits left of the documents, below the toolbars.
    QDockWidget *dock = m_parts.sidebarDock = new QDockWidget(this);
    dock->setObjectName(QStringLiteral("sidebarDock"));
    dock->setTitleBarWidget(new QWidget(dock));
    dock->setFeatures(QDockWidget::NoDockWidgetFeatures);
    addDockWidget(Qt::LeftDockWidgetArea, dock);
    setWindowIcon(QIcon(QStringLiteral(":/quarvel/quarvel.png")));

    // The status bar below the documents; the address bar and the chrome in the bands.
    m_parts.statusBar = new FrameStatusBar(this);
    column->addWidget(m_parts.statusBar->canvas());
    m_parts.addressBar = new AddressBar(*m_parts.documents, *m_parts.commands, this);
    m_parts.chrome = new FrameChrome(this, *m_parts.commands, *m_parts.addressBar, m_parts.documents->tabBar());

    // Full screen: its bar sits above the documents and shows only then.
    m_parts.fullScreenBar = new FullScreenBar(central);
    m_parts.fullScreenBar->setStatusLabel(m_parts.statusBar->fullScreenStatusLabel());
    column->insertWidget(0, m_parts.fullScreenBar);
    m_parts.windowState = new FrameWindowState(this);

    // Every part exists: what reaches them is built on them.
    buildOnParts();
}

void MainWindow::buildOnParts()
{
    // The side bar, on its host.
    m_sidebar = new Sidebar((new FrameSidebarHost(m_parts))->host(), this);
    m_parts.sidebarDock->setWidget(m_sidebar);
    connect(m_sidebar, &Sidebar::widthRequested, this,
            [this](int width) { resizeDocks({m_parts.sidebarDock}, {width}, Qt::Horizontal); });

    // The commands and the menus, on theirs.
    m_commandHost = std::make_unique<FrameCommandHost>(m_parts);
    createCommands();
    connect(m_parts.chrome, &FrameChrome::closeAllRequested, m_parts.documents, &DocumentArea::closeAll);
    // Keys and gestures run the commands, wherever the focus is.
    m_input = new FrameInput(m_parts, this);
    m_fullScreen = new FullScreenMode(m_parts, this);
    connect(m_parts.commands->add(QStringLiteral("mnuViewFullScreen")), &QAction::triggered, m_fullScreen,
            &FullScreenMode::toggle);
    connectDocumentArea();
    connectAddressBar();
    connectStatusBar();

    m_timers = new FrameTimers(m_parts, *m_sidebar, this);
    // The options dialog, on its host.
    m_optionsHost = std::make_unique<FrameOptionsHost>(m_parts, *m_sidebar, *m_timers);
    m_panelCommands =
        new PanelCommands(*m_commandHost, *m_parts.commands, *m_menus, *m_sidebar, *m_optionsHost, this);
    // Every page's downloads, shown in a small window of the frame.
    auto *downloads = new DownloadsWindow(WebBrowser::sharedProfile(), this);
    connect(downloads, &DownloadsWindow::downloadRefused, m_parts.statusBar, &FrameStatusBar::setStatusText);
    m_settings = std::make_unique<FrameSettings>(m_parts, *m_sidebar, *m_fullScreen, *m_timers,
                                                 *m_optionsHost);
}

MainWindow::~MainWindow()
{
    // Documents unload while the frame they report to is still whole (a frame destroyed
    // without being closed would otherwise have them reach its half-destroyed parts).
    m_parts.documents->deleteAll();
}

void MainWindow::warnAboutFile(int messageId, const QString &file)
{
    plainMessageBox(this, QMessageBox::Warning, loadResString(100),
                    loadResString(messageId).arg(QDir::toNativeSeparators(file)));
}

QStringList MainWindow::reportRefusedSaves()
{
    QStringList told;
    // A notice open is a loop of its own: what is refused meanwhile is told after it.
    if (m_reportingRefusedSaves)
        return told;
    m_reportingRefusedSaves = true;
    for (QList<UserFile::RefusedSave> refused = UserFile::takeRefusedSaves(); !refused.isEmpty();
         refused = UserFile::takeRefusedSaves()) {
        for (const UserFile::RefusedSave &save : std::as_const(refused)) {
            const QString path = QDir::toNativeSeparators(save.path);
            const QString text = save.keptAs.isEmpty()
                                     ? loadResString(19906).arg(path)
                                     : loadResString(19905).arg(path, QDir::toNativeSeparators(save.keptAs));
            // At the session's end nobody is there to answer a notice.
            if (m_endingSession)
                qWarning("%s", qPrintable(text));
            else
                plainMessageBox(this, QMessageBox::Warning, loadResString(100), text);
            told << save.path;
        }
    }
    m_reportingRefusedSaves = false;
    return told;
}

void MainWindow::reportUnusableFiles(SettingsStore &store)
{
    const QString aside = store.takeSetAsideFile();
    if (!aside.isEmpty()) {
        if (!store.setAsideKeptValues())
            m_movedAsideThisStart.append({store.filePath(), aside});
        warnAboutFile(store.setAsideKeptValues() ? 19903 : 19900, aside);
    }
    // A save refused so far is told now, and one refused later once the save is done with.
    const QStringList refused = reportRefusedSaves();
    connect(&UserFile::refusalNotifier(), &SaveRefusalNotifier::saveRefused, this,
            &MainWindow::reportRefusedSaves, Qt::QueuedConnection);
    if (store.lastWriteFailed() && !refused.contains(store.filePath()))
        warnAboutFile(19901, store.filePath());
    // A store another program holds locked is tried again later; a damaged one is not.
    if (!HistoryStore::instance().isOpen() && !HistoryStore::instance().isLocked())
        warnAboutFile(19902, HistoryStore::defaultFile());
}

void MainWindow::startUp(const QString &commandLine)
{
    SettingsStore &store = SettingsStore::instance();
    m_settingsBeforeStart = FileSnapshot::of(store.filePath());
    markSessionStarted(store);
    // Files of the user's that cannot be used are reported once, and browsing goes on.
    reportUnusableFiles(store);
    removeLeftInstaller();
    // The feed database (message 1200 when it cannot be opened) opens while the first page
    // loads and is used once open: the page does not wait for it.
    m_timers->openFeedDatabaseSoon();
    loadCaptions();
    loadInputAndSearch(store);
    loadInterface();
    loadFavorites(store, commandLine);
    m_settings->load(m_prevSessionCrashed);
    // The default browser: asked about, or registered again as once answered.
    DefaultBrowserDialog::checkAtStartUp(this);
    loadHistoryAndGroups();
    // The games page of the side bar loads with the feed database (FrameTimers), once the
    // first page has loaded: a second page loading meanwhile would hold that one up.
    if (!welcomeFirstRun(store)) {
        updateDocumentActions();
        openStartDocuments(store, commandLine);
    }
    updateDocumentActions();
    startClockAndGestures();
    m_loaded = true;
}

void MainWindow::markSessionStarted(SettingsStore &store)
{
    m_prevSessionCrashed =
        SettingsModel::readBoolean(store, kSettings, QStringLiteral("PrevSessionCrashed"), false);
    SettingsModel::writeBoolean(store, kSettings, QStringLiteral("PrevSessionCrashed"), true);
    if (m_prevSessionCrashed) {
        CrashNoticeDialog warning(this);
        warning.exec();
    }
}

void MainWindow::removeLeftInstaller()
{
    QFile::remove(Paths::dataFile(QStringLiteral("qvsetup.exe")));
}

void MainWindow::loadCaptions()
{
    setProperty(kTagProperty, resId(1120));
    loadResStrings(this);
}

void MainWindow::loadInputAndSearch(SettingsStore &store)
{
    m_input->installShortcuts();
    m_parts.addressBar->setSearchEngine(
        SettingsModel::readInteger(store, kSettings, QStringLiteral("CurrentSearchEngine"), 0));
}

void MainWindow::loadInterface()
{
    // Skin, toolbars, menu bar, band layout and status bar.
    initInterface();
    const QString layoutAside = m_parts.chrome->takeSetAsideLayoutFile();
    if (!layoutAside.isEmpty()) {
        m_movedAsideThisStart.append({FrameChrome::layoutFile(), layoutAside});
        warnAboutFile(19904, layoutAside);
    }
}

void MainWindow::loadFavorites(SettingsStore &store, const QString &commandLine)
{
    // The address given at start is the tree's start node. A Favorites folder of years takes
    // long to scan: it is scanned once the window shows, unless the settings still take their
    // custom links from its "Links" folders (no list of their own saved yet).
    m_sidebar->setFavoritesStartTarget(commandLine);
    m_favoritesAfterShown = SettingsModel::readInteger(store, QStringLiteral("CustomLinks"),
                                                       QStringLiteral("CustomLinksCount"), -1) != -1;
    if (!m_favoritesAfterShown)
        m_sidebar->reloadFavorites();
}

void MainWindow::loadHistoryAndGroups()
{
    // The quick notes (and the popup whitelist) are read once the window shows
    // (loadAfterShown), or at their first use before that.
    m_sidebar->reloadHistory();
    m_sidebar->fillGroupList();
}

bool MainWindow::welcomeFirstRun(SettingsStore &store)
{
    if (!SettingsModel::readBoolean(store, kSettings, QStringLiteral("FirstTime"), true))
        return false;
    // The quick tour and a welcome, nothing else.
    SettingsModel::writeBoolean(store, kSettings, QStringLiteral("FirstTime"), false);
    m_parts.commands->trigger(QStringLiteral("mnuHelpQuickTour"));
    // Shown once the frame is on the screen.
    NotificationWindow::of(this)->post({loadResString(1203), loadResString(1204), QString()});
    return true;
}

void MainWindow::openStartDocuments(SettingsStore &store, const QString &commandLine)
{
    // Saved pages, or home page 1 when none are kept and no address was given.
    const SettingsModel &s = AppState::settings;
    if (s.saveDocumentOnExit) {
        if (s.loadAction == 1) {
            m_parts.documents->loadAll();
        } else if (s.loadAction == 2) {
            if (SettingsModel::readInteger(store, kSettings, QStringLiteral("DocumentCount"), 0) > 0) {
                RestoreDocumentsDialog restore(this);
                restore.exec();
                if (restore.loadChosen())
                    m_parts.documents->loadAll();
            }
        }
    } else if (commandLine.isEmpty()) {
        openDocument(s.sitesHome1);
    }
    // The command-line address, as the last tab.
    if (!commandLine.isEmpty()) {
        const QString address = SingleInstance::stripCommandLineQuotes(commandLine);
        if (!address.isEmpty())
            openDocument(address);
    }
}

void MainWindow::startClockAndGestures()
{
    m_timers->start();
    m_input->attachGestures();
}

void MainWindow::giveFirstPageAHeadStart(int atMostMs)
{
    if (m_pageLoaded || m_unloaded || m_parts.documents->documentCount() == 0)
        return;
    QEventLoop loop;
    QTimer::singleShot(atMostMs, &loop, &QEventLoop::quit);
    connect(m_parts.documents, &DocumentArea::pageLoaded, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

void MainWindow::showFrame()
{
    m_parts.windowState->showFrame();
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
    m_parts.chrome->loadSkin();
    m_parts.documents->setSkinPicture(m_parts.chrome->skinPicture());

    // 4. The side bar, its section tabs over the skin.
    m_sidebar->buildSidebar(m_parts.chrome->skinPath());
    // 5. Toolbars.
    m_parts.chrome->createToolbars();

    // 6, 7. The menu bar.
    m_parts.chrome->createMenuBar();

    // 8. The bands.
    m_parts.chrome->loadBandLayout(m_parts.chrome->skinPath());

    // 9. The page-progress drawer of the status bar.
    m_parts.statusBar->setUpProgressPainter();

    // 10. The status bar.
    m_parts.statusBar->create(m_parts.chrome->skinPath());

    // 11. The tab strip shows the skin through its band.
}

// ---------------------------------------------------------------- side bar and commands

void MainWindow::showSidebarSection(const QString &key)
{
    m_parts.sidebarDock->show();
    m_parts.commands->setChecked(QStringLiteral("mnuViewSidebar"), true);
    if (!AppState::fullScreen) {
        AppState::sidebarVisible = true;
        AppState::settings.enableSidebar = true;
    }
    m_sidebar->showSection(key);
}

void MainWindow::updateDocumentActions()
{
    // The browse toolbar's Back, Forward, Refresh and Stop buttons follow their commands.
    const bool enabled = m_parts.documents->documentCount() > 0;
    for (const char *key : {"mnuFileClose",       "mnuFileSaveAs",       "mnuFileProperties",
                            "mnuFilePageSetup",   "mnuFilePrintPreview", "mnuFilePrint",
                            "mnuEditIncFont",     "mnuEditDecFont",      "mnuEditResetFont",
                            "mnuEditSelectAll",   "mnuEditFind",         "mnuViewAddToFav",
                            "mnuViewTabs",        "mnuViewSource",       "mnuViewInternetOptions",
                            "mnuNavigateBack",    "mnuNavigateForward",  "mnuNavigateStop",
                            "mnuNavigateRefresh", "mnuContentFillForm"})
        m_parts.commands->setEnabled(QLatin1String(key), enabled);
    // The engine has no options dialog, Java or ActiveX: these commands can do nothing.
    for (const char *key :
         {"mnuViewInternetOptions", "mnuContentJava", "mnuContentDLACTX", "mnuContentRUNACTX"})
        m_parts.commands->setEnabled(QLatin1String(key), false);
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
    connect(document, &DocumentWindow::popupIndicatorChanged, m_parts.statusBar,
            &FrameStatusBar::setPopupIndicator);
    document->setPopupIndicatorReader(
        [statusBar = m_parts.statusBar] { return statusBar->popupIndicator(); });
    // A click on a Flash placeholder: switched on after the page's navigation check returned.
    connect(document, &DocumentWindow::flashEnableRequested, this, &MainWindow::toggleFlash,
            Qt::QueuedConnection);
    return document;
}

void MainWindow::connectDocumentArea()
{
    DocumentArea *area = m_parts.documents;
    connect(area, &DocumentArea::documentClosed, this, &MainWindow::onDocumentClosed);
    connect(area, &DocumentArea::documentCountChanged, this, &MainWindow::updateDocumentActions);
    connect(area, &DocumentArea::tabMenuRequested, this,
            [this](AbstractDocument *document, const QPoint &at) {
                m_menus->showTabMenu(qobject_cast<DocumentWindow *>(document), at);
            });
    connect(area, &DocumentArea::newMenuRequested, this,
            [this](const QPoint &at) { m_menus->showNewMenu(at); });
    connect(area, &DocumentArea::newTabRequested, this,
            [this] { m_parts.commands->trigger(QStringLiteral("mnuFileNew")); });
    connect(area, &DocumentArea::navigatorCommandRequested, m_parts.chrome, &FrameChrome::onNavigatorCommand);
    connect(area, &DocumentArea::pageLoaded, this, [this] {
        m_pageLoaded = true;
        if (m_painted && !m_loadedAfterShown)
            QTimer::singleShot(0, this, &MainWindow::loadAfterShown);
    });
}

void MainWindow::connectAddressBar()
{
    DocumentArea *area = m_parts.documents;
    // The frame's caption names the active page, as a maximised document's caption joins it.
    connect(area, &DocumentArea::activeDocumentChanged, this, [this](AbstractDocument *document) {
        showPageInTitle(document ? document->windowTitle() : QString());
    });
    connect(area, &DocumentArea::currentTitleChanged, this, &MainWindow::showPageInTitle);
    connect(area, &DocumentArea::activeDocumentChanged, m_parts.addressBar,
            &AddressBar::onActiveDocumentChanged);
    connect(area, &DocumentArea::currentAddressChanged, m_parts.addressBar,
            &AddressBar::onCurrentAddressChanged);
    connect(area, &DocumentArea::addressOpened, m_parts.addressBar, &AddressBar::insertTypedAddress);
}

void MainWindow::connectStatusBar()
{
    DocumentArea *area = m_parts.documents;
    connect(area, &DocumentArea::currentStatusTextChanged, m_parts.statusBar,
            &FrameStatusBar::setStatusText);
    connect(area, &DocumentArea::currentProgressChanged, m_parts.statusBar,
            [this](int percent) { m_parts.statusBar->setProgressText(QString::number(percent)); });
    connect(area, &DocumentArea::currentLoadingChanged, m_parts.statusBar, &FrameStatusBar::setPageLoading);
    connect(area, &DocumentArea::currentSecureChanged, m_parts.statusBar, &FrameStatusBar::setSecureIcon);
    connect(area, &DocumentArea::activeDocumentChanged, m_parts.statusBar,
            [this](AbstractDocument *document) { m_parts.statusBar->setHasActiveDocument(document); });
    connect(m_parts.statusBar, &FrameStatusBar::panelDoubleClicked, this,
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
        m_parts.commands->setEnabled(QStringLiteral("mnuEditUndoClose"), true);
}

// ---------------------------------------------------------------- commands

void MainWindow::createCommands()
{
    m_menus = new MenuController(*m_commandHost, *m_parts.commands, this);
    // The chrome shows the menus it asks for.
    connect(m_parts.chrome, &FrameChrome::menuBarRequested, m_menus, &MenuController::buildMenuBar);
    connect(m_parts.chrome, &FrameChrome::menuPictureRequested, m_menus,
            [this](const QPixmap &picture) { m_menus->mainMenu()->setPicture(picture); });
    connect(m_parts.chrome, &FrameChrome::toolbarOptionsRequested, m_menus,
            &MenuController::showToolbarOptions);
    connect(m_parts.chrome, &FrameChrome::browseDropDownRequested, m_menus,
            &MenuController::showBrowseDropDown);
    connect(m_parts.chrome, &FrameChrome::searchEnginesMenuRequested, m_menus,
            &MenuController::showSearchEnginesMenu);
    new NavigationCommands(*m_commandHost, *m_parts.commands, this);
    new PageCommands(*m_commandHost, *m_parts.commands, this);
    new ViewCommands(*m_commandHost, *m_parts.commands, *m_menus, this);
}

void MainWindow::toggleFlash()
{
    m_parts.commands->trigger(QStringLiteral("mnuContentFlash"));
}

void MainWindow::onStatusPanelDoubleClicked(int panel)
{
    if (panel == 3)
        m_parts.commands->trigger(QStringLiteral("mnuViewOptions"));
    else if (panel == 4)
        m_parts.commands->trigger(QStringLiteral("PopupKillerEnable"));
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
    m_parts.windowState->bringBack();
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
        if (m_parts.windowState->onWindowStateChanged())
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
    m_endingSession = true;
    closeInOrder();
    hide();
}

void MainWindow::abandonStart()
{
    if (m_loaded || m_unloaded)
        return;
    m_unloaded = true;
    // What the store holds in memory is left as it is: nothing writes it any more.
    m_settingsBeforeStart.restore();
    // A file this start moved aside as unreadable goes back where it was, to be found (and
    // said) again by the next start.
    for (const auto &[original, aside] : std::as_const(m_movedAsideThisStart)) {
        if (UserFile::find(original) == UserFile::Found::Nothing)
            QFile::rename(aside, original);
    }
    SingleInstance::releaseInstanceMutex();
}

void MainWindow::closeInOrder()
{
    queryUnload();
    // Every document unloads, each removing its own entry, before the frame's unload.
    m_parts.documents->closeAll();
    unload();
}

void MainWindow::queryUnload()
{
    if (AppState::settings.saveDocumentOnExit)
        m_parts.documents->saveAll();
}

void MainWindow::unload()
{
    m_unloaded = true;
    SettingsStore &store = SettingsStore::instance();
    ShutdownSequence steps;
    // Ends a running feed check, purges old headlines and closes the database.
    steps.add(QStringLiteral("feeds"), [this] { return m_sidebar->unload(); });
    steps.addAction(QStringLiteral("keysAndGestures"), [this] { m_input->remove(); });
    steps.addAction(QStringLiteral("historyCleaning"), [this] { m_sidebar->cleanHistoryAtExit(); });
    steps.add(QStringLiteral("settings"), [this] { return m_settings->save(); });
    // The layout always keeps the four bands shown: whether each shows is a setting.
    steps.add(QStringLiteral("bandLayout"), [this] {
        for (const char *key : {"Toolbar1", "Toolbar2", "Addressbar", "Tabbar"})
            m_parts.chrome->setBandVisible(QLatin1String(key), true);
        return m_parts.chrome->saveBandLayout();
    });
    if (AppState::settings.minimizeToTray)
        steps.addAction(QStringLiteral("trayIcon"), [this] { m_parts.windowState->tray()->removeIcon(); });
    steps.add(QStringLiteral("quickNotes"), [this] {
        const bool saved = m_sidebar->saveQuickNotes();
        // What the close could not save where it belongs (settings, layout, notes) is told now.
        reportRefusedSaves();
        return saved;
    });
    // The clean-exit marker once every save is done: an end cut short before (a second signal,
    // the guard's time run out) is reported as a crash at the next start.
    steps.add(QStringLiteral("exitMarker"), [&store] {
        return SettingsModel::writeBoolean(store, kSettings, QStringLiteral("PrevSessionCrashed"),
                                           false);
    });
    steps.addAction(QStringLiteral("historyReader"), [this] { m_sidebar->releaseHistoryReader(); });
    steps.addAction(QStringLiteral("toolbars"), [this] { m_parts.chrome->destroyToolbars(); });
    steps.addAction(QStringLiteral("timers"), [this] { m_timers->stop(); });
    steps.addAction(QStringLiteral("navigator"), [this] { m_parts.documents->closeNavigator(); });
    steps.addAction(QStringLiteral("trayAndQuickSearch"), [this] {
        m_parts.windowState->tray()->removeIcon();
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
    // The engine loads the first page on this thread, between the frame's events: once the
    // window is on the screen that page goes first, and what the start left for later is read
    // after it (pageLoaded), so that reading it does not hold the page up.
    if (!m_painted && m_loaded) {
        m_painted = true;
        const bool pageWaits = !m_pageLoaded && m_parts.documents->documentCount() > 0;
        QTimer::singleShot(pageWaits ? kLoadAfterPaintLatestMs : 0, this,
                           &MainWindow::loadAfterShown);
    }
    // The skin behind the bands (their gaps show the window itself).
    if (!SkinPaint::usable(m_parts.chrome->skinPicture()))
        return;
    QPainter painter(this);
    SkinPaint::paintSkinBackground(m_parts.chrome->skinPicture(), painter, this, event->rect(),
                                   m_unloaded);
}
