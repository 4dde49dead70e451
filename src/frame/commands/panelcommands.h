#pragma once

#include "core/optionspageid.h"

#include <QObject>

class CommandHost;
class CommandRegistry;
class DocumentWindow;
class MenuController;
class OptionsHost;
class Sidebar;

// The commands of the side bar's sections (the favorites and history sections, adding a page to
// the favorites and organising them) and the options dialog, from the View menu, the tab menu,
// gestures, the status bar and the side bar's own buttons.
class PanelCommands : public QObject
{
    Q_OBJECT
public:
    PanelCommands(CommandHost &host, CommandRegistry &commands, MenuController &menus,
                  Sidebar &sidebar, OptionsHost &options, QObject *parent = nullptr);

    // Asks where to keep the document's page among the favorites; the tree is built again.
    void addToFavorites(DocumentWindow *document);
    void organizeFavorites();
    // The options dialog, opened on the page: also what running kOptionsPageKey with the page as
    // its data does, wherever the command comes from (another command, the side bar).
    void showOptions(OptionsPageId page);
    static constexpr const char *kOptionsPageKey = "OptionsPage";

private:
    CommandHost &m_host;
    CommandRegistry &m_commands;
    MenuController &m_menus;
    Sidebar &m_sidebar;
    OptionsHost &m_options;
};
