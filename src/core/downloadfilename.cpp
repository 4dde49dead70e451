#include "downloadfilename.h"

#include <QChar>
#include <QList>

namespace {

// How many numbered names are tried before giving up.
constexpr int kMaxNumber = 9999;
// An extension longer than this is part of the name, not kept whole when it is shortened.
constexpr qsizetype kMaxExtension = 16;

bool isUnwanted(char32_t c)
{
    switch (QChar::category(c)) {
    case QChar::Other_Control:
    case QChar::Other_Format: // right-to-left overrides and the like disguise an extension
    case QChar::Other_Surrogate:
        return true;
    default:
        return c == U'/' || c == U'\\';
    }
}

bool isTrimmed(QChar c)
{
    return c == u'.' || c.isSpace();
}

// Where the extension starts ("x.tar.gz" keeps ".tar.gz"); -1 when there is none.
qsizetype extensionStart(const QString &name)
{
    qsizetype dot = name.lastIndexOf(u'.');
    if (dot <= 0)
        return -1;
    const qsizetype tar = dot - 4;
    if (tar > 0 && name.mid(tar, 4).compare(QLatin1String(".tar"), Qt::CaseInsensitive) == 0)
        dot = tar;
    return dot;
}

// Cuts the stem (before a short extension) until the name fits kMaxNameBytes.
QString shortened(const QString &name)
{
    if (name.toUtf8().size() <= DownloadFileName::kMaxNameBytes)
        return name;
    const qsizetype dot = extensionStart(name);
    const bool keepExtension = dot > 0 && name.size() - dot <= kMaxExtension;
    QString stem = keepExtension ? name.left(dot) : name;
    const QString extension = keepExtension ? name.mid(dot) : QString();
    const qsizetype budget = DownloadFileName::kMaxNameBytes - extension.toUtf8().size();
    while (!stem.isEmpty() && stem.toUtf8().size() > budget) {
        stem.chop(1);
        if (!stem.isEmpty() && stem.back().isHighSurrogate())
            stem.chop(1);
    }
    return stem + extension;
}

} // namespace

namespace DownloadFileName {

QString clean(const QString &suggested, const QString &fallback)
{
    QString name;
    name.reserve(suggested.size());
    for (const char32_t c : suggested.trimmed().toUcs4()) {
        if (isUnwanted(c))
            name += u'_';
        else
            name += QString::fromUcs4(&c, 1);
    }
    qsizetype begin = 0;
    qsizetype end = name.size();
    while (begin < end && isTrimmed(name.at(begin)))
        ++begin;
    while (end > begin && isTrimmed(name.at(end - 1)))
        --end;
    name = shortened(name.mid(begin, end - begin));
    // A leading colon would make the path a resource's rather than a file's in the folder.
    if (name.startsWith(u':'))
        name[0] = u'_';
    return name.isEmpty() ? fallback : name;
}

QString partName(const QString &name, const TakenTest &taken)
{
    const QString suffix = QStringLiteral(".part");
    if (!taken(name + suffix))
        return name + suffix;
    for (int n = 1; n <= kMaxNumber; ++n) {
        const QString candidate = name + u'.' + QString::number(n) + suffix;
        if (!taken(candidate))
            return candidate;
    }
    return QString();
}

QString freeName(const QString &name, const TakenTest &taken)
{
    if (!taken(name))
        return name;
    const qsizetype dot = extensionStart(name);
    const QString stem = dot > 0 ? name.left(dot) : name;
    const QString extension = dot > 0 ? name.mid(dot) : QString();
    for (int n = 1; n <= kMaxNumber; ++n) {
        const QString candidate = stem + QLatin1String(" (") + QString::number(n) + u')' + extension;
        if (!taken(candidate))
            return candidate;
    }
    return QString();
}

} // namespace DownloadFileName
