#pragma once
// One dial through NetworkManager: asks it to activate a profile, then follows the active
// connection's state changes and reports progress, success, or the failure with the code for
// NetworkManager's reason, through the dial notification. Runs on the thread's event loop.

#include "platform/NmBus.h"
#include "platform/RemoteAccess.h"

#include <QDBusPendingCallWatcher>
#include <QObject>
#include <QString>

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
    // The active connection's StateChanged signal (state, reason); a string-based slot, as
    // QDBusConnection::connect requires.
    void stateChanged(uint state, uint reason);

private:
    void activationAnswered(QDBusPendingCallWatcher* watcher);
    void follow(const QString& activePath);
    void report(std::uint32_t state, std::uint32_t error);
    void finish();

    NmBus& m_bus;
    const ConnHandle m_handle;
    const RasDialNotifier m_notifier;
    QString m_activePath;
    bool m_cancelled = false;
    bool m_following = false;
    bool m_finished = false;
};

} // namespace xr::platform
