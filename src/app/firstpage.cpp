#include "firstpage.h"

#include "core/settingsmodel.h"
#include "core/settingsstore.h"
#include "core/singleinstance.h"

QString firstPageAddress(const SettingsStore &store, const SettingsModel &settings,
                         const QString &commandLine)
{
    const QString section = QStringLiteral("Settings");
    if (SettingsModel::readBoolean(store, section, QStringLiteral("FirstTime"), true) ||
        SettingsModel::readBoolean(store, section, QStringLiteral("PrevSessionCrashed"), false))
        return {};
    const QString given = SingleInstance::stripCommandLineQuotes(commandLine);
    if (!settings.saveDocumentOnExit)
        return commandLine.isEmpty() ? settings.sitesHome1 : given;
    const int saved = SettingsModel::readInteger(store, section, QStringLiteral("DocumentCount"), 0);
    if (saved > 0) {
        if (settings.loadAction == 1)
            return store.read(section, QStringLiteral("Document1"), settings.sitesHome1);
        if (settings.loadAction == 2)
            return {};
    }
    return given;
}
