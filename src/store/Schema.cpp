#include "store/Schema.h"

#include "store/AllowanceTables.h"
#include "store/DatabaseError.h"
#include "store/Identifiers.h"
#include "store/RecordCopyTables.h"
#include "store/Statement.h"

namespace xr {

namespace {

void exec(QSqlDatabase& db, const QString& text)
{
    runStatement(db, text, {});
}

void addUser(QSqlDatabase& db, const QString& id, const QString& name, const QString& passwordHash,
             bool admin, bool passwordReset)
{
    runStatement(db,
                 QStringLiteral("insert into XRUser (UserId,UserName,UserPw,Admin,Enabled,Remark,PwReset) "
                                "values (:id,:name,:pw,:admin,1,'',:reset)"),
                 {{QStringLiteral(":id"), id},
                  {QStringLiteral(":name"), name},
                  {QStringLiteral(":pw"), passwordHash},
                  {QStringLiteral(":admin"), admin ? 1 : 0},
                  {QStringLiteral(":reset"), passwordReset ? 1 : 0}});
}

} // namespace

void createSchema(QSqlDatabase& db, const QString& adminPassword, AdminPassword admin, HashCost cost)
{
    const QString operation = QStringLiteral("建立数据库");
    const QString adminHash = hashPassword(adminPassword, cost);
    const QString anonymousHash = hashPassword(QString(), cost);
    if (!db.transaction())
        throw DatabaseError(db.lastError(), operation);
    // Date-times are REAL day counts; text widths are not enforced, so long names are kept whole.
    exec(db, QStringLiteral("create table XRRecord (RecordId text, Sdt real, Edt real, UserId text, "
                            "ConnName text, RxBytes integer, TxBytes integer, Station text, "
                            "Revision integer not null default 1, CopiedRevision integer not null default 0)"));
    exec(db, QStringLiteral("create index XRRecordSdt on XRRecord (Sdt)"));
    createCopyBookkeeping(db);
    exec(db, QStringLiteral("create table XRUser (UserId text not null, UserName text, UserPw text, "
                            "Admin integer not null default 0, Enabled integer not null default 1, "
                            "Remark text, PwReset integer not null default 0)"));
    createAllowanceTables(db);
    exec(db, QStringLiteral("create table SchemaVersion (Version integer not null)"));
    exec(db, QStringLiteral("insert into SchemaVersion (Version) values (%1)").arg(kSchemaVersion));
    const bool replaced = admin == AdminPassword::ReplacedAtFirstSignIn && adminPassword.isEmpty();
    addUser(db, kBuiltInUserId, QStringLiteral("admin"), adminHash, true, replaced);
    addUser(db, kAnonymousUserId, kAnonymousUserName, anonymousHash, false, false);
    if (!db.commit())
        throw DatabaseError(db.lastError(), operation);
}

} // namespace xr
