// The frame's menus: showing them, and the commands their items run.

#include "mainwindow.h"
#include "document/contentswitches.h"
#include "document/autorefreshdialog.h"
#include "document/popupwhitelist.h"

#include "core/appstate.h"
#include "core/settingsstore.h"
#include "core/strings.h"
#include "toolbarbands.h"
#include "striptoolbar.h"
#include "document/documentwindow.h"
#include "documenttabbar.h"
#include "navigatorpalette.h"
#include "platform/pagecustomizer.h"
#include "platform/webbrowser.h"
#include "keyedmenu.h"

#include <QApplication>
#include <QComboBox>
#include <QDockWidget>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace {

const QString kSettings = QStringLiteral("Settings");

bool writeOption(const QString &key, bool value)
{
    return SettingsModel::writeBoolean(SettingsStore::instance(), kSettings, key, value);
}

} // namespace

// ---------------------------------------------------------------- showing menus

void MainWindow::showMenu(KeyedMenu *&slot, const std::function<void(KeyedMenu &)> &build,
                       void (MainWindow::*click)(int), const QPoint &at)
{
    KeyedMenu menu;
    menu.setOwner(this);
    build(menu);
    if (menu.itemCount() == 0)
        return;
    connect(&menu, &KeyedMenu::itemClicked, this, click);
    slot = &menu;
    menu.showPopupMenu(at.x(), at.y());
    slot = nullptr;
}

void MainWindow::showNewMenu(const QPoint &at)
{
    showMenu(
        m_newMenu,
        [this](KeyedMenu &menu) {
            FrameMenus::buildNewTabMenu(menu, !m_lastClosedAddress.isEmpty());
        },
        &MainWindow::onNewMenuClicked, at);
}

void MainWindow::showTabMenu(DocumentWindow *document, const QPoint &at)
{
    // The menu acts on the document whose tab was clicked.
    m_tabMenuDocument = document;
    showMenu(
        m_tabMenu,
        [this, document](KeyedMenu &menu) {
            FrameMenus::buildTabMenu(menu);
            markAutoRefresh(menu, document);
        },
        &MainWindow::onTabMenuClicked, at);
}

// ---------------------------------------------------------------- click handlers

namespace {

MainWindow::MenuChoice choiceOf(const KeyedMenu *menu, int itemNumber)
{
    MainWindow::MenuChoice choice;
    if (menu) {
        choice.key = menu->itemKey(itemNumber);
        choice.itemData = menu->itemData(itemNumber);
        choice.checked = menu->isChecked(itemNumber);
    }
    return choice;
}

} // namespace

void MainWindow::onMainMenuClicked(int ItemNumber)
{
    runMenuCommand(MenuKind::runApplication, choiceOf(m_mainMenu, ItemNumber));
}

void MainWindow::onTabMenuClicked(int ItemNumber)
{
    runMenuCommand(MenuKind::Tab, choiceOf(m_tabMenu, ItemNumber));
}

void MainWindow::onNewMenuClicked(int ItemNumber)
{
    runMenuCommand(MenuKind::New, choiceOf(m_newMenu, ItemNumber));
}

void MainWindow::onRefreshMenuClicked(int)
{
    // Refresh All: every document with the current download options.
    for (DocumentWindow *document : documents()) {
        document->applyDownloadOptions();
        document->reload();
    }
}

void MainWindow::onStopMenuClicked(int)
{
    for (DocumentWindow *document : documents())
        document->stop();
}

void MainWindow::onSearchEnginesMenuClicked(int ItemNumber)
{
    runMenuCommand(MenuKind::SearchEngines, choiceOf(m_searchEnginesMenu, ItemNumber));
}

void MainWindow::onLinksMenuClicked(int ItemNumber)
{
    runMenuCommand(MenuKind::Links, choiceOf(m_linksMenu, ItemNumber));
}

void MainWindow::onBrowseToolBarMenuClicked(int ItemNumber)
{
    runMenuCommand(MenuKind::NavToolbar, choiceOf(m_browseToolBarMenu, ItemNumber));
}

void MainWindow::onSitesToolBarMenuClicked(int ItemNumber)
{
    runMenuCommand(MenuKind::SitesToolbar, choiceOf(m_sitesToolBarMenu, ItemNumber));
}

void MainWindow::onAddressBarMenuClicked(int ItemNumber)
{
    runMenuCommand(MenuKind::m_addressBar, choiceOf(m_addressBarMenu, ItemNumber));
}

void MainWindow::onMainMenuAboutToShow(int ParentItemNumber)
{
    const QString key = m_mainMenu->itemKey(ParentItemNumber);
    if (key == QLatin1String("mnuWindow"))
        buildWindowMenu(key);
    else if (key == QLatin1String("mnuSkin"))
        buildSkinsMenu(key);
    else if (key == QLatin1String("mnuTabAutoRefresh"))
        markAutoRefresh(*m_mainMenu, activeDocument());
}

// ---------------------------------------------------------------- dispatch tables

