#include "store/SchemaUpgrade.h"

#include "store/AllowanceTables.h"
#include "store/DatabaseError.h"
#include "store/PasswordHash.h"
#include "store/RecordCopyTables.h"
#include "store/Schema.h"
#include "store/Statement.h"

#include <QList>
#include <QSqlQuery>
#include <QVariant>

#include <iterator>
#include <utility>

namespace xr {

namespace {

// Version 2: passwords are kept as hashes, and an account can be marked to replace its empty
// password at its first sign-in. Every stored password, the empty one too, becomes its hash,
// so that every account signs in as before; the space the texts leave is overwritten, so that
// the file keeps no trace of them.
void keepPasswordsAsHashes(const QSqlDatabase& db)
{
    runStatement(db, QStringLiteral("pragma secure_delete = on"), {});
    runStatement(db, QStringLiteral("alter table XRUser add column PwReset integer not null default 0"), {});
    QSqlQuery users = runStatement(db, QStringLiteral("select rowid, coalesce(UserPw, '') from XRUser"), {});
    QList<std::pair<QVariant, QString>> passwords;
    while (users.next())
        passwords.append({users.value(0), users.value(1).toString()});
    for (const auto& [row, password] : passwords)
        runStatement(db, QStringLiteral("update XRUser set UserPw = :p where rowid = :r"),
                     {{QStringLiteral(":p"), hashPassword(password)}, {QStringLiteral(":r"), row}});
}

// Version 3: the bytes each record's connection received and sent. Older records did not count
// them: NULL, unknown.
void countTraffic(const QSqlDatabase& db)
{
    runStatement(db, QStringLiteral("alter table XRRecord add column RxBytes integer"), {});
    runStatement(db, QStringLiteral("alter table XRRecord add column TxBytes integer"), {});
}

// Version 4: online-time allowances, the extra time given, and the index that sums a person's
// used time.
void addAllowances(const QSqlDatabase& db)
{
    createAllowanceTables(db);
}

// Version 5: the PC that recorded each row, and what is still to be copied to a shared server.
// The older rows are all still to be copied; they take this PC's name when they are.
void journalRecords(const QSqlDatabase& db)
{
    runStatement(db, QStringLiteral("alter table XRRecord add column Station text"), {});
    runStatement(db, QStringLiteral("alter table XRRecord add column Revision integer not null default 1"), {});
    runStatement(db, QStringLiteral("alter table XRRecord add column CopiedRevision integer not null default 0"), {});
    createCopyBookkeeping(db);
}

using UpgradeStep = void (*)(const QSqlDatabase& db);

// kUpgradeSteps[n] takes a database from version n + 1 to version n + 2.
constexpr UpgradeStep kUpgradeSteps[] = {&keepPasswordsAsHashes, &countTraffic, &addAllowances, &journalRecords};
static_assert(std::size(kUpgradeSteps) == kSchemaVersion - 1, "one step for each version after the first");

void run(const QSqlDatabase& db, const QString& statement)
{
    runStatement(db, statement, {});
}

void recordVersion(const QSqlDatabase& db)
{
    run(db, QStringLiteral("create table if not exists SchemaVersion (Version integer not null)"));
    run(db, QStringLiteral("delete from SchemaVersion"));
    runStatement(db, QStringLiteral("insert into SchemaVersion (Version) values (:v)"),
                 {{QStringLiteral(":v"), kSchemaVersion}});
}

// Another copy of the program may have converted the file while this one waited for the lock:
// the version is read again inside the transaction.
void runMissingSteps(const QSqlDatabase& db)
{
    for (int version = schemaVersion(db); version < kSchemaVersion; ++version)
        kUpgradeSteps[version - 1](db);
    recordVersion(db);
}

QString newerFileText(const QSqlDatabase& db, int version)
{
    return QStringLiteral("数据库文件%1的格式(版本%2)比本程序(版本%3)新，本程序不能使用它，也没有改动它。"
                          "\r\r请安装较新版本的Xarvane。")
        .arg(db.databaseName())
        .arg(version)
        .arg(kSchemaVersion);
}

QString readOnlyText(const QSqlDatabase& db)
{
    return QStringLiteral("数据库文件%1需要转换为本程序的新格式，但本程序不能写入它，所以没有改动它。"
                          "\r\r请让系统管理员给予写入该文件及其文件夹的权限，然后再启动本程序。")
        .arg(db.databaseName());
}

// While another copy of the program converts the file, this one waits for it to finish (hashing
// takes a moment per account) rather than fail as locked; the usual wait comes back afterwards.
class ConversionWait {
public:
    explicit ConversionWait(const QSqlDatabase& db) : m_db(db)
    {
        QSqlQuery current = runStatement(m_db, QStringLiteral("pragma busy_timeout"), {});
        m_usualMs = current.next() ? current.value(0).toInt() : 0;
        runStatement(m_db, QStringLiteral("pragma busy_timeout = %1").arg(kConversionWaitMs), {});
    }
    ~ConversionWait() { QSqlQuery(m_db).exec(QStringLiteral("pragma busy_timeout = %1").arg(m_usualMs)); }
    ConversionWait(const ConversionWait&) = delete;
    ConversionWait& operator=(const ConversionWait&) = delete;

private:
    static constexpr int kConversionWaitMs = 120000;
    const QSqlDatabase& m_db;
    int m_usualMs = 0;
};

// The exception being handled again; a write the file refused is told in the user's words.
[[noreturn]] void rethrowExplained(const QSqlDatabase& db)
{
    try {
        throw;
    } catch (const DatabaseError& error) {
        if (error.readOnly())
            throw DatabaseError(readOnlyText(db));
        throw;
    }
}

} // namespace

int schemaVersion(const QSqlDatabase& db)
{
    QSqlQuery table = runStatement(
        db,
        QStringLiteral("select count(*) from sqlite_master where type = 'table' and name = 'SchemaVersion'"),
        {});
    if (!table.next() || table.value(0).toInt() == 0)
        return 1;
    QSqlQuery version = runStatement(db, QStringLiteral("select max(Version) from SchemaVersion"), {});
    return version.next() && !version.value(0).isNull() ? version.value(0).toInt() : 1;
}

void upgradeSchema(const QSqlDatabase& db)
{
    const int version = schemaVersion(db);
    if (version > kSchemaVersion)
        throw DatabaseError(newerFileText(db, version));
    if (version == kSchemaVersion)
        return;
    const ConversionWait wait(db);
    try {
        // The write lock is taken first, so that two copies starting at once convert the file
        // one after the other.
        run(db, QStringLiteral("begin immediate"));
    } catch (...) {
        rethrowExplained(db);
    }
    try {
        runMissingSteps(db);
        run(db, QStringLiteral("commit"));
    } catch (...) {
        QSqlQuery(db).exec(QStringLiteral("rollback"));
        rethrowExplained(db);
    }
}

} // namespace xr
