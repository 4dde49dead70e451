#include "website.h"

namespace WebSite {

namespace {

QString &overridden()
{
    static QString base;
    return base;
}

} // namespace

QString base()
{
    QString address = overridden().isEmpty() ? QStringLiteral(QUARVEL_WEB_SITE) : overridden();
    while (address.endsWith(QLatin1Char('/')))
        address.chop(1);
    return address;
}

QString page(const QString &name)
{
    return name.isEmpty() ? base() + QLatin1Char('/') : base() + QLatin1Char('/') + name;
}

void setBaseForTesting(const QString &base)
{
    overridden() = base;
}

} // namespace WebSite
