#include "store/Schema.h"

#include "store/DatabaseError.h"
#include "store/Identifiers.h"
#include "store/Statement.h"

namespace xr {

namespace {

void exec(QSqlDatabase& db, const QString& text)
{
    runStatement(db, text, {});
}

void addUser(QSqlDatabase& db, const QString& id, const QString& name, const QString& password, bool admin)
{
    // An empty password is stored as empty text, never NULL, so that it can be typed.
    runStatement(db,
                 QStringLiteral("insert into XRUser (UserId,UserName,UserPw,Admin,Enabled,Remark) "
                                "values (:id,:name,:pw,:admin,1,'')"),
                 {{QStringLiteral(":id"), id},
                  {QStringLiteral(":name"), name},
                  {QStringLiteral(":pw"), password.isEmpty() ? QStringLiteral("") : password},
                  {QStringLiteral(":admin"), admin ? 1 : 0}});
}

} // namespace

void createSchema(QSqlDatabase& db, const QString& adminPassword)
{
    const QString operation = QStringLiteral("建立数据库");
    if (!db.transaction())
        throw DatabaseError(db.lastError(), operation);
    // Date-times are REAL day counts; text widths are not enforced, so long names are kept whole.
    exec(db, QStringLiteral("create table XRRecord (RecordId text, Sdt real, Edt real, UserId text, "
                            "ConnName text)"));
    exec(db, QStringLiteral("create index XRRecordSdt on XRRecord (Sdt)"));
    exec(db, QStringLiteral("create table XRUser (UserId text not null, UserName text, UserPw text, "
                            "Admin integer not null default 0, Enabled integer not null default 1, "
                            "Remark text)"));
    exec(db, QStringLiteral("create table SchemaVersion (Version integer not null)"));
    exec(db, QStringLiteral("insert into SchemaVersion (Version) values (%1)").arg(kSchemaVersion));
    addUser(db, kBuiltInUserId, QStringLiteral("admin"), adminPassword, true);
    addUser(db, kAnonymousUserId, kAnonymousUserName, QString(), false);
    if (!db.commit())
        throw DatabaseError(db.lastError(), operation);
}

} // namespace xr
