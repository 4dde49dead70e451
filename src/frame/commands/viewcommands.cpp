#include "viewcommands.h"

#include "frame/documents/documentarea.h"

#include "commandhost.h"
#include "commandregistry.h"
#include "core/appstate.h"
#include "core/settingsnotifier.h"
#include "core/settingsstore.h"
#include "core/strings.h"
#include "document/autorefreshdialog.h"
#include "document/contentswitches.h"
#include "document/documentwindow.h"
#include "document/popupwhitelist.h"
#include "frame/chrome/framemenus.h"
#include "frame/chrome/keyedmenu.h"
#include "frame/chrome/striptoolbar.h"
#include "frame/chrome/toolbarbands.h"
#include "frame/documents/documenttabbar.h"
#include "frame/documents/subwindowarrangement.h"
#include "menucontroller.h"
#include "panelcommands.h"
#include "platform/webbrowser.h"
#include "widgets/panelstatusbar.h"

#include <QDockWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>

namespace {

bool writeOption(const QString &key, bool value)
{
    return SettingsModel::writeBoolean(SettingsStore::instance(), QStringLiteral("Settings"), key,
                                       value);
}

} // namespace

ViewCommands::ViewCommands(CommandHost &host, CommandRegistry &commands, MenuController &menus,
                           QObject *parent)
    : QObject(parent), m_host(host), m_commands(commands), m_menus(menus)
{
    registerCommands();
}

void ViewCommands::registerCommands()
{
    auto command = [this](const char *key, auto body) {
        connect(m_commands.add(QLatin1String(key)), &QAction::triggered, this, body);
    };
    auto checkable = [this](const char *key, auto body) {
        QAction *action = m_commands.add(QLatin1String(key));
        action->setCheckable(true);
        connect(action, &QAction::triggered, this, body);
    };

    // Bars and panels.
    const struct
    {
        const char *key;
        const char *band;
    } bands[] = {{"mnuViewBrowseToolbar", "Toolbar1"},
                 {"mnuViewSitesToolbar", "Toolbar2"},
                 {"mnuViewAddressBar", "Addressbar"},
                 {"mnuViewTabsBar", "Tabbar"}};
    for (const auto &band : bands) {
        const QString key = QLatin1String(band.key), bandKey = QLatin1String(band.band);
        checkable(band.key,
                  [this, key, bandKey](bool checked) { toggleBand(bandKey, key, checked); });
    }
    checkable("mnuViewStatusBar", [this] { toggleStatusBar(); });
    checkable("mnuViewSidebar", [this](bool checked) { toggleSidebar(checked); });
    checkable("mnuAlignTop", [this] { alignBands(1); });
    checkable("mnuAlignBottom", [this] { alignBands(2); });
    command("mnuViewRSS", [this] { showRssSection(); });
    command("mnuViewQSearch", [this] { showQuickSearch(); });
    command("mnuViewSource", [this] { viewSource(); });
    command("mnuViewTabsResetAll", [this] { shrinkTabs(0); });
    command("mnuViewTabsShrinkAll", [this] { shrinkTabs(1); });
    command("mnuViewTabsShrinkActive", [this] { shrinkTabs(2); });
    command("mnuViewTabsShrinkAllbutActive", [this] { shrinkTabs(3); });
    // The Tabs submenu as a whole: only its enabled state.
    m_commands.add(QStringLiteral("mnuViewTabs"));

    // Content.
    for (const ContentSwitches::Switch &entry : ContentSwitches::switches()) {
        const QString key = QLatin1String(entry.menuKey);
        checkable(entry.menuKey, [this, key] { toggleContentSwitch(key); });
    }
    command("mnuContentFillForm", [this] { fillForm(); });
    command("mnuContentFormData", [this] { showFormDataOptions(); });
    command("mnuTabAdd2PopupKillerWhiteList", [this] { addCurrentSiteToWhitelist(); });
    command("PopupKillerEnable", [this] { togglePopupKiller(); });

    // Tab menu and automatic refresh (60, 120 and 300 seconds; 0 stops).
    command("mnuTabRefresh", [this] { refreshTab(); });
    command("mnuTabClose", [this] { runTabAction(1); });
    command("mnuTabToggleShrink", [this] { runTabAction(2); });
    command("mnuTabDuplicate", [this] { duplicateTab(); });
    checkable("mnuTabAutoRefresh1", [this] { setAutoRefresh(60); });
    checkable("mnuTabAutoRefresh2", [this] { setAutoRefresh(120); });
    checkable("mnuTabAutoRefresh5", [this] { setAutoRefresh(300); });
    checkable("mnuTabAutoRefreshCustom", [this] { askCustomAutoRefresh(); });
    checkable("mnuTabAutoRefreshStop", [this] { setAutoRefresh(0); });

    // Toolbar options.
    for (const char *key : {"mnuTBLargeIcons", "mnuTBShowText", "mnuTBOfficeXPStyle",
                            "mnuTBTextAlignRight", "mnuTBTextAlignBottom", "mnuTBLinksButton"}) {
        const QString option = QLatin1String(key);
        checkable(key, [this, option](bool checked) { runToolbarOption(option, checked); });
    }

    m_commands.addFamily(QStringLiteral("mnuWin"),
                         [this](const QString &, qint32 code) { runWindowMenuCommand(code); });
    m_commands.addFamily(QStringLiteral("skin"),
                         [this](const QString &key, qint32) { selectSkin(key); });

    // The engine's options, which it does not have: the action exists and does nothing. Cancel
    // closes the tab menu and nothing else. Full screen is the frame's own; the side bar's
    // sections and the options dialog have their own commands.
    for (const char *key : {"mnuViewInternetOptions", "mnuTabCancel"})
        m_commands.add(QLatin1String(key));
}

