#include "toolbarbands.h"

#include "striptoolbar.h"

#include <QLayout>
#include <QMainWindow>
#include <QSet>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <algorithm>

namespace {

const QString kRoot = QStringLiteral("rebar");
const QString kBand = QStringLiteral("band");
const QString kVersion = QStringLiteral("1");

bool readFlag(const QXmlStreamAttributes &attributes, const QString &name, bool *value)
{
    const QString text = attributes.value(name).toString();
    if (text == QLatin1String("1"))
        *value = true;
    else if (text == QLatin1String("0"))
        *value = false;
    else
        return false;
    return true;
}

} // namespace

ToolBarBands::ToolBarBands(QMainWindow *host) : QObject(host), m_host(host) {}

ToolBarBands::~ToolBarBands() = default;

void ToolBarBands::reset()
{
    removeAllBands();
}

void ToolBarBands::setBackgroundPicture(const QPixmap &picture)
{
    m_background = picture;
    for (const BandEntry &band : m_bands) {
        if (band.bar)
            band.bar->setBackgroundPicture(picture);
    }
}

void ToolBarBands::createBands(Qt::ToolBarArea area)
{
    m_area = area == Qt::BottomToolBarArea ? Qt::BottomToolBarArea : Qt::TopToolBarArea;
}

int ToolBarBands::addBand(QWidget *child, const QString &, bool newRow, bool fixedSize,
                    const QString &key)
{
    if (!m_host || !child)
        return -1;
    BandEntry band;
    band.key = key;
    band.child = child;
    band.newRow = newRow;
    if (auto *bar = qobject_cast<BandToolBar *>(child)) {
        band.bar = bar;
    } else {
        band.bar = new BandToolBar(m_host);
        band.bar->addWidget(child);
        band.wrapped = true;
    }
    BandToolBar *bar = band.bar;
    if (bar->objectName().isEmpty())
        bar->setObjectName(key);
    bar->setMovable(!fixedSize);
    bar->setFloatable(false);
    bar->setAllowedAreas(m_area);
    bar->setBackgroundPicture(m_background);
    if (newRow && !m_bands.isEmpty())
        m_host->addToolBarBreak(m_area);
    m_host->addToolBar(m_area, bar);
    bar->setVisible(true);
    m_bands.append(band);
    return int(m_bands.size()) - 1;
}

int ToolBarBands::bandIndexForKey(const QString &key) const
{
    for (qsizetype i = 0; i < m_bands.size(); ++i) {
        if (m_bands[i].key == key)
            return int(i);
    }
    return -1;
}

QString ToolBarBands::bandKey(int index) const
{
    return index >= 0 && index < m_bands.size() ? m_bands[index].key : QString();
}

BandToolBar *ToolBarBands::band(int index) const
{
    return index >= 0 && index < m_bands.size() ? m_bands[index].bar.data() : nullptr;
}

QWidget *ToolBarBands::bandChild(int index) const
{
    return index >= 0 && index < m_bands.size() ? m_bands[index].child.data() : nullptr;
}

bool ToolBarBands::bandNewRow(int index) const
{
    return index >= 0 && index < m_bands.size() && m_bands[index].newRow;
}

bool ToolBarBands::shown(const BandEntry &band) const
{
    if (!band.bar)
        return false;
    return m_holderShown ? !band.bar->isHidden() : band.heldVisible;
}

bool ToolBarBands::bandVisible(int index) const
{
    return index >= 0 && index < m_bands.size() && shown(m_bands[index]);
}

void ToolBarBands::setBandVisible(int index, bool visible)
{
    BandToolBar *bar = band(index);
    if (!bar)
        return;
    if (m_holderShown)
        bar->setVisible(visible);
    else
        m_bands[index].heldVisible = visible;
}

void ToolBarBands::setHolderShown(bool holderShown)
{
    if (holderShown == m_holderShown)
        return;
    for (BandEntry &band : m_bands) {
        if (!band.bar)
            continue;
        if (!holderShown)
            band.heldVisible = !band.bar->isHidden();
        band.bar->setVisible(holderShown && band.heldVisible);
    }
    m_holderShown = holderShown;
}

int ToolBarBands::bandChildMinHeight(int index) const
{
    BandToolBar *bar = band(index);
    return bar ? bar->minimumHeight() : 0;
}

void ToolBarBands::setBandChildMinHeight(int index, int height)
{
    if (BandToolBar *bar = band(index))
        bar->setMinimumHeight(qMax(0, height));
}

void ToolBarBands::setBandChildSize(int index, int width)
{
    BandToolBar *bar = band(index);
    if (!bar)
        return;
    int ideal = width;
    if (m_bands[index].wrapped && bandChild(index))
        ideal += qMax(0, bar->naturalWidth() - bandChild(index)->sizeHint().width());
    bar->setIdealWidth(ideal);
}

