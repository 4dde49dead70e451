#include "userfile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace UserFile {

bool save(const QString &path, const QByteArray &data, QFileDevice::Permissions mode)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // The temporary file gets the mode before any byte is written; the commit renames it.
    file.setPermissions(mode);
    // The explicit flush reports a failing final write, which commit() alone can miss.
    if (file.write(data) != data.size() || !file.flush()) {
        file.cancelWriting();
        return false;
    }
    if (!file.commit())
        return false;
    QFile::setPermissions(path, mode);
    return true;
}

bool read(const QString &path, QByteArray *data)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    *data = file.readAll();
    return file.error() == QFileDevice::NoError;
}

bool makeFolder(const QString &path)
{
    const QString clean = QDir::cleanPath(QDir(path).absolutePath());
    const QFileInfo info(clean);
    if (info.isDir())
        return true;
    if (info.exists() || clean == info.path())
        return false;
    if (!makeFolder(info.path()))
        return false;
    return QDir().mkdir(clean, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner) || QFileInfo(clean).isDir();
}

QString unreadableName(const QString &path)
{
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss"));
    const QString name = path + QLatin1String(".unreadable-") + stamp;
    QString aside = name;
    for (int n = 2; QFileInfo(aside).exists() || QFileInfo(aside).isSymLink(); ++n)
        aside = name + QLatin1Char('-') + QString::number(n);
    return aside;
}

QString setAside(const QString &path)
{
    const QString aside = unreadableName(path);
    return QFile::rename(path, aside) ? aside : QString();
}

} // namespace UserFile
