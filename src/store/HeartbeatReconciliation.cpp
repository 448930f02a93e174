#include "store/HeartbeatReconciliation.h"

#include "store/ByteCountValue.h"
#include "store/Database.h"
#include "store/DatabaseError.h"
#include "store/DayCount.h"
#include "store/Heartbeat.h"
#include "store/SqlCommand.h"
#include "store/Statement.h"

#include <QFile>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <optional>

namespace xr {

namespace {

const QString kFindRecord = QStringLiteral("select Edt from XRRecord where Sdt = :s and ConnName = :c");
// The bytes travel with the end time: those of the later moment are the later counts. Bytes the
// heartbeat does not know leave the record's own.
const QString kExtendRecord = QStringLiteral("update XRRecord set Edt = :e, RxBytes = coalesce(:r, RxBytes), "
                                             "TxBytes = coalesce(:t, TxBytes) where Sdt = :s and ConnName = :c");

void tell(const QString& line)
{
    std::fprintf(stderr, "xarvane: %s\n", line.toUtf8().constData());
    std::fflush(stderr);
}

HeartbeatOutcome discard(const QString& heartbeatFile, const QString& why)
{
    QFile::remove(heartbeatFile);
    tell(QStringLiteral("%1 %2; removed without changing any record").arg(heartbeatFile, why));
    return HeartbeatOutcome::Discarded;
}

std::optional<double> recordEnd(Database& database, const HeartbeatRecord& record)
{
    QSqlQuery query =
        runStatement(database.connection(), kFindRecord,
                     {{QStringLiteral(":s"), record.Sdt}, {QStringLiteral(":c"), record.ConnName}});
    if (!query.next())
        return std::nullopt;
    return query.value(0).toDouble();
}

void extendRecord(Database& database, const HeartbeatRecord& record, double end)
{
    SqlCommand command(database);
    command.setCommandText(kExtendRecord);
    command.setParameter(QStringLiteral(":e"), end);
    command.setParameter(QStringLiteral(":r"), byteCountValue(record.traffic, &platform::ByteCounts::received));
    command.setParameter(QStringLiteral(":t"), byteCountValue(record.traffic, &platform::ByteCounts::sent));
    command.setParameter(QStringLiteral(":s"), record.Sdt);
    command.setParameter(QStringLiteral(":c"), record.ConnName);
    command.execute();
}

// The moment last seen, kept between the record's start and the present.
double reconciledEnd(const HeartbeatRecord& record, double lastSeen, const QDateTime& now)
{
    return std::max(record.Sdt, std::min(lastSeen, toDayCount(now)));
}

// Each record the heartbeat names is given its end; one the database does not hold is told and
// left out. The file goes once every record has been dealt with.
HeartbeatOutcome applyHeartbeat(Database& database, const QString& heartbeatFile, const Heartbeat& heartbeat,
                                const QDateTime& now)
{
    QStringList missing;
    bool extended = false;
    for (const HeartbeatRecord& record : heartbeat.records) {
        const std::optional<double> end = recordEnd(database, record);
        if (!end) {
            missing.append(QStringLiteral("%1, start %2").arg(record.ConnName).arg(record.Sdt, 0, 'f', 8));
            continue;
        }
        const double target = reconciledEnd(record, heartbeat.lastSeen, now);
        if (*end < target) {
            extendRecord(database, record, target);
            extended = true;
        }
    }
    const QString why =
        QStringLiteral("names no record of this database (%1)").arg(missing.join(QStringLiteral("; ")));
    if (missing.size() == heartbeat.records.size())
        return discard(heartbeatFile, why);
    if (!missing.isEmpty())
        tell(QStringLiteral("%1 %2; its other records were reconciled").arg(heartbeatFile, why));
    QFile::remove(heartbeatFile);
    return extended ? HeartbeatOutcome::Extended : HeartbeatOutcome::Unchanged;
}

} // namespace

HeartbeatOutcome reconcileHeartbeat(Database& database, const QString& heartbeatFile, const QDateTime& now)
{
    if (!QFile::exists(heartbeatFile))
        return HeartbeatOutcome::NoHeartbeat;
    const std::optional<Heartbeat> heartbeat = readHeartbeat(heartbeatFile);
    if (!heartbeat)
        return discard(heartbeatFile, QStringLiteral("is unreadable"));
    if (heartbeat->database != databaseIdentity(database.fileName()))
        return discard(heartbeatFile,
                       QStringLiteral("belongs to another database (%1)").arg(heartbeat->database.path));
    try {
        return applyHeartbeat(database, heartbeatFile, *heartbeat, now);
    } catch (const DatabaseError& error) {
        tell(QStringLiteral("%1 kept: the record's end time could not be written: %2")
                 .arg(heartbeatFile, QString::fromUtf8(error.what())));
        return HeartbeatOutcome::Kept;
    }
}

} // namespace xr
