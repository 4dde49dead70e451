#pragma once

#include <QObject>
#include <QString>

class CommandHost;
class CommandRegistry;
class DocumentWindow;
class MenuController;

// The commands that change what the frame shows: the View menu's bars and panels, tab
// shrinking, the content switches and forms, the tab menu and automatic refresh, the Window
// menu, skins, the toolbar options and the popup killer. Commands with a check mark keep it on
// their action, set from the state they change.
class ViewCommands : public QObject
{
    Q_OBJECT
public:
    ViewCommands(CommandHost &host, CommandRegistry &commands, MenuController &menus,
                 QObject *parent = nullptr);

private:
    void registerCommands();

    // ---- Bars and panels.
    void toggleBand(const QString &bandKey, const QString &commandKey, bool checked);
    void toggleStatusBar();
    void toggleSidebar(bool checked);
    void alignBands(int alignment);
    void showRssSection();
    void showQuickSearch();
    void viewSource();
    // 0 reset all, 1 shrink all, 2 shrink the selected tab, 3 shrink all but the selected.
    void shrinkTabs(int variant);

    // ---- Content.
    void toggleContentSwitch(const QString &key);
    void fillForm();
    void showFormDataOptions();
    void addCurrentSiteToWhitelist();
    void togglePopupKiller();

    // ---- Tab menu and automatic refresh: the tab menu's commands act on the document it was
    // opened for, the Auto-Refresh items on that one while the tab menu shows and on the
    // active document otherwise.
    DocumentWindow *autoRefreshTarget() const;
    void setAutoRefresh(int interval);
    void askCustomAutoRefresh();
    void refreshTab();
    void runTabAction(int action);
    void duplicateTab();

    // ---- Data-driven families: Window menu entries, skins.
    void runWindowMenuCommand(qint32 code);
    void selectSkin(const QString &key);

    // ---- Toolbar options, for the toolbar whose option menu shows.
    void runToolbarOption(const QString &key, bool checked);

    CommandHost &m_host;
    CommandRegistry &m_commands;
    MenuController &m_menus;
};
