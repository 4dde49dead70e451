// The frame's menus: showing them, and the commands their items run.

#include "frmmain.h"
#include "document/contentswitches.h"
#include "document/frmautrefresh.h"
#include "document/popupkiller.h"

#include "core/maincode.h"
#include "core/settingsstore.h"
#include "core/strings.h"
#include "crebar.h"
#include "ctoolbar.h"
#include "document/frmdocument.h"
#include "dtabcontrol.h"
#include "frmnavigator.h"
#include "platform/wbcustomizer.h"
#include "platform/webbrowser.h"
#include "popupmenu6.h"

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

void frmMain::ShowMenu(PopupMenu6 *&slot, const std::function<void(PopupMenu6 &)> &build,
                       void (frmMain::*click)(int), const QPoint &at)
{
    PopupMenu6 menu;
    menu.sethWndOwner(this);
    build(menu);
    if (menu.Count() == 0)
        return;
    connect(&menu, &PopupMenu6::Click, this, click);
    slot = &menu;
    menu.ShowPopupMenu(at.x(), at.y());
    slot = nullptr;
}

void frmMain::ShowNewMenu(const QPoint &at)
{
    ShowMenu(
        m_cNew,
        [this](PopupMenu6 &menu) {
            Interface::BuildNewTabMenu(menu, !g_sLastClosedDocument.isEmpty());
        },
        &frmMain::m_cNew_Click, at);
}

void frmMain::ShowTabMenu(frmDocument *document, const QPoint &at)
{
    // The menu acts on the document whose tab was clicked.
    m_tabMenuDocument = document;
    ShowMenu(
        m_cTabMenu,
        [this, document](PopupMenu6 &menu) {
            Interface::BuildTabMenu(menu);
            MarkAutoRefresh(menu, document);
        },
        &frmMain::m_cTabMenu_Click, at);
}

// ---------------------------------------------------------------- click handlers

namespace {

frmMain::MenuChoice choiceOf(const PopupMenu6 *menu, int itemNumber)
{
    frmMain::MenuChoice choice;
    if (menu) {
        choice.key = menu->ItemKey(itemNumber);
        choice.itemData = menu->ItemData(itemNumber);
        choice.checked = menu->Checked(itemNumber);
    }
    return choice;
}

} // namespace

void frmMain::m_cMenu_Click(int ItemNumber)
{
    RunMenuCommand(MenuKind::Main, choiceOf(m_cMenu, ItemNumber));
}

void frmMain::m_cTabMenu_Click(int ItemNumber)
{
    RunMenuCommand(MenuKind::Tab, choiceOf(m_cTabMenu, ItemNumber));
}

void frmMain::m_cNew_Click(int ItemNumber)
{
    RunMenuCommand(MenuKind::New, choiceOf(m_cNew, ItemNumber));
}

void frmMain::m_cRefresh_Click(int)
{
    // Refresh All: every document with the current download options.
    for (frmDocument *document : Documents()) {
        document->SetDownloadOptions();
        document->RefreshDoc();
    }
}

void frmMain::m_cStop_Click(int)
{
    for (frmDocument *document : Documents())
        document->StopDoc();
}

void frmMain::m_cSearchEngines_Click(int ItemNumber)
{
    RunMenuCommand(MenuKind::SearchEngines, choiceOf(m_cSearchEngines, ItemNumber));
}

void frmMain::m_cNavLinksToolbar_Click(int ItemNumber)
{
    RunMenuCommand(MenuKind::Links, choiceOf(m_cNavLinksToolbar, ItemNumber));
}

void frmMain::m_cNavToolbar_Click(int ItemNumber)
{
    RunMenuCommand(MenuKind::NavToolbar, choiceOf(m_cNavToolbar, ItemNumber));
}

void frmMain::m_cSitesToolbar_Click(int ItemNumber)
{
    RunMenuCommand(MenuKind::SitesToolbar, choiceOf(m_cSitesToolbar, ItemNumber));
}

void frmMain::m_cAddressbar_Click(int ItemNumber)
{
    RunMenuCommand(MenuKind::Addressbar, choiceOf(m_cAddressbar, ItemNumber));
}

void frmMain::m_cMenu_InitPopupMenu(int ParentItemNumber)
{
    const QString key = m_cMenu->ItemKey(ParentItemNumber);
    if (key == QLatin1String("mnuWindow"))
        BuildWindowMenu(key);
    else if (key == QLatin1String("mnuSkin"))
        BuildSkinsMenu(key);
    else if (key == QLatin1String("mnuTabAutoRefresh"))
        MarkAutoRefresh(*m_cMenu, ActiveDocument());
}

// ---------------------------------------------------------------- dispatch tables

