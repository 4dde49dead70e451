#pragma once

#include "settingsmodel.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>

class frmMain;

// Program-wide state shared by every part of Quarvel for the whole run: the settings model and
// the run-time state that is never stored.
namespace MainCode {

// The version tag that names the instance lock and the hand-over socket.
inline const QString kVersionTag = QStringLiteral("QuarvelV100");

inline SettingsModel Settings;

inline frmMain *MainForm = nullptr;
inline qint16 OpenDocuments = 0;
inline bool ModalDialogClosed = false; // true while no small modal dialog is open
inline qint32 OptionsPage = 0;         // page 1..12 the options dialog opens on
inline bool FullScreen = false;
inline bool SidebarVisible = false;
inline bool CtrlKeyDown = false, ShiftKeyDown = false;
inline bool IsNT = true, IsXP = false;
inline bool CreditInfoUnlocked = false;

// Skins found in the skins folder; entry 1 is "none".
inline QStringList SkinNames;
inline qint16 SkinCount = 0;

// The popup whitelist, one site per entry.
inline QStringList Whitelist;
inline qint16 WhitelistCount = 0;

// Links of the user's Links favorites folder (at most 10).
inline qint16 IELinksCount = 0;
inline QStringList IELinksName, IELinksURL;

} // namespace MainCode