// ---------------------------------------------------------------- bars and panels

void ViewCommands::toggleBand(const QString &bandKey, const QString &commandKey, bool checked)
{
    ToolBarBands *bands = m_host.bands();
    const int band = bands->bandIndexForKey(bandKey);
    if (band < 0) {
        m_commands.setChecked(commandKey, !checked); // no band to show or hide: the mark stays
        return;
    }
    bands->setBandVisible(band, !bands->bandVisible(band));
    m_commands.setChecked(commandKey, bands->bandVisible(band));
}

void ViewCommands::toggleStatusBar()
{
    QWidget *canvas = m_host.statusCanvas();
    const bool visible = canvas->isHidden();
    canvas->setVisible(visible);
    m_commands.setChecked(QStringLiteral("mnuViewStatusBar"), visible);
    if (!AppState::fullScreen)
        AppState::settings.statusBarVisible = visible;
}

void ViewCommands::toggleSidebar(bool checked)
{
    // The mark leads: the trigger flipped it, the side bar follows.
    const bool visible = checked;
    m_host.sidebarDock()->setVisible(visible);
    if (!AppState::fullScreen) {
        AppState::sidebarVisible = visible;
        AppState::settings.enableSidebar = visible;
    }
}

void ViewCommands::alignBands(int alignment)
{
    m_host.setBandsAlignment(alignment);
    m_commands.setChecked(QStringLiteral("mnuAlignTop"), alignment == 1);
    m_commands.setChecked(QStringLiteral("mnuAlignBottom"), alignment == 2);
}

void ViewCommands::showRssSection()
{
    m_host.showSidebarSection(QStringLiteral("RSSFEED"));
}

void ViewCommands::showQuickSearch()
{
    m_host.showQuickSearch();
}

void ViewCommands::viewSource()
{
    if (DocumentWindow *document = m_host.activeDocument())
        document->execCommand(WebBrowser::ViewSource);
}

void ViewCommands::shrinkTabs(int variant)
{
    m_host.documentArea()->shrinkTabs(variant);
}

// ---------------------------------------------------------------- content

void ViewCommands::toggleContentSwitch(const QString &key)
{
    bool value = false;
    ContentSwitches::FollowUp followUp = ContentSwitches::FollowUp::Nothing;
    if (!ContentSwitches::toggle(key, AppState::settings, &value, &followUp))
        return;
    m_commands.setChecked(key, value);
    // Every open document applies the switch itself.
    Q_EMIT AppState::settingsNotifier().contentSettingsChanged(key);
    if (followUp == ContentSwitches::FollowUp::FillFormWhenOn && value)
        fillForm();
}

void ViewCommands::fillForm()
{
    if (DocumentWindow *document = m_host.activeDocument())
        document->fillForm();
}

void ViewCommands::showFormDataOptions()
{
    m_commands.run(QLatin1String(PanelCommands::kOptionsPageKey), qint32(OptionsPageId::Forms));
}

void ViewCommands::addCurrentSiteToWhitelist()
{
    DocumentWindow *document = m_host.activeDocument();
    if (!document)
        return;
    // The site, so every page of it may open its windows.
    const bool added = ::addToWhitelist(domainName(document->locationUrl()));
    QMessageBox::information(m_host.frameWidget(), loadResString(100),
                             loadResString(added ? 1183 : 1184));
}

void ViewCommands::togglePopupKiller()
{
    SettingsModel &s = AppState::settings;
    s.popupKillerEnable = !s.popupKillerEnable;
    m_host.statusBar()->setPanelIcon(QStringLiteral("Item4"), s.popupKillerEnable ? 3 : 1);
}

// ---------------------------------------------------------------- tab menu and auto refresh

DocumentWindow *ViewCommands::autoRefreshTarget() const
{
    return m_menus.isTabMenuOpen() ? m_menus.tabMenuDocument() : m_host.activeDocument();
}

void ViewCommands::setAutoRefresh(int interval)
{
    if (DocumentWindow *document = autoRefreshTarget())
        document->autoRefresh()->apply(interval);
}

