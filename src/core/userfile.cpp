#include "userfile.h"
#include "saverefusalnotifier.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QSaveFile>

#include <cerrno>
#include <climits>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr QFileDevice::Permissions kUserOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
// As many links as the system itself follows in one name.
constexpr int kMaxLinks = 40;

QByteArray nativeName(const QString &path)
{
    return QFile::encodeName(path);
}

// The folder the last name of path is in, as written: ".." after a link is left for the
// system to resolve.
QString folderOf(const QString &path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    if (slash < 0)
        return QStringLiteral(".");
    return slash == 0 ? QStringLiteral("/") : path.left(slash);
}

// Whether a link may lead to a new file in folder: one of the user's, where not everyone may
// put a name of their own.
bool isOwnFolder(const QString &folder)
{
    struct stat status;
    return ::stat(nativeName(folder).constData(), &status) == 0 && S_ISDIR(status.st_mode) &&
           status.st_uid == ::geteuid() && (status.st_mode & S_IWOTH) == 0;
}

// Where the link at path leads; empty when it cannot be read.
QString linkTarget(const QString &path)
{
    QByteArray target(PATH_MAX, '\0');
    const ssize_t length = ::readlink(nativeName(path).constData(), target.data(), target.size());
    if (length <= 0 || length >= target.size())
        return QString();
    target.truncate(length);
    const QString name = QFile::decodeName(target);
    return name.startsWith(QLatin1Char('/')) ? name : folderOf(path) + QLatin1Char('/') + name;
}

// Whether a regular file or nothing stands at path itself (a link there is neither).
bool isFileOrNothing(const QString &path)
{
    struct stat status;
    if (::lstat(nativeName(path).constData(), &status) != 0)
        return errno == ENOENT;
    return S_ISREG(status.st_mode);
}

bool isRegularFile(const QString &path)
{
    struct stat status;
    return ::lstat(nativeName(path).constData(), &status) == 0 && S_ISREG(status.st_mode);
}

// path + tag + date and time, numbered from 2 on.
QString asideName(const QString &path, QLatin1String tag, int number)
{
    static const QString format = QStringLiteral("yyyyMMdd-hhmmss");
    QString name = path + tag + QDateTime::currentDateTime().toString(format);
    if (number > 1)
        name += QLatin1Char('-') + QString::number(number);
    return name;
}

// The atomic write itself, to a target where a regular file or nothing stood when looked at.
// The temporary file is made beside the target, and what stands there is looked at again
// just before it takes the target's place.
UserFile::Saved writeAtomically(const QString &target, const QByteArray &data,
                                QFileDevice::Permissions mode)
{
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly))
        return UserFile::Saved::Failed;
    // The temporary file gets the mode before any byte is written; the commit renames it.
    file.setPermissions(mode);
    // The explicit flush reports a failing final write, which commit() alone can miss.
    if (file.write(data) != data.size() || !file.flush()) {
        file.cancelWriting();
        return UserFile::Saved::Failed;
    }
    if (!isFileOrNothing(target)) {
        file.cancelWriting();
        return UserFile::Saved::Refused;
    }
    if (!file.commit())
        return UserFile::Saved::Failed;
    QFile::setPermissions(target, mode);
    return UserFile::Saved::Written;
}

// Writes data into a new file beside path, under the first free name path.unsaved-<date>; the
// file's name, or empty when none could be made and written whole (nothing is left then).
QString writeNewBeside(const QString &path, const QByteArray &data)
{
    for (int number = 1; number < 100; ++number) {
        const QString name = asideName(path, QLatin1String(".unsaved-"), number);
        const QByteArray native = nativeName(name);
        // A name taken meanwhile, by anything at all (a link too), is never written through.
        const int fd = ::open(native.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            return QString();
        }
        qsizetype written = 0;
        while (written < data.size()) {
            const ssize_t n = ::write(fd, data.constData() + written, size_t(data.size() - written));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            written += n;
        }
        const bool whole = written == data.size() && ::fsync(fd) == 0;
        if (::close(fd) != 0 || !whole) {
            ::unlink(native.constData());
            return QString();
        }
        return name;
    }
    return QString();
}

