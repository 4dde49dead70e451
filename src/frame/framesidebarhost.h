#pragma once

#include <QObject>

#include <functional>

class AddressBar;
class CommandRegistry;
class DocumentArea;
class FrameChrome;
class FrameStatusBar;
class QuickSearchDialog;
struct SidebarHost;

// The frame as its side bar reaches it (the side bar's SidebarHost): documents opened, navigated
// and listed through the document area, the typed addresses and the quick search's list
// emptied, the status text, whether the frame is closing, and notices in the frame's
// notification window, at its lower right above the status bar, on the skin.
class FrameSidebarHost : public QObject
{
    Q_OBJECT
public:
    // What the frame window does itself.
    struct FrameFunctions
    {
        // The quick search box, made on first use.
        std::function<QuickSearchDialog *()> quickSearch;
        // True while the frame unloads.
        std::function<bool()> closing;
    };

    FrameSidebarHost(QWidget *frame, DocumentArea &documents, CommandRegistry &commands,
                     FrameFunctions functions);
    // The parts are made after the side bar; the frame sets them before the side bar can reach
    // them.
    void setParts(AddressBar *address, FrameStatusBar *statusBar, FrameChrome *chrome);

    // The side bar's host; each member does nothing (or reports closing) once the frame is gone.
    SidebarHost host();

private:
    QWidget *m_frame;
    DocumentArea &m_documentArea;
    CommandRegistry &m_commands;
    FrameFunctions m_functions;
    AddressBar *m_addressBar = nullptr;
    FrameStatusBar *m_statusBar = nullptr;
    FrameChrome *m_chrome = nullptr;
};
