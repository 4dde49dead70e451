#include "frmmain.h"

#include "addressbarrules.h"
#include "core/frmwarning.h"
#include "core/maincode.h"
#include "core/olecolor.h"
#include "core/paths.h"
#include "core/settingsstore.h"
#include "core/singleinstance.h"
#include "core/strings.h"
#include "crebar.h"
#include "ctoolbar.h"
#include "document/frmdocument.h"
#include "dtabcontrol.h"
#include "frmload.h"
#include "frmmorewindows.h"
#include "frmnavigator.h"
#include "frmqsearch.h"
#include "miscimages.h"
#include "platform/webbrowser.h"
#include "popupmenu6.h"
#include "searchengines.h"
#include "document/popupkiller.h"
#include "sidebar/notesfiles.h"
#include "sidebar/rsspanel.h"
#include "sidebar/sidebar.h"
#include "sidebar/sidebarhost.h"
#include "sidebar/urlshortcut.h"
#include "widgets/cmousegestures.h"
#include "widgets/cnostatusbar.h"
#include "widgets/vberror.h"

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
    cNoStatusBar *bar = nullptr;

protected:
    void paintEvent(QPaintEvent *) override
    {
        if (!bar)
            return;
        QPainter painter(this);
        bar->Draw(painter, -1);
    }
    void mouseMoveEvent(QMouseEvent *event) override
    {
        if (bar)
            bar->FireMouseMove(event->position().toPoint());
    }
    void mouseDoubleClickEvent(QMouseEvent *event) override
    {
        if (bar)
            bar->FireDoubleClick(event->position().toPoint());
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

frmMain::frmMain(QWidget *parent) : QMainWindow(parent), m_mdiArea(new QMdiArea(this))
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
    picStatus = new StatusCanvas(central);
    picStatus->setObjectName(QStringLiteral("picStatus"));
    column->addWidget(picStatus);
    setCentralWidget(central);

    // The side bar sits left of the documents, below the toolbars.
    SidebarHost host = SidebarHost::FromFrame(this);
    host.mnuViewOptions = [this] { mnuViewOptions(); };
    m_sidebar = new Sidebar(host, this);
    m_sidebarDock = new QDockWidget(this);
    m_sidebarDock->setObjectName(QStringLiteral("sidebarDock"));
    m_sidebarDock->setTitleBarWidget(new QWidget(m_sidebarDock));
    m_sidebarDock->setFeatures(QDockWidget::NoDockWidgetFeatures);
    m_sidebarDock->setWidget(m_sidebar);
    addDockWidget(Qt::LeftDockWidgetArea, m_sidebarDock);
    setWindowIcon(QIcon(QStringLiteral(":/quarvel/quarvel.png")));
    connect(m_mdiArea, &QMdiArea::subWindowActivated, this, &frmMain::OnSubWindowActivated);

    lblFullScreenStatus = new QLabel(this);
    lblFullScreenStatus->setObjectName(QStringLiteral("lblFullScreenStatus"));
    lblFullScreenStatus->hide();

    // The controls the interface start-up puts into the bands. The ones a band wraps are not
    // hidden here: a toolbar never shows a widget that was hidden before it was added.
    Toolbar1 = new cToolbar(this);
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar2 = new cToolbar(this);
    Toolbar2->setObjectName(QStringLiteral("Toolbar2"));
    Toolbar3 = new cToolbar(this);
    Toolbar3->setObjectName(QStringLiteral("Addressbar"));
    for (cToolbar *toolbar : {Toolbar1, Toolbar2, Toolbar3})
        toolbar->hide();
    tbrMenu = new cMenuBar(this);
    tbrMenu->setObjectName(QStringLiteral("tbrMenu"));
    tbhMenu = new cToolbarHost(this);
    tbhMenu->setObjectName(QStringLiteral("tbhMenu"));
    picTest = new LogoBox(this);
    picTest->setObjectName(QStringLiteral("picTest"));
    cReBar1 = new cReBar(this);

    Picture1 = new QWidget(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    auto *addressLayout = new QHBoxLayout(Picture1);
    addressLayout->setContentsMargins(0, 0, 0, 0);
    Addressbar = new QComboBox(Picture1);
    Addressbar->setObjectName(QStringLiteral("Addressbar"));
    Addressbar->setEditable(true);
    Addressbar->setInsertPolicy(QComboBox::NoInsert);
    Addressbar->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    Addressbar->setMinimumWidth(0);
    Addressbar->setMaxVisibleItems(20);
    Addressbar->lineEdit()->installEventFilter(this);
    Addressbar->installEventFilter(this);
    addressLayout->addWidget(Addressbar);
    connect(Addressbar, &QComboBox::editTextChanged, this,
            [this](const QString &text) { Toolbar3->setButtonEnabled(QStringLiteral("Go"), !text.isEmpty()); });
    connect(Addressbar, &QComboBox::activated, this, [this] { Addressbar_Select(); });

    Picture6 = new QWidget(this);
    Picture6->setObjectName(QStringLiteral("Picture6"));
    Picture6->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    auto *tabLayout = new QHBoxLayout(Picture6);
    tabLayout->setContentsMargins(0, 0, 0, 0);
    vbalDTabControl1 = new vbalDTabControl(Picture6);
    vbalDTabControl1->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    tabLayout->addWidget(vbalDTabControl1);
    connect(vbalDTabControl1, &vbalDTabControl::TabMouseDown, this,
            [this](int position, Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                   const QPoint &pos) { OnTabMouseDown(position, button, modifiers, pos); });
    connect(vbalDTabControl1, &vbalDTabControl::TabDoubleClick, this, &frmMain::OnTabDoubleClick);

    Clock.setInterval(1000);
    connect(&Clock, &QTimer::timeout, this, &frmMain::Clock_Timer);

    // Keyboard shortcuts of the navigation commands.
    auto shortcut = [this](const QKeySequence &keys, void (frmMain::*slot)()) {
        auto *action = new QAction(this);
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, [this, slot] {
            if (MainCode::ModalDialogClosed)
                (this->*slot)();
        });
        addAction(action);
    };
    shortcut(QKeySequence(Qt::ALT | Qt::Key_Home), &frmMain::Home1);
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_N), &frmMain::NewHome1);
    shortcut(QKeySequence(Qt::Key_Escape), &frmMain::mnuNavigateStop);
    shortcut(QKeySequence(Qt::Key_F9), &frmMain::mnuViewQSearch);
}

