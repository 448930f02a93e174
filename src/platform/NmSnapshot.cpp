#include "platform/NmSnapshot.h"

#include "platform/NmMapping.h"
#include "platform/NmNames.h"

#include <QDBusArgument>
#include <QDBusObjectPath>
#include <QMap>
#include <QVariantMap>

#include <QtEndian>

namespace xr::platform {

namespace {

using Interfaces = QMap<QString, QVariantMap>;
using Objects = QMap<QString, Interfaces>;

Objects readObjects(const QDBusMessage& reply)
{
    Objects objects;
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return objects;
    const QDBusArgument argument = reply.arguments().constFirst().value<QDBusArgument>();
    argument.beginMap();
    while (!argument.atEnd()) {
        QDBusObjectPath path;
        Interfaces interfaces;
        argument.beginMapEntry();
        argument >> path >> interfaces;
        argument.endMapEntry();
        objects.insert(path.path(), interfaces);
    }
    argument.endMap();
    return objects;
}

QString objectPath(const QVariant& value)
{
    const QString path = qdbus_cast<QDBusObjectPath>(value).path();
    return path == QStringLiteral("/") ? QString() : path;
}

QList<QDBusObjectPath> objectPaths(const QVariant& value)
{
    return qdbus_cast<QList<QDBusObjectPath>>(value);
}

QVariantMap properties(const Objects& objects, const QString& path, const QString& interface)
{
    return objects.value(path).value(interface);
}

// The interface that carries the traffic: the IP interface when it differs (ppp0 over eth0).
QString interfaceOf(const Objects& objects, const QVariantMap& active)
{
    const QList<QDBusObjectPath> devices = objectPaths(active.value(QStringLiteral("Devices")));
    if (devices.isEmpty())
        return {};
    const QVariantMap device = properties(objects, devices.constFirst().path(), nm::DeviceInterface);
    const QString ipInterface = device.value(QStringLiteral("IpInterface")).toString();
    return ipInterface.isEmpty() ? device.value(QStringLiteral("Interface")).toString() : ipInterface;
}

QString firstAddress(const Objects& objects, const QVariantMap& active)
{
    const QVariantMap config =
        properties(objects, objectPath(active.value(QStringLiteral("Ip4Config"))), nm::Ip4ConfigInterface);
    const auto data = qdbus_cast<QList<QVariantMap>>(config.value(QStringLiteral("AddressData")));
    if (!data.isEmpty())
        return data.constFirst().value(QStringLiteral("address")).toString();
    // Older services give only the address triples, in network byte order.
    const auto triples = qdbus_cast<QList<QList<uint>>>(config.value(QStringLiteral("Addresses")));
    if (!triples.isEmpty() && !triples.constFirst().isEmpty()) {
        const quint32 address = qFromBigEndian<quint32>(triples.constFirst().constFirst());
        return QStringLiteral("%1.%2.%3.%4")
            .arg(address >> 24)
            .arg((address >> 16) & 0xFF)
            .arg((address >> 8) & 0xFF)
            .arg(address & 0xFF);
    }
    return {};
}

std::string text(const QVariantMap& map, const char* name)
{
    return map.value(QLatin1String(name)).toString().toStdString();
}

} // namespace

NmSnapshot readSnapshot(const QDBusMessage& managedObjects)
{
    const Objects objects = readObjects(managedObjects);
    const QVariantMap manager = properties(objects, nm::ManagerPath, nm::ManagerInterface);
    NmSnapshot result;
    result.startingUp = manager.value(QStringLiteral("Startup")).toBool();
    for (const QDBusObjectPath& path : objectPaths(manager.value(QStringLiteral("ActiveConnections")))) {
        const QVariantMap active = properties(objects, path.path(), nm::ActiveInterface);
        if (active.isEmpty())
            continue;
        const std::string type = text(active, "Type");
        const QString interfaceName = interfaceOf(objects, active);
        const bool hasMaster = !objectPath(active.value(QStringLiteral("Master"))).isEmpty();
        const std::uint32_t flags = active.value(QStringLiteral("StateFlags")).toUInt();
        const std::uint32_t state = active.value(QStringLiteral("State")).toUInt();
        if (!nm::chosenConnection(type, interfaceName.toStdString(), hasMaster, flags) || nm::ending(state))
            continue;
        result.connections.push_back({path.path().toStdString(),
                                      text(active, "Uuid") + '|' + interfaceName.toStdString(), text(active, "Id"),
                                      objectPath(active.value(QStringLiteral("Connection"))).toStdString(), type,
                                      nm::plainType(type), state, interfaceName.toStdString(),
                                      firstAddress(objects, active).toStdString()});
    }
    return result;
}

} // namespace xr::platform
