#include "documentrules.h"

namespace DocumentRules {

QString tabCaption(const QString &title, bool shrunk)
{
    if (shrunk)
        return title.left(3);
    if (title.size() <= kMaxTabCaption)
        return title;
    return title.left(kMaxTabCaption) + QLatin1String("...");
}

QString documentName(const QString &title, const QString &address, const QString &previousName)
{
    if (!title.trimmed().isEmpty())
        return title;
    if (!address.trimmed().isEmpty())
        return address;
    return previousName;
}

QString addressShown(const QString &requested, const QString &pageAddress, bool loadFailed)
{
    return loadFailed && !requested.trimmed().isEmpty() ? requested : pageAddress;
}

int iconForShrink(int icon, bool shrunk)
{
    if (shrunk && icon % 2 == 0)
        return icon + 1;
    if (!shrunk && icon % 2 != 0)
        return icon - 1;
    return icon;
}

int progressPercent(int progress, int progressMax)
{
    if (progress > progressMax)
        return -1;
    if (progressMax == 0)
        return 0;
    if (progress == -1)
        return 100;
    return int(qint64(progress) * 100 / progressMax);
}

int loadingIcon(int percent, bool shrunk, int currentIcon)
{
    int icon;
    if (percent < 25)
        icon = 0;
    else if (percent < 50)
        icon = 2;
    else if (percent < 75)
        icon = 4;
    else if (percent < 100)
        icon = 6;
    else
        return currentIcon;
    return shrunk ? icon + 1 : icon;
}

int blinkIcon(int icon)
{
    switch (icon) {
    case 8:
        return 10;
    case 9:
        return 11;
    case 10:
        return 8;
    case 11:
        return 9;
    default:
        return icon;
    }
}

QString progressText(int percent)
{
    return QString::number(percent) + u'%';
}

QString completedText()
{
    return QStringLiteral("Completed");
}

} // namespace DocumentRules
