#pragma once

#include <QObject>

class CommandHost;
class CommandRegistry;

// The commands that act on what the user reads or types in: the Edit menu's clipboard commands
// on whatever has the focus (a page or a text field), select all, find in the page and find
// again, and the page's zoom and text size. Each registers its action by its key and reaches the
// active document through the host.
class PageCommands : public QObject
{
    Q_OBJECT
public:
    PageCommands(CommandHost &host, CommandRegistry &commands, QObject *parent = nullptr);

private:
    void registerCommands();

    // ---- Edit: the clipboard commands reach whatever has the focus, a page or a text field.
    void cut();
    void copy();
    void paste();
    void selectAll();
    void findInPage();
    // The page's keys without a menu item: find again, page zoom.
    void findNext();
    void findPrevious();
    void zoomIn();
    void zoomOut();
    void resetZoom();
    // One zoom level up (step 1) or down (-1) within 0..4, or medium (0).
    void changeTextSize(int step);

    CommandHost &m_host;
    CommandRegistry &m_commands;
};
