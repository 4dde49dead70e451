#include "bigfiles.h"

#include "benchcleanup.h"
#include "benchhome.h"
#include "core/formstore.h"
#include "core/historystore.h"
#include "core/notesfiles.h"
#include "sidebar/favoritesscan.h"
#include "sidebar/rssdatabase.h"
#include "sidebar/websitegroups.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <unistd.h>

namespace {

const QString kSettings = QStringLiteral("settings"), kNotes = QStringLiteral("notes"),
              kWhitelist = QStringLiteral("whitelist"), kGroups = QStringLiteral("groups"),
              kFavoritesCache = QStringLiteral("favcache"), kFavorites = QStringLiteral("favorites"),
              kLayout = QStringLiteral("layout"), kForm = QStringLiteral("form"),
              kFeeds = QStringLiteral("rss"), kHistory = QStringLiteral("history");

// What every earlier exit leaves in the settings of a user who has run the program before.
const QByteArray kReturningUser = "[CustomLinks]\r\nCustomLinksCount=0\r\n";

// Where each kind lives below a home ("config/Quarvel", "data/Quarvel").
QString homePath(const QString &kind)
{
    static const QHash<QString, QString> paths = {
        {kSettings, QStringLiteral("config/Quarvel/Quarvel.ini")},
        {kNotes, QStringLiteral("data/Quarvel/notes.qvr")},
        {kWhitelist, QStringLiteral("data/Quarvel/Whitelist.qvr")},
        {kGroups, QStringLiteral("data/Quarvel/groups")},
        {kFavoritesCache, QStringLiteral("data/Quarvel/quarvel.ini")},
        {kFavorites, QStringLiteral("data/Quarvel/Favorites")},
        {kLayout, QStringLiteral("data/Quarvel/layout.xml")},
        {kForm, QStringLiteral("data/Quarvel/form.bin")},
        {kFeeds, QStringLiteral("data/Quarvel/newsfeeddb.mdb")},
        {kHistory, QStringLiteral("data/Quarvel/history.db")},
    };
    return paths.value(kind);
}

// Addresses and words of the kind people collect: the same generator gives the same files.
class Words
{
public:
    QString word()
    {
        static const char *const kWords[] = {
            "news", "garden", "recipe", "travel", "guide", "review", "market", "weather", "forum",
            "library", "photo", "music", "sport", "science", "history", "school", "bank", "shop",
            "city", "train", "map", "video", "game", "health", "film", "book", "code", "art"};
        return QString::fromLatin1(kWords[m_random.bounded(int(std::size(kWords)))]);
    }
    QString sentence(int words)
    {
        QStringList parts;
        for (int i = 0; i < words; ++i)
            parts.append(word());
        parts.first()[0] = parts.first()[0].toUpper();
        return parts.join(u' ');
    }
    QString host() { return word() + word() + QString::number(m_random.bounded(1000)) + QStringLiteral(".example"); }
    QString address()
    {
        return QStringLiteral("https://www.") + host() + u'/' + word() + u'/' + word() +
               QStringLiteral("?id=") + QString::number(m_random.bounded(1000000));
    }
    int number(int below) { return m_random.bounded(below); }

private:
    QRandomGenerator m_random{20240601};
};

void writeFile(const QString &path, const QByteArray &data)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size())
        qFatal("Cannot write %s", qPrintable(path));
}

// Lines from next() until the text holds about bytes.
QByteArray linesUpTo(qint64 bytes, const std::function<QString()> &next, const QByteArray &end = "\r\n")
{
    QByteArray out;
    out.reserve(bytes + 4096);
    while (out.size() < bytes)
        out += next().toUtf8() + end;
    return out;
}

qint64 treeBytes(const QString &path)
{
    if (QFileInfo(path).isFile())
        return QFileInfo(path).size();
    qint64 total = 0;
    QDirIterator it(path, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        total += it.nextFileInfo().size();
    return total;
}

void copyTree(const QString &from, const QString &to, bool link)
{
    if (QFileInfo(from).isFile()) {
        QDir().mkpath(QFileInfo(to).path());
        const bool done = link ? ::link(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0
                               : QFile::copy(from, to);
        if (!done)
            qFatal("Cannot copy %s", qPrintable(from));
        QFile(to).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        return;
    }
    QDir().mkpath(to);
    const QFileInfoList entries = QDir(from).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot);
    for (const QFileInfo &entry : entries)
        copyTree(entry.filePath(), to + u'/' + entry.fileName(), link);
}

// Runs fill in one transaction on the database file (its tables made by the program's class).
void fillDatabase(const QString &path, const std::function<void(QSqlQuery &)> &fill)
{
    const QString connection = QStringLiteral("bigFiles");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(path);
        if (!db.open())
            qFatal("Cannot open %s", qPrintable(path));
        QSqlQuery q(db);
        db.transaction();
        fill(q);
        db.commit();
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
}

} // namespace

