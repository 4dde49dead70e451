#include "mainwindow.h"

#include "addressbarrules.h"
#include "core/crashnoticedialog.h"
#include "core/appstate.h"
#include "core/storedcolor.h"
#include "core/paths.h"
#include "core/settingsstore.h"
#include "core/singleinstance.h"
#include "core/strings.h"
#include "toolbarbands.h"
#include "striptoolbar.h"
#include "document/documentwindow.h"
#include "documenttabbar.h"
#include "restoredocumentsdialog.h"
#include "windowlistdialog.h"
#include "navigatorpalette.h"
#include "quicksearchdialog.h"
#include "miscimages.h"
#include "platform/webbrowser.h"
#include "keyedmenu.h"
#include "searchengines.h"
#include "document/popupwhitelist.h"
#include "sidebar/rsspanel.h"
#include "sidebar/sidebar.h"
#include "sidebar/sidebarhost.h"
#include "sidebar/urlshortcut.h"
#include "widgets/mousegesturerecognizer.h"
#include "widgets/panelstatusbar.h"
#include "core/numberederror.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QDateTime>
#include <QLocale>
#include <QPainter>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <QCloseEvent>
#include <QComboBox>
#include <QDockWidget>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMessageBox>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QWebEngineNewWindowRequest>

namespace {

const QString kSettings = QStringLiteral("Settings");

// The canvas of the owner-drawn status bar: it keeps the pixels and hands its paint and mouse
// events to the bar.
class StatusCanvas : public QWidget
{
public:
    explicit StatusCanvas(QWidget *parent) : QWidget(parent) { setMouseTracking(true); }
    PanelStatusBar *bar = nullptr;

protected:
    void paintEvent(QPaintEvent *) override
    {
        if (!bar)
            return;
        QPainter painter(this);
        bar->draw(painter, -1);
    }
    void mouseMoveEvent(QMouseEvent *event) override
    {
        if (bar)
            bar->handleMouseMove(event->position().toPoint());
    }
    void mouseDoubleClickEvent(QMouseEvent *event) override
    {
        if (bar)
            bar->handleDoubleClick(event->position().toPoint());
    }
};

// The logo band's picture box: the logo at its right end, over the band's skin.
class LogoBox : public QWidget
{
public:
    explicit LogoBox(QWidget *parent) : QWidget(parent)
    {
        m_logo.load(Paths::assetFile(QStringLiteral("logo.png")));
        const QSize size = m_logo.isNull() ? QSize(16, 16) : m_logo.size();
        setMinimumSize(size.width() + 8, size.height() + 4);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    }
    QSize sizeHint() const override { return minimumSize(); }

protected:
    void paintEvent(QPaintEvent *) override
    {
        if (m_logo.isNull())
            return;
        QPainter painter(this);
        painter.drawPixmap(width() - m_logo.width() - 4, (height() - m_logo.height()) / 2, m_logo);
    }

private:
    QPixmap m_logo;
};

// Picture of the typed addresses in the address bar's list.
QIcon typedAddressIcon()
{
    return QApplication::style()->standardIcon(QStyle::SP_FileLinkIcon);
}

} // namespace