frmMain::~frmMain()
{
    // Documents unload while the frame they report to is still whole (a frame destroyed
    // without being closed would otherwise have them reach its half-destroyed parts).
    if (m_mdiArea) {
        const QList<QMdiSubWindow *> subs = m_mdiArea->subWindowList();
        for (QMdiSubWindow *sub : subs)
            delete sub;
    }
    if (MainCode::MainForm == this)
        MainCode::MainForm = nullptr;
}

void frmMain::CreateStatusBar(const QString &skinPath)
{
    delete m_cStatusBar;
    m_cStatusBar = new cNoStatusBar(this);
    m_cStatusBar->Create(picStatus);
    m_cStatusBar->setImageList(MiscImageList());
    static_cast<StatusCanvas *>(picStatus)->bar = m_cStatusBar;
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
        m_cStatusBar->AddPanel(p.style, QString(), -1, p.minWidth, p.spring, false, 0,
                               QLatin1String(p.key));
    if (!skinPath.isEmpty())
        m_cStatusBar->setImageFile(skinPath);
    m_cStatusBar->setSizeGrip(true);
    m_cStatusBar->setPanelIcon(QStringLiteral("Item3"), 0);
    m_cStatusBar->setPanelToolTipText(QStringLiteral("Item3"), LoadResString(1125));
    m_cStatusBar->setPanelToolTipText(QStringLiteral("Item4"), LoadResString(1126));
    m_cStatusBar->setPanelIcon(QStringLiteral("Item6"), -1);
    m_cStatusBar->setPanelToolTipText(QStringLiteral("Item6"), LoadResString(1127));
    m_cStatusBar->setPanelIcon(QStringLiteral("Item5"), 7);
    m_cStatusBar->setPanelToolTipText(QStringLiteral("Item5"), LoadResString(1190));
    picStatus->setFixedHeight(m_cStatusBar->barHeightPixels());

    connect(m_cStatusBar, &cNoStatusBar::DoubleClick, this, &frmMain::m_cStatusBar_DoubleClick);
    connect(m_cStatusBar, &cNoStatusBar::OwnerDraw, this, &frmMain::m_cStatusBar_OwnerDraw,
            Qt::DirectConnection);
    SetProgressTag(QStringLiteral("0"));
}

void frmMain::MDIForm_Load(const QString &commandLine)
{
    SettingsStore &store = SettingsStore::instance();

    // 1. Crash marker: read it, then set it until the unload clears it.
    m_bPrevSessionCrashed =
        SettingsModel::readBoolean(store, kSettings, QStringLiteral("PrevSessionCrashed"), false);
    SettingsModel::writeBoolean(store, kSettings, QStringLiteral("PrevSessionCrashed"), true);
    if (m_bPrevSessionCrashed) {
        frmWarning warning(this);
        warning.exec();
    }

    // 3. The installer an update left behind.
    QFile::remove(Paths::dataFile(QStringLiteral("qvsetup.exe")));

    // 4. The feed database (message 1200 when it cannot be opened).
    m_sidebar->Rss->OpenConnection();

    // 5. Captions.
    setProperty(kTagProperty, ResId(1120));
    LoadResStrings(this);

    // 7. Search engine.
    g_nSearchEngine =
        SettingsModel::readInteger(store, kSettings, QStringLiteral("CurrentSearchEngine"), 0);

    // 8. Skin, toolbars, menu bar, band layout and status bar.
    InitInterface();

    // 11. Every setting.
    LoadSettings();

    // 13. The quick notes.
    m_sidebar->LoadQuickNotes();

    // 15. First run: the quick tour and a welcome, nothing else.
    const bool firstTime =
        SettingsModel::readBoolean(store, kSettings, QStringLiteral("FirstTime"), true);
    if (firstTime) {
        SettingsModel::writeBoolean(store, kSettings, QStringLiteral("FirstTime"), false);
        OpenQuickTour();
    } else {
        // 16. Document-dependent commands.
        ModifyMenu();
        // 17. Saved pages, or home page 1 when none are kept and no address was given.
        const SettingsModel &s = MainCode::Settings;
        if (s.SaveDocumentOnExit) {
            if (s.LoadAction == 1) {
                LoadAllDocuments();
            } else if (s.LoadAction == 2) {
                if (SettingsModel::readInteger(store, kSettings, QStringLiteral("DocumentCount"), 0) > 0) {
                    frmLoad restore(this);
                    restore.exec();
                }
            }
        } else if (commandLine.isEmpty()) {
            LoadNewDoc(s.SitesHome1);
        }
        // 18. The command-line address, as the last tab.
        if (!commandLine.isEmpty()) {
            const QString address = SingleInstance::StripCommandLineQuotes(commandLine);
            if (!address.isEmpty())
                LoadNewDoc(address);
        }
    }
    ModifyMenu();

    // 20. The clock; 21. the gestures.
    Clock.start();
    Clock_Timer();
    mouseGestures = new cMouseGestures(this);
    connect(mouseGestures, &cMouseGestures::MouseGesture, this, &frmMain::mouseGestures_MouseGesture,
            Qt::DirectConnection);
    mouseGestures->Attach();
    m_bLoaded = true;
}

