#pragma once

#include <QDate>
#include <QList>
#include <QString>

// The day and week groups of the history tree. A visit is placed by the user's local calendar
// day: with d the days from the visit to today and W today's weekday (0 Sunday .. 6 Saturday),
// d = 0 "Today", 1 <= d <= W the node of that weekday, then "LastWeek" up to W + 7 days,
// "TwoWeek" up to W + 14 days and "VeryOld" beyond. A visit after today counts as today.
namespace HistoryGrouping {

struct Group
{
    QString key;
    QString text;
};

// 0 for Sunday .. 6 for Saturday.
int weekday(const QDate &date);
// "Sunday" .. "Saturday"; empty outside 0..6.
QString dayName(int weekday);
// The group nodes for a today of the given weekday, in the order they are shown: "Today", the
// earlier days of the week from the latest back to Sunday ("Week" & n), "LastWeek", "TwoWeek",
// "VeryOld".
QList<Group> groups(int todayWeekday);
// The key of the group a visit on visitDay belongs to.
QString groupKey(const QDate &visitDay, const QDate &today);

} // namespace HistoryGrouping
