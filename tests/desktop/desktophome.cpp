#include "desktophome.h"

#include "core/historystore.h"
#include "core/settingsstore.h"

#include <QDateTime>
#include <QDir>
#include <QFile>

namespace {

constexpr QFileDevice::Permissions kUserOnlyFolder =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;

} // namespace

DesktopHome::DesktopHome()
{
    if (!m_dir.isValid())
        return;
    QDir home(path());
    m_valid = true;
    for (const char *sub : {"config/Quarvel", "data/Quarvel", "cache", "runtime", "Downloads"})
        m_valid = m_valid && home.mkpath(QLatin1String(sub));
    for (const char *sub : {"config", "config/Quarvel", "data", "data/Quarvel", "cache", "runtime"})
        m_valid = m_valid && QFile::setPermissions(filePath(QLatin1String(sub)), kUserOnlyFolder);

    // QStandardPaths::DownloadLocation reads the download folder from here.
    QFile dirs(filePath(QStringLiteral("config/user-dirs.dirs")));
    m_valid = m_valid && dirs.open(QIODevice::WriteOnly) &&
              dirs.write("XDG_DOWNLOAD_DIR=\"$HOME/Downloads\"\n") > 0;
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

QProcessEnvironment DesktopHome::environment(const QProcessEnvironment &base) const
{
    QProcessEnvironment env = base;
    env.insert(QStringLiteral("HOME"), path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_DATA_HOME"), filePath(QStringLiteral("data")));
    env.insert(QStringLiteral("XDG_CACHE_HOME"), filePath(QStringLiteral("cache")));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), filePath(QStringLiteral("runtime")));
    env.insert(QStringLiteral("XDG_DOWNLOAD_DIR"), downloadFolder());
    return env;
}
