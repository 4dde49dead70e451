#pragma once

#include "settingsmodel.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>

class MainWindow;

// Program-wide state shared by every part of Quarvel for the whole run: the settings model and
// the run-time state that is never stored.
namespace AppState {

// The version tag that names the instance lock and the hand-over socket.
inline const QString kVersionTag = QStringLiteral("QuarvelV100");

inline SettingsModel settings;

inline MainWindow *mainWindow = nullptr;
inline qint16 openDocuments = 0;
inline bool noModalDialogOpen = false; // true while no small modal dialog is open
inline qint32 optionsPage = 0;         // page 1..12 the options dialog opens on
inline bool fullScreen = false;
inline bool sidebarVisible = false;
inline bool ctrlKeyDown = false, shiftKeyDown = false;
inline bool isNT = true, isXP = false;
inline bool creditInfoUnlocked = false;

// Skins found in the skins folder; entry 1 is "none".
inline QStringList skinNames;
inline qint16 skinCount = 0;

// Links of the user's Links favorites folder (at most 10).
inline qint16 linksCount = 0;
inline QStringList linkNames, linkUrls;

} // namespace AppState
