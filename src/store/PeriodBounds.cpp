#include "store/PeriodBounds.h"

#include "common/DisplayFormats.h"
#include "store/DateConversionError.h"
#include "store/DayCount.h"

namespace xr {

namespace {

constexpr int kThisWeekPosition = 0;
constexpr int kThisMonthPosition = 1;
// The end date of a custom period is read from at most this many characters after the "*".
constexpr int kEndDateLength = 12;

const QTime kLastMillisecond(23, 59, 59, 999);

// The day count of a wall-clock date and time as written, free of any time-zone shift (a local
// midnight may not exist on a day that changes to summer time).
double dayCount(const QDate& date, const QTime& time = QTime(0, 0))
{
    return toDayCount(QDateTime(date, time, Qt::UTC));
}

QDate readShortDate(const QString& text)
{
    const QDate date = QDate::fromString(text.trimmed(), kShortDateFormat);
    if (!date.isValid())
        throw DateConversionError(text);
    return date;
}

} // namespace

PeriodDates thisWeekDates(const QDate& today)
{
    const QDate monday = today.addDays(1 - today.dayOfWeek());
    return {monday, monday.addDays(6)};
}

PeriodDates thisMonthDates(const QDate& today)
{
    const QDate first(today.year(), today.month(), 1);
    return {first, first.addMonths(1).addDays(-1)};
}

TimeBounds thisWeekBounds(const QDateTime& now)
{
    const PeriodDates week = thisWeekDates(now.date());
    return {dayCount(week.first), dayCount(week.last, kLastMillisecond)};
}

TimeBounds thisMonthBounds(const QDateTime& now)
{
    const PeriodDates month = thisMonthDates(now.date());
    return {dayCount(month.first), dayCount(month.last, kLastMillisecond)};
}

PeriodDates customPeriodDates(const QString& period)
{
    const qsizetype star = period.indexOf(QLatin1Char('*'));
    const QString firstText = star < 0 ? QString() : period.left(star);
    const QDate first = readShortDate(firstText);
    return {first, readShortDate(period.mid(star + 1, kEndDateLength))};
}

TimeBounds customPeriodBounds(const QString& period)
{
    const PeriodDates dates = customPeriodDates(period);
    return {dayCount(dates.first), dayCount(dates.last.addDays(1))};
}

TimeBounds periodBounds(int position, const QString& item, const QDateTime& now)
{
    switch (position) {
    case kThisWeekPosition:
        return thisWeekBounds(now);
    case kThisMonthPosition:
        return thisMonthBounds(now);
    default:
        return customPeriodBounds(item);
    }
}

double connectDateBound(const QDate& connectDate)
{
    return dayCount(connectDate);
}

double disconnectDateBound(const QDate& disconnectDate)
{
    return dayCount(disconnectDate.addDays(1));
}

} // namespace xr
