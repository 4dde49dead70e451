#pragma once

#include <QDialog>
#include <QList>
#include <QPointer>

class QTreeWidget;
class frmDocument;

// The window list: every visible document window, the active one in bold; OK or a double
// click activates the chosen one.
class frmMoreWindows : public QDialog
{
    Q_OBJECT
public:
    explicit frmMoreWindows(const QList<frmDocument *> &documents, QWidget *parent = nullptr);
    ~frmMoreWindows() override;

    QTreeWidget *ListView1 = nullptr;
    // The document chosen with OK, or null.
    frmDocument *Chosen() const { return m_chosen; }

private:
    void cmdOK_Click();
    QList<QPointer<frmDocument>> m_documents;
    QPointer<frmDocument> m_chosen;
};
