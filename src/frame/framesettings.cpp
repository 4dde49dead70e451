#include "framesettings.h"

#include "addressbar.h"
#include "commandregistry.h"
#include "core/appstate.h"
#include "core/settingsstore.h"
#include "core/storedcolor.h"
#include "core/strings.h"
#include "document/contentswitches.h"
#include "document/popupwhitelist.h"
#include "documentarea.h"
#include "framechrome.h"
#include "framegeometry.h"
#include "frameoptionshost.h"
#include "frameparts.h"
#include "framestatusbar.h"
#include "frametimers.h"
#include "frametray.h"
#include "framewindowstate.h"
#include "fullscreenmode.h"
#include "sidebar/sidebar.h"
#include "striptoolbar.h"

#include <QDockWidget>
#include <QGuiApplication>
#include <QMainWindow>
#include <QMessageBox>
#include <QScreen>

namespace {

const QString kSettings = QStringLiteral("Settings");

} // namespace

FrameSettings::FrameSettings(const FrameParts &parts, Sidebar &sidebar, FullScreenMode &fullScreen,
                             FrameTimers &timers, FrameOptionsHost &optionsHost)
    : m_frame(parts.frame), m_documentArea(parts.documents), m_commands(parts.commands),
      m_chrome(parts.chrome), m_addressBar(parts.addressBar), m_statusBar(parts.statusBar),
      m_sidebar(&sidebar), m_sidebarDock(parts.sidebarDock), m_fullScreen(&fullScreen),
      m_windowState(parts.windowState), m_timers(&timers), m_optionsHost(&optionsHost)
{
}

void FrameSettings::load(bool prevSessionCrashed)
{
    SettingsModel &s = AppState::settings;
    SettingsModel::LoadContext context;
    context.prevSessionCrashed = prevSessionCrashed;
    context.linkNames = AppState::linkNames;
    context.linkUrls = AppState::linkUrls;
    s.load(SettingsStore::instance(), context);
    // The whitelist is read once the window shows, or at the first popup before that.
    readWhitelistAtNextUse();
    m_sidebarDock->setVisible(s.enableSidebar);

    const bool stored = SettingsStore::instance().contains(kSettings, QStringLiteral("MainWidth"));
    const QRect saved =
        stored ? QRect(twipsToPixels(s.mainLeft), twipsToPixels(s.mainTop),
                       qMax(1, twipsToPixels(s.mainWidth)), qMax(1, twipsToPixels(s.mainHeight)))
               : QRect();
    const QScreen *screen = QGuiApplication::primaryScreen();
    m_frame->setGeometry(
        FrameGeometry::initialGeometry(saved, screen ? screen->availableGeometry() : QRect()));
    m_frame->setWindowState(s.mainMaximized ? Qt::WindowMaximized : Qt::WindowNoState);
    m_windowState->keepNormalState();
    if (s.minimizeToTray)
        m_windowState->tray()->addIcon();
    m_sidebar->applyQuickNotesStyle(s.quickNotesFont(), storedColorToQColor(quint32(s.qnColor)));
    FrameOptionsHost::armRefreshTimer(*m_timers->favoritesTimer(), s.favRefresh);
    FrameOptionsHost::armRefreshTimer(*m_timers->historyTimer(), s.histRefresh);
    auto band = [this](const char *bandKey, const char *menuKey, bool visible) {
        m_chrome->setBandVisible(QLatin1String(bandKey), visible);
        m_commands->setChecked(QLatin1String(menuKey), visible);
    };
    band("Toolbar1", "mnuViewBrowseToolbar", s.browseToolbarVisible);
    band("Addressbar", "mnuViewAddressBar", s.addressBarVisible);
    band("Tabbar", "mnuViewTabsBar", s.tabsBarVisible);
    m_addressBar->setTypedAddresses(s.typedAddresses);
    m_statusBar->canvas()->setVisible(s.statusBarVisible);
    m_commands->setChecked(QStringLiteral("mnuViewStatusBar"), s.statusBarVisible);
    m_addressBar->setGoNew(s.goNew);
    AppState::sidebarVisible = s.enableSidebar;
    m_commands->setChecked(QStringLiteral("mnuViewSidebar"), s.enableSidebar);
    m_chrome->showCustomLinkButtons();
    band("Toolbar2", "mnuViewSitesToolbar", s.sitesToolbarVisible);

    // The skin of this start must be one of the list; the next start keeps it.
    m_chrome->enumerateSkins();
    if (!AppState::skinNames.contains(s.currentSkin)) {
        s.currentSkin = QStringLiteral("none");
        QMessageBox::information(m_frame, loadResString(100), loadResString(15002));
    }
    m_chrome->setNextSkin(s.currentSkin);

    for (const ContentSwitches::Switch &entry : ContentSwitches::switches())
        m_commands->setChecked(QLatin1String(entry.menuKey), s.*(entry.setting));
    m_optionsHost->showPopupKillerState();
    m_addressBar->setSearchEngine(s.currentSearchEngine);
    m_chrome->addressToolBar()->setButtonImage(QStringLiteral("Search"),
                                               15 + m_addressBar->searchEngine());
}

bool FrameSettings::save()
{
    SettingsModel &s = AppState::settings;
    SettingsModel::SaveContext context;
    // Full screen is kept as the state it will return to.
    const Qt::WindowStates state =
        AppState::fullScreen ? m_fullScreen->stateBefore() : m_frame->windowState();
    if (state & Qt::WindowMinimized || m_frame->isHidden())
        context.windowState = SettingsModel::WindowState::Minimized;
    else if (state & (Qt::WindowMaximized | Qt::WindowFullScreen))
        context.windowState = SettingsModel::WindowState::Maximized;
    else
        context.windowState = SettingsModel::WindowState::Normal;
    if (context.windowState == SettingsModel::WindowState::Normal) {
        const QRect g = AppState::fullScreen ? m_frame->normalGeometry() : m_frame->geometry();
        s.mainLeft = float(pixelsToTwips(g.x()));
        s.mainTop = float(pixelsToTwips(g.y()));
        s.mainWidth = float(pixelsToTwips(g.width()));
        s.mainHeight = float(pixelsToTwips(g.height()));
    }
    if (context.windowState != SettingsModel::WindowState::Minimized)
        m_documentArea->storeNavigatorGeometry();
    auto bandVisible = [this](const char *bandKey) {
        return m_chrome->bandVisible(QLatin1String(bandKey));
    };
    s.browseToolbarVisible = bandVisible("Toolbar1");
    s.sitesToolbarVisible = bandVisible("Toolbar2");
    s.addressBarVisible = bandVisible("Addressbar");
    s.tabsBarVisible = bandVisible("Tabbar");
    s.typedAddresses = m_addressBar->typedAddresses();
    s.goNew = m_addressBar->goNewDown();
    if (!AppState::fullScreen)
        s.statusBarVisible = !m_statusBar->canvas()->isHidden();
    s.currentSearchEngine = qint16(m_addressBar->searchEngine());
    context.nextSkin = m_chrome->nextSkin();
    const bool saved = s.save(SettingsStore::instance(), context);
    // The whitelist is a file of its own: it is written whatever became of the settings.
    const bool whitelistSaved = saveWhitelist();
    return saved && whitelistSaved;
}
