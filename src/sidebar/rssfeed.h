#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringView>
#include <QUrl>

#include <optional>

class RssDatabase;

// A feed's channel data, and what one pass over the feed found.
struct RssChannelInfo
{
    QString feedUrl;
    QString channelTitle;
    QString channelDescription;
    QString imageUrl;
    QString feedXML; // the document's text (a retrieve fills it)
    bool hasNewHeadlines = false; // the last pass stored at least one headline
};

// One element of a parsed XML document: its own text and its child elements in document order.
// Each element keeps only its own text, so a deep document costs memory in proportion to its
// size; text() joins the descendants' text when a reader asks for it.
// loadXml keeps only the elements the feed readers look at: the root, channel, image and item
// near it, the fields inside those (title, description, link, url, date, pubDate) and the
// elements directly inside a field. The text of an element not kept joins the own text of its
// nearest kept ancestor, so text() reads the same.
struct XmlElement
{
    QString name;     // as written, with its namespace prefix
    QString baseName; // without the prefix
    QString ownText;  // the text directly inside the element
    // For each child, where in ownText it stands (so text() keeps the document order).
    QList<qsizetype> childOffsets;
    QList<XmlElement> children;

    // The element's text and its descendants' in document order, trimmed.
    QString text() const;

    // Children by name as written (an element of another namespace prefix does not match).
    const XmlElement *selectSingleNode(QStringView childName) const;
    QList<const XmlElement *> selectNodes(QStringView childName) const;
};
Q_DECLARE_TYPEINFO(XmlElement, Q_RELOCATABLE_TYPE); // a list of children grows in place

// Feed documents: RSS 2.0 (root "rss") and RDF (RSS 1.0; any other root is read the same way).
namespace RssFeed {

// Channel identifier of a document read for its channel data only.
inline constexpr qint32 kNoChannel = -1;

// Limits of what loadXml accepts: a feed needs a handful of levels, no feed holds more text
// than its download cap allows, and a feed keeps a few elements per item (an element costs a
// few hundred bytes, far more than its text: 50,000 items of four kept elements each take
// about 50 MB).
inline constexpr int kMaxDepth = 64;
inline constexpr qsizetype kMaxText = 16 * 1024 * 1024;
inline constexpr qsizetype kMaxElements = 200000;

// Parses a whole document into its root element; no value when the text is not well-formed,
// nests deeper than kMaxDepth, holds more than kMaxText characters of text or more than
// kMaxElements kept elements.
// The bytes are decoded as RssFeedEncoding::detect finds (no Content-Type header here).
// External entities are never fetched: a reference to one reads as nothing. decodedText
// receives the document as text.
std::optional<XmlElement> loadXml(const QByteArray &data, QString *decodedText = nullptr,
                                  QString *error = nullptr);

// A whole document read: its root (no value when it is not well-formed or is refused), its
// bytes and, without a root, why. Safe to make on any thread. The text is decoded only when
// asked for: it costs twice the bytes, and only a retrieve wants it.
struct ParsedDocument
{
    std::optional<XmlElement> root;
    QByteArray data;     // shares the bytes it was read from
    QByteArray encoding; // what the bytes were decoded as
    QUrl address;        // where the document came from; relative item links resolve against it
    QString error;

    // The document as text, decoded as it was read.
    QString text() const;
};
// The bytes are decoded by the charset of contentType (the response's Content-Type header),
// else as loadXml decodes them.
ParsedDocument readDocument(const QByteArray &data, const QByteArray &contentType = QByteArray(),
                            const QUrl &address = QUrl());

// Dates of feed items, read without regard to the user's locale, given in UTC. Both give an
// invalid date for a text they cannot read.
// RFC 822 and its common variants: "Tue, 10 Jun 2003 04:00:00 GMT", "Sat, Aug 9 2020
// 12:00:00AM GMT", two-digit years, zones as names (UT, GMT and the North American ones),
// military letters, "+hhmm", "+hh:mm" or "GMT+hhmm". A date without a zone, or with one it
// cannot read, is in the user's local time.
QDateTime parseRfc822Date(QStringView text);
// ISO 8601 as feeds use it: "2003-06-10T04:00:00Z", "2003-06-10T04:00+02:00",
// "2003-06-10T04:00:00.25-0500", "2003-06-10"; without a zone, UTC.
QDateTime parseIso8601Date(QStringView text);
// Either form; invalid when neither reads.
QDateTime parseFeedDate(QStringView text);

struct Item
{
    QString title;
    QString description;
    QString link;
    QDateTime date; // invalid: the item carries no date
};

struct Document
{
    QList<Item> items; // the items before the first error, in document order
    QString error;     // why reading stopped early; empty when the whole document was read
};

// Reads the channel's title, description and image address into info and, when readItems,
// the items. In an RSS document descriptions are kept only when the second item has one.
Document readFeed(const XmlElement &root, bool readItems, RssChannelInfo &info);

// The address an item link leads to: a relative link (a path without scheme and host, such
// as "/news/1.html" or "item?id=3") resolved against the feed's web address; any other link,
// and every link of a feed without a web address, as written.
QString resolveLink(const QString &link, const QUrl &feedAddress);

// Reads the document's channel data into info, for a channel not stored (yet): nothing is
// stored and info.hasNewHeadlines is false. Returns false with a description in *error when
// the document is not a feed.
bool parseChannelInfo(const XmlElement &root, RssChannelInfo &info, QString *error);
// Reads the document's channel data into info and stores the items of the stored channel that
// are newer than its last-fetched date (undated items, and items dated after the check, go to
// the duplicate check instead); the channel's last-fetched date then moves up to the newest
// item date seen, never past the check.
// info.hasNewHeadlines tells whether anything was stored. Returns false with a description
// in *error when the document or the database failed; what was stored before stays.
// A channel that no longer exists stores nothing. Item links are stored resolved against
// feedAddress (resolveLink).
bool parseFeed(const XmlElement &root, qint32 channelId, RssChannelInfo &info, RssDatabase &db,
               QString *error, const QUrl &feedAddress = QUrl());

// What a fetched feed gives the three readers. Each returns false when the body is not a
// well-formed document; *parseError receives a failure of parseFeed (which does not change
// the result).
// The channel data of a feed, nothing stored; info.feedXML receives the document's text.
bool retrieveChannelInfo(const QByteArray &body, RssChannelInfo &info, QString *parseError);
bool retrieveChannelInfo(const ParsedDocument &document, RssChannelInfo &info, QString *parseError);
// New items of a stored channel; a body that cannot be read (or that is refused) leaves the
// channel as it is and *parseError says why.
bool refreshChannel(RssDatabase &db, qint32 channelId, const QByteArray &body,
                    RssChannelInfo &info, QString *parseError);
bool refreshChannel(RssDatabase &db, qint32 channelId, const ParsedDocument &document,
                    RssChannelInfo &info, QString *parseError);
// A new channel with the caller's title and description and the feed's items. Returns the
// new channelId; kNoChannel when the body is not a document; 0 when the channel could not be
// stored (*insertError says why).
qint32 addChannel(RssDatabase &db, const QByteArray &body, const QString &url,
                  const QString &title, const QString &description, QString *insertError,
                  QString *parseError);
qint32 addChannel(RssDatabase &db, const ParsedDocument &document, const QString &url,
                  const QString &title, const QString &description, QString *insertError,
                  QString *parseError);

} // namespace RssFeed
