#include "framestatusbar.h"

#include "core/numberederror.h"
#include "core/strings.h"
#include "miscimages.h"
#include "widgets/panelstatusbar.h"
#include "widgets/repaintbatcher.h"

#include <QDateTime>
#include <QLabel>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>

namespace {

// The canvas of the owner-drawn status bar: it keeps the pixels and hands its paint and mouse
// events to the bar.
class StatusCanvas : public QWidget
{
public:
    explicit StatusCanvas(QWidget *parent) : QWidget(parent) { setMouseTracking(true); }
    void setBar(PanelStatusBar *bar) { m_bar = bar; }

protected:
    void paintEvent(QPaintEvent *) override
    {
        if (!m_bar)
            return;
        QPainter painter(this);
        m_bar->draw(painter, -1);
    }
    void mouseMoveEvent(QMouseEvent *event) override
    {
        if (m_bar)
            m_bar->handleMouseMove(event->position().toPoint());
    }
    void mouseDoubleClickEvent(QMouseEvent *event) override
    {
        if (m_bar)
            m_bar->handleDoubleClick(event->position().toPoint());
    }

private:
    PanelStatusBar *m_bar = nullptr;
};

} // namespace

FrameStatusBar::FrameStatusBar(QWidget *frame)
    : QObject(frame), m_statusCanvas(new StatusCanvas(frame)), m_fullScreenStatus(new QLabel(frame))
{
    m_statusCanvas->setObjectName(QStringLiteral("picStatus"));
    m_fullScreenStatus->setObjectName(QStringLiteral("lblFullScreenStatus"));
    m_fullScreenStatus->setTextFormat(Qt::PlainText); // link addresses from pages
    m_fullScreenStatus->hide();
}

void FrameStatusBar::setUpProgressPainter()
{
    m_progressPainter.setMin(0);
    m_progressPainter.setMax(100);
    m_progressPainter.setWidth(172);
}

void FrameStatusBar::create(const QString &skinPath)
{
    delete m_statusBar;
    m_statusBar = new PanelStatusBar(this);
    m_statusBar->create(m_statusCanvas);
    m_statusBar->setImageList(miscImageList());
    static_cast<StatusCanvas *>(m_statusCanvas)->setBar(m_statusBar);
    struct PanelEntry
    {
        const char *key;
        qint32 style;
        int minWidth;
        bool spring;
    };
    const PanelEntry panels[] = {
        {"Item1", 0, 145, true},      {"Item2", 0, 145, false},
        {"Item3", 0x100, 16, false},  {"Item4", 0x100, 16, false},
        {"Item5", 0x100, 16, false},  {"Item6", 0, 16, false},
        {"Item7", 0x1000, 172, false}, {"Item8", 0x100, 16, false},
    };
    for (const PanelEntry &p : panels)
        m_statusBar->addPanel(p.style, QString(), -1, p.minWidth, p.spring, false, 0,
                              QLatin1String(p.key));
    if (!skinPath.isEmpty())
        m_statusBar->setImageFile(skinPath);
    m_statusBar->setSizeGrip(true);
    m_statusBar->setPanelIcon(QStringLiteral("Item3"), 0);
    m_statusBar->setPanelToolTipText(QStringLiteral("Item3"), loadResString(1125));
    m_statusBar->setPanelToolTipText(QStringLiteral("Item4"), loadResString(1126));
    m_statusBar->setPanelIcon(QStringLiteral("Item6"), -1);
    m_statusBar->setPanelToolTipText(QStringLiteral("Item6"), loadResString(1127));
    m_statusBar->setPanelIcon(QStringLiteral("Item5"), 7);
    m_statusBar->setPanelToolTipText(QStringLiteral("Item5"), loadResString(1190));
    m_statusCanvas->setFixedHeight(m_statusBar->barHeightPixels());

    connect(m_statusBar, &PanelStatusBar::panelDoubleClicked, this,
            [this](int panel, int, int) { Q_EMIT panelDoubleClicked(panel); });
    connect(m_statusBar, &PanelStatusBar::ownerDrawRequested, this, &FrameStatusBar::onStatusPanelOwnerDraw,
            Qt::DirectConnection);
    setProgressText(QStringLiteral("0"));
}

