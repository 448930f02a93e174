#include "browser/AllowanceSummary.h"

#include "browser/DurationText.h"
#include "store/AccountStore.h"
#include "store/UsedTime.h"

#include <QStringList>

#include <algorithm>
#include <optional>

namespace xr {

namespace {

constexpr double kSecondsPerDay = 86400.0;

QString durationWords(double seconds)
{
    return DurationText(false, 0, seconds / kSecondsPerDay);
}

// A grant covers use beyond any period's allowance, as in the time left.
QString leftText(const std::optional<int>& minutes, double used, int granted)
{
    if (!minutes)
        return QStringLiteral("不限");
    return durationWords(std::max(0.0, (*minutes + granted) * 60.0 - used));
}

// What the line is made of, all read from one database.
struct AllowanceState {
    UsedTime used;
    Allowance allowance;
    int granted = 0;
};

} // namespace

QString allowanceSummary(const AccountStore& accounts, const QString& userId, const QDateTime& now)
{
    const AllowancePeriods periods = allowancePeriods(now.date());
    const auto [used, allowance, granted] = accounts.read([&](const QSqlDatabase& db) {
        return AllowanceState{usedTime(db, userId, periods), readAllowance(db, userId),
                              grantedMinutes(db, userId, periods.today.s, periods.today.e)};
    });
    const std::pair<AllowancePeriod, std::optional<int>> limits[] = {
        {AllowancePeriod::Today, allowance.DayMinutes},
        {AllowancePeriod::ThisWeek, allowance.WeekMinutes},
        {AllowancePeriod::ThisMonth, allowance.MonthMinutes}};
    QStringList parts;
    for (const auto& [period, minutes] : limits)
        parts << QStringLiteral("%1：已用%2，剩余%3")
                     .arg(periodName(period), durationWords(used.in(period)),
                          leftText(minutes, used.in(period), granted));
    return parts.join(QStringLiteral("　"));
}

} // namespace xr
