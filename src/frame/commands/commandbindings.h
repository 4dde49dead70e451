#pragma once

#include <QList>
#include <QString>

class SettingsModel;

// The mouse gestures' way into the frame's commands, each stroke naming the command it runs by
// the command's key (the toolbar buttons' is FrameMenus::buttonCommand).
namespace CommandBindings {

// The action (0..17) a stroke runs: the setting of the stroke's code, 0 for an unknown code.
qint32 gestureAction(qint32 gestureType, const SettingsModel &settings);
// The command of gesture action 1..17; empty for 0 and unknown actions.
QString gestureCommand(qint32 action);

} // namespace CommandBindings
