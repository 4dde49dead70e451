#pragma once

#include <QObject>
#include <QString>

class QAction;

// The frame's commands as the chrome and the address bar reach them: an action by its key,
// running a key, and a command's enabled and checked state. The commands' registry is the one
// source; the parts that show and run commands know only this.
class CommandSource : public QObject
{
public:
    using QObject::QObject;

    // The action of the key (compared exactly), or nullptr.
    virtual QAction *action(const QString &key) const = 0;
    // Runs what the key names (an action, or an item of a family of keys, with its data);
    // false when no command has the key.
    virtual bool run(const QString &key, qint32 data = 0) = 0;
    // Triggers the key's action; false when there is none.
    virtual bool trigger(const QString &key) = 0;
    // State of the key's action; reads of a key without one give false, writes do nothing.
    virtual void setEnabled(const QString &key, bool enabled) = 0;
    virtual bool isChecked(const QString &key) const = 0;
    virtual void setChecked(const QString &key, bool checked) = 0;
};
