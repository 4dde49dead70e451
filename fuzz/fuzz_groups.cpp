// Website group files (".gbr" text, ".gbs" scrambled): opening one, and saving what was opened
// as a group of its own, which must open again to the same addresses.
//
// The first byte picks the kind and the password: 0 plain, 1 protected with the password whose
// key the header was scrambled with (so the records are read), 2 protected with a fixed
// password, 3 protected with a password outside Latin-1; bit 2 writes the file's extension in
// capitals. The rest is the file.
#include "fuzzinput.h"
#include "sidebar/websitegroups.h"

#include <QFileInfo>

#include <cstdlib>

namespace {

QStringList openedAddresses(const WebsiteGroups &groups, const QString &name, bool isProtected,
                            const QString &password, bool *ok)
{
    QStringList addresses;
    *ok = groups.openGroup(name, isProtected, password,
                           [&addresses](const QString &address) { addresses << address; });
    return addresses;
}

QString passwordFor(int mode, const QByteArray &file)
{
    switch (mode) {
    case 1:
        // One character whose code is the key: the first header byte is 'q' scrambled with it.
        return QString(QChar(file.isEmpty() ? 0 : quint8(file.at(0)) ^ quint8('q')));
    case 2: return QStringLiteral("secret");
    case 3: return QStringLiteral("p\u0151ssword");
    default: return QString();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    static const QString folder = QDir::tempPath() + QStringLiteral("/quarvel-fuzz-groups");
    static const bool made = QDir().mkpath(folder);
    if (!made)
        abort();
    WebsiteGroups groups(folder);

    const int mode = data[0] & 3;
    const bool isProtected = mode != 0;
    const QByteArray file = fuzzBytes(data + 1, size - 1);
    QString extension = isProtected ? QStringLiteral(".gbs") : QStringLiteral(".gbr");
    if (data[0] & 4)
        extension = extension.toUpper();
    const QString name = QStringLiteral("fuzz");
    const QString filePath = folder + QLatin1Char('/') + name + extension;
    QFile out(filePath);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        abort();
    out.write(file);
    out.close();

    const QString password = passwordFor(mode, file);
    bool ok = false;
    const QStringList addresses = openedAddresses(groups, name, isProtected, password, &ok);
    // A plain file opens unless it holds a NUL byte (another file's bytes), and then opens nothing.
    if (!isProtected && ok == file.contains('\0'))
        abort();
    if (!ok && !isProtected && !addresses.isEmpty())
        abort();

    if (!addresses.isEmpty()) {
        // Saved under a name taken from the first address when that name is allowed: a name
        // isValidName accepts must land as a file inside the folder.
        QString again = addresses.first().left(WebsiteGroups::kMaxNameLength);
        if (!WebsiteGroups::isValidName(again))
            again = QStringLiteral("again");
        if (!groups.saveGroup(again, isProtected, password, addresses))
            abort();
        bool inFolder = false;
        for (const WebsiteGroups::Group &group : groups.groups()) {
            // The dialog treats names that differ in case as one group, so "FUZZ" may have
            // rewritten the file "fuzz".
            if (!group.name.compare(again, Qt::CaseInsensitive) && group.isProtected == isProtected
                && QFileInfo(group.filePath).absolutePath() == QFileInfo(folder).absoluteFilePath())
                inFolder = true;
        }
        if (!inFolder)
            abort();
        bool reopened = false;
        if (openedAddresses(groups, again, isProtected, password, &reopened) != addresses
            || !reopened)
            abort();
        groups.deleteGroup(again, isProtected);
    }
    QFile::remove(filePath);
    return 0;
}
