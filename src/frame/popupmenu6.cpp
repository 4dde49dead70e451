#include "popupmenu6.h"

#include "skinpaint.h"

#include <QActionGroup>
#include <QMenu>
#include <QPaintEvent>
#include <QPainter>
#include <QStyleOptionMenuItem>

// ---------------------------------------------------------------- cMenuBar

cMenuBar::cMenuBar(QWidget *parent) : QMenuBar(parent)
{
    setNativeMenuBar(false);
}

void cMenuBar::setBackground(const QPixmap &picture)
{
    m_background = picture;
    update();
}

void cMenuBar::paintEvent(QPaintEvent *event)
{
    if (!SkinPaint::usable(m_background)) {
        QMenuBar::paintEvent(event);
        return;
    }
    QPainter painter(this);
    SkinPaint::tile(painter, this, event->rect(), m_background);
    for (QAction *action : actions()) {
        if (!action->isVisible() || action->isSeparator())
            continue;
        const QRect r = actionGeometry(action);
        if (r.isEmpty() || !event->rect().intersects(r))
            continue;
        QStyleOptionMenuItem option;
        initStyleOption(&option, action);
        option.rect = r;
        // The item paints over the picture: no background of its own.
        option.palette.setBrush(QPalette::Window, Qt::transparent);
        option.palette.setBrush(QPalette::Button, Qt::transparent);
        style()->drawControl(QStyle::CE_MenuBarItem, &option, &painter, this);
    }
}

// ---------------------------------------------------------------- PopupMenu6

PopupMenu6::PopupMenu6(QObject *parent) : QObject(parent) {}

PopupMenu6::~PopupMenu6() = default;

QString PopupMenu6::EscapeCaption(const QString &text)
{
    QString escaped = text;
    escaped.replace(QLatin1Char('&'), QLatin1String("&&"));
    return escaped;
}

void PopupMenu6::setPicture(const QPixmap &picture)
{
    m_picture = picture;
    if (auto *bar = qobject_cast<cMenuBar *>(m_bar.data()))
        bar->setBackground(picture);
}

int PopupMenu6::AddItem(const QString &caption, const QString &helpText, qint32 itemData,
                        int parentIndex, int iconIndex, bool checked, bool enabled,
                        const QString &key, bool literalCaption)
{
    Item item;
    item.uid = m_nextUid++;
    item.caption = caption;
    item.helpText = helpText;
    item.itemData = itemData;
    item.parent = valid(parentIndex) ? parentIndex : 0;
    item.icon = iconIndex;
    item.checked = checked;
    item.checkItem = checked;
    item.enabled = enabled;
    item.key = key;
    item.literal = literalCaption;
    m_items.append(item);
    return Count();
}

void PopupMenu6::ClearSubItems(int index)
{
    if (!valid(index))
        return;
    // Mark the subtree: an item goes when its parent goes. Rebuilt submenus append their
    // items at the end, so a parent may come after its children: repeat until stable.
    QList<bool> removed(m_items.size(), false);
    for (bool changed = true; changed;) {
        changed = false;
        for (int i = 1; i <= Count(); ++i) {
            const int parent = m_items[i - 1].parent;
            if (!removed[i - 1] && parent > 0 && (parent == index || removed[parent - 1])) {
                removed[i - 1] = true;
                changed = true;
            }
        }
    }
    QList<int> newIndex(m_items.size() + 1, 0);
    QList<Item> kept;
    for (int i = 1; i <= Count(); ++i) {
        if (removed[i - 1])
            continue;
        kept.append(m_items[i - 1]);
        newIndex[i] = int(kept.size());
    }
    for (Item &item : kept)
        item.parent = item.parent > 0 ? newIndex[item.parent] : 0;
    m_items = kept;
}

void PopupMenu6::Clear()
{
    m_items.clear();
}

int PopupMenu6::IndexForKey(const QString &key) const
{
    for (int i = 0; i < m_items.size(); ++i) {
        if (m_items[i].key == key)
            return i + 1;
    }
    return 0;
}

int PopupMenu6::indexOfUid(quint64 uid) const
{
    for (int i = 0; i < m_items.size(); ++i) {
        if (m_items[i].uid == uid)
            return i + 1;
    }
    return 0;
}

QString PopupMenu6::ItemKey(int index) const
{
    return valid(index) ? m_items[index - 1].key : QString();
}

qint32 PopupMenu6::ItemData(int index) const
{
    return valid(index) ? m_items[index - 1].itemData : 0;
}

QString PopupMenu6::Caption(int index) const
{
    return valid(index) ? m_items[index - 1].caption : QString();
}

QString PopupMenu6::HelpText(int index) const
{
    return valid(index) ? m_items[index - 1].helpText : QString();
}

int PopupMenu6::ItemParent(int index) const
{
    return valid(index) ? m_items[index - 1].parent : 0;
}

int PopupMenu6::ItemIcon(int index) const
{
    return valid(index) ? m_items[index - 1].icon : -1;
}

bool PopupMenu6::IsSeparator(int index) const
{
    return valid(index) && m_items[index - 1].caption == QLatin1String("-");
}

bool PopupMenu6::HasSubItems(int index) const
{
    if (!valid(index))
        return false;
    for (const Item &item : m_items) {
        if (item.parent == index)
            return true;
    }
    return false;
}

