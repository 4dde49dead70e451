#include "historygrouping.h"

namespace HistoryGrouping {

int weekday(const QDate &date)
{
    return date.dayOfWeek() % 7; // Qt counts Monday 1 .. Sunday 7
}

QString dayName(int weekday)
{
    static const QString names[] = {
        QStringLiteral("Sunday"),   QStringLiteral("Monday"), QStringLiteral("Tuesday"),
        QStringLiteral("Wednesday"), QStringLiteral("Thursday"), QStringLiteral("Friday"),
        QStringLiteral("Saturday")};
    return weekday >= 0 && weekday < 7 ? names[weekday] : QString();
}

QList<Group> groups(int todayWeekday)
{
    QList<Group> result{{QStringLiteral("Today"), QStringLiteral("Today")}};
    for (int n = todayWeekday - 1; n >= 0; --n)
        result.append({QStringLiteral("Week") + QString::number(n), dayName(n)});
    result.append({QStringLiteral("LastWeek"), QStringLiteral("Last Week")});
    result.append({QStringLiteral("TwoWeek"), QStringLiteral("Two Weeks")});
    result.append({QStringLiteral("VeryOld"), QStringLiteral("Old History")});
    return result;
}

QString groupKey(const QDate &visitDay, const QDate &today)
{
    const qint64 days = visitDay.daysTo(today);
    const int w = weekday(today);
    if (days <= 0)
        return QStringLiteral("Today");
    if (days <= w)
        return QStringLiteral("Week") + QString::number(w - days);
    if (days <= w + 7)
        return QStringLiteral("LastWeek");
    if (days <= w + 14)
        return QStringLiteral("TwoWeek");
    return QStringLiteral("VeryOld");
}

} // namespace HistoryGrouping
