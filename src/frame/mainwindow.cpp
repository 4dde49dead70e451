#include "mainwindow.h"

#include "addressbarrules.h"
#include "commandbindings.h"
#include "commandhost.h"
#include "commandregistry.h"
#include "menucontroller.h"
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
#include "documentarea.h"
#include "documenttabbar.h"
#include "restoredocumentsdialog.h"
#include "windowlistdialog.h"
#include "navigatorpalette.h"
#include "quicksearchdialog.h"
#include "miscimages.h"
#include "platform/webbrowser.h"
#include "keyedmenu.h"
#include "searchengines.h"
#include "document/contentswitches.h"
#include "document/popupwhitelist.h"
#include "sidebar/rsspanel.h"
#include "sidebar/sidebar.h"
#include "sidebar/sidebarhost.h"
#include "widgets/mousegesturerecognizer.h"
#include "widgets/panelstatusbar.h"
#include "core/numberederror.h"

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
#include <QMenu>
#include <QMessageBox>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

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
    m_statusCanvas = new StatusCanvas(central);
    m_statusCanvas->setObjectName(QStringLiteral("picStatus"));
    column->addWidget(m_statusCanvas);
    setCentralWidget(central);
    createCommands();

    // The side bar sits left of the documents, below the toolbars.
    SidebarHost host = makeSidebarHost();
    host.showOptions = [this] { m_commands->trigger(QStringLiteral("mnuViewOptions")); };
    m_sidebar = new Sidebar(host, this);
    m_sidebarDock = new QDockWidget(this);
    m_sidebarDock->setObjectName(QStringLiteral("sidebarDock"));
    m_sidebarDock->setTitleBarWidget(new QWidget(m_sidebarDock));
    m_sidebarDock->setFeatures(QDockWidget::NoDockWidgetFeatures);
    m_sidebarDock->setWidget(m_sidebar);
    addDockWidget(Qt::LeftDockWidgetArea, m_sidebarDock);
    setWindowIcon(QIcon(QStringLiteral(":/quarvel/quarvel.png")));
    connectDocumentArea();

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
    connect(m_addressBar, &QComboBox::editTextChanged, this, [this](const QString &text) {
        m_commands->setEnabled(QStringLiteral("AddressbarGo"), !text.isEmpty());
    });
    connect(m_addressBar, &QComboBox::activated, this, [this] { onAddressSelected(); });

    m_tabHolder = new QWidget(this);
    m_tabHolder->setObjectName(QStringLiteral("Picture6"));
    m_tabHolder->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    auto *tabLayout = new QHBoxLayout(m_tabHolder);
    tabLayout->setContentsMargins(0, 0, 0, 0);
    DocumentTabBar *tabs = m_documentArea->tabBar();
    tabs->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    tabLayout->addWidget(tabs);

    m_clock.setInterval(1000);
    connect(&m_clock, &QTimer::timeout, this, &MainWindow::onClockTick);
}

MainWindow::~MainWindow()
{
    // Documents unload while the frame they report to is still whole (a frame destroyed
    // without being closed would otherwise have them reach its half-destroyed parts).
    m_documentArea->deleteAll();
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
        m_commands->trigger(QStringLiteral("mnuHelpQuickTour"));
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
                    if (restore.loadChosen())
                        loadAllDocuments();
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
        m_commands->setChecked(QLatin1String(menuKey), visible);
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
    m_commands->setChecked(QStringLiteral("mnuViewStatusBar"), s.statusBarVisible);
    setGoNew(s.goNew);
    AppState::sidebarVisible = s.enableSidebar;
    m_commands->setChecked(QStringLiteral("mnuViewSidebar"), s.enableSidebar);
    showCustomLinkButtons();
    band("Toolbar2", "mnuViewSitesToolbar", s.sitesToolbarVisible);

    // The skin of this start must be one of the list; the next start keeps it.
    enumerateSkins();
    if (!AppState::skinNames.contains(s.currentSkin)) {
        s.currentSkin = QStringLiteral("none");
        QMessageBox::information(this, loadResString(100), loadResString(15002));
    }
    m_nextSkin = s.currentSkin;

    for (const ContentSwitches::Switch &entry : ContentSwitches::switches())
        m_commands->setChecked(QLatin1String(entry.menuKey), s.*(entry.setting));
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
    if (context.windowState != SettingsModel::WindowState::Minimized)
        m_documentArea->storeNavigatorGeometry();
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
    m_commands->setChecked(QStringLiteral("mnuViewSidebar"), true);
    if (!AppState::fullScreen) {
        AppState::sidebarVisible = true;
        AppState::settings.enableSidebar = true;
    }
    m_sidebar->showSection(key);
}

// ---------------------------------------------------------------- documents

