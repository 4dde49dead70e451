#include "keyedmenu.h"

#include "commandsource.h"
#include "skinpaint.h"

#include <QActionGroup>
#include <QMenu>
#include <QPaintEvent>
#include <QPainter>
#include <QStyleOptionMenuItem>

// ---------------------------------------------------------------- KeyedMenuBar

KeyedMenuBar::KeyedMenuBar(QWidget *parent) : QMenuBar(parent)
{
    setNativeMenuBar(false);
}

void KeyedMenuBar::setBackground(const QPixmap &picture)
{
    m_background = picture;
    update();
}

void KeyedMenuBar::paintEvent(QPaintEvent *event)
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

// ---------------------------------------------------------------- KeyedMenu

KeyedMenu::KeyedMenu(QObject *parent) : QObject(parent) {}

KeyedMenu::~KeyedMenu() = default;

QString KeyedMenu::escapeCaption(const QString &text)
{
    QString escaped = text;
    escaped.replace(QLatin1Char('&'), QLatin1String("&&"));
    return escaped;
}

void KeyedMenu::setCommands(CommandSource *commands)
{
    m_commands = commands;
}

QAction *KeyedMenu::command(int index) const
{
    return m_commands && valid(index) ? m_commands->action(m_items[index - 1].key) : nullptr;
}

void KeyedMenu::setPicture(const QPixmap &picture)
{
    m_picture = picture;
    if (auto *bar = qobject_cast<KeyedMenuBar *>(m_bar.data()))
        bar->setBackground(picture);
}

int KeyedMenu::addItem(const QString &caption, const QString &helpText, qint32 itemData,
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
    return itemCount();
}

void KeyedMenu::clearSubItems(int index)
{
    if (!valid(index))
        return;
    // Mark the subtree: an item goes when its parent goes. Rebuilt submenus append their
    // items at the end, so a parent may come after its children: repeat until stable.
    QList<bool> removed(m_items.size(), false);
    for (bool changed = true; changed;) {
        changed = false;
        for (int i = 1; i <= itemCount(); ++i) {
            const int parent = m_items[i - 1].parent;
            if (!removed[i - 1] && parent > 0 && (parent == index || removed[parent - 1])) {
                removed[i - 1] = true;
                changed = true;
            }
        }
    }
    QList<int> newIndex(m_items.size() + 1, 0);
    QList<Item> kept;
    for (int i = 1; i <= itemCount(); ++i) {
        if (removed[i - 1])
            continue;
        kept.append(m_items[i - 1]);
        newIndex[i] = int(kept.size());
    }
    for (Item &item : kept)
        item.parent = item.parent > 0 ? newIndex[item.parent] : 0;
    m_items = kept;
}

int KeyedMenu::indexForKey(const QString &key) const
{
    for (int i = 0; i < m_items.size(); ++i) {
        if (m_items[i].key == key)
            return i + 1;
    }
    return 0;
}

int KeyedMenu::indexOfUid(quint64 uid) const
{
    for (int i = 0; i < m_items.size(); ++i) {
        if (m_items[i].uid == uid)
            return i + 1;
    }
    return 0;
}

QString KeyedMenu::itemKey(int index) const
{
    return valid(index) ? m_items[index - 1].key : QString();
}

qint32 KeyedMenu::itemData(int index) const
{
    return valid(index) ? m_items[index - 1].itemData : 0;
}

QString KeyedMenu::caption(int index) const
{
    return valid(index) ? m_items[index - 1].caption : QString();
}

QString KeyedMenu::helpText(int index) const
{
    return valid(index) ? m_items[index - 1].helpText : QString();
}

int KeyedMenu::itemParent(int index) const
{
    return valid(index) ? m_items[index - 1].parent : 0;
}

int KeyedMenu::itemIcon(int index) const
{
    return valid(index) ? m_items[index - 1].icon : -1;
}

bool KeyedMenu::isSeparator(int index) const
{
    return valid(index) && m_items[index - 1].caption == QLatin1String("-");
}

bool KeyedMenu::hasSubItems(int index) const
{
    if (!valid(index))
        return false;
    for (const Item &item : m_items) {
        if (item.parent == index)
            return true;
    }
    return false;
}

QList<int> KeyedMenu::subItems(int parentIndex) const
{
    QList<int> list;
    for (int i = 0; i < m_items.size(); ++i) {
        if (m_items[i].parent == parentIndex)
            list.append(i + 1);
    }
    return list;
}

bool KeyedMenu::isChecked(int index) const
{
    if (const QAction *action = command(index))
        return !m_items[index - 1].radioItem && action->isChecked();
    return valid(index) && m_items[index - 1].checked;
}

void KeyedMenu::setChecked(int index, bool checked)
{
    if (!valid(index))
        return;
    m_items[index - 1].checked = checked;
    m_items[index - 1].checkItem = true;
    if (QAction *action = command(index)) {
        action->setCheckable(true);
        action->setChecked(checked);
    }
}

