#include "mainwindow.h"

#include "addressbar.h"
#include "commandregistry.h"
#include "documentarea.h"
#include "quicksearchdialog.h"
#include "document/abstractdocument.h"
#include "framechrome.h"
#include "framestatusbar.h"
#include "sidebar/sidebarhost.h"
#include "widgets/notificationwindow.h"

#include <QComboBox>
#include <QPointer>

SidebarHost MainWindow::makeSidebarHost()
{
    SidebarHost host;
    const QPointer<MainWindow> guard(this);
    host.openDocument = [guard](const QString &address) {
        if (guard)
            guard->openDocument(address);
    };
    host.navigateActive = [guard](const QString &address) {
        AbstractDocument *active = guard ? guard->m_documentArea->activeDocument() : nullptr;
        if (!active)
            return false;
        active->load(address);
        return true;
    };
    host.openAddresses = [guard] {
        QStringList addresses;
        if (guard) {
            for (const AbstractDocument *document : guard->m_documentArea->documents())
                addresses << document->locationUrl();
        }
        return addresses;
    };
    // The list goes; what the field shows stays.
    host.clearTypedAddresses = [guard] {
        if (!guard)
            return;
        const QString text = guard->m_addressBar->addressText();
        guard->m_addressBar->setTypedAddresses({});
        guard->m_addressBar->setAddressText(text);
    };
    host.clearSearchList = [guard] {
        if (guard)
            guard->quickSearch()->clearHistory();
    };
    host.setStatusText = [guard](const QString &text) {
        if (guard)
            guard->frameStatusBar()->setStatusText(text);
    };
    host.isClosing = [guard] { return !guard || guard->m_closing; };

    // The notices of the frame: at its lower right, above the status bar, on the skin.
    NotificationWindow *notices = NotificationWindow::of(this);
    notices->setPlacementArea([guard] {
        if (!guard)
            return QRect();
        QRect area = guard->frameGeometry();
        const QWidget *status = guard->m_statusBar ? guard->m_statusBar->canvas() : nullptr;
        if (status && status->isVisible())
            area.setBottom(area.bottom() - status->height());
        return area;
    });
    notices->setBackground([guard] {
        return guard && guard->m_chrome ? guard->m_chrome->skinPicture() : QPixmap();
    });
    connect(notices, &NotificationWindow::rssSectionRequested, this,
            [this] { m_commands->trigger(QStringLiteral("mnuViewRSS")); });
    connect(notices, &NotificationWindow::addressRequested, this, &MainWindow::openDocument);
    host.showTip = [guard](const QString &title, const QString &text, const QString &target) {
        if (guard)
            NotificationWindow::of(guard)->post({title, text, target});
    };
    return host;
}
