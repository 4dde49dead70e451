#include "panelstatusbar.h"

#include "core/storedcolor.h"
#include "core/storedvalue.h"
#include "core/numberederror.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionSizeGrip>
#include <QWidget>

#include <cmath>
#include <optional>

namespace {

constexpr int kIdealWidthPadding = 12;
constexpr int kBarHeightPadding = 10;
constexpr int kIconInset = 2;
constexpr int kIconTextGap = 4;
constexpr int kBackgroundExtraHeight = 5;
constexpr quint32 kSysColorButtonFace = 0x80000000u | 15u;

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
    m_stylesAvailable = qobject_cast<QApplication *>(QCoreApplication::instance()) != nullptr;
    m_useStyles = m_stylesAvailable;
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

void PanelStatusBar::setSimpleMode(bool on)
{
    m_simpleMode = on;
    draw(-1);
}

void PanelStatusBar::setSimpleText(const QString &text)
{
    m_simpleText = text;
    if (m_simpleMode)
        draw(-1);
}

QString PanelStatusBar::panelToolTipText(const QVariant &key) const
{
    return panel(key).toolTipText;
}

void PanelStatusBar::setPanelToolTipText(const QVariant &key, const QString &toolTip)
{
    panel(key).toolTipText = toolTip;
}

void PanelStatusBar::setAllowStyles(bool on)
{
    if (!on) {
        m_useStyles = false;
        return;
    }
    if (!m_stylesAvailable)
        throw NumberedError(kErrStylesNotSupported, sourceText(),
                      QStringLiteral("XP Styles not supported on this Windows installation."));
    m_useStyles = true;
}

void PanelStatusBar::setSizeGrip(bool on)
{
    m_sizeGrip = on;
    draw(-1);
}

void PanelStatusBar::setLeftTopOffsets(int left, int top)
{
    m_leftOffset = left;
    m_topOffset = top;
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

QFont PanelStatusBar::font() const
{
    return ownerFont();
}

void PanelStatusBar::setFont(const QFont &font)
{
    if (!m_owner)
        return;
    m_owner->setFont(font);
    m_barHeight = QFontMetrics(m_owner->font()).height() + kBarHeightPadding;
}

int PanelStatusBar::height() const
{
    return int(StoredValue::roundHalfEven(pixelsToTwips(m_barHeight)));
}

QFont PanelStatusBar::ownerFont() const
{
    return m_owner ? m_owner->font() : QFont();
}

// ---- panels

int PanelStatusBar::addPanel(qint32 style, const QString &text, int imageIndex, int minWidth,
                           bool spring, bool fitContents, qint32 itemData, const QString &keyText,
                           const QVariant &keyBefore)
{
    if (panelCount() >= kMaxPanels)
        throw NumberedError(kErrTooManyPanels, sourceText(), QStringLiteral("Too many panels."));

    int position;
    if (!keyBefore.isValid()) {
        m_panels.emplace_back();
        position = panelCount();
    } else {
        position = panelIndex(keyBefore);
        m_panels.insert(m_panels.begin() + (position - 1), Panel{});
    }
    if (spring) {
        for (Panel &p : m_panels)
            p.spring = false;
    }
    Panel &p = m_panels[size_t(position - 1)];
    p.spring = spring;
    p.fitToContents = fitContents;
    p.style = style;
    p.iconIndex = imageIndex;
    p.minWidth = minWidth;
    p.itemData = itemData;
    p.key = keyText;
    p.text = text;

    measurePanels(position, position);
    layoutPanels();
    setPanelText(position, text);
    setPanelIcon(position, imageIndex);
    draw(-1);
    return position;
}

void PanelStatusBar::removePanel(const QVariant &key)
{
    const int position = panelIndex(key);
    m_panels.erase(m_panels.begin() + (position - 1));
    draw(-1);
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

bool PanelStatusBar::panelExists(const QVariant &key) const
{
    try {
        return panelIndex(key) >= 1;
    } catch (const NumberedError &) {
        return false;
    }
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

QString PanelStatusBar::panelKey(int index) const
{
    if (index < 1 || index > panelCount())
        raiseInvalidIndex(index);
    return m_panels[size_t(index - 1)].key;
}

void PanelStatusBar::setPanelKey(int index, const QVariant &key)
{
    if (index < 1 || index > panelCount())
        raiseInvalidIndex(index);
    m_panels[size_t(index - 1)].key = key.toString();
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

bool PanelStatusBar::panelSpring(const QVariant &key) const
{
    return panel(key).spring;
}

void PanelStatusBar::setPanelSpring(const QVariant &key, bool spring)
{
    const int position = panelIndex(key);
    if (m_panels[size_t(position - 1)].spring == spring)
        return;
    for (Panel &p : m_panels)
        p.spring = false;
    m_panels[size_t(position - 1)].spring = spring;
    measurePanels(position, position);
    layoutPanels();
}

bool PanelStatusBar::panelFitToContents(const QVariant &key) const
{
    return panel(key).fitToContents;
}

void PanelStatusBar::setPanelFitToContents(const QVariant &key, bool fitContents)
{
    const int position = panelIndex(key);
    Panel &p = m_panels[size_t(position - 1)];
    if (p.fitToContents == fitContents)
        return;
    p.fitToContents = fitContents;
    measurePanels(position, position);
    layoutPanels();
}

int PanelStatusBar::panelIcon(const QVariant &key) const
{
    return panel(key).iconIndex;
}

QPixmap PanelStatusBar::panelPixmap(const QVariant &key) const
{
    return panel(key).icon;
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

void PanelStatusBar::setPanelPixmap(const QVariant &key, const QPixmap &pixmap)
{
    const int position = panelIndex(key);
    m_panels[size_t(position - 1)].icon = pixmap;
    draw(position);
}

qint32 PanelStatusBar::panelStyle(const QVariant &key) const
{
    return panel(key).style;
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

int PanelStatusBar::panelMinWidth(const QVariant &key) const
{
    return panel(key).minWidth;
}

int PanelStatusBar::panelIdealWidth(const QVariant &key) const
{
    return panel(key).idealWidth;
}

void PanelStatusBar::setPanelIdealWidth(const QVariant &key, int width)
{
    panel(key).idealWidth = width;
    layoutPanels();
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

void PanelStatusBar::measurePanels(int first, int last)
{
    if (m_panels.empty())
        return;
    if (last < first)
        last = first;
    first = qMax(first, 1);
    last = qMin(last, panelCount());
    const QFontMetrics metrics(ownerFont());
    for (int i = first; i <= last; ++i) {
        Panel &p = m_panels[size_t(i - 1)];
        p.idealWidth = metrics.horizontalAdvance(p.text) + kIdealWidthPadding;
        if (p.idealWidth < p.minWidth)
            p.idealWidth = p.minWidth;
    }
}

void PanelStatusBar::layoutPanels()
{
    if (m_panels.empty() || !m_owner)
        return;
    const int left = m_leftOffset;
    const int top = m_topOffset;
    const int right = m_owner->width();
    const int bottom = m_owner->height();
    const int height = bottom - top;
    const int count = panelCount();

    auto basicWidth = [](const Panel &p) { return p.fitToContents ? p.idealWidth : p.minWidth; };
    std::vector<int> edge(size_t(count), 0);
    auto edgeOf = [&](int i) {
        // Running right edge of panel i (0-based) from the edge of the panel before it.
        const Panel &p = m_panels[size_t(i)];
        int e = (i == 0 ? 0 : edge[size_t(i - 1)]) + basicWidth(p);
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
        p.width = edge[size_t(i)] - (i == 0 ? 0 : edge[size_t(i - 1)]);
        p.left = i == 0 ? left : edge[size_t(i - 1)];
        p.top = top;
        p.bottom = bottom;
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
    const int clientBottom = client.y() + client.height();
    QStyle *style = m_useStyles ? m_owner->style() : nullptr;
    const bool themed = style != nullptr;
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
    if (themed) {
        painter.fillRect(background, palette.color(QPalette::Window));
        option.rect = background;
        style->drawPrimitive(QStyle::PE_PanelStatusBar, &option, &painter, m_owner);
    } else if (hasBackground()) {
        tileBackground(painter, background.x(), background.y(), background.width(),
                       background.height() + kBackgroundExtraHeight);
    } else {
        painter.fillRect(background, storedColorToQColor(kSysColorButtonFace));
    }

    layoutPanels();

    auto drawPane = [&](const QRect &rect) {
        option.rect = rect;
        style->drawPrimitive(QStyle::PE_FrameStatusBarItem, &option, &painter, m_owner);
    };

    if (!m_simpleMode) {
        const int first = position == -1 ? 1 : position;
        const int last = position == -1 ? panelCount() : position;
        for (int i = first; i <= last; ++i) {
            const Panel &p = m_panels[size_t(i - 1)];
            int left = p.left, top = p.top, right = p.right, bottom = p.bottom;
            bool lastPainted = false;
            if (right > clientRight) {
                right = clientRight - 1;
                lastPainted = true;
            }
            // Every panel starts with its default drawing; a handler clears it for its own.
            bool doDefault = true;
            tileBackground(painter, left, top, right - left, bottom - top);
            if (themed)
                drawPane(toQRect(left, top, right, bottom));
            if (p.style & kStyleOwnerDraw) {
                emit ownerDrawRequested(&painter, i, left, top, right, bottom, doDefault);
                painter.setFont(m_owner->font());
                painter.setPen(palette.color(QPalette::WindowText));
            }
            if (doDefault) {
                const QRect r = toQRect(left, top, right, bottom);
                if (!p.icon.isNull()) {
                    const int inset = themed ? 2 : 1;
                    const int iconTop = top + inset + (bottom - top - 2 - m_iconSize) / 2;
                    painter.drawPixmap(QRect(left + kIconInset, iconTop, m_iconSize, m_iconSize),
                                       p.icon);
                    if (themed) {
                        QRect content = paneContents(r);
                        content.setLeft(content.left() + m_iconSize + kIconTextGap);
                        drawText(painter, content, p.text + QLatin1Char(' '), true);
                    } else if (!p.text.isEmpty()) {
                        drawText(painter, r.adjusted(m_iconSize + kIconTextGap, 0, 0, 0), p.text,
                                 true);
                    }
                } else if (themed) {
                    drawText(painter, paneContents(r), p.text + QLatin1Char(' '), false);
                } else {
                    drawText(painter, r, p.text, false);
                }
            }
            if (lastPainted)
                break;
        }
    } else {
        tileBackground(painter, client.x(), client.y(), client.width(), client.height());
        if (themed) {
            drawPane(client);
            drawText(painter, paneContents(client), m_simpleText + QLatin1Char(' '), false);
        } else {
            drawText(painter, client, m_simpleText, false);
        }
    }

    if (m_sizeGrip) {
        const int side = clientBottom - client.y();
        if (themed) {
            QStyleOptionSizeGrip grip;
            grip.initFrom(m_owner);
            grip.rect = QRect(clientRight - side, client.y(), side, side);
            grip.corner = Qt::BottomRightCorner;
            style->drawControl(QStyle::CE_SizeGrip, &grip, &painter, m_owner);
        } else {
            // Three pairs of diagonal ridges in the bottom-right corner, drawn two pixels in
            // from the right and one up from the bottom.
            const int x = clientRight - 2 - 1;
            const int y = clientBottom - 1 - 1;
            const int size = qMin(12, side - 2);
            const QColor light = storedColorToQColor(0x80000000u | 20u);
            const QColor shadow = storedColorToQColor(0x80000000u | 16u);
            for (int k = 3; k <= size; k += 4) {
                painter.setPen(light);
                painter.drawLine(x - k, y, x, y - k);
                painter.setPen(shadow);
                painter.drawLine(x - k + 1, y, x, y - k + 1);
                painter.drawLine(x - k + 2, y, x, y - k + 2);
            }
        }
    }
    painter.restore();
}
