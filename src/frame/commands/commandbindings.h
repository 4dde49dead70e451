#pragma once

#include <QList>
#include <QString>

class SettingsModel;

// The ways into the frame's commands besides their menu items: toolbar buttons and mouse
// gestures, each naming the command it runs by the command's key.
namespace CommandBindings {

// What a toolbar button runs: a command's key, or a family item's key and data.
struct ButtonCommand
{
    QString key;
    qint32 data = 0;
};
// The command of a button of the toolbar in the band ("Toolbar1", "Toolbar2", "Addressbar");
// newTab picks the new-tab command of the browse toolbar's site buttons. An empty key for a
// button that runs none (its drop-down is all it has).
ButtonCommand buttonCommand(const QString &bandKey, const QString &buttonKey, bool newTab);

// The action (0..17) a stroke runs: the setting of the stroke's code, 0 for an unknown code.
qint32 gestureAction(qint32 gestureType, const SettingsModel &settings);
// The command of gesture action 1..17; empty for 0 and unknown actions.
QString gestureCommand(qint32 action);

} // namespace CommandBindings
