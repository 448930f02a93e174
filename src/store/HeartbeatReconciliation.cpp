#include "store/HeartbeatReconciliation.h"

#include "store/Database.h"
#include "store/DatabaseError.h"
#include "store/DayCount.h"
#include "store/Heartbeat.h"
#include "store/SqlCommand.h"
#include "store/Statement.h"

#include <QFile>

#include <algorithm>
#include <cstdio>
#include <optional>

namespace xr {

namespace {

const QString kFindRecord = QStringLiteral("select Edt from XRRecord where Sdt = :s and ConnName = :c");
const QString kExtendRecord = QStringLiteral("update XRRecord set Edt = :e where Sdt = :s and ConnName = :c");

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

std::optional<double> recordEnd(Database& database, const Heartbeat& heartbeat)
{
    QSqlQuery query =
        runStatement(database.connection(), kFindRecord,
                     {{QStringLiteral(":s"), heartbeat.Sdt}, {QStringLiteral(":c"), heartbeat.ConnName}});
    if (!query.next())
        return std::nullopt;
    return query.value(0).toDouble();
}

void extendRecord(Database& database, const Heartbeat& heartbeat, double end)
{
    SqlCommand command(database);
    command.setCommandText(kExtendRecord);
    command.setParameter(QStringLiteral(":e"), end);
    command.setParameter(QStringLiteral(":s"), heartbeat.Sdt);
    command.setParameter(QStringLiteral(":c"), heartbeat.ConnName);
    command.execute();
}

// The moment last seen, kept between the record's start and the present.
double reconciledEnd(const Heartbeat& heartbeat, const QDateTime& now)
{
    return std::max(heartbeat.Sdt, std::min(heartbeat.lastSeen, toDayCount(now)));
}

HeartbeatOutcome applyHeartbeat(Database& database, const QString& heartbeatFile, const Heartbeat& heartbeat,
                                const QDateTime& now)
{
    const std::optional<double> end = recordEnd(database, heartbeat);
    if (!end)
        return discard(heartbeatFile, QStringLiteral("names no record of this database (%1, start %2)")
                                          .arg(heartbeat.ConnName)
                                          .arg(heartbeat.Sdt, 0, 'f', 8));
    const double target = reconciledEnd(heartbeat, now);
    const bool extend = *end < target;
    if (extend)
        extendRecord(database, heartbeat, target);
    QFile::remove(heartbeatFile);
    return extend ? HeartbeatOutcome::Extended : HeartbeatOutcome::Unchanged;
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
