#pragma once

#include <QObject>
#include <QString>

// Tells the running program that settings in AppState::settings were changed in place, so that
// every part showing them can apply the new values itself.
class SettingsNotifier : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

signals:
    // A switch of the Content menu was flipped; switchKey is its menu key ("mnuContentImage",
    // ...), and the settings model already holds the new value.
    void contentSettingsChanged(const QString &switchKey);
};
