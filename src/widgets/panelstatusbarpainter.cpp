#include "panelstatusbarpainter.h"

#include "core/storedcolor.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionSizeGrip>
#include <QWidget>

namespace {

constexpr int kIconInset = 2;
constexpr int kIconTextGap = 4;
// A picture behind the classic bar reaches a little below it.
constexpr int kBackgroundExtraHeight = 5;

constexpr int kTextFlags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;

// The part of a styled pane that holds its text and icon.
QRect paneContents(const QRect &pane)
{
    return pane.adjusted(2, 1, -2, -1);
}

void drawText(QPainter &painter, const QRect &rect, const QString &text, bool ellipsis)
{
    if (rect.width() <= 0 || rect.height() <= 0 || text.isEmpty())
        return;
    const QString shown =
        ellipsis ? painter.fontMetrics().elidedText(text, Qt::ElideRight, rect.width()) : text;
    painter.drawText(rect, kTextFlags, shown);
}

} // namespace

PanelStatusBarPainter::PanelStatusBarPainter(QPainter &painter, QWidget &owner, const Look &look)
    : m_painter(painter), m_owner(owner), m_look(look),
      m_style(look.styled ? owner.style() : nullptr), m_client(owner.rect())
{
    m_painter.save();
    useOwnerFont();
}

PanelStatusBarPainter::~PanelStatusBarPainter()
{
    m_painter.restore();
}

void PanelStatusBarPainter::useOwnerFont()
{
    m_painter.setFont(m_owner.font());
    m_painter.setPen(m_owner.palette().color(QPalette::WindowText));
}

void PanelStatusBarPainter::tileBackground(int left, int top, int width, int height)
{
    if (m_look.background.isNull() || width <= 0 || height <= 0)
        return;
    m_painter.drawTiledPixmap(QRect(left, top, width + 1, height), m_look.background);
}

void PanelStatusBarPainter::drawPaneText(QRect rect, int indent, const QString &text, bool ellipsis)
{
    // A styled pane has a border of its own, and its text keeps a blank after it.
    if (m_style)
        rect = paneContents(rect);
    rect.setLeft(rect.left() + indent);
    drawText(m_painter, rect, m_style ? text + QLatin1Char(' ') : text, ellipsis);
}

void PanelStatusBarPainter::paintBackground(const QRect &rect)
{
    if (m_style) {
        m_painter.fillRect(rect, m_owner.palette().color(QPalette::Window));
        QStyleOption option;
        option.initFrom(&m_owner);
        option.rect = rect;
        m_style->drawPrimitive(QStyle::PE_PanelStatusBar, &option, &m_painter, &m_owner);
    } else if (!m_look.background.isNull()) {
        tileBackground(rect.x(), rect.y(), rect.width(), rect.height() + kBackgroundExtraHeight);
    } else {
        m_painter.fillRect(rect, storedColorToQColor(kSysColorButtonFace));
    }
}

void PanelStatusBarPainter::paintPane(const QRect &rect)
{
    QStyleOption option;
    option.initFrom(&m_owner);
    option.rect = rect;
    m_style->drawPrimitive(QStyle::PE_FrameStatusBarItem, &option, &m_painter, &m_owner);
}

void PanelStatusBarPainter::paintPanels(const std::vector<StatusBarPanel> &panels, int first,
                                        int last, const OwnerDraw &ownerDraw)
{
    for (int i = first; i <= last; ++i) {
        if (!paintPanel(panels[size_t(i - 1)], i, ownerDraw))
            break;
    }
}

bool PanelStatusBarPainter::paintPanel(const StatusBarPanel &panel, int position,
                                       const OwnerDraw &ownerDraw)
{
    int left = panel.left, top = panel.top, right = panel.right, bottom = panel.bottom;
    const int clientRight = m_client.x() + m_client.width();
    const bool cut = right > clientRight;
    if (cut)
        right = clientRight - 1;

    // Every panel starts with its default drawing; a handler clears it for its own.
    bool doDefault = true;
    tileBackground(left, top, right - left, bottom - top);
    if (m_style)
        paintPane(toQRect(left, top, right, bottom));
    if ((panel.style & StatusBarPanel::kStyleOwnerDraw) && ownerDraw) {
        ownerDraw(&m_painter, position, left, top, right, bottom, doDefault);
        useOwnerFont();
    }
    if (!doDefault)
        return !cut;

    const QRect r = toQRect(left, top, right, bottom);
    const int iconSize = m_look.iconSize;
    if (!panel.icon.isNull()) {
        // Styled panes have a border of their own: the icon sits one pixel lower.
        const int inset = m_style ? 2 : 1;
        const int iconTop = top + inset + (bottom - top - 2 - iconSize) / 2;
        m_painter.drawPixmap(QRect(left + kIconInset, iconTop, iconSize, iconSize), panel.icon);
        drawPaneText(r, iconSize + kIconTextGap, panel.text, true);
    } else {
        drawPaneText(r, 0, panel.text, false);
    }
    return !cut;
}

void PanelStatusBarPainter::paintSimpleText(const QString &text)
{
    tileBackground(m_client.x(), m_client.y(), m_client.width(), m_client.height());
    if (m_style)
        paintPane(m_client);
    drawPaneText(m_client, 0, text, false);
}

void PanelStatusBarPainter::paintSizeGrip()
{
    const int clientRight = m_client.x() + m_client.width();
    const int clientBottom = m_client.y() + m_client.height();
    const int side = m_client.height();
    if (m_style) {
        QStyleOptionSizeGrip grip;
        grip.initFrom(&m_owner);
        grip.rect = QRect(clientRight - side, m_client.y(), side, side);
        grip.corner = Qt::BottomRightCorner;
        m_style->drawControl(QStyle::CE_SizeGrip, &grip, &m_painter, &m_owner);
        return;
    }
    // Three diagonal ridges in the bottom-right corner, each a light line over two shadow
    // lines, two pixels in from the right and one up from the bottom.
    const int x = clientRight - 2 - 1;
    const int y = clientBottom - 1 - 1;
    const int size = qMin(12, side - 2);
    const QColor light = storedColorToQColor(kSysColor3DHighlight);
    const QColor shadow = storedColorToQColor(kSysColorButtonShadow);
    for (int k = 3; k <= size; k += 4) {
        m_painter.setPen(light);
        m_painter.drawLine(x - k, y, x, y - k);
        m_painter.setPen(shadow);
        m_painter.drawLine(x - k + 1, y, x, y - k + 1);
        m_painter.drawLine(x - k + 2, y, x, y - k + 2);
    }
    useOwnerFont();
}
