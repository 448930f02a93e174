#pragma once
// Turning the chosen time period, or the two date pickers, into the bounds of the usage list.

#include "store/TimeBounds.h"

#include <QDate>
#include <QDateTime>
#include <QString>

namespace xr {

// The first and the last day of a period.
struct PeriodDates {
    QDate first;
    QDate last;
};

// Monday to Sunday of the week holding `today`; the first to the last day of its month.
PeriodDates thisWeekDates(const QDate& today);
PeriodDates thisMonthDates(const QDate& today);
// The two dates of a custom period "first*last" (short date format, the last read from at most
// 12 characters). Throws DateConversionError naming the text that is not a date.
PeriodDates customPeriodDates(const QString& period);

// Monday 00:00:00.000 to Sunday 23:59:59.999 of the week holding `now`.
TimeBounds thisWeekBounds(const QDateTime& now);
// The first day 00:00:00.000 to the last day 23:59:59.999 of the month holding `now`.
TimeBounds thisMonthBounds(const QDateTime& now);
// "first*last" in the short date format: midnight of the first day to midnight after the last.
// Throws DateConversionError naming the text that is not a date.
TimeBounds customPeriodBounds(const QString& period);
// By the item's position in the period list: 0 this week, 1 this month, any other (also -1,
// nothing chosen) the custom period written in `item`.
TimeBounds periodBounds(int position, const QString& item, const QDateTime& now);

// The date pickers: midnight of the connect date, and midnight after the disconnect date.
double connectDateBound(const QDate& connectDate);
double disconnectDateBound(const QDate& disconnectDate);

} // namespace xr
