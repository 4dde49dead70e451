#include "rssfeed.h"

#include "core/strings.h"
#include "core/utctime.h"
#include "rssdatabase.h"
#include "rssfeedencoding.h"

#include <QRegularExpression>
#include <QStringDecoder>
#include <QTimeZone>
#include <QXmlStreamReader>

#include <algorithm>
#include <vector>

namespace {

// The match in a part of a text, without a copy of it.
QRegularExpressionMatch matchIn(const QRegularExpression &expression, QStringView text)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
    return expression.matchView(text);
#else
    return expression.match(text);
#endif
}

} // namespace

// ---------------------------------------------------------------- element tree

const XmlElement *XmlElement::selectSingleNode(QStringView childName) const
{
    for (const XmlElement &child : children) {
        if (child.name == childName)
            return &child;
    }
    return nullptr;
}

QList<const XmlElement *> XmlElement::selectNodes(QStringView childName) const
{
    QList<const XmlElement *> list;
    for (const XmlElement &child : children) {
        if (child.name == childName)
            list.append(&child);
    }
    return list;
}

namespace {

qsizetype textSize(const XmlElement &element)
{
    qsizetype size = element.ownText.size();
    for (const XmlElement &child : element.children)
        size += textSize(child); // depth is bounded by kMaxDepth
    return size;
}

void appendText(const XmlElement &element, QString &out)
{
    qsizetype from = 0;
    for (qsizetype i = 0; i < element.children.size(); ++i) {
        const qsizetype at = element.childOffsets.value(i, element.ownText.size());
        out += QStringView(element.ownText).mid(from, at - from);
        appendText(element.children[i], out); // depth is bounded by kMaxDepth
        from = at;
    }
    out += QStringView(element.ownText).mid(from);
}

} // namespace

QString XmlElement::text() const
{
    if (children.isEmpty())
        return ownText.trimmed(); // shares the text when there is nothing to trim
    QString out;
    out.reserve(textSize(*this));
    appendText(*this, out);
    return std::move(out).trimmed();
}

namespace {

// What the element tree keeps of an element. The readers walk the children of a few elements
// near the root and take the text of a few names below them; everything else costs nothing but
// its text, which joins the text of the nearest element that is kept.
enum class Kind : quint8 {
    Container, // the root, and a channel, image or item near it
    Field,     // title, description, link, url, date or pubDate inside a container
    Markup,    // an element directly inside a field (what it holds joins its own text)
    Folded,    // no element of its own
};

Kind kindOf(Kind parent, qsizetype depth, QStringView baseName)
{
    static const QLatin1String containers[] = {QLatin1String("channel"), QLatin1String("image"),
                                               QLatin1String("item")};
    static const QLatin1String fields[] = {QLatin1String("title"), QLatin1String("description"),
                                           QLatin1String("link"),  QLatin1String("url"),
                                           QLatin1String("date"),  QLatin1String("pubDate")};
    switch (parent) {
    case Kind::Container:
        // Items sit at most two levels down (rss/channel/item); deeper ones are no feed's.
        if (depth <= 2 && std::find(std::begin(containers), std::end(containers), baseName) != std::end(containers))
            return Kind::Container;
        if (std::find(std::begin(fields), std::end(fields), baseName) != std::end(fields))
            return Kind::Field;
        return Kind::Folded;
    case Kind::Field:
        return Kind::Markup;
    default:
        return Kind::Folded;
    }
}

// Builds the element tree from the reader's tokens within the limits of loadXml.
class TreeBuilder
{
public:
    // False once the document is refused; refusal() says why.
    bool add(const QXmlStreamReader &reader, QXmlStreamReader::TokenType token);
    const QString &refusal() const { return m_refusal; }
    std::optional<XmlElement> takeRoot() { return std::move(m_root); }

private:
    void start(QStringView qualifiedName, QStringView baseName);
    void end();
    void characters(QStringView text);
    QString sharedName(QStringView name);

