#pragma once

#include "widgets/progresspainter.h"

#include <QObject>
#include <QString>

class QLabel;
class QPainter;
class QWidget;
class PanelStatusBar;

// The frame's owner-drawn status bar: the canvas it paints on and its panels "Item1".."Item8"
// with what they show (status text, page progress, lock, popup killer, date and time).
class FrameStatusBar : public QObject
{
    Q_OBJECT
public:
    // The canvas and the full-screen status label are made as children of the frame window.
    explicit FrameStatusBar(QWidget *frame);

    // The canvas ("picStatus"); the frame lays it out below the documents.
    QWidget *canvas() const { return m_statusCanvas; }
    // The status text shown on the full-screen bar ("lblFullScreenStatus").
    QLabel *fullScreenStatusLabel() const { return m_fullScreenStatus; }
    // The panels; null until create().
    PanelStatusBar *panels() const { return m_statusBar; }

    // The page-progress drawer: its range and width.
    void setUpProgressPainter();
    // Builds the panels, over the skin picture when a skin is loaded.
    void create(const QString &skinPath);

    void setStatusText(const QString &text);
    // The active page's load percentage as text ("0" when idle).
    void setProgressText(const QString &text);
    // Whether the frame has an active document: an idle progress panel reads "Complete" with
    // one and stays empty without.
    void setHasActiveDocument(bool active);
    // Whether the active page is loading: a load that has begun reads "Loading" on an empty bar
    // until its first share arrives, not "Complete".
    void setPageLoading(bool loading);
    void setSecureIcon(bool secure);
    // The popup killer's indication: the icon of the "Item4" panel.
    void setPopupIndicator(int icon);
    int popupIndicator() const;
    // The date and time of now, on the "Item2" panel and its tool tip.
    void showDateTime();
    // A time format without its seconds ("HH:mm:ss" -> "HH:mm", "h:mm:ss AP" -> "h:mm AP"): the
    // clock panel changes once a minute, and an idle frame draws nothing in between.
    static QString minuteTimeFormat(const QString &format);

signals:
    // A double click on a panel; panels count from 1.
    void panelDoubleClicked(int panel);

private:
    void redrawProgressPanel();
    void onStatusPanelOwnerDraw(QPainter *painter, int panel, int &left, int &top, int &right,
                                int &bottom, bool &doDefault);

    QWidget *m_statusCanvas;
    QLabel *m_fullScreenStatus;
    PanelStatusBar *m_statusBar = nullptr;
    ProgressPainter m_progressPainter;
    bool m_hasActiveDocument = false;
    bool m_pageLoading = false;
};