void ToolBarBands::relayoutBands()
{
    for (const BandEntry &band : m_bands) {
        if (band.bar)
            band.bar->updateGeometry();
    }
}

void ToolBarBands::place()
{
    if (!m_host)
        return;
    QList<bool> visible;
    for (const BandEntry &band : m_bands) {
        visible.append(shown(band));
        if (band.bar)
            m_host->removeToolBar(band.bar);
    }
    // Rows of band indexes, top to bottom.
    QList<QList<int>> rows;
    for (qsizetype i = 0; i < m_bands.size(); ++i) {
        if (!m_bands[i].bar)
            continue;
        if (rows.isEmpty() || m_bands[i].newRow)
            rows.append(QList<int>());
        rows.last().append(int(i));
    }
    // The bottom area stacks its lines from the window's edge upwards: add them last row
    // first so that the bands keep their order from top to bottom.
    if (m_area == Qt::BottomToolBarArea)
        std::reverse(rows.begin(), rows.end());
    for (qsizetype r = 0; r < rows.size(); ++r) {
        if (r > 0)
            m_host->addToolBarBreak(m_area);
        for (int i : rows[r]) {
            const BandEntry &band = m_bands[i];
            band.bar->setAllowedAreas(m_area);
            m_host->addToolBar(m_area, band.bar);
            band.bar->setVisible(visible[i] && m_holderShown);
        }
    }
}

void ToolBarBands::setArea(Qt::ToolBarArea area)
{
    area = area == Qt::BottomToolBarArea ? Qt::BottomToolBarArea : Qt::TopToolBarArea;
    if (area == m_area)
        return;
    currentLayout(); // keep the order and rows the user made
    m_area = area;
    place();
}

bool ToolBarBands::geometryUsable(const QList<int> &visible) const
{
    if (!m_host || !m_host->isVisible() || visible.isEmpty())
        return false;
    QSet<QPair<int, int>> corners;
    for (int i : visible) {
        const QRect g = m_bands[i].bar->geometry();
        if (g.isEmpty() || m_host->toolBarArea(m_bands[i].bar) != m_area)
            return false;
        corners.insert({g.x(), g.y()});
    }
    return corners.size() == visible.size();
}

QList<ToolBarBands::BandState> ToolBarBands::currentLayout()
{
    // Drop bands whose bar went away.
    m_bands.erase(std::remove_if(m_bands.begin(), m_bands.end(),
                                 [](const BandEntry &b) { return b.bar.isNull(); }),
                  m_bands.end());
    QList<int> all, hidden;
    for (qsizetype i = 0; i < m_bands.size(); ++i) {
        all.append(int(i));
        if (m_bands[i].bar->isHidden())
            hidden.append(int(i));
    }

    QList<int> order = all;
    QList<bool> newRow(m_bands.size(), false);
    QList<int> widths(m_bands.size(), 0);
    bool fromWindow = false;
    if (m_host && m_host->isVisible()) {
        // The window keeps hidden bands in their rows: show them for a moment (without
        // painting) to read every band's place.
        const bool updates = m_host->updatesEnabled();
        m_host->setUpdatesEnabled(false);
        for (int i : hidden)
            m_bands[i].bar->setVisible(true);
        if (m_host->layout())
            m_host->layout()->activate();
        if (geometryUsable(all)) {
            fromWindow = true;
            std::stable_sort(order.begin(), order.end(), [this](int a, int b) {
                const QRect ga = m_bands[a].bar->geometry(), gb = m_bands[b].bar->geometry();
                return ga.y() != gb.y() ? ga.y() < gb.y() : ga.x() < gb.x();
            });
            for (qsizetype k = 0; k < order.size(); ++k) {
                const int i = order[k];
                newRow[i] = k == 0 || m_bands[i].bar->geometry().y() !=
                                          m_bands[order[k - 1]].bar->geometry().y();
                widths[i] = m_bands[i].bar->width();
            }
        }
        for (int i : hidden)
            m_bands[i].bar->setVisible(false);
        if (m_host->layout())
            m_host->layout()->activate();
        m_host->setUpdatesEnabled(updates);
    }
    if (!fromWindow) {
        for (int i : all) {
            newRow[i] = m_bands[i].newRow;
            widths[i] =
                m_bands[i].lastWidth > 0 ? m_bands[i].lastWidth : m_bands[i].bar->idealWidth();
        }
    }

    QList<BandEntry> reordered;
    QList<BandState> states;
    for (int i : order) {
        BandEntry band = m_bands[i];
        band.newRow = newRow[i];
        band.lastWidth = widths[i];
        reordered.append(band);
        BandState state;
        state.key = band.key;
        state.newRow = band.newRow;
        state.visible = shown(band);
        state.width = widths[i];
        states.append(state);
    }
    m_bands = reordered;
    return states;
}

