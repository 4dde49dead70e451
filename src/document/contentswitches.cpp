#include "contentswitches.h"

namespace ContentSwitches {

const QList<Switch> &switches()
{
    using M = SettingsModel;
    static const QList<Switch> switches = {
        {"mnuContentImage", &M::enableImages, FollowUp::RefreshAll},
        {"mnuContentSound", &M::enableSound, FollowUp::RefreshAll},
        {"mnuContentVideo", &M::enableVideo, FollowUp::RefreshAll},
        {"mnuContentScripts", &M::enableScripts, FollowUp::RefreshAll},
        {"mnuContentJava", &M::enableJava, FollowUp::RefreshAll},
        {"mnuContentDLACTX", &M::enableActiveXDL, FollowUp::RefreshAll},
        {"mnuContentRUNACTX", &M::enableActiveXRUN, FollowUp::RefreshAll},
        {"mnuContentFlash", &M::enableFlash, FollowUp::RefreshAll},
        {"mnuContentSuppressErrors", &M::suppressErrors, FollowUp::ApplyLoadErrors},
        {"mnuContentSuppressScriptErrors", &M::suppressScriptErrors, FollowUp::ApplyScriptErrors},
        {"mnuContentAutoFill", &M::autoFormFill, FollowUp::FillFormWhenOn},
    };
    return switches;
}

const Switch *findSwitch(const QString &menuKey)
{
    for (const Switch &entry : switches()) {
        if (menuKey == QLatin1String(entry.menuKey))
            return &entry;
    }
    return nullptr;
}

bool toggle(const QString &menuKey, SettingsModel &settings, bool *newValue, FollowUp *followUp)
{
    const Switch *entry = findSwitch(menuKey);
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
