#pragma once

#include <QPixmap>
#include <QWidget>

class QPoint;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;
class StripToolBar;

// The navigator palette: a small tool window of the frame that lists the open documents (one
// row per document, in tab order). It is normally hidden; its rows are kept up to date whether
// it shows or not. Clicks are reported as requests.
class NavigatorPalette : public QWidget
{
    Q_OBJECT
public:
    // The commands of the palette's toolbar.
    enum class Command { NewTab, Back, Forward, Refresh, Stop };

    explicit NavigatorPalette(QWidget *window);

    // Rows ("ListView1": the page, its status), 1-based.
    int rowCount() const;
    int appendRow(const QString &text);
    void removeRow(int row);
    // Reads of a row outside 1..rowCount() give empty values; writes there do nothing.
    QString rowText(int row) const;
    void setRowText(int row, const QString &text);
    QString rowStatus(int row) const;
    void setRowStatus(int row, const QString &text);
    bool rowBold(int row) const;
    void setRowBold(int row, bool bold);

    // The palette's height in twips; it folds between the toolbar's height and 5000 twips.
    int heightTwips() const;
    void setHeightTwips(int twips);
    // While the "Sticky" button is down the fold timer changes nothing.
    bool stickyDown() const;

    // The palette folds up (the mouse moved over the frame) or opens (it came over the palette).
    void startShrinking();
    // The skin of this start behind the toolbar strip, as behind the frame's bands.
    void setSkinPicture(const QPixmap &picture);

signals:
    // A click on a row: its document is to come to the front.
    void rowClicked(int row);
    void commandRequested(NavigatorPalette::Command command);
    // The arrow of "New": the New menu is to open at the global point.
    void newMenuRequested(const QPoint &at);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The list's item for the row (1-based); null outside the rows.
    QTreeWidgetItem *item(int row) const;
    void createToolBar();
    void onButtonClicked(int position);
    void onDropDownPressed(int position);
    void startGrowing();
    // One tick of the shrink and grow timer (sizes in twips).
    void onFoldTick();
    int toolbarHeightTwips() const;

    QTreeWidget *m_list = nullptr;
    // Buttons "New" (with a drop-down arrow), "Back", "Forward", "Refresh", "Stop" and the
    // check button "Sticky", over the skin.
    StripToolBar *m_toolBar = nullptr;
    QTimer *m_foldTimer = nullptr; // "Timer1"
    bool m_shrinking = false; // what the fold timer does: shrink, or else grow
};
