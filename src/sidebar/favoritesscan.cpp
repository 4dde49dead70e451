#include "favoritesscan.h"

#include "core/userfile.h"
#include "platform/urlshortcut.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

namespace {

constexpr qint64 kPumpIntervalMs = 20;
const QString kLinksFolder = QStringLiteral("Links");
const QString kShortcutSuffix = QStringLiteral(".url");

// A name that would break a cache line (or that no one types) is not listed.
bool hasControlChars(const QString &name)
{
    for (QChar c : name) {
        if (c.unicode() < 32 || c.unicode() == 127)
            return true;
    }
    return false;
}

void appendQuoted(QString &text, const QString &field)
{
    text += QLatin1Char('"');
    if (field.contains(QLatin1Char('"')))
        text += QString(field).replace(QLatin1Char('"'), QLatin1String("\"\""));
    else
        text += field;
    text += QLatin1Char('"');
}

void appendLine(QString &text, const QString &a, const QString &b, const QString &c)
{
    appendQuoted(text, a);
    text += QLatin1Char(',');
    appendQuoted(text, b);
    text += QLatin1Char(',');
    appendQuoted(text, c);
    text += QLatin1String("\r\n");
}

QElapsedTimer &scanClock()
{
    static QElapsedTimer timer;
    if (!timer.isValid())
        timer.start();
    return timer;
}

} // namespace

QString FavoritesScan::childKey(const QString &parentKey, const QString &name)
{
    if (parentKey.isEmpty() || parentKey.endsWith(QLatin1Char('/')))
        return parentKey + name;
    return parentKey + QLatin1Char('/') + name;
}

void FavoritesScan::clear()
{
    m_folders.clear();
    m_records.clear();
    m_linkNames.clear();
    m_linkUrls.clear();
    m_seen.clear();
    m_rootCanonical.clear();
    m_entries = 0;
}

bool FavoritesScan::scan(const QString &folderPath)
{
    clear();
    m_lastPump = scanClock().elapsed() - kPumpIntervalMs; // the first entry lets events run
    QString root = folderPath;
    while (root.size() > 1 && root.endsWith(QLatin1Char('/')))
        root.chop(1);
    m_rootCanonical = QFileInfo(root).canonicalFilePath();
    return scanFolder(QString(), QString(), root);
}

bool FavoritesScan::leadsInside(const QFileInfo &link) const
{
    const QString target = link.canonicalFilePath();
    return !target.isEmpty() && !m_rootCanonical.isEmpty()
        && (target == m_rootCanonical || target.startsWith(m_rootCanonical + QLatin1Char('/')));
}

bool FavoritesScan::pump()
{
    const qint64 now = scanClock().elapsed();
    if (now - m_lastPump < kPumpIntervalMs)
        return true;
    const bool goOn = !m_pump || m_pump();
    m_lastPump = scanClock().elapsed();
    return goOn;
}

bool FavoritesScan::scanFolder(const QString &parentKey, const QString &name, const QString &path)
{
    const bool isRoot = parentKey.isEmpty();
    const QString key = isRoot ? childKey(path, QString()) : childKey(parentKey, name);
    m_folders.append({parentKey, key, isRoot ? QStringLiteral("Favorites") : name});

    const QString canonical = QFileInfo(path).canonicalFilePath();
    if (canonical.isEmpty() || m_seen.contains(canonical))
        return pump();
    m_seen.insert(canonical);
    const bool inLinks = name == kLinksFolder;

    const QDir dir(path);
    const QFileInfoList entries =
        dir.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                          QDir::Name);
    if (!pump())
        return false;
    for (const QFileInfo &entry : entries) {
        if (++m_entries > kMaxEntries)
            return true; // a folder this large is shown in part
        const QString entryName = entry.fileName();
        if (hasControlChars(entryName) || (entry.isSymLink() && !leadsInside(entry)))
            continue;
        if (entry.isDir()) {
            if (!scanFolder(key, entryName, entry.filePath()))
                return false;
            continue;
        }
        if (entryName.size() > kShortcutSuffix.size()
            && entryName.endsWith(kShortcutSuffix, Qt::CaseInsensitive)) {
            addRecord(key, entryName.chopped(kShortcutSuffix.size()), inLinks, QString());
        }
        if (!pump())
            return false;
    }
    return true;
}

