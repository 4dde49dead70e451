#pragma once

#include "frameparts.h"

#include <QObject>

struct SidebarHost;

// The frame as its side bar reaches it (the side bar's SidebarHost): documents opened, navigated
// and listed through the document area, the typed addresses and the quick search's list
// emptied, the status text, the options dialog, whether the frame is closing, and notices in the
// frame's notification window, at its lower right above the status bar, on the skin.
class FrameSidebarHost : public QObject
{
    Q_OBJECT
public:
    explicit FrameSidebarHost(const FrameParts &parts);

    // The side bar's host; each member does nothing (or reports closing) once the frame is gone.
    SidebarHost host();

private:
    const FrameParts &m_parts;
};
