#include "commandregistry.h"

CommandRegistry::CommandRegistry(QObject *parent) : CommandSource(parent) {}

QAction *CommandRegistry::add(const QString &key)
{
    QAction *&action = m_actions[key];
    if (!action) {
        action = new QAction(this);
        action->setObjectName(key);
    }
    return action;
}

void CommandRegistry::addFamily(const QString &prefix, const FamilyHandler &handler)
{
    m_families.append({prefix, handler});
}

const CommandRegistry::Family *CommandRegistry::familyOf(const QString &key) const
{
    for (const Family &family : m_families) {
        if (key.startsWith(family.prefix))
            return &family;
    }
    return nullptr;
}

bool CommandRegistry::handles(const QString &key) const
{
    return m_actions.contains(key) || familyOf(key);
}

bool CommandRegistry::run(const QString &key, qint32 data)
{
    if (trigger(key))
        return true;
    const Family *family = familyOf(key);
    if (!family)
        return false;
    const FamilyHandler handler = family->handler; // the handler may register more
    handler(key, data);
    return true;
}

bool CommandRegistry::trigger(const QString &key)
{
    QAction *command = action(key);
    if (!command)
        return false;
    command->trigger();
    return true;
}

void CommandRegistry::setEnabled(const QString &key, bool enabled)
{
    if (QAction *command = action(key))
        command->setEnabled(enabled);
}

bool CommandRegistry::isChecked(const QString &key) const
{
    const QAction *command = action(key);
    return command && command->isChecked();
}

void CommandRegistry::setChecked(const QString &key, bool checked)
{
    if (QAction *command = action(key)) {
        command->setCheckable(true);
        command->setChecked(checked);
    }
}
