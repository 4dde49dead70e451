#pragma once

#include "noticerules.h"

#include <QList>
#include <QPixmap>
#include <QRect>
#include <QWidget>

#include <functional>
#include <memory>

class QLabel;
class QToolButton;

// The fading notice at the lower right of its owner window: one frameless tool window per
// owner, showing one notice at a time in plain text. Notices posted meanwhile wait their turn;
// a notice posted while the owner is hidden waits until it is shown. The notice follows its
// owner when it moves or changes size.
class NotificationWindow : public QWidget
{
    Q_OBJECT
public:
    // At most this many notices wait; further ones are dropped, as are repeats of a waiting one.
    static constexpr int kMaxPending = 10;
    // A notice still up this long after the end of its time has lost its timers: the next post
    // ends it.
    static constexpr int kStuckSlackMs = 5000;

    // clock: null for the real one.
    explicit NotificationWindow(QWidget *owner, std::unique_ptr<NoticeClock> clock = {});
    ~NotificationWindow() override;

    // The owner's notification window, made on first use.
    static NotificationWindow *of(QWidget *owner);

    // The screen rectangle whose lower right corner the notice sits in (the owner's frame
    // by default); asked each time a notice starts.
    void setPlacementArea(std::function<QRect()> area) { m_placementArea = std::move(area); }
    // The picture tiled behind the notice (the skin); none when it gives a null picture.
    void setBackground(std::function<QPixmap()> background) { m_background = std::move(background); }

    // Shows the notice now when none is up, else queues it.
    void post(const Notice &notice);
    // Ends the notice that is up (its close button), and starts the next.
    void closeNotice();

    // Whether a notice is up; the notice up (cleaned as shown: title, text and link); the
    // opacity it is shown at (0..255).
    bool isShowing() const { return m_showing; }
    const Notice &current() const { return m_current; }
    int alpha() const { return m_fade.alpha(); }

signals:
    // A click on a notice whose link is "RSS".
    void rssSectionRequested();
    // A click on a notice that links a web page.
    void addressRequested(const QString &address);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void startNext();
    void applyStep(const NoticeFade::Step &step);
    void place();
    bool ownerVisible() const;

    QWidget *m_owner;
    std::unique_ptr<NoticeClock> m_clock;
    std::function<QRect()> m_placementArea;
    std::function<QPixmap()> m_background;
    QLabel *m_icon;
    QLabel *m_title;
    QLabel *m_text;
    QToolButton *m_close;
    NoticeFade m_fade;
    Notice m_current;
    QList<Notice> m_pending;
    qint64 m_startedAt = 0;
    bool m_showing = false;
    bool m_startQueued = false;
};