const QHash<QString, frmMain::MenuCommand> &frmMain::MenuCommands(MenuKind menu)
{
    using C = frmMain::MenuChoice;
    // Each table maps an item key to its command; the lambdas are members' own code.
    static const QHash<QString, MenuCommand> main = {
        {"mnuFileNew", [](frmMain &f, const C &) { f.NewHome1(); }},
        {"mnuFileOpen", [](frmMain &f, const C &) { f.mnuFileOpen(); }},
        {"mnuFileClose", [](frmMain &f, const C &) { f.mnuFileClose(); }},
        {"mnuFileSaveAs", [](frmMain &f, const C &) { f.mnuFileSaveAs(); }},
        {"mnuFileProperties", [](frmMain &f, const C &) { f.mnuFileProperties(); }},
        {"mnuFilePageSetup", [](frmMain &f, const C &) { f.mnuFilePageSetup(); }},
        {"mnuFilePrintPreview", [](frmMain &f, const C &) { f.mnuFilePrintPreview(); }},
        {"mnuFilePrint", [](frmMain &f, const C &) { f.mnuFilePrint(); }},
        {"mnuFileExit", [](frmMain &f, const C &) { f.mnuFileExit(); }},
        {"mnuEditUndoClose", [](frmMain &f, const C &) { f.mnuEditUndoClose(); }},
        {"mnuEditCut", [](frmMain &f, const C &) { f.mnuEditCut(); }},
        {"mnuEditCopy", [](frmMain &f, const C &) { f.mnuEditCopy(); }},
        {"mnuEditPaste", [](frmMain &f, const C &) { f.PasteKeys(); }},
        {"mnuEditIncFont", [](frmMain &f, const C &) { f.TextSizeLarger(); }},
        {"mnuEditDecFont", [](frmMain &f, const C &) { f.TextSizeSmaller(); }},
        {"mnuEditResetFont", [](frmMain &f, const C &) { f.TextSizeMedium(); }},
        {"mnuEditSelectAll", [](frmMain &f, const C &) { f.SelectAll(); }},
        {"mnuEditFind", [](frmMain &f, const C &) { f.mnuEditFind(); }},
        {"mnuViewBrowseToolbar", [](frmMain &f, const C &) { f.ToggleBrowseToolbar(); }},
        {"mnuViewSitesToolbar", [](frmMain &f, const C &) { f.ToggleSitesToolbar(); }},
        {"mnuViewAddressBar", [](frmMain &f, const C &) { f.ToggleAddressBar(); }},
        {"mnuViewTabsBar", [](frmMain &f, const C &) { f.mnuViewTabsBar(); }},
        {"mnuViewStatusBar", [](frmMain &f, const C &) { f.mnuViewStatusBar(); }},
        {"mnuViewSidebar", [](frmMain &f, const C &) { f.ToggleSidebarMenu(); }},
        {"mnuAlignTop", [](frmMain &f, const C &) { f.mnuAlignTop(); }},
        {"mnuAlignBottom", [](frmMain &f, const C &) { f.mnuAlignBottom(); }},
        {"mnuViewFullScreen", [](frmMain &f, const C &) { f.ToggleFullScreen(); }},
        {"mnuViewFav", [](frmMain &f, const C &) { f.ShowFavoritesPanel(); }},
        {"mnuViewAddToFav", [](frmMain &f, const C &) { f.AddToFavorites(); }},
        {"mnuViewOrgFav", [](frmMain &f, const C &) { f.OrganizeFavorites(); }},
        {"mnuViewHistory", [](frmMain &f, const C &) { f.ShowHistoryPanel(); }},
        {"mnuViewRSS", [](frmMain &f, const C &) { f.mnuViewRSS(); }},
        {"mnuViewTabsShrinkAll", [](frmMain &f, const C &) { f.mnuViewTabsShrinkAll(); }},
        {"mnuViewTabsShrinkActive", [](frmMain &f, const C &) { f.mnuViewTabsShrinkActive(); }},
        {"mnuViewTabsShrinkAllbutActive",
         [](frmMain &f, const C &) { f.mnuViewTabsShrinkAllbutActive(); }},
        {"mnuViewTabsResetAll", [](frmMain &f, const C &) { f.mnuViewTabsResetAll(); }},
        {"mnuViewQSearch", [](frmMain &f, const C &) { f.mnuViewQSearch(); }},
        {"mnuViewSource", [](frmMain &f, const C &) { f.mnuViewSource(); }},
        {"mnuViewInternetOptions", [](frmMain &f, const C &) { f.ExecDocCommand2135(); }},
        {"mnuViewOptions", [](frmMain &f, const C &) { f.mnuViewOptions(); }},
        {"mnuNavigateBack", [](frmMain &f, const C &) { f.Back(); }},
        {"mnuNavigateForward", [](frmMain &f, const C &) { f.Forward(); }},
        {"mnuNavigateStop", [](frmMain &f, const C &) { f.mnuNavigateStop(); }},
        {"mnuNavigateRefresh", [](frmMain &f, const C &) { f.Refresh(); }},
        {"mnuTabAutoRefresh1",
         [](frmMain &f, const C &) { f.SetAutoRefresh(f.ActiveDocument(), 60); }},
        {"mnuTabAutoRefresh2",
         [](frmMain &f, const C &) { f.SetAutoRefresh(f.ActiveDocument(), 120); }},
        {"mnuTabAutoRefresh5",
         [](frmMain &f, const C &) { f.SetAutoRefresh(f.ActiveDocument(), 300); }},
        {"mnuTabAutoRefreshCustom",
         [](frmMain &f, const C &) {
             if (f.ActiveDocument())
                 f.mnuTabAutoRefreshCustom();
         }},
        {"mnuTabAutoRefreshStop",
         [](frmMain &f, const C &) { f.SetAutoRefresh(f.ActiveDocument(), 0); }},
        {"mnuNavigateHome1", [](frmMain &f, const C &) { f.Home1(); }},
        {"mnuNavigateHome2", [](frmMain &f, const C &) { f.mnuNavigateHome2(); }},
        {"mnuNavigateMail", [](frmMain &f, const C &) { f.GoMail(); }},
        {"mnuNavigateSearch", [](frmMain &f, const C &) { f.mnuNavigateSearch(); }},
        {"mnuNavigateNews", [](frmMain &f, const C &) { f.GoNews(); }},
        {"mnuContentAutoFill", [](frmMain &f, const C &) { f.mnuContentAutoFill_Click(); }},
        {"mnuContentFillForm", [](frmMain &f, const C &) { f.FillForm(); }},
        {"mnuContentFormData", [](frmMain &f, const C &) { f.ShowOptionsPage9(); }},
        {"mnuContentScripts", [](frmMain &f, const C &) { f.mnuContentScripts_Click(); }},
        {"mnuContentSound", [](frmMain &f, const C &) { f.mnuContentSound_Click(); }},
        {"mnuContentVideo", [](frmMain &f, const C &) { f.mnuContentVideo_Click(); }},
        {"mnuContentImage", [](frmMain &f, const C &) { f.mnuContentImage_Click(); }},
        {"mnuContentJava", [](frmMain &f, const C &) { f.mnuContentJava_Click(); }},
        {"mnuContentDLACTX", [](frmMain &f, const C &) { f.mnuContentDLACTX_Click(); }},
        {"mnuContentRUNACTX", [](frmMain &f, const C &) { f.mnuContentRUNACTX_Click(); }},
        {"mnuContentFlash", [](frmMain &f, const C &) { f.mnuContentFlash(); }},
        {"mnuContentSuppressErrors", [](frmMain &f, const C &) { f.mnuContentSuppressErrors(); }},
        {"mnuContentSuppressScriptErrors",
         [](frmMain &f, const C &) { f.mnuContentSuppressScriptErrors(); }},
        {"mnuHelpOnTheWeb", [](frmMain &f, const C &) { f.OpenHomeSite(); }},
        {"mnuHelpContents", [](frmMain &f, const C &) { f.OpenHelpPage(); }},
        {"mnuHelpQuickTour", [](frmMain &f, const C &) { f.OpenQuickTour(); }},
        {"mnuHelpForum", [](frmMain &f, const C &) { f.OpenForum(); }},
        {"mnuHelpGames", [](frmMain &f, const C &) { f.OpenGamesSite(); }},
        {"mnuHelpBlog", [](frmMain &f, const C &) { f.OpenBlog(); }},
        {"mnuHelpReportBug", [](frmMain &f, const C &) { f.OpenContactPage(); }},
        {"mnuHelpAbout", [](frmMain &f, const C &) { f.ShowAbout(); }},
    };
    // The tab menu acts on the document whose tab it was opened for.
    static const QHash<QString, MenuCommand> tab = {
        {"mnuTabRefresh",
         [](frmMain &f, const C &) {
             if (frmDocument *d = f.m_tabMenuDocument)
                 d->RefreshDoc();
         }},
        {"mnuTabClose",
         [](frmMain &f, const C &) {
             if (frmDocument *d = f.m_tabMenuDocument)
                 f.DoTabAction(d, d->Position(), 1);
         }},
        {"mnuTabToggleShrink",
         [](frmMain &f, const C &) {
             if (frmDocument *d = f.m_tabMenuDocument)
                 f.DoTabAction(d, d->Position(), 2);
         }},
        {"mnuTabDuplicate",
         [](frmMain &f, const C &) {
             if (frmDocument *d = f.m_tabMenuDocument)
                 f.LoadNewDoc(d->LocationURL());
         }},
        {"mnuTabAutoRefresh1",
         [](frmMain &f, const C &) { f.SetAutoRefresh(f.m_tabMenuDocument, 60); }},
        {"mnuTabAutoRefresh2",
         [](frmMain &f, const C &) { f.SetAutoRefresh(f.m_tabMenuDocument, 120); }},
        {"mnuTabAutoRefresh5",
         [](frmMain &f, const C &) { f.SetAutoRefresh(f.m_tabMenuDocument, 300); }},
        {"mnuTabAutoRefreshCustom",
         [](frmMain &f, const C &) {
             if (frmDocument *d = f.m_tabMenuDocument) {
                 f.BringToFront(d);
                 f.mnuTabAutoRefreshCustom();
             }
         }},
        {"mnuTabAutoRefreshStop",
         [](frmMain &f, const C &) { f.SetAutoRefresh(f.m_tabMenuDocument, 0); }},
        {"mnuTabAdd2Fav", [](frmMain &f, const C &) { f.AddToFavorites(); }},
        {"mnuTabAdd2PopupKillerWhiteList",
         [](frmMain &f, const C &) { f.AddCurrentSiteToWhitelist(); }},
        {"mnuTabCancel", [](frmMain &, const C &) {}},
    };
    static const QHash<QString, MenuCommand> newTab = {
        {"mnuNewHome1", [](frmMain &f, const C &) { f.NewHome1(); }},
        {"mnuNewHome2", [](frmMain &f, const C &) { f.NewHome2(); }},
        {"mnuNewBlank", [](frmMain &f, const C &) { f.mnuNewBlank(); }},
        {"mnuNewCurrent", [](frmMain &f, const C &) { f.mnuNewCurrent(); }},
        {"mnuNewClipboard", [](frmMain &f, const C &) { f.mnuNewClipboard(); }},
        {"mnuNewEmail", [](frmMain &f, const C &) { f.NewEmail(); }},
        {"mnuNewSearch", [](frmMain &f, const C &) { f.NewSearch(); }},
        {"mnuNewNews", [](frmMain &f, const C &) { f.NewNews(); }},
        {"mnuNewUndoClose", [](frmMain &f, const C &) { f.mnuEditUndoClose(); }},
    };
    static const QHash<QString, MenuCommand> refresh = {
        {"mnuNavigateRefreshAll", [](frmMain &f, const C &) { f.m_cRefresh_Click(0); }},
    };
    static const QHash<QString, MenuCommand> stop = {
        {"mnuNavigateStopAll", [](frmMain &f, const C &) { f.m_cStop_Click(0); }},
    };
    static const QHash<QString, MenuCommand> engines = {
        {"mnuSearchEngineGoogle", [](frmMain &f, const C &) { f.SelectSearchEngine(0); }},
        {"mnuSearchEngineMsn", [](frmMain &f, const C &) { f.SelectSearchEngine(1); }},
        {"mnuSearchEngineYahoo", [](frmMain &f, const C &) { f.SelectSearchEngine(2); }},
        {"mnuSearchEngineAsk", [](frmMain &f, const C &) { f.SelectSearchEngine(3); }},
        {"mnuSearchEngineLive", [](frmMain &f, const C &) { f.SelectSearchEngine(4); }},
        {"mnuSearchEngineWiki", [](frmMain &f, const C &) { f.SelectSearchEngine(5); }},
    };
    auto customize = [](frmMain &f, const C &) {
        MainCode::OptionsPage = 5;
        f.mnuViewOptions();
    };
    auto import = [](frmMain &f, const C &) { f.ImportIELinks(); };
    static const QHash<QString, MenuCommand> links = {
        {"mnuCustomSitesToolbar", customize},
        {"mnuImportIELinks", import},
    };
    static const QHash<QString, MenuCommand> navToolbar = {
        {"mnuTBLargeIcons",
         [](frmMain &f, const C &c) { f.ToolbarOption(f.Toolbar1, "Toolbar1", "Toolbar1", c); }},
        {"mnuTBShowText",
         [](frmMain &f, const C &c) { f.ToolbarOption(f.Toolbar1, "Toolbar1", "Toolbar1", c); }},
        {"mnuTBOfficeXPStyle",
         [](frmMain &f, const C &c) { f.ToolbarOption(f.Toolbar1, "Toolbar1", "Toolbar1", c); }},
        {"mnuTBTextAlignRight",
         [](frmMain &f, const C &c) { f.ToolbarOption(f.Toolbar1, "Toolbar1", "Toolbar1", c); }},
        {"mnuTBTextAlignBottom",
         [](frmMain &f, const C &c) { f.ToolbarOption(f.Toolbar1, "Toolbar1", "Toolbar1", c); }},
        {"mnuTBLinksButton",
         [](frmMain &f, const C &c) { f.ToolbarOption(f.Toolbar1, "Toolbar1", "Toolbar1", c); }},
    };
    static const QHash<QString, MenuCommand> sitesToolbar = {
        {"mnuTBLargeIcons",
         [](frmMain &f, const C &c) { f.ToolbarOption(f.Toolbar2, "Toolbar2", "Toolbar2", c); }},
        {"mnuTBShowText",
         [](frmMain &f, const C &c) { f.ToolbarOption(f.Toolbar2, "Toolbar2", "Toolbar2", c); }},
        {"mnuTBOfficeXPStyle",
         [](frmMain &f, const C &c) { f.ToolbarOption(f.Toolbar2, "Toolbar2", "Toolbar2", c); }},
        {"mnuTBTextAlignRight",
         [](frmMain &f, const C &c) { f.ToolbarOption(f.Toolbar2, "Toolbar2", "Toolbar2", c); }},
        {"mnuTBTextAlignBottom",
         [](frmMain &f, const C &c) { f.ToolbarOption(f.Toolbar2, "Toolbar2", "Toolbar2", c); }},
        {"mnuCustomSitesToolbar", customize},
        {"mnuImportIELinks", import},
    };
    static const QHash<QString, MenuCommand> addressbar = {
        {"mnuTBOfficeXPStyle",
         [](frmMain &f, const C &c) {
             f.ToolbarOption(f.Toolbar3, "Addressbar", "Addressbar", c);
         }},
    };
    switch (menu) {
    case MenuKind::Main:
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
    case MenuKind::Addressbar:
        return addressbar;
    }
    return main;
}

