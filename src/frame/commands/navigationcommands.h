#pragma once

#include <QObject>
#include <QString>

class CommandHost;
class CommandRegistry;

// The commands that open and move between pages: navigation, new tabs, the File menu and Undo
// Close, the address bar's buttons and search engines, the custom links and the help pages.
// Each registers its action by its key and acts on the frame through the host. The commands on
// a page's content (the rest of the Edit menu, find, zoom) are PageCommands.
class NavigationCommands : public QObject
{
    Q_OBJECT
public:
    NavigationCommands(CommandHost &host, CommandRegistry &commands, QObject *parent = nullptr);

private:
    void registerCommands();
    // Puts the focus in the address bar with its text selected (a new tab waits for an address).
    void focusAddressBar();

    // ---- Navigation of the active document; the site commands open a tab when none is open.
    void back();
    void forward();
    void stop();
    void refresh();
    // The page's key for a refresh past the cache (it has no menu item).
    void refreshBypassingCache();
    void refreshAll();
    void stopAll();
    void goSite(const QString &address);
    void goHome();
    void goSecondHome();
    void goMail();
    void goSearch();
    void goNews();

    // ---- New tabs.
    void openHomeInNewTab();
    void openSecondHomeInNewTab();
    void openMailInNewTab();
    void openSearchInNewTab();
    void openNewsInNewTab();
    void openBlankTab();
    void duplicateCurrentTab();
    void openClipboardAddress();
    void undoClose();

    // ---- File.
    void openFile();
    void closeActiveDocument();
    // Save as, properties, page setup, print preview and print of the active page.
    void runBrowserCommand(int command);
    void exitProgram();

    // ---- Address bar, search engines and links.
    void go();
    void searchAddressText();
    void selectSearchEngine(int engine);
    void openLink(int link);
    void importLinks();
    void customizeSitesToolbar();

    // ---- Help: the pages shipped with the program and the about box; the web site's pages
    // are registered with their addresses.
    void openQuickTour();
    // What each menu does: a page shipped with the program.
    void openHelpContents();
    void showAbout();

    CommandHost &m_host;
    CommandRegistry &m_commands;
};
