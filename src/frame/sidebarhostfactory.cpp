#include "sidebarhostfactory.h"

#include "mainwindow.h"

#include <QPointer>

SidebarHost makeSidebarHost(MainWindow *frame)
{
    SidebarHost host;
    const QPointer<MainWindow> guard(frame);
    host.openDocument = [guard](const QString &address) {
        if (guard)
            guard->openDocument(address);
    };
    host.setStatusText = [guard](const QString &text) {
        if (guard)
            guard->setStatusText(text);
    };
    host.isClosing = [guard] { return !guard || guard->m_closing; };
    return host;
}
