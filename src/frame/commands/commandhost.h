#pragma once

#include <QList>
#include <QString>

class DocumentArea;
class DocumentWindow;
class PanelStatusBar;
class QComboBox;
class QDockWidget;
class QWidget;
class StripToolBar;
class ToolBarBands;

// What the frame's commands and menus reach in the frame: its documents, its chrome, its
// address bar and the dialogs it keeps. The frame implements it; commands and menus never see
// the frame's own class.
class CommandHost
{
public:
    virtual ~CommandHost() = default;

    // The frame window, parent of the dialogs and message boxes commands show.
    virtual QWidget *frameWidget() = 0;

    // ---- Documents, in registry (tab) order.
    virtual DocumentWindow *activeDocument() const = 0;
    virtual QList<DocumentWindow *> documents() const = 0;
    virtual void openDocument(const QString &address) = 0;
    virtual void bringToFront(DocumentWindow *document) = 0;
    // Tab actions: 0 front, 1 close, 2 toggle shrink, 3 tab menu, 4 refresh, 5 duplicate.
    virtual void runTabAction(DocumentWindow *document, int action) = 0;
    // The address of the document closed last (empty before the first close).
    virtual QString lastClosedAddress() const = 0;
    // The MDI area, the tab strip and the navigator palette, kept in step.
    virtual DocumentArea *documentArea() = 0;
    virtual void showWindowList() = 0;
    virtual void showQuickSearch() = 0;

    // ---- Chrome.
    virtual ToolBarBands *bands() = 0;
    // 1 top, 2 bottom.
    virtual void setBandsAlignment(int alignment) = 0;
    virtual QWidget *statusCanvas() = 0;
    virtual PanelStatusBar *statusBar() = 0;
    virtual QDockWidget *sidebarDock() = 0;
    virtual void showSidebarSection(const QString &key) = 0;
    // The toolbar of a band: "Toolbar1" (browse), "Toolbar2" (sites), "Addressbar".
    virtual StripToolBar *toolBar(const QString &bandKey) = 0;
    virtual void setToolbarShowText(StripToolBar *toolbar, const QString &bandKey, bool show) = 0;
    virtual void setToolbarTextRight(StripToolBar *toolbar, const QString &bandKey, bool right) = 0;
    virtual void setToolbarLargeIcons(StripToolBar *toolbar, bool large) = 0;
    virtual void showCustomLinkButtons() = 0;
    // The skin the next start loads.
    virtual QString nextSkin() const = 0;
    virtual void setNextSkin(const QString &skin) = 0;

    // ---- Address bar.
    virtual QComboBox *addressBar() = 0;
    virtual bool addressHasFocus() const = 0;
    // The Go button: the typed address in this tab, or in a new one while Go New is down.
    virtual void go() = 0;
    virtual int searchEngine() const = 0;
    virtual void setSearchEngine(int engine) = 0;
    virtual void searchWeb(int engine, const QString &text) = 0;
};