void ViewCommands::askCustomAutoRefresh()
{
    DocumentWindow *target = autoRefreshTarget();
    if (!target)
        return;
    // The dialog sets the active document's interval: the tab's document comes forward first.
    if (m_menus.isTabMenuOpen())
        m_host.bringToFront(target);
    DocumentWindow *document = m_host.activeDocument();
    AutoRefreshDialog::ask(document ? document->autoRefresh() : nullptr, m_host.frameWidget());
}

void ViewCommands::refreshTab()
{
    if (DocumentWindow *document = m_menus.tabMenuDocument())
        document->reload();
}

void ViewCommands::runTabAction(int action)
{
    if (DocumentWindow *document = m_menus.tabMenuDocument())
        m_host.runTabAction(document, action);
}

void ViewCommands::duplicateTab()
{
    if (DocumentWindow *document = m_menus.tabMenuDocument())
        m_host.openDocument(document->locationUrl());
}

// ---------------------------------------------------------------- Window menu and skins

void ViewCommands::runWindowMenuCommand(qint32 code)
{
    DocumentArea *documents = m_host.documentArea();
    QMdiArea *area = documents->mdiArea();
    switch (code) {
    case FrameMenus::kWinTile:
        documents->arrangement()->tileHorizontally();
        break;
    case FrameMenus::kWinCascade:
        documents->arrangement()->cascade();
        break;
    case FrameMenus::kWinMaximize:
        documents->arrangement()->maximizeAll();
        break;
    case FrameMenus::kWinMinimize:
        documents->arrangement()->minimizeAll();
        break;
    case FrameMenus::kWinNext:
        area->activateNextSubWindow();
        break;
    case FrameMenus::kWinPrevious:
        area->activatePreviousSubWindow();
        break;
    case FrameMenus::kWinMore:
        m_host.showWindowList();
        break;
    default:
        if (code >= 0) {
            const QList<QMdiSubWindow *> subs = area->subWindowList(QMdiArea::CreationOrder);
            if (code < subs.size()) {
                area->setActiveSubWindow(subs[code]);
                subs[code]->widget()->setFocus();
            }
        }
        break;
    }
}

void ViewCommands::selectSkin(const QString &key)
{
    // The skin by its caption in the Skins submenu; it loads at the next start.
    const KeyedMenu *menu = m_menus.mainMenu();
    const int index = menu ? menu->indexForKey(key) : 0;
    if (index < 1)
        return;
    m_host.setNextSkin(menu->caption(index));
    if (AppState::settings.currentSkin != m_host.nextSkin())
        QMessageBox::information(m_host.frameWidget(), loadResString(100), loadResString(1147));
}

// ---------------------------------------------------------------- toolbar options

void ViewCommands::runToolbarOption(const QString &key, bool checked)
{
    // The band key names the options in the settings too ("Toolbar1LargeIcons", ...).
    const QString band = m_menus.toolbarOptionsBand();
    StripToolBar *toolbar = band.isEmpty() ? nullptr : m_host.toolBar(band);
    if (!toolbar)
        return;
    // The mark the item showed when it was chosen; the trigger has flipped the action since.
    const bool wasChecked = !checked;
    if (key == QLatin1String("mnuTBLargeIcons")) {
        const bool large = !wasChecked;
        writeOption(band + QLatin1String("LargeIcons"), large);
        m_host.setToolbarLargeIcons(toolbar, large);
    } else if (key == QLatin1String("mnuTBShowText")) {
        m_host.setToolbarShowText(toolbar, band, !wasChecked);
        writeOption(band + QLatin1String("ShowText"), FrameMenus::toolbarTextShown(*toolbar));
    } else if (key == QLatin1String("mnuTBOfficeXPStyle")) {
        toolbar->setDrawStyle(wasChecked ? StripToolBar::kDrawNormal : StripToolBar::kDrawOfficeXP);
        writeOption(band + QLatin1String("OfficeXP"),
                    toolbar->drawStyle() == StripToolBar::kDrawOfficeXP);
        toolbar->resizeToolBar();
    } else if (key == QLatin1String("mnuTBTextAlignRight") ||
               key == QLatin1String("mnuTBTextAlignBottom")) {
        m_host.setToolbarTextRight(toolbar, band, key == QLatin1String("mnuTBTextAlignRight"));
        writeOption(band + QLatin1String("TextAlignRight"), toolbar->textRight());
    } else if (key == QLatin1String("mnuTBLinksButton")) {
        toolbar->setButtonVisible(QStringLiteral("Links"), !wasChecked);
        toolbar->setButtonVisible(QStringLiteral("LinksSep"),
                                  toolbar->buttonVisible(QStringLiteral("Links")));
        writeOption(QStringLiteral("Toolbar1LinksButton"),
                    toolbar->buttonVisible(QStringLiteral("Links")));
    }
}