bool KeyedMenu::isRadioCheck(int index) const
{
    if (const QAction *action = command(index))
        return m_items[index - 1].radioItem && action->isChecked();
    return valid(index) && m_items[index - 1].radio;
}

void KeyedMenu::setRadioCheck(int index, bool on)
{
    if (!valid(index))
        return;
    m_items[index - 1].radio = on;
    m_items[index - 1].radioItem = true;
    if (QAction *action = command(index)) {
        action->setCheckable(true);
        action->setChecked(on);
    }
}

bool KeyedMenu::isEnabled(int index) const
{
    if (const QAction *action = command(index))
        return action->isEnabled();
    return valid(index) && m_items[index - 1].enabled;
}

void KeyedMenu::setEnabled(int index, bool enabled)
{
    if (QAction *action = command(index))
        action->setEnabled(enabled);
    else if (valid(index))
        m_items[index - 1].enabled = enabled;
}

void KeyedMenu::choose(quint64 uid)
{
    const int index = indexOfUid(uid);
    if (index < 1)
        return;
    m_chosen = index;
    // Read before itemClicked: its handler, like the command, may rebuild the list.
    const QString key = m_items[index - 1].key;
    const qint32 data = m_items[index - 1].itemData;
    const QPointer<CommandSource> commands = m_commands;
    const QPointer<KeyedMenu> self(this);
    emit itemClicked(index);
    if (self && commands)
        commands->run(key, data);
}

QAction *KeyedMenu::makeAction(int index, QMenu *menu)
{
    const Item &item = m_items[index - 1];
    const QString text = item.literal ? escapeCaption(item.caption) : item.caption;
    QAction *action = nullptr;
    if (hasSubItems(index)) {
        QMenu *sub = createMenu(index, menu);
        sub->setTitle(text);
        action = menu->addMenu(sub);
    } else if (isSeparator(index)) {
        action = menu->addSeparator();
    } else {
        action = menu->addAction(text);
        const quint64 uid = item.uid;
        connect(action, &QAction::triggered, this, [this, uid] { choose(uid); });
    }
    action->setObjectName(item.key);
    action->setEnabled(isEnabled(index));
    action->setStatusTip(item.helpText);
    if (item.icon >= 0 && item.icon < m_images.size())
        action->setIcon(m_images[item.icon]);
    if (!action->isSeparator() && !action->menu()) {
        const QAction *bound = command(index);
        action->setCheckable(item.checkItem || item.radioItem || (bound && bound->isCheckable()));
        action->setChecked(isChecked(index) || isRadioCheck(index));
    }
    return action;
}

void KeyedMenu::fill(QMenu *menu, quint64 parentUid)
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
    for (int index : subItems(parentIndex)) {
        QAction *action = makeAction(index, menu);
        if (m_items[index - 1].radioItem && action->isCheckable()) {
            if (!radios) {
                radios = new QActionGroup(menu);
                radios->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
            }
            radios->addAction(action);
            action->setChecked(isRadioCheck(index));
        }
    }
}

QMenu *KeyedMenu::createMenu(int parentIndex, QWidget *parent)
{
    auto *menu = new QMenu(parent);
    const quint64 parentUid = valid(parentIndex) ? m_items[parentIndex - 1].uid : 0;
    fill(menu, parentUid);
    connect(menu, &QMenu::aboutToShow, this, [this, menu, parentUid] {
        if (parentUid) {
            const int index = indexOfUid(parentUid);
            if (index > 0)
                emit aboutToShowItem(index);
        }
        fill(menu, parentUid);
    });
    return menu;
}

int KeyedMenu::showPopupMenu(int x, int y)
{
    m_chosen = 0;
    QMenu *menu = createMenu(0, m_owner);
    menu->exec(QPoint(x, y));
    menu->deleteLater();
    return m_chosen;
}

void KeyedMenu::buildMenuBar(QMenuBar *bar)
{
    if (!bar)
        return;
    bar->clear();
    for (QObject *child : bar->children()) {
        if (qobject_cast<QMenu *>(child) && child->property("popupMenu6").toBool())
            child->deleteLater();
    }
    for (int index : subItems(0)) {
        const Item &item = m_items[index - 1];
        const QString text = item.literal ? escapeCaption(item.caption) : item.caption;
        QAction *action;
        if (hasSubItems(index)) {
            QMenu *sub = createMenu(index, bar);
            sub->setProperty("popupMenu6", true);
            sub->setTitle(text);
            action = bar->addMenu(sub);
        } else {
            action = bar->addAction(text);
            const quint64 uid = item.uid;
            connect(action, &QAction::triggered, this, [this, uid] { choose(uid); });
        }
        action->setObjectName(item.key);
        action->setEnabled(isEnabled(index));
    }
    m_bar = bar;
    if (auto *skinned = qobject_cast<KeyedMenuBar *>(bar))
        skinned->setBackground(m_picture);
}
