#include "framesidebarhost.h"

#include "document/abstractdocument.h"
#include "frame/address/addressbar.h"
#include "frame/address/quicksearchdialog.h"
#include "frame/chrome/framechrome.h"
#include "frame/chrome/framestatusbar.h"
#include "frame/commands/commandregistry.h"
#include "frame/commands/panelcommands.h"
#include "frame/documents/documentarea.h"
#include "frameservices.h"
#include "sidebar/sidebarhost.h"
#include "widgets/notificationwindow.h"

#include <QMainWindow>
#include <QPointer>

FrameSidebarHost::FrameSidebarHost(const FrameParts &parts) : QObject(parts.frame), m_parts(parts)
{
}

SidebarHost FrameSidebarHost::host()
{
    SidebarHost host;
    const QPointer<FrameSidebarHost> guard(this);
    host.openDocument = [guard](const QString &address) {
        if (guard)
            guard->m_parts.documents->openDocument(address);
    };
    host.navigateActive = [guard](const QString &address) {
        return guard && guard->m_parts.documents->navigateActive(address);
    };
    host.openAddresses = [guard] {
        QStringList addresses;
        if (guard) {
            for (const AbstractDocument *document : guard->m_parts.documents->documents())
                addresses << document->locationUrl();
        }
        return addresses;
    };
    // The list goes; what the field shows stays.
    host.clearTypedAddresses = [guard] {
        if (!guard)
            return;
        const QString text = guard->m_parts.addressBar->addressText();
        guard->m_parts.addressBar->setTypedAddresses({});
        guard->m_parts.addressBar->setAddressText(text);
    };
    host.clearSearchList = [guard] {
        if (guard)
            guard->m_parts.services->quickSearch()->clearHistory();
    };
    host.setStatusText = [guard](const QString &text) {
        if (guard)
            guard->m_parts.statusBar->setStatusText(text);
    };
    host.isClosing = [guard] { return !guard || guard->m_parts.services->isClosing(); };

    // The notices of the frame: at its lower right, above the status bar, on the skin.
    NotificationWindow *notices = NotificationWindow::of(m_parts.frame);
    notices->setPlacementArea([guard] {
        if (!guard)
            return QRect();
        QRect area = guard->m_parts.frame->frameGeometry();
        const QWidget *status = guard->m_parts.statusBar->canvas();
        if (status && status->isVisible())
            area.setBottom(area.bottom() - status->height());
        return area;
    });
    notices->setBackground(
        [guard] { return guard ? guard->m_parts.chrome->skinPicture() : QPixmap(); });
    connect(notices, &NotificationWindow::rssSectionRequested, this,
            [this] { m_parts.commands->trigger(QStringLiteral("mnuViewRSS")); });
    connect(notices, &NotificationWindow::addressRequested, this,
            [this](const QString &address) { m_parts.documents->openDocument(address); });
    host.showTip = [guard](const QString &title, const QString &text, const QString &target) {
        if (guard)
            NotificationWindow::of(guard->m_parts.frame)->post({title, text, target});
    };
    host.showOptions = [guard](OptionsPageId page) {
        if (guard)
            guard->m_parts.commands->run(QLatin1String(PanelCommands::kOptionsPageKey), qint32(page));
    };
    return host;
}
