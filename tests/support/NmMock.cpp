#include "NmMock.h"

#include "platform/NmNames.h"

#include <QDBusConnectionInterface>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QFile>
#include <QStandardPaths>
#include <QTest>

#include <signal.h>

namespace xr::test {

namespace nm = platform::nm;

namespace {

const QString kMock = QStringLiteral("org.freedesktop.DBus.Mock");
const QString kHelpers = QStringLiteral("org.xarvane.Test");
// A busy machine starts Python slowly.
constexpr int kStartMs = 30000;

// python-dbusmock's NetworkManager, whose Startup property says whether it is still starting.
const char* const kTemplate = R"(from dbusmock.templates.networkmanager import *
from dbusmock.templates import networkmanager as _base

def load(mock, parameters):
    _base.load(mock, parameters)
    dbusmock.get_object(MANAGER_OBJ).Set(MANAGER_IFACE, 'Startup', dbus.Boolean(parameters.get('Startup', False)))
)";

// A Python that has python-dbusmock: the system's own first (a user's Python may lack it).
QString pythonWithDbusmock()
{
    for (const QString& candidate : {QStringLiteral("/usr/bin/python3"), QStringLiteral("python3")}) {
        QProcess probe;
        probe.start(candidate, {QStringLiteral("-c"), QStringLiteral("import dbusmock")});
        if (probe.waitForFinished(10000) && probe.exitStatus() == QProcess::NormalExit &&
            probe.exitCode() == 0)
            return candidate;
    }
    return {};
}

void stop(std::unique_ptr<QProcess>& process)
{
    if (!process)
        return;
    process->terminate();
    if (!process->waitForFinished(5000)) {
        process->kill();
        process->waitForFinished();
    }
    process.reset();
}

} // namespace

NmMock::NmMock()
{
    qDBusRegisterMetaType<NmSettings>();
    qDBusRegisterMetaType<QList<QVariantMap>>();
    qDBusRegisterMetaType<QMap<QString, QString>>();
    m_python = pythonWithDbusmock();
    if (QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty()) {
        m_why = QStringLiteral("dbus-daemon is not installed");
        return;
    }
    if (m_python.isEmpty()) {
        m_why = QStringLiteral("python3-dbusmock is not installed");
        return;
    }
    m_available = true;
    const QString socket = m_dir.filePath(QStringLiteral("bus"));
    m_address = QStringLiteral("unix:path=") + socket;
    m_daemon = std::make_unique<QProcess>();
    m_daemon->start(QStringLiteral("dbus-daemon"), {QStringLiteral("--session"), QStringLiteral("--nofork"),
                                                    QStringLiteral("--address=") + m_address});
    if (!m_daemon->waitForStarted() || !QTest::qWaitFor([&] { return QFile::exists(socket); }, kStartMs)) {
        m_why = QStringLiteral("the private bus did not start");
        return;
    }
    m_connectionName = QStringLiteral("nm-mock-driver-") + m_dir.path();
    // The socket file appears when the daemon binds it, a moment before it listens.
    const auto connected = [&] {
        if (QDBusConnection::connectToBus(m_address, m_connectionName).isConnected())
            return true;
        QDBusConnection::disconnectFromBus(m_connectionName);
        return false;
    };
    if (!QTest::qWaitFor(connected, kStartMs)) {
        m_why = QStringLiteral("cannot reach the private bus");
        return;
    }
    m_running = startService();
    if (!m_running)
        m_why = QStringLiteral("the NetworkManager mock did not start");
}

NmMock::~NmMock()
{
    stop(m_logind);
    stop(m_service);
    QDBusConnection::disconnectFromBus(m_connectionName);
    stop(m_daemon);
}

bool NmMock::waitForService(bool present)
{
    const QDBusConnection bus(m_connectionName);
    return QTest::qWaitFor(
        [&] { return bus.interface()->isServiceRegistered(nm::Service).value() == present; }, kStartMs);
}

bool NmMock::startService(bool startingUp)
{
    const QString templatePath = m_dir.filePath(QStringLiteral("networkmanager_starting.py"));
    QFile file(templatePath);
    if (!file.open(QIODevice::WriteOnly) || file.write(kTemplate) < 0)
        return false;
    file.close();
    m_service = std::make_unique<QProcess>();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DBUS_SYSTEM_BUS_ADDRESS"), m_address);
    m_service->setProcessEnvironment(environment);
    m_service->start(m_python, {QStringLiteral("-m"), QStringLiteral("dbusmock"), QStringLiteral("--system"),
                                QStringLiteral("--template"), templatePath, QStringLiteral("--parameters"),
                                startingUp ? QStringLiteral("{\"Startup\": true}") : QStringLiteral("{}"),
                                QStringLiteral("--logfile"), logPath()});
    if (!m_service->waitForStarted() || !waitForService(true))
        return false;
    installHelpers();
    return true;
}

