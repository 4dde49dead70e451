#pragma once

#include <QWidget>

class QLabel;
class QToolButton;

// The thin bar that stands in for every bar around the pages while the frame is full screen:
// a button back to normal mode, a check button that shows the usual bars again, one that shows
// the navigator palette, and the status text on the left.
class FullScreenBar : public QWidget
{
    Q_OBJECT
public:
    explicit FullScreenBar(QWidget *parent = nullptr);

    QToolButton *normalModeButton() const { return m_normalMode; }
    QToolButton *barsButton() const { return m_bars; }
    QToolButton *navigatorButton() const { return m_navigator; }
    // The status text the frame keeps up to date; the bar places it.
    void setStatusLabel(QLabel *label);

    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void placeControls();

    QToolButton *m_normalMode;
    QToolButton *m_bars;
    QToolButton *m_navigator;
    QLabel *m_status = nullptr;
};