void FavoritesScan::addRecord(const QString &folder, const QString &name, bool inLinks,
                              const QString &url)
{
    Record record{folder, name, url};
    if (record.url.isEmpty())
        record.url = readUrlShortcut(childKey(folder, name));
    if (inLinks && m_linkNames.size() < kMaxLinks) {
        m_linkNames.append(record.name);
        m_linkUrls.append(record.url);
    }
    m_records.append(std::move(record));
}

std::optional<QByteArray> FavoritesScan::cacheData(const QList<Node> &nodes,
                                                   const QList<Record> &records,
                                                   const std::function<bool()> &tick)
{
    QString text = QString::number(nodes.size()) + QLatin1String("\r\n");
    for (qsizetype i = 0; i < nodes.size(); ++i) {
        const Node &node = nodes.at(i);
        appendLine(text, i == 0 ? QStringLiteral("first") : node.parentKey, node.key, node.text);
        if (tick && !tick())
            return std::nullopt;
    }
    for (const Record &record : records) {
        appendLine(text, record.folder, record.name, record.url);
        if (tick && !tick())
            return std::nullopt;
    }
    return text.toUtf8();
}

QStringList FavoritesScan::parseFields(QStringView line)
{
    // A quote ends a field when a comma and the next field's quote, or the line's end, follow
    // it; a doubled quote is one quote; any other quote is part of the text (older caches did
    // not double inner quotes).
    QStringList fields;
    qsizetype i = 0;
    const qsizetype n = line.size();
    while (i < n) {
        while (i < n && line.at(i) != QLatin1Char('"'))
            ++i;
        if (i >= n)
            break;
        ++i; // opening quote
        QString field;
        while (i < n) {
            const QChar c = line.at(i);
            if (c != QLatin1Char('"')) {
                field += c;
                ++i;
                continue;
            }
            if (i + 1 < n && line.at(i + 1) == QLatin1Char('"')) {
                field += c;
                i += 2;
                continue;
            }
            const bool atEnd = i + 1 >= n;
            const bool beforeNext = i + 2 < n && line.at(i + 1) == QLatin1Char(',')
                && line.at(i + 2) == QLatin1Char('"');
            if (atEnd || beforeNext) {
                ++i;
                break;
            }
            field += c;
            ++i;
        }
        fields.append(field);
        if (i < n && line.at(i) == QLatin1Char(','))
            ++i;
    }
    return fields;
}

bool FavoritesScan::readCache(const QString &path, QList<Node> *nodes, QList<Record> *records)
{
    nodes->clear();
    records->clear();
    QByteArray data;
    if (!UserFile::read(path, &data))
        return false;
    const QString text = QString::fromUtf8(data);
    QList<QStringView> lines = QStringView(text).split(QLatin1Char('\n'));
    if (lines.isEmpty())
        return false;
    bool ok = false;
    const qsizetype count = lines.takeFirst().trimmed().toLongLong(&ok);
    if (!ok || count < 0)
        return false;
    for (QStringView raw : lines) {
        if (raw.endsWith(QLatin1Char('\r')))
            raw.chop(1);
        if (raw.isEmpty())
            continue;
        QStringList fields = parseFields(raw);
        fields.resize(3);
        if (nodes->size() < count) {
            if (nodes->isEmpty())
                fields[0].clear();
            nodes->append({fields.at(0), fields.at(1), fields.at(2)});
        } else {
            records->append({fields.at(0), fields.at(1), fields.at(2)});
        }
    }
    return true;
}