// Calls the template lacks, as dbusmock methods on the manager object.
void NmMock::installHelpers()
{
    const auto add = [this](const QString& name, const QString& in, const QString& code) {
        mock(nm::ManagerPath, QStringLiteral("AddMethod"), {kHelpers, name, in, QString(), code});
    };
    add(QStringLiteral("AddIp4Config"), QStringLiteral("ss"),
        QStringLiteral("self.AddObject(args[0], 'org.freedesktop.NetworkManager.IP4Config', "
                       "{'AddressData': dbus.Array([{'address': args[1], 'prefix': dbus.UInt32(24)}], "
                       "signature='a{sv}')}, [])"));
    add(QStringLiteral("Drop"), QStringLiteral("s"),
        QStringLiteral(
            "acs = self.Get('org.freedesktop.NetworkManager', 'ActiveConnections')\n"
            "acs.remove(dbus.ObjectPath(args[0]))\n"
            "self.SetProperty('/org/freedesktop/NetworkManager', 'org.freedesktop.NetworkManager', "
            "'ActiveConnections', acs)\n"
            "self.RemoveObject(args[0])"));
}

void NmMock::stopService()
{
    stop(m_service);
    waitForService(false);
}

void NmMock::finishStartup()
{
    mock(nm::ManagerPath, QStringLiteral("UpdateProperties"),
         {nm::ManagerInterface, QVariantMap{{QStringLiteral("Startup"), false}}});
}

void NmMock::stall()
{
    ::kill(static_cast<pid_t>(m_service->processId()), SIGSTOP);
}

void NmMock::resume()
{
    ::kill(static_cast<pid_t>(m_service->processId()), SIGCONT);
}

QString NmMock::addEthernetDevice(const QString& name, const QString& interfaceName)
{
    return mock(nm::ManagerPath, QStringLiteral("AddEthernetDevice"), {name, interfaceName, 100})
        .arguments()
        .value(0)
        .toString();
}

QString NmMock::addWifiDevice(const QString& name, const QString& interfaceName)
{
    constexpr int kDisconnected = 30;
    return mock(nm::ManagerPath, QStringLiteral("AddWiFiDevice"), {name, interfaceName, kDisconnected})
        .arguments()
        .value(0)
        .toString();
}

void NmMock::addAccessPoint(const QString& devicePath, const QString& name)
{
    constexpr int kInfrastructure = 2;
    constexpr uint kWpaPsk = 0x100;
    mock(nm::ManagerPath, QStringLiteral("AddAccessPoint"),
         {devicePath, name, name, QStringLiteral("00:11:22:33:44:55"), kInfrastructure, 2437U, 54000U,
          QVariant::fromValue(uchar(40)), kWpaPsk});
}

QString NmMock::addProfile(const QString& id, const QString& type, const NmSettings& extra,
                           const QString& master)
{
    NmSettings settings = extra;
    QVariantMap& connection = settings[QStringLiteral("connection")];
    connection.insert({{QStringLiteral("id"), id},
                       {QStringLiteral("type"), type},
                       {QStringLiteral("uuid"), QStringLiteral("uuid-") + id}});
    if (!master.isEmpty())
        connection[QStringLiteral("master")] = master;
    const QDBusMessage answer = call(nm::SettingsPath, nm::SettingsInterface, QStringLiteral("AddConnection"),
                                     {QVariant::fromValue(settings)});
    const QString path = qdbus_cast<QDBusObjectPath>(answer.arguments().value(0)).path();
    mock(path, QStringLiteral("AddMethod"),
         {nm::ProfileInterface, QStringLiteral("GetSecrets"), QStringLiteral("s"), QStringLiteral("a{sa{sv}}"),
          QStringLiteral("raise dbus.exceptions.DBusException('not allowed', "
                         "name='org.freedesktop.NetworkManager.Settings.PermissionDenied')")});
    return path;
}

QString NmMock::activate(const QString& profilePath, const QString& devicePath, unsigned state,
                         unsigned stateFlags)
{
    const QStringList devices = devicePath == QStringLiteral("/") ? QStringList() : QStringList{devicePath};
    const QString path = mock(nm::ManagerPath, QStringLiteral("AddActiveConnection"),
                              {devices, profilePath, QStringLiteral("/"),
                               QStringLiteral("test%1").arg(++m_activeCount), state})
                             .arguments()
                             .value(0)
                             .toString();
    mock(path, QStringLiteral("AddProperty"),
         {nm::ActiveInterface, QStringLiteral("StateFlags"), QVariant::fromValue(QDBusVariant(stateFlags))});
    return path;
}

void NmMock::setAddress(const QString& activePath, const QString& address)
{
    const QString configPath = activePath + QStringLiteral("/ip4");
    call(nm::ManagerPath, kHelpers, QStringLiteral("AddIp4Config"), {configPath, address});
    const QVariant config = QVariant::fromValue(QDBusObjectPath(configPath));
    mock(activePath, QStringLiteral("AddProperty"),
         {nm::ActiveInterface, QStringLiteral("Ip4Config"), QVariant::fromValue(QDBusVariant(config))});
    // The change is announced, as the service does.
    mock(activePath, QStringLiteral("UpdateProperties"),
         {nm::ActiveInterface, QVariantMap{{QStringLiteral("Ip4Config"), config}}});
}

