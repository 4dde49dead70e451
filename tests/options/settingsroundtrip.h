#pragma once

#include "core/appstate.h"
#include "core/settingsstore.h"

#include <QMap>
#include <QStringList>
#include <QTemporaryDir>

// The settings as the options pages meet them: loaded from a store holding given values, and
// what a save of them writes, each through a fresh store file.
class SettingsRoundTrip
{
public:
    // AppState::settings as a store holding these "section/key" values would load them.
    void load(const QMap<QString, QString> &values)
    {
        SettingsStore store(m_dir.filePath(QStringLiteral("in%1.ini").arg(++m_files)));
        for (auto it = values.cbegin(); it != values.cend(); ++it)
            store.write(it.key().section(u'/', 0, 0), it.key().section(u'/', 1), it.value());
        AppState::settings = SettingsModel();
        AppState::settings.load(store, {});
    }

    // What a save of AppState::settings writes for these keys of one section, joined by "|".
    QString saved(const QString &section, const QStringList &keys)
    {
        SettingsStore out(m_dir.filePath(QStringLiteral("out%1.ini").arg(++m_files)));
        if (!AppState::settings.save(out, {}))
            return QStringLiteral("<not written>");
        const SettingsStore in(out.filePath());
        QStringList values;
        for (const QString &key : keys)
            values << in.read(section, key, QStringLiteral("<missing>"));
        return values.join(u'|');
    }

private:
    QTemporaryDir m_dir;
    int m_files = 0;
};
