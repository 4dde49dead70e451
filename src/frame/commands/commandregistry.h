#pragma once

#include "frame/chrome/commandsource.h"

#include <QAction>
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>

#include <functional>

// The frame's commands, one QAction each, found by the key of the menu item that runs it
// ("mnuFileOpen", "mnuViewStatusBar", ...). Menu items, toolbar buttons, gestures, shortcuts
// and the status bar all trigger these actions; a command's enabled and checked state live on
// its action, so every way in shows and obeys the same state.
//
// Menu items built from data ("Link1", "Link2", ..., the Window menu's "mnuWin(n)", the skins
// "skin1", ...) belong to a family instead: one handler for every key that starts with the
// family's prefix, given the chosen item's key and data.
class CommandRegistry : public CommandSource
{
    Q_OBJECT
public:
    using FamilyHandler = std::function<void(const QString &key, qint32 data)>;

    explicit CommandRegistry(QObject *parent = nullptr);

    // The command's action, created on the first call for the key; later calls return it.
    QAction *add(const QString &key);
    // The action with the body connected to its triggered signal.
    template <typename Receiver>
    QAction *add(const QString &key, Receiver *receiver, void (Receiver::*body)())
    {
        QAction *action = add(key);
        connect(action, &QAction::triggered, receiver, body);
        return action;
    }
    void addFamily(const QString &prefix, const FamilyHandler &handler);

    // The action of the key (compared exactly), or nullptr.
    QAction *action(const QString &key) const override { return m_actions.value(key); }
    // Whether an item with the key runs a command: its own action or a family's handler.
    bool handles(const QString &key) const;

    // Runs what the key names: triggers its action (a disabled one ignores the trigger) or
    // hands key and data to its family. False when no command has the key.
    bool run(const QString &key, qint32 data = 0) override;
    // Triggers the key's action; false when there is none.
    bool trigger(const QString &key) override;

    // State of the key's action; reads of a key without one give false, writes do nothing.
    void setEnabled(const QString &key, bool enabled) override;
    bool isChecked(const QString &key) const override;
    void setChecked(const QString &key, bool checked) override;

private:
    struct Family
    {
        QString prefix;
        FamilyHandler handler;
    };
    const Family *familyOf(const QString &key) const;

    QHash<QString, QAction *> m_actions;
    QList<Family> m_families;
};