bool frmMain::HasMenuCommand(MenuKind menu, const QString &key)
{
    if (MenuCommands(menu).contains(key))
        return true;
    if (menu == MenuKind::Main)
        return key.left(6) == QLatin1String("mnuWin") || key.left(4) == QLatin1String("skin");
    if (menu == MenuKind::Links)
        return key.startsWith(QLatin1String("Link"));
    return false;
}

void frmMain::RunMenuCommand(MenuKind menu, const MenuChoice &choice)
{
    if (MenuCommand command = MenuCommands(menu).value(choice.key)) {
        command(*this, choice);
        return;
    }
    if (menu == MenuKind::Main) {
        if (choice.key.left(6) == QLatin1String("mnuWin"))
            DoWindowMenuCommand(choice.itemData);
        else if (choice.key.left(4) == QLatin1String("skin"))
            SelectSkin(choice.key);
    } else if (menu == MenuKind::Links && choice.key.startsWith(QLatin1String("Link"))) {
        OpenLink(choice.itemData);
    }
}

// ---------------------------------------------------------------- menu marks

bool frmMain::MenuChecked(const QString &key) const
{
    return m_cMenu && m_cMenu->Checked(m_cMenu->IndexForKey(key));
}

void frmMain::SetMenuChecked(const QString &key, bool checked)
{
    if (m_cMenu)
        m_cMenu->setChecked(m_cMenu->IndexForKey(key), checked);
}