void frmMain::ShowFrame()
{
    show();
    raise();
    activateWindow();
}

void frmMain::OpenQuickTour()
{
    LoadNewDoc(QUrl::fromLocalFile(Paths::assetFile(QStringLiteral("help/quicktour.html"))).toString());
}

// ---------------------------------------------------------------- settings

void frmMain::LoadSettings()
{
    SettingsModel &s = MainCode::Settings;
    SettingsModel::LoadContext context;
    context.prevSessionCrashed = m_bPrevSessionCrashed;
    context.ieLinksName = MainCode::IELinksName.mid(0, MainCode::IELinksCount);
    context.ieLinksURL = MainCode::IELinksURL.mid(0, MainCode::IELinksCount);
    s.load(SettingsStore::instance(), context);
    bool whitelistRead = false;
    const QStringList whitelist =
        NotesFiles::ReadWhitelist(Paths::dataFile(QStringLiteral("Whitelist.qvr")), &whitelistRead);
    if (whitelistRead) {
        MainCode::Whitelist = whitelist.mid(0, kMaxWhitelistEntries);
        MainCode::WhitelistCount = qint16(MainCode::Whitelist.size());
    }
    m_sidebarDock->setVisible(s.EnableSidebar);

    setGeometry(twipsToPixels(s.MainLeft), twipsToPixels(s.MainTop),
                qMax(1, twipsToPixels(s.MainWidth)), qMax(1, twipsToPixels(s.MainHeight)));
    setWindowState(s.MainMaximized ? Qt::WindowMaximized : Qt::WindowNoState);
    g_windowState = windowState();
    auto band = [this](const char *bandKey, const char *menuKey, bool visible) {
        cReBar1->setBandVisible(cReBar1->BandIndexForKey(QLatin1String(bandKey)), visible);
        SetMenuChecked(QLatin1String(menuKey), visible);
    };
    band("Toolbar1", "mnuViewBrowseToolbar", s.BrowseToolbarVisible);
    band("Addressbar", "mnuViewAddressBar", s.AddressBarVisible);
    band("Tabbar", "mnuViewTabsBar", s.TabsBarVisible);
    Addressbar->clear();
    for (const QString &address : s.TypedAddresses)
        Addressbar->addItem(typedAddressIcon(), address);
    Addressbar->setCurrentIndex(-1);
    Addressbar->setEditText(QString());
    picStatus->setVisible(s.StatusBarVisible);
    SetMenuChecked(QStringLiteral("mnuViewStatusBar"), s.StatusBarVisible);
    Toolbar3->setButtonChecked(QStringLiteral("GoNew"), s.GoNew);
    MainCode::SidebarVisible = s.EnableSidebar;
    SetMenuChecked(QStringLiteral("mnuViewSidebar"), s.EnableSidebar);
    ShowProperButtons();
    band("Toolbar2", "mnuViewSitesToolbar", s.SitesToolbarVisible);

    // The skin of this start must be one of the list; the next start keeps it.
    EnumerateSkins();
    if (!MainCode::SkinNames.contains(s.CurrentSkin)) {
        s.CurrentSkin = QStringLiteral("none");
        QMessageBox::information(this, LoadResString(100), LoadResString(15002));
    }
    g_sNextSkin = s.CurrentSkin;

    const struct
    {
        bool SettingsModel::*setting;
        const char *key;
    } marks[] = {
        {&SettingsModel::EnableImages, "mnuContentImage"},
        {&SettingsModel::EnableSound, "mnuContentSound"},
        {&SettingsModel::EnableVideo, "mnuContentVideo"},
        {&SettingsModel::EnableScripts, "mnuContentScripts"},
        {&SettingsModel::EnableJava, "mnuContentJava"},
        {&SettingsModel::EnableActiveXDL, "mnuContentDLACTX"},
        {&SettingsModel::EnableActiveXRUN, "mnuContentRUNACTX"},
        {&SettingsModel::EnableFlash, "mnuContentFlash"},
        {&SettingsModel::SuppressErrors, "mnuContentSuppressErrors"},
        {&SettingsModel::SuppressScriptErrors, "mnuContentSuppressScriptErrors"},
        {&SettingsModel::AutoFormFill, "mnuContentAutoFill"},
    };
    for (const auto &mark : marks)
        SetMenuChecked(QLatin1String(mark.key), s.*(mark.setting));
    m_cStatusBar->setPanelIcon(QStringLiteral("Item4"), s.PopupKillerEnable ? 3 : 1);
    g_nSearchEngine = s.CurrentSearchEngine;
    Toolbar3->setButtonImage(QStringLiteral("Search"), 15 + g_nSearchEngine);
}

