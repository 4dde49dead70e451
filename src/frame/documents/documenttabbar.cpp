#include "documenttabbar.h"

#include "widgets/repaintbatcher.h"

#include <QAbstractButton>
#include <QMouseEvent>
#include <QPainter>
#include <QTextDocument>
#include <QVariantMap>

#include <array>

DocumentTabBar::DocumentTabBar(QWidget *parent) : QTabBar(parent)
{
    setObjectName(QStringLiteral("vbalDTabControl1"));
    setExpanding(false);
    setElideMode(Qt::ElideNone);
    setUsesScrollButtons(true);
    setDocumentMode(true);
    setDrawBase(false);
    setMovable(false);
    setTabsClosable(true);
    setFocusPolicy(Qt::NoFocus);
    setIconSize(QSize(16, 16));
}

const QIcon &DocumentTabBar::stripIcon(int index)
{
    static const std::array<QIcon, 12> icons = [] {
        std::array<QIcon, 12> out;
        for (int i = 0; i < 12; ++i) {
            QPixmap pixmap(16, 16);
            pixmap.fill(Qt::transparent);
            QPainter p(&pixmap);
            p.setRenderHint(QPainter::Antialiasing);
            const QRectF box(1.5, 1.5, 13, 13);
            const int pair = i / 2;
            if (pair < 4) {
                // Loading: a pie filled by quarters.
                p.setPen(QPen(QColor(70, 110, 180), 1));
                p.setBrush(QColor(225, 232, 245));
                p.drawEllipse(box);
                p.setBrush(QColor(70, 130, 220));
                p.drawPie(box, 90 * 16, -(pair + 1) * 90 * 16);
            } else {
                // Loaded (or highlighted): a page.
                const bool highlighted = pair == 5;
                p.setPen(QPen(QColor(90, 90, 90), 1));
                p.setBrush(highlighted ? QColor(255, 210, 60) : QColor(250, 250, 250));
                p.drawRect(QRectF(3.5, 1.5, 9, 13));
                p.setPen(QColor(150, 150, 150));
                for (int y = 5; y <= 11; y += 3)
                    p.drawLine(QPointF(5.5, y + 0.5), QPointF(10.5, y + 0.5));
            }
            out[size_t(i)] = QIcon(pixmap);
        }
        return out;
    }();
    static const QIcon none;
    return index >= 0 && index < 12 ? icons[size_t(index)] : none;
}

DocumentTabBar::State DocumentTabBar::state(int position) const
{
    const QVariantMap map = tabData(position - 1).toMap();
    return State{map.value(QStringLiteral("icon")).toInt(),
                 map.value(QStringLiteral("shrunk")).toBool()};
}

void DocumentTabBar::setState(int position, const State &s)
{
    // Every progress report of a page sets its tab's icon, most often the one it shows already;
    // a tab repaints (and a shown frame with a page composes again) only for a new icon.
    QVariantMap map = tabData(position - 1).toMap();
    const bool iconKnown = map.contains(QStringLiteral("icon"));
    const int icon = map.value(QStringLiteral("icon")).toInt();
    if (iconKnown && icon == s.icon && map.value(QStringLiteral("shrunk")).toBool() == s.shrunk)
        return;
    map.insert(QStringLiteral("icon"), s.icon);
    map.insert(QStringLiteral("shrunk"), s.shrunk);
    setTabData(position - 1, map);
    if (!iconKnown || icon != s.icon) {
        RepaintBatcher::hold(this);
        setTabIcon(position - 1, stripIcon(s.icon));
    }
}

int DocumentTabBar::appendTab(const QString &caption, int icon)
{
    const int index = addTab(caption);
    setState(index + 1, State{icon, false});
    return index + 1;
}

void DocumentTabBar::removeTabAt(int position)
{
    if (position >= 1 && position <= count())
        removeTab(position - 1);
}

void DocumentTabBar::setCaption(int position, const QString &caption)
{
    // A caption is data, not a mnemonic: keep "&" visible. The same caption again would lay
    // out and repaint the whole strip.
    QString text = caption;
    text.replace(u'&', QLatin1String("&&"));
    if (tabText(position - 1) != text) {
        RepaintBatcher::hold(this);
        setTabText(position - 1, text);
    }
}

void DocumentTabBar::setToolTipText(int position, const QString &text)
{
    if (position < 1 || position > count())
        return;
    // The text is a page's title: shown as the text it is, never as markup.
    setTabToolTip(position - 1, text.isEmpty() ? QString() : Qt::convertFromPlainText(text));
}

int DocumentTabBar::iconIndex(int position) const
{
    return state(position).icon;
}

void DocumentTabBar::setIconIndex(int position, int icon)
{
    if (position < 1 || position > count())
        return;
    State s = state(position);
    s.icon = icon;
    setState(position, s);
}

bool DocumentTabBar::isShrunk(int position) const
{
    return state(position).shrunk;
}

void DocumentTabBar::setShrunk(int position, bool shrunk)
{
    if (position < 1 || position > count())
        return;
    State s = state(position);
    s.shrunk = shrunk;
    setState(position, s);
}

bool DocumentTabBar::isSelected(int position) const
{
    return currentIndex() == position - 1;
}

void DocumentTabBar::setSelected(int position)
{
    if (position >= 1 && position <= count())
        setCurrentIndex(position - 1);
}

void DocumentTabBar::mousePressEvent(QMouseEvent *event)
{
    const int position = tabAt(event->position().toPoint()) + 1;
    Q_EMIT tabPressed(position, event->button(), event->modifiers(), event->globalPosition().toPoint());
    event->accept();
}

void DocumentTabBar::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        Q_EMIT tabDoubleClicked(tabAt(event->position().toPoint()) + 1,
                                event->globalPosition().toPoint());
    event->accept();
}

void DocumentTabBar::tabInserted(int index)
{
    QTabBar::tabInserted(index);
    // A tab bar not yet shown asks for no layout, so its holder is told directly: the band that
    // holds it would stay at the height of an empty strip until some later change of a shown
    // tab, and the frame would show, and show its first page, at a height it loses a moment later.
    if (!isVisible()) {
        updateGeometry();
        if (QWidget *holder = parentWidget())
            holder->updateGeometry();
    }
    // A double click on a close button is one click: its second half would land on the button
    // of the tab that moved up into the place, and close that one too.
    for (ButtonPosition side : {LeftSide, RightSide}) {
        if (QWidget *button = tabButton(index, side))
            button->installEventFilter(this);
    }
}

bool DocumentTabBar::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonDblClick && qobject_cast<QAbstractButton *>(watched))
        return true;
    return QTabBar::eventFilter(watched, event);
}

int DocumentTabBar::cycledTab(int current, int count, bool back)
{
    if (count <= 1)
        return 0;
    if (current < 1 || current > count)
        current = 1;
    if (back)
        return current == 1 ? count : current - 1;
    return current == count ? 1 : current + 1;
}
