#include "store/ServerSchema.h"

#include "store/DatabaseError.h"
#include "store/Identifiers.h"
#include "store/PasswordHash.h"
#include "store/Statement.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

namespace xr {

namespace {

const QStringList& serverTables()
{
    static const QStringList statements{
        QStringLiteral("create table if not exists XRRecord (RowNo bigint generated always as identity primary key, "
                       "Station text not null, RecordId text not null, Sdt double precision, Edt double precision, "
                       "UserId text, ConnName text, RxBytes bigint, TxBytes bigint, "
                       "Assigned integer not null default 0, unique (Station, RecordId))"),
        QStringLiteral("create index if not exists XRRecordSdt on XRRecord (Sdt, ConnName)"),
        QStringLiteral("create index if not exists XRRecordUserEdt on XRRecord (UserId, Edt)"),
        // The usage list in its order with every column it reads: opening a million records
        // reads this index alone, without sorting them.
        QStringLiteral("create index if not exists XRRecordListOrder on XRRecord "
                       "(Sdt nulls first, ConnName collate \"C\" nulls first, RowNo) "
                       "include (Edt, RxBytes, TxBytes, UserId, Station)"),
        QStringLiteral("create table if not exists XRRecordGone (Station text not null, RecordId text not null, "
                       "primary key (Station, RecordId))"),
        QStringLiteral("create table if not exists XRUser (UserId text not null primary key, UserName text, "
                       "UserPw text, Admin integer not null default 0, Enabled integer not null default 1, "
                       "Remark text, PwReset integer not null default 0)"),
        QStringLiteral("create table if not exists XRAllowance (UserId text primary key, DayMinutes integer, "
                       "WeekMinutes integer, MonthMinutes integer)"),
        QStringLiteral("create table if not exists XRGrant (UserId text not null, Granted double precision not null, "
                       "Minutes integer not null, ByUserId text not null)"),
        QStringLiteral("create index if not exists XRGrantUser on XRGrant (UserId, Granted)"),
        QStringLiteral("create table if not exists SchemaVersion (Version integer not null)"),
    };
    return statements;
}

void addMissingUser(const QSqlDatabase& db, const QString& id, const QString& name, const QString& password,
                    bool admin, bool passwordReset)
{
    runStatement(db,
                 QStringLiteral("insert into XRUser (UserId,UserName,UserPw,Admin,Enabled,Remark,PwReset) "
                                "values (:id,:name,:pw,:admin,1,'',:reset) on conflict (UserId) do nothing"),
                 {{QStringLiteral(":id"), id},
                  {QStringLiteral(":name"), name},
                  {QStringLiteral(":pw"), hashPassword(password)},
                  {QStringLiteral(":admin"), admin ? 1 : 0},
                  {QStringLiteral(":reset"), passwordReset ? 1 : 0}});
}

} // namespace

void createServerSchema(const QSqlDatabase& db, const QString& adminPassword)
{
    QSqlDatabase connection = db;
    const QString operation = QStringLiteral("建立服务器数据库");
    if (!connection.transaction())
        throw DatabaseError(connection.lastError(), operation);
    try {
        // One set-up at a time: a second waits here and then finds everything made.
        runStatement(db, QStringLiteral("select pg_advisory_xact_lock(7301)"), {});
        for (const QString& statement : serverTables())
            runStatement(db, statement, {});
        runStatement(db,
                     QStringLiteral("insert into SchemaVersion (Version) select :v "
                                    "where not exists (select 1 from SchemaVersion)"),
                     {{QStringLiteral(":v"), kServerSchemaVersion}});
        addMissingUser(db, kBuiltInUserId, QStringLiteral("admin"), adminPassword, true, adminPassword.isEmpty());
        addMissingUser(db, kAnonymousUserId, kAnonymousUserName, QString(), false, false);
    } catch (...) {
        connection.rollback();
        throw;
    }
    if (!connection.commit())
        throw DatabaseError(connection.lastError(), operation);
}

int serverSchemaVersion(const QSqlDatabase& db)
{
    QSqlQuery tables = runStatement(
        db,
        QStringLiteral("select count(*) from information_schema.tables where table_schema = current_schema() "
                       "and table_name in ('xrrecord', 'xrrecordgone', 'xruser', 'xrallowance', 'xrgrant', "
                       "'schemaversion')"),
        {});
    if (!tables.next() || tables.value(0).toInt() != 6)
        return 0;
    QSqlQuery version = runStatement(db, QStringLiteral("select max(Version) from SchemaVersion"), {});
    return version.next() && !version.value(0).isNull() ? version.value(0).toInt() : 0;
}

} // namespace xr
