#include "store/Allowances.h"

#include "store/Statement.h"

#include <QVariant>

namespace xr {

namespace {

QVariant minutesValue(const std::optional<int>& minutes)
{
    return minutes ? QVariant(*minutes) : QVariant(QMetaType(QMetaType::Int));
}

std::optional<int> readMinutes(const QVariant& value)
{
    return value.isNull() ? std::nullopt : std::optional<int>(value.toInt());
}

} // namespace

int mostMinutes(AllowancePeriod period)
{
    switch (period) {
    case AllowancePeriod::Today:
        return kMinutesPerDay;
    case AllowancePeriod::ThisWeek:
        return 7 * kMinutesPerDay;
    case AllowancePeriod::ThisMonth:
        return 31 * kMinutesPerDay;
    }
    return 0;
}

QString periodName(AllowancePeriod period)
{
    switch (period) {
    case AllowancePeriod::Today:
        return QStringLiteral("今天");
    case AllowancePeriod::ThisWeek:
        return QStringLiteral("本周");
    case AllowancePeriod::ThisMonth:
        return QStringLiteral("本月");
    }
    return {};
}

Allowance readAllowance(const QSqlDatabase& db, const QString& userId)
{
    QSqlQuery row = runStatement(
        db, QStringLiteral("select DayMinutes, WeekMinutes, MonthMinutes from XRAllowance where UserId = :u"),
        {{QStringLiteral(":u"), userId}});
    Allowance allowance{userId, {}, {}, {}};
    if (row.next()) {
        allowance.DayMinutes = readMinutes(row.value(0));
        allowance.WeekMinutes = readMinutes(row.value(1));
        allowance.MonthMinutes = readMinutes(row.value(2));
    }
    return allowance;
}

void storeAllowance(const QSqlDatabase& db, const Allowance& allowance)
{
    runStatement(db, QStringLiteral("delete from XRAllowance where UserId = :u"),
                 {{QStringLiteral(":u"), allowance.UserId}});
    if (!allowance.limited())
        return;
    runStatement(db,
                 QStringLiteral("insert into XRAllowance (UserId,DayMinutes,WeekMinutes,MonthMinutes) "
                                "values (:u,:d,:w,:m)"),
                 {{QStringLiteral(":u"), allowance.UserId},
                  {QStringLiteral(":d"), minutesValue(allowance.DayMinutes)},
                  {QStringLiteral(":w"), minutesValue(allowance.WeekMinutes)},
                  {QStringLiteral(":m"), minutesValue(allowance.MonthMinutes)}});
}

void addGrant(const QSqlDatabase& db, const Grant& grant)
{
    runStatement(db,
                 QStringLiteral("insert into XRGrant (UserId,Granted,Minutes,ByUserId) values (:u,:g,:m,:b)"),
                 {{QStringLiteral(":u"), grant.UserId},
                  {QStringLiteral(":g"), grant.Granted},
                  {QStringLiteral(":m"), grant.Minutes},
                  {QStringLiteral(":b"), grant.ByUserId}});
}

int grantedMinutes(const QSqlDatabase& db, const QString& userId, double dayStart, double dayEnd)
{
    QSqlQuery sum = runStatement(
        db,
        QStringLiteral("select coalesce(sum(Minutes), 0) from XRGrant where UserId = :u and Granted >= :s "
                       "and Granted < :e"),
        {{QStringLiteral(":u"), userId}, {QStringLiteral(":s"), dayStart}, {QStringLiteral(":e"), dayEnd}});
    return sum.next() ? sum.value(0).toInt() : 0;
}

} // namespace xr