QString ToolBarBands::currentLayoutText()
{
    return layoutText(currentLayout());
}

QString ToolBarBands::layoutText(const QList<BandState> &bands)
{
    QString text;
    QXmlStreamWriter xml(&text);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeStartElement(kRoot);
    xml.writeAttribute(QStringLiteral("version"), kVersion);
    for (const BandState &band : bands) {
        xml.writeEmptyElement(kBand);
        xml.writeAttribute(QStringLiteral("key"), band.key);
        xml.writeAttribute(QStringLiteral("newrow"),
                           band.newRow ? QStringLiteral("1") : QStringLiteral("0"));
        xml.writeAttribute(QStringLiteral("visible"),
                           band.visible ? QStringLiteral("1") : QStringLiteral("0"));
        xml.writeAttribute(QStringLiteral("width"), QString::number(qMax(0, band.width)));
    }
    xml.writeEndElement();
    xml.writeEndDocument();
    return text;
}

bool ToolBarBands::parseLayout(const QString &text, const QStringList &keys, QList<BandState> *bands)
{
    QList<BandState> parsed;
    QXmlStreamReader xml(text);
    if (!xml.readNextStartElement() || xml.name() != kRoot ||
        xml.attributes().value(QStringLiteral("version")) != kVersion)
        return false;
    QSet<QString> seen;
    while (xml.readNextStartElement()) {
        if (xml.name() != kBand)
            return false;
        const QXmlStreamAttributes a = xml.attributes();
        BandState band;
        band.key = a.value(QStringLiteral("key")).toString();
        bool ok = false;
        band.width = a.value(QStringLiteral("width")).toInt(&ok);
        if (!ok || band.width < 0 || !keys.contains(band.key) || seen.contains(band.key) ||
            !readFlag(a, QStringLiteral("newrow"), &band.newRow) ||
            !readFlag(a, QStringLiteral("visible"), &band.visible))
            return false;
        seen.insert(band.key);
        parsed.append(band);
        xml.skipCurrentElement();
    }
    // The root must close properly and nothing may follow it.
    if (xml.hasError())
        return false;
    while (!xml.atEnd())
        xml.readNext();
    if (xml.hasError())
        return false;
    if (bands)
        *bands = parsed;
    return true;
}

bool ToolBarBands::restoreLayout(const QString &text, const QStringList &keys,
                           const QList<QWidget *> &children)
{
    QList<BandState> states;
    if (!m_host || !parseLayout(text, keys, &states))
        return false;
    // Bands for saved keys not yet in the rebar, around their children.
    for (const BandState &state : states) {
        if (bandIndexForKey(state.key) >= 0)
            continue;
        const qsizetype k = keys.indexOf(state.key);
        QWidget *child = k < children.size() ? children[k] : nullptr;
        if (!child)
            return false;
        addBand(child, QString(), true, false, state.key);
    }
    QList<BandEntry> reordered;
    QList<bool> visible;
    for (qsizetype s = 0; s < states.size(); ++s) {
        const BandState &state = states[s];
        BandEntry band = m_bands[bandIndexForKey(state.key)];
        band.newRow = state.newRow;
        band.lastWidth = state.width;
        // Only a band followed by another in its row keeps a width; the last one fills it.
        const bool lastInRow = s + 1 == states.size() || states[s + 1].newRow;
        if (band.bar)
            band.bar->setIdealWidth(lastInRow ? 0 : state.width);
        reordered.append(band);
        visible.append(state.visible);
    }
    for (const BandEntry &band : m_bands) {
        bool named = false;
        for (const BandEntry &r : reordered)
            named = named || r.key == band.key;
        if (!named) {
            BandEntry rest = band;
            rest.newRow = true;
            reordered.append(rest);
            visible.append(shown(band));
        }
    }
    m_bands = reordered;
    place();
    for (qsizetype i = 0; i < m_bands.size(); ++i)
        setBandVisible(int(i), visible[i]);
    return true;
}

void ToolBarBands::removeAllBands()
{
    for (const BandEntry &band : m_bands) {
        if (!band.bar || !m_host)
            continue;
        m_host->removeToolBar(band.bar);
        if (band.wrapped && band.child) {
            band.child->setParent(m_host);
            band.child->hide();
            band.bar->deleteLater();
        }
    }
    m_bands.clear();
}

void ToolBarBands::destroyBands()
{
    removeAllBands();
    m_background = QPixmap();
}
