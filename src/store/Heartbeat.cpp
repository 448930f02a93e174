#include "store/Heartbeat.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include <pwd.h>
#include <unistd.h>

namespace xr {

QString heartbeatFileName()
{
    const passwd* account = ::getpwuid(::getuid());
    const QString name = account ? QString::fromLocal8Bit(account->pw_name) : QString::number(::getuid());
    return QStringLiteral("XRDB.%1.heartbeat").arg(name);
}

namespace {
const QString kDatabase = QStringLiteral("database");
const QString kCreated = QStringLiteral("databaseCreated");
const QString kRecords = QStringLiteral("records");
const QString kSdt = QStringLiteral("Sdt");
const QString kConnName = QStringLiteral("ConnName");
const QString kUserId = QStringLiteral("UserId");
const QString kLastSeen = QStringLiteral("lastSeen");
const QString kRxBytes = QStringLiteral("rxBytes");
const QString kTxBytes = QStringLiteral("txBytes");

QJsonObject recordObject(const HeartbeatRecord& record)
{
    QJsonObject object{{kSdt, record.Sdt}, {kConnName, record.ConnName}, {kUserId, record.UserId}};
    if (record.traffic) {
        // Exact as JSON numbers up to 2^53 bytes.
        object.insert(kRxBytes, static_cast<double>(record.traffic->received));
        object.insert(kTxBytes, static_cast<double>(record.traffic->sent));
    }
    return object;
}

// A file of an earlier version, or of a record whose bytes were not known, has none.
std::optional<platform::ByteCounts> readTraffic(const QJsonObject& object)
{
    if (!object.value(kRxBytes).isDouble() || !object.value(kTxBytes).isDouble())
        return std::nullopt;
    return platform::ByteCounts{static_cast<std::uint64_t>(object.value(kRxBytes).toDouble()),
                                static_cast<std::uint64_t>(object.value(kTxBytes).toDouble())};
}

std::optional<HeartbeatRecord> readRecord(const QJsonObject& object)
{
    if (!object.value(kSdt).isDouble() || !object.value(kConnName).isString() ||
        !object.value(kUserId).isString())
        return std::nullopt;
    return HeartbeatRecord{object.value(kSdt).toDouble(), object.value(kConnName).toString(),
                           object.value(kUserId).toString(), readTraffic(object)};
}

// The records of the file: its list, or the one record an earlier version kept beside the
// database's identity. Empty when any of them is incomplete.
QList<HeartbeatRecord> readRecords(const QJsonObject& object)
{
    if (!object.contains(kRecords)) {
        const std::optional<HeartbeatRecord> single = readRecord(object);
        return single ? QList<HeartbeatRecord>{*single} : QList<HeartbeatRecord>{};
    }
    QList<HeartbeatRecord> records;
    for (const QJsonValue& value : object.value(kRecords).toArray()) {
        const std::optional<HeartbeatRecord> record = readRecord(value.toObject());
        if (!record)
            return {};
        records.append(*record);
    }
    return records;
}
} // namespace

bool writeHeartbeat(const QString& file, const Heartbeat& heartbeat)
{
    QJsonArray records;
    for (const HeartbeatRecord& record : heartbeat.records)
        records.append(recordObject(record));
    const QJsonObject object{{kDatabase, heartbeat.database.path},
                             {kCreated, heartbeat.database.created},
                             {kRecords, records},
                             {kLastSeen, heartbeat.lastSeen}};
    const QByteArray text = QJsonDocument(object).toJson(QJsonDocument::Compact);
    QSaveFile output(file);
    output.setDirectWriteFallback(false);
    return output.open(QIODevice::WriteOnly) && output.write(text) == text.size() && output.commit();
}

std::optional<Heartbeat> readHeartbeat(const QString& file)
{
    QFile input(file);
    if (!input.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QJsonObject object = QJsonDocument::fromJson(input.readAll()).object();
    if (!object.value(kDatabase).isString() || !object.value(kCreated).isString() ||
        !object.value(kLastSeen).isDouble())
        return std::nullopt;
    QList<HeartbeatRecord> records = readRecords(object);
    if (records.isEmpty())
        return std::nullopt;
    return Heartbeat{{object.value(kDatabase).toString(), object.value(kCreated).toString()},
                     std::move(records),
                     object.value(kLastSeen).toDouble()};
}

} // namespace xr