MainWindow::MainWindow(QWidget *parent) : QMainWindow(parent), m_mdiArea(new QMdiArea(this))
{
    setObjectName(QStringLiteral("frmMain"));
    m_mdiArea->setObjectName(QStringLiteral("MDIClient"));
    m_mdiArea->setViewMode(QMdiArea::SubWindowView);
    m_mdiArea->setActivationOrder(QMdiArea::ActivationHistoryOrder);
    auto *central = new QWidget(this);
    auto *column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(m_mdiArea, 1);
    m_statusCanvas = new StatusCanvas(central);
    m_statusCanvas->setObjectName(QStringLiteral("picStatus"));
    column->addWidget(m_statusCanvas);
    setCentralWidget(central);

    // The side bar sits left of the documents, below the toolbars.
    SidebarHost host = makeSidebarHost();
    host.showOptions = [this] { showOptions(); };
    m_sidebar = new Sidebar(host, this);
    m_sidebarDock = new QDockWidget(this);
    m_sidebarDock->setObjectName(QStringLiteral("sidebarDock"));
    m_sidebarDock->setTitleBarWidget(new QWidget(m_sidebarDock));
    m_sidebarDock->setFeatures(QDockWidget::NoDockWidgetFeatures);
    m_sidebarDock->setWidget(m_sidebar);
    addDockWidget(Qt::LeftDockWidgetArea, m_sidebarDock);
    setWindowIcon(QIcon(QStringLiteral(":/quarvel/quarvel.png")));
    connect(m_mdiArea, &QMdiArea::subWindowActivated, this, &MainWindow::onSubWindowActivated);

    m_fullScreenStatus = new QLabel(this);
    m_fullScreenStatus->setObjectName(QStringLiteral("lblFullScreenStatus"));
    m_fullScreenStatus->hide();

    // The controls the interface start-up puts into the bands. The ones a band wraps are not
    // hidden here: a toolbar never shows a widget that was hidden before it was added.
    m_browseToolBar = new StripToolBar(this);
    m_browseToolBar->setObjectName(QStringLiteral("Toolbar1"));
    m_sitesToolBar = new StripToolBar(this);
    m_sitesToolBar->setObjectName(QStringLiteral("Toolbar2"));
    m_addressToolBar = new StripToolBar(this);
    m_addressToolBar->setObjectName(QStringLiteral("Addressbar"));
    for (StripToolBar *toolbar : {m_browseToolBar, m_sitesToolBar, m_addressToolBar})
        toolbar->hide();
    m_menuBar = new KeyedMenuBar(this);
    m_menuBar->setObjectName(QStringLiteral("tbrMenu"));
    m_menuBarHost = new MenuBarHost(this);
    m_menuBarHost->setObjectName(QStringLiteral("tbhMenu"));
    m_logo = new LogoBox(this);
    m_logo->setObjectName(QStringLiteral("picTest"));
    m_bands = new ToolBarBands(this);

    m_addressHolder = new QWidget(this);
    m_addressHolder->setObjectName(QStringLiteral("Picture1"));
    m_addressHolder->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    auto *addressLayout = new QHBoxLayout(m_addressHolder);
    addressLayout->setContentsMargins(0, 0, 0, 0);
    m_addressBar = new QComboBox(m_addressHolder);
    m_addressBar->setObjectName(QStringLiteral("Addressbar"));
    m_addressBar->setEditable(true);
    m_addressBar->setInsertPolicy(QComboBox::NoInsert);
    m_addressBar->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_addressBar->setMinimumWidth(0);
    m_addressBar->setMaxVisibleItems(20);
    m_addressBar->lineEdit()->installEventFilter(this);
    m_addressBar->installEventFilter(this);
    addressLayout->addWidget(m_addressBar);
    connect(m_addressBar, &QComboBox::editTextChanged, this,
            [this](const QString &text) { m_addressToolBar->setButtonEnabled(QStringLiteral("Go"), !text.isEmpty()); });
    connect(m_addressBar, &QComboBox::activated, this, [this] { onAddressSelected(); });

    m_tabHolder = new QWidget(this);
    m_tabHolder->setObjectName(QStringLiteral("Picture6"));
    m_tabHolder->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    auto *tabLayout = new QHBoxLayout(m_tabHolder);
    tabLayout->setContentsMargins(0, 0, 0, 0);
    m_tabBar = new DocumentTabBar(m_tabHolder);
    m_tabBar->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    tabLayout->addWidget(m_tabBar);
    connect(m_tabBar, &DocumentTabBar::tabPressed, this,
            [this](int position, Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                   const QPoint &pos) { onTabPressed(position, button, modifiers, pos); });
    connect(m_tabBar, &DocumentTabBar::tabDoubleClicked, this, &MainWindow::onTabDoubleClicked);

    m_clock.setInterval(1000);
    connect(&m_clock, &QTimer::timeout, this, &MainWindow::onClockTick);

    // Keyboard shortcuts of the navigation commands.
    auto shortcut = [this](const QKeySequence &keys, void (MainWindow::*slot)()) {
        auto *action = new QAction(this);
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, [this, slot] {
            if (!AppState::modalDialogOpen())
                (this->*slot)();
        });
        addAction(action);
    };
    shortcut(QKeySequence(Qt::ALT | Qt::Key_Home), &MainWindow::goHome);
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_N), &MainWindow::openHomeInNewTab);
    shortcut(QKeySequence(Qt::Key_Escape), &MainWindow::navigateStop);
    shortcut(QKeySequence(Qt::Key_F9), &MainWindow::showQuickSearch);
}

MainWindow::~MainWindow()
{
    // Documents unload while the frame they report to is still whole (a frame destroyed
    // without being closed would otherwise have them reach its half-destroyed parts).
    if (m_mdiArea) {
        const QList<QMdiSubWindow *> subs = m_mdiArea->subWindowList();
        for (QMdiSubWindow *sub : subs)
            delete sub;
    }
}

