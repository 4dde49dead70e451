#include "websitegrouplist.h"

#include "addgroupdialog.h"
#include "core/strings.h"
#include "sidebarimages.h"
#include "widgets/passworddialog.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QToolButton>
#include <QTreeWidget>

WebsiteGroupList::WebsiteGroupList(QTreeWidget *list, QToolButton *addButton,
                                   QToolButton *removeButton, const SidebarHost &host,
                                   QObject *parent, const QString &folder)
    : QObject(parent), m_list(list), m_removeButton(removeButton), m_host(host), m_groups(folder)
{
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->installEventFilter(this);
    m_list->viewport()->installEventFilter(this);
    connect(addButton, &QToolButton::clicked, this, &WebsiteGroupList::addGroup);
    connect(removeButton, &QToolButton::clicked, this, &WebsiteGroupList::removeSelectedGroup);
    m_removeButton->setEnabled(false);
}

void WebsiteGroupList::fillGroupList()
{
    m_list->clear();
    const QList<WebsiteGroups::Group> groups = m_groups.groups();
    for (const WebsiteGroups::Group &group : groups) {
        auto *row = new QTreeWidgetItem(m_list, QStringList{group.name});
        row->setIcon(0, SidebarImages::icon(group.isProtected ? QStringLiteral("heartsec")
                                                              : QStringLiteral("heart")));
        row->setData(0, kProtectedRole, group.isProtected);
    }
    m_removeButton->setEnabled(!groups.isEmpty());
}

void WebsiteGroupList::addGroup()
{
    AddGroupDialog dialog(m_groups, m_host, m_list->window());
    dialog.exec();
    fillGroupList();
}

void WebsiteGroupList::removeSelectedGroup()
{
    if (m_host.message(m_list->window(), QMessageBox::Critical, loadResString(19005),
                       QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return;
    QTreeWidgetItem *row = selectedRow();
    if (!row)
        return;
    const bool deleted =
        m_groups.deleteGroup(row->text(0), row->data(0, kProtectedRole).toBool());
    fillGroupList();
    if (!deleted)
        m_host.message(m_list->window(), QMessageBox::Information, loadResString(19006));
}

void WebsiteGroupList::openRow(QTreeWidgetItem *row)
{
    if (!row)
        return;
    const auto open = [this](const QString &address) { m_host.openInNewTab(address); };
    if (!row->data(0, kProtectedRole).toBool()) {
        WebsiteGroups::OpenFailure failure = WebsiteGroups::OpenFailure::None;
        if (!m_groups.openGroup(row->text(0), false, QString(), open, &failure))
            reportFailure(failure);
        return;
    }
    const std::optional<QString> password = askPassword();
    WebsiteGroups::OpenFailure failure = WebsiteGroups::OpenFailure::None;
    if (password && !m_groups.openGroup(row->text(0), true, *password, open, &failure))
        reportFailure(failure);
}

void WebsiteGroupList::reportFailure(WebsiteGroups::OpenFailure failure) const
{
    // A damaged file is no reason to doubt the password the user typed.
    if (failure == WebsiteGroups::OpenFailure::WrongPassword)
        m_host.message(m_list->window(), QMessageBox::Warning, loadResString(19011));
    else if (failure == WebsiteGroups::OpenFailure::Damaged)
        m_host.message(m_list->window(), QMessageBox::Warning, loadResString(19014));
}

QTreeWidgetItem *WebsiteGroupList::selectedRow() const
{
    const QList<QTreeWidgetItem *> rows = m_list->selectedItems();
    return rows.isEmpty() ? nullptr : rows.first();
}

std::optional<QString> WebsiteGroupList::askPassword() const
{
    PasswordDialog dialog(PasswordDialog::Mode::WebsiteGroup, QString(), m_list->window());
    dialog.exec();
    if (dialog.isCancelled())
        return std::nullopt;
    return dialog.password();
}

bool WebsiteGroupList::eventFilter(QObject *watched, QEvent *event)
{
    // Only mouse events reach the list: other events may come while it is being destroyed.
    if ((event->type() == QEvent::MouseButtonPress ||
         event->type() == QEvent::MouseButtonDblClick) && watched == m_list->viewport()) {
        auto *mouse = static_cast<QMouseEvent *>(event);
        m_list->setFocus(Qt::MouseFocusReason);
        QTreeWidgetItem *row = m_list->itemAt(mouse->position().toPoint());
        if (row) {
            m_list->setCurrentItem(row);
        } else {
            m_list->clearSelection();
            m_list->setCurrentItem(nullptr);
        }
        if (event->type() == QEvent::MouseButtonDblClick && mouse->button() == Qt::LeftButton)
            openRow(selectedRow());
        return true;
    }
    if (watched == m_list && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            openRow(selectedRow());
            return true;
        }
        if (key == Qt::Key_Delete) {
            removeSelectedGroup();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
