#pragma once

#include "frame/chrome/framemenus.h"

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <QUrl>

#include <functional>

class CommandHost;
class CommandRegistry;
class DocumentWindow;
class KeyedMenu;
class QMenuBar;
class QWebEngineHistory;

// Builds and shows the frame's keyed menus: the menu bar's menu, the tab menu, the New,
// Refresh All, Stop All, search engine and links menus and the toolbar option menus. Their
// items run the commands of the registry. The popups exist while they show; while one shows,
// the commands can ask what it was opened for (the tab, the toolbar).
class MenuController : public QObject
{
    Q_OBJECT
public:
    MenuController(CommandHost &host, CommandRegistry &commands, QObject *parent = nullptr);

    // Builds the menu bar's menu (it lives for the run) and fills the bar with it.
    void buildMenuBar(QMenuBar *bar);
    KeyedMenu *mainMenu() const { return m_mainMenu; }
    // A submenu of the menu bar opens: the Window and Skins submenus are rebuilt, the
    // Auto-Refresh submenu marks the active document's interval.
    // Gives each command whose menu caption shows a key that key as its shortcut.
    void bindCaptionKeys();
    void onMainMenuAboutToShow(int parentItem);
    // The windows the Window menu lists, the active one first.
    QList<FrameMenus::WindowEntry> windowMenuEntries() const;

    // Popup menus at a screen point; each returns after the chosen item's command has run.
    void showNewMenu(const QPoint &at);
    void showTabMenu(DocumentWindow *document, const QPoint &at);
    void showSearchEnginesMenu(const QPoint &at);
    // The drop-down of a browse toolbar button: New, Refresh, Stop, Links, Back and Forward.
    void showBrowseDropDown(const QString &buttonKey, const QPoint &at);
    // The option menu of the toolbar in the band ("Toolbar1", "Toolbar2", "Addressbar").
    void showToolbarOptions(const QString &bandKey, const QPoint &at);

    // One entry of a page's back or forward list: its title (the address when it has none), its
    // address and its position in the page's history.
    struct TravelLogEntry
    {
        QString title;
        QUrl url;
        int index = 0;
    };
    // The back or forward entries of the history, the nearest first.
    static QList<TravelLogEntry> travelLog(const QWebEngineHistory &history, bool back);

    // The document the tab menu was last opened for, and whether the tab menu shows now.
    DocumentWindow *tabMenuDocument() const;
    bool isTabMenuOpen() const { return m_tabMenuOpen; }
    // The band of the toolbar whose option menu shows now; empty while none does.
    QString toolbarOptionsBand() const { return m_optionsBand; }

private:
    void showMenu(const std::function<void(KeyedMenu &)> &build, const QPoint &at);
    void markAutoRefresh(KeyedMenu &menu, DocumentWindow *document);
    // The active page's back or forward list; choosing an entry goes there.
    void showTravelLogMenu(bool back, const QPoint &at);

    CommandHost &m_host;
    CommandRegistry &m_commands;
    KeyedMenu *m_mainMenu = nullptr;
    QPointer<DocumentWindow> m_tabMenuDocument;
    bool m_tabMenuOpen = false;
    QString m_optionsBand;
};
