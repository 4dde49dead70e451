#include "userfile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

Found find(const QString &path)
{
    // stat() follows links: a link to a file is the file, one that leads nowhere is nothing.
    // Something that cannot be looked at (a loop of links) is not a file either.
    if (path.isEmpty())
        return Found::Nothing;
    struct stat status;
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return errno == ENOENT || errno == ENOTDIR ? Found::Nothing : Found::NotAFile;
    return S_ISREG(status.st_mode) ? Found::File : Found::NotAFile;
}

bool read(const QString &path, QByteArray *data, qint64 maxSize)
{
    if (find(path) != Found::File)
        return false;
    // Opened without waiting and looked at again: what was swapped in after the check is not
    // read either.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat status;
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) || ::fcntl(fd, F_SETFL, 0) != 0) {
        ::close(fd);
        return false;
    }
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    if (maxSize >= 0 && file.size() > maxSize)
        return false;
    *data = maxSize >= 0 ? file.read(maxSize + 1) : file.readAll();
    return file.error() == QFileDevice::NoError && (maxSize < 0 || data->size() <= maxSize);
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
