#pragma once

#include <QIcon>
#include <QList>
#include <QMenuBar>
#include <QObject>
#include <QPixmap>
#include <QPointer>
#include <QString>

class QMenu;
class QAction;
class CommandSource;

// The menu bar of the frame: a QMenuBar that paints a picture (the skin) behind its items.
class KeyedMenuBar : public QMenuBar
{
    Q_OBJECT
public:
    explicit KeyedMenuBar(QWidget *parent = nullptr);
    void setBackground(const QPixmap &picture);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap m_background;
};

// A menu as a flat, 1-based list of keyed items. An item's parent index says whose submenu
// holds it (0 = top level); the list builds QMenus (and a menu bar) from itself. Menus are
// filled each time they open: first aboutToShowItem is raised for the item whose submenu opens,
// so a handler may rebuild that submenu, then the menu shows the items as they are then.
// Choosing an item raises itemClicked with its index. Indexes of items after removed ones move up.
// With a command registry set, an item whose key names a command runs it when chosen (after
// itemClicked) and shows
// that command's state: its check or radio mark and its enabled state are the command action's,
// read and written through the item. Other items keep their own state and run the family their
// key belongs to, given the item's data.
class KeyedMenu : public QObject
{
    Q_OBJECT
public:
    explicit KeyedMenu(QObject *parent = nullptr);
    ~KeyedMenu() override;

    // The window the menus belong to (parent of the QMenus built).
    void setOwner(QWidget *owner) { m_owner = owner; }
    // Pictures for the items' icon indexes.
    void setImageList(const QList<QIcon> &images) { m_images = images; }
    void setCommands(CommandSource *commands);
    // A picture painted behind the menu bar built from this menu.
    void setPicture(const QPixmap &picture);

    // Appends an item and returns its index. A caption "-" makes a separator; a literal
    // caption (one that comes from data: titles, link names) shows '&' as itself.
    int addItem(const QString &caption, const QString &helpText = QString(), qint32 itemData = 0,
                int parentIndex = 0, int iconIndex = -1, bool checked = false, bool enabled = true,
                const QString &key = QString(), bool literalCaption = false);
    // Removes every item below the item (its whole subtree), not the item itself.
    void clearSubItems(int index);

    int itemCount() const { return int(m_items.size()); }
    // The index of the item with the key; 0 when there is none.
    int indexForKey(const QString &key) const;
    // Reads of an index outside 1..Count give empty values; writes there do nothing.
    QString itemKey(int index) const;
    qint32 itemData(int index) const;
    QString caption(int index) const;
    QString helpText(int index) const;
    // The item whose submenu holds the item; 0 at the top level.
    int itemParent(int index) const;
    // The picture's index in the image list; -1 for none (and outside 1..Count).
    int itemIcon(int index) const;
    bool isSeparator(int index) const;
    bool hasSubItems(int index) const;
    // Direct children of the item (0 = top level), in list order.
    QList<int> subItems(int parentIndex) const;

    bool isChecked(int index) const;
    void setChecked(int index, bool checked);
    // A radio mark on that item only; an item ever given a radio mark draws as a radio item.
    bool isRadioCheck(int index) const;
    void setRadioCheck(int index, bool on);
    bool isEnabled(int index) const;
    void setEnabled(int index, bool enabled);

    // Shows the top-level items as a popup at the screen point and returns after the choice
    // (itemClicked raised, its command run) or the dismissal: the chosen index, or 0.
    int showPopupMenu(int x, int y);
    // Fills the bar with the top-level items; each opens its submenu.
    void buildMenuBar(QMenuBar *bar);
    // A QMenu of the item's subtree, filled each time it opens (the caller owns it).
    QMenu *createMenu(int parentIndex, QWidget *parent);

    // The text shown for a literal caption.
    static QString escapeCaption(const QString &text);

signals:
    // The item was chosen; raised before its command runs and before showPopupMenu returns.
    void itemClicked(int itemNumber);
    void aboutToShowItem(int parentItemNumber);

private:
    struct Item
    {
        quint64 uid = 0;
        QString caption;
        QString helpText;
        qint32 itemData = 0;
        int parent = 0;
        int icon = -1;
        bool checked = false;
        bool checkItem = false;
        bool radio = false;
        bool radioItem = false;
        bool enabled = true;
        bool literal = false;
        QString key;
    };

    bool valid(int index) const { return index >= 1 && index <= itemCount(); }
    // The action of the item's command, when a registry is set and has the key.
    QAction *command(int index) const;
    int indexOfUid(quint64 uid) const;
    void fill(QMenu *menu, quint64 parentUid);
    QAction *makeAction(int index, QMenu *menu);
    void choose(quint64 uid);

    QList<Item> m_items;
    quint64 m_nextUid = 1;
    QPointer<QWidget> m_owner;
    QList<QIcon> m_images;
    QPixmap m_picture;
    QPointer<QMenuBar> m_bar;
    QPointer<CommandSource> m_commands;
    int m_chosen = 0;
};
