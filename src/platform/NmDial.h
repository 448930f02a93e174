#pragma once
// One dial through NetworkManager: asks it to activate a profile, then follows the active
// connection's state changes and reports progress, success, or the failure with the code for
// NetworkManager's reason, through the dial notification. A profile on a device fails with the
// device's own reason (no secrets, PPP failed, no carrier ...): the active connection only says
// that its device disconnected. Runs on the thread's event loop and never waits for an answer.

#include "platform/NmBus.h"
#include "platform/RemoteAccess.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QMap>
#include <QObject>
#include <QString>
#include <QStringList>

namespace xr::platform {

class NmDial : public QObject {
    Q_OBJECT
public:
    NmDial(NmBus& bus, ConnHandle handle, RasDialNotifier notifier, QObject* parent = nullptr);
    ~NmDial() override;

    // Starts the activation of the saved profile at `profilePath`.
    void start(const QString& profilePath);
    // Ends the dial: the active connection is deactivated, now or as soon as it is known.
    void cancel();

    ConnHandle handle() const { return m_handle; }
    bool finished() const { return m_finished; }

signals:
    // NetworkManager named the active connection of this dial.
    void activeConnectionKnown(ConnHandle handle, const QString& activePath);

private slots:
    // The active connection's StateChanged signal (state, reason) and any device's StateChanged
    // (new state, old state, reason); string-based slots, as QDBusConnection::connect requires.
    void stateChanged(uint state, uint reason);
    void deviceStateChanged(uint newState, uint oldState, uint reason, const QDBusMessage& message);

private:
    void activationAnswered(QDBusPendingCallWatcher* watcher);
    void follow(const QString& activePath);
    void propertiesAnswered(QDBusPendingCallWatcher* watcher);
    std::uint32_t failureCode(std::uint32_t activeReason) const;
    void report(std::uint32_t state, std::uint32_t error);
    void finish();

    NmBus& m_bus;
    const ConnHandle m_handle;
    const RasDialNotifier m_notifier;
    QString m_activePath;
    QStringList m_devices;                // the active connection's devices, once known
    QMap<QString, uint> m_deviceFailures; // device path → reason it failed with
    QString m_lastFailedDevice;
    bool m_cancelled = false;
    bool m_following = false;
    bool m_finished = false;
};

} // namespace xr::platform
