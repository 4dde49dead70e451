#include "popupwhitelist.h"

#include "core/notesfiles.h"
#include "core/paths.h"

namespace {

bool isBlank(const QString &text)
{
    return text.trimmed().isEmpty();
}

QString whitelistFile()
{
    return Paths::dataFile(QStringLiteral("Whitelist.qvr"));
}

} // namespace

QString domainName(const QString &url)
{
    static const QLatin1String kWwwSchemes[] = {
        QLatin1String("HTTPS://WWW."), QLatin1String("HTTP://WWW."), QLatin1String("FTP://WWW."),
        QLatin1String("GOPHER://WWW.")};
    static const QLatin1String kSchemes[] = {QLatin1String("HTTPS://"), QLatin1String("HTTP://"),
                                             QLatin1String("FTP://"), QLatin1String("GOPHER://")};

    if (url.startsWith(QLatin1String("FILE://"), Qt::CaseInsensitive))
        return url;

    qsizetype start = -1;
    for (const QLatin1String &prefix : kWwwSchemes) {
        if (url.startsWith(prefix, Qt::CaseInsensitive)) {
            start = prefix.size();
            break;
        }
    }
    if (start < 0 && url.startsWith(QLatin1String("WWW."), Qt::CaseInsensitive))
        start = 4;
    if (start < 0) {
        for (const QLatin1String &prefix : kSchemes) {
            if (url.startsWith(prefix, Qt::CaseInsensitive)) {
                start = prefix.size();
                break;
            }
        }
    }
    const QString rest = url.mid(qMax<qsizetype>(start, 0));
    const qsizetype slash = rest.indexOf(QLatin1Char('/'));
    return slash < 0 ? rest : rest.left(slash);
}

bool whitelistMatches(const QString &url, const QStringList &whitelist)
{
    if (url.isEmpty())
        return false;
    for (const QString &entry : whitelist) {
        if (!isBlank(entry) && url.contains(entry, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

bool addToWhitelist(QStringList &whitelist, const QString &entry)
{
    if (isBlank(entry))
        return false;
    const QString upper = entry.toUpper();
    for (const QString &existing : whitelist) {
        if (existing.toUpper() == upper)
            return true;
    }
    if (whitelist.size() >= kMaxWhitelistEntries)
        return false;
    whitelist.append(entry);
    return true;
}

namespace {

// The list itself, without the read on first use.
QStringList &whitelistEntries()
{
    static QStringList list;
    return list;
}

// Whether "Whitelist.qvr" was read (or tried) this run: until then the list is not the user's.
bool &whitelistRead()
{
    static bool read = false;
    return read;
}

} // namespace

QStringList &programWhitelist()
{
    ensureWhitelistLoaded();
    return whitelistEntries();
}

bool addToWhitelist(const QString &entry)
{
    return addToWhitelist(programWhitelist(), entry);
}

namespace {

// The list as the last load or save left it: an unchanged list is never written back, so a
// file this program reads differently from its author is kept as it is.
QStringList &storedWhitelist()
{
    static QStringList list;
    return list;
}

} // namespace

void loadWhitelist()
{
    whitelistRead() = true;
    bool read = false;
    const QStringList entries = NotesFiles::readWhitelist(whitelistFile(), &read);
    if (read) {
        whitelistEntries() = entries.mid(0, kMaxWhitelistEntries);
        storedWhitelist() = whitelistEntries();
    }
}

void ensureWhitelistLoaded()
{
    if (!whitelistRead())
        loadWhitelist();
}

void readWhitelistAtNextUse()
{
    whitelistRead() = false;
}

bool isWhitelistLoaded()
{
    return whitelistRead();
}

bool saveWhitelist()
{
    // A list never read was never changed: the file stays as it is.
    if (!whitelistRead())
        return true;
    const QStringList list = programWhitelist().mid(0, kMaxWhitelistEntries);
    if (list == storedWhitelist())
        return true;
    if (!NotesFiles::writeWhitelist(whitelistFile(), list))
        return false;
    storedWhitelist() = list;
    return true;
}
