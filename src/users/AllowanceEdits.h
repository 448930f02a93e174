#pragma once
// What the allowance dialog shows and accepts: one row per account (the anonymous one
// included) with its allowance and today's grants, and the reading of typed minutes.

#include "store/Allowances.h"

#include <QDateTime>
#include <QList>
#include <QSqlDatabase>
#include <QString>

#include <optional>

namespace xr {

struct AllowanceRow {
    QString UserName;
    Allowance allowance;
    int grantedToday = 0;
};

// Every account by name, with its allowance and the minutes granted to it today. Throws
// DatabaseError.
QList<AllowanceRow> allowanceRows(const QSqlDatabase& db, const QDateTime& now);

// Typed minutes of a period's allowance: blank is no limit. Nothing when the text is not a
// whole number from 0 to the minutes the period has.
struct TypedMinutes {
    bool valid = false;
    std::optional<int> minutes;
};
TypedMinutes readAllowanceMinutes(const QString& text, AllowancePeriod period);
QString badAllowanceMinutesText(const QString& userName, AllowancePeriod period, const QString& text);

// Typed minutes of a grant: a whole number from 1 to a day's minutes.
std::optional<int> readGrantMinutes(const QString& text);
QString badGrantMinutesText(const QString& text);

// Today's grant of `minutes` to `userId` by the signed-in `byUserId`. Throws DatabaseError.
void grantToday(const QSqlDatabase& db, const QString& userId, int minutes, const QString& byUserId,
                const QDateTime& now);

} // namespace xr
