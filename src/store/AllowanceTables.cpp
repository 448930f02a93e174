#include "store/AllowanceTables.h"

#include "store/Statement.h"

namespace xr {

void createAllowanceTables(const QSqlDatabase& db)
{
    runStatement(db,
                 QStringLiteral("create table XRAllowance (UserId text primary key, DayMinutes integer, "
                                "WeekMinutes integer, MonthMinutes integer)"),
                 {});
    runStatement(db,
                 QStringLiteral("create table XRGrant (UserId text not null, Granted real not null, "
                                "Minutes integer not null, ByUserId text not null)"),
                 {});
    runStatement(db, QStringLiteral("create index XRGrantUser on XRGrant (UserId, Granted)"), {});
    runStatement(db, QStringLiteral("create index XRRecordUserEdt on XRRecord (UserId, Edt)"), {});
}

} // namespace xr