void frmMain::SaveSettings()
{
    SettingsModel &s = MainCode::Settings;
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
        s.MainLeft = float(pixelsToTwips(g.x()));
        s.MainTop = float(pixelsToTwips(g.y()));
        s.MainWidth = float(pixelsToTwips(g.width()));
        s.MainHeight = float(pixelsToTwips(g.height()));
    }
    if (context.windowState != SettingsModel::WindowState::Minimized && m_navigator) {
        const QRect n = m_navigator->geometry();
        s.NavigatorLeft = float(pixelsToTwips(n.x()));
        s.NavigatorTop = float(pixelsToTwips(n.y()));
        s.NavigatorWidth = float(pixelsToTwips(n.width()));
        s.NavigatorHeight = float(pixelsToTwips(n.height()));
    }
    auto bandVisible = [this](const char *bandKey) {
        return cReBar1->BandVisible(cReBar1->BandIndexForKey(QLatin1String(bandKey)));
    };
    s.BrowseToolbarVisible = bandVisible("Toolbar1");
    s.SitesToolbarVisible = bandVisible("Toolbar2");
    s.AddressBarVisible = bandVisible("Addressbar");
    s.TabsBarVisible = bandVisible("Tabbar");
    s.TypedAddresses = TypedAddresses();
    s.GoNew = GoNewDown();
    if (!MainCode::FullScreen)
        s.StatusBarVisible = !picStatus->isHidden();
    s.CurrentSearchEngine = g_nSearchEngine;
    context.nextSkin = g_sNextSkin;
    s.save(SettingsStore::instance(), context);
    NotesFiles::WriteWhitelist(Paths::dataFile(QStringLiteral("Whitelist.qvr")),
                               MainCode::Whitelist.mid(0, MainCode::WhitelistCount));
}

void frmMain::ShowSidebarSection(const QString &key)
{
    m_sidebarDock->show();
    SetMenuChecked(QStringLiteral("mnuViewSidebar"), true);
    if (!MainCode::FullScreen) {
        MainCode::SidebarVisible = true;
        MainCode::Settings.EnableSidebar = true;
    }
    m_sidebar->ShowSection(key);
}

// ---------------------------------------------------------------- registry

frmNavigator *frmMain::Navigator()
{
    if (!m_navigator) {
        m_navigator = new frmNavigator(this);
        const SettingsModel &s = MainCode::Settings;
        if (s.NavigatorWidth > 0 && s.NavigatorHeight > 0)
            m_navigator->setGeometry(twipsToPixels(s.NavigatorLeft), twipsToPixels(s.NavigatorTop),
                                     twipsToPixels(s.NavigatorWidth), twipsToPixels(s.NavigatorHeight));
    }
    return m_navigator;
}

frmDocument *frmMain::RegisterDocument(const QString &address)
{
    auto *document = new frmDocument(this);
    const int row = Navigator()->AppendRow(address, document);
    document->WebBro->Tag = QString::number(row);
    vbalDTabControl1->Add(address, 0);
    QMdiSubWindow *sub = m_mdiArea->addSubWindow(document, Qt::FramelessWindowHint);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWindowIcon(QIcon());
    return document;
}

void frmMain::LoadNewDoc(const QString &url)
{
    QString address = url;
    // A shortcut file opens the address it holds.
    if (address.right(4).toLower() == QLatin1String(".url")) {
        if (address.left(8).toLower() == QLatin1String("file:///"))
            address = QUrl(address).toLocalFile();
        address = ReadUrlShortcut(address.left(address.size() - 4));
    }

    frmDocument *document = RegisterDocument(address);
    const int k = document->Position();
    document->SetDownloadOptions();
    document->setWindowTitle(address);
    document->RegisterAsBrowser(true);
    document->NavigateDoc(address);
    document->setWindowTitle(document->LocationURL());
    if (QMdiSubWindow *sub = qobject_cast<QMdiSubWindow *>(document->parentWidget())) {
        sub->showMaximized();
        m_mdiArea->setActiveSubWindow(sub);
    }
    vbalDTabControl1->SetShrunk(k, false);
    document->ModifyTabCaption(k, address);
    InsertTypedAddress(address);
}

