#include "localpathoffers.h"

#include <QCollator>
#include <QDir>
#include <QDirIterator>

#include <algorithm>

namespace LocalPathOffers {

namespace {

// A folder with many entries is not read to its end while the user types: at most this many
// matching entries are looked at.
constexpr int kMaxEntriesRead = 500;

const QLatin1String kFileScheme("file://");

} // namespace

bool isPath(const QString &text)
{
    return text.startsWith(QLatin1Char('/'))
        || (text.startsWith(kFileScheme, Qt::CaseInsensitive) && text.mid(7).startsWith(QLatin1Char('/')));
}

QStringList offers(const QString &text, int limit)
{
    if (!isPath(text) || limit <= 0 || text.contains(QChar(0)))
        return {};
    const qsizetype pathStart = text.startsWith(QLatin1Char('/')) ? 0 : kFileScheme.size();
    const QString path = text.mid(pathStart);
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const QString folder = path.left(slash + 1);
    const QString namePrefix = path.mid(slash + 1);
    const QDir dir(folder);
    if (!dir.exists())
        return {};

    QDir::Filters filters = QDir::AllEntries | QDir::NoDotAndDotDot;
    if (namePrefix.startsWith(QLatin1Char('.')))
        filters |= QDir::Hidden;
    QStringList folders;
    QStringList files;
    QDirIterator it(folder, filters);
    int read = 0;
    while (it.hasNext() && read < kMaxEntriesRead) {
        it.next();
        const QString name = it.fileName();
        if (!name.startsWith(namePrefix))
            continue;
        ++read;
        (it.fileInfo().isDir() ? folders : files).append(name);
    }
    QCollator collator;
    collator.setNumericMode(true);
    std::sort(folders.begin(), folders.end(), collator);
    std::sort(files.begin(), files.end(), collator);

    const QString typedFolder = text.left(pathStart) + folder;
    QStringList offered;
    for (const QString &name : std::as_const(folders)) {
        if (offered.size() == limit)
            return offered;
        offered.append(typedFolder + name + QLatin1Char('/'));
    }
    for (const QString &name : std::as_const(files)) {
        if (offered.size() == limit)
            break;
        offered.append(typedFolder + name);
    }
    return offered;
}

} // namespace LocalPathOffers
