#include "platform/NmRemoteAccess.h"

#include "platform/NmDial.h"
#include "platform/NmMapping.h"
#include "platform/NmNames.h"
#include "platform/RasErrorTexts.h"

#include <QDBusArgument>
#include <QDBusObjectPath>

#include <algorithm>
#include <set>

namespace xr::platform {

namespace {

// The calls of one poll come within a few milliseconds; the next poll is at least 200 ms later.
constexpr qint64 kSnapshotLifeMs = 100;

std::uint32_t failure(const QDBusMessage& answer)
{
    return nm::errorForCall(answer.errorName().toStdString());
}

bool failed(const QDBusMessage& answer)
{
    return answer.type() != QDBusMessage::ReplyMessage || answer.arguments().isEmpty();
}

QMap<QString, QVariantMap> settingsOf(const QDBusMessage& answer)
{
    return qdbus_cast<QMap<QString, QVariantMap>>(answer.arguments().constFirst());
}

std::string value(const QMap<QString, QVariantMap>& settings, const char* setting, const char* key)
{
    return settings.value(QLatin1String(setting)).value(QLatin1String(key)).toString().toStdString();
}

// The setting of a profile type that holds its login; empty for types without one.
std::string loginSetting(const std::string& type)
{
    return type == "pppoe" || type == "gsm" || type == "cdma" ? type : std::string();
}

} // namespace

NmRemoteAccess::NmRemoteAccess(QObject* parent) : QObject(parent) {}

NmRemoteAccess::~NmRemoteAccess()
{
    // Before the bus they use goes.
    qDeleteAll(findChildren<NmDial*>(Qt::FindDirectChildrenOnly));
}

std::uint32_t NmRemoteAccess::refresh()
{
    if (m_snapshotAge.isValid() && m_snapshotAge.elapsed() < kSnapshotLifeMs)
        return ras::Success;
    m_snapshotAge.invalidate();
    const QDBusMessage answer =
        m_bus.call(nm::RootPath, nm::ObjectManagerInterface, QStringLiteral("GetManagedObjects"));
    if (failed(answer))
        return failure(answer);
    m_snapshot = readActiveConnections(answer);
    std::set<std::string> live;
    for (const NmActiveConnection& active : m_snapshot)
        live.insert(active.key);
    m_handles.keepOnly(live);
    m_snapshotAge.start();
    return ras::Success;
}

const NmActiveConnection* NmRemoteAccess::findActive(ConnHandle handle) const
{
    const std::string key = m_handles.keyOf(handle);
    const auto it = std::find_if(m_snapshot.begin(), m_snapshot.end(),
                                 [&](const NmActiveConnection& active) { return active.key == key; });
    return key.empty() || it == m_snapshot.end() ? nullptr : &*it;
}

NmDial* NmRemoteAccess::pendingDial(ConnHandle handle) const
{
    const auto it = std::find_if(m_dials.begin(), m_dials.end(), [handle](const NmDial* dial) {
        return dial->handle() == handle && !dial->finished();
    });
    return it == m_dials.end() ? nullptr : *it;
}

std::uint32_t NmRemoteAccess::enumConnections(std::size_t room, std::vector<RasConnection>& connections,
                                              std::size_t& needed)
{
    connections.clear();
    if (const std::uint32_t result = refresh(); result != ras::Success)
        return result;
    needed = m_snapshot.size();
    if (needed > room)
        return ras::ErrorBufferTooSmall;
    for (const NmActiveConnection& active : m_snapshot)
        connections.push_back({m_handles.handleFor(active.key), active.id.substr(0, 256), active.type,
                               active.interfaceName.substr(0, 128)});
    return ras::Success;
}

std::uint32_t NmRemoteAccess::getConnectStatus(ConnHandle handle, std::uint32_t& state)
{
    if (const std::uint32_t result = refresh(); result != ras::Success)
        return result;
    if (const NmActiveConnection* active = findActive(handle))
        return nm::connectState(active->state, state) ? ras::Success : ras::ErrorInvalidHandle;
    if (m_handles.keyOf(handle).empty() && pendingDial(handle)) {
        state = ras::StateOpenPort; // the service has not named the dial's connection yet
        return ras::Success;
    }
    return ras::ErrorInvalidHandle;
}

std::uint32_t NmRemoteAccess::readProfiles(std::vector<Profile>& profiles)
{
    profiles.clear();
    const QDBusMessage list =
        m_bus.call(nm::SettingsPath, nm::SettingsInterface, QStringLiteral("ListConnections"));
    if (failed(list))
        return failure(list);
    for (const QDBusObjectPath& path : qdbus_cast<QList<QDBusObjectPath>>(list.arguments().constFirst())) {
        const QDBusMessage answer =
            m_bus.call(path.path(), nm::ProfileInterface, QStringLiteral("GetSettings"));
        if (failed(answer))
            continue; // removed while being listed
        Profile profile{path.path(), {}, {}, settingsOf(answer)};
        profile.id = value(profile.settings, "connection", "id");
        profile.type = value(profile.settings, "connection", "type");
        const bool port = !value(profile.settings, "connection", "master").empty() ||
                          !value(profile.settings, "connection", "controller").empty();
        if (nm::listedProfile(profile.type, port))
            profiles.push_back(std::move(profile));
    }
    std::stable_sort(profiles.begin(), profiles.end(),
                     [](const Profile& a, const Profile& b) { return a.id < b.id; });
    return ras::Success;
}

std::uint32_t NmRemoteAccess::findProfile(const std::string& entryName, Profile& profile)
{
    std::vector<Profile> profiles;
    if (const std::uint32_t result = readProfiles(profiles); result != ras::Success)
        return result;
    const auto it =
        std::find_if(profiles.begin(), profiles.end(), [&](const Profile& p) { return p.id == entryName; });
    if (it == profiles.end())
        return ras::ErrorCannotFindPhonebookEntry;
    profile = *it;
    return ras::Success;
}

std::uint32_t NmRemoteAccess::enumEntries(std::size_t room, std::vector<std::string>& names)
{
    names.clear();
    std::vector<Profile> profiles;
    if (const std::uint32_t result = readProfiles(profiles); result != ras::Success)
        return result;
    if (profiles.size() > room)
        return ras::ErrorBufferTooSmall;
    for (const Profile& profile : profiles)
        names.push_back(profile.id);
    return ras::Success;
}

std::string NmRemoteAccess::password(const Profile& profile, const std::string& setting)
{
    const QDBusMessage answer = m_bus.call(profile.path, nm::ProfileInterface, QStringLiteral("GetSecrets"),
                                           {QString::fromStdString(setting)});
    return failed(answer) ? std::string() : value(settingsOf(answer), setting.c_str(), "password");
}

std::uint32_t NmRemoteAccess::getEntryDialParams(const std::string& entryName, RasDialParams& params)
{
    Profile profile;
    if (const std::uint32_t result = findProfile(entryName, profile); result != ras::Success)
        return result;
    const std::string login = loginSetting(profile.type);
    params = RasDialParams{profile.id, {}, {}, {}, {}, {}, false};
    if (!login.empty()) {
        params.userName = value(profile.settings, login.c_str(), "username");
        params.phoneNumber = value(profile.settings, login.c_str(), "number");
        params.password = password(profile, login);
    } else if (profile.type == "vpn") {
        params.userName = value(profile.settings, "vpn", "user-name");
    }
    params.credentialsRequired = nm::needsCredentials(profile.type, params.userName);
    return ras::Success;
}

std::uint32_t NmRemoteAccess::dial(const RasDialParams& params, RasDialNotifier notifier, ConnHandle& handle)
{
    handle = 0;
    if (!notifier)
        return ras::ErrorInvalidParameter; // this service only dials asynchronously
    Profile profile;
    if (const std::uint32_t result = findProfile(params.entryName, profile); result != ras::Success)
        return result;
    for (NmDial* dial : m_dials)
        if (dial->finished())
            dial->deleteLater();
    std::erase_if(m_dials, [](const NmDial* dial) { return dial->finished(); });
    handle = m_handles.reserve();
    auto* dial = new NmDial(m_bus, handle, std::move(notifier), this);
    m_dials.push_back(dial);
    connect(dial, &NmDial::activeConnectionKnown, this, &NmRemoteAccess::bindDial);
    dial->start(profile.path);
    return ras::Success;
}

// The dial's handle names its active connection from now on.
void NmRemoteAccess::bindDial(ConnHandle handle, const QString& activePath)
{
    m_snapshotAge.invalidate();
    if (refresh() != ras::Success)
        return;
    const std::string path = activePath.toStdString();
    const auto it = std::find_if(m_snapshot.begin(), m_snapshot.end(),
                                 [&](const NmActiveConnection& active) { return active.path == path; });
    if (it != m_snapshot.end())
        m_handles.bind(handle, it->key);
}

std::uint32_t NmRemoteAccess::hangUp(ConnHandle handle)
{
    if (NmDial* dial = pendingDial(handle)) {
        dial->cancel();
        return ras::Success;
    }
    if (const std::uint32_t result = refresh(); result != ras::Success)
        return result;
    const NmActiveConnection* active = findActive(handle);
    if (!active)
        return ras::ErrorInvalidHandle;
    m_bus.send(nm::ManagerPath, nm::ManagerInterface, QStringLiteral("DeactivateConnection"),
               {QVariant::fromValue(QDBusObjectPath(QString::fromStdString(active->path)))});
    m_snapshotAge.invalidate();
    return ras::Success;
}

std::uint32_t NmRemoteAccess::getErrorString(std::uint32_t code, std::string& text)
{
    return nm::errorText(code, text) || rasErrorText(code, text) ? ras::Success : ras::ErrorInvalidParameter;
}

std::uint32_t NmRemoteAccess::getProjectionIp(ConnHandle handle, std::string& address)
{
    if (const std::uint32_t result = refresh(); result != ras::Success)
        return result;
    const NmActiveConnection* active = findActive(handle);
    if (!active)
        return ras::ErrorInvalidHandle;
    if (active->state != nm::ActiveActivated)
        return ras::ErrorProjectionNotComplete;
    if (active->ipAddress.empty())
        return ras::ErrorNoProjection;
    address = active->ipAddress;
    return ras::Success;
}

} // namespace xr::platform
