#include "platform/NmBus.h"

#include "platform/NmNames.h"

#include <QDBusConnectionInterface>

namespace xr::platform {

namespace {

constexpr int kCallTimeoutMs = 3000;

// Each connection gets a name of its own: a lost connection's name cannot be used again.
QString newConnectionName()
{
    static int count = 0;
    return QStringLiteral("xarvane-nm-%1").arg(++count);
}

// The system bus, at DBUS_SYSTEM_BUS_ADDRESS when set: read at every opening, where the bus
// library would keep the first address it saw for the whole run.
QDBusConnection openSystemBus(const QString& name)
{
    const QString address = qEnvironmentVariable("DBUS_SYSTEM_BUS_ADDRESS");
    return address.isEmpty() ? QDBusConnection::connectToBus(QDBusConnection::SystemBus, name)
                             : QDBusConnection::connectToBus(address, name);
}

} // namespace

NmBus::NmBus() : m_name(newConnectionName())
{
    openSystemBus(m_name);
}

NmBus::~NmBus()
{
    QDBusConnection::disconnectFromBus(m_name);
}

QDBusConnection NmBus::connection()
{
    QDBusConnection bus(m_name);
    if (bus.isConnected())
        return bus;
    // A lost connection stays lost: open a new one.
    QDBusConnection::disconnectFromBus(m_name);
    m_name = newConnectionName();
    return openSystemBus(m_name);
}

QDBusPendingCall NmBus::asyncCall(const QString& path, const QString& interface, const QString& method,
                                  const QVariantList& arguments)
{
    QDBusMessage message = QDBusMessage::createMethodCall(nm::Service, path, interface, method);
    message.setArguments(arguments);
    return connection().asyncCall(message, kCallTimeoutMs);
}

void NmBus::send(const QString& path, const QString& interface, const QString& method,
                 const QVariantList& arguments)
{
    QDBusMessage message = QDBusMessage::createMethodCall(nm::Service, path, interface, method);
    message.setArguments(arguments);
    connection().send(message);
}

bool NmBus::serviceAnswers()
{
    const QString name = newConnectionName();
    bool answers = false;
    {
        const QDBusConnection bus = openSystemBus(name);
        answers = bus.isConnected() && bus.interface()->isServiceRegistered(nm::Service).value();
    }
    QDBusConnection::disconnectFromBus(name);
    return answers;
}

} // namespace xr::platform