const QHash<QString, MainWindow::MenuCommand> &MainWindow::menuCommands(MenuKind menu)
{
    using C = MainWindow::MenuChoice;
    // Each table maps an item key to its command; the lambdas are members' own code.
    static const QHash<QString, MenuCommand> main = {
        {"mnuFileNew", [](MainWindow &f, const C &) { f.openHomeInNewTab(); }},
        {"mnuFileOpen", [](MainWindow &f, const C &) { f.openFile(); }},
        {"mnuFileClose", [](MainWindow &f, const C &) { f.closeActiveDocument(); }},
        {"mnuFileSaveAs", [](MainWindow &f, const C &) { f.saveAs(); }},
        {"mnuFileProperties", [](MainWindow &f, const C &) { f.showProperties(); }},
        {"mnuFilePageSetup", [](MainWindow &f, const C &) { f.pageSetup(); }},
        {"mnuFilePrintPreview", [](MainWindow &f, const C &) { f.printPreview(); }},
        {"mnuFilePrint", [](MainWindow &f, const C &) { f.printPage(); }},
        {"mnuFileExit", [](MainWindow &f, const C &) { f.exitProgram(); }},
        {"mnuEditUndoClose", [](MainWindow &f, const C &) { f.undoClose(); }},
        {"mnuEditCut", [](MainWindow &f, const C &) { f.cut(); }},
        {"mnuEditCopy", [](MainWindow &f, const C &) { f.copy(); }},
        {"mnuEditPaste", [](MainWindow &f, const C &) { f.paste(); }},
        {"mnuEditIncFont", [](MainWindow &f, const C &) { f.textSizeLarger(); }},
        {"mnuEditDecFont", [](MainWindow &f, const C &) { f.textSizeSmaller(); }},
        {"mnuEditResetFont", [](MainWindow &f, const C &) { f.textSizeMedium(); }},
        {"mnuEditSelectAll", [](MainWindow &f, const C &) { f.selectAll(); }},
        {"mnuEditFind", [](MainWindow &f, const C &) { f.findInPage(); }},
        {"mnuViewBrowseToolbar", [](MainWindow &f, const C &) { f.toggleBrowseToolBar(); }},
        {"mnuViewSitesToolbar", [](MainWindow &f, const C &) { f.toggleSitesToolBar(); }},
        {"mnuViewAddressBar", [](MainWindow &f, const C &) { f.toggleAddressBar(); }},
        {"mnuViewTabsBar", [](MainWindow &f, const C &) { f.toggleTabsBar(); }},
        {"mnuViewStatusBar", [](MainWindow &f, const C &) { f.toggleStatusBar(); }},
        {"mnuViewSidebar", [](MainWindow &f, const C &) { f.toggleSidebar(); }},
        {"mnuAlignTop", [](MainWindow &f, const C &) { f.alignBandsTop(); }},
        {"mnuAlignBottom", [](MainWindow &f, const C &) { f.alignBandsBottom(); }},
        {"mnuViewFullScreen", [](MainWindow &f, const C &) { f.toggleFullScreen(); }},
        {"mnuViewFav", [](MainWindow &f, const C &) { f.showFavoritesPanel(); }},
        {"mnuViewAddToFav", [](MainWindow &f, const C &) { f.addToFavorites(); }},
        {"mnuViewOrgFav", [](MainWindow &f, const C &) { f.organizeFavorites(); }},
        {"mnuViewHistory", [](MainWindow &f, const C &) { f.showHistoryPanel(); }},
        {"mnuViewRSS", [](MainWindow &f, const C &) { f.showRssSection(); }},
        {"mnuViewTabsShrinkAll", [](MainWindow &f, const C &) { f.shrinkAllTabs(); }},
        {"mnuViewTabsShrinkActive", [](MainWindow &f, const C &) { f.shrinkActiveTab(); }},
        {"mnuViewTabsShrinkAllbutActive",
         [](MainWindow &f, const C &) { f.shrinkAllButActiveTab(); }},
        {"mnuViewTabsResetAll", [](MainWindow &f, const C &) { f.resetAllTabs(); }},
        {"mnuViewQSearch", [](MainWindow &f, const C &) { f.showQuickSearch(); }},
        {"mnuViewSource", [](MainWindow &f, const C &) { f.viewSource(); }},
        {"mnuViewInternetOptions", [](MainWindow &f, const C &) { f.showEngineOptions(); }},
        {"mnuViewOptions", [](MainWindow &f, const C &) { f.showOptions(); }},
        {"mnuNavigateBack", [](MainWindow &f, const C &) { f.back(); }},
        {"mnuNavigateForward", [](MainWindow &f, const C &) { f.forward(); }},
        {"mnuNavigateStop", [](MainWindow &f, const C &) { f.navigateStop(); }},
        {"mnuNavigateRefresh", [](MainWindow &f, const C &) { f.refresh(); }},
        {"mnuTabAutoRefresh1",
         [](MainWindow &f, const C &) { f.setAutoRefresh(f.activeDocument(), 60); }},
        {"mnuTabAutoRefresh2",
         [](MainWindow &f, const C &) { f.setAutoRefresh(f.activeDocument(), 120); }},
        {"mnuTabAutoRefresh5",
         [](MainWindow &f, const C &) { f.setAutoRefresh(f.activeDocument(), 300); }},
        {"mnuTabAutoRefreshCustom",
         [](MainWindow &f, const C &) {
             if (f.activeDocument())
                 f.askCustomAutoRefresh();
         }},
        {"mnuTabAutoRefreshStop",
         [](MainWindow &f, const C &) { f.setAutoRefresh(f.activeDocument(), 0); }},
        {"mnuNavigateHome1", [](MainWindow &f, const C &) { f.goHome(); }},
        {"mnuNavigateHome2", [](MainWindow &f, const C &) { f.navigateSecondHome(); }},
        {"mnuNavigateMail", [](MainWindow &f, const C &) { f.goMail(); }},
        {"mnuNavigateSearch", [](MainWindow &f, const C &) { f.navigateSearch(); }},
        {"mnuNavigateNews", [](MainWindow &f, const C &) { f.goNews(); }},
        {"mnuContentAutoFill", [](MainWindow &f, const C &) { f.toggleAutoFill(); }},
        {"mnuContentFillForm", [](MainWindow &f, const C &) { f.fillForm(); }},
        {"mnuContentFormData", [](MainWindow &f, const C &) { f.showFormDataOptions(); }},
        {"mnuContentScripts", [](MainWindow &f, const C &) { f.toggleScripts(); }},
        {"mnuContentSound", [](MainWindow &f, const C &) { f.toggleSounds(); }},
        {"mnuContentVideo", [](MainWindow &f, const C &) { f.toggleVideos(); }},
        {"mnuContentImage", [](MainWindow &f, const C &) { f.toggleImages(); }},
        {"mnuContentJava", [](MainWindow &f, const C &) { f.toggleJava(); }},
        {"mnuContentDLACTX", [](MainWindow &f, const C &) { f.toggleActiveXDownload(); }},
        {"mnuContentRUNACTX", [](MainWindow &f, const C &) { f.toggleActiveXRun(); }},
        {"mnuContentFlash", [](MainWindow &f, const C &) { f.toggleFlash(); }},
        {"mnuContentSuppressErrors", [](MainWindow &f, const C &) { f.toggleSuppressErrors(); }},
        {"mnuContentSuppressScriptErrors",
         [](MainWindow &f, const C &) { f.toggleSuppressScriptErrors(); }},
        {"mnuHelpOnTheWeb", [](MainWindow &f, const C &) { f.openHomeSite(); }},
        {"mnuHelpContents", [](MainWindow &f, const C &) { f.openHelpPage(); }},
        {"mnuHelpQuickTour", [](MainWindow &f, const C &) { f.openQuickTour(); }},
        {"mnuHelpForum", [](MainWindow &f, const C &) { f.openForum(); }},
        {"mnuHelpGames", [](MainWindow &f, const C &) { f.openGamesSite(); }},
        {"mnuHelpBlog", [](MainWindow &f, const C &) { f.openBlog(); }},
        {"mnuHelpReportBug", [](MainWindow &f, const C &) { f.openContactPage(); }},
        {"mnuHelpAbout", [](MainWindow &f, const C &) { f.showAbout(); }},
    };
    // The tab menu acts on the document whose tab it was opened for.
    static const QHash<QString, MenuCommand> tab = {
        {"mnuTabRefresh",
         [](MainWindow &f, const C &) {
             if (DocumentWindow *d = f.m_tabMenuDocument)
                 d->reload();
         }},
        {"mnuTabClose",
         [](MainWindow &f, const C &) {
             if (DocumentWindow *d = f.m_tabMenuDocument)
                 f.runTabAction(d, d->position(), 1);
         }},
        {"mnuTabToggleShrink",
         [](MainWindow &f, const C &) {
             if (DocumentWindow *d = f.m_tabMenuDocument)
                 f.runTabAction(d, d->position(), 2);
         }},
        {"mnuTabDuplicate",
         [](MainWindow &f, const C &) {
             if (DocumentWindow *d = f.m_tabMenuDocument)
                 f.openDocument(d->locationUrl());
         }},
        {"mnuTabAutoRefresh1",
         [](MainWindow &f, const C &) { f.setAutoRefresh(f.m_tabMenuDocument, 60); }},
        {"mnuTabAutoRefresh2",
         [](MainWindow &f, const C &) { f.setAutoRefresh(f.m_tabMenuDocument, 120); }},
        {"mnuTabAutoRefresh5",
         [](MainWindow &f, const C &) { f.setAutoRefresh(f.m_tabMenuDocument, 300); }},
        {"mnuTabAutoRefreshCustom",
         [](MainWindow &f, const C &) {
             if (DocumentWindow *d = f.m_tabMenuDocument) {
                 f.bringToFront(d);
                 f.askCustomAutoRefresh();
             }
         }},
        {"mnuTabAutoRefreshStop",
         [](MainWindow &f, const C &) { f.setAutoRefresh(f.m_tabMenuDocument, 0); }},
        {"mnuTabAdd2Fav", [](MainWindow &f, const C &) { f.addToFavorites(); }},
        {"mnuTabAdd2PopupKillerWhiteList",
         [](MainWindow &f, const C &) { f.addCurrentSiteToWhitelist(); }},
        {"mnuTabCancel", [](MainWindow &, const C &) {}},
    };
    static const QHash<QString, MenuCommand> newTab = {
        {"mnuNewHome1", [](MainWindow &f, const C &) { f.openHomeInNewTab(); }},
        {"mnuNewHome2", [](MainWindow &f, const C &) { f.openSecondHomeInNewTab(); }},
        {"mnuNewBlank", [](MainWindow &f, const C &) { f.openBlankTab(); }},
        {"mnuNewCurrent", [](MainWindow &f, const C &) { f.duplicateCurrentTab(); }},
        {"mnuNewClipboard", [](MainWindow &f, const C &) { f.openClipboardAddress(); }},
        {"mnuNewEmail", [](MainWindow &f, const C &) { f.openMailInNewTab(); }},
        {"mnuNewSearch", [](MainWindow &f, const C &) { f.openSearchInNewTab(); }},
        {"mnuNewNews", [](MainWindow &f, const C &) { f.openNewsInNewTab(); }},
        {"mnuNewUndoClose", [](MainWindow &f, const C &) { f.undoClose(); }},
    };
    static const QHash<QString, MenuCommand> refresh = {
        {"mnuNavigateRefreshAll", [](MainWindow &f, const C &) { f.onRefreshMenuClicked(0); }},
    };
    static const QHash<QString, MenuCommand> stop = {
        {"mnuNavigateStopAll", [](MainWindow &f, const C &) { f.onStopMenuClicked(0); }},
    };
    static const QHash<QString, MenuCommand> engines = {
        {"mnuSearchEngineGoogle", [](MainWindow &f, const C &) { f.selectSearchEngine(0); }},
        {"mnuSearchEngineMsn", [](MainWindow &f, const C &) { f.selectSearchEngine(1); }},
        {"mnuSearchEngineYahoo", [](MainWindow &f, const C &) { f.selectSearchEngine(2); }},
        {"mnuSearchEngineAsk", [](MainWindow &f, const C &) { f.selectSearchEngine(3); }},
        {"mnuSearchEngineLive", [](MainWindow &f, const C &) { f.selectSearchEngine(4); }},
        {"mnuSearchEngineWiki", [](MainWindow &f, const C &) { f.selectSearchEngine(5); }},
    };
    auto customize = [](MainWindow &f, const C &) {
        AppState::optionsPage = 5;
        f.showOptions();
    };
    auto import = [](MainWindow &f, const C &) { f.importLinks(); };
    static const QHash<QString, MenuCommand> links = {
        {"mnuCustomSitesToolbar", customize},
        {"mnuImportIELinks", import},
    };
    static const QHash<QString, MenuCommand> navToolbar = {
        {"mnuTBLargeIcons",
         [](MainWindow &f, const C &c) { f.runToolBarOption(f.m_browseToolBar, "Toolbar1", "Toolbar1", c); }},
        {"mnuTBShowText",
         [](MainWindow &f, const C &c) { f.runToolBarOption(f.m_browseToolBar, "Toolbar1", "Toolbar1", c); }},
        {"mnuTBOfficeXPStyle",
         [](MainWindow &f, const C &c) { f.runToolBarOption(f.m_browseToolBar, "Toolbar1", "Toolbar1", c); }},
        {"mnuTBTextAlignRight",
         [](MainWindow &f, const C &c) { f.runToolBarOption(f.m_browseToolBar, "Toolbar1", "Toolbar1", c); }},
        {"mnuTBTextAlignBottom",
         [](MainWindow &f, const C &c) { f.runToolBarOption(f.m_browseToolBar, "Toolbar1", "Toolbar1", c); }},
        {"mnuTBLinksButton",
         [](MainWindow &f, const C &c) { f.runToolBarOption(f.m_browseToolBar, "Toolbar1", "Toolbar1", c); }},
    };
    static const QHash<QString, MenuCommand> sitesToolbar = {
        {"mnuTBLargeIcons",
         [](MainWindow &f, const C &c) { f.runToolBarOption(f.m_sitesToolBar, "Toolbar2", "Toolbar2", c); }},
        {"mnuTBShowText",
         [](MainWindow &f, const C &c) { f.runToolBarOption(f.m_sitesToolBar, "Toolbar2", "Toolbar2", c); }},
        {"mnuTBOfficeXPStyle",
         [](MainWindow &f, const C &c) { f.runToolBarOption(f.m_sitesToolBar, "Toolbar2", "Toolbar2", c); }},
        {"mnuTBTextAlignRight",
         [](MainWindow &f, const C &c) { f.runToolBarOption(f.m_sitesToolBar, "Toolbar2", "Toolbar2", c); }},
        {"mnuTBTextAlignBottom",
         [](MainWindow &f, const C &c) { f.runToolBarOption(f.m_sitesToolBar, "Toolbar2", "Toolbar2", c); }},
        {"mnuCustomSitesToolbar", customize},
        {"mnuImportIELinks", import},
    };
    static const QHash<QString, MenuCommand> addressbar = {
        {"mnuTBOfficeXPStyle",
         [](MainWindow &f, const C &c) {
             f.runToolBarOption(f.m_addressToolBar, "Addressbar", "Addressbar", c);
         }},
    };
    switch (menu) {
    case MenuKind::runApplication:
        return main;
    case MenuKind::Tab:
        return tab;
    case MenuKind::New:
        return newTab;
    case MenuKind::Refresh:
        return refresh;
    case MenuKind::Stop:
        return stop;
    case MenuKind::SearchEngines:
        return engines;
    case MenuKind::Links:
        return links;
    case MenuKind::NavToolbar:
        return navToolbar;
    case MenuKind::SitesToolbar:
        return sitesToolbar;
    case MenuKind::m_addressBar:
        return addressbar;
    }
    return main;
}

