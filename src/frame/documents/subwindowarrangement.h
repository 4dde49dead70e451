#pragma once

#include <QList>
#include <QObject>
#include <QRect>

#include <functional>

class QMdiArea;
class QMdiSubWindow;

// How the documents' sub-windows are arranged. In the tabbed view every document fills the area
// without a frame, maximised (covered ones too), and the active one is on top; the Window menu's Tile, Cascade and Minimize All
// arrange them as framed windows with their titles, and Maximize All (or maximising a framed
// one from its title bar) returns to the tabbed view.
class SubWindowArrangement : public QObject
{
    Q_OBJECT
public:
    explicit SubWindowArrangement(QMdiArea *area, QObject *parent = nullptr);

    // Tiled, cascaded or minimised rather than tabbed.
    bool isArranged() const { return m_arranged; }
    // The sub-window in the current view: framed or not, maximised, or back from minimised.
    void present(QMdiSubWindow *sub);
    void tileHorizontally();
    // Rectangles of count windows stacked top to bottom over the area, each as wide as the area.
    static QList<QRect> tileHorizontally(const QRect &area, int count);
    void cascade();
    void maximizeAll();
    void minimizeAll();
    // A sub-window's state changed (from its title bar, or by the area).
    void onSubWindowStateChanged(QMdiSubWindow *sub);

signals:
    // The sub-windows were arranged anew or one of them changed its state: which pages can be
    // seen may have changed.
    void arrangementChanged();

private:
    QList<QMdiSubWindow *> visibleSubWindows() const;
    void arrange(const std::function<void(const QList<QMdiSubWindow *> &)> &placement);

    QMdiArea *m_mdiArea;
    bool m_arranged = false;
};
