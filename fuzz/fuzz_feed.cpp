// Feeds: parsing, reading the channel and its items, and the dates they carry.
#include "fuzzinput.h"
#include "sidebar/rssfeed.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = fuzzBytes(data, size);
    RssChannelInfo info;
    QString error;
    RssFeed::retrieveChannelInfo(bytes, info, &error);
    if (const auto root = RssFeed::loadXml(bytes)) {
        const RssFeed::Document document = RssFeed::readFeed(*root, true, info);
        for (const RssFeed::Item &item : document.items)
            (void)item.date.isValid();
    }
    RssFeed::parseFeedDate(QString::fromUtf8(bytes));
    return 0;
}
