#pragma once
// A person's used online time in the three allowance periods, and the time left of the
// allowance. Used time is the sum of the overlaps of the person's records with the period; a
// record whose end lies before its start (the clock was moved back) counts nothing.

#include "store/Allowances.h"
#include "store/TimeBounds.h"

#include <QDate>
#include <QList>
#include <QSqlDatabase>
#include <QString>

namespace xr {

// Day counts from the first moment of each period to the first moment after it: today from
// midnight to midnight, this week from Monday's midnight to the midnight after Sunday.
struct AllowancePeriods {
    TimeBounds today;
    TimeBounds thisWeek;
    TimeBounds thisMonth;
};
AllowancePeriods allowancePeriods(const QDate& today);

// Seconds used in each period.
struct UsedTime {
    double today = 0;
    double thisWeek = 0;
    double thisMonth = 0;

    double in(AllowancePeriod period) const;
};

// Time not yet written to a record that is still open: from its end time as written to now.
using UnwrittenTime = TimeBounds;

// The person's records overlapping the periods (only those, through the index on
// XRRecord(UserId, Edt)), plus `unwritten`. Throws DatabaseError.
UsedTime usedTime(const QSqlDatabase& db, const QString& userId, const AllowancePeriods& periods,
                  const QList<UnwrittenTime>& unwritten = {});

// Seconds of the person's records over all time, without looking at the periods (what the
// indexed sum is measured against).
double usedTimeOfAllRecords(const QSqlDatabase& db, const QString& userId);

// What is left: the smallest of the periods' allowances less their used time, plus today's
// grants; never below 0. `period` is the one that runs out first. Not limited: no allowance.
struct TimeLeft {
    bool limited = false;
    double seconds = 0;
    AllowancePeriod period = AllowancePeriod::Today;
};
TimeLeft timeLeft(const Allowance& allowance, const UsedTime& used, int grantedMinutesToday);

} // namespace xr