bool MainWindow::hasMenuCommand(MenuKind menu, const QString &key)
{
    if (menuCommands(menu).contains(key))
        return true;
    if (menu == MenuKind::runApplication)
        return key.left(6) == QLatin1String("mnuWin") || key.left(4) == QLatin1String("skin");
    if (menu == MenuKind::Links)
        return key.startsWith(QLatin1String("Link"));
    return false;
}

void MainWindow::runMenuCommand(MenuKind menu, const MenuChoice &choice)
{
    if (MenuCommand command = menuCommands(menu).value(choice.key)) {
        command(*this, choice);
        return;
    }
    if (menu == MenuKind::runApplication) {
        if (choice.key.left(6) == QLatin1String("mnuWin"))
            runWindowMenuCommand(choice.itemData);
        else if (choice.key.left(4) == QLatin1String("skin"))
            selectSkin(choice.key);
    } else if (menu == MenuKind::Links && choice.key.startsWith(QLatin1String("Link"))) {
        openLink(choice.itemData);
    }
}

// ---------------------------------------------------------------- menu marks

bool MainWindow::isMenuChecked(const QString &key) const
{
    return m_mainMenu && m_mainMenu->isChecked(m_mainMenu->indexForKey(key));
}

void MainWindow::setMenuChecked(const QString &key, bool checked)
{
    if (m_mainMenu)
        m_mainMenu->setChecked(m_mainMenu->indexForKey(key), checked);
}

