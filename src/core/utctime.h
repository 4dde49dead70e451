#pragma once

#include <QDate>
#include <QDateTime>
#include <QTime>
#include <QtGlobal>

#if QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
#include <QTimeZone>
#endif

// Times in UTC, as the stores keep them and the feeds give them. timeSpec() reads Qt::UTC
// whichever Qt builds them, so ISO texts of them end in "Z".
namespace UtcTime {

inline QDateTime at(QDate date, QTime time)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
    return QDateTime(date, time, QTimeZone::UTC);
#else
    return QDateTime(date, time, Qt::UTC);
#endif
}

// The moment a wall-clock time of the user's own time zone names. A time that zone skips (the
// hour a clock is put forward) is read as UTC.
inline QDateTime fromLocal(QDate date, QTime time)
{
    const QDateTime local(date, time);
    return local.isValid() ? local.toUTC() : at(date, time);
}

inline QDateTime fromMSecsSinceEpoch(qint64 msecs)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
    return QDateTime::fromMSecsSinceEpoch(msecs, QTimeZone::UTC);
#else
    return QDateTime::fromMSecsSinceEpoch(msecs, Qt::UTC);
#endif
}

} // namespace UtcTime
