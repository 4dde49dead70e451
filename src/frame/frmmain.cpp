#include "frmmain.h"

#include "core/frmwarning.h"
#include "core/maincode.h"
#include "core/olecolor.h"
#include "core/paths.h"
#include "core/settingsstore.h"
#include "core/singleinstance.h"
#include "core/strings.h"
#include "document/frmdocument.h"

#include <QCloseEvent>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace {
const QString kSettings = QStringLiteral("Settings");
}

frmMain::frmMain(QWidget *parent) : QMainWindow(parent), m_mdiArea(new QMdiArea(this))
{
    setObjectName(QStringLiteral("frmMain"));
    m_mdiArea->setObjectName(QStringLiteral("MDIClient"));
    m_mdiArea->setViewMode(QMdiArea::SubWindowView);
    m_mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_mdiArea);
    setWindowIcon(QIcon(QStringLiteral(":/quarvel/quarvel.png")));
}

frmMain::~frmMain()
{
    if (MainCode::MainForm == this)
        MainCode::MainForm = nullptr;
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

    // 5. Captions.
    setProperty(kTagProperty, ResId(1120));
    LoadResStrings(this);

    // 7. Search engine.
    g_nSearchEngine =
        SettingsModel::readInteger(store, kSettings, QStringLiteral("CurrentSearchEngine"), 0);

    // 11. Every setting.
    LoadSettings();

    // 15. First run: only the welcome.
    const bool firstTime =
        SettingsModel::readBoolean(store, kSettings, QStringLiteral("FirstTime"), true);
    if (firstTime) {
        SettingsModel::writeBoolean(store, kSettings, QStringLiteral("FirstTime"), false);
    } else {
        // 17. Saved pages, or home page 1 when none are kept and no address was given.
        if (!MainCode::Settings.SaveDocumentOnExit && commandLine.isEmpty())
            LoadNewDoc(MainCode::Settings.SitesHome1);
        // 18. The command-line address, as the last tab.
        if (!commandLine.isEmpty()) {
            const QString address = SingleInstance::StripCommandLineQuotes(commandLine);
            if (!address.isEmpty())
                LoadNewDoc(address);
        }
    }
    m_bLoaded = true;
}

void frmMain::ShowFrame()
{
    show();
    raise();
    activateWindow();
}

void frmMain::LoadSettings()
{
    SettingsModel &s = MainCode::Settings;
    SettingsModel::LoadContext context;
    context.prevSessionCrashed = m_bPrevSessionCrashed;
    context.ieLinksName = MainCode::IELinksName.mid(0, MainCode::IELinksCount);
    context.ieLinksURL = MainCode::IELinksURL.mid(0, MainCode::IELinksCount);
    s.load(SettingsStore::instance(), context);

    setGeometry(twipsToPixels(s.MainLeft), twipsToPixels(s.MainTop),
                qMax(1, twipsToPixels(s.MainWidth)), qMax(1, twipsToPixels(s.MainHeight)));
    setWindowState(s.MainMaximized ? Qt::WindowMaximized : Qt::WindowNoState);
    g_windowState = windowState();
    MainCode::SidebarVisible = s.EnableSidebar;
    g_nSearchEngine = s.CurrentSearchEngine;
    g_sNextSkin = s.CurrentSkin;
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
    s.CurrentSearchEngine = g_nSearchEngine;
    context.nextSkin = g_sNextSkin;
    s.save(SettingsStore::instance(), context);
}

void frmMain::LoadNewDoc(const QString &address)
{
    auto *document = new frmDocument;
    QMdiSubWindow *sub = m_mdiArea->addSubWindow(document);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    document->setWindowTitle(address);
    document->NavigateDoc(address);
    sub->showMaximized();
    m_mdiArea->setActiveSubWindow(sub);
}

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

frmDocument *frmMain::ActiveDocument() const
{
    QMdiSubWindow *sub = m_mdiArea->activeSubWindow();
    return sub ? qobject_cast<frmDocument *>(sub->widget()) : nullptr;
}

QList<frmDocument *> frmMain::Documents() const
{
    QList<frmDocument *> documents;
    for (QMdiSubWindow *sub : m_mdiArea->subWindowList()) {
        if (auto *document = qobject_cast<frmDocument *>(sub->widget()))
            documents.append(document);
    }
    return documents;
}

void frmMain::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::WindowStateChange && !(windowState() & Qt::WindowMinimized))
        g_windowState = windowState();
    QMainWindow::changeEvent(event);
}

void frmMain::closeEvent(QCloseEvent *event)
{
    MDIForm_Unload();
    event->accept();
}

void frmMain::MDIForm_Unload()
{
    if (m_bUnloaded || !m_bLoaded)
        return;
    m_bUnloaded = true;
    g_bClosing = true;
    SettingsStore &store = SettingsStore::instance();
    SettingsModel::writeBoolean(store, kSettings, QStringLiteral("PrevSessionCrashed"), false);
    SaveSettings();
    m_mdiArea->closeAllSubWindows();
    SingleInstance::ReleaseInstanceMutex();
}
