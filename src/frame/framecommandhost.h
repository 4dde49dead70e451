#pragma once

#include "commandhost.h"

#include <functional>

class QMainWindow;
class AddressBar;
class FrameChrome;
class FrameStatusBar;

// The frame as its commands and menus reach it: the documents through the document area, the
// chrome, the address bar, the status bar and the side bar's dock through the frame's parts, and
// what the frame window does itself through functions it hands in.
class FrameCommandHost final : public CommandHost
{
public:
    struct FrameFunctions
    {
        std::function<void()> showQuickSearch;
        std::function<void(const QString &key)> showSidebarSection;
        std::function<void(OptionsPageId page)> showOptions;
    };

    FrameCommandHost(QMainWindow &frame, DocumentArea &documents, FrameFunctions functions);
    // The parts are made after the commands they run; the frame sets them before any command
    // can run.
    void setParts(FrameChrome *chrome, AddressBar *address, FrameStatusBar *statusBar,
                  QDockWidget *sidebarDock);

    QWidget *frameWidget() override;
    void showOptions(OptionsPageId page) override { m_functions.showOptions(page); }

    DocumentWindow *activeDocument() const override;
    QList<DocumentWindow *> documents() const override;
    void openDocument(const QString &address) override;
    void bringToFront(DocumentWindow *document) override;
    void runTabAction(DocumentWindow *document, int action) override;
    QString lastClosedAddress() const override;
    DocumentArea *documentArea() override { return &m_documents; }
    void showWindowList() override;
    void showQuickSearch() override { m_functions.showQuickSearch(); }

    ToolBarBands *bands() override;
    void setBandsAlignment(int alignment) override;
    QWidget *statusCanvas() override;
    PanelStatusBar *statusBar() override;
    QDockWidget *sidebarDock() override { return m_sidebarDock; }
    void showSidebarSection(const QString &key) override { m_functions.showSidebarSection(key); }
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
    QMainWindow &m_frame;
    DocumentArea &m_documents;
    FrameFunctions m_functions;
    FrameChrome *m_chrome = nullptr;
    AddressBar *m_address = nullptr;
    FrameStatusBar *m_statusBar = nullptr;
    QDockWidget *m_sidebarDock = nullptr;
};
