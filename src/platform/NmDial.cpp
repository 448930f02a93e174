#include "platform/NmDial.h"

#include "platform/NmMapping.h"
#include "platform/NmNames.h"

#include <QDBusObjectPath>
#include <QDBusPendingReply>
#include <QVariantMap>

#include <algorithm>

namespace xr::platform {

namespace {

const QDBusObjectPath kNone(QStringLiteral("/"));
const QString kStateChanged = QStringLiteral("StateChanged");

} // namespace

NmDial::NmDial(NmBus& bus, ConnHandle handle, RasDialNotifier notifier, QObject* parent)
    : QObject(parent), m_bus(bus), m_handle(handle), m_notifier(std::move(notifier))
{
}

NmDial::~NmDial()
{
    finish();
}

void NmDial::start(const QString& profilePath)
{
    auto* watcher = new QDBusPendingCallWatcher(
        m_bus.asyncCall(nm::ManagerPath, nm::ManagerInterface, QStringLiteral("ActivateConnection"),
                        {QVariant::fromValue(QDBusObjectPath(profilePath)), QVariant::fromValue(kNone),
                         QVariant::fromValue(kNone)}),
        this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, &NmDial::activationAnswered);
}

void NmDial::cancel()
{
    m_cancelled = true;
    if (!m_activePath.isEmpty())
        m_bus.send(nm::ManagerPath, nm::ManagerInterface, QStringLiteral("DeactivateConnection"),
                   {QVariant::fromValue(QDBusObjectPath(m_activePath))});
}

void NmDial::activationAnswered(QDBusPendingCallWatcher* watcher)
{
    watcher->deleteLater();
    const QDBusPendingReply<QDBusObjectPath> reply = *watcher;
    if (reply.isError()) {
        report(ras::StateOpenPort, nm::errorForCall(reply.error().name().toStdString()));
        return finish();
    }
    m_activePath = reply.value().path();
    emit activeConnectionKnown(m_handle, m_activePath);
    follow(m_activePath);
    if (m_cancelled)
        cancel();
}

// Listens to the state changes of the active connection and of the devices, then asks for the
// state the connection has already reached: a fast activation may be over before the listening
// began.
void NmDial::follow(const QString& activePath)
{
    QDBusConnection bus = m_bus.connection();
    m_following = bus.connect(nm::Service, activePath, nm::ActiveInterface, kStateChanged, this,
                              SLOT(stateChanged(uint, uint)));
    bus.connect(nm::Service, QString(), nm::DeviceInterface, kStateChanged, this,
                SLOT(deviceStateChanged(uint, uint, uint, QDBusMessage)));
    auto* watcher = new QDBusPendingCallWatcher(
        m_bus.asyncCall(activePath, nm::PropertiesInterface, QStringLiteral("GetAll"), {nm::ActiveInterface}),
        this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, &NmDial::propertiesAnswered);
}

void NmDial::propertiesAnswered(QDBusPendingCallWatcher* watcher)
{
    watcher->deleteLater();
    const QDBusPendingReply<QVariantMap> reply = *watcher;
    if (reply.isError()) // gone already: the activation ended before it could be watched
        return stateChanged(nm::ActiveDeactivated, 0);
    for (const QDBusObjectPath& device :
         qdbus_cast<QList<QDBusObjectPath>>(reply.value().value(QStringLiteral("Devices"))))
        m_devices << device.path();
    stateChanged(reply.value().value(QStringLiteral("State")).toUInt(), 0);
}

void NmDial::deviceStateChanged(uint newState, uint, uint reason, const QDBusMessage& message)
{
    if (newState != nm::DeviceFailed)
        return;
    m_deviceFailures.insert(message.path(), reason);
    m_lastFailedDevice = message.path();
}

// The failed device's reason where it has a text of its own, else the active connection's. The
// device is one of the connection's own once they are known, else the last one seen failing.
std::uint32_t NmDial::failureCode(std::uint32_t activeReason) const
{
    if (activeReason == nm::ReasonDeviceDisconnected) {
        const auto failed = std::find_if(m_devices.begin(), m_devices.end(), [this](const QString& path) {
            return m_deviceFailures.contains(path);
        });
        const QString device = m_devices.isEmpty()         ? m_lastFailedDevice
                               : failed == m_devices.end() ? QString()
                                                           : *failed;
        if (const std::uint32_t code = nm::errorForDeviceReason(m_deviceFailures.value(device)))
            return code;
    }
    return nm::errorForReason(activeReason);
}

void NmDial::stateChanged(uint state, uint reason)
{
    if (m_finished)
        return;
    std::uint32_t rasState = 0;
    if (nm::connectState(state, rasState)) {
        report(rasState, ras::Success);
        if (rasState == ras::StateConnected)
            finish();
        return;
    }
    report(ras::StateDisconnected, failureCode(reason));
    finish();
}

void NmDial::report(std::uint32_t state, std::uint32_t error)
{
    m_notifier(ras::DialEventMessage, state, error);
}

void NmDial::finish()
{
    m_finished = true;
    if (!m_following)
        return;
    QDBusConnection bus = m_bus.connection();
    bus.disconnect(nm::Service, m_activePath, nm::ActiveInterface, kStateChanged, this,
                   SLOT(stateChanged(uint, uint)));
    bus.disconnect(nm::Service, QString(), nm::DeviceInterface, kStateChanged, this,
                   SLOT(deviceStateChanged(uint, uint, uint, QDBusMessage)));
    m_following = false;
}

} // namespace xr::platform