    std::vector<Kind> m_kinds;      // every open element, outermost first
    std::vector<XmlElement> m_open; // the open elements that are kept
    std::optional<XmlElement> m_root;
    std::vector<QString> m_names; // names in use, shared by the elements that carry them
    qsizetype m_textKept = 0;
    qsizetype m_elementsKept = 0;
    QString m_refusal;
};

bool TreeBuilder::add(const QXmlStreamReader &reader, QXmlStreamReader::TokenType token)
{
    switch (token) {
    case QXmlStreamReader::StartElement:
        start(reader.qualifiedName(), reader.name());
        break;
    case QXmlStreamReader::EndElement:
        end();
        break;
    case QXmlStreamReader::Characters:
        characters(reader.text());
        break;
    default:
        // Declarations, comments, processing instructions; a reference to an external
        // entity arrives here unresolved and is dropped.
        break;
    }
    return m_refusal.isEmpty();
}

void TreeBuilder::start(QStringView qualifiedName, QStringView baseName)
{
    if (m_kinds.size() >= size_t(RssFeed::kMaxDepth)) {
        m_refusal = QStringLiteral("The document nests its elements too deeply.");
        return;
    }
    const Kind kind = m_kinds.empty() ? Kind::Container : kindOf(m_kinds.back(), qsizetype(m_kinds.size()), baseName);
    m_kinds.push_back(kind);
    if (kind == Kind::Folded)
        return;
    XmlElement element;
    element.name = sharedName(qualifiedName);
    element.baseName = sharedName(baseName);
    m_open.push_back(std::move(element));
}

void TreeBuilder::end()
{
    const Kind kind = m_kinds.back();
    m_kinds.pop_back();
    if (kind == Kind::Folded)
        return;
    XmlElement element = std::move(m_open.back());
    m_open.pop_back();
    // Text and children arrive one at a time; the room grown for more is given back.
    element.ownText.squeeze();
    element.children.squeeze();
    element.childOffsets.squeeze();
    if (m_open.empty()) {
        m_root = std::move(element);
        return;
    }
    // An empty element inside a field adds nothing to its text.
    if (kind == Kind::Markup && element.ownText.isEmpty() && element.children.isEmpty())
        return;
    if (++m_elementsKept > RssFeed::kMaxElements) {
        m_refusal = QStringLiteral("The document holds too many elements.");
        return;
    }
    XmlElement &parent = m_open.back();
    parent.childOffsets.append(parent.ownText.size());
    parent.children.append(std::move(element));
}

void TreeBuilder::characters(QStringView text)
{
    m_textKept += text.size();
    if (m_textKept > RssFeed::kMaxText) {
        m_refusal = QStringLiteral("The document holds too much text.");
        return;
    }
    if (!m_open.empty())
        m_open.back().ownText += text;
}

QString TreeBuilder::sharedName(QStringView name)
{
    for (const QString &known : m_names) {
        if (known == name)
            return known;
    }
    QString added = name.toString();
    if (m_names.size() < 64) // a document of ever new names keeps its own copies
        m_names.push_back(added);
    return added;
}

// The element tree of data, read a piece at a time so that the reader never holds more than
// a piece of the document as text. The bytes are decoded here, in the encoding given, so the
// reader never refuses a document for the encoding its declaration names.
std::optional<XmlElement> buildTree(const QByteArray &data, const QByteArray &encoding, QString *error)
{
    constexpr qsizetype kPiece = 64 * 1024;
    QStringDecoder decoder = RssFeedEncoding::decoder(encoding);
    QXmlStreamReader reader;
    qsizetype fed = 0;
    auto feedPiece = [&] {
        if (fed >= data.size())
            return false;
        reader.addData(QString(decoder.decode(QByteArrayView(data).sliced(fed, std::min(kPiece, data.size() - fed)))));
        fed += kPiece;
        return true;
    };
    feedPiece();
    TreeBuilder builder;
    for (;;) {
        const QXmlStreamReader::TokenType token = reader.readNext();
        if (token == QXmlStreamReader::Invalid) {
            if (reader.error() == QXmlStreamReader::PrematureEndOfDocumentError && feedPiece())
                continue;
            break;
        }
        if (token == QXmlStreamReader::EndDocument || !builder.add(reader, token))
            break;
    }
    std::optional<XmlElement> root = builder.takeRoot();
    if (!builder.refusal().isEmpty() || reader.hasError() || !root) {
        if (error)
            *error = !builder.refusal().isEmpty() ? builder.refusal()
                     : reader.hasError()          ? reader.errorString()
                                                  : QString();
        return std::nullopt;
    }
    return root;
}

} // namespace

