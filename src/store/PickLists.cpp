#include "store/PickLists.h"

#include "common/Settings.h"
#include "store/RecordQuery.h"

namespace xr {

UserPickList FillUserNames(const QSqlDatabase& db)
{
    UserPickList list;
    QSqlQuery query = RecordQuery(QStringLiteral("select UserId,UserName from XRUser")).run(db);
    while (query.next()) {
        list.ids.append(query.value(0).toString());
        list.names.append(query.value(1).toString());
    }
    list.ids.append(kAllUsers);
    list.names.append(kAllUsers);
    return list;
}

QStringList FillConnNames(const QSqlDatabase& db)
{
    QStringList names;
    QSqlQuery query = RecordQuery(QStringLiteral("SELECT DISTINCT ConnName from XRRecord")).run(db);
    while (query.next())
        names.append(query.value(0).toString());
    names.append(kAllConnections);
    return names;
}

QStringList FillStationNames(const QSqlDatabase& db)
{
    QStringList names;
    QSqlQuery query =
        RecordQuery(QStringLiteral("select distinct Station from XRRecord where Station is not null "
                                   "and Station <> '' order by Station"))
            .run(db);
    while (query.next())
        names.append(query.value(0).toString());
    names.append(kAllStations);
    return names;
}

} // namespace xr
