#pragma once

#include <QWidget>

// Holds one child at its own whole size, and passes the child's requests for a new layout on
// to its parent only when the size hints it reports have changed.
//
// Qt widgets ask for a new layout at many changes that leave their hints as they were (a tab's
// caption, a resize), and each request climbs the chain of layouts up to the window. In the
// frame that means every band and dock placed again, their separators repainted, and one more
// composition of the whole window, in the middle of a page's load.
class ChildHolder : public QWidget
{
public:
    enum class Width {
        Child,        // the child's own width hint
        ChildMinimum, // the least the child does with: its preferred width is left out
    };

    ChildHolder(QWidget *child, Width width, QWidget *parent);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QSize hintNow() const;

    QWidget *m_child;
    Width m_width;
    mutable QSize m_reportedHint;    // what the parent layout last read
    mutable QSize m_reportedMinimum;
};