void FrameStatusBar::setStatusText(const QString &text)
{
    if (m_statusBar->panelText(QStringLiteral("Item1")) != text)
        RepaintBatcher::hold(m_statusCanvas);
    m_statusBar->setPanelText(QStringLiteral("Item1"), text);
    m_fullScreenStatus->setText(text);
}

void FrameStatusBar::setProgressText(const QString &text)
{
    if (m_statusBar->tag() == text)
        return;
    m_statusBar->setTag(text);
    redrawProgressPanel();
}

void FrameStatusBar::setHasActiveDocument(bool active)
{
    if (m_hasActiveDocument == active)
        return;
    m_hasActiveDocument = active;
    redrawProgressPanel();
}

void FrameStatusBar::setPageLoading(bool loading)
{
    if (m_pageLoading == loading)
        return;
    m_pageLoading = loading;
    redrawProgressPanel();
}

void FrameStatusBar::redrawProgressPanel()
{
    if (!m_statusBar)
        return;
    RepaintBatcher::hold(m_statusCanvas);
    // The panel stays owner-drawn, idle or loading: an idle one reads "Complete" or nothing.
    m_statusBar->draw(m_statusBar->panelIndex(QStringLiteral("Item7")));
}

void FrameStatusBar::setSecureIcon(bool secure)
{
    const int icon = secure ? 2 : -1;
    if (m_statusBar->panelIcon(QStringLiteral("Item6")) != icon)
        RepaintBatcher::hold(m_statusCanvas);
    m_statusBar->setPanelIcon(QStringLiteral("Item6"), icon);
}

void FrameStatusBar::setPopupIndicator(int icon)
{
    m_statusBar->setPanelIcon(QStringLiteral("Item4"), icon);
}

int FrameStatusBar::popupIndicator() const
{
    return m_statusBar->panelIcon(QStringLiteral("Item4"));
}

QString FrameStatusBar::minuteTimeFormat(const QString &format)
{
    QString result;
    bool quoted = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format.at(i);
        if (c == u'\'') {
            quoted = !quoted;
            result += c;
            continue;
        }
        if (quoted || (c != u's' && c != u'z')) {
            result += c;
            continue;
        }
        // A seconds or milliseconds field goes, with the separator that led to it.
        while (i + 1 < format.size() && format.at(i + 1) == c)
            ++i;
        while (!result.isEmpty() && !result.back().isLetter() && result.back() != u'\'' &&
               !result.back().isSpace())
            result.chop(1);
    }
    return result;
}

void FrameStatusBar::showDateTime()
{
    const QLocale locale = QLocale::system();
    const QDateTime now = QDateTime::currentDateTime();
    const QString time =
        locale.toString(now.time(), minuteTimeFormat(locale.timeFormat(QLocale::ShortFormat)));
    const QString text =
        locale.toString(now.date(), QLocale::ShortFormat) + QLatin1String("    ") + time;
    m_statusBar->setPanelToolTipText(QStringLiteral("Item2"), text);
    m_statusBar->setPanelText(QStringLiteral("Item2"), text);
}

void FrameStatusBar::onStatusPanelOwnerDraw(QPainter *painter, int, int &left, int &top, int &right,
                                            int &bottom, bool &)
{
    const QString tag = m_statusBar->tag();
    const int p = tag.isEmpty() ? 0 : tag.toInt();
    // Idle without a document: nothing to tell.
    if (p == 0 && !m_hasActiveDocument)
        return;
    try {
        m_statusBar->panelRect(QStringLiteral("Item7"), left, top, right, bottom);
    } catch (const NumberedError &) {
        return;
    }
    top += 2;
    // The bar fills the panel as it is laid out now.
    m_progressPainter.setWidth(qMax(0, right - left));
    // Idle after a load: the page is complete. A load that has only begun is not.
    const bool complete = p == 100 || (p == 0 && !m_pageLoading);
    m_progressPainter.setValue(complete ? 100 : p);
    if (complete) {
        m_progressPainter.setShowPercentage(false);
        m_progressPainter.setText(QStringLiteral("Complete"));
    } else {
        m_progressPainter.setShowPercentage(true);
        m_progressPainter.setText(QStringLiteral("Loading"));
    }
    m_progressPainter.draw(*painter, left, top, -1, -1, 255);
}