bool MainWindow::isMenuEnabled(const QString &key) const
{
    return m_mainMenu && m_mainMenu->isEnabled(m_mainMenu->indexForKey(key));
}

// ---------------------------------------------------------------- Window menu

QList<FrameMenus::WindowEntry> MainWindow::windowMenuEntries() const
{
    QList<FrameMenus::WindowEntry> entries;
    const QList<QMdiSubWindow *> subs = m_mdiArea->subWindowList(QMdiArea::CreationOrder);
    QMdiSubWindow *active = m_mdiArea->currentSubWindow();
    for (qsizetype i = 0; i < subs.size(); ++i) {
        auto *document = qobject_cast<DocumentWindow *>(subs[i]->widget());
        if (!document || subs[i]->isHidden())
            continue;
        const FrameMenus::WindowEntry entry{int(i), document->windowTitle()};
        if (subs[i] == active)
            entries.prepend(entry);
        else
            entries.append(entry);
    }
    return entries;
}

void MainWindow::buildWindowMenu(const QString &key)
{
    FrameMenus::buildWindowMenu(*m_mainMenu, key, windowMenuEntries());
}

void MainWindow::runWindowMenuCommand(qint32 code)
{
    QList<QMdiSubWindow *> visible;
    for (QMdiSubWindow *sub : m_mdiArea->subWindowList(QMdiArea::CreationOrder)) {
        if (!sub->isHidden())
            visible.append(sub);
    }
    switch (code) {
    case FrameMenus::kWinTile: {
        const QList<QRect> rects =
            FrameMenus::tileHorizontally(m_mdiArea->viewport()->rect(), int(visible.size()));
        for (qsizetype i = 0; i < rects.size(); ++i) {
            visible[i]->showNormal();
            visible[i]->setGeometry(rects[i]);
        }
        break;
    }
    case FrameMenus::kWinCascade:
        for (QMdiSubWindow *sub : visible)
            sub->showNormal();
        m_mdiArea->cascadeSubWindows();
        break;
    case FrameMenus::kWinMaximize:
        if (QMdiSubWindow *sub = m_mdiArea->currentSubWindow())
            sub->showMaximized();
        break;
    case FrameMenus::kWinMinimize:
        for (QMdiSubWindow *sub : visible)
            sub->showMinimized();
        break;
    case FrameMenus::kWinNext:
        m_mdiArea->activateNextSubWindow();
        break;
    case FrameMenus::kWinPrevious:
        m_mdiArea->activatePreviousSubWindow();
        break;
    case FrameMenus::kWinMore:
        showWindowList();
        break;
    default:
        if (code >= 0) {
            const QList<QMdiSubWindow *> subs = m_mdiArea->subWindowList(QMdiArea::CreationOrder);
            if (code < subs.size()) {
                m_mdiArea->setActiveSubWindow(subs[code]);
                subs[code]->widget()->setFocus();
            }
        }
        break;
    }
}

