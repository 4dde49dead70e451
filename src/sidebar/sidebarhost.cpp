#include "sidebarhost.h"

#include "core/strings.h"
#include "frame/frmmain.h"

#include <QPointer>

SidebarHost SidebarHost::FromFrame(frmMain *frame)
{
    SidebarHost host;
    const QPointer<frmMain> guard(frame);
    host.LoadNewDoc = [guard](const QString &address) {
        if (guard)
            guard->LoadNewDoc(address);
    };
    host.SetStatusText = [guard](const QString &text) {
        if (guard)
            guard->SetStatusText(text);
    };
    host.IsClosing = [guard] { return !guard || guard->g_bClosing; };
    return host;
}

void SidebarHost::openInNewTab(const QString &address) const
{
    if (LoadNewDoc)
        LoadNewDoc(address);
}

void SidebarHost::tip(const QString &title, const QString &text, const QString &target) const
{
    if (showTip)
        showTip(title, text, target);
}

void SidebarHost::status(const QString &text) const
{
    if (SetStatusText)
        SetStatusText(text);
}

bool SidebarHost::closing() const
{
    return IsClosing && IsClosing();
}

QMessageBox::StandardButton SidebarHost::message(QWidget *parent, QMessageBox::Icon icon,
                                                 const QString &text,
                                                 QMessageBox::StandardButtons buttons) const
{
    if (MessageBox)
        return MessageBox(parent, icon, text, buttons);
    QMessageBox box(icon, LoadResString(100), text, buttons, parent);
    return QMessageBox::StandardButton(box.exec());
}
