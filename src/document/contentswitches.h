#pragma once

#include "core/settingsmodel.h"

#include <QList>
#include <QString>

// The Content menu's switches: which setting a menu key toggles and what follows the toggle.
namespace ContentSwitches {

enum class FollowUp {
    RefreshAll,            // every document re-reads the switches and reloads
    Nothing,               // the setting alone changes
    ApplyScriptErrors,     // every document's browser takes the new script-error setting
    ApplyLoadErrors,       // every document's browser takes the new load-error setting
    FillFormWhenOn,        // switched on: fill the active page's forms now
};

struct Switch
{
    const char *menuKey;
    bool SettingsModel::*setting;
    FollowUp followUp;
};

// Every switch of the Content menu, in menu order.
const QList<Switch> &switches();

// The switch of a menu key ("mnuContentImage", ...), or nullptr for any other key.
const Switch *findSwitch(const QString &menuKey);

// Inverts the switch's setting. Returns false (changing nothing) for a key that is no switch;
// otherwise newValue receives the setting's new value (the item's check mark) and followUp what
// the caller does next.
bool toggle(const QString &menuKey, SettingsModel &settings, bool *newValue, FollowUp *followUp);

// Runs on one open document the follow-up that reaches the documents (RefreshAll: the switches
// re-read and the page reloaded; ApplyScriptErrors and ApplyLoadErrors: the new setting); the
// others are left to the command. Document is any type with applyDownloadOptions(), reload(),
// setSilent(bool) and setLoadErrorsSuppressed(bool). True when the follow-up was one of these.
template <class Document>
bool applyToDocument(FollowUp followUp, Document &document, const SettingsModel &settings)
{
    switch (followUp) {
    case FollowUp::RefreshAll:
        document.applyDownloadOptions();
        document.reload();
        return true;
    case FollowUp::ApplyScriptErrors:
        document.setSilent(settings.suppressScriptErrors);
        return true;
    case FollowUp::ApplyLoadErrors:
        document.setLoadErrorsSuppressed(settings.suppressErrors);
        return true;
    case FollowUp::Nothing:
    case FollowUp::FillFormWhenOn:
        break;
    }
    return false;
}

} // namespace ContentSwitches
