#pragma once
// Online-time allowances: how many minutes a person may be online today, this week (Monday to
// Sunday) and this month, and the one-off extra minutes an administrator gives for a day. The
// anonymous account's allowance applies while nobody is signed in.

#include <QList>
#include <QSqlDatabase>
#include <QString>

#include <optional>

namespace xr {

enum class AllowancePeriod { Today, ThisWeek, ThisMonth };

// The largest allowance of each period and the largest grant: the minutes the period has.
inline constexpr int kMinutesPerDay = 24 * 60;
int mostMinutes(AllowancePeriod period);

// A person's limits in minutes; no value means no limit for that period.
struct Allowance {
    QString UserId;
    std::optional<int> DayMinutes;
    std::optional<int> WeekMinutes;
    std::optional<int> MonthMinutes;

    bool limited() const { return DayMinutes || WeekMinutes || MonthMinutes; }
    friend bool operator==(const Allowance&, const Allowance&) = default;
};

// One-off extra minutes for the day of `Granted` (a day count), given by the account ByUserId.
struct Grant {
    QString UserId;
    double Granted = 0;
    int Minutes = 0;
    QString ByUserId;
};

// "今天", "本周", "本月": the period as the messages name it.
QString periodName(AllowancePeriod period);

// The person's allowance; without a row, no limit. Throws DatabaseError.
Allowance readAllowance(const QSqlDatabase& db, const QString& userId);
// Replaces the person's allowance; one without any limit leaves no row. Throws DatabaseError.
void storeAllowance(const QSqlDatabase& db, const Allowance& allowance);
// Throws DatabaseError.
void addGrant(const QSqlDatabase& db, const Grant& grant);
// The minutes granted to the person from `dayStart` (inclusive) to `dayEnd` (exclusive), day
// counts. Throws DatabaseError.
int grantedMinutes(const QSqlDatabase& db, const QString& userId, double dayStart, double dayEnd);

} // namespace xr
