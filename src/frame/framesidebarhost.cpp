#include "framesidebarhost.h"

#include "addressbar.h"
#include "commandregistry.h"
#include "document/abstractdocument.h"
#include "documentarea.h"
#include "framechrome.h"
#include "framestatusbar.h"
#include "quicksearchdialog.h"
#include "sidebar/sidebarhost.h"
#include "widgets/notificationwindow.h"

#include <QPointer>

FrameSidebarHost::FrameSidebarHost(QWidget *frame, DocumentArea &documents,
                                   CommandRegistry &commands, FrameFunctions functions)
    : QObject(frame), m_frame(frame), m_documentArea(documents), m_commands(commands),
      m_functions(std::move(functions))
{
}

void FrameSidebarHost::setParts(AddressBar *address, FrameStatusBar *statusBar, FrameChrome *chrome)
{
    m_addressBar = address;
    m_statusBar = statusBar;
    m_chrome = chrome;
}

SidebarHost FrameSidebarHost::host()
{
    SidebarHost host;
    const QPointer<FrameSidebarHost> guard(this);
    host.openDocument = [guard](const QString &address) {
        if (guard)
            guard->m_documentArea.openDocument(address);
    };
    host.navigateActive = [guard](const QString &address) {
        AbstractDocument *active = guard ? guard->m_documentArea.activeDocument() : nullptr;
        if (!active)
            return false;
        active->load(address);
        return true;
    };
    host.openAddresses = [guard] {
        QStringList addresses;
        if (guard) {
            for (const AbstractDocument *document : guard->m_documentArea.documents())
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
            guard->m_functions.quickSearch()->clearHistory();
    };
    host.setStatusText = [guard](const QString &text) {
        if (guard)
            guard->m_statusBar->setStatusText(text);
    };
    host.isClosing = [guard] { return !guard || guard->m_functions.closing(); };

    // The notices of the frame: at its lower right, above the status bar, on the skin.
    NotificationWindow *notices = NotificationWindow::of(m_frame);
    notices->setPlacementArea([guard] {
        if (!guard)
            return QRect();
        QRect area = guard->m_frame->frameGeometry();
        const QWidget *status = guard->m_statusBar ? guard->m_statusBar->canvas() : nullptr;
        if (status && status->isVisible())
            area.setBottom(area.bottom() - status->height());
        return area;
    });
    notices->setBackground(
        [guard] { return guard && guard->m_chrome ? guard->m_chrome->skinPicture() : QPixmap(); });
    connect(notices, &NotificationWindow::rssSectionRequested, this,
            [this] { m_commands.trigger(QStringLiteral("mnuViewRSS")); });
    connect(notices, &NotificationWindow::addressRequested, this,
            [this](const QString &address) { m_documentArea.openDocument(address); });
    host.showTip = [guard](const QString &title, const QString &text, const QString &target) {
        if (guard)
            NotificationWindow::of(guard->m_frame)->post({title, text, target});
    };
    return host;
}