// The refused saves of this run: the file kept for each path, and those not yet told.
struct Refusals
{
    QMutex mutex;
    QHash<QString, QString> keptFor;
    QList<UserFile::RefusedSave> untold;
};

Refusals &refusals()
{
    static Refusals refused;
    return refused;
}

} // namespace

namespace UserFile {

Saved saveOrKeep(const QString &path, const QByteArray &data, QFileDevice::Permissions mode)
{
    const QString target = writeTarget(path);
    const Saved saved = target.isEmpty() ? Saved::Refused : writeAtomically(target, data, mode);
    if (saved == Saved::Refused)
        keepUnsaved(path, data);
    return saved;
}

bool save(const QString &path, const QByteArray &data, QFileDevice::Permissions mode)
{
    return saveOrKeep(path, data, mode) == Saved::Written;
}

QString writeTarget(const QString &path)
{
    if (path.isEmpty())
        return QString();
    QString at = path;
    for (int links = 0; links <= kMaxLinks; ++links) {
        struct stat status;
        if (::lstat(nativeName(at).constData(), &status) != 0) {
            // Nothing stands at the path itself (or it cannot be reached: the write then fails
            // as a write). A link is followed to nothing only in a folder of the user's.
            if (links == 0)
                return at;
            return errno == ENOENT && isOwnFolder(folderOf(at)) ? at : QString();
        }
        if (S_ISREG(status.st_mode))
            return at;
        if (!S_ISLNK(status.st_mode))
            return QString();
        at = linkTarget(at);
        if (at.isEmpty())
            return QString();
    }
    return QString();
}

bool createEmpty(const QString &path)
{
    const int fd = ::open(nativeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    return fd >= 0 && ::close(fd) == 0;
}

QString keepUnsaved(const QString &path, const QByteArray &data)
{
    Refusals &refused = refusals();
    QString kept;
    {
        const QMutexLocker lock(&refused.mutex);
        const QString key = QFileInfo(path).absoluteFilePath();
        const auto known = refused.keptFor.constFind(key);
        const QString keptBefore = known == refused.keptFor.constEnd() ? QString() : *known;
        // The file kept before is still ours to rewrite while it stands as we left it.
        if (!keptBefore.isEmpty() && isRegularFile(keptBefore) &&
            writeAtomically(keptBefore, data, kUserOnly) == Saved::Written)
            return keptBefore;
        kept = writeNewBeside(path, data);
        const bool toldBefore = known != refused.keptFor.constEnd();
        refused.keptFor.insert(key, kept);
        if (toldBefore && kept.isEmpty())
            return kept;
        refused.untold.append({path, kept});
    }
    emit refusalNotifier().saveRefused();
    return kept;
}

QList<RefusedSave> takeRefusedSaves()
{
    Refusals &refused = refusals();
    const QMutexLocker lock(&refused.mutex);
    return std::exchange(refused.untold, {});
}

SaveRefusalNotifier &refusalNotifier()
{
    static SaveRefusalNotifier notifier;
    return notifier;
}

Found find(const QString &path)
{
    // stat() follows links: a link to a file is the file, one that leads nowhere is nothing.
    // Something that cannot be looked at (a loop of links) is not a file either.
    if (path.isEmpty())
        return Found::Nothing;
    struct stat status;
    if (::stat(nativeName(path).constData(), &status) != 0)
        return errno == ENOENT || errno == ENOTDIR ? Found::Nothing : Found::NotAFile;
    return S_ISREG(status.st_mode) ? Found::File : Found::NotAFile;
}

bool read(const QString &path, QByteArray *data, qint64 maxSize)
{
    if (find(path) != Found::File)
        return false;
    // Opened without waiting and looked at again: what was swapped in after the check is not
    // read either.
    const int fd = ::open(nativeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
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
    QString aside = asideName(path, QLatin1String(".unreadable-"), 1);
    for (int n = 2; QFileInfo(aside).exists() || QFileInfo(aside).isSymLink(); ++n)
        aside = asideName(path, QLatin1String(".unreadable-"), n);
    return aside;
}

QString setAside(const QString &path)
{
    const QString aside = unreadableName(path);
    return QFile::rename(path, aside) ? aside : QString();
}

} // namespace UserFile
