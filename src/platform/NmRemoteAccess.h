#pragma once
// The dial-up service on a Linux desktop: NetworkManager over the system bus. Its saved
// profiles are the phonebook entries, its active connections the connections; dials activate
// a profile and hang-ups deactivate it. A poll costs one call: the answers of one poll come
// from one snapshot of NetworkManager's objects. Lives on the thread of the event loop that
// delivers the dials' state changes.

#include "platform/NmBus.h"
#include "platform/NmHandles.h"
#include "platform/NmSnapshot.h"
#include "platform/RemoteAccess.h"

#include <QElapsedTimer>
#include <QMap>
#include <QObject>
#include <QVariantMap>

#include <memory>
#include <vector>

namespace xr::platform {

class NmDial;

class NmRemoteAccess final : public QObject, public RemoteAccess {
    Q_OBJECT
public:
    explicit NmRemoteAccess(QObject* parent = nullptr);
    ~NmRemoteAccess() override;

    std::string name() const override { return "NetworkManager"; }
    std::uint32_t enumConnections(std::size_t room, std::vector<RasConnection>& connections,
                                  std::size_t& needed) override;
    // Activating is a dialling state; a connection that is ending or gone is no longer valid.
    std::uint32_t getConnectStatus(ConnHandle handle, std::uint32_t& state) override;
    // The profile names in alphabetical order, loopback and ports of other connections left out.
    std::uint32_t enumEntries(std::size_t room, std::vector<std::string>& names) override;
    // User name and phone number from the profile; the password only when NetworkManager gives
    // its secrets to this user (nobody is asked for it).
    std::uint32_t getEntryDialParams(const std::string& entryName, RasDialParams& params) override;
    std::uint32_t dial(const RasDialParams& params, RasDialNotifier notifier, ConnHandle& handle) override;
    std::uint32_t hangUp(ConnHandle handle) override;
    std::uint32_t getErrorString(std::uint32_t code, std::string& text) override;
    std::uint32_t getProjectionIp(ConnHandle handle, std::string& address) override;

private:
    struct Profile {
        QString path;
        std::string id;
        std::string type;
        QMap<QString, QVariantMap> settings; // one map per setting, as read
    };

    // Takes a new snapshot unless the current one was taken within this poll.
    std::uint32_t refresh();
    const NmActiveConnection* findActive(ConnHandle handle) const;
    NmDial* pendingDial(ConnHandle handle) const;
    // The saved profiles that are listed as entries, in alphabetical order.
    std::uint32_t readProfiles(std::vector<Profile>& profiles);
    std::uint32_t findProfile(const std::string& entryName, Profile& profile);
    std::string password(const Profile& profile, const std::string& setting);
    void bindDial(ConnHandle handle, const QString& activePath);

    NmBus m_bus;
    NmHandles m_handles;
    std::vector<NmActiveConnection> m_snapshot;
    QElapsedTimer m_snapshotAge;  // invalid: no usable snapshot
    std::vector<NmDial*> m_dials; // children; the finished ones are deleted at the next dial
};

} // namespace xr::platform
