#include "users/AllowanceEdits.h"

#include "store/DayCount.h"
#include "store/Statement.h"
#include "store/UsedTime.h"

namespace xr {

namespace {

std::optional<int> wholeNumber(const QString& text, int least, int most)
{
    bool ok = false;
    const int number = text.trimmed().toInt(&ok);
    if (!ok || number < least || number > most)
        return std::nullopt;
    return number;
}

QString periodColumn(AllowancePeriod period)
{
    switch (period) {
    case AllowancePeriod::Today:
        return QStringLiteral("每天");
    case AllowancePeriod::ThisWeek:
        return QStringLiteral("每周");
    case AllowancePeriod::ThisMonth:
        return QStringLiteral("每月");
    }
    return {};
}

} // namespace

QList<AllowanceRow> allowanceRows(const QSqlDatabase& db, const QDateTime& now)
{
    QSqlQuery accounts =
        runStatement(db, QStringLiteral("select UserId, UserName from XRUser order by UserName"), {});
    QList<AllowanceRow> rows;
    while (accounts.next())
        rows.append({accounts.value(1).toString(), {accounts.value(0).toString(), {}, {}, {}}, 0});
    const TimeBounds today = allowancePeriods(now.date()).today;
    for (AllowanceRow& row : rows) {
        const QString id = row.allowance.UserId;
        row.allowance = readAllowance(db, id);
        row.grantedToday = grantedMinutes(db, id, today.s, today.e);
    }
    return rows;
}

TypedMinutes readAllowanceMinutes(const QString& text, AllowancePeriod period)
{
    if (text.trimmed().isEmpty())
        return {true, std::nullopt};
    const std::optional<int> minutes = wholeNumber(text, 0, mostMinutes(period));
    return {minutes.has_value(), minutes};
}

QString badAllowanceMinutesText(const QString& userName, AllowancePeriod period, const QString& text)
{
    return QStringLiteral("[%1]的[%2]上网时限“%3”不正确！\r\r请输入0到%4之间的分钟数，空白表示不限。")
        .arg(userName, periodColumn(period), text.trimmed())
        .arg(mostMinutes(period));
}

std::optional<int> readGrantMinutes(const QString& text)
{
    return wholeNumber(text, 1, kMinutesPerDay);
}

QString badGrantMinutesText(const QString& text)
{
    return QStringLiteral("加时“%1”不正确！\r\r请输入1到%2之间的分钟数。")
        .arg(text.trimmed())
        .arg(kMinutesPerDay);
}

void grantToday(const QSqlDatabase& db, const QString& userId, int minutes, const QString& byUserId,
                const QDateTime& now)
{
    addGrant(db, {userId, toDayCount(now), minutes, byUserId});
}

} // namespace xr
