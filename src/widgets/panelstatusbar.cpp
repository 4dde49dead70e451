#include "panelstatusbar.h"

#include "core/storedvalue.h"
#include "core/numberederror.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionSizeGrip>
#include <QWidget>

#include <cmath>
#include <optional>

namespace {

constexpr int kBarHeightPadding = 10;
constexpr int kIconInset = 2;
constexpr int kIconTextGap = 4;

constexpr int kTextFlags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;

QString sourceText()
{
    return NumberedError::sourceFor(".vbalStatusBar");
}

// An edge rectangle as the layout keeps it (right and bottom exclusive) as a QRect.
QRect toQRect(int left, int top, int right, int bottom)
{
    return QRect(left, top, right - left, bottom - top);
}

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

std::optional<double> numericKey(const QVariant &key)
{
    switch (key.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Double:
    case QMetaType::Float:
        return key.toDouble();
    case QMetaType::Bool:
        return key.toBool() ? -1.0 : 0.0;
    case QMetaType::QString:
    case QMetaType::QByteArray:
        return StoredValue::parseNumber(key.toString());
    default:
        return std::nullopt;
    }
}

} // namespace

PanelStatusBar::PanelStatusBar(QObject *parent)
    : QObject(parent)
{
}

PanelStatusBar::~PanelStatusBar() = default;

void PanelStatusBar::raiseInvalidIndex(const QVariant &key) const
{
    throw NumberedError(kErrInvalidPanelIndex, sourceText(),
                  QStringLiteral("Invalid Panel Index: ") + key.toString());
}

// ---- properties of the bar

void PanelStatusBar::setImageFile(const QString &imageFile)
{
    if (imageFile == m_imageFile)
        return;
    m_imageFile = imageFile;
    QPixmap loaded(imageFile);
    if (!loaded.isNull() && loaded.width() > 0 && loaded.height() > 0)
        m_background = loaded;
    draw(-1);
}

void PanelStatusBar::setPanelToolTipText(const QVariant &key, const QString &toolTip)
{
    panel(key).toolTipText = toolTip;
}

void PanelStatusBar::setSizeGrip(bool on)
{
    m_sizeGrip = on;
    draw(-1);
}

void PanelStatusBar::setImageList(const QList<QPixmap> &images)
{
    m_images = images;
    if (!m_images.isEmpty())
        m_iconSize = qRound(m_images.first().deviceIndependentSize().height());
}

void PanelStatusBar::create(QWidget *owner)
{
    m_owner = owner;
    if (!owner)
        throw NumberedError(kErrSubscriptOutOfRange, NumberedError::sourceFor(".cNoStatusBar"),
                      QStringLiteral("Invalid object passed to Create."));
    m_barHeight = QFontMetrics(owner->font()).height() + kBarHeightPadding;
}

// ---- panels

int PanelStatusBar::addPanel(qint32 style, const QString &text, int imageIndex, int minWidth,
                           bool spring, const QString &keyText)
{
    if (panelCount() >= kMaxPanels)
        throw NumberedError(kErrTooManyPanels, sourceText(), QStringLiteral("Too many panels."));

    m_panels.emplace_back();
    const int position = panelCount();
    if (spring) {
        for (Panel &p : m_panels)
            p.spring = false;
    }
    Panel &p = m_panels[size_t(position - 1)];
    p.spring = spring;
    p.style = style;
    p.iconIndex = imageIndex;
    p.minWidth = minWidth;
    p.key = keyText;
    p.text = text;

    layoutPanels();
    setPanelText(position, text);
    setPanelIcon(position, imageIndex);
    draw(-1);
    return position;
}

int PanelStatusBar::panelIndex(const QVariant &key) const
{
    if (const auto number = numericKey(key)) {
        const double position = StoredValue::roundHalfEven(*number);
        if (position >= 1 && position <= panelCount())
            return int(position);
        raiseInvalidIndex(key);
    }
    const QString text = key.toString();
    for (size_t i = 0; i < m_panels.size(); ++i) {
        if (m_panels[i].key == text)
            return int(i) + 1;
    }
    raiseInvalidIndex(key);
}