frmDocument *frmMain::OpenPopup(QWebEngineNewWindowRequest &request)
{
    const QString address = request.requestedUrl().toString();
    frmDocument *document = RegisterDocument(address);
    document->SetDownloadOptions();
    document->setWindowTitle(address);
    request.openIn(document->WebBro->page());
    if (QMdiSubWindow *sub = qobject_cast<QMdiSubWindow *>(document->parentWidget())) {
        sub->showMaximized();
        if (request.destination() != QWebEngineNewWindowRequest::InNewBackgroundTab)
            m_mdiArea->setActiveSubWindow(sub);
        else if (m_activeDocument)
            BringToFront(m_activeDocument);
    }
    document->ModifyTabCaption(document->Position(), address);
    return document;
}

void frmMain::DocumentUnloaded(frmDocument *document)
{
    frmNavigator *navigator = Navigator();
    const int k = document->Position();
    for (int j = k + 1; j <= navigator->RowCount(); ++j) {
        if (frmDocument *later = navigator->RowDocument(j))
            later->WebBro->Tag = QString::number(j - 1);
    }
    document->WebBro->hide();
    navigator->RemoveRow(k);
    if (!document->bTabAlreadyDeleted)
        vbalDTabControl1->Remove(k);
    document->WebBro->Tag.clear();
    // Undo Close has something to bring back now.
    if (m_cMenu && !g_sLastClosedDocument.isEmpty())
        m_cMenu->setEnabled(m_cMenu->IndexForKey(QStringLiteral("mnuEditUndoClose")), true);
    if (m_activeDocument == document) {
        m_activeDocument = nullptr;
        SetStatusText(QString());
        SetProgressTag(QStringLiteral("0"));
    }
    ModifyMenu();
}

frmDocument *frmMain::ActiveDocument() const
{
    QMdiSubWindow *sub = m_mdiArea->currentSubWindow();
    auto *document = sub ? qobject_cast<frmDocument *>(sub->widget()) : nullptr;
    return document && document->Position() > 0 ? document : nullptr;
}

QList<frmDocument *> frmMain::Documents() const
{
    QList<frmDocument *> documents;
    if (!m_navigator)
        return documents;
    for (int k = 1; k <= m_navigator->RowCount(); ++k) {
        if (frmDocument *document = m_navigator->RowDocument(k))
            documents.append(document);
    }
    return documents;
}

void frmMain::BringToFront(frmDocument *document)
{
    if (!document)
        return;
    if (auto *sub = qobject_cast<QMdiSubWindow *>(document->parentWidget())) {
        sub->showMaximized();
        m_mdiArea->setActiveSubWindow(sub);
    }
}

void frmMain::OnSubWindowActivated(QMdiSubWindow *sub)
{
    auto *document = sub ? qobject_cast<frmDocument *>(sub->widget()) : nullptr;
    if (document == m_activeDocument)
        return;
    if (m_activeDocument)
        m_activeDocument->Form_Deactivate();
    m_activeDocument = document;
    if (document)
        document->Form_Activate();
}

void frmMain::DoTabAction(frmDocument *document, int tabPosition, int action)
{
    if (!document)
        return;
    switch (action) {
    case 0:
        BringToFront(document);
        break;
    case 1:
        // Closed after the tab strip's event has returned.
        if (QWidget *sub = document->parentWidget())
            QMetaObject::invokeMethod(sub, &QWidget::close, Qt::QueuedConnection);
        break;
    case 2:
        vbalDTabControl1->SetShrunk(tabPosition, !vbalDTabControl1->Shrunk(tabPosition));
        document->ModifyTabCaption(tabPosition, document->LocationName());
        break;
    case 4:
        document->SetDownloadOptions();
        document->RefreshDoc();
        break;
    case 3:
        ShowTabMenu(document, QCursor::pos());
        break;
    case 5:
        LoadNewDoc(document->LocationURL());
        break;
    default:
        break;
    }
}

void frmMain::OnTabMouseDown(int position, Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                             const QPoint &pos)
{
    if (position < 1) {
        if (button == Qt::RightButton)
            ShowNewMenu(vbalDTabControl1->mapToGlobal(pos));
        return;
    }
    frmDocument *document = Navigator()->RowDocument(position);
    const SettingsModel &s = MainCode::Settings;
    const bool shift = modifiers & Qt::ShiftModifier;
    int action;
    if (button == Qt::LeftButton)
        action = shift ? s.ControlShiftLeft : s.ControlLeft;
    else
        action = shift ? s.ControlShiftRight : s.ControlRight;
    DoTabAction(document, position, action);
}

void frmMain::OnTabDoubleClick(int position)
{
    if (position < 1)
        NewHome1();
    else
        DoTabAction(Navigator()->RowDocument(position), position, MainCode::Settings.ControlDouble);
}

void frmMain::mnuMoreWindows()
{
    frmMoreWindows list(Documents(), this);
    if (list.exec() == QDialog::Accepted && list.Chosen())
        BringToFront(list.Chosen());
}

// ---------------------------------------------------------------- hand-over

void frmMain::HandOver(const QString &text)
{
    if (text.size() > 1) {
        LoadNewDoc(text);
        if (frmDocument *document = ActiveDocument())
            document->setWindowTitle(text);
    }
    if (isMinimized() || isHidden()) {
        const bool locked = !MainCode::Settings.TrayPassword.isEmpty();
        if (isMinimized())
            setWindowState(g_windowState & ~Qt::WindowMinimized);
        if (!locked || !isHidden())
            ShowFrame();
    } else {
        ShowFrame();
    }
}