// ---------------------------------------------------------------- auto refresh

void MainWindow::markAutoRefresh(KeyedMenu &menu, DocumentWindow *document)
{
    const char *keys[] = {"mnuTabAutoRefresh1", "mnuTabAutoRefresh2", "mnuTabAutoRefresh5",
                          "mnuTabAutoRefreshCustom", "mnuTabAutoRefreshStop"};
    for (const char *key : keys)
        menu.setRadioCheck(menu.indexForKey(QLatin1String(key)), false);
    const QString marked = document ? document->m_autoRefresh.menuKey()
                                    : QStringLiteral("mnuTabAutoRefreshStop");
    menu.setRadioCheck(menu.indexForKey(marked), true);
}

void MainWindow::setAutoRefresh(DocumentWindow *document, int interval)
{
    // 60, 120 and 300 mean 1, 2 and 5 minutes; 0 stops.
    if (document)
        document->m_autoRefresh.apply(interval);
}

// ---------------------------------------------------------------- toolbar options and links

void MainWindow::runToolBarOption(StripToolBar *toolbar, const QString &bandKey, const QString &prefix,
                            const MenuChoice &choice)
{
    const QString &key = choice.key;
    if (key == QLatin1String("mnuTBLargeIcons")) {
        const bool large = !choice.checked;
        writeOption(prefix + QLatin1String("LargeIcons"), large);
        setToolbarLargeIcons(toolbar, large);
    } else if (key == QLatin1String("mnuTBShowText")) {
        setToolbarShowText(toolbar, bandKey, !choice.checked);
        writeOption(prefix + QLatin1String("ShowText"), FrameMenus::toolbarTextShown(*toolbar));
    } else if (key == QLatin1String("mnuTBOfficeXPStyle")) {
        toolbar->setDrawStyle(choice.checked ? StripToolBar::kDrawNormal : StripToolBar::kDrawOfficeXP);
        writeOption(prefix + QLatin1String("OfficeXP"),
                    toolbar->drawStyle() == StripToolBar::kDrawOfficeXP);
        toolbar->resizeToolBar();
    } else if (key == QLatin1String("mnuTBTextAlignRight") ||
               key == QLatin1String("mnuTBTextAlignBottom")) {
        setToolbarTextRight(toolbar, bandKey, key == QLatin1String("mnuTBTextAlignRight"));
        writeOption(prefix + QLatin1String("TextAlignRight"), toolbar->textRight());
    } else if (key == QLatin1String("mnuTBLinksButton")) {
        toolbar->setButtonVisible(QStringLiteral("Links"), !choice.checked);
        toolbar->setButtonVisible(QStringLiteral("LinksSep"),
                                  toolbar->buttonVisible(QStringLiteral("Links")));
        writeOption(QStringLiteral("Toolbar1LinksButton"),
                    toolbar->buttonVisible(QStringLiteral("Links")));
    }
}

