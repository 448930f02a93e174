#pragma once
// The line beside the usage list's total: the listed person's used time and time left today,
// this week and this month, as the database holds them (a record still open counts up to its
// end time as last written): with a shared server that answers, every PC's records.

#include <QDateTime>
#include <QString>

namespace xr {

class AccountStore;

// "今天：已用1小时5分0秒，剩余55分0秒　本周：已用…，剩余不限　本月：…". Throws DatabaseError.
QString allowanceSummary(const AccountStore& accounts, const QString& userId, const QDateTime& now);

} // namespace xr