QList<int> PopupMenu6::SubItems(int parentIndex) const
{
    QList<int> list;
    for (int i = 0; i < m_items.size(); ++i) {
        if (m_items[i].parent == parentIndex)
            list.append(i + 1);
    }
    return list;
}

bool PopupMenu6::Checked(int index) const
{
    return valid(index) && m_items[index - 1].checked;
}

void PopupMenu6::setChecked(int index, bool checked)
{
    if (!valid(index))
        return;
    m_items[index - 1].checked = checked;
    m_items[index - 1].checkItem = true;
}

bool PopupMenu6::RadioCheck(int index) const
{
    return valid(index) && m_items[index - 1].radio;
}

void PopupMenu6::setRadioCheck(int index, bool on)
{
    if (!valid(index))
        return;
    m_items[index - 1].radio = on;
    m_items[index - 1].radioItem = true;
}

bool PopupMenu6::Enabled(int index) const
{
    return valid(index) && m_items[index - 1].enabled;
}

void PopupMenu6::setEnabled(int index, bool enabled)
{
    if (valid(index))
        m_items[index - 1].enabled = enabled;
}

void PopupMenu6::choose(quint64 uid)
{
    const int index = indexOfUid(uid);
    if (index < 1)
        return;
    m_chosen = index;
    emit Click(index);
}

QAction *PopupMenu6::makeAction(int index, QMenu *menu)
{
    const Item &item = m_items[index - 1];
    const QString text = item.literal ? EscapeCaption(item.caption) : item.caption;
    QAction *action = nullptr;
    if (HasSubItems(index)) {
        QMenu *sub = CreateMenu(index, menu);
        sub->setTitle(text);
        action = menu->addMenu(sub);
    } else if (item.caption == QLatin1String("-")) {
        action = menu->addSeparator();
    } else {
        action = menu->addAction(text);
        const quint64 uid = item.uid;
        connect(action, &QAction::triggered, this, [this, uid] { choose(uid); });
    }
    action->setObjectName(item.key);
    action->setEnabled(item.enabled);
    action->setStatusTip(item.helpText);
    if (m_showIcons && item.icon >= 0 && item.icon < m_images.size())
        action->setIcon(m_images[item.icon]);
    if (!action->isSeparator() && !action->menu()) {
        action->setCheckable(item.checkItem || item.radioItem);
        action->setChecked(item.checked || item.radio);
    }
    return action;
}

void PopupMenu6::fill(QMenu *menu, quint64 parentUid)
{
    const int parentIndex = parentUid ? indexOfUid(parentUid) : 0;
    // Drop what the last opening built: actions, their submenus and radio groups.
    menu->clear();
    for (QObject *child : menu->children()) {
        if (qobject_cast<QMenu *>(child) || qobject_cast<QActionGroup *>(child))
            child->deleteLater();
    }
    if (parentUid && parentIndex < 1)
        return;
    QActionGroup *radios = nullptr;
    for (int index : SubItems(parentIndex)) {
        QAction *action = makeAction(index, menu);
        if (m_items[index - 1].radioItem && action->isCheckable()) {
            if (!radios) {
                radios = new QActionGroup(menu);
                radios->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
            }
            radios->addAction(action);
            action->setChecked(m_items[index - 1].radio);
        }
    }
}

QMenu *PopupMenu6::CreateMenu(int parentIndex, QWidget *parent)
{
    auto *menu = new QMenu(parent);
    const quint64 parentUid = valid(parentIndex) ? m_items[parentIndex - 1].uid : 0;
    fill(menu, parentUid);
    connect(menu, &QMenu::aboutToShow, this, [this, menu, parentUid] {
        if (parentUid) {
            const int index = indexOfUid(parentUid);
            if (index > 0)
                emit InitPopupMenu(index);
        }
        fill(menu, parentUid);
    });
    return menu;
}

int PopupMenu6::ShowPopupMenu(int x, int y)
{
    m_chosen = 0;
    QMenu *menu = CreateMenu(0, m_owner);
    menu->exec(QPoint(x, y));
    menu->deleteLater();
    return m_chosen;
}

void PopupMenu6::BuildMenuBar(QMenuBar *bar)
{
    if (!bar)
        return;
    bar->clear();
    for (QObject *child : bar->children()) {
        if (qobject_cast<QMenu *>(child) && child->property("popupMenu6").toBool())
            child->deleteLater();
    }
    for (int index : SubItems(0)) {
        const Item &item = m_items[index - 1];
        const QString text = item.literal ? EscapeCaption(item.caption) : item.caption;
        QAction *action;
        if (HasSubItems(index)) {
            QMenu *sub = CreateMenu(index, bar);
            sub->setProperty("popupMenu6", true);
            sub->setTitle(text);
            action = bar->addMenu(sub);
        } else {
            action = bar->addAction(text);
            const quint64 uid = item.uid;
            connect(action, &QAction::triggered, this, [this, uid] { choose(uid); });
        }
        action->setObjectName(item.key);
        action->setEnabled(item.enabled);
    }
    m_bar = bar;
    if (auto *skinned = qobject_cast<cMenuBar *>(bar))
        skinned->setBackground(m_picture);
}