// ---------------------------------------------------------------- navigation

void frmMain::Back()
{
    if (frmDocument *document = ActiveDocument())
        document->GoBackDoc();
}

void frmMain::Forward()
{
    if (frmDocument *document = ActiveDocument())
        document->GoForwardDoc();
}

void frmMain::StopLoading()
{
    if (frmDocument *document = ActiveDocument())
        document->StopDoc();
}

void frmMain::Refresh()
{
    if (frmDocument *document = ActiveDocument()) {
        document->SetDownloadOptions();
        document->RefreshDoc();
    }
}

void frmMain::GoSite(const QString &address)
{
    if (frmDocument *document = ActiveDocument())
        document->NavigateDoc(address);
    else
        LoadNewDoc(address);
}

void frmMain::Home1() { GoSite(MainCode::Settings.SitesHome1); }
void frmMain::Home2() { GoSite(MainCode::Settings.SitesHome2); }
void frmMain::GoSearch() { GoSite(MainCode::Settings.SitesSearch); }
void frmMain::GoMail() { GoSite(MainCode::Settings.SitesMail); }
void frmMain::GoNews() { GoSite(MainCode::Settings.SitesNews); }
void frmMain::NewHome1() { LoadNewDoc(MainCode::Settings.SitesHome1); }
void frmMain::NewHome2() { LoadNewDoc(MainCode::Settings.SitesHome2); }
void frmMain::NewSearch() { LoadNewDoc(MainCode::Settings.SitesSearch); }
void frmMain::NewEmail() { LoadNewDoc(MainCode::Settings.SitesMail); }
void frmMain::NewNews() { LoadNewDoc(MainCode::Settings.SitesNews); }
void frmMain::mnuNewBlank() { LoadNewDoc(QStringLiteral("about:blank")); }
void frmMain::mnuNavigateSearch() { GoSearch(); }
void frmMain::mnuNavigateStop() { StopLoading(); }
void frmMain::mnuNavigateHome2() { GoSite(MainCode::Settings.SitesHome2); }

void frmMain::mnuNewCurrent()
{
    frmDocument *document = ActiveDocument();
    LoadNewDoc(document ? document->LocationURL() : MainCode::Settings.SitesHome1);
}

void frmMain::mnuNewClipboard()
{
    LoadNewDoc(QApplication::clipboard()->text());
}

frmQSearch *frmMain::QuickSearch() const
{
    return m_qsearch;
}

void frmMain::mnuViewQSearch()
{
    if (!m_qsearch)
        m_qsearch = new frmQSearch(this);
    if (m_qsearch->isVisible())
        return;
    MainCode::ModalDialogClosed = false;
    m_qsearch->exec();
}

// ---------------------------------------------------------------- address bar

QStringList frmMain::TypedAddresses() const
{
    QStringList list;
    for (int i = 0; i < Addressbar->count(); ++i)
        list << Addressbar->itemText(i);
    return list;
}

void frmMain::InsertTypedAddress(const QString &address)
{
    if (!AddressBarRules::ShouldInsertAtTop(TypedAddresses(), address))
        return;
    const QString text = Addressbar->currentText();
    Addressbar->insertItem(0, typedAddressIcon(), address);
    Addressbar->setEditText(text);
}

void frmMain::SetAddressText(const QString &text)
{
    Addressbar->setEditText(text);
}

QString frmMain::AddressText() const
{
    return Addressbar->currentText();
}

bool frmMain::GoNewDown() const
{
    return Toolbar3->ButtonChecked(QStringLiteral("GoNew"));
}

void frmMain::SetGoNew(bool down)
{
    Toolbar3->setButtonChecked(QStringLiteral("GoNew"), down);
}

void frmMain::AddressbarEnter(bool ctrl, bool shift)
{
    MainCode::CtrlKeyDown = ctrl;
    MainCode::ShiftKeyDown = shift;
    AddressBarRules::EnterInput in;
    in.text = Addressbar->currentText();
    in.ctrl = ctrl;
    in.shift = shift;
    in.goNewDown = GoNewDown();
    in.hasActiveDocument = ActiveDocument() != nullptr;
    in.typedAddresses = TypedAddresses();
    const AddressBarRules::EnterOutcome out = AddressBarRules::DecideEnter(in);
    if (out.text != in.text)
        SetAddressText(out.text);
    switch (out.action) {
    case AddressBarRules::EnterOutcome::Nothing:
        return;
    case AddressBarRules::EnterOutcome::Search:
        SearchWeb(g_nSearchEngine, out.text);
        break;
    case AddressBarRules::EnterOutcome::OpenNewTab:
        LoadNewDoc(out.text);
        break;
    case AddressBarRules::EnterOutcome::NavigateActive:
        if (frmDocument *document = ActiveDocument()) {
            document->setWindowTitle(QString());
            document->NavigateDoc(out.text);
        }
        break;
    }
    if (out.addToTypedList)
        InsertTypedAddress(out.text);
    if (out.focusDocument) {
        if (frmDocument *document = ActiveDocument())
            document->setFocus();
    }
}

