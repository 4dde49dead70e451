#pragma once

#include "frame/commands/commandhost.h"
#include "frameparts.h"
#include "frameservices.h"

// The frame as its commands and menus reach it: the documents through the document area, the
// chrome, the address bar, the status bar and the side bar's dock, and what the frame window
// does itself, all from the frame's parts.
class FrameCommandHost final : public CommandHost
{
public:
    explicit FrameCommandHost(const FrameParts &parts) : m_parts(parts) {}

    QWidget *frameWidget() override;

    DocumentWindow *activeDocument() const override;
    QList<DocumentWindow *> documents() const override;
    void openDocument(const QString &address) override;
    void bringToFront(DocumentWindow *document) override;
    void runTabAction(DocumentWindow *document, int action) override;
    QString lastClosedAddress() const override;
    DocumentArea *documentArea() override { return m_parts.documents; }
    void showWindowList() override;
    void showQuickSearch() override { m_parts.services->showQuickSearch(); }

    ToolBarBands *bands() override;
    void setBandsAlignment(int alignment) override;
    QWidget *statusCanvas() override;
    PanelStatusBar *statusBar() override;
    QDockWidget *sidebarDock() override { return m_parts.sidebarDock; }
    void showSidebarSection(const QString &key) override { m_parts.services->showSidebarSection(key); }
    StripToolBar *toolBar(const QString &bandKey) override;
    void setToolbarShowText(StripToolBar *toolbar, const QString &bandKey, bool show) override;
    void setToolbarTextRight(StripToolBar *toolbar, const QString &bandKey, bool right) override;
    void setToolbarLargeIcons(StripToolBar *toolbar, bool large) override;
    void showCustomLinkButtons() override;
    QString nextSkin() const override;
    void setNextSkin(const QString &skin) override;

    QComboBox *addressBar() override;
    bool addressHasFocus() const override;
    void go() override;
    int searchEngine() const override;
    void setSearchEngine(int engine) override;
    void searchWeb(int engine, const QString &text) override;

private:
    const FrameParts &m_parts;
};
