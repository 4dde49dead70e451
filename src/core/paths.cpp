#include "paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#ifndef QUARVEL_SOURCE_ASSETS
#define QUARVEL_SOURCE_ASSETS ""
#endif

namespace Paths {

namespace {

QString ensured(const QString &path, QFileDevice::Permissions perms)
{
    QDir().mkpath(path);
    QFile::setPermissions(path, perms);
    return path;
}

constexpr QFileDevice::Permissions kUserOnly =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;

} // namespace

QString dataDir()
{
    return ensured(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation), kUserOnly);
}

QString dataFile(const QString &name)
{
    return dataDir() + QLatin1Char('/') + name;
}

QString configDir()
{
    return ensured(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation), kUserOnly);
}

QString runtimeDir()
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath() + QLatin1String("/quarvel-") + qEnvironmentVariable("USER");
    return ensured(dir, kUserOnly);
}

QString assetDir()
{
    static const QString dir = [] {
        const QString appDir = QCoreApplication::applicationDirPath();
        const QStringList candidates = {
            appDir + QLatin1String("/../share/quarvel"),
            QStringLiteral(QUARVEL_SOURCE_ASSETS),
        };
        for (const QString &candidate : candidates) {
            if (!candidate.isEmpty() && QFileInfo(candidate).isDir())
                return QDir(candidate).canonicalPath();
        }
        return appDir;
    }();
    return dir;
}

QString assetFile(const QString &name)
{
    return assetDir() + QLatin1Char('/') + name;
}

} // namespace Paths