bool frmMain::MenuEnabled(const QString &key) const
{
    return m_cMenu && m_cMenu->Enabled(m_cMenu->IndexForKey(key));
}

// ---------------------------------------------------------------- Window menu

QList<Interface::WindowEntry> frmMain::WindowMenuEntries() const
{
    QList<Interface::WindowEntry> entries;
    const QList<QMdiSubWindow *> subs = m_mdiArea->subWindowList(QMdiArea::CreationOrder);
    QMdiSubWindow *active = m_mdiArea->currentSubWindow();
    for (qsizetype i = 0; i < subs.size(); ++i) {
        auto *document = qobject_cast<frmDocument *>(subs[i]->widget());
        if (!document || subs[i]->isHidden())
            continue;
        const Interface::WindowEntry entry{int(i), document->windowTitle()};
        if (subs[i] == active)
            entries.prepend(entry);
        else
            entries.append(entry);
    }
    return entries;
}

void frmMain::BuildWindowMenu(const QString &key)
{
    Interface::BuildWindowMenu(*m_cMenu, key, WindowMenuEntries());
}

void frmMain::DoWindowMenuCommand(qint32 code)
{
    QList<QMdiSubWindow *> visible;
    for (QMdiSubWindow *sub : m_mdiArea->subWindowList(QMdiArea::CreationOrder)) {
        if (!sub->isHidden())
            visible.append(sub);
    }
    switch (code) {
    case Interface::kWinTile: {
        const QList<QRect> rects =
            Interface::TileHorizontally(m_mdiArea->viewport()->rect(), int(visible.size()));
        for (qsizetype i = 0; i < rects.size(); ++i) {
            visible[i]->showNormal();
            visible[i]->setGeometry(rects[i]);
        }
        break;
    }
    case Interface::kWinCascade:
        for (QMdiSubWindow *sub : visible)
            sub->showNormal();
        m_mdiArea->cascadeSubWindows();
        break;
    case Interface::kWinMaximize:
        if (QMdiSubWindow *sub = m_mdiArea->currentSubWindow())
            sub->showMaximized();
        break;
    case Interface::kWinMinimize:
        for (QMdiSubWindow *sub : visible)
            sub->showMinimized();
        break;
    case Interface::kWinNext:
        m_mdiArea->activateNextSubWindow();
        break;
    case Interface::kWinPrevious:
        m_mdiArea->activatePreviousSubWindow();
        break;
    case Interface::kWinMore:
        mnuMoreWindows();
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

void frmMain::MarkAutoRefresh(PopupMenu6 &menu, frmDocument *document)
{
    const char *keys[] = {"mnuTabAutoRefresh1", "mnuTabAutoRefresh2", "mnuTabAutoRefresh5",
                          "mnuTabAutoRefreshCustom", "mnuTabAutoRefreshStop"};
    for (const char *key : keys)
        menu.setRadioCheck(menu.IndexForKey(QLatin1String(key)), false);
    const QString marked = document ? document->tmrAutoRefresh.MenuKey()
                                    : QStringLiteral("mnuTabAutoRefreshStop");
    menu.setRadioCheck(menu.IndexForKey(marked), true);
}

void frmMain::SetAutoRefresh(frmDocument *document, int interval)
{
    // 60, 120 and 300 mean 1, 2 and 5 minutes; 0 stops.
    if (document)
        document->tmrAutoRefresh.Apply(interval);
}

// ---------------------------------------------------------------- toolbar options and links

void frmMain::ToolbarOption(cToolbar *toolbar, const QString &bandKey, const QString &prefix,
                            const MenuChoice &choice)
{
    const QString &key = choice.key;
    if (key == QLatin1String("mnuTBLargeIcons")) {
        const bool large = !choice.checked;
        writeOption(prefix + QLatin1String("LargeIcons"), large);
        SetToolbarLargeIcons(toolbar, large);
    } else if (key == QLatin1String("mnuTBShowText")) {
        SetToolbarShowText(toolbar, bandKey, !choice.checked);
        writeOption(prefix + QLatin1String("ShowText"), Interface::ToolbarTextShown(*toolbar));
    } else if (key == QLatin1String("mnuTBOfficeXPStyle")) {
        toolbar->setDrawStyle(choice.checked ? cToolbar::kDrawNormal : cToolbar::kDrawOfficeXP);
        writeOption(prefix + QLatin1String("OfficeXP"),
                    toolbar->DrawStyle() == cToolbar::kDrawOfficeXP);
        toolbar->ResizeToolbar();
    } else if (key == QLatin1String("mnuTBTextAlignRight") ||
               key == QLatin1String("mnuTBTextAlignBottom")) {
        SetToolbarTextRight(toolbar, bandKey, key == QLatin1String("mnuTBTextAlignRight"));
        writeOption(prefix + QLatin1String("TextAlignRight"), toolbar->TextRight());
    } else if (key == QLatin1String("mnuTBLinksButton")) {
        toolbar->setButtonVisible(QStringLiteral("Links"), !choice.checked);
        toolbar->setButtonVisible(QStringLiteral("LinksSep"),
                                  toolbar->ButtonVisible(QStringLiteral("Links")));
        writeOption(QStringLiteral("Toolbar1LinksButton"),
                    toolbar->ButtonVisible(QStringLiteral("Links")));
    }
}

void frmMain::OpenLink(int link)
{
    const SettingsModel &s = MainCode::Settings;
    if (link < 1 || link > s.CustomLinksURL.size())
        return;
    const QString address = s.CustomLinksURL[link - 1];
    frmDocument *document = ActiveDocument();
    if (!document || s.ControlSitesNew)
        LoadNewDoc(address);
    else
        document->NavigateDoc(address);
}

void frmMain::ImportIELinks()
{
    SettingsModel &s = MainCode::Settings;
    if (s.CustomLinksCount > 0 &&
        QMessageBox::question(this, LoadResString(100), LoadResString(15003),
                              QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return;
    if (MainCode::IELinksCount < 1) {
        QMessageBox::warning(this, LoadResString(100), LoadResString(15004));
        return;
    }
    s.CustomLinksCount = MainCode::IELinksCount;
    s.CustomLinksName = MainCode::IELinksName.mid(0, MainCode::IELinksCount);
    s.CustomLinksURL = MainCode::IELinksURL.mid(0, MainCode::IELinksCount);
    while (s.CustomLinksName.size() < s.CustomLinksCount)
        s.CustomLinksName.append(QString());
    while (s.CustomLinksURL.size() < s.CustomLinksCount)
        s.CustomLinksURL.append(QString());
    ShowProperButtons();
}

// ---------------------------------------------------------------- file and edit commands

void frmMain::mnuFileOpen()
{
    const QString file = QFileDialog::getOpenFileName(
        this, QString(), QString(), QStringLiteral("HTML Files (*.htm *.html *.url)"));
    if (file.isEmpty())
        return;
    LoadNewDoc(file);
    if (frmDocument *document = ActiveDocument())
        document->setWindowTitle(file);
}

void frmMain::mnuFileSaveAs()
{
    if (frmDocument *document = ActiveDocument())
        document->ExecWBDoc(WebBrowser::OLECMDID_SAVEAS, 0);
}

void frmMain::mnuFileProperties()
{
    if (frmDocument *document = ActiveDocument())
        document->ExecWBDoc(WebBrowser::OLECMDID_PROPERTIES, 0);
}

void frmMain::mnuFilePageSetup()
{
    if (frmDocument *document = ActiveDocument())
        document->ExecWBDoc(WebBrowser::OLECMDID_PAGESETUP, 0);
}

void frmMain::mnuFilePrintPreview()
{
    if (frmDocument *document = ActiveDocument())
        document->ExecWBDoc(WebBrowser::OLECMDID_PRINTPREVIEW, 0);
}

void frmMain::mnuFilePrint()
{
    if (frmDocument *document = ActiveDocument())
        document->ExecWBDoc(WebBrowser::OLECMDID_PRINT, 0);
}

void frmMain::mnuFileExit()
{
    // After the menu that asked for it has closed.
    QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

void frmMain::mnuEditUndoClose()
{
    if (!g_sLastClosedDocument.isEmpty())
        LoadNewDoc(g_sLastClosedDocument);
}

QWidget *frmMain::FocusedEditor() const
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

void frmMain::mnuEditCut()
{
    editCommand(FocusedEditor(), QWebEnginePage::Cut, "cut");
}

void frmMain::mnuEditCopy()
{
    editCommand(FocusedEditor(), QWebEnginePage::Copy, "copy");
}

void frmMain::PasteKeys()
{
    editCommand(FocusedEditor(), QWebEnginePage::Paste, "paste");
}

void frmMain::SelectAll()
{
    if (g_Focus) {
        Addressbar->lineEdit()->selectAll();
        return;
    }
    QWidget *focus = FocusedEditor();
    if (qobject_cast<QTextEdit *>(focus) || qobject_cast<QPlainTextEdit *>(focus)) {
        QMetaObject::invokeMethod(focus, "selectAll");
        return;
    }
    if (frmDocument *document = ActiveDocument())
        document->Exec(0, WebBrowser::IDM_SELECTALL);
}

void frmMain::mnuEditFind()
{
    // The page's own find bar comes with the document window; the page gets the focus here.
    if (frmDocument *document = ActiveDocument())
        document->WebBro->setFocus();
}

// ---------------------------------------------------------------- view commands

void frmMain::ToggleBand(const QString &bandKey, const QString &menuKey)
{
    const int band = cReBar1->BandIndexForKey(bandKey);
    if (band < 0)
        return;
    cReBar1->setBandVisible(band, !cReBar1->BandVisible(band));
    SetMenuChecked(menuKey, cReBar1->BandVisible(band));
}

void frmMain::ToggleBrowseToolbar()
{
    ToggleBand(QStringLiteral("Toolbar1"), QStringLiteral("mnuViewBrowseToolbar"));
}

void frmMain::ToggleSitesToolbar()
{
    ToggleBand(QStringLiteral("Toolbar2"), QStringLiteral("mnuViewSitesToolbar"));
}

void frmMain::ToggleAddressBar()
{
    ToggleBand(QStringLiteral("Addressbar"), QStringLiteral("mnuViewAddressBar"));
}

void frmMain::mnuViewTabsBar()
{
    ToggleBand(QStringLiteral("Tabbar"), QStringLiteral("mnuViewTabsBar"));
}

void frmMain::mnuViewStatusBar()
{
    const bool visible = picStatus->isHidden();
    picStatus->setVisible(visible);
    SetMenuChecked(QStringLiteral("mnuViewStatusBar"), visible);
    if (!MainCode::FullScreen)
        MainCode::Settings.StatusBarVisible = visible;
}

void frmMain::ToggleSidebarMenu()
{
    const bool visible = !MenuChecked(QStringLiteral("mnuViewSidebar"));
    SetMenuChecked(QStringLiteral("mnuViewSidebar"), visible);
    m_sidebarDock->setVisible(visible);
    if (!MainCode::FullScreen) {
        MainCode::SidebarVisible = visible;
        MainCode::Settings.EnableSidebar = visible;
    }
}

void frmMain::ShrinkTabs(int variant)
{
    // 0 reset all, 1 shrink all, 2 shrink the selected tab, 3 shrink all but the selected.
    const QList<frmDocument *> documents = Documents();
    for (int i = 1; i <= vbalDTabControl1->Count() && i <= documents.size(); ++i) {
        const bool selected = vbalDTabControl1->Selected(i);
        if ((variant == 2 && !selected) || (variant == 3 && selected))
            continue;
        vbalDTabControl1->SetShrunk(i, variant != 0);
        documents[i - 1]->ModifyTabCaption(i, documents[i - 1]->LocationName());
    }
}

void frmMain::mnuViewTabsShrinkAll()
{
    ShrinkTabs(1);
}
void frmMain::mnuViewTabsShrinkActive()
{
    ShrinkTabs(2);
}
void frmMain::mnuViewTabsShrinkAllbutActive()
{
    ShrinkTabs(3);
}
void frmMain::mnuViewTabsResetAll()
{
    ShrinkTabs(0);
}

void frmMain::mnuViewSource()
{
    if (frmDocument *document = ActiveDocument())
        document->Exec(0, WebBrowser::IDM_VIEWSOURCE);
}

// ---------------------------------------------------------------- content switches

void frmMain::SetContentSwitch(bool SettingsModel::*, const char *menuKey, bool)
{
    bool value = false;
    ContentSwitches::FollowUp followUp = ContentSwitches::FollowUp::Nothing;
    if (!ContentSwitches::Toggle(QLatin1String(menuKey), MainCode::Settings, &value, &followUp))
        return;
    SetMenuChecked(QLatin1String(menuKey), value);
    ContentSwitches::ReachEveryDocument(followUp, Documents(), MainCode::Settings);
}

void frmMain::mnuContentImage_Click()
{
    SetContentSwitch(&SettingsModel::EnableImages, "mnuContentImage", true);
}

void frmMain::mnuContentSound_Click()
{
    SetContentSwitch(&SettingsModel::EnableSound, "mnuContentSound", true);
}

void frmMain::mnuContentVideo_Click()
{
    SetContentSwitch(&SettingsModel::EnableVideo, "mnuContentVideo", true);
}

void frmMain::mnuContentScripts_Click()
{
    SetContentSwitch(&SettingsModel::EnableScripts, "mnuContentScripts", true);
}

void frmMain::mnuContentJava_Click()
{
    SetContentSwitch(&SettingsModel::EnableJava, "mnuContentJava", false);
}

void frmMain::mnuContentDLACTX_Click()
{
    SetContentSwitch(&SettingsModel::EnableActiveXDL, "mnuContentDLACTX", false);
}

void frmMain::mnuContentRUNACTX_Click()
{
    SetContentSwitch(&SettingsModel::EnableActiveXRUN, "mnuContentRUNACTX", false);
}

void frmMain::mnuContentFlash()
{
    SetContentSwitch(&SettingsModel::EnableFlash, "mnuContentFlash", true);
}

void frmMain::mnuContentSuppressErrors()
{
    SetContentSwitch(&SettingsModel::SuppressErrors, "mnuContentSuppressErrors", false);
}

void frmMain::mnuContentSuppressScriptErrors()
{
    // Applying it to the pages comes with the document window's script-error handling.
    SetContentSwitch(&SettingsModel::SuppressScriptErrors, "mnuContentSuppressScriptErrors", false);
}

void frmMain::mnuContentAutoFill_Click()
{
    SetContentSwitch(&SettingsModel::AutoFormFill, "mnuContentAutoFill", false);
    if (MainCode::Settings.AutoFormFill)
        FillForm();
}

void frmMain::FillForm()
{
    frmDocument *document = ActiveDocument();
    if (!document || !document->CustomWB)
        return;
    const SettingsModel &s = MainCode::Settings;
    document->CustomWB->FillForm(s.ProtectCreditInfo && !MainCode::CreditInfoUnlocked);
}

// ---------------------------------------------------------------- placeholders

// Each of these belongs to a window or panel another part of the program brings (full
// screen, side bar, favorites, whitelist, options, about, auto-refresh dialog, the travel
// log, the maker's pages); until it lands the command does nothing.
void frmMain::ToggleFullScreen()
{
    NotYetAvailable();
}
void frmMain::ShowFavoritesPanel()
{
    NotYetAvailable();
}
void frmMain::ShowHistoryPanel()
{
    NotYetAvailable();
}
void frmMain::mnuViewRSS()
{
    ShowSidebarSection(QStringLiteral("RSSFEED"));
}
void frmMain::AddToFavorites()
{
    NotYetAvailable();
}
void frmMain::OrganizeFavorites()
{
    NotYetAvailable();
}
void frmMain::AddCurrentSiteToWhitelist()
{
    frmDocument *document = ActiveDocument();
    if (!document)
        return;
    const bool added = ::AddToWhitelist(document->LocationURL());
    QMessageBox::information(this, LoadResString(100), LoadResString(added ? 1183 : 1184));
}
void frmMain::mnuViewOptions()
{
    NotYetAvailable();
}
void frmMain::ShowAbout()
{
    NotYetAvailable();
}
void frmMain::mnuTabAutoRefreshCustom()
{
    frmDocument *document = ActiveDocument();
    frmAutRefresh::Ask(document ? &document->tmrAutoRefresh : nullptr, this);
}
void frmMain::ShowTravelLogMenu(bool, const QPoint &)
{
    NotYetAvailable();
}
void frmMain::OpenHomeSite()
{
    NotYetAvailable();
}
void frmMain::OpenForum()
{
    NotYetAvailable();
}
void frmMain::OpenGamesSite()
{
    NotYetAvailable();
}
void frmMain::OpenBlog()
{
    NotYetAvailable();
}
void frmMain::OpenContactPage()
{
    NotYetAvailable();
}

void frmMain::ShowOptionsPage9()
{
    MainCode::OptionsPage = 9;
    mnuViewOptions();
}

void frmMain::OpenHelpPage()
{
    // The help shipped with the program.
    OpenQuickTour();
}

void frmMain::ExecDocCommand2135()
{
    // The engine has no Internet options dialog; the item stays disabled.
}