void frmMain::Addressbar_Select()
{
    if (g_bAddressEditing)
        return;
    const QString text = Addressbar->currentText();
    if (text.isEmpty())
        return;
    if (frmDocument *document = ActiveDocument()) {
        document->NavigateDoc(text);
        InsertTypedAddress(text);
    } else {
        LoadNewDoc(text);
    }
}

void frmMain::GoButton()
{
    if (GoNewDown()) {
        const QString text = Addressbar->currentText();
        if (!text.isEmpty())
            LoadNewDoc(text);
    } else {
        Addressbar_Select();
    }
}

void frmMain::SearchWeb(int engine, const QString &text)
{
    const QString address = SearchEngines::SearchAddress(engine, text);
    if (!address.isEmpty())
        LoadNewDoc(address);
}

void frmMain::SelectSearchEngine(int engine)
{
    g_nSearchEngine = qint16(engine);
    Toolbar3->setButtonImage(QStringLiteral("Search"), 15 + engine);
    SetAddressText(QString());
}

bool frmMain::eventFilter(QObject *watched, QEvent *event)
{
    // Keys reach the combo box first (it forwards them to its line edit itself); synthetic
    // ones may go to the line edit directly.
    if (watched == Addressbar->lineEdit() || watched == Addressbar) {
        switch (event->type()) {
        case QEvent::FocusIn:
            g_Focus = true;
            QMetaObject::invokeMethod(Addressbar->lineEdit(), &QLineEdit::selectAll, Qt::QueuedConnection);
            break;
        case QEvent::FocusOut:
            g_Focus = false;
            break;
        case QEvent::KeyPress: {
            auto *key = static_cast<QKeyEvent *>(event);
            if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
                AddressbarEnter(key->modifiers() & Qt::ControlModifier,
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

void frmMain::TextSizeLarger()
{
    if (frmDocument *document = ActiveDocument()) {
        QVariant level;
        document->ExecWBDoc(WebBrowser::OLECMDID_ZOOM, 2, QVariant(), &level);
        document->ExecWBDoc(WebBrowser::OLECMDID_ZOOM, 2, qMin(level.toInt() + 1, 4));
    }
}

void frmMain::TextSizeSmaller()
{
    if (frmDocument *document = ActiveDocument()) {
        QVariant level;
        document->ExecWBDoc(WebBrowser::OLECMDID_ZOOM, 2, QVariant(), &level);
        document->ExecWBDoc(WebBrowser::OLECMDID_ZOOM, 2, qMax(level.toInt() - 1, 0));
    }
}

void frmMain::TextSizeMedium()
{
    if (frmDocument *document = ActiveDocument()) {
        QVariant level;
        document->ExecWBDoc(WebBrowser::OLECMDID_ZOOM, 2, QVariant(), &level);
        if (level.toInt() != 2)
            document->ExecWBDoc(WebBrowser::OLECMDID_ZOOM, 2, 2);
    }
}

// ---------------------------------------------------------------- saved pages

void frmMain::SaveAllDocuments()
{
    SettingsStore &store = SettingsStore::instance();
    SettingsStore::Batch batch(store);
    const QList<frmDocument *> documents = Documents();
    store.write(kSettings, QStringLiteral("DocumentCount"), QString::number(documents.size()));
    for (int k = 0; k < documents.size(); ++k)
        store.write(kSettings, QStringLiteral("Document%1").arg(k + 1), documents[k]->LocationURL());
}

void frmMain::LoadAllDocuments()
{
    const SettingsStore &store = SettingsStore::instance();
    const int n = SettingsModel::readInteger(store, kSettings, QStringLiteral("DocumentCount"), 0);
    for (int i = 1; i <= n; ++i)
        LoadNewDoc(store.read(kSettings, QStringLiteral("Document%1").arg(i),
                              MainCode::Settings.SitesHome1));
}

void frmMain::CloseAllDocuments()
{
    for (frmDocument *document : Documents()) {
        if (QWidget *sub = document->parentWidget())
            sub->close();
    }
}

// ---------------------------------------------------------------- content

// ---------------------------------------------------------------- status bar

void frmMain::SetStatusText(const QString &text)
{
    m_cStatusBar->setPanelText(QStringLiteral("Item1"), text);
    lblFullScreenStatus->setText(text);
}

void frmMain::SetProgressTag(const QString &text)
{
    m_cStatusBar->setTag(text);
    m_cStatusBar->setPanelStyle(QStringLiteral("Item7"),
                                text.toInt() != 0 ? cNoStatusBar::kStyleOwnerDraw
                                                  : cNoStatusBar::kStyleGripperPane);
    m_cStatusBar->Draw(m_cStatusBar->PanelIndex(QStringLiteral("Item7")));
}

QString frmMain::ProgressTag() const
{
    return m_cStatusBar->Tag();
}

void frmMain::SetSecureIcon(bool secure)
{
    m_cStatusBar->setPanelIcon(QStringLiteral("Item6"), secure ? 2 : -1);
}

void frmMain::Clock_Timer()
{
    const QLocale locale = QLocale::system();
    const QDateTime now = QDateTime::currentDateTime();
    const QString text = locale.toString(now.date(), QLocale::ShortFormat) + QLatin1String("    ") +
                         locale.toString(now.time(), QLocale::ShortFormat);
    m_cStatusBar->setPanelToolTipText(QStringLiteral("Item2"), text);
    m_cStatusBar->setPanelText(QStringLiteral("Item2"), text);

    // The update check a minute after start (the check itself comes with the updater).
    if (MainCode::Settings.CheckForUpdate) {
        ++m_updateCounter;
        if (m_updateCounter > 60)
            m_updateCounter = 160;
    }
    // The start-up feed check and the periodic ones.
    m_sidebar->Rss->Clock_Timer();
}

void frmMain::m_cStatusBar_DoubleClick(int panel, int, int)
{
    if (panel == 4) {
        MainCode::Settings.PopupKillerEnable = !MainCode::Settings.PopupKillerEnable;
        m_cStatusBar->setPanelIcon(QStringLiteral("Item4"), MainCode::Settings.PopupKillerEnable ? 3 : 1);
    }
}

void frmMain::m_cStatusBar_OwnerDraw(QPainter *painter, int, int &left, int &top, int &right,
                                     int &bottom, bool &)
{
    const QString tag = m_cStatusBar->Tag();
    const int p = tag.isEmpty() ? 0 : tag.toInt();
    try {
        m_cStatusBar->GetPanelRect(QStringLiteral("Item7"), left, top, right, bottom);
    } catch (const VbError &) {
        return;
    }
    top += 2;
    cProgress.setValue(p);
    if (p == 100) {
        cProgress.setShowPercentage(false);
        cProgress.setText(QStringLiteral("Complete"));
    } else {
        cProgress.setShowPercentage(true);
        cProgress.setText(QStringLiteral("Loading"));
    }
    cProgress.Draw(*painter, left, top, -1, -1, 255);
}

qint32 frmMain::GestureAction(qint32 gestureType)
{
    const SettingsModel &s = MainCode::Settings;
    switch (gestureType) {
    case 1: return s.MouseUp;
    case 2: return s.MouseDown;
    case 4: return s.MouseRight;
    case 8: return s.MouseLeft;
    case 16: return s.MouseUpRight;
    case 32: return s.MouseDownRight;
    case 64: return s.MouseDownLeft;
    case 128: return s.MouseUpLeft;
    case 256: return s.MouseRightUp;
    case 512: return s.MouseRightDown;
    case 1024: return s.MouseLeftDown;
    case 2048: return s.MouseLeftUp;
    default: return 0;
    }
}

void frmMain::mouseGestures_MouseGesture(qint32 gestureType, int, int, int, int, bool &acceptGesture)
{
    const qint32 action = GestureAction(gestureType);
    if (MainCode::ModalDialogClosed && action != 0)
        RunGestureAction(action);
    acceptGesture = true;
}

void frmMain::mnuFileClose()
{
    if (frmDocument *document = ActiveDocument()) {
        if (QWidget *sub = document->parentWidget())
            QMetaObject::invokeMethod(sub, &QWidget::close, Qt::QueuedConnection);
    }
}

void frmMain::RunGestureAction(qint32 action)
{
    switch (action) {
    case 1: Back(); break;
    case 2: Forward(); break;
    case 3: Refresh(); break;
    case 4: StopLoading(); break;
    case 5: mnuFileClose(); break;
    case 6: NewHome1(); break;
    case 7: NewHome2(); break;
    case 8: mnuNewBlank(); break;
    case 9: mnuNewCurrent(); break;
    case 10: mnuNewClipboard(); break;
    case 11: NewEmail(); break;
    case 12: NewSearch(); break;
    case 13: NewNews(); break;
    default: break; // options, favorites and whitelist commands come with their dialogs
    }
}

// ---------------------------------------------------------------- frame life

void frmMain::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::WindowStateChange && !(windowState() & Qt::WindowMinimized))
        g_windowState = windowState();
    QMainWindow::changeEvent(event);
}

void frmMain::closeEvent(QCloseEvent *event)
{
    if (m_bLoaded && !m_bUnloaded) {
        MDIForm_QueryUnload();
        // Every document unloads, each removing its own entry, before the frame's unload.
        for (QMdiSubWindow *sub : m_mdiArea->subWindowList())
            sub->close();
        MDIForm_Unload();
    }
    event->accept();
}

void frmMain::MDIForm_QueryUnload()
{
    if (MainCode::Settings.SaveDocumentOnExit)
        SaveAllDocuments();
}

void frmMain::MDIForm_Unload()
{
    m_bUnloaded = true;
    g_bClosing = true;
    Clock.stop();
    if (mouseGestures)
        mouseGestures->Detach();
    SettingsStore &store = SettingsStore::instance();
    SettingsModel::writeBoolean(store, kSettings, QStringLiteral("PrevSessionCrashed"), false);
    // Ends a running feed check, purges old headlines and closes the database.
    m_sidebar->Unload();
    SaveSettings();
    SaveRebarLayout();
    if (m_qsearch)
        m_qsearch->Form_Unload();
    m_sidebar->SaveQuickNotes();
    DestroyToolbars();
    if (m_navigator)
        m_navigator->close();
    SingleInstance::ReleaseInstanceMutex();
}
