#pragma once
// The contents of the query panel's user, connection and station lists (the period list is read with
// the settings, readTimePeriods).

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

namespace xr {

inline const QString kAllUsers = QStringLiteral("所有用户");
inline const QString kAllStations = QStringLiteral("所有电脑");

struct UserPickList {
    QStringList names; // items of the user list, ending with "所有用户"
    QStringList ids;   // the user id of each item, parallel to names
};

// Every account, the reserved ones included, in the order the table returns them, then
// "所有用户" in both lists. Throws DatabaseError.
UserPickList FillUserNames(const QSqlDatabase& db);
// The distinct connection names of all users' records, then "所有连接". Throws DatabaseError.
QStringList FillConnNames(const QSqlDatabase& db);
// The distinct stations (PCs) that have records, in name order, then "所有电脑". Rows written
// before records carried their station are left out. Throws DatabaseError.
QStringList FillStationNames(const QSqlDatabase& db);

} // namespace xr
