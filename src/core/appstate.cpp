#include "appstate.h"
#include "settingsnotifier.h"

#include <QApplication>

bool AppState::modalDialogOpen()
{
    return QApplication::activeModalWidget() != nullptr;
}

SettingsNotifier &AppState::settingsNotifier()
{
    static SettingsNotifier notifier;
    return notifier;
}
