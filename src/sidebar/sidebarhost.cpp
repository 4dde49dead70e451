#include "sidebarhost.h"

#include "core/strings.h"
#include "widgets/plainmessagebox.h"

void SidebarHost::openInNewTab(const QString &address) const
{
    if (openDocument)
        openDocument(address);
}

void SidebarHost::openPicked(const QString &address, bool newTab) const
{
    if (newTab || !navigateActive || !navigateActive(address))
        openInNewTab(address);
}

QStringList SidebarHost::documentAddresses() const
{
    return openAddresses ? openAddresses() : QStringList();
}

void SidebarHost::tip(const QString &title, const QString &text, const QString &target) const
{
    if (showTip)
        showTip(title, text, target);
}

void SidebarHost::status(const QString &text) const
{
    if (setStatusText)
        setStatusText(text);
}

bool SidebarHost::closing() const
{
    return isClosing && isClosing();
}

QMessageBox::StandardButton SidebarHost::message(QWidget *parent, QMessageBox::Icon icon,
                                                 const QString &text,
                                                 QMessageBox::StandardButtons buttons,
                                                 const QString &title) const
{
    if (messageBox)
        return messageBox(parent, icon, text, buttons);
    return plainMessageBox(parent, icon, title.isEmpty() ? loadResString(100) : title, text, buttons);
}
