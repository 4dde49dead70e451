#pragma once

#include <QDialog>
#include <QList>
#include <QPointer>

class QTreeWidget;
class DocumentWindow;

// The window list: every visible document window, the active one in bold; OK or a double
// click activates the chosen one.
class WindowListDialog : public QDialog
{
    Q_OBJECT
public:
    explicit WindowListDialog(const QList<DocumentWindow *> &documents, QWidget *parent = nullptr);

    // The document chosen with OK, or null.
    DocumentWindow *chosen() const { return m_chosen; }

private:
    void onOkClicked();
    QTreeWidget *m_list = nullptr;
    QList<QPointer<DocumentWindow>> m_documents;
    QPointer<DocumentWindow> m_chosen;
};
