#include "urlshortcut.h"

#include "core/userfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace {

// A shortcut is a few hundred bytes; a larger file is not read.
constexpr qint64 kMaxShortcutSize = 1024 * 1024;

bool isControlChar(QChar c)
{
    return c.unicode() < 33;
}

// "<path>.url", or the file of that name whose extension differs only in letter case.
QString shortcutFile(const QString &pathWithoutExtension)
{
    const QString exact = pathWithoutExtension + QLatin1String(".url");
    if (QFileInfo(exact).isFile())
        return exact;
    const QFileInfo base(pathWithoutExtension);
    const QString wanted = base.fileName() + QLatin1String(".url");
    QStringList candidates;
    const QDir dir = base.dir();
    for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (name.size() == wanted.size() && name.startsWith(base.fileName())
            && name.endsWith(QLatin1String(".url"), Qt::CaseInsensitive))
            candidates.append(name);
    }
    if (candidates.isEmpty())
        return QString();
    candidates.sort();
    return dir.filePath(candidates.first());
}

QString decodeText(const QByteArray &data)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(data);
    if (utf8.hasError())
        text = QString::fromLatin1(data);
    return text;
}

} // namespace

QString trimControlChars(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isControlChar(text.at(begin)))
        ++begin;
    while (end > begin && isControlChar(text.at(end - 1)))
        --end;
    return text.sliced(begin, end - begin);
}

QString readUrlShortcut(const QString &pathWithoutExtension)
{
    if (pathWithoutExtension.isEmpty())
        return QString();
    const QString path = shortcutFile(pathWithoutExtension);
    if (path.isEmpty())
        return QString();
    QByteArray data;
    if (!UserFile::read(path, &data, kMaxShortcutSize))
        return QString();

    const QString text = decodeText(data);
    bool inShortcut = false;
    for (QStringView rawLine : QStringView(text).split(QLatin1Char('\n'))) {
        // A lone carriage return also ends a line.
        for (QStringView part : rawLine.split(QLatin1Char('\r'))) {
            const QString line = trimControlChars(part.toString());
            if (!inShortcut)
                inShortcut = line.contains(QLatin1String("netshortcut"), Qt::CaseInsensitive);
            if (!inShortcut)
                continue;
            const qsizetype at = line.indexOf(QLatin1String("url="), 0, Qt::CaseInsensitive);
            if (at >= 0)
                return line.sliced(at + 4);
        }
    }
    return QString();
}

bool writeUrlShortcut(const QString &filePath, const QString &address)
{
    if (filePath.isEmpty() || address.contains(QLatin1Char('\n')) || address.contains(QLatin1Char('\r')))
        return false;
    return UserFile::save(filePath, "[InternetShortcut]\r\nURL=" + address.toUtf8() + "\r\n");
}
