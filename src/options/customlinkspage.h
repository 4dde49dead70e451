#pragma once

#include "optionspage.h"

class QDialog;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

// The named addresses the sites toolbar shows as buttons. The page edits a working copy of the
// list; the settings change only in save().
class CustomLinksPage : public OptionsPage
{
    Q_OBJECT
public:
    explicit CustomLinksPage(OptionsHost &host, QWidget *parent = nullptr);

    void save() override;

protected:
    // Runs the link dialog or a question modally and returns its result.
    virtual int execModal(QDialog &dialog);
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void load();
    void appendLink(const QString &name, const QString &address);
    void addLink();
    void editLink();
    void deleteLink();
    void move(int by);
    void importLinks();
    void updateButtons();
    int selectedRow() const;

    QTreeWidget *m_list = nullptr;
    QPushButton *m_edit = nullptr;
    QPushButton *m_delete = nullptr;
    QPushButton *m_up = nullptr;
    QPushButton *m_down = nullptr;
};