DocumentWindow *MainWindow::createDocument()
{
    auto *document = new DocumentWindow;
    // The popup killer's indication shows on the status bar's "Item4" panel.
    connect(document, &DocumentWindow::popupIndicatorChanged, this,
            [this](int icon) { m_statusBar->setPanelIcon(QStringLiteral("Item4"), icon); });
    document->setPopupIndicatorReader(
        [this] { return m_statusBar->panelIcon(QStringLiteral("Item4")); });
    // A click on a Flash placeholder: switched on after the page's navigation check returned.
    connect(document, &DocumentWindow::flashEnableRequested, this, &MainWindow::toggleFlash,
            Qt::QueuedConnection);
    return document;
}

void MainWindow::connectDocumentArea()
{
    DocumentArea *area = m_documentArea;
    connect(area, &DocumentArea::activeDocumentChanged, this, &MainWindow::onActiveDocumentChanged);
    connect(area, &DocumentArea::currentStatusTextChanged, this, &MainWindow::setStatusText);
    connect(area, &DocumentArea::currentProgressChanged, this,
            [this](int percent) { setProgressText(QString::number(percent)); });
    connect(area, &DocumentArea::currentSecureChanged, this, &MainWindow::setSecureIcon);
    connect(area, &DocumentArea::currentAddressChanged, this, &MainWindow::onCurrentAddressChanged);
    connect(area, &DocumentArea::addressOpened, this, &MainWindow::insertTypedAddress);
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
    connect(area, &DocumentArea::navigatorCommandRequested, this, &MainWindow::onNavigatorCommand);
}

void MainWindow::onActiveDocumentChanged(AbstractDocument *document)
{
    if (document)
        setAddressText(document->locationUrl());
}

void MainWindow::onCurrentAddressChanged(const QString &address)
{
    // The address bar keeps what the user is typing.
    if (!m_addressHasFocus)
        setAddressText(address);
}

void MainWindow::onDocumentClosed(const QString &lastAddress)
{
    // Undo Close has something to bring back now.
    if (!lastAddress.isEmpty())
        m_commands->setEnabled(QStringLiteral("mnuEditUndoClose"), true);
}

void MainWindow::onNavigatorCommand(NavigatorPalette::Command command)
{
    // The palette's buttons run what the browse toolbar's buttons of the same keys run.
    const char *button = "New";
    switch (command) {
    case NavigatorPalette::Command::NewTab: button = "New"; break;
    case NavigatorPalette::Command::Back: button = "Back"; break;
    case NavigatorPalette::Command::Forward: button = "Forward"; break;
    case NavigatorPalette::Command::Refresh: button = "Refresh"; break;
    case NavigatorPalette::Command::Stop: button = "Stop"; break;
    }
    m_commands->trigger(
        CommandBindings::buttonCommand(QStringLiteral("Toolbar1"), QLatin1String(button), false).key);
}

DocumentTabBar *MainWindow::tabBar() const
{
    return m_documentArea->tabBar();
}

QMdiArea *MainWindow::mdiArea() const
{
    return m_documentArea->mdiArea();
}

NavigatorPalette *MainWindow::navigator()
{
    return m_documentArea->navigator();
}

void MainWindow::openDocument(const QString &address)
{
    m_documentArea->openDocument(address);
}

DocumentWindow *MainWindow::openPopup(NewWindowRequest &request)
{
    return qobject_cast<DocumentWindow *>(m_documentArea->openPopup(request));
}

DocumentWindow *MainWindow::activeDocument() const
{
    return qobject_cast<DocumentWindow *>(m_documentArea->activeDocument());
}

QList<DocumentWindow *> MainWindow::documents() const
{
    QList<DocumentWindow *> documents;
    for (AbstractDocument *document : m_documentArea->documents()) {
        if (auto *window = qobject_cast<DocumentWindow *>(document))
            documents.append(window);
    }
    return documents;
}

void MainWindow::bringToFront(DocumentWindow *document)
{
    m_documentArea->bringToFront(document);
}

void MainWindow::runTabAction(DocumentWindow *document, int action)
{
    m_documentArea->runTabAction(document, action);
}

QString MainWindow::lastClosedAddress() const
{
    return m_documentArea->lastClosedAddress();
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

// ---------------------------------------------------------------- quick search

QuickSearchDialog *MainWindow::quickSearch() const
{
    return m_quickSearch;
}

void MainWindow::showQuickSearch()
{
    if (!m_quickSearch) {
        m_quickSearch = new QuickSearchDialog(this);
        connect(m_quickSearch, &QuickSearchDialog::searchRequested, this,
                &MainWindow::openDocument);
    }
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
    return m_commands->isChecked(QStringLiteral("AddressbarGoNew"));
}

void MainWindow::setGoNew(bool down)
{
    m_commands->setChecked(QStringLiteral("AddressbarGoNew"), down);
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

// ---------------------------------------------------------------- saved pages

void MainWindow::saveAllDocuments()
{
    m_documentArea->saveAll();
}

void MainWindow::loadAllDocuments()
{
    m_documentArea->loadAll();
}

void MainWindow::closeAllDocuments()
{
    m_documentArea->closeAll();
}

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
        m_documentArea->closeAll();
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
    m_documentArea->closeNavigator();
    SingleInstance::releaseInstanceMutex();
}
