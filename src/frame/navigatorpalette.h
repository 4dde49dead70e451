#pragma once

#include <QPointer>
#include <QTimer>
#include <QWidget>

class QToolBar;
class QTreeWidget;
class QAction;
class DocumentWindow;
class MainWindow;

// The navigator palette: a small tool window of the frame whose list is the registry of open
// documents (one row per document, in tab order). It is normally hidden; the registry is live
// whether it shows or not.
class NavigatorPalette : public QWidget
{
    Q_OBJECT
public:
    explicit NavigatorPalette(MainWindow *frame);

    QTreeWidget *m_list = nullptr;
    QToolBar *m_toolBar = nullptr;
    QTimer m_foldTimer;
    QString m_foldTag = QStringLiteral("0"); // "0" grow, "1" shrink

    // Registry rows, 1-based.
    int rowCount() const;
    int appendRow(const QString &text, DocumentWindow *document);
    void removeRow(int row);
    DocumentWindow *rowDocument(int row) const;
    QString rowText(int row) const;
    void setRowText(int row, const QString &text);
    QString rowStatus(int row) const;
    void setRowStatus(int row, const QString &text);
    bool rowBold(int row) const;
    void setRowBold(int row, bool bold);

    bool stickyDown() const;
    // One tick of the shrink and grow timer (sizes in twips).
    void onFoldTick();

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

    MainWindow *m_frame;
    QAction *m_sticky = nullptr;
};
