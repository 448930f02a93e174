#include "platform/NmRemoteAccess.h"

#include "platform/NmDial.h"
#include "platform/NmNames.h"
#include "platform/RasErrorTexts.h"

#include <QDBusArgument>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <set>

namespace xr::platform {

namespace {

// Longer than a call may take (the bus gives up after three seconds).
constexpr int kFirstAnswersMs = 4000;

// Interfaces whose changes never change an answer: access points come and go and change
// strength all day.
const QStringList kIgnoredInterfaces = {
    QStringLiteral("org.freedesktop.NetworkManager.AccessPoint"),
    QStringLiteral("org.freedesktop.NetworkManager.Device.Wireless"),
    QStringLiteral("org.freedesktop.NetworkManager.Device.Statistics"),
};

using Settings = QMap<QString, QVariantMap>;

std::uint32_t failure(const QDBusError& error)
{
    return nm::errorForCall(error.name().toStdString());
}

QVariant setting(const Settings& settings, const char* name, const char* key)
{
    return settings.value(QLatin1String(name)).value(QLatin1String(key));
}

std::string value(const Settings& settings, const char* name, const char* key)
{
    return setting(settings, name, key).toString().toStdString();
}

// The setting of a profile type that holds its login; empty for types without one.
std::string loginSetting(const std::string& type)
{
    return type == "pppoe" || type == "gsm" || type == "cdma" ? type : std::string();
}

// The secret flags of a profile's password: in its login setting, or among a VPN's data.
std::uint32_t passwordFlags(const Settings& settings, const std::string& type)
{
    if (type == "vpn") {
        const auto data = qdbus_cast<QMap<QString, QString>>(setting(settings, "vpn", "data"));
        return data.value(QStringLiteral("password-flags")).toUInt();
    }
    return setting(settings, loginSetting(type).c_str(), "password-flags").toUInt();
}

bool isPort(const Settings& settings)
{
    return !value(settings, "connection", "master").empty() ||
           !value(settings, "connection", "controller").empty();
}

// A signal that cannot change an answer: about an access point, or about a property of an
// interface that no answer uses.
bool ignored(const QDBusMessage& message)
{
    const QVariant first = message.arguments().value(0);
    const QString object = message.interface() == nm::ObjectManagerInterface
                               ? qdbus_cast<QDBusObjectPath>(first).path() // the object added or removed
                               : message.path();
    if (object.contains(QStringLiteral("/AccessPoint/")))
        return true;
    return message.interface() == nm::PropertiesInterface && kIgnoredInterfaces.contains(first.toString());
}

bool profileSignal(const QDBusMessage& message)
{
    return message.interface() == nm::SettingsInterface || message.interface() == nm::ProfileInterface;
}

} // namespace

NmRemoteAccess::NmRemoteAccess(QObject* parent, CounterLookup counters)
    : QObject(parent), m_counters(std::move(counters))
{
    qDBusRegisterMetaType<Settings>(); // the answers of GetSettings
    watch();
    waitForFirstAnswers();
}

NmRemoteAccess::~NmRemoteAccess()
{
    // Before the bus they use goes.
    qDeleteAll(findChildren<NmDial*>(Qt::FindDirectChildrenOnly));
}

// At start-up, before any window: the first poll and the phonebook check need real answers.
void NmRemoteAccess::waitForFirstAnswers()
{
    QEventLoop loop;
    QTimer::singleShot(kFirstAnswersMs, &loop, &QEventLoop::quit);
    connect(this, &NmRemoteAccess::answered, &loop, [&] {
        if (m_activeAnswered && m_profilesAnswered)
            loop.quit();
    });
    if (!m_activeAnswered || !m_profilesAnswered)
        loop.exec();
}

// Follows the service's changes on the current connection and asks for everything anew.
void NmRemoteAccess::watch()
{
    QDBusConnection bus = m_bus.connection();
    m_watchedBus = m_bus.name();
    delete m_serviceWatcher;
    m_serviceWatcher =
        new QDBusServiceWatcher(nm::Service, bus, QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(m_serviceWatcher, &QDBusServiceWatcher::serviceOwnerChanged, this,
            &NmRemoteAccess::serviceOwnerChanged);
    const QString stateChanged = QStringLiteral("StateChanged");
    watchChanges(nm::PropertiesInterface, QStringLiteral("PropertiesChanged"));
    watchChanges(nm::ManagerInterface, QStringLiteral("PropertiesChanged")); // older services
    watchChanges(nm::ActiveInterface, stateChanged);
    watchChanges(nm::DeviceInterface, stateChanged);
    watchChanges(nm::ObjectManagerInterface, QStringLiteral("InterfacesAdded"));
    watchChanges(nm::ObjectManagerInterface, QStringLiteral("InterfacesRemoved"));
    watchChanges(nm::SettingsInterface, QStringLiteral("NewConnection"));
    watchChanges(nm::SettingsInterface, QStringLiteral("ConnectionRemoved"));
    watchChanges(nm::ProfileInterface, QStringLiteral("Updated"));
    fetchActive();
    fetchProfiles();
}

void NmRemoteAccess::watchChanges(const QString& interface, const QString& signal)
{
    m_bus.connection().connect(nm::Service, QString(), interface, signal, this, SLOT(changed(QDBusMessage)));
}

void NmRemoteAccess::changed(const QDBusMessage& message)
{
    if (ignored(message))
        return;
    if (profileSignal(message))
        fetchProfiles();
    fetchActive();
}

void NmRemoteAccess::serviceOwnerChanged(const QString&, const QString&, const QString& newOwner)
{
    if (newOwner.isEmpty()) {
        activeFailed(nm::ErrorServiceUnavailable);
        emit answered();
        return;
    }
    fetchActive();
    fetchProfiles();
}

void NmRemoteAccess::fetchActive()
{
    if (!m_activeFetch.begin())
        return;
    auto* watcher = new QDBusPendingCallWatcher(
        m_bus.asyncCall(nm::RootPath, nm::ObjectManagerInterface, QStringLiteral("GetManagedObjects")), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, &NmRemoteAccess::activeAnswered);
}

void NmRemoteAccess::activeAnswered(QDBusPendingCallWatcher* watcher)
{
    watcher->deleteLater();
    const QDBusMessage reply = watcher->reply();
    if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty())
        take(readSnapshot(reply));
    else
        activeFailed(failure(watcher->error()));
    m_activeAnswered = true;
    const bool again = m_activeFetch.again;
    m_activeFetch = {};
    if (again)
        fetchActive();
    emit answered();
}

// A service that stops answering keeps its connections aside: a successor that is still
// starting has not yet taken them over.
void NmRemoteAccess::activeFailed(std::uint32_t status)
{
    if (m_activeStatus == ras::Success)
        m_carried = m_snapshot.connections;
    m_activeStatus = status;
}

void NmRemoteAccess::take(NmSnapshot snapshot)
{
    if (snapshot.startingUp) {
        for (const NmActiveConnection& carried : m_carried)
            if (std::none_of(snapshot.connections.begin(), snapshot.connections.end(),
                             [&](const NmActiveConnection& active) { return active.key == carried.key; }))
                snapshot.connections.push_back(carried);
    } else {
        m_carried.clear();
    }
    m_snapshot = std::move(snapshot);
    m_activeStatus = ras::Success;
    std::set<std::string> live;
    for (const NmActiveConnection& active : m_snapshot.connections)
        live.insert(active.key);
    bindDials();
    m_handles.keepOnly(live);
}

// The handles of dials whose active connections this answer shows name them from now on.
void NmRemoteAccess::bindDials()
{
    for (const NmActiveConnection& active : m_snapshot.connections) {
        const auto dial = m_dialsByPath.find(active.path);
        if (dial == m_dialsByPath.end())
            continue;
        m_handles.bind(dial->second, active.key);
        m_dialsByPath.erase(dial);
    }
}

void NmRemoteAccess::fetchProfiles()
{
    if (!m_profileFetch.begin())
        return;
    auto* watcher = new QDBusPendingCallWatcher(
        m_bus.asyncCall(nm::SettingsPath, nm::SettingsInterface, QStringLiteral("ListConnections")), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, &NmRemoteAccess::profileListAnswered);
}

void NmRemoteAccess::profileListAnswered(QDBusPendingCallWatcher* watcher)
{
    watcher->deleteLater();
    const QDBusPendingReply<QList<QDBusObjectPath>> reply = *watcher;
    if (reply.isError())
        return profilesRead(failure(reply.error()));
    m_incoming.clear();
    m_profilesAwaited = static_cast<int>(reply.value().size());
    if (m_profilesAwaited == 0)
        return profilesRead(ras::Success);
    for (const QDBusObjectPath& path : reply.value()) {
        auto* settings = new QDBusPendingCallWatcher(
            m_bus.asyncCall(path.path(), nm::ProfileInterface, QStringLiteral("GetSettings")), this);
        connect(
            settings, &QDBusPendingCallWatcher::finished, this,
            [this, path = path.path()](QDBusPendingCallWatcher* answer) { profileAnswered(path, answer); });
    }
}

void NmRemoteAccess::profileAnswered(const QString& path, QDBusPendingCallWatcher* watcher)
{
    watcher->deleteLater();
    const QDBusPendingReply<Settings> reply = *watcher;
    if (!reply.isError()) { // else removed while being listed
        Profile profile{path, {}, {}, false, reply.value()};
        profile.id = value(profile.settings, "connection", "id");
        const QVariant metered = setting(profile.settings, "connection", "metered");
        profile.kind = {value(profile.settings, "connection", "type"),
                        value(profile.settings, "bluetooth", "type"),
                        metered.isValid() ? metered.toInt() : -1};
        profile.listed = nm::listedProfile(profile.kind.type, isPort(profile.settings));
        m_incoming.push_back(std::move(profile));
    }
    if (--m_profilesAwaited == 0)
        profilesRead(ras::Success);
}

void NmRemoteAccess::profilesRead(std::uint32_t status)
{
    if (status == ras::Success) {
        std::stable_sort(m_incoming.begin(), m_incoming.end(),
                         [](const Profile& a, const Profile& b) { return a.id < b.id; });
        m_profiles = std::move(m_incoming);
    }
    m_incoming.clear();
    m_profilesStatus = status;
    m_profilesAnswered = true;
    const bool again = m_profileFetch.again;
    m_profileFetch = {};
    if (again)
        fetchProfiles();
    emit answered();
}

std::uint32_t NmRemoteAccess::refresh()
{
    m_bus.connection(); // opened again when the bus went away
    if (m_bus.name() != m_watchedBus)
        watch(); // nothing was followed meanwhile
    if (m_activeStatus != ras::Success)
        fetchActive();
    if (m_profilesStatus != ras::Success)
        fetchProfiles();
    return m_activeStatus;
}

std::uint32_t NmRemoteAccess::profilesAnswer()
{
    refresh();
    return m_profilesStatus;
}

bool NmRemoteAccess::counts(const nm::ProfileKind& kind) const
{
    return nm::recordedProfile(kind, m_recordLan);
}

// The active connections of profiles that count. One whose profile this user cannot see is
// judged by its type alone.
std::vector<const NmActiveConnection*> NmRemoteAccess::counted() const
{
    std::vector<const NmActiveConnection*> result;
    for (const NmActiveConnection& active : m_snapshot.connections) {
        const auto profile = std::find_if(m_profiles.begin(), m_profiles.end(), [&](const Profile& p) {
            return p.path.toStdString() == active.profilePath;
        });
        if (counts(profile == m_profiles.end() ? nm::ProfileKind{active.profileType, {}, -1} : profile->kind))
            result.push_back(&active);
    }
    return result;
}

const NmActiveConnection* NmRemoteAccess::findActive(ConnHandle handle) const
{
    const std::string key = m_handles.keyOf(handle);
    if (key.empty())
        return nullptr;
    for (const NmActiveConnection* active : counted())
        if (active->key == key)
            return active;
    return nullptr;
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
    const std::vector<const NmActiveConnection*> list = counted();
    needed = list.size();
    if (needed > room)
        return ras::ErrorBufferTooSmall;
    for (const NmActiveConnection* active : list)
        connections.push_back({m_handles.handleFor(active->key), active->id.substr(0, 256), active->type,
                               active->interfaceName.substr(0, 128)});
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

const NmRemoteAccess::Profile* NmRemoteAccess::findProfile(const std::string& entryName) const
{
    const auto it = std::find_if(m_profiles.begin(), m_profiles.end(), [&](const Profile& p) {
        return p.listed && counts(p.kind) && p.id == entryName;
    });
    return it == m_profiles.end() ? nullptr : &*it;
}

std::uint32_t NmRemoteAccess::enumEntries(std::size_t room, std::vector<std::string>& names)
{
    names.clear();
    if (const std::uint32_t result = profilesAnswer(); result != ras::Success)
        return result;
    for (const Profile& profile : m_profiles)
        if (profile.listed && counts(profile.kind))
            names.push_back(profile.id);
    if (names.size() > room) {
        names.clear();
        return ras::ErrorBufferTooSmall;
    }
    return ras::Success;
}

std::size_t NmRemoteAccess::uncountedLanEntries()
{
    return static_cast<std::size_t>(
        std::count_if(m_profiles.begin(), m_profiles.end(), [this](const Profile& p) {
            return p.listed && nm::lanProfile(p.kind.type) && !counts(p.kind);
        }));
}

std::uint32_t NmRemoteAccess::getEntryDialParams(const std::string& entryName, RasDialParams& params)
{
    if (const std::uint32_t result = profilesAnswer(); result != ras::Success)
        return result;
    const Profile* profile = findProfile(entryName);
    if (!profile)
        return ras::ErrorCannotFindPhonebookEntry;
    const std::string& type = profile->kind.type;
    const std::string login = loginSetting(type);
    params = RasDialParams{profile->id, {}, {}, {}, {}, {}, false};
    if (!login.empty()) {
        params.userName = value(profile->settings, login.c_str(), "username");
        params.phoneNumber = value(profile->settings, login.c_str(), "number");
    } else if (type == "vpn") {
        params.userName = value(profile->settings, "vpn", "user-name");
    }
    if (!login.empty() || type == "vpn")
        params.password = nm::storedPasswordMark(passwordFlags(profile->settings, type));
    params.credentialsRequired = nm::needsCredentials(type, params.userName);
    return ras::Success;
}

std::uint32_t NmRemoteAccess::dial(const RasDialParams& params, RasDialNotifier notifier, ConnHandle& handle)
{
    handle = 0;
    if (!notifier)
        return ras::ErrorInvalidParameter; // this service only dials asynchronously
    if (const std::uint32_t result = profilesAnswer(); result != ras::Success)
        return result;
    const Profile* profile = findProfile(params.entryName);
    if (!profile)
        return ras::ErrorCannotFindPhonebookEntry;
    for (NmDial* dial : m_dials)
        if (dial->finished())
            dial->deleteLater();
    std::erase_if(m_dials, [](const NmDial* dial) { return dial->finished(); });
    handle = m_handles.reserve();
    auto* dial = new NmDial(m_bus, handle, std::move(notifier), this);
    m_dials.push_back(dial);
    connect(dial, &NmDial::activeConnectionKnown, this, [this](ConnHandle dialHandle, const QString& path) {
        m_dialsByPath[path.toStdString()] = dialHandle;
        bindDials();
        fetchActive();
    });
    dial->start(profile->path);
    return ras::Success;
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

std::uint32_t NmRemoteAccess::getConnectionStatistics(ConnHandle handle, ByteCounts& counts)
{
    if (const std::uint32_t result = refresh(); result != ras::Success)
        return result;
    const NmActiveConnection* active = findActive(handle);
    if (!active)
        return ras::ErrorInvalidHandle;
    const std::optional<ByteCounts> read =
        active->interfaceName.empty() ? std::nullopt : m_counters(active->interfaceName);
    if (active->state != nm::ActiveActivated || !read)
        return ras::ErrorProjectionNotComplete;
    counts = *read;
    return ras::Success;
}

} // namespace xr::platform