void PanelStatusBar::panelRect(const QVariant &key, int &left, int &top,
                                int &right, int &bottom) const
{
    const Panel &p = panel(key);
    left = p.left;
    top = p.top;
    right = p.right;
    bottom = p.bottom;
}

QString PanelStatusBar::panelText(const QVariant &key) const
{
    return panel(key).text;
}

void PanelStatusBar::setPanelText(const QVariant &key, const QString &text)
{
    const int position = panelIndex(key);
    QString &current = m_panels[size_t(position - 1)].text;
    if (current == text)
        return; // the clock sets the same text every second
    current = text;
    draw(position);
}

int PanelStatusBar::panelIcon(const QVariant &key) const
{
    return panel(key).iconIndex;
}

void PanelStatusBar::setPanelIcon(const QVariant &key, int index)
{
    const int position = panelIndex(key);
    Panel &p = m_panels[size_t(position - 1)];
    const QPixmap icon = index >= 0 && index < m_images.size() ? m_images.at(index) : QPixmap();
    if (p.iconIndex == index && p.icon.cacheKey() == icon.cacheKey())
        return;
    // An icon takes room of its own: gaining or losing one moves the panels after it.
    const bool layoutChanges = p.icon.isNull() != icon.isNull();
    p.icon = icon;
    p.iconIndex = index;
    draw(layoutChanges ? -1 : position);
}

void PanelStatusBar::setPanelStyle(const QVariant &key, qint32 style)
{
    const int position = panelIndex(key);
    qint32 &current = m_panels[size_t(position - 1)].style;
    if (current == style)
        return;
    current = style;
    draw(position);
}

// ---- mouse

int PanelStatusBar::hitTest(const QPoint &pos) const
{
    for (size_t i = 0; i < m_panels.size(); ++i) {
        const Panel &p = m_panels[i];
        if (pos.x() >= p.left && pos.x() <= p.right && pos.y() >= p.top && pos.y() <= p.bottom)
            return int(i) + 1;
    }
    return 0;
}

void PanelStatusBar::handleMouseMove(const QPoint &pos)
{
    if (!m_owner)
        return;
    const int position = hitTest(pos);
    if (position > 0)
        m_owner->setToolTip(m_panels[size_t(position - 1)].toolTipText);
}

void PanelStatusBar::handleDoubleClick(const QPoint &pos)
{
    const int position = hitTest(pos);
    if (position <= 0)
        return;
    const QPoint global = m_owner ? m_owner->mapToGlobal(pos) : pos;
    emit panelDoubleClicked(position, global.x(), global.y());
}

// ---- measuring and layout

void PanelStatusBar::layoutPanels()
{
    if (m_panels.empty() || !m_owner)
        return;
    const int right = m_owner->width();
    const int height = m_owner->height();
    const int count = panelCount();

    std::vector<int> edge(size_t(count), 0);
    auto edgeOf = [&](int i) {
        // Running right edge of panel i (0-based) from the edge of the panel before it.
        const Panel &p = m_panels[size_t(i)];
        int e = (i == 0 ? 0 : edge[size_t(i - 1)]) + p.minWidth;
        if (!p.icon.isNull())
            e += m_iconSize;
        if (i > 0 && i == count - 1)
            e += height / 2; // room for the size grip
        return e;
    };

    int spring = -1;
    for (int i = 0; i < count; ++i) {
        edge[size_t(i)] = edgeOf(i);
        if (m_panels[size_t(i)].spring)
            spring = i;
    }
    if (edge[size_t(count - 1)] <= right) {
        if (spring < 0)
            spring = count - 1;
        edge[size_t(spring)] += right - edge[size_t(count - 1)];
        for (int i = spring + 1; i < count; ++i)
            edge[size_t(i)] = edgeOf(i);
    }

    for (int i = 0; i < count; ++i) {
        Panel &p = m_panels[size_t(i)];
        p.left = i == 0 ? 0 : edge[size_t(i - 1)];
        p.top = 0;
        p.bottom = height;
        p.right = i == count - 1 ? edge[size_t(i)] : edge[size_t(i)] - 1;
    }
}

// ---- painting

bool PanelStatusBar::hasBackground() const
{
    return !m_background.isNull() && m_background.width() > 0 && m_background.height() > 0;
}

