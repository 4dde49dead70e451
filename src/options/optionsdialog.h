#pragma once

#include "optionsmessage.h"

#include "core/optionspageid.h"

#include <QDialog>
#include <QList>
#include <QString>

class OptionsHost;
class OptionsPage;
class QStackedWidget;
class QTreeWidget;
class QTreeWidgetItem;

// The options dialog: a tree of the twelve pages beside the page shown, OK and Cancel. It opens
// on the page it is given. OK saves every page, provided none refuses, and applies what changed
// to the running frame through the host; Cancel and the close box change nothing.
class OptionsDialog : public QDialog
{
    Q_OBJECT
public:
    OptionsDialog(OptionsHost &host, OptionsPageId firstPage, QWidget *parent = nullptr);

    // Asks every page whether it can be saved; at the first that cannot, shows it with its
    // message and writes nothing. Otherwise saves every page in page order.
    bool saveAllPages();
    // Shows the page and selects its node.
    void showPage(OptionsPageId page);
    OptionsPage *page(OptionsPageId page) const;
    // The page shown.
    OptionsPageId currentPage() const;

    void setMessageFunction(OptionsMessage message);

    void accept() override;

Q_SIGNALS:
    // The general page's "Load Now": the frame reopens the saved pages now.
    void savedDocumentsLoadRequested();

private:
    void buildTree();
    void nodeChosen(QTreeWidgetItem *node);
    void applySettings();

    OptionsHost &m_host;
    QTreeWidget *m_tree;
    QStackedWidget *m_pages;
    QList<OptionsPage *> m_pageList; // in page order, as in the stack
    OptionsMessage m_message;
    // What OK compares with: the values when the dialog opened.
    QString m_largeBitmap, m_smallBitmap;
    bool m_minimizeToTray = false;
};
