#pragma once

#include <QPointer>
#include <QTimer>
#include <QWidget>

class QToolBar;
class QTreeWidget;
class QAction;
class frmDocument;
class frmMain;

// The navigator palette: a small tool window of the frame whose list is the registry of open
// documents (one row per document, in tab order). It is normally hidden; the registry is live
// whether it shows or not.
class frmNavigator : public QWidget
{
    Q_OBJECT
public:
    explicit frmNavigator(frmMain *frame);

    QTreeWidget *ListView1 = nullptr;
    QToolBar *cToolbar1 = nullptr;
    QTimer Timer1;
    QString Timer1Tag = QStringLiteral("0"); // "0" grow, "1" shrink

    // Registry rows, 1-based.
    int RowCount() const;
    int AppendRow(const QString &text, frmDocument *document);
    void RemoveRow(int row);
    frmDocument *RowDocument(int row) const;
    QString RowText(int row) const;
    void SetRowText(int row, const QString &text);
    QString RowStatus(int row) const;
    void SetRowStatus(int row, const QString &text);
    bool RowBold(int row) const;
    void SetRowBold(int row, bool bold);

    bool StickyDown() const;
    // One tick of the shrink and grow timer (sizes in twips).
    void Timer1_Timer();

    // Heights in twips.
    int heightTwips() const;
    void setHeightTwips(int twips);
    int toolbarHeightTwips() const;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void startGrowing();
    void startShrinking();

    frmMain *m_frame;
    QAction *m_sticky = nullptr;
};
