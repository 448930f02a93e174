#include "browser/PeriodBounds.h"

#include "common/DisplayFormats.h"
#include "browser/DateConversionError.h"
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

TimeBounds thisWeekBounds(const QDateTime& now)
{
    const QDate monday = now.date().addDays(1 - now.date().dayOfWeek());
    return {dayCount(monday), dayCount(monday.addDays(6), kLastMillisecond)};
}

TimeBounds thisMonthBounds(const QDateTime& now)
{
    const QDate first(now.date().year(), now.date().month(), 1);
    return {dayCount(first), dayCount(first.addMonths(1).addDays(-1), kLastMillisecond)};
}

TimeBounds customPeriodBounds(const QString& period)
{
    const qsizetype star = period.indexOf(QLatin1Char('*'));
    const QString firstText = star < 0 ? QString() : period.left(star);
    const QDate first = readShortDate(firstText);
    const QDate last = readShortDate(period.mid(star + 1, kEndDateLength));
    return {dayCount(first), dayCount(last.addDays(1))};
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
