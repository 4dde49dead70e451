#include "paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <sys/stat.h>
#include <unistd.h>

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

bool isPrivateFolder(const QString &path)
{
    struct stat info;
    const QByteArray native = QFile::encodeName(path);
    if (path.isEmpty() || ::lstat(native.constData(), &info) != 0)
        return false;
    return S_ISDIR(info.st_mode) && info.st_uid == ::getuid() && (info.st_mode & 077) == 0;
}

QString runtimeDir()
{
    QString dir = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (dir.isEmpty()) {
        // Without a session runtime folder, a folder of our own in the temporary folder. Another
        // user may have made it first: it is used only when it is ours and no one else's.
        dir = QDir::tempPath() + QLatin1String("/quarvel-") + QString::number(::getuid());
        ::mkdir(QFile::encodeName(dir).constData(), 0700);
    }
    return isPrivateFolder(dir) ? dir : QString();
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

QString displayPath(const QString &path)
{
    const QString assets = QDir::cleanPath(assetDir()) + QLatin1Char('/');
    const QString clean = QDir::cleanPath(path);
    return clean.startsWith(assets) && clean.size() > assets.size() ? clean.mid(assets.size()) : path;
}

QString editedPath(const QString &shown, const QString &stored)
{
    return shown == displayPath(stored) ? stored : shown;
}

} // namespace Paths
