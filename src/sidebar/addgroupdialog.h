#pragma once

#include "sidebarhost.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class WebsiteGroups;

// Saves the open documents' addresses as a website group: a name, and a password (typed twice)
// for a protected group. OK asks before replacing a group of the same name and kind, refuses
// differing passwords, saves and closes; a failed save keeps the dialog open for another try.
class AddGroupDialog : public QDialog
{
    Q_OBJECT
public:
    AddGroupDialog(WebsiteGroups &groups, const SidebarHost &host, QWidget *parent = nullptr);

    // OK: saves and accepts, or says why not and stays open.
    void onOk();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool groupExists(const QString &name, bool isProtected) const;

    WebsiteGroups &m_groups;
    SidebarHost m_host;
    QLineEdit *m_name;
    QLineEdit *m_password;
    QLineEdit *m_confirm;
    QPushButton *m_ok;
};
