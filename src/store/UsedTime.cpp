#include "store/UsedTime.h"

#include "store/PeriodBounds.h"
#include "store/Statement.h"

#include <QVariant>

#include <algorithm>

namespace xr {

namespace {

constexpr double kSecondsPerDay = 86400.0;

double overlapSeconds(double start, double end, const TimeBounds& period)
{
    return std::max(0.0, std::min(end, period.e) - std::max(start, period.s)) * kSecondsPerDay;
}

// A record's overlap with the period whose bounds are the values ":Ps" and ":Pe", in days; a
// record that ends before it starts overlaps nothing. In SQL that SQLite and PostgreSQL both run.
QString overlapSum(const QString& p)
{
    return QStringLiteral("coalesce(sum(case when Edt > Sdt and Edt > :%1s and Sdt < :%1e then "
                          "(case when Edt < :%1e then Edt else :%1e end) - "
                          "(case when Sdt > :%1s then Sdt else :%1s end) else 0 end), 0)")
        .arg(p);
}

// One pass over the records that end after the earliest period starts and begin before the
// latest one ends; each record adds its overlap with each period.
const QString kOverlaps =
    QStringLiteral("select %1, %2, %3 from XRRecord where UserId = :u and Edt > :lo and Sdt < :hi")
        .arg(overlapSum(QStringLiteral("d")), overlapSum(QStringLiteral("w")),
             overlapSum(QStringLiteral("m")));

} // namespace

AllowancePeriods allowancePeriods(const QDate& today)
{
    const PeriodDates week = thisWeekDates(today);
    const PeriodDates month = thisMonthDates(today);
    return {{connectDateBound(today), disconnectDateBound(today)},
            {connectDateBound(week.first), disconnectDateBound(week.last)},
            {connectDateBound(month.first), disconnectDateBound(month.last)}};
}

double UsedTime::in(AllowancePeriod period) const
{
    switch (period) {
    case AllowancePeriod::Today:
        return today;
    case AllowancePeriod::ThisWeek:
        return thisWeek;
    case AllowancePeriod::ThisMonth:
        return thisMonth;
    }
    return 0;
}

UsedTime usedTime(const QSqlDatabase& db, const QString& userId, const AllowancePeriods& periods,
                  const QList<UnwrittenTime>& unwritten)
{
    QSqlQuery sums =
        runStatement(db, kOverlaps,
                     {{QStringLiteral(":u"), userId},
                      {QStringLiteral(":ds"), periods.today.s},
                      {QStringLiteral(":de"), periods.today.e},
                      {QStringLiteral(":ws"), periods.thisWeek.s},
                      {QStringLiteral(":we"), periods.thisWeek.e},
                      {QStringLiteral(":ms"), periods.thisMonth.s},
                      {QStringLiteral(":me"), periods.thisMonth.e},
                      {QStringLiteral(":lo"), std::min(periods.thisWeek.s, periods.thisMonth.s)},
                      {QStringLiteral(":hi"), std::max(periods.thisWeek.e, periods.thisMonth.e)}});
    UsedTime used;
    if (sums.next()) {
        used.today = sums.value(0).toDouble() * kSecondsPerDay;
        used.thisWeek = sums.value(1).toDouble() * kSecondsPerDay;
        used.thisMonth = sums.value(2).toDouble() * kSecondsPerDay;
    }
    for (const UnwrittenTime& part : unwritten) {
        used.today += overlapSeconds(part.s, part.e, periods.today);
        used.thisWeek += overlapSeconds(part.s, part.e, periods.thisWeek);
        used.thisMonth += overlapSeconds(part.s, part.e, periods.thisMonth);
    }
    return used;
}

double usedTimeOfAllRecords(const QSqlDatabase& db, const QString& userId)
{
    QSqlQuery sum =
        runStatement(db, QStringLiteral("select total(max(0, Edt - Sdt)) from XRRecord where UserId = :u"),
                     {{QStringLiteral(":u"), userId}});
    return sum.next() ? sum.value(0).toDouble() * kSecondsPerDay : 0;
}

TimeLeft timeLeft(const Allowance& allowance, const UsedTime& used, int grantedMinutesToday)
{
    TimeLeft left;
    const std::pair<AllowancePeriod, std::optional<int>> limits[] = {
        {AllowancePeriod::Today, allowance.DayMinutes},
        {AllowancePeriod::ThisWeek, allowance.WeekMinutes},
        {AllowancePeriod::ThisMonth, allowance.MonthMinutes}};
    for (const auto& [period, minutes] : limits) {
        if (!minutes)
            continue;
        const double seconds = *minutes * 60.0 - used.in(period);
        if (!left.limited || seconds < left.seconds)
            left = {true, seconds, period};
    }
    // A grant covers what is used beyond the allowance, so it is added before the floor at 0.
    if (left.limited)
        left.seconds = std::max(0.0, left.seconds + grantedMinutesToday * 60.0);
    return left;
}

} // namespace xr