BigFiles::BigFiles(int fileMb, int dbMb) : m_fileBytes(qint64(fileMb) << 20), m_dbBytes(qint64(dbMb) << 20)
{
    if (!m_dir.isValid())
        qFatal("Cannot make a temporary folder");
    BenchCleanup::addFolder(m_dir.path());
    makeSettings(stored(kSettings));
    makeNotes(stored(kNotes));
    makeWhitelist(stored(kWhitelist));
    makeGroups(stored(kGroups));
    makeFavorites(stored(kFavorites), stored(kFavoritesCache));
    makeLayout(stored(kLayout));
    makeForm(stored(kForm));
    makeHistory(stored(kHistory));
    makeFeeds(stored(kFeeds));
}

QStringList BigFiles::kinds()
{
    return {kSettings, kNotes, kWhitelist, kGroups, kFavoritesCache, kFavorites,
            kLayout,   kForm,  kFeeds,     kHistory};
}

QString BigFiles::stored(const QString &kind) const
{
    return m_dir.filePath(homePath(kind));
}

double BigFiles::sizeMb(const QString &kind) const
{
    return treeBytes(stored(kind)) / 1048576.0;
}

void BigFiles::putInto(BenchHome &home, const QStringList &kinds) const
{
    if (!kinds.contains(kSettings))
        writeFile(home.filePath(homePath(kSettings)), kReturningUser);
    for (const QString &kind : kinds) {
        const bool manySmall = kind == kGroups || kind == kFavorites;
        copyTree(stored(kind), home.filePath(homePath(kind)), manySmall);
    }
}

void BigFiles::makeSettings(const QString &path) const
{
    // Saved pages of many earlier sessions (the store never deletes a key) and the quick
    // search's remembered queries, in the sections the program keeps them in.
    Words words;
    int document = 0, query = 0;
    QByteArray text = "[Settings]\r\nFirstTime=False\r\n";
    text += linesUpTo(m_fileBytes * 3 / 4, [&] {
        return QStringLiteral("Document%1=%2").arg(++document).arg(words.address());
    });
    text += linesUpTo(m_fileBytes / 4, [&] {
        return QStringLiteral("QSearchSearchListItem%1=%2").arg(++query).arg(words.sentence(3));
    });
    text += "[General]\r\nSaveDocumentOnExit=True\r\n" + kReturningUser;
    writeFile(path, text);
}

void BigFiles::makeNotes(const QString &path) const
{
    Words words;
    int line = 0;
    QString text = linesUpTo(m_fileBytes, [&] {
        return ++line % 7 == 0 ? QString() : QStringLiteral("%1 %2").arg(words.sentence(8), words.address());
    }, "\n");
    text.chop(1);
    QDir().mkpath(QFileInfo(path).path());
    if (!NotesFiles::writeQuickNotes(path, text))
        qFatal("Cannot write %s", qPrintable(path));
}

void BigFiles::makeWhitelist(const QString &path) const
{
    // A whitelist merged from other lists over the years: more lines than the program keeps.
    Words words;
    const QByteArray entries = linesUpTo(m_fileBytes, [&] { return words.host(); });
    writeFile(path, " " + QByteArray::number(entries.count('\n')) + " \r\n" + entries);
}

void BigFiles::makeGroups(const QString &folder) const
{
    Words words;
    QDir().mkpath(folder);
    WebsiteGroups groups(folder);
    constexpr int kGroupCount = 200;
    const qint64 perGroup = m_fileBytes / kGroupCount;
    for (int g = 0; g < kGroupCount; ++g) {
        QStringList addresses;
        qint64 bytes = 0;
        while (bytes < perGroup) {
            addresses.append(words.address());
            bytes += addresses.last().size() + 2;
        }
        if (!groups.saveGroup(QStringLiteral("%1 %2").arg(words.word()).arg(g), false, QString(), addresses))
            qFatal("Cannot write a group in %s", qPrintable(folder));
    }
}

void BigFiles::makeFavorites(const QString &folder, const QString &cachePath) const
{
    // Shortcuts as saved by browsers over the years: a base address and the address itself,
    // both with their tracking queries, an icon and a date; in a few hundred folders.
    Words words;
    QList<FavoritesScan::Node> nodes = {{QString(), folder + u'/', QStringLiteral("Favorites")}};
    QList<FavoritesScan::Record> records;
    constexpr int kFolders = 200;
    for (int f = 0; f < kFolders; ++f) {
        const QString name = QStringLiteral("%1 %2").arg(words.word()).arg(f);
        nodes.append({folder + u'/', folder + u'/' + name, name});
    }
    qint64 bytes = 0;
    for (int f = 0; bytes < m_fileBytes; f = (f + 1) % kFolders) {
        const QString key = nodes[f + 1].key;
        QString query;
        for (int p = 0; p < 24; ++p)
            query += QStringLiteral("&%1=%2").arg(words.word()).arg(words.number(1 << 30));
        const QString url = words.address() + query;
        const QString title = words.sentence(4) + u' ' + QString::number(records.size());
        const QByteArray shortcut = QStringLiteral(
            "[DEFAULT]\r\nBASEURL=%1\r\n[InternetShortcut]\r\nURL=%1\r\nIconFile=https://%2/favicon.ico\r\n"
            "IconIndex=1\r\nModified=%3\r\nHotKey=0\r\n[{000214A0-0000-0000-C000-000000000046}]\r\nProp3=19,2\r\n")
            .arg(url, words.host()).arg(words.number(1 << 30), 0, 16).toUtf8();
        writeFile(key + u'/' + title + QStringLiteral(".url"), shortcut);
        records.append({key, title, url});
        bytes += shortcut.size();
    }
    // The cache is as large as the folder's content once listed.
    const std::optional<QByteArray> cache = FavoritesScan::cacheData(nodes, records);
    QByteArray padded = *cache;
    for (qsizetype i = 0; padded.size() < m_fileBytes; i = (i + 1) % records.size()) {
        const FavoritesScan::Record &r = records[i];
        padded += QStringLiteral("\"%1\",\"%2 copy\",\"%3\"\r\n").arg(r.folder, r.name, r.url).toUtf8();
    }
    writeFile(cachePath, padded);
}