namespace RssFeed {

std::optional<XmlElement> loadXml(const QByteArray &data, QString *decodedText, QString *error)
{
    const QByteArray encoding = RssFeedEncoding::detect(data);
    std::optional<XmlElement> root = buildTree(data, encoding, error);
    if (root && decodedText)
        *decodedText = RssFeedEncoding::decode(data);
    return root;
}

// ---------------------------------------------------------------- dates

namespace {

// 1..12 for an English month name or its three-letter abbreviation (any case, a trailing
// full stop allowed); 0 otherwise.
int monthFromName(QStringView word)
{
    static const char *const names[] = {"january", "february", "march",     "april",
                                        "may",     "june",     "july",      "august",
                                        "september", "october", "november", "december"};
    QString lower = word.toString().toLower();
    if (lower.endsWith(u'.'))
        lower.chop(1);
    for (int i = 0; i < 12; ++i) {
        const QLatin1String name(names[i]);
        if (lower == name || lower == name.left(3))
            return i + 1;
    }
    return lower == QLatin1String("sept") ? 9 : 0;
}

bool isWeekday(QStringView word)
{
    static const char *const names[] = {"monday", "tuesday",  "wednesday", "thursday",
                                        "friday", "saturday", "sunday"};
    QString lower = word.toString().toLower();
    if (lower.endsWith(u'.'))
        lower.chop(1);
    for (const char *n : names) {
        const QLatin1String name(n);
        if (lower == name || lower == name.left(3))
            return true;
    }
    return false;
}

// Offset of a named or numeric zone in seconds; no value for a word that is no zone.
std::optional<int> zoneOffset(QStringView word)
{
    // "+hh", "+hhmm" or "+hh:mm", alone or after "GMT", "UTC" or "UT" ("GMT+0200").
    static const QRegularExpression numeric(
        QStringLiteral(R"(^(?:GMT|UTC?)?([+-])(\d{2}):?(\d{2})?$)"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = matchIn(numeric, word);
    if (m.hasMatch()) {
        const int hours = m.captured(2).toInt();
        const int minutes = m.captured(3).isEmpty() ? 0 : m.captured(3).toInt();
        if (hours > 23 || minutes > 59)
            return std::nullopt;
        const int offset = hours * 3600 + minutes * 60;
        return m.captured(1) == u'-' ? -offset : offset;
    }
    const QString upper = word.toString().toUpper();
    struct Named
    {
        const char *name;
        int hours;
    };
    static const Named named[] = {{"UT", 0},   {"UTC", 0},  {"GMT", 0},  {"Z", 0},
                                  {"EST", -5}, {"EDT", -4}, {"CST", -6}, {"CDT", -5},
                                  {"MST", -7}, {"MDT", -6}, {"PST", -8}, {"PDT", -7}};
    for (const Named &n : named) {
        if (upper == QLatin1String(n.name))
            return n.hours * 3600;
    }
    // Military letters were never used consistently; they count as UTC.
    if (upper.size() == 1 && upper[0] >= u'A' && upper[0] <= u'Z' && upper[0] != u'J')
        return 0;
    return std::nullopt;
}

} // namespace

QDateTime parseRfc822Date(QStringView text)
{
    static const QRegularExpression separators(QStringLiteral(R"([\s,]+)"));
    static const QRegularExpression clock(
        QStringLiteral(R"(^(\d{1,2}):(\d{2})(?::(\d{2}))?(?:\.\d+)?([AaPp][Mm])?$)"));
    const QStringList words = text.toString().split(separators, Qt::SkipEmptyParts);

    int day = 0, month = 0, year = -1;
    int hour = 0, minute = 0, second = 0;
    bool haveTime = false;
    QString meridiem;
    std::optional<int> offset;
    bool zoneSeen = false;
    for (qsizetype i = 0; i < words.size(); ++i) {
        const QString &word = words[i];
        bool number = false;
        const int value = word.toInt(&number);
        if (number && !word.startsWith(u'+') && !word.startsWith(u'-')) {
            if (day == 0 && word.size() <= 2 && (year < 0 || month != 0))
                day = value;
            else if (year < 0 && (word.size() == 2 || word.size() == 4))
                year = word.size() == 2 ? (value < 50 ? 2000 + value : 1900 + value) : value;
            else
                return QDateTime();
            continue;
        }
        const QRegularExpressionMatch t = matchIn(clock, word);
        if (t.hasMatch()) {
            if (haveTime)
                return QDateTime();
            haveTime = true;
            hour = t.captured(1).toInt();
            minute = t.captured(2).toInt();
            second = t.captured(3).isEmpty() ? 0 : t.captured(3).toInt();
            meridiem = t.captured(4).toUpper();
            continue;
        }
        if (haveTime && meridiem.isEmpty() &&
            (word.compare(QLatin1String("AM"), Qt::CaseInsensitive) == 0 ||
             word.compare(QLatin1String("PM"), Qt::CaseInsensitive) == 0)) {
            meridiem = word.toUpper();
            continue;
        }
        if (month == 0) {
            if (const int m = monthFromName(word)) {
                month = m;
                continue;
            }
        }
        if (i == 0 && isWeekday(word))
            continue;
        if (word.startsWith(u'(')) // a comment, such as the zone's name after its offset
            continue;
        if (haveTime) {
            // The zone follows the time. One we cannot read ("CEST", "Etc/GMT+2", a zone's
            // long name) is dropped with what follows it, as if the date had no zone: the
            // date itself is sound, and losing it would date the item at the check. Such a
            // date is read in the user's local time.
            if (!zoneSeen)
                offset = zoneOffset(word);
            zoneSeen = true;
            continue;
        }
        return QDateTime();
    }
    if (day == 0 || month == 0 || year < 0)
        return QDateTime();
    if (!meridiem.isEmpty()) {
        if (hour < 1 || hour > 12)
            return QDateTime();
        hour = hour % 12 + (meridiem == QLatin1String("PM") ? 12 : 0);
    }
    const QDate date(year, month, day);
    const QTime time(hour, minute, second);
    if (!date.isValid() || !time.isValid())
        return QDateTime();
    if (!offset)
        return UtcTime::fromLocal(date, time);
    return UtcTime::at(date, time).addSecs(-*offset);
}

QDateTime parseIso8601Date(QStringView text)
{
    static const QRegularExpression iso(QStringLiteral(
        R"(^\s*(\d{4})(?:-(\d{2})(?:-(\d{2})(?:[Tt ](\d{2}):(\d{2})(?::(\d{2})(?:[.,](\d+))?)?)"
        R"(\s*([Zz]|[+-]\d{2}(?::?\d{2})?)?)?)?)?\s*$)"));
    const QRegularExpressionMatch m = matchIn(iso, text);
    if (!m.hasMatch())
        return QDateTime();
    const int year = m.captured(1).toInt();
    const int month = m.captured(2).isEmpty() ? 1 : m.captured(2).toInt();
    const int day = m.captured(3).isEmpty() ? 1 : m.captured(3).toInt();
    const int hour = m.captured(4).isEmpty() ? 0 : m.captured(4).toInt();
    const int minute = m.captured(5).isEmpty() ? 0 : m.captured(5).toInt();
    const int second = m.captured(6).isEmpty() ? 0 : m.captured(6).toInt();
    const int msec = m.captured(7).isEmpty() ? 0 : m.captured(7).left(3).leftJustified(3, u'0').toInt();
    const QDate date(year, month, day);
    const QTime time(hour, minute, second, msec);
    if (!date.isValid() || !time.isValid())
        return QDateTime();
    int offset = 0;
    const QString zone = m.captured(8);
    if (!zone.isEmpty() && zone.compare(QLatin1String("Z"), Qt::CaseInsensitive) != 0) {
        const std::optional<int> z = zoneOffset(zone);
        if (!z)
            return QDateTime();
        offset = *z;
    }
    return UtcTime::at(date, time).addSecs(-offset);
}

QDateTime parseFeedDate(QStringView text)
{
    QDateTime date = parseRfc822Date(text);
    if (!date.isValid())
        date = parseIso8601Date(text);
    return date;
}

// ---------------------------------------------------------------- documents

Document readFeed(const XmlElement &root, bool readItems, RssChannelInfo &info)
{
    Document document;
    if (root.baseName == QLatin1String("rss")) {
        const XmlElement *channel = root.selectSingleNode(u"channel");
        if (!channel) {
            document.error = loadResString(18013);
            return document;
        }
        if (const XmlElement *title = channel->selectSingleNode(u"title"))
            info.channelTitle = title->text();
        if (const XmlElement *description = channel->selectSingleNode(u"description"))
            info.channelDescription = description->text();
        if (const XmlElement *image = channel->selectSingleNode(u"image")) {
            if (const XmlElement *url = image->selectSingleNode(u"url"))
                info.imageUrl = url->text();
        }
        const QList<const XmlElement *> items = channel->selectNodes(u"item");
        // The second item decides whether the feed's descriptions are kept.
        const bool descriptions = items.size() > 1 && items[1]->selectSingleNode(u"description");
        if (!readItems)
            return document;
        for (const XmlElement *element : items) {
            const XmlElement *link = element->selectSingleNode(u"link");
            const XmlElement *description = element->selectSingleNode(u"description");
            const XmlElement *title = element->selectSingleNode(u"title");
            if (!link && !description && !title)
                continue;
            if (!link || !title || (descriptions && !description)) {
                document.error = loadResString(18014);
                return document;
            }
            Item item;
            item.link = link->text();
            item.title = title->text();
            if (descriptions)
                item.description = description->text();
            if (const XmlElement *published = element->selectSingleNode(u"pubDate"))
                item.date = parseFeedDate(published->text()); // unreadable: undated
            document.items.append(item);
        }
        return document;
    }

    // RDF and any other root: children by base name, whatever their namespace prefix.
    for (const XmlElement &child : root.children) {
        if (child.baseName == QLatin1String("image")) {
            for (const XmlElement &part : child.children) {
                if (part.baseName == QLatin1String("url"))
                    info.imageUrl = part.text();
            }
        } else if (child.baseName == QLatin1String("channel")) {
            for (const XmlElement &part : child.children) {
                if (part.baseName == QLatin1String("title"))
                    info.channelTitle = part.text();
                else if (part.baseName == QLatin1String("description"))
                    info.channelDescription = part.text();
            }
        } else if (child.baseName == QLatin1String("item") && readItems) {
            Item item;
            QString dateText;
            for (const XmlElement &part : child.children) {
                if (part.baseName == QLatin1String("link"))
                    item.link = part.text();
                else if (part.baseName == QLatin1String("title"))
                    item.title = part.text();
                else if (part.baseName == QLatin1String("description"))
                    item.description = part.text();
                else if (part.baseName == QLatin1String("date"))
                    dateText = part.text();
            }
            if (!dateText.isEmpty()) {
                item.date = parseFeedDate(dateText);
                if (!item.date.isValid()) {
                    document.error = loadResString(18015) + dateText;
                    return document;
                }
            }
            document.items.append(item);
        }
    }
    return document;
}

QString resolveLink(const QString &link, const QUrl &feedAddress)
{
    const QString scheme = feedAddress.scheme().toLower();
    if (link.isEmpty() || !feedAddress.isValid() || feedAddress.host().isEmpty() ||
        (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
        return link;
    const QUrl relative(link);
    // A link with a scheme of its own (also "javascript:" or "file:") stays as written.
    if (!relative.isValid() || !relative.isRelative())
        return link;
    return feedAddress.resolved(relative).toString(QUrl::FullyEncoded);
}

bool parseChannelInfo(const XmlElement &root, RssChannelInfo &info, QString *error)
{
    info.hasNewHeadlines = false;
    const Document document = readFeed(root, false, info);
    if (error)
        *error = document.error;
    return document.error.isEmpty();
}

bool parseFeed(const XmlElement &root, qint32 channelId, RssChannelInfo &info, RssDatabase &db,
               QString *error, const QUrl &feedAddress)
{
    info.hasNewHeadlines = false;
    const Document document = readFeed(root, true, info);
    if (!db.isOpen()) {
        if (error)
            *error = QStringLiteral("The database is not open.");
        return false;
    }
    const std::optional<QDateTime> lastFetched = db.lastFetched(channelId);
    if (!lastFetched) {
        // A channel removed meanwhile stores nothing; a failed read is a failure.
        if (!db.lastError().isEmpty() && error)
            *error = db.lastError();
        return db.lastError().isEmpty();
    }
    QString failure = document.error;
    bool hasNew = false;
    QDateTime newest = RssDatabase::firstLastFetched();
    // An item dated after this check counts as dated now: a date in the future would
    // otherwise become the last-fetched date and hide every later item of the channel. It
    // is stored as an undated item, so the duplicate check finds it at the next checks,
    // and again when its date has come.
    const QDateTime checkTime = db.now();
    QString dbFailure;
    db.beginTransaction();
    for (const Item &feedItem : document.items) {
        Item item = feedItem;
        item.link = resolveLink(item.link, feedAddress);
        const bool ahead = item.date.isValid() && item.date > checkTime;
        if (ahead)
            item.date = checkTime;
        if (item.date.isValid()) {
            if (item.date > *lastFetched) {
                const bool added = db.addHeadline(channelId, item.title, item.description,
                                                  item.link, ahead ? QDateTime() : item.date);
                if (!added && !db.lastError().isEmpty()) {
                    dbFailure = db.lastError();
                    break;
                }
                hasNew = hasNew || added;
            }
            if (item.date > newest)
                newest = item.date;
        } else {
            const bool added = db.addHeadline(channelId, item.title, item.description,
                                              item.link, QDateTime());
            if (!added && !db.lastError().isEmpty()) {
                dbFailure = db.lastError();
                break;
            }
            hasNew = hasNew || added;
        }
    }
    // The last-fetched date only ever moves forward, and only to a date an item carried.
    if (dbFailure.isEmpty() && failure.isEmpty() && hasNew && newest > *lastFetched) {
        if (!db.setLastFetched(channelId, newest))
            dbFailure = db.lastError();
    }
    if (!db.commitTransaction() && dbFailure.isEmpty())
        dbFailure = db.lastError();
    if (!dbFailure.isEmpty())
        failure = dbFailure;
    info.hasNewHeadlines = hasNew;
    if (error)
        *error = failure;
    return failure.isEmpty();
}

ParsedDocument readDocument(const QByteArray &data, const QByteArray &contentType, const QUrl &address)
{
    ParsedDocument document;
    document.encoding = RssFeedEncoding::detect(data, contentType);
    document.address = address;
    document.root = buildTree(data, document.encoding, &document.error);
    if (document.root)
        document.data = data;
    return document;
}

QString ParsedDocument::text() const
{
    return RssFeedEncoding::decoder(encoding).decode(data);
}

bool retrieveChannelInfo(const QByteArray &body, RssChannelInfo &info, QString *parseError)
{
    return retrieveChannelInfo(readDocument(body), info, parseError);
}

bool retrieveChannelInfo(const ParsedDocument &document, RssChannelInfo &info, QString *parseError)
{
    if (!document.root)
        return false;
    info.feedXML = document.text();
    parseChannelInfo(*document.root, info, parseError);
    return true;
}

bool refreshChannel(RssDatabase &db, qint32 channelId, const QByteArray &body,
                    RssChannelInfo &info, QString *parseError)
{
    return refreshChannel(db, channelId, readDocument(body), info, parseError);
}

bool refreshChannel(RssDatabase &db, qint32 channelId, const ParsedDocument &document,
                    RssChannelInfo &info, QString *parseError)
{
    info.hasNewHeadlines = false;
    if (!document.root) {
        // The channel stays as it is; the check says why this feed could not be read.
        if (parseError)
            *parseError = document.error;
        return false;
    }
    parseFeed(*document.root, channelId, info, db, parseError, document.address);
    return true;
}

qint32 addChannel(RssDatabase &db, const QByteArray &body, const QString &url,
                  const QString &title, const QString &description, QString *insertError,
                  QString *parseError)
{
    return addChannel(db, readDocument(body), url, title, description, insertError, parseError);
}

qint32 addChannel(RssDatabase &db, const ParsedDocument &document, const QString &url,
                  const QString &title, const QString &description, QString *insertError,
                  QString *parseError)
{
    if (!document.root)
        return kNoChannel;
    const XmlElement &root = *document.root;
    RssChannelInfo record;
    QString firstError;
    parseChannelInfo(root, record, &firstError);
    record.feedUrl = url;
    record.channelTitle = title;
    record.channelDescription = description;
    const qint32 id = db.insertChannel(record.channelTitle, record.channelDescription,
                                       record.feedUrl, record.imageUrl, record.feedXML);
    if (id == 0) {
        if (insertError)
            *insertError = db.lastError();
        return 0;
    }
    QString secondError;
    parseFeed(root, id, record, db, &secondError,
              document.address.isValid() ? document.address : QUrl(url));
    if (parseError)
        *parseError = secondError.isEmpty() ? firstError : secondError;
    return id;
}

} // namespace RssFeed
