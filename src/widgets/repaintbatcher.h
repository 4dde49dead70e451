#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QTimer>

class QWidget;

// Gathers the repaints of a window's bars into one. A page that loads reports its caption, its
// icon and its progress one after another, each a few milliseconds apart; every repaint of a
// bar composes the whole window again, which is costly when the window is composed in
// software, and holds up the page, whose engine shares the thread. A widget held stops
// painting for a moment; every widget of the window held meanwhile paints again at its end,
// in one composition. A change stays out of sight for at most that moment.
class RepaintBatcher : public QObject
{
    Q_OBJECT

public:
    // How long a held widget waits for the others; short enough not to be seen as a lag.
    static constexpr int kIntervalMs = 60;

    // Holds widget with the other widgets of its window. A hidden widget, or one whose
    // updates someone else has turned off, is left as it is.
    static void hold(QWidget *widget);

    explicit RepaintBatcher(QWidget *window);
    ~RepaintBatcher() override;

    // Lets every held widget paint again now.
    void release();

private:
    void add(QWidget *widget);

    QTimer m_timer;
    QList<QPointer<QWidget>> m_held;
};
