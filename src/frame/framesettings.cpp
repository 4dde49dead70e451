#include "framesettings.h"

#include "core/appstate.h"
#include "core/settingsstore.h"
#include "core/storedcolor.h"
#include "core/strings.h"
#include "document/contentswitches.h"
#include "document/popupwhitelist.h"
#include "frame/address/addressbar.h"
#include "frame/chrome/framechrome.h"
#include "frame/chrome/framestatusbar.h"
#include "frame/chrome/striptoolbar.h"
#include "frame/commands/commandregistry.h"
#include "frame/documents/documentarea.h"
#include "framegeometry.h"
#include "frameoptionshost.h"
#include "frameparts.h"
#include "frametimers.h"
#include "frametray.h"
#include "framewindowstate.h"
#include "fullscreenmode.h"
#include "sidebar/sidebar.h"

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
    : m_parts(parts), m_sidebar(&sidebar), m_fullScreen(&fullScreen), m_timers(&timers),
      m_optionsHost(&optionsHost)
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
    m_parts.sidebarDock->setVisible(s.enableSidebar);

    const bool stored = SettingsStore::instance().contains(kSettings, QStringLiteral("MainWidth"));
    const QRect saved =
        stored ? QRect(twipsToPixels(s.mainLeft), twipsToPixels(s.mainTop),
                       qMax(1, twipsToPixels(s.mainWidth)), qMax(1, twipsToPixels(s.mainHeight)))
               : QRect();
    const QScreen *screen = QGuiApplication::primaryScreen();
    m_parts.frame->setGeometry(
        FrameGeometry::initialGeometry(saved, screen ? screen->availableGeometry() : QRect()));
    m_parts.frame->setWindowState(s.mainMaximized ? Qt::WindowMaximized : Qt::WindowNoState);
    m_parts.windowState->keepNormalState();
    if (s.minimizeToTray)
        m_parts.windowState->tray()->addIcon();
    m_sidebar->applyQuickNotesStyle(s.quickNotesFont(), storedColorToQColor(quint32(s.qnColor)));
    FrameOptionsHost::armRefreshTimer(*m_timers->favoritesTimer(), s.favRefresh);
    FrameOptionsHost::armRefreshTimer(*m_timers->historyTimer(), s.histRefresh);
    auto band = [this](const char *bandKey, const char *menuKey, bool visible) {
        m_parts.chrome->setBandVisible(QLatin1String(bandKey), visible);
        m_parts.commands->setChecked(QLatin1String(menuKey), visible);
    };
    band("Toolbar1", "mnuViewBrowseToolbar", s.browseToolbarVisible);
    band("Addressbar", "mnuViewAddressBar", s.addressBarVisible);
    band("Tabbar", "mnuViewTabsBar", s.tabsBarVisible);
    m_parts.addressBar->setTypedAddresses(s.typedAddresses);
    m_parts.statusBar->canvas()->setVisible(s.statusBarVisible);
    m_parts.commands->setChecked(QStringLiteral("mnuViewStatusBar"), s.statusBarVisible);
    m_parts.addressBar->setGoNew(s.goNew);
    AppState::sidebarVisible = s.enableSidebar;
    m_parts.commands->setChecked(QStringLiteral("mnuViewSidebar"), s.enableSidebar);
    m_parts.chrome->showCustomLinkButtons();
    band("Toolbar2", "mnuViewSitesToolbar", s.sitesToolbarVisible);

    // The skin of this start must be one of the list; the next start keeps it.
    m_parts.chrome->enumerateSkins();
    if (!AppState::skinNames.contains(s.currentSkin)) {
        s.currentSkin = QStringLiteral("none");
        QMessageBox::information(m_parts.frame, loadResString(100), loadResString(15002));
    }
    m_parts.chrome->setNextSkin(s.currentSkin);

    for (const ContentSwitches::Switch &entry : ContentSwitches::switches())
        m_parts.commands->setChecked(QLatin1String(entry.menuKey), s.*(entry.setting));
    m_optionsHost->showPopupKillerState();
    m_parts.addressBar->setSearchEngine(s.currentSearchEngine);
    m_parts.chrome->addressToolBar()->setButtonImage(QStringLiteral("Search"),
                                                     15 + m_parts.addressBar->searchEngine());
}

bool FrameSettings::save()
{
    SettingsModel &s = AppState::settings;
    SettingsModel::SaveContext context;
    // Full screen is kept as the state it will return to.
    const Qt::WindowStates state =
        AppState::fullScreen ? m_fullScreen->stateBefore() : m_parts.frame->windowState();
    if (state & Qt::WindowMinimized || m_parts.frame->isHidden())
        context.windowState = SettingsModel::WindowState::Minimized;
    else if (state & (Qt::WindowMaximized | Qt::WindowFullScreen))
        context.windowState = SettingsModel::WindowState::Maximized;
    else
        context.windowState = SettingsModel::WindowState::Normal;
    if (context.windowState == SettingsModel::WindowState::Normal) {
        const QRect g =
            AppState::fullScreen ? m_parts.frame->normalGeometry() : m_parts.frame->geometry();
        s.mainLeft = float(pixelsToTwips(g.x()));
        s.mainTop = float(pixelsToTwips(g.y()));
        s.mainWidth = float(pixelsToTwips(g.width()));
        s.mainHeight = float(pixelsToTwips(g.height()));
    }
    if (context.windowState != SettingsModel::WindowState::Minimized)
        m_parts.documents->storeNavigatorGeometry();
    auto bandVisible = [this](const char *bandKey) {
        return m_parts.chrome->bandVisible(QLatin1String(bandKey));
    };
    s.browseToolbarVisible = bandVisible("Toolbar1");
    s.sitesToolbarVisible = bandVisible("Toolbar2");
    s.addressBarVisible = bandVisible("Addressbar");
    s.tabsBarVisible = bandVisible("Tabbar");
    s.typedAddresses = m_parts.addressBar->typedAddresses();
    s.goNew = m_parts.addressBar->goNewDown();
    if (!AppState::fullScreen)
        s.statusBarVisible = !m_parts.statusBar->canvas()->isHidden();
    s.currentSearchEngine = qint16(m_parts.addressBar->searchEngine());
    context.nextSkin = m_parts.chrome->nextSkin();
    const bool saved = s.save(SettingsStore::instance(), context);
    // The whitelist is a file of its own: it is written whatever became of the settings.
    const bool whitelistSaved = saveWhitelist();
    return saved && whitelistSaved;
}
