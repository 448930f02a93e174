#pragma once
// NetworkManager for tests: a private bus daemon with python-dbusmock's NetworkManager
// template on it, and the calls that drive it (devices, profiles, active connections, state
// changes with reasons, addresses). What the template lacks is added through dbusmock's own
// AddMethod, AddProperty and EmitSignal. The program under test finds it through
// DBUS_SYSTEM_BUS_ADDRESS.

#include <QDBusConnection>
#include <QDBusMessage>
#include <QMap>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <QVariantMap>

#include <memory>

namespace xr::test {

using NmSettings = QMap<QString, QVariantMap>;

class NmMock {
public:
    // Starts the bus and the service. available() says whether the machine has what they need
    // (dbus-daemon, python3-dbusmock); running() whether they started.
    NmMock();
    ~NmMock();
    NmMock(const NmMock&) = delete;
    NmMock& operator=(const NmMock&) = delete;

    bool available() const { return m_available; }
    bool running() const { return m_running; }
    QString whyUnavailable() const { return m_why; }
    QString busAddress() const { return m_address; }
    // The call log of the service (one line per call it served).
    QString logPath() const { return m_dir.filePath(QStringLiteral("nm.log")); }

    // The service leaves the bus / comes back with an empty state. A service that comes back
    // `startingUp` says so (its Startup property) until finishStartup(), as NetworkManager does
    // while it takes over the connections that are up.
    void stopService();
    bool startService(bool startingUp = false);
    void finishStartup();
    // The service process stops answering (SIGSTOP) / goes on.
    void stall();
    void resume();

    QString addEthernetDevice(const QString& name, const QString& interfaceName);
    // A Wi-Fi device and an access point it sees.
    QString addWifiDevice(const QString& name, const QString& interfaceName);
    void addAccessPoint(const QString& devicePath, const QString& name);
    // A saved profile; `extra` adds settings beside "connection". Returns its object path. Its
    // secrets are refused, as NetworkManager refuses a system profile's secrets to an ordinary
    // user.
    QString addProfile(const QString& id, const QString& type, const NmSettings& extra = {},
                       const QString& master = QString());
    // An active connection of a profile on a device ("/" for none), in `state`.
    QString activate(const QString& profilePath, const QString& devicePath, unsigned state = 2,
                     unsigned stateFlags = 0);
    void setAddress(const QString& activePath, const QString& address);
    // Moves an active connection to `state`, as NetworkManager reports it with `reason`.
    void changeState(const QString& activePath, unsigned state, unsigned reason);
    // The device fails with NMDeviceStateReason `reason` (its StateChanged to FAILED).
    void failDevice(const QString& devicePath, unsigned reason);
    // The active connection disappears (NetworkManager dropped it).
    void deactivate(const QString& activePath);
    // ActivateConnection answers with a new active connection that stays activating, on the
    // device at `devicePath` when one is given.
    void activateSlowly(const QString& devicePath = QString());
    // ActivateConnection is refused with the D-Bus error `errorName`.
    void refuseActivation(const QString& errorName);
    // The active connections NetworkManager lists now.
    QStringList activeConnections();

    // systemd-logind on the same bus (python-dbusmock's logind template), with one seat, and a
    // login session `id` on it that is in front or behind (fast user switching).
    bool startLogind();
    void addLoginSession(const QString& id, bool active);
    void setLoginSessionActive(const QString& id, bool active);

private:
    QDBusMessage call(const QString& path, const QString& interface, const QString& method,
                      const QVariantList& arguments);
    QDBusMessage mock(const QString& path, const QString& method, const QVariantList& arguments);
    bool waitForService(bool present);
    void installHelpers();

    QTemporaryDir m_dir;
    QString m_address;
    QString m_python;
    std::unique_ptr<QProcess> m_daemon;
    std::unique_ptr<QProcess> m_service;
    std::unique_ptr<QProcess> m_logind;
    QString m_connectionName;
    bool m_available = false;
    bool m_running = false;
    QString m_why;
    int m_activeCount = 0;
};

} // namespace xr::test
