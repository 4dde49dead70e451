#include "panelstatusbar.h"

#include "core/numberederror.h"
#include "core/storedcolor.h"
#include "core/storedvalue.h"
#include "panelstatusbarpainter.h"

#include <QApplication>
#include <QFontMetrics>
#include <QWidget>

#include <cmath>
#include <optional>

namespace {

constexpr int kIdealWidthPadding = 12;
constexpr int kBarHeightPadding = 10;

QString sourceText()
{
    return NumberedError::sourceFor(".vbalStatusBar");
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
    // Styled drawing needs a widget style, which only a widget application has.
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

void PanelStatusBar::setAllowXPStyles(bool on)
{
    if (on && !m_stylesAvailable)
        throw NumberedError(
            kErrStylesNotSupported, sourceText(),
            QStringLiteral("XP Styles not supported on this Windows installation."));
    if (m_useStyles == on)
        return;
    m_useStyles = on;
    draw(-1);
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
    measureBarHeight();
}

void PanelStatusBar::measureBarHeight()
{
    m_barHeight = QFontMetrics(m_owner->font()).height() + kBarHeightPadding;
}

void PanelStatusBar::setFont(const QFont &font)
{
    if (!m_owner)
        return;
    m_owner->setFont(font);
    measureBarHeight();
}

int PanelStatusBar::height() const
{
    return int(StoredValue::roundHalfEven(pixelsToTwips(m_barHeight)));
}

QFont PanelStatusBar::font() const
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
    return panel(index).key;
}

void PanelStatusBar::setPanelKey(int index, const QVariant &key)
{
    panel(index).key = key.toString();
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
    p.iconIndex = index;
    replaceIcon(position, icon);
}

void PanelStatusBar::setPanelPixmap(const QVariant &key, const QPixmap &pixmap)
{
    replaceIcon(panelIndex(key), pixmap);
}

void PanelStatusBar::replaceIcon(int position, const QPixmap &icon)
{
    Panel &p = m_panels[size_t(position - 1)];
    // An icon takes room of its own: gaining or losing one moves the panels after it.
    const bool layoutChanges = p.icon.isNull() != icon.isNull();
    p.icon = icon;
    draw(layoutChanges ? -1 : position);
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
    const QFontMetrics metrics(font());
    for (int i = first; i <= last; ++i) {
        Panel &p = m_panels[size_t(i - 1)];
        p.idealWidth = qMax(metrics.horizontalAdvance(p.text) + kIdealWidthPadding, p.minWidth);
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
        p.left = i == 0 ? left : edge[size_t(i - 1)];
        p.top = top;
        p.bottom = bottom;
        p.right = i == count - 1 ? edge[size_t(i)] : edge[size_t(i)] - 1;
    }
}

// ---- painting

void PanelStatusBar::draw(int position)
{
    if (!m_owner)
        return;
    layoutPanels();
    if (position < 1 || position > panelCount()) {
        m_owner->update();
        return;
    }
    const Panel &p = m_panels[size_t(position - 1)];
    m_owner->update(toQRect(p.left, p.top, p.right + 1, p.bottom));
}

void PanelStatusBar::draw(QPainter &painter, int position)
{
    if (!m_owner)
        return;
    if (position != -1 && (position < 1 || position > panelCount()))
        return;

    PanelStatusBarPainter bar(painter, *m_owner, {m_useStyles, m_iconSize, m_background});
    // Background: the whole bar, or the panel's rectangle of the last layout.
    QRect background = m_owner->rect();
    if (position != -1) {
        const Panel &p = m_panels[size_t(position - 1)];
        background = toQRect(p.left, p.top, p.right, p.bottom);
    }
    bar.paintBackground(background);

    layoutPanels();
    if (m_simpleMode) {
        bar.paintSimpleText(m_simpleText);
    } else {
        const int first = position == -1 ? 1 : position;
        const int last = position == -1 ? panelCount() : position;
        bar.paintPanels(m_panels, first, last,
                        [this](QPainter *p, int panel, int &left, int &top, int &right, int &bottom,
                               bool &doDefault) {
                            emit ownerDrawRequested(p, panel, left, top, right, bottom, doDefault);
                        });
    }
    if (m_sizeGrip)
        bar.paintSizeGrip();
}
