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
    FillFormWhenOn,        // switched on: fill the active page's forms now
};

struct Switch
{
    const char *menuKey;
    bool SettingsModel::*setting;
    FollowUp followUp;
};

// Every switch of the Content menu, in menu order.
const QList<Switch> &Switches();

// The switch of a menu key ("mnuContentImage", ...), or nullptr for any other key.
const Switch *FindSwitch(const QString &menuKey);

// Inverts the switch's setting. Returns false (changing nothing) for a key that is no switch;
// otherwise newValue receives the setting's new value (the item's check mark) and followUp what
// the caller does next.
bool Toggle(const QString &menuKey, SettingsModel &settings, bool *newValue, FollowUp *followUp);

// The follow-ups that reach every open document. Document is any type with
// SetDownloadOptions(), RefreshDoc() and SilentDoc(bool); null entries are skipped.
template <class Document>
void RefreshAllDocuments(const QList<Document *> &documents)
{
    for (Document *document : documents) {
        if (!document)
            continue;
        document->SetDownloadOptions();
        document->RefreshDoc();
    }
}

template <class Document>
void ApplyScriptErrors(const QList<Document *> &documents, bool suppressScriptErrors)
{
    for (Document *document : documents) {
        if (document)
            document->SilentDoc(suppressScriptErrors);
    }
}

// Runs the follow-up that reaches the documents (RefreshAll, ApplyScriptErrors); the others are
// left to the caller. True when the follow-up was one of these two.
template <class Document>
bool ReachEveryDocument(FollowUp followUp, const QList<Document *> &documents,
                        const SettingsModel &settings)
{
    switch (followUp) {
    case FollowUp::RefreshAll:
        RefreshAllDocuments(documents);
        return true;
    case FollowUp::ApplyScriptErrors:
        ApplyScriptErrors(documents, settings.SuppressScriptErrors);
        return true;
    case FollowUp::Nothing:
    case FollowUp::FillFormWhenOn:
        break;
    }
    return false;
}

} // namespace ContentSwitches
