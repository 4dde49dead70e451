#pragma once

#include "sidebar/sidebarhost.h"

class MainWindow;

// The host members the frame gives its side bar: openDocument, setStatusText and isClosing
// (true once the frame closes or is gone). Every callback does nothing once the frame is gone.
SidebarHost makeSidebarHost(MainWindow *frame);
