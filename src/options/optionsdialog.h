#pragma once

#include "optionsmessage.h"

#include <QDialog>
#include <QList>
#include <QString>

class OptionsHost;
class OptionsPage;
class QStackedWidget;
class QTreeWidget;
class QTreeWidgetItem;

// The options dialog: a tree of the twelve pages beside the page shown, OK and Cancel. It opens
// on AppState::optionsPage and sets it back to 1 when it closes. OK saves every page, provided
// none refuses, and applies what changed to the running frame through the host; Cancel and the
// close box change nothing.
class OptionsDialog : public QDialog
{
    Q_OBJECT
public:
    explicit OptionsDialog(OptionsHost &host, QWidget *parent = nullptr);

    // Asks every page whether it can be saved; at the first that cannot, shows it with its
    // message and writes nothing. Otherwise saves every page in page order.
    bool saveAllPages();
    // Shows page n (1..12) and selects its node; any other n hides every page.
    void showPage(int n);
    // Page n (1..12), or nullptr.
    OptionsPage *page(int n) const;
    // The page shown, 0 when none.
    int currentPage() const;

    void setMessageFunction(OptionsMessage message);

    void accept() override;
    void done(int result) override;

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
    QList<OptionsPage *> m_pageList; // page n at n - 1
    OptionsMessage m_message;
    // What OK compares with: the values when the dialog opened.
    QString m_largeBitmap, m_smallBitmap;
    bool m_minimizeToTray = false;
};
