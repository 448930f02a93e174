#include "platform/LoginSessionWatch.h"

#include <QDBusObjectPath>
#include <QDBusReply>
#include <QDBusVariant>

namespace xr::platform {

namespace {

const QString kService = QStringLiteral("org.freedesktop.login1");
const QString kManagerPath = QStringLiteral("/org/freedesktop/login1");
const QString kManagerInterface = QStringLiteral("org.freedesktop.login1.Manager");
const QString kSessionInterface = QStringLiteral("org.freedesktop.login1.Session");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");
const QString kActive = QStringLiteral("Active");
// logind answers at once; a bus that hangs must not hold the start-up.
constexpr int kAnswerMs = 1000;

} // namespace

LoginSessionWatch::LoginSessionWatch(const QString& sessionId, QObject* parent)
    : QObject(parent), m_connectionName(QStringLiteral("xarvane-login-session-%1").arg(quintptr(this), 0, 16))
{
    if (sessionId.isEmpty())
        return;
    QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SystemBus, m_connectionName);
    if (!bus.isConnected())
        return;
    m_path = sessionPath(sessionId);
    if (m_path.isEmpty())
        return;
    bus.connect(kService, m_path, kProperties, QStringLiteral("PropertiesChanged"), this,
                SLOT(propertiesChanged(QString, QVariantMap, QStringList)));
    readActive();
}

LoginSessionWatch::~LoginSessionWatch()
{
    QDBusConnection::disconnectFromBus(m_connectionName);
}

QString LoginSessionWatch::sessionPath(const QString& sessionId)
{
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kManagerPath, kManagerInterface,
                                                       QStringLiteral("GetSession"));
    call << sessionId;
    const QDBusReply<QDBusObjectPath> reply = QDBusConnection(m_connectionName).call(call, QDBus::Block, kAnswerMs);
    return reply.isValid() ? reply.value().path() : QString();
}

void LoginSessionWatch::readActive()
{
    QDBusMessage call = QDBusMessage::createMethodCall(kService, m_path, kProperties, QStringLiteral("Get"));
    call << kSessionInterface << kActive;
    const QDBusReply<QDBusVariant> reply = QDBusConnection(m_connectionName).call(call, QDBus::Block, kAnswerMs);
    if (reply.isValid())
        m_active = reply.value().variant().toBool();
}

void LoginSessionWatch::propertiesChanged(const QString& interface, const QVariantMap& changed,
                                          const QStringList& invalidated)
{
    if (interface != kSessionInterface)
        return;
    if (changed.contains(kActive))
        m_active = changed.value(kActive).toBool();
    else if (invalidated.contains(kActive))
        readActive();
}

} // namespace xr::platform
