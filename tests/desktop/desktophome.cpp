#include "desktophome.h"

#include "core/historystore.h"
#include "core/settingsstore.h"

#include <QDateTime>
#include <QFile>

DesktopHome::DesktopHome()
{
    addUserFolder(QStringLiteral("config/Quarvel"));
    addUserFolder(QStringLiteral("data/Quarvel"));
    addDownloadFolder();
}

bool DesktopHome::seedSettings(const QString &homePage)
{
    SettingsStore store(settingsFile());
    const QString t = QStringLiteral("True"), f = QStringLiteral("False");
    const struct
    {
        const char *section, *key;
        QString value;
    } values[] = {
        {"Settings", "FirstTime", f},
        {"Settings", "PrevSessionCrashed", f},
        {"Settings", "FileAssociationSetDefault", f},
        {"Settings", "DocumentCount", QStringLiteral("0")},
        {"Settings", "MainMaximized", t},
        {"General", "CheckIfDefault", f},
        {"General", "CheckForUpdate", f},
        {"General", "SaveDocumentOnExit", t},
        {"General", "LoadAction", QStringLiteral("1")},
        {"Sites", "SitesHome1", homePage},
    };
    {
        SettingsStore::Batch batch(store); // one write of the file
        for (const auto &value : values)
            store.write(QLatin1String(value.section), QLatin1String(value.key), value.value);
    }
    return !store.lastWriteFailed() && QFile::exists(settingsFile());
}

bool DesktopHome::seedHistory(const QList<Visit> &visits)
{
    HistoryStore history(filePath(QStringLiteral("data/Quarvel/history.db")));
    const QDateTime now = QDateTime::currentDateTimeUtc();
    bool ok = history.isOpen();
    for (qsizetype i = 0; i < visits.size(); ++i)
        ok = ok && history.addVisit(visits[i].url, visits[i].title, now.addSecs(-60 * (i + 1)));
    return ok;
}

QString DesktopHome::setting(const QString &section, const QString &key) const
{
    return SettingsStore(settingsFile()).read(section, key, QString());
}