void NmMock::changeState(const QString& activePath, unsigned state, unsigned reason)
{
    mock(activePath, QStringLiteral("UpdateProperties"),
         {nm::ActiveInterface, QVariantMap{{QStringLiteral("State"), state}}});
    mock(activePath, QStringLiteral("EmitSignal"),
         {nm::ActiveInterface, QStringLiteral("StateChanged"), QStringLiteral("uu"),
          QVariantList{state, reason}});
}

void NmMock::failDevice(const QString& devicePath, unsigned reason)
{
    constexpr unsigned kFailed = 120;
    constexpr unsigned kConfig = 50;
    mock(devicePath, QStringLiteral("UpdateProperties"),
         {nm::DeviceInterface, QVariantMap{{QStringLiteral("State"), kFailed}}});
    mock(devicePath, QStringLiteral("EmitSignal"),
         {nm::DeviceInterface, QStringLiteral("StateChanged"), QStringLiteral("uuu"),
          QVariantList{kFailed, kConfig, reason}});
}

void NmMock::deactivate(const QString& activePath)
{
    call(nm::ManagerPath, kHelpers, QStringLiteral("Drop"), {activePath});
}

void NmMock::activateSlowly(const QString& devicePath)
{
    const QString devices = devicePath.isEmpty() ? QString() : QLatin1Char('\'') + devicePath + QLatin1Char('\'');
    mock(nm::ManagerPath, QStringLiteral("AddMethod"),
         {nm::ManagerInterface, QStringLiteral("ActivateConnection"), QStringLiteral("ooo"),
          QStringLiteral("o"),
          QStringLiteral("ret = dbus.ObjectPath(self.AddActiveConnection([%1], args[0], '/', "
                         "'slow%d' % len(objects), dbus.UInt32(1)))")
              .arg(devices)});
}

void NmMock::refuseActivation(const QString& errorName)
{
    mock(nm::ManagerPath, QStringLiteral("AddMethod"),
         {nm::ManagerInterface, QStringLiteral("ActivateConnection"), QStringLiteral("ooo"),
          QStringLiteral("o"),
          QStringLiteral("raise dbus.exceptions.DBusException('refused', name='%1')").arg(errorName)});
}

QStringList NmMock::activeConnections()
{
    const QDBusMessage answer = call(nm::ManagerPath, nm::PropertiesInterface, QStringLiteral("Get"),
                                     {nm::ManagerInterface, QStringLiteral("ActiveConnections")});
    QStringList paths;
    for (const QDBusObjectPath& path :
         qdbus_cast<QList<QDBusObjectPath>>(answer.arguments().value(0).value<QDBusVariant>().variant()))
        paths << path.path();
    return paths;
}

QDBusMessage NmMock::call(const QString& path, const QString& interface, const QString& method,
                          const QVariantList& arguments)
{
    QDBusMessage message = QDBusMessage::createMethodCall(nm::Service, path, interface, method);
    message.setArguments(arguments);
    return QDBusConnection(m_connectionName).call(message);
}

QDBusMessage NmMock::mock(const QString& path, const QString& method, const QVariantList& arguments)
{
    return call(path, kMock, method, arguments);
}

namespace {
const QString kLogind = QStringLiteral("org.freedesktop.login1");

QDBusMessage logindMock(const QString& connectionName, const QString& path, const QString& method,
                        const QVariantList& arguments)
{
    QDBusMessage message = QDBusMessage::createMethodCall(kLogind, path, kMock, method);
    message.setArguments(arguments);
    return QDBusConnection(connectionName).call(message);
}
} // namespace

bool NmMock::startLogind()
{
    m_logind = std::make_unique<QProcess>();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DBUS_SYSTEM_BUS_ADDRESS"), m_address);
    m_logind->setProcessEnvironment(environment);
    m_logind->start(m_python, {QStringLiteral("-m"), QStringLiteral("dbusmock"), QStringLiteral("--system"),
                               QStringLiteral("--template"), QStringLiteral("logind")});
    const QDBusConnection bus(m_connectionName);
    if (!m_logind->waitForStarted() ||
        !QTest::qWaitFor([&] { return bus.interface()->isServiceRegistered(kLogind).value(); }, kStartMs))
        return false;
    return logindMock(m_connectionName, QStringLiteral("/org/freedesktop/login1"), QStringLiteral("AddSeat"),
                      {QStringLiteral("seat0")})
               .type() == QDBusMessage::ReplyMessage;
}

void NmMock::addLoginSession(const QString& id, bool active)
{
    logindMock(m_connectionName, QStringLiteral("/org/freedesktop/login1"), QStringLiteral("AddSession"),
               {id, QStringLiteral("seat0"), 1000u, QStringLiteral("alice"), active});
}

void NmMock::setLoginSessionActive(const QString& id, bool active)
{
    logindMock(m_connectionName, QStringLiteral("/org/freedesktop/login1/session/") + id,
               QStringLiteral("UpdateProperties"),
               {QStringLiteral("org.freedesktop.login1.Session"), QVariantMap{{QStringLiteral("Active"), active}}});
}

} // namespace xr::test
