#pragma once

#include "settingsmodel.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>

class SettingsNotifier;

// Program-wide state shared by every part of Quarvel for the whole run: the settings model and
// the run-time state that is never stored.
namespace AppState {

// The version tag that names the instance lock and the hand-over socket.
inline const QString kVersionTag = QStringLiteral("QuarvelV100");

inline SettingsModel settings;
// Announces changes made to the settings model while the program runs.
SettingsNotifier &settingsNotifier();

inline bool fullScreen = false;
inline bool sidebarVisible = false;
// Whether the desktop shows translucent windows (the splash screen is drawn so), and whether
// the flat (Office XP) style of the menus and toolbars is offered.
inline bool translucentWindows = true, flatStyleAvailable = false;
inline bool creditInfoUnlocked = false;

// Skins found in the skins folder; entry 1 is "none".
inline QStringList skinNames;

// Links of the user's Links favorites folder (at most 10): name and address of link i at
// index i of the two lists, which are always equally long.
inline QStringList linkNames, linkUrls;

// True while an application-modal or window-modal dialog is open (nested ones included): the
// frame's gestures and shortcuts wait until it has closed.
bool modalDialogOpen();

} // namespace AppState
