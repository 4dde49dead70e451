#pragma once

#include "sidebarhost.h"
#include "websitegroups.h"

#include <QObject>

#include <optional>

class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

// The side bar's website-group list with its add and remove buttons. Rows: the group's name,
// the icon "heart" or "heartsec", and whether the group is protected in Qt::UserRole. A double
// click or Enter opens the selected group, one new tab per address; Delete removes it after a
// question. A press with any mouse button selects the row under the pointer, or none.
class WebsiteGroupList : public QObject
{
    Q_OBJECT
public:
    static constexpr int kProtectedRole = Qt::UserRole;

    WebsiteGroupList(QTreeWidget *list, QToolButton *addButton, QToolButton *removeButton,
                     const SidebarHost &host, QObject *parent = nullptr,
                     const QString &folder = WebsiteGroups::defaultFolder());

    // Rebuilds the rows from the folder; the remove button is enabled only with rows.
    void fillGroupList();
    // Saves the open documents as a group through the group dialog, then refills the list.
    void addGroup();
    // Asks, then deletes the selected group (the question comes even without a selection).
    void removeSelectedGroup();
    // Opens the row's group; a protected group asks its password first.
    void openRow(QTreeWidgetItem *row);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void reportFailure(WebsiteGroups::OpenFailure failure) const;
    QTreeWidgetItem *selectedRow() const;
    // Asks the password of a protected group (the website-group password dialog); no value
    // when the user cancelled.
    std::optional<QString> askPassword() const;

    QTreeWidget *m_list;
    QToolButton *m_removeButton;
    SidebarHost m_host;
    WebsiteGroups m_groups;
};
