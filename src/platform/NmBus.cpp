#include "platform/NmBus.h"

#include <QDBusConnectionInterface>

namespace xr::platform {

namespace {

constexpr int kCallTimeoutMs = 3000;

QString connectionName(int generation) { return QStringLiteral("xarvane-nm-%1").arg(generation); }

} // namespace

NmBus::NmBus() : m_name(connectionName(0))
{
    QDBusConnection::connectToBus(QDBusConnection::SystemBus, m_name);
}

NmBus::~NmBus() { QDBusConnection::disconnectFromBus(m_name); }

QDBusConnection NmBus::connection()
{
    QDBusConnection bus(m_name);
    if (bus.isConnected())
        return bus;
    // A lost connection stays lost: open a new one under a new name.
    QDBusConnection::disconnectFromBus(m_name);
    m_name = connectionName(++m_generation);
    return QDBusConnection::connectToBus(QDBusConnection::SystemBus, m_name);
}

QDBusMessage NmBus::call(const QString& path, const QString& interface, const QString& method,
                         const QVariantList& arguments)
{
    QDBusMessage message = QDBusMessage::createMethodCall(Service, path, interface, method);
    message.setArguments(arguments);
    return connection().call(message, QDBus::Block, kCallTimeoutMs);
}

void NmBus::send(const QString& path, const QString& interface, const QString& method, const QVariantList& arguments)
{
    QDBusMessage message = QDBusMessage::createMethodCall(Service, path, interface, method);
    message.setArguments(arguments);
    connection().send(message);
}

bool NmBus::serviceAnswers()
{
    const QString name = QStringLiteral("xarvane-nm-probe");
    bool answers = false;
    {
        const QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SystemBus, name);
        answers = bus.isConnected() && bus.interface()->isServiceRegistered(Service).value();
    }
    QDBusConnection::disconnectFromBus(name);
    return answers;
}

} // namespace xr::platform