void MainWindow::openLink(int link)
{
    const SettingsModel &s = AppState::settings;
    if (link < 1 || link > s.customLinksURL.size())
        return;
    const QString address = s.customLinksURL[link - 1];
    DocumentWindow *document = activeDocument();
    if (!document || s.controlSitesNew)
        openDocument(address);
    else
        document->navigate(address);
}

void MainWindow::importLinks()
{
    SettingsModel &s = AppState::settings;
    if (s.customLinksCount > 0 &&
        QMessageBox::question(this, loadResString(100), loadResString(15003),
                              QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return;
    const qsizetype links = AppState::linkNames.size();
    if (links < 1) {
        QMessageBox::warning(this, loadResString(100), loadResString(15004));
        return;
    }
    s.customLinksCount = qint16(links);
    s.customLinksName = AppState::linkNames;
    s.customLinksURL = AppState::linkUrls.mid(0, links);
    while (s.customLinksName.size() < s.customLinksCount)
        s.customLinksName.append(QString());
    while (s.customLinksURL.size() < s.customLinksCount)
        s.customLinksURL.append(QString());
    showCustomLinkButtons();
}

// ---------------------------------------------------------------- file and edit commands

void MainWindow::openFile()
{
    const QString file = QFileDialog::getOpenFileName(
        this, QString(), QString(), QStringLiteral("HTML Files (*.htm *.html *.url)"));
    if (file.isEmpty())
        return;
    openDocument(file);
    if (DocumentWindow *document = activeDocument())
        document->setWindowTitle(file);
}

void MainWindow::saveAs()
{
    if (DocumentWindow *document = activeDocument())
        document->execBrowserCommand(WebBrowser::OLECMDID_SAVEAS, 0);
}

void MainWindow::showProperties()
{
    if (DocumentWindow *document = activeDocument())
        document->execBrowserCommand(WebBrowser::OLECMDID_PROPERTIES, 0);
}

void MainWindow::pageSetup()
{
    if (DocumentWindow *document = activeDocument())
        document->execBrowserCommand(WebBrowser::OLECMDID_PAGESETUP, 0);
}

void MainWindow::printPreview()
{
    if (DocumentWindow *document = activeDocument())
        document->execBrowserCommand(WebBrowser::OLECMDID_PRINTPREVIEW, 0);
}

void MainWindow::printPage()
{
    if (DocumentWindow *document = activeDocument())
        document->execBrowserCommand(WebBrowser::OLECMDID_PRINT, 0);
}

void MainWindow::exitProgram()
{
    // After the menu that asked for it has closed.
    QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

void MainWindow::undoClose()
{
    if (!m_lastClosedAddress.isEmpty())
        openDocument(m_lastClosedAddress);
}

QWidget *MainWindow::focusedEditor() const
{
    return QApplication::focusWidget();
}

namespace {

// The page whose view holds the widget, if any.
QWebEnginePage *pageOf(QWidget *widget)
{
    for (QWidget *w = widget; w; w = w->parentWidget()) {
        if (auto *view = qobject_cast<QWebEngineView *>(w))
            return view->page();
    }
    return nullptr;
}

// Runs an edit command on whatever has the keyboard focus: a page, or a text field.
void editCommand(QWidget *focus, QWebEnginePage::WebAction action, const char *slot)
{
    if (!focus)
        return;
    if (QWebEnginePage *page = pageOf(focus)) {
        page->triggerAction(action);
        return;
    }
    if (auto *combo = qobject_cast<QComboBox *>(focus))
        focus = combo->lineEdit();
    if (qobject_cast<QLineEdit *>(focus) || qobject_cast<QTextEdit *>(focus) ||
        qobject_cast<QPlainTextEdit *>(focus))
        QMetaObject::invokeMethod(focus, slot);
}

} // namespace

void MainWindow::cut()
{
    editCommand(focusedEditor(), QWebEnginePage::Cut, "cut");
}

void MainWindow::copy()
{
    editCommand(focusedEditor(), QWebEnginePage::Copy, "copy");
}

void MainWindow::paste()
{
    editCommand(focusedEditor(), QWebEnginePage::Paste, "paste");
}

void MainWindow::selectAll()
{
    if (m_addressHasFocus) {
        m_addressBar->lineEdit()->selectAll();
        return;
    }
    QWidget *focus = focusedEditor();
    if (qobject_cast<QTextEdit *>(focus) || qobject_cast<QPlainTextEdit *>(focus)) {
        QMetaObject::invokeMethod(focus, "selectAll");
        return;
    }
    if (DocumentWindow *document = activeDocument())
        document->execCommand(0, WebBrowser::IDM_SELECTALL);
}

void MainWindow::findInPage()
{
    // The page's own find bar comes with the document window; the page gets the focus here.
    if (DocumentWindow *document = activeDocument())
        document->m_browser->setFocus();
}

// ---------------------------------------------------------------- view commands

void MainWindow::toggleBand(const QString &bandKey, const QString &menuKey)
{
    const int band = m_bands->bandIndexForKey(bandKey);
    if (band < 0)
        return;
    m_bands->setBandVisible(band, !m_bands->bandVisible(band));
    setMenuChecked(menuKey, m_bands->bandVisible(band));
}

void MainWindow::toggleBrowseToolBar()
{
    toggleBand(QStringLiteral("Toolbar1"), QStringLiteral("mnuViewBrowseToolbar"));
}

void MainWindow::toggleSitesToolBar()
{
    toggleBand(QStringLiteral("Toolbar2"), QStringLiteral("mnuViewSitesToolbar"));
}

void MainWindow::toggleAddressBar()
{
    toggleBand(QStringLiteral("Addressbar"), QStringLiteral("mnuViewAddressBar"));
}

void MainWindow::toggleTabsBar()
{
    toggleBand(QStringLiteral("Tabbar"), QStringLiteral("mnuViewTabsBar"));
}

void MainWindow::toggleStatusBar()
{
    const bool visible = m_statusCanvas->isHidden();
    m_statusCanvas->setVisible(visible);
    setMenuChecked(QStringLiteral("mnuViewStatusBar"), visible);
    if (!AppState::fullScreen)
        AppState::settings.statusBarVisible = visible;
}

void MainWindow::toggleSidebar()
{
    const bool visible = !isMenuChecked(QStringLiteral("mnuViewSidebar"));
    setMenuChecked(QStringLiteral("mnuViewSidebar"), visible);
    m_sidebarDock->setVisible(visible);
    if (!AppState::fullScreen) {
        AppState::sidebarVisible = visible;
        AppState::settings.enableSidebar = visible;
    }
}

void MainWindow::shrinkTabs(int variant)
{
    // 0 reset all, 1 shrink all, 2 shrink the selected tab, 3 shrink all but the selected.
    const QList<DocumentWindow *> documents = this->documents();
    for (int i = 1; i <= m_tabBar->itemCount() && i <= documents.size(); ++i) {
        const bool selected = m_tabBar->isSelected(i);
        if ((variant == 2 && !selected) || (variant == 3 && selected))
            continue;
        m_tabBar->setShrunk(i, variant != 0);
        documents[i - 1]->setTabCaption(i, documents[i - 1]->locationName());
    }
}

void MainWindow::shrinkAllTabs()
{
    shrinkTabs(1);
}
void MainWindow::shrinkActiveTab()
{
    shrinkTabs(2);
}
void MainWindow::shrinkAllButActiveTab()
{
    shrinkTabs(3);
}
void MainWindow::resetAllTabs()
{
    shrinkTabs(0);
}

void MainWindow::viewSource()
{
    if (DocumentWindow *document = activeDocument())
        document->execCommand(0, WebBrowser::IDM_VIEWSOURCE);
}

// ---------------------------------------------------------------- content switches

void MainWindow::setContentSwitch(bool SettingsModel::*, const char *menuKey, bool)
{
    bool value = false;
    ContentSwitches::FollowUp followUp = ContentSwitches::FollowUp::Nothing;
    if (!ContentSwitches::toggle(QLatin1String(menuKey), AppState::settings, &value, &followUp))
        return;
    setMenuChecked(QLatin1String(menuKey), value);
    ContentSwitches::reachEveryDocument(followUp, documents(), AppState::settings);
}

void MainWindow::toggleImages()
{
    setContentSwitch(&SettingsModel::enableImages, "mnuContentImage", true);
}

void MainWindow::toggleSounds()
{
    setContentSwitch(&SettingsModel::enableSound, "mnuContentSound", true);
}

void MainWindow::toggleVideos()
{
    setContentSwitch(&SettingsModel::enableVideo, "mnuContentVideo", true);
}

void MainWindow::toggleScripts()
{
    setContentSwitch(&SettingsModel::enableScripts, "mnuContentScripts", true);
}

void MainWindow::toggleJava()
{
    setContentSwitch(&SettingsModel::enableJava, "mnuContentJava", false);
}

void MainWindow::toggleActiveXDownload()
{
    setContentSwitch(&SettingsModel::enableActiveXDL, "mnuContentDLACTX", false);
}

void MainWindow::toggleActiveXRun()
{
    setContentSwitch(&SettingsModel::enableActiveXRUN, "mnuContentRUNACTX", false);
}

void MainWindow::toggleFlash()
{
    setContentSwitch(&SettingsModel::enableFlash, "mnuContentFlash", true);
}

void MainWindow::toggleSuppressErrors()
{
    setContentSwitch(&SettingsModel::suppressErrors, "mnuContentSuppressErrors", false);
}

void MainWindow::toggleSuppressScriptErrors()
{
    // Applying it to the pages comes with the document window's script-error handling.
    setContentSwitch(&SettingsModel::suppressScriptErrors, "mnuContentSuppressScriptErrors", false);
}

void MainWindow::toggleAutoFill()
{
    setContentSwitch(&SettingsModel::autoFormFill, "mnuContentAutoFill", false);
    if (AppState::settings.autoFormFill)
        fillForm();
}

void MainWindow::fillForm()
{
    DocumentWindow *document = activeDocument();
    if (!document || !document->m_customizer)
        return;
    const SettingsModel &s = AppState::settings;
    document->m_customizer->fillForm(s.protectCreditInfo && !AppState::creditInfoUnlocked);
}

// ---------------------------------------------------------------- placeholders

// Each of these belongs to a window or panel another part of the program brings (full
// screen, side bar, favorites, whitelist, options, about, auto-refresh dialog, the travel
// log, the maker's pages); until it lands the command does nothing.
void MainWindow::toggleFullScreen()
{
    notYetAvailable();
}
void MainWindow::showFavoritesPanel()
{
    notYetAvailable();
}
void MainWindow::showHistoryPanel()
{
    notYetAvailable();
}
void MainWindow::showRssSection()
{
    showSidebarSection(QStringLiteral("RSSFEED"));
}
void MainWindow::addToFavorites()
{
    notYetAvailable();
}
void MainWindow::organizeFavorites()
{
    notYetAvailable();
}
void MainWindow::addCurrentSiteToWhitelist()
{
    DocumentWindow *document = activeDocument();
    if (!document)
        return;
    const bool added = ::addToWhitelist(document->locationUrl());
    QMessageBox::information(this, loadResString(100), loadResString(added ? 1183 : 1184));
}
void MainWindow::showOptions()
{
    notYetAvailable();
}
void MainWindow::showAbout()
{
    notYetAvailable();
}
void MainWindow::askCustomAutoRefresh()
{
    DocumentWindow *document = activeDocument();
    AutoRefreshDialog::ask(document ? &document->m_autoRefresh : nullptr, this);
}
void MainWindow::showTravelLogMenu(bool, const QPoint &)
{
    notYetAvailable();
}
void MainWindow::openHomeSite()
{
    notYetAvailable();
}
void MainWindow::openForum()
{
    notYetAvailable();
}
void MainWindow::openGamesSite()
{
    notYetAvailable();
}
void MainWindow::openBlog()
{
    notYetAvailable();
}
void MainWindow::openContactPage()
{
    notYetAvailable();
}

void MainWindow::showFormDataOptions()
{
    AppState::optionsPage = 9;
    showOptions();
}

void MainWindow::openHelpPage()
{
    // The help shipped with the program.
    openQuickTour();
}

void MainWindow::showEngineOptions()
{
    // The engine has no Internet options dialog; the item stays disabled.
}
