#include "contentswitches.h"

namespace ContentSwitches {

const QList<Switch> &Switches()
{
    using M = SettingsModel;
    static const QList<Switch> switches = {
        {"mnuContentImage", &M::EnableImages, FollowUp::RefreshAll},
        {"mnuContentSound", &M::EnableSound, FollowUp::RefreshAll},
        {"mnuContentVideo", &M::EnableVideo, FollowUp::RefreshAll},
        {"mnuContentScripts", &M::EnableScripts, FollowUp::RefreshAll},
        {"mnuContentJava", &M::EnableJava, FollowUp::RefreshAll},
        {"mnuContentDLACTX", &M::EnableActiveXDL, FollowUp::RefreshAll},
        {"mnuContentRUNACTX", &M::EnableActiveXRUN, FollowUp::RefreshAll},
        {"mnuContentFlash", &M::EnableFlash, FollowUp::RefreshAll},
        {"mnuContentSuppressErrors", &M::SuppressErrors, FollowUp::Nothing},
        {"mnuContentSuppressScriptErrors", &M::SuppressScriptErrors, FollowUp::ApplyScriptErrors},
        {"mnuContentAutoFill", &M::AutoFormFill, FollowUp::FillFormWhenOn},
    };
    return switches;
}

const Switch *FindSwitch(const QString &menuKey)
{
    for (const Switch &entry : Switches()) {
        if (menuKey == QLatin1String(entry.menuKey))
            return &entry;
    }
    return nullptr;
}

bool Toggle(const QString &menuKey, SettingsModel &settings, bool *newValue, FollowUp *followUp)
{
    const Switch *entry = FindSwitch(menuKey);
    if (!entry)
        return false;
    bool &value = settings.*(entry->setting);
    value = !value;
    if (newValue)
        *newValue = value;
    if (followUp)
        *followUp = entry->followUp;
    return true;
}

} // namespace ContentSwitches
