#pragma once
// The dial-up service on a Linux desktop: NetworkManager over the system bus. Its saved
// profiles of dial-up kinds are the phonebook entries, their active connections the
// connections; dials activate a profile and hang-ups deactivate it. No call waits for the
// service: the back-end keeps the last answers (the active connections, the profiles) and asks
// again when the service signals a change, so every operation answers at once from them, and
// all calls of one poll see the same answer. A restart of the service (a new owner of its bus
// name) keeps the connections it had while the new one is still starting, so that their
// handles and records go on. Lives on the thread of the event loop that delivers the answers.

#include "platform/LinkInterface.h"
#include "platform/NmBus.h"
#include "platform/NmHandles.h"
#include "platform/NmMapping.h"
#include "platform/NmSnapshot.h"
#include "platform/RemoteAccess.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QMap>
#include <QObject>
#include <QVariantMap>

#include <map>
#include <vector>

class QDBusServiceWatcher;

namespace xr::platform {

class NmDial;

class NmRemoteAccess final : public QObject, public RemoteAccess {
    Q_OBJECT
public:
    // Waits (at most a few seconds, at start-up) for the first answers.
    explicit NmRemoteAccess(QObject* parent = nullptr, CounterLookup counters = readInterfaceCounters);
    ~NmRemoteAccess() override;

    std::string name() const override { return "NetworkManager"; }
    std::uint32_t enumConnections(std::size_t room, std::vector<RasConnection>& connections,
                                  std::size_t& needed) override;
    // Activating is a dialling state; a connection that is ending or gone is no longer valid.
    std::uint32_t getConnectStatus(ConnHandle handle, std::uint32_t& state) override;
    // The names of the profiles that count, in alphabetical order; loopback and ports of other
    // connections are never listed.
    std::uint32_t enumEntries(std::size_t room, std::vector<std::string>& names) override;
    // User name and phone number from the profile; for the password, whether one is stored
    // (from its secret flags; the secret itself is not read).
    std::uint32_t getEntryDialParams(const std::string& entryName, RasDialParams& params) override;
    std::uint32_t dial(const RasDialParams& params, RasDialNotifier notifier, ConnHandle& handle) override;
    std::uint32_t hangUp(ConnHandle handle) override;
    std::uint32_t getErrorString(std::uint32_t code, std::string& text) override;
    std::uint32_t getProjectionIp(ConnHandle handle, std::string& address) override;
    // The counters of the connection's IP interface (ppp0 for PPPoE, the device otherwise).
    std::uint32_t getConnectionStatistics(ConnHandle handle, ByteCounts& counts) override;
    void setRecordLan(bool recordLan) override { m_recordLan = recordLan; }
    std::size_t uncountedLanEntries() override;

signals:
    // A new answer of the service (or its failure) has been taken.
    void answered();

private slots:
    // Any signal of the service that may change what the answers say; a string-based slot, as
    // QDBusConnection::connect requires.
    void changed(const QDBusMessage& message);

private:
    struct Profile {
        QString path;
        std::string id;
        nm::ProfileKind kind;
        bool listed = false;
        QMap<QString, QVariantMap> settings; // one map per setting, as read
    };

    // One kind of answer that is asked for again after each change.
    struct Fetch {
        bool running = false;
        bool again = false; // a change arrived while it ran

        // Starts a request; false, noting the change for later, while an earlier one still runs.
        bool begin()
        {
            if (running) {
                again = true;
                return false;
            }
            *this = {true, false};
            return true;
        }
    };

    void waitForFirstAnswers();
    void watch();
    void watchChanges(const QString& interface, const QString& signal);
    void serviceOwnerChanged(const QString& service, const QString& oldOwner, const QString& newOwner);
    void fetchActive();
    void activeAnswered(QDBusPendingCallWatcher* watcher);
    void fetchProfiles();
    void profileListAnswered(QDBusPendingCallWatcher* watcher);
    void profileAnswered(const QString& path, QDBusPendingCallWatcher* watcher);
    void profilesRead(std::uint32_t status);
    void activeFailed(std::uint32_t status);
    void take(NmSnapshot snapshot);
    void bindDials();

    // The answer to use now; a failed answer is asked for again.
    std::uint32_t refresh();
    std::uint32_t profilesAnswer();
    std::vector<const NmActiveConnection*> counted() const;
    const NmActiveConnection* findActive(ConnHandle handle) const;
    NmDial* pendingDial(ConnHandle handle) const;
    const Profile* findProfile(const std::string& entryName) const;
    bool counts(const nm::ProfileKind& kind) const;

    NmBus m_bus;
    QString m_watchedBus; // the connection the signals are followed on
    QDBusServiceWatcher* m_serviceWatcher = nullptr;
    NmHandles m_handles;
    bool m_recordLan = false;
    const CounterLookup m_counters;

    NmSnapshot m_snapshot;
    std::uint32_t m_activeStatus = nm::ErrorServiceUnavailable;
    bool m_activeAnswered = false;
    Fetch m_activeFetch;
    // The connections of a service that went away, kept while its successor is starting.
    std::vector<NmActiveConnection> m_carried;

    std::vector<Profile> m_profiles;
    std::uint32_t m_profilesStatus = nm::ErrorServiceUnavailable;
    bool m_profilesAnswered = false;
    Fetch m_profileFetch;
    std::vector<Profile> m_incoming; // profiles read so far by the running fetch
    int m_profilesAwaited = 0;

    std::vector<NmDial*> m_dials; // children; the finished ones are deleted at the next dial
    std::map<std::string, ConnHandle> m_dialsByPath; // active connections of dials, until seen
};

} // namespace xr::platform
