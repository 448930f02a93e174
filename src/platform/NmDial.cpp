#include "platform/NmDial.h"

#include "platform/NmMapping.h"
#include "platform/NmNames.h"

#include <QDBusObjectPath>
#include <QDBusPendingReply>

namespace xr::platform {

namespace {

const QDBusObjectPath kNone(QStringLiteral("/"));

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
    QDBusMessage call = QDBusMessage::createMethodCall(nm::Service, nm::ManagerPath, nm::ManagerInterface,
                                                       QStringLiteral("ActivateConnection"));
    call.setArguments({QVariant::fromValue(QDBusObjectPath(profilePath)), QVariant::fromValue(kNone),
                       QVariant::fromValue(kNone)});
    auto* watcher = new QDBusPendingCallWatcher(m_bus.connection().asyncCall(call), this);
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

// Listens to the active connection's state changes, then looks at the state it has already
// reached: a fast activation may be over before the listening began.
void NmDial::follow(const QString& activePath)
{
    m_following =
        m_bus.connection().connect(nm::Service, activePath, nm::ActiveInterface,
                                   QStringLiteral("StateChanged"), this, SLOT(stateChanged(uint, uint)));
    const QDBusMessage answer = m_bus.call(activePath, nm::PropertiesInterface, QStringLiteral("Get"),
                                           {nm::ActiveInterface, QStringLiteral("State")});
    if (answer.type() == QDBusMessage::ReplyMessage)
        stateChanged(answer.arguments().constFirst().value<QDBusVariant>().variant().toUInt(), 0);
    else // gone already: the activation ended before it could be watched
        stateChanged(nm::ActiveDeactivated, 0);
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
    report(ras::StateDisconnected, nm::errorForReason(reason));
    finish();
}

void NmDial::report(std::uint32_t state, std::uint32_t error)
{
    m_notifier(ras::DialEventMessage, state, error);
}

void NmDial::finish()
{
    m_finished = true;
    if (m_following)
        m_bus.connection().disconnect(nm::Service, m_activePath, nm::ActiveInterface,
                                      QStringLiteral("StateChanged"), this, SLOT(stateChanged(uint, uint)));
    m_following = false;
}

} // namespace xr::platform