void MainWindow::createStatusBar(const QString &skinPath)
{
    delete m_statusBar;
    m_statusBar = new PanelStatusBar(this);
    m_statusBar->create(m_statusCanvas);
    m_statusBar->setImageList(miscImageList());
    static_cast<StatusCanvas *>(m_statusCanvas)->bar = m_statusBar;
    struct PanelSpec
    {
        const char *key;
        qint32 style;
        int minWidth;
        bool spring;
    };
    const PanelSpec panels[] = {
        {"Item1", 0, 145, true},      {"Item2", 0, 145, false},
        {"Item3", 0x100, 16, false},  {"Item4", 0x100, 16, false},
        {"Item5", 0x100, 16, false},  {"Item6", 0, 16, false},
        {"Item7", 0x1000, 172, false}, {"Item8", 0x100, 16, false},
    };
    for (const PanelSpec &p : panels)
        m_statusBar->addPanel(p.style, QString(), -1, p.minWidth, p.spring, false, 0,
                               QLatin1String(p.key));
    if (!skinPath.isEmpty())
        m_statusBar->setImageFile(skinPath);
    m_statusBar->setSizeGrip(true);
    m_statusBar->setPanelIcon(QStringLiteral("Item3"), 0);
    m_statusBar->setPanelToolTipText(QStringLiteral("Item3"), loadResString(1125));
    m_statusBar->setPanelToolTipText(QStringLiteral("Item4"), loadResString(1126));
    m_statusBar->setPanelIcon(QStringLiteral("Item6"), -1);
    m_statusBar->setPanelToolTipText(QStringLiteral("Item6"), loadResString(1127));
    m_statusBar->setPanelIcon(QStringLiteral("Item5"), 7);
    m_statusBar->setPanelToolTipText(QStringLiteral("Item5"), loadResString(1190));
    m_statusCanvas->setFixedHeight(m_statusBar->barHeightPixels());

    connect(m_statusBar, &PanelStatusBar::panelDoubleClicked, this, &MainWindow::onStatusPanelDoubleClicked);
    connect(m_statusBar, &PanelStatusBar::ownerDrawRequested, this, &MainWindow::onStatusPanelOwnerDraw,
            Qt::DirectConnection);
    setProgressText(QStringLiteral("0"));
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

    // 3. The installer an update left behind.
    QFile::remove(Paths::dataFile(QStringLiteral("qvsetup.exe")));

    // 4. The feed database (message 1200 when it cannot be opened).
    m_sidebar->m_rssPanel->openConnection();

    // 5. Captions.
    setProperty(kTagProperty, resId(1120));
    loadResStrings(this);

    // 7. Search engine.
    m_searchEngine =
        SettingsModel::readInteger(store, kSettings, QStringLiteral("CurrentSearchEngine"), 0);

    // 8. Skin, toolbars, menu bar, band layout and status bar.
    initInterface();

    // 11. Every setting.
    loadSettings();

    // 13. The quick notes.
    m_sidebar->loadQuickNotes();

    // 15. First run: the quick tour and a welcome, nothing else.
    const bool firstTime =
        SettingsModel::readBoolean(store, kSettings, QStringLiteral("FirstTime"), true);
    if (firstTime) {
        SettingsModel::writeBoolean(store, kSettings, QStringLiteral("FirstTime"), false);
        openQuickTour();
    } else {
        // 16. Document-dependent commands.
        updateDocumentActions();
        // 17. Saved pages, or home page 1 when none are kept and no address was given.
        const SettingsModel &s = AppState::settings;
        if (s.saveDocumentOnExit) {
            if (s.loadAction == 1) {
                loadAllDocuments();
            } else if (s.loadAction == 2) {
                if (SettingsModel::readInteger(store, kSettings, QStringLiteral("DocumentCount"), 0) > 0) {
                    RestoreDocumentsDialog restore(this);
                    restore.exec();
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
    m_clock.start();
    onClockTick();
    m_gestures = new MouseGestureRecognizer(this);
    connect(m_gestures, &MouseGestureRecognizer::gestureRecognized, this, &MainWindow::onMouseGesture,
            Qt::DirectConnection);
    m_gestures->attach();
    m_loaded = true;
}

void MainWindow::showFrame()
{
    show();
    raise();
    activateWindow();
}

void MainWindow::openQuickTour()
{
    openDocument(QUrl::fromLocalFile(Paths::assetFile(QStringLiteral("help/quicktour.html"))).toString());
}

// ---------------------------------------------------------------- settings

void MainWindow::loadSettings()
{
    SettingsModel &s = AppState::settings;
    SettingsModel::LoadContext context;
    context.prevSessionCrashed = m_prevSessionCrashed;
    context.ieLinksName = AppState::linkNames;
    context.ieLinksURL = AppState::linkUrls;
    s.load(SettingsStore::instance(), context);
    loadWhitelist();
    m_sidebarDock->setVisible(s.enableSidebar);

    setGeometry(twipsToPixels(s.mainLeft), twipsToPixels(s.mainTop),
                qMax(1, twipsToPixels(s.mainWidth)), qMax(1, twipsToPixels(s.mainHeight)));
    setWindowState(s.mainMaximized ? Qt::WindowMaximized : Qt::WindowNoState);
    m_normalWindowState = windowState();
    auto band = [this](const char *bandKey, const char *menuKey, bool visible) {
        m_bands->setBandVisible(m_bands->bandIndexForKey(QLatin1String(bandKey)), visible);
        setMenuChecked(QLatin1String(menuKey), visible);
    };
    band("Toolbar1", "mnuViewBrowseToolbar", s.browseToolbarVisible);
    band("Addressbar", "mnuViewAddressBar", s.addressBarVisible);
    band("Tabbar", "mnuViewTabsBar", s.tabsBarVisible);
    m_addressBar->clear();
    for (const QString &address : s.typedAddresses)
        m_addressBar->addItem(typedAddressIcon(), address);
    m_addressBar->setCurrentIndex(-1);
    m_addressBar->setEditText(QString());
    m_statusCanvas->setVisible(s.statusBarVisible);
    setMenuChecked(QStringLiteral("mnuViewStatusBar"), s.statusBarVisible);
    m_addressToolBar->setButtonChecked(QStringLiteral("GoNew"), s.goNew);
    AppState::sidebarVisible = s.enableSidebar;
    setMenuChecked(QStringLiteral("mnuViewSidebar"), s.enableSidebar);
    showCustomLinkButtons();
    band("Toolbar2", "mnuViewSitesToolbar", s.sitesToolbarVisible);

    // The skin of this start must be one of the list; the next start keeps it.
    enumerateSkins();
    if (!AppState::skinNames.contains(s.currentSkin)) {
        s.currentSkin = QStringLiteral("none");
        QMessageBox::information(this, loadResString(100), loadResString(15002));
    }
    m_nextSkin = s.currentSkin;

    const struct
    {
        bool SettingsModel::*setting;
        const char *key;
    } marks[] = {
        {&SettingsModel::enableImages, "mnuContentImage"},
        {&SettingsModel::enableSound, "mnuContentSound"},
        {&SettingsModel::enableVideo, "mnuContentVideo"},
        {&SettingsModel::enableScripts, "mnuContentScripts"},
        {&SettingsModel::enableJava, "mnuContentJava"},
        {&SettingsModel::enableActiveXDL, "mnuContentDLACTX"},
        {&SettingsModel::enableActiveXRUN, "mnuContentRUNACTX"},
        {&SettingsModel::enableFlash, "mnuContentFlash"},
        {&SettingsModel::suppressErrors, "mnuContentSuppressErrors"},
        {&SettingsModel::suppressScriptErrors, "mnuContentSuppressScriptErrors"},
        {&SettingsModel::autoFormFill, "mnuContentAutoFill"},
    };
    for (const auto &mark : marks)
        setMenuChecked(QLatin1String(mark.key), s.*(mark.setting));
    m_statusBar->setPanelIcon(QStringLiteral("Item4"), s.popupKillerEnable ? 3 : 1);
    m_searchEngine = s.currentSearchEngine;
    m_addressToolBar->setButtonImage(QStringLiteral("Search"), 15 + m_searchEngine);
}

void MainWindow::saveSettings()
{
    SettingsModel &s = AppState::settings;
    SettingsModel::SaveContext context;
    const Qt::WindowStates state = windowState();
    if (state & Qt::WindowMinimized || isHidden())
        context.windowState = SettingsModel::WindowState::Minimized;
    else if (state & (Qt::WindowMaximized | Qt::WindowFullScreen))
        context.windowState = SettingsModel::WindowState::Maximized;
    else
        context.windowState = SettingsModel::WindowState::Normal;
    if (context.windowState == SettingsModel::WindowState::Normal) {
        const QRect g = geometry();
        s.mainLeft = float(pixelsToTwips(g.x()));
        s.mainTop = float(pixelsToTwips(g.y()));
        s.mainWidth = float(pixelsToTwips(g.width()));
        s.mainHeight = float(pixelsToTwips(g.height()));
    }
    if (context.windowState != SettingsModel::WindowState::Minimized && m_navigator) {
        const QRect n = m_navigator->geometry();
        s.navigatorLeft = float(pixelsToTwips(n.x()));
        s.navigatorTop = float(pixelsToTwips(n.y()));
        s.navigatorWidth = float(pixelsToTwips(n.width()));
        s.navigatorHeight = float(pixelsToTwips(n.height()));
    }
    auto bandVisible = [this](const char *bandKey) {
        return m_bands->bandVisible(m_bands->bandIndexForKey(QLatin1String(bandKey)));
    };
    s.browseToolbarVisible = bandVisible("Toolbar1");
    s.sitesToolbarVisible = bandVisible("Toolbar2");
    s.addressBarVisible = bandVisible("Addressbar");
    s.tabsBarVisible = bandVisible("Tabbar");
    s.typedAddresses = typedAddresses();
    s.goNew = goNewDown();
    if (!AppState::fullScreen)
        s.statusBarVisible = !m_statusCanvas->isHidden();
    s.currentSearchEngine = m_searchEngine;
    context.nextSkin = m_nextSkin;
    s.save(SettingsStore::instance(), context);
    saveWhitelist();
}

void MainWindow::showSidebarSection(const QString &key)
{
    m_sidebarDock->show();
    setMenuChecked(QStringLiteral("mnuViewSidebar"), true);
    if (!AppState::fullScreen) {
        AppState::sidebarVisible = true;
        AppState::settings.enableSidebar = true;
    }
    m_sidebar->showSection(key);
}

// ---------------------------------------------------------------- registry

NavigatorPalette *MainWindow::navigator()
{
    if (!m_navigator) {
        m_navigator = new NavigatorPalette(this);
        const SettingsModel &s = AppState::settings;
        if (s.navigatorWidth > 0 && s.navigatorHeight > 0)
            m_navigator->setGeometry(twipsToPixels(s.navigatorLeft), twipsToPixels(s.navigatorTop),
                                     twipsToPixels(s.navigatorWidth), twipsToPixels(s.navigatorHeight));
    }
    return m_navigator;
}

DocumentWindow *MainWindow::registerDocument(const QString &address)
{
    auto *document = new DocumentWindow(this);
    const int row = navigator()->appendRow(address, document);
    document->m_browser->tag = QString::number(row);
    m_tabBar->appendTab(address, 0);
    QMdiSubWindow *sub = m_mdiArea->addSubWindow(document, Qt::FramelessWindowHint);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWindowIcon(QIcon());
    return document;
}

void MainWindow::openDocument(const QString &url)
{
    QString address = url;
    // A shortcut file opens the address it holds.
    if (address.right(4).toLower() == QLatin1String(".url")) {
        if (address.left(8).toLower() == QLatin1String("file:///"))
            address = QUrl(address).toLocalFile();
        address = readUrlShortcut(address.left(address.size() - 4));
    }

    DocumentWindow *document = registerDocument(address);
    const int k = document->position();
    document->applyDownloadOptions();
    document->setWindowTitle(address);
    document->registerAsBrowser(true);
    document->navigate(address);
    document->setWindowTitle(document->locationUrl());
    if (QMdiSubWindow *sub = qobject_cast<QMdiSubWindow *>(document->parentWidget())) {
        sub->showMaximized();
        m_mdiArea->setActiveSubWindow(sub);
    }
    m_tabBar->setShrunk(k, false);
    document->setTabCaption(k, address);
    insertTypedAddress(address);
}

DocumentWindow *MainWindow::openPopup(QWebEngineNewWindowRequest &request)
{
    const QString address = request.requestedUrl().toString();
    DocumentWindow *document = registerDocument(address);
    document->applyDownloadOptions();
    document->setWindowTitle(address);
    request.openIn(document->m_browser->page());
    if (QMdiSubWindow *sub = qobject_cast<QMdiSubWindow *>(document->parentWidget())) {
        sub->showMaximized();
        if (request.destination() != QWebEngineNewWindowRequest::InNewBackgroundTab)
            m_mdiArea->setActiveSubWindow(sub);
        else if (m_activeDocument)
            bringToFront(m_activeDocument);
    }
    document->setTabCaption(document->position(), address);
    return document;
}

void MainWindow::onDocumentUnloaded(DocumentWindow *document)
{
    NavigatorPalette *palette = navigator();
    const int k = document->position();
    for (int j = k + 1; j <= palette->rowCount(); ++j) {
        if (DocumentWindow *later = palette->rowDocument(j))
            later->m_browser->tag = QString::number(j - 1);
    }
    document->m_browser->hide();
    palette->removeRow(k);
    if (!document->m_tabAlreadyDeleted)
        m_tabBar->removeTabAt(k);
    document->m_browser->tag.clear();
    // Undo Close has something to bring back now.
    if (m_mainMenu && !m_lastClosedAddress.isEmpty())
        m_mainMenu->setEnabled(m_mainMenu->indexForKey(QStringLiteral("mnuEditUndoClose")), true);
    if (m_activeDocument == document) {
        m_activeDocument = nullptr;
        setStatusText(QString());
        setProgressText(QStringLiteral("0"));
    }
    updateDocumentActions();
}

DocumentWindow *MainWindow::activeDocument() const
{
    QMdiSubWindow *sub = m_mdiArea->currentSubWindow();
    auto *document = sub ? qobject_cast<DocumentWindow *>(sub->widget()) : nullptr;
    return document && document->position() > 0 ? document : nullptr;
}

QList<DocumentWindow *> MainWindow::documents() const
{
    QList<DocumentWindow *> documents;
    if (!m_navigator)
        return documents;
    for (int k = 1; k <= m_navigator->rowCount(); ++k) {
        if (DocumentWindow *document = m_navigator->rowDocument(k))
            documents.append(document);
    }
    return documents;
}

void MainWindow::bringToFront(DocumentWindow *document)
{
    if (!document)
        return;
    if (auto *sub = qobject_cast<QMdiSubWindow *>(document->parentWidget())) {
        sub->showMaximized();
        m_mdiArea->setActiveSubWindow(sub);
    }
}

void MainWindow::onSubWindowActivated(QMdiSubWindow *sub)
{
    auto *document = sub ? qobject_cast<DocumentWindow *>(sub->widget()) : nullptr;
    if (document == m_activeDocument)
        return;
    if (m_activeDocument)
        m_activeDocument->deactivate();
    m_activeDocument = document;
    if (document)
        document->activate();
}

void MainWindow::runTabAction(DocumentWindow *document, int tabPosition, int action)
{
    if (!document)
        return;
    switch (action) {
    case 0:
        bringToFront(document);
        break;
    case 1:
        // Closed after the tab strip's event has returned.
        if (QWidget *sub = document->parentWidget())
            QMetaObject::invokeMethod(sub, &QWidget::close, Qt::QueuedConnection);
        break;
    case 2:
        m_tabBar->setShrunk(tabPosition, !m_tabBar->isShrunk(tabPosition));
        document->setTabCaption(tabPosition, document->locationName());
        break;
    case 4:
        document->applyDownloadOptions();
        document->reload();
        break;
    case 3:
        showTabMenu(document, QCursor::pos());
        break;
    case 5:
        openDocument(document->locationUrl());
        break;
    default:
        break;
    }
}

void MainWindow::onTabPressed(int position, Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                             const QPoint &pos)
{
    if (position < 1) {
        if (button == Qt::RightButton)
            showNewMenu(m_tabBar->mapToGlobal(pos));
        return;
    }
    DocumentWindow *document = navigator()->rowDocument(position);
    const SettingsModel &s = AppState::settings;
    const bool shift = modifiers & Qt::ShiftModifier;
    int action;
    if (button == Qt::LeftButton)
        action = shift ? s.controlShiftLeft : s.controlLeft;
    else
        action = shift ? s.controlShiftRight : s.controlRight;
    runTabAction(document, position, action);
}

void MainWindow::onTabDoubleClicked(int position)
{
    if (position < 1)
        openHomeInNewTab();
    else
        runTabAction(navigator()->rowDocument(position), position, AppState::settings.controlDouble);
}

void MainWindow::showWindowList()
{
    WindowListDialog list(documents(), this);
    if (list.exec() == QDialog::Accepted && list.chosen())
        bringToFront(list.chosen());
}

// ---------------------------------------------------------------- hand-over

void MainWindow::handOver(const QString &text)
{
    if (text.size() > 1) {
        openDocument(text);
        if (DocumentWindow *document = activeDocument())
            document->setWindowTitle(text);
    }
    if (isMinimized() || isHidden()) {
        const bool locked = !AppState::settings.trayPassword.isEmpty();
        if (isMinimized())
            setWindowState(m_normalWindowState & ~Qt::WindowMinimized);
        if (!locked || !isHidden())
            showFrame();
    } else {
        showFrame();
    }
}

// ---------------------------------------------------------------- navigation

void MainWindow::back()
{
    if (DocumentWindow *document = activeDocument())
        document->goBack();
}

void MainWindow::forward()
{
    if (DocumentWindow *document = activeDocument())
        document->goForward();
}

void MainWindow::stopLoading()
{
    if (DocumentWindow *document = activeDocument())
        document->stop();
}

void MainWindow::refresh()
{
    if (DocumentWindow *document = activeDocument()) {
        document->applyDownloadOptions();
        document->reload();
    }
}

void MainWindow::goSite(const QString &address)
{
    if (DocumentWindow *document = activeDocument())
        document->navigate(address);
    else
        openDocument(address);
}

void MainWindow::goHome() { goSite(AppState::settings.sitesHome1); }
void MainWindow::goSecondHome() { goSite(AppState::settings.sitesHome2); }
void MainWindow::goSearch() { goSite(AppState::settings.sitesSearch); }
void MainWindow::goMail() { goSite(AppState::settings.sitesMail); }
void MainWindow::goNews() { goSite(AppState::settings.sitesNews); }
void MainWindow::openHomeInNewTab() { openDocument(AppState::settings.sitesHome1); }
void MainWindow::openSecondHomeInNewTab() { openDocument(AppState::settings.sitesHome2); }
void MainWindow::openSearchInNewTab() { openDocument(AppState::settings.sitesSearch); }
void MainWindow::openMailInNewTab() { openDocument(AppState::settings.sitesMail); }
void MainWindow::openNewsInNewTab() { openDocument(AppState::settings.sitesNews); }
void MainWindow::openBlankTab() { openDocument(QStringLiteral("about:blank")); }
void MainWindow::navigateSearch() { goSearch(); }
void MainWindow::navigateStop() { stopLoading(); }
void MainWindow::navigateSecondHome() { goSite(AppState::settings.sitesHome2); }

void MainWindow::duplicateCurrentTab()
{
    DocumentWindow *document = activeDocument();
    openDocument(document ? document->locationUrl() : AppState::settings.sitesHome1);
}

void MainWindow::openClipboardAddress()
{
    openDocument(QApplication::clipboard()->text());
}

QuickSearchDialog *MainWindow::quickSearch() const
{
    return m_quickSearch;
}

void MainWindow::showQuickSearch()
{
    if (!m_quickSearch)
        m_quickSearch = new QuickSearchDialog(this);
    if (m_quickSearch->isVisible())
        return;
    m_quickSearch->exec();
}

// ---------------------------------------------------------------- address bar

QStringList MainWindow::typedAddresses() const
{
    QStringList list;
    for (int i = 0; i < m_addressBar->count(); ++i)
        list << m_addressBar->itemText(i);
    return list;
}

void MainWindow::insertTypedAddress(const QString &address)
{
    if (!AddressBarRules::shouldInsertAtTop(typedAddresses(), address))
        return;
    const QString text = m_addressBar->currentText();
    m_addressBar->insertItem(0, typedAddressIcon(), address);
    m_addressBar->setEditText(text);
}

void MainWindow::setAddressText(const QString &text)
{
    m_addressBar->setEditText(text);
}

QString MainWindow::addressText() const
{
    return m_addressBar->currentText();
}

bool MainWindow::goNewDown() const
{
    return m_addressToolBar->buttonChecked(QStringLiteral("GoNew"));
}

void MainWindow::setGoNew(bool down)
{
    m_addressToolBar->setButtonChecked(QStringLiteral("GoNew"), down);
}

void MainWindow::onAddressEnter(bool ctrl, bool shift)
{
    AddressBarRules::EnterInput in;
    in.text = m_addressBar->currentText();
    in.ctrl = ctrl;
    in.shift = shift;
    in.goNewDown = goNewDown();
    in.hasActiveDocument = activeDocument() != nullptr;
    in.typedAddresses = typedAddresses();
    const AddressBarRules::EnterOutcome out = AddressBarRules::decideEnter(in);
    if (out.text != in.text)
        setAddressText(out.text);
    switch (out.action) {
    case AddressBarRules::EnterOutcome::Nothing:
        return;
    case AddressBarRules::EnterOutcome::Search:
        searchWeb(m_searchEngine, out.text);
        break;
    case AddressBarRules::EnterOutcome::OpenNewTab:
        openDocument(out.text);
        break;
    case AddressBarRules::EnterOutcome::NavigateActive:
        if (DocumentWindow *document = activeDocument()) {
            document->setWindowTitle(QString());
            document->navigate(out.text);
        }
        break;
    }
    if (out.addToTypedList)
        insertTypedAddress(out.text);
    if (out.focusDocument) {
        if (DocumentWindow *document = activeDocument())
            document->setFocus();
    }
}

void MainWindow::onAddressSelected()
{
    if (m_addressEditing)
        return;
    const QString text = m_addressBar->currentText();
    if (text.isEmpty())
        return;
    if (DocumentWindow *document = activeDocument()) {
        document->navigate(text);
        insertTypedAddress(text);
    } else {
        openDocument(text);
    }
}

void MainWindow::onGoButton()
{
    if (goNewDown()) {
        const QString text = m_addressBar->currentText();
        if (!text.isEmpty())
            openDocument(text);
    } else {
        onAddressSelected();
    }
}

void MainWindow::searchWeb(int engine, const QString &text)
{
    const QString address = SearchEngines::searchAddress(engine, text);
    if (!address.isEmpty())
        openDocument(address);
}

void MainWindow::selectSearchEngine(int engine)
{
    m_searchEngine = qint16(engine);
    m_addressToolBar->setButtonImage(QStringLiteral("Search"), 15 + engine);
    setAddressText(QString());
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    // Keys reach the combo box first (it forwards them to its line edit itself); synthetic
    // ones may go to the line edit directly.
    if (watched == m_addressBar->lineEdit() || watched == m_addressBar) {
        switch (event->type()) {
        case QEvent::FocusIn:
            m_addressHasFocus = true;
            QMetaObject::invokeMethod(m_addressBar->lineEdit(), &QLineEdit::selectAll, Qt::QueuedConnection);
            break;
        case QEvent::FocusOut:
            m_addressHasFocus = false;
            break;
        case QEvent::KeyPress: {
            auto *key = static_cast<QKeyEvent *>(event);
            if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
                onAddressEnter(key->modifiers() & Qt::ControlModifier,
                                key->modifiers() & Qt::ShiftModifier);
                return true;
            }
            break;
        }
        default:
            break;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

// ---------------------------------------------------------------- text size

void MainWindow::textSizeLarger()
{
    if (DocumentWindow *document = activeDocument()) {
        QVariant level;
        document->execBrowserCommand(WebBrowser::OLECMDID_ZOOM, 2, QVariant(), &level);
        document->execBrowserCommand(WebBrowser::OLECMDID_ZOOM, 2, qMin(level.toInt() + 1, 4));
    }
}

void MainWindow::textSizeSmaller()
{
    if (DocumentWindow *document = activeDocument()) {
        QVariant level;
        document->execBrowserCommand(WebBrowser::OLECMDID_ZOOM, 2, QVariant(), &level);
        document->execBrowserCommand(WebBrowser::OLECMDID_ZOOM, 2, qMax(level.toInt() - 1, 0));
    }
}

void MainWindow::textSizeMedium()
{
    if (DocumentWindow *document = activeDocument()) {
        QVariant level;
        document->execBrowserCommand(WebBrowser::OLECMDID_ZOOM, 2, QVariant(), &level);
        if (level.toInt() != 2)
            document->execBrowserCommand(WebBrowser::OLECMDID_ZOOM, 2, 2);
    }
}

// ---------------------------------------------------------------- saved pages

void MainWindow::saveAllDocuments()
{
    SettingsStore &store = SettingsStore::instance();
    SettingsStore::Batch batch(store);
    const QList<DocumentWindow *> documents = this->documents();
    store.write(kSettings, QStringLiteral("DocumentCount"), QString::number(documents.size()));
    for (int k = 0; k < documents.size(); ++k)
        store.write(kSettings, QStringLiteral("Document%1").arg(k + 1), documents[k]->locationUrl());
}

void MainWindow::loadAllDocuments()
{
    const SettingsStore &store = SettingsStore::instance();
    const int n = SettingsModel::readInteger(store, kSettings, QStringLiteral("DocumentCount"), 0);
    for (int i = 1; i <= n; ++i)
        openDocument(store.read(kSettings, QStringLiteral("Document%1").arg(i),
                              AppState::settings.sitesHome1));
}

void MainWindow::closeAllDocuments()
{
    for (DocumentWindow *document : documents()) {
        if (QWidget *sub = document->parentWidget())
            sub->close();
    }
}

// ---------------------------------------------------------------- content

// ---------------------------------------------------------------- status bar

void MainWindow::setStatusText(const QString &text)
{
    m_statusBar->setPanelText(QStringLiteral("Item1"), text);
    m_fullScreenStatus->setText(text);
}

void MainWindow::setProgressText(const QString &text)
{
    m_statusBar->setTag(text);
    m_statusBar->setPanelStyle(QStringLiteral("Item7"),
                                text.toInt() != 0 ? PanelStatusBar::kStyleOwnerDraw
                                                  : PanelStatusBar::kStyleGripperPane);
    m_statusBar->draw(m_statusBar->panelIndex(QStringLiteral("Item7")));
}

QString MainWindow::progressText() const
{
    return m_statusBar->tag();
}

void MainWindow::setSecureIcon(bool secure)
{
    m_statusBar->setPanelIcon(QStringLiteral("Item6"), secure ? 2 : -1);
}

void MainWindow::onClockTick()
{
    const QLocale locale = QLocale::system();
    const QDateTime now = QDateTime::currentDateTime();
    const QString text = locale.toString(now.date(), QLocale::ShortFormat) + QLatin1String("    ") +
                         locale.toString(now.time(), QLocale::ShortFormat);
    m_statusBar->setPanelToolTipText(QStringLiteral("Item2"), text);
    m_statusBar->setPanelText(QStringLiteral("Item2"), text);

    // The update check a minute after start (the check itself comes with the updater).
    if (AppState::settings.checkForUpdate) {
        ++m_updateCounter;
        if (m_updateCounter > 60)
            m_updateCounter = 160;
    }
    // The start-up feed check and the periodic ones.
    m_sidebar->m_rssPanel->onClockTick();
}

void MainWindow::onStatusPanelDoubleClicked(int panel, int, int)
{
    if (panel == 4) {
        AppState::settings.popupKillerEnable = !AppState::settings.popupKillerEnable;
        m_statusBar->setPanelIcon(QStringLiteral("Item4"), AppState::settings.popupKillerEnable ? 3 : 1);
    }
}

void MainWindow::onStatusPanelOwnerDraw(QPainter *painter, int, int &left, int &top, int &right,
                                     int &bottom, bool &)
{
    const QString tag = m_statusBar->tag();
    const int p = tag.isEmpty() ? 0 : tag.toInt();
    try {
        m_statusBar->panelRect(QStringLiteral("Item7"), left, top, right, bottom);
    } catch (const NumberedError &) {
        return;
    }
    top += 2;
    m_progressPainter.setValue(p);
    if (p == 100) {
        m_progressPainter.setShowPercentage(false);
        m_progressPainter.setText(QStringLiteral("Complete"));
    } else {
        m_progressPainter.setShowPercentage(true);
        m_progressPainter.setText(QStringLiteral("Loading"));
    }
    m_progressPainter.draw(*painter, left, top, -1, -1, 255);
}

qint32 MainWindow::gestureAction(qint32 gestureType)
{
    const SettingsModel &s = AppState::settings;
    switch (gestureType) {
    case 1: return s.mouseUp;
    case 2: return s.mouseDown;
    case 4: return s.mouseRight;
    case 8: return s.mouseLeft;
    case 16: return s.mouseUpRight;
    case 32: return s.mouseDownRight;
    case 64: return s.mouseDownLeft;
    case 128: return s.mouseUpLeft;
    case 256: return s.mouseRightUp;
    case 512: return s.mouseRightDown;
    case 1024: return s.mouseLeftDown;
    case 2048: return s.mouseLeftUp;
    default: return 0;
    }
}

void MainWindow::onMouseGesture(qint32 gestureType, int, int, int, int, bool &acceptGesture)
{
    const qint32 action = gestureAction(gestureType);
    if (!AppState::modalDialogOpen() && action != 0)
        runGestureAction(action);
    acceptGesture = true;
}

void MainWindow::closeActiveDocument()
{
    if (DocumentWindow *document = activeDocument()) {
        if (QWidget *sub = document->parentWidget())
            QMetaObject::invokeMethod(sub, &QWidget::close, Qt::QueuedConnection);
    }
}

void MainWindow::runGestureAction(qint32 action)
{
    switch (action) {
    case 1: back(); break;
    case 2: forward(); break;
    case 3: refresh(); break;
    case 4: stopLoading(); break;
    case 5: closeActiveDocument(); break;
    case 6: openHomeInNewTab(); break;
    case 7: openSecondHomeInNewTab(); break;
    case 8: openBlankTab(); break;
    case 9: duplicateCurrentTab(); break;
    case 10: openClipboardAddress(); break;
    case 11: openMailInNewTab(); break;
    case 12: openSearchInNewTab(); break;
    case 13: openNewsInNewTab(); break;
    default: break; // options, favorites and whitelist commands come with their dialogs
    }
}

// ---------------------------------------------------------------- frame life

void MainWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::WindowStateChange && !(windowState() & Qt::WindowMinimized))
        m_normalWindowState = windowState();
    QMainWindow::changeEvent(event);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (m_loaded && !m_unloaded) {
        queryUnload();
        // Every document unloads, each removing its own entry, before the frame's unload.
        for (QMdiSubWindow *sub : m_mdiArea->subWindowList())
            sub->close();
        unload();
    }
    event->accept();
}

void MainWindow::queryUnload()
{
    if (AppState::settings.saveDocumentOnExit)
        saveAllDocuments();
}

void MainWindow::unload()
{
    m_unloaded = true;
    m_closing = true;
    m_clock.stop();
    if (m_gestures)
        m_gestures->detach();
    SettingsStore &store = SettingsStore::instance();
    SettingsModel::writeBoolean(store, kSettings, QStringLiteral("PrevSessionCrashed"), false);
    // Ends a running feed check, purges old headlines and closes the database.
    m_sidebar->unload();
    saveSettings();
    saveBandLayout();
    if (m_quickSearch)
        m_quickSearch->unload();
    m_sidebar->saveQuickNotes();
    destroyToolbars();
    if (m_navigator)
        m_navigator->close();
    SingleInstance::releaseInstanceMutex();
}