void BigFiles::makeLayout(const QString &path) const
{
    // The layout as last written, preceded by the comments of a user who kept notes on it.
    Words words;
    const QByteArray comments = linesUpTo(m_fileBytes, [&] { return QStringLiteral("<!-- %1 -->").arg(words.sentence(10)); }, "\n");
    writeFile(path, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" + comments +
                        "<rebar version=\"1\">\n"
                        "    <band key=\"MenuBar\" newrow=\"1\" visible=\"1\" width=\"0\"/>\n"
                        "    <band key=\"Addressbar\" newrow=\"1\" visible=\"1\" width=\"0\"/>\n"
                        "    <band key=\"Tabbar\" newrow=\"1\" visible=\"1\" width=\"0\"/>\n"
                        "</rebar>\n");
}

void BigFiles::makeForm(const QString &path) const
{
    Words words;
    FormStore store;
    qint64 bytes = 0;
    static const char *const kKeys[] = {"name", "email", "street", "city", "phone", "company", "search", "q"};
    for (int i = 0; bytes < m_fileBytes; ++i) {
        const QString value = words.sentence(3) + u' ' + QString::number(i);
        store.setValue(QString::fromLatin1(kKeys[i % std::size(kKeys)]), value, false);
        bytes += 2 * value.size() + 16;
    }
    if (!store.saveDataFile(path))
        qFatal("Cannot write %s", qPrintable(path));
}

void BigFiles::makeHistory(const QString &path) const
{
    QDir().mkpath(QFileInfo(path).path());
    { HistoryStore schema(path); } // the program's own tables and indexes
    fillDatabase(path, [this](QSqlQuery &q) {
        Words words;
        q.prepare(QStringLiteral("INSERT OR REPLACE INTO history (url, title, last_visit) VALUES (?, ?, ?)"));
        const qint64 now = QDateTime::currentMSecsSinceEpoch();
        for (int i = 0; qint64(i) * 230 < m_dbBytes; ++i) {
            q.addBindValue(words.address() + u'&' + QString::number(i));
            q.addBindValue(words.sentence(6));
            q.addBindValue(now - qint64(i) * 60000);
            q.exec();
        }
    });
}

void BigFiles::makeFeeds(const QString &path) const
{
    {
        RssDatabase schema(path);
        schema.open();
    }
    fillDatabase(path, [this](QSqlQuery &q) {
        Words words;
        constexpr int kChannels = 100;
        q.prepare(QStringLiteral("INSERT INTO Channels (ChannelTitle, ChannelDescription, FeedURL, "
                                 "LastFetched, ImageURL, FeedXML) VALUES (?, ?, ?, ?, '', '')"));
        for (int c = 0; c < kChannels; ++c) {
            q.addBindValue(words.sentence(3));
            q.addBindValue(words.sentence(12));
            q.addBindValue(words.address());
            q.addBindValue(QStringLiteral("2024-05-01T10:00:00Z"));
            q.exec();
        }
        q.prepare(QStringLiteral("INSERT INTO Headlines (ChannelID, HeadlineTitle, HeadlinelDescription, "
                                 "HeadlineURL, bRead, HeadlineDate, HeadlineAddingDate) VALUES (?, ?, ?, ?, ?, ?, ?)"));
        const QDateTime start = QDateTime::currentDateTimeUtc();
        for (int i = 0; qint64(i) * 1100 < m_dbBytes; ++i) {
            const QString date = start.addSecs(-qint64(i) * 600).toString(Qt::ISODate);
            q.addBindValue(1 + i % kChannels);
            q.addBindValue(words.sentence(7));
            q.addBindValue(words.sentence(120));
            q.addBindValue(words.address() + u'&' + QString::number(i));
            q.addBindValue(i % 3 == 0 ? 0 : 1);
            q.addBindValue(date);
            q.addBindValue(date);
            q.exec();
        }
    });
}
