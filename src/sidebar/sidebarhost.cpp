#include "sidebarhost.h"

#include "core/strings.h"

void SidebarHost::openInNewTab(const QString &address) const
{
    if (openDocument)
        openDocument(address);
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
                                                 QMessageBox::StandardButtons buttons) const
{
    if (messageBox)
        return messageBox(parent, icon, text, buttons);
    QMessageBox box(icon, loadResString(100), text, buttons, parent);
    box.setTextFormat(Qt::PlainText); // texts from feeds and servers are never markup
    return QMessageBox::StandardButton(box.exec());
}
