#include "store/Heartbeat.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace xr {

namespace {
const QString kDatabase = QStringLiteral("database");
const QString kCreated = QStringLiteral("databaseCreated");
const QString kSdt = QStringLiteral("Sdt");
const QString kConnName = QStringLiteral("ConnName");
const QString kUserId = QStringLiteral("UserId");
const QString kLastSeen = QStringLiteral("lastSeen");

bool holdsHeartbeat(const QJsonObject& object)
{
    return object.value(kDatabase).isString() && object.value(kCreated).isString() &&
           object.value(kSdt).isDouble() && object.value(kConnName).isString() &&
           object.value(kUserId).isString() && object.value(kLastSeen).isDouble();
}
} // namespace

bool writeHeartbeat(const QString& file, const Heartbeat& heartbeat)
{
    const QJsonObject object{{kDatabase, heartbeat.database.path},
                             {kCreated, heartbeat.database.created},
                             {kSdt, heartbeat.Sdt},
                             {kConnName, heartbeat.ConnName},
                             {kUserId, heartbeat.UserId},
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
    if (!holdsHeartbeat(object))
        return std::nullopt;
    return Heartbeat{{object.value(kDatabase).toString(), object.value(kCreated).toString()},
                     object.value(kSdt).toDouble(),
                     object.value(kConnName).toString(),
                     object.value(kUserId).toString(),
                     object.value(kLastSeen).toDouble()};
}

} // namespace xr
