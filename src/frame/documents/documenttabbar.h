#pragma once

#include <QIcon>
#include <QTabBar>

// The document tab strip: tabs in insertion order, each with a shrunk flag, an icon index
// into the strip's twelve icons and a close button. It reports presses with button, modifiers
// and position and leaves the reaction to the frame, its own close buttons included
// (tabCloseRequested): a tab goes only when its document has closed.
class DocumentTabBar : public QTabBar
{
    Q_OBJECT
public:
    explicit DocumentTabBar(QWidget *parent = nullptr);

    // Positions are 1-based, as the document area's.
    int appendTab(const QString &caption, int icon);
    void removeTabAt(int position);
    int itemCount() const { return count(); }
    // The tab that cycling selects among count tabs (1-based), from current, forwards or back,
    // wrapping at both ends; 0 when there is nothing to cycle.
    static int cycledTab(int current, int count, bool back);

    void setCaption(int position, const QString &caption);
    void setToolTipText(int position, const QString &text);
    int iconIndex(int position) const;
    void setIconIndex(int position, int icon);
    bool isShrunk(int position) const;
    void setShrunk(int position, bool shrunk);
    bool isSelected(int position) const;
    void setSelected(int position);

    // The strip's twelve icons: loading by quarter (0/1 .. 6/7), loaded (8/9), highlighted
    // (10/11); odd ones for shrunk tabs.
    static const QIcon &stripIcon(int index);

signals:
    // position 0 means the empty part of the strip; globalPos is the pointer on the screen.
    void tabPressed(int position, Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                    const QPoint &globalPos);
    void tabDoubleClicked(int position, const QPoint &globalPos);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void tabInserted(int index) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct State
    {
        int icon = 0;
        bool shrunk = false;
    };
    State state(int position) const;
    void setState(int position, const State &s);
};
