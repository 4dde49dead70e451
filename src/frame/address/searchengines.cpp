#include "searchengines.h"

#include <QUrl>

namespace SearchEngines {

namespace {

struct Engine
{
    const char *searchPrefix; // everything up to the query
    const char *searchSuffix; // fixed keys after the query
    const char *home;
};

constexpr Engine kEngines[kCount] = {
    {"https://www.google.com/search?hl=en&lr=&ie=UTF-8&oe=UTF-8&q=", "", "https://www.google.com"},
    {"https://search.msn.com/results.aspx?q=", "&FORM=QBRE", "https://www.msn.com"},
    {"https://search.yahoo.com/search?p=", "&fr=FP-tab-web-t&toggle=1&cop=&ei=UTF-8",
     "https://www.yahoo.com"},
    {"https://www.ask.com/web?q=", "&qsrc=0&o=0", "https://www.ask.com"},
    {"https://www.bing.com/search?q=", "&mkt=en-us&FORM=LVCP", "https://www.bing.com"},
    {"https://en.wikipedia.org/wiki/Special:Search?search=", "", "https://www.wikipedia.org"},
};

} // namespace

QString encodeQuery(const QString &text)
{
    const QByteArray encoded = QUrl::toPercentEncoding(text.trimmed(), " ");
    QByteArray withPlus = encoded;
    withPlus.replace(' ', '+');
    return QString::fromLatin1(withPlus);
}

QString homePage(int engine)
{
    if (engine < 0 || engine >= kCount)
        return QString();
    return QLatin1String(kEngines[engine].home);
}

QString searchAddress(int engine, const QString &text)
{
    if (engine < 0 || engine >= kCount)
        return QString();
    if (text.trimmed().isEmpty())
        return homePage(engine);
    return QLatin1String(kEngines[engine].searchPrefix) + encodeQuery(text) +
           QLatin1String(kEngines[engine].searchSuffix);
}

QString quickSearchAddress(bool groups, const QString &text)
{
    const QString q = encodeQuery(text);
    if (groups)
        return QLatin1String("https://groups.google.com/groups?hl=en&lr=&ie=UTF-8&oe=UTF-8&tab=nf&q=") +
               q + QLatin1String("&sa=N&tab=fg");
    return QLatin1String("https://www.google.com/search?hl=en&lr=&ie=UTF-8&oe=UTF-8&q=") + q;
}

} // namespace SearchEngines
