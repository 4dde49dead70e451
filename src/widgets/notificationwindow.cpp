#include "notificationwindow.h"

#include "core/storedcolor.h"

#include <QCloseEvent>
#include <QElapsedTimer>
#include <QIcon>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QTimer>
#include <QToolButton>

namespace {

// The clock of a running program: one single-shot timer.
class TimerNoticeClock : public NoticeClock
{
public:
    TimerNoticeClock()
    {
        m_timer.setSingleShot(true);
        QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] {
            if (auto fired = std::exchange(m_fired, {}))
                fired();
        });
        m_elapsed.start();
    }
    void schedule(int ms, std::function<void()> fired) override
    {
        m_fired = std::move(fired);
        m_timer.start(ms);
    }
    void cancel() override
    {
        m_timer.stop();
        m_fired = {};
    }
    qint64 now() const override { return m_elapsed.elapsed(); }

private:
    QTimer m_timer;
    QElapsedTimer m_elapsed;
    std::function<void()> m_fired;
};

QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width),
                 twipsToPixels(height));
}

} // namespace

NotificationWindow::NotificationWindow(QWidget *owner, std::unique_ptr<NoticeClock> clock)
    : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus),
      m_owner(owner),
      m_clock(clock ? std::move(clock) : std::make_unique<TimerNoticeClock>()),
      m_icon(new QLabel(this)),
      m_title(new QLabel(this)),
      m_text(new QLabel(this)),
      m_close(new QToolButton(this))
{
    setObjectName(QStringLiteral("frmTip"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
    setFixedSize(twipsToPixels(3975), twipsToPixels(2655));

    m_icon->setObjectName(QStringLiteral("Image1"));
    m_icon->setGeometry(twipsRect(120, 240, 960, 960));
    m_icon->setPixmap(QIcon(QStringLiteral(":/quarvel/quarvel.png")).pixmap(m_icon->size()));

    m_title->setObjectName(QStringLiteral("lblTitle"));
    m_title->setGeometry(twipsRect(1080, 30, 2535, 255));
    m_title->setTextFormat(Qt::PlainText);
    QFont bold = m_title->font();
    bold.setBold(true);
    m_title->setFont(bold);

    m_text->setObjectName(QStringLiteral("lblTip"));
    m_text->setGeometry(twipsRect(1080, 360, 2775, 2055));
    m_text->setTextFormat(Qt::PlainText);
    m_text->setWordWrap(true);
    m_text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_text->installEventFilter(this);

    m_close->setObjectName(QStringLiteral("Picture3"));
    m_close->setGeometry(twipsRect(3650, 50, 240, 225));
    m_close->setAutoRaise(true);
    m_close->setFocusPolicy(Qt::NoFocus);
    m_close->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    connect(m_close, &QToolButton::clicked, this, &NotificationWindow::closeNotice);

    if (m_owner)
        m_owner->installEventFilter(this);
}

NotificationWindow::~NotificationWindow()
{
    m_clock->cancel();
}

NotificationWindow *NotificationWindow::of(QWidget *owner)
{
    if (auto *existing = owner->findChild<NotificationWindow *>(QString(), Qt::FindDirectChildrenOnly))
        return existing;
    return new NotificationWindow(owner);
}

void NotificationWindow::post(const Notice &notice)
{
    // A notice whose timers never ran would otherwise hold the window for the rest of the run.
    if (m_showing && m_clock->now() - m_startedAt > NoticeFade::kTotalMs + kStuckSlackMs)
        closeNotice();

    const Notice cleaned{NoticeRules::cleanTitle(notice.title), NoticeRules::cleanText(notice.text),
                         notice.link};
    if ((m_showing && cleaned == m_current) || m_pending.contains(cleaned) ||
        m_pending.size() >= kMaxPending)
        return;
    m_pending.append(cleaned);
    startNext();
}

void NotificationWindow::closeNotice()
{
    if (!m_showing)
        return;
    m_fade.finish();
    m_clock->cancel();
    m_showing = false;
    hide();
    startNext();
}

void NotificationWindow::startNext()
{
    if (m_showing || m_pending.isEmpty() || !ownerVisible())
        return;
    m_current = m_pending.takeFirst();
    m_showing = true;
    m_title->setText(m_current.title);
    m_text->setText(m_current.text);
    if (NoticeRules::classifyLink(m_current.link) == NoticeRules::LinkKind::None)
        m_text->unsetCursor();
    else
        m_text->setCursor(Qt::PointingHandCursor);
    place();
    m_startedAt = m_clock->now();
    applyStep(m_fade.start());
    show();
    raise();
}

void NotificationWindow::applyStep(const NoticeFade::Step &step)
{
    if (step.delayMs < 0) {
        closeNotice();
        return;
    }
    setWindowOpacity(step.alpha / 255.0);
    m_clock->schedule(step.delayMs, [this] { applyStep(m_fade.advance()); });
}

void NotificationWindow::place()
{
    QRect area = m_placementArea ? m_placementArea() : QRect();
    if (area.isEmpty() && m_owner)
        area = m_owner->frameGeometry();
    const int margin = twipsToPixels(100);
    move(area.right() + 1 - width() - margin, area.bottom() + 1 - height() - margin);
}

bool NotificationWindow::ownerVisible() const
{
    return !m_owner || (m_owner->isVisible() && !m_owner->isMinimized());
}

bool NotificationWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_text && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        // The notice stays up after a click.
        switch (NoticeRules::classifyLink(m_current.link)) {
        case NoticeRules::LinkKind::RssSection:
            emit rssSectionRequested();
            break;
        case NoticeRules::LinkKind::WebPage:
            emit addressRequested(m_current.link);
            break;
        case NoticeRules::LinkKind::None:
            break;
        }
    } else if (watched == m_owner) {
        const QEvent::Type type = event->type();
        if ((type == QEvent::Move || type == QEvent::Resize) && m_showing) {
            place(); // the notice keeps to the owner's corner
        } else if ((type == QEvent::Hide || type == QEvent::WindowStateChange) && m_showing &&
            !ownerVisible()) {
            // The owner went away: its notice waits to be shown again, from its start.
            m_pending.prepend(m_current);
            m_fade.finish();
            m_clock->cancel();
            m_showing = false;
            hide();
        } else if ((type == QEvent::Show || type == QEvent::WindowStateChange) && !m_startQueued) {
            // Started once the owner has its place on the screen.
            m_startQueued = true;
            QTimer::singleShot(0, this, [this] {
                m_startQueued = false;
                startNext();
            });
        }
    }
    return QWidget::eventFilter(watched, event);
}

void NotificationWindow::paintEvent(QPaintEvent *event)
{
    QWidget::paintEvent(event);
    const QPixmap picture = m_background ? m_background() : QPixmap();
    if (picture.isNull())
        return;
    QPainter painter(this);
    painter.drawTiledPixmap(rect(), picture);
}

void NotificationWindow::closeEvent(QCloseEvent *event)
{
    // Closed from outside (the window manager): the notice ends and the next one follows.
    event->ignore();
    closeNotice();
}
