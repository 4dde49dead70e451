#include "websitegroups.h"

#include "core/paths.h"
#include "core/userfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

constexpr char kHeaderWord[] = "qorvix";
constexpr int kHeaderSize = 6;
constexpr QFileDevice::Permissions kUserOnlyFolder =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;

QString extension(bool isProtected)
{
    return isProtected ? QStringLiteral(".gbs") : QStringLiteral(".gbr");
}

bool isLatin1(const QString &text)
{
    for (QChar c : text) {
        if (c.unicode() > 0xFF)
            return false;
    }
    return true;
}

QByteArray scramble(const QStringList &addresses, quint8 key)
{
    QByteArray data;
    data.reserve(kHeaderSize + WebsiteGroups::kRecordSize * addresses.size());
    for (int i = 0; i < kHeaderSize; ++i)
        data.append(char(quint8(kHeaderWord[i]) ^ key));
    for (const QString &address : addresses) {
        QByteArray record(WebsiteGroups::kRecordSize, char(key));
        const QByteArray codes = address.left(WebsiteGroups::kRecordSize).toLatin1();
        for (int j = 0; j < codes.size(); ++j)
            record[j] = char(quint8(codes[j]) ^ key);
        data.append(record);
    }
    return data;
}

} // namespace

QString WebsiteGroups::defaultFolder()
{
    return Paths::dataFile(QStringLiteral("groups"));
}

WebsiteGroups::WebsiteGroups(const QString &folder) : m_folder(folder) {}

QList<WebsiteGroups::Group> WebsiteGroups::groups() const
{
    QList<Group> rows;
    const QFileInfoList entries =
        QDir(m_folder).entryInfoList(QDir::Files | QDir::Hidden | QDir::NoSymLinks,
                                     QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo &entry : entries) {
        const QString file = entry.fileName();
        if (file.size() <= 4)
            continue;
        const QString ext = file.right(4).toLower();
        if (ext != extension(false) && ext != extension(true))
            continue;
        // Each row goes to the top of the list, so the last file comes first.
        rows.prepend(Group{file.chopped(4), ext == extension(true), entry.filePath()});
    }
    return rows;
}

QString WebsiteGroups::findFile(const QString &name, bool isProtected) const
{
    // Same name and extension first, then the same name with the extension in any case, then
    // the name in any case: the dialog treats names that differ in case as one group.
    QString best;
    int bestRank = 3;
    const QString wanted = name + extension(isProtected);
    for (const Group &group : groups()) {
        if (group.isProtected != isProtected || group.name.compare(name, Qt::CaseInsensitive))
            continue;
        const QString file = QFileInfo(group.filePath).fileName();
        const int rank = file == wanted ? 0 : group.name == name ? 1 : 2;
        if (rank < bestRank) {
            best = group.filePath;
            bestRank = rank;
        }
    }
    return best;
}

quint8 WebsiteGroups::keyFromPassword(const QString &password)
{
    quint32 sum = 0;
    for (QChar c : password)
        sum += c.unicode() > 0xFF ? quint32('?') : c.unicode();
    return quint8(sum % 256);
}

bool WebsiteGroups::openGroup(const QString &name, bool isProtected, const QString &password,
                              const std::function<void(const QString &)> &openAddress,
                              OpenFailure *failure) const
{
    OpenFailure ignored;
    OpenFailure &why = failure ? *failure : ignored;
    why = OpenFailure::Unreadable;
    const QString path = findFile(name, isProtected);
    if (path.isEmpty())
        return false;
    QByteArray data;
    if (!UserFile::read(path, &data))
        return false;

    if (!isProtected) {
        // Lines of some other file's bytes would each open a tab.
        if (data.contains('\0')) {
            why = OpenFailure::Damaged;
            return false;
        }
        why = OpenFailure::None;
        for (QByteArray line : data.split('\n')) {
            if (line.endsWith('\r'))
                line.chop(1);
            if (!line.isEmpty() && openAddress)
                openAddress(QString::fromUtf8(line));
        }
        return true;
    }

    why = OpenFailure::WrongPassword;
    if (!isLatin1(password) || data.size() < kHeaderSize)
        return false;
    const quint8 key = keyFromPassword(password);
    for (int i = 0; i < kHeaderSize; ++i) {
        if ((quint8(data[i]) ^ key) != quint8(kHeaderWord[i]))
            return false;
    }
    why = OpenFailure::None;
    qsizetype at = kHeaderSize;
    for (; at + kRecordSize <= data.size(); at += kRecordSize) {
        QString address;
        for (int j = 0; j < kRecordSize && quint8(data[at + j]) != key; ++j)
            address.append(QChar(quint8(data[at + j]) ^ key));
        if (!address.isEmpty() && openAddress)
            openAddress(address);
    }
    if (at != data.size()) {
        why = OpenFailure::Damaged;
        return false;
    }
    return true;
}

bool WebsiteGroups::saveGroup(const QString &name, bool isProtected, const QString &password,
                              const QStringList &addresses)
{
    if (!isValidName(name))
        return false;
    QByteArray data;
    if (isProtected) {
        if (!isLatin1(password))
            return false;
        for (const QString &address : addresses) {
            if (!isLatin1(address.left(kRecordSize)))
                return false;
        }
        data = scramble(addresses, keyFromPassword(password));
    } else {
        for (const QString &address : addresses)
            data += address.toUtf8() + "\r\n";
    }

    if (!QFileInfo(m_folder).isDir()) {
        if (!QDir().mkpath(m_folder))
            return false;
        QFile::setPermissions(m_folder, kUserOnlyFolder);
    }
    QString path = findFile(name, isProtected);
    if (path.isEmpty()) {
        // Put together rather than through QDir::filePath, which takes a name starting with ':'
        // for a resource path and would leave it outside the folder.
        path = m_folder + QLatin1Char('/') + name + extension(isProtected);
        // Never write through a link someone left under the group's name (the list shows no
        // links): what the group holds is kept beside it instead.
        if (QFileInfo(path).isSymLink()) {
            UserFile::keepUnsaved(path, data);
            return false;
        }
    }
    return UserFile::save(path, data);
}

bool WebsiteGroups::deleteGroup(const QString &name, bool isProtected)
{
    const QString path = findFile(name, isProtected);
    if (path.isEmpty())
        return true;
    QFile::remove(path);
    return !QFileInfo::exists(path);
}

bool WebsiteGroups::isValidName(const QString &name)
{
    if (name.isEmpty() || name.size() > kMaxNameLength || name == QLatin1String(".") ||
        name == QLatin1String(".."))
        return false;
    for (QChar c : name) {
        if (c == u'/' || c == u'\\' || c.category() == QChar::Other_Control)
            return false;
    }
    return true;
}
