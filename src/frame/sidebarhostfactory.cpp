#include "mainwindow.h"

#include "framestatusbar.h"
#include "sidebar/sidebarhost.h"

#include <QPointer>

SidebarHost MainWindow::makeSidebarHost()
{
    SidebarHost host;
    const QPointer<MainWindow> guard(this);
    host.openDocument = [guard](const QString &address) {
        if (guard)
            guard->openDocument(address);
    };
    host.setStatusText = [guard](const QString &text) {
        if (guard)
            guard->frameStatusBar()->setStatusText(text);
    };
    host.isClosing = [guard] { return !guard || guard->m_closing; };
    return host;
}