void PanelStatusBar::tileBackground(QPainter &painter, int left, int top, int width,
                                  int height) const
{
    if (!hasBackground() || width <= 0 || height <= 0)
        return;
    // Tiles start at the rectangle's corner and are clipped one pixel wider on the right.
    painter.drawTiledPixmap(QRect(left, top, width + 1, height), m_background);
}

void PanelStatusBar::draw(int position)
{
    if (!m_owner)
        return;
    if (position < 1 || position > panelCount()) {
        m_owner->update();
        return;
    }
    layoutPanels();
    const Panel &p = m_panels[size_t(position - 1)];
    m_owner->update(toQRect(p.left, p.top, p.right + 1, p.bottom));
}

void PanelStatusBar::draw(QPainter &painter, int position)
{
    if (!m_owner)
        return;
    if (position != -1 && (position < 1 || position > panelCount()))
        return;

    const QRect client = m_owner->rect();
    const int clientRight = client.x() + client.width();
    const QPalette palette = m_owner->palette();

    painter.save();
    painter.setFont(m_owner->font());
    painter.setPen(palette.color(QPalette::WindowText));

    // Background: the whole bar, or the panel's rectangle of the last layout.
    QRect background = client;
    if (position != -1) {
        const Panel &p = m_panels[size_t(position - 1)];
        background = toQRect(p.left, p.top, p.right, p.bottom);
    }
    QStyleOption option;
    option.initFrom(m_owner);
    painter.fillRect(background, palette.color(QPalette::Window));
    option.rect = background;
    m_owner->style()->drawPrimitive(QStyle::PE_PanelStatusBar, &option, &painter, m_owner);

    layoutPanels();

    const int first = position == -1 ? 1 : position;
    const int last = position == -1 ? panelCount() : position;
    for (int i = first; i <= last; ++i) {
        bool lastPainted = false;
        drawPanel(painter, i, option, clientRight, lastPainted);
        if (lastPainted)
            break;
    }

    if (m_sizeGrip)
        drawSizeGrip(painter, client);
    painter.restore();
}

void PanelStatusBar::drawPanel(QPainter &painter, int position, QStyleOption &option,
                               int clientRight, bool &lastPainted)
{
    const Panel &p = m_panels[size_t(position - 1)];
    int left = p.left, top = p.top, right = p.right, bottom = p.bottom;
    if (right > clientRight) {
        right = clientRight - 1;
        lastPainted = true;
    }
    // Every panel starts with its default drawing; a handler clears it for its own.
    bool doDefault = true;
    tileBackground(painter, left, top, right - left, bottom - top);
    option.rect = toQRect(left, top, right, bottom);
    m_owner->style()->drawPrimitive(QStyle::PE_FrameStatusBarItem, &option, &painter, m_owner);
    if (p.style & kStyleOwnerDraw) {
        emit ownerDrawRequested(&painter, position, left, top, right, bottom, doDefault);
        painter.setFont(m_owner->font());
        painter.setPen(m_owner->palette().color(QPalette::WindowText));
    }
    if (!doDefault)
        return;
    const QRect r = toQRect(left, top, right, bottom);
    if (!p.icon.isNull()) {
        const int iconTop = top + 2 + (bottom - top - 2 - m_iconSize) / 2;
        painter.drawPixmap(QRect(left + kIconInset, iconTop, m_iconSize, m_iconSize), p.icon);
        QRect content = paneContents(r);
        content.setLeft(content.left() + m_iconSize + kIconTextGap);
        drawText(painter, content, p.text + QLatin1Char(' '), true);
    } else {
        drawText(painter, paneContents(r), p.text + QLatin1Char(' '), false);
    }
}

void PanelStatusBar::drawSizeGrip(QPainter &painter, const QRect &client) const
{
    const int side = client.height();
    QStyleOptionSizeGrip grip;
    grip.initFrom(m_owner);
    grip.rect = QRect(client.x() + client.width() - side, client.y(), side, side);
    grip.corner = Qt::BottomRightCorner;
    m_owner->style()->drawControl(QStyle::CE_SizeGrip, &grip, &painter, m_owner);
}
