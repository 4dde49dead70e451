// Feeds: parsing, reading the channel and its items, and the dates they carry. An input that
// begins with a "Content-Type: ..." line is a body served with that header.
#include "fuzzinput.h"
#include "sidebar/rssfeed.h"
#include "sidebar/rssfeedencoding.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray bytes = fuzzBytes(data, size);
    QByteArray contentType;
    if (bytes.startsWith("Content-Type:")) {
        const qsizetype end = bytes.indexOf('\n');
        contentType = bytes.mid(13, end < 0 ? -1 : end - 13);
        bytes = end < 0 ? QByteArray() : bytes.mid(end + 1);
    }
    (void)RssFeedEncoding::decode(bytes, contentType);
    RssChannelInfo info;
    QString error;
    RssFeed::retrieveChannelInfo(bytes, info, &error);
    const RssFeed::ParsedDocument document =
        RssFeed::readDocument(bytes, contentType, QUrl(QStringLiteral("http://feeds.example/a/rss.xml")));
    if (document.root) {
        const RssFeed::Document read = RssFeed::readFeed(*document.root, true, info);
        for (const RssFeed::Item &item : read.items) {
            (void)item.date.isValid();
            (void)RssFeed::resolveLink(item.link, document.address);
        }
    }
    RssFeed::parseFeedDate(QString::fromUtf8(bytes));
    return 0;
}
