#include "platform/SimStateFile.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace xr::platform {

namespace {

constexpr int FormatVersion = 1;

QString text(const std::string& value)
{
    return QString::fromStdString(value);
}
std::string text(const QJsonValue& value)
{
    return value.toString().toStdString();
}

std::uint32_t number(const QJsonValue& value, std::uint32_t fallback)
{
    const double n = value.toDouble(-1);
    return n >= 0 && n <= 4294967295.0 ? static_cast<std::uint32_t>(n) : fallback;
}

QJsonObject toJson(const SimEntry& entry)
{
    return {{QStringLiteral("name"), text(entry.name)},
            {QStringLiteral("userName"), text(entry.userName)},
            {QStringLiteral("password"), text(entry.password)},
            {QStringLiteral("phoneNumber"), text(entry.phoneNumber)},
            {QStringLiteral("dialMs"), static_cast<double>(entry.dialMs)},
            {QStringLiteral("failCode"), static_cast<double>(entry.failCode)},
            {QStringLiteral("failNextCode"), static_cast<double>(entry.failNextCode)}};
}

SimEntry entryFromJson(const QJsonObject& object)
{
    SimEntry entry;
    entry.name = text(object.value(QStringLiteral("name")));
    entry.userName = text(object.value(QStringLiteral("userName")));
    entry.password = text(object.value(QStringLiteral("password")));
    entry.phoneNumber = text(object.value(QStringLiteral("phoneNumber")));
    entry.dialMs = number(object.value(QStringLiteral("dialMs")), SimEntry::DefaultDialMs);
    entry.failCode = number(object.value(QStringLiteral("failCode")), 0);
    entry.failNextCode = number(object.value(QStringLiteral("failNextCode")), 0);
    return entry;
}

QJsonObject toJson(const SimConnection& connection)
{
    return {{QStringLiteral("handle"), static_cast<double>(connection.handle)},
            {QStringLiteral("entryName"), text(connection.entryName)},
            {QStringLiteral("deviceType"), text(connection.deviceType)},
            {QStringLiteral("deviceName"), text(connection.deviceName)},
            {QStringLiteral("state"), static_cast<double>(connection.state)},
            {QStringLiteral("ip"), text(connection.ip)},
            {QStringLiteral("dialPid"), static_cast<double>(connection.dialPid)},
            {QStringLiteral("rxBytes"), static_cast<double>(connection.traffic.received)},
            {QStringLiteral("txBytes"), static_cast<double>(connection.traffic.sent)}};
}

SimConnection connectionFromJson(const QJsonObject& object)
{
    SimConnection connection;
    connection.handle = number(object.value(QStringLiteral("handle")), 0);
    connection.entryName = text(object.value(QStringLiteral("entryName")));
    connection.deviceType = text(object.value(QStringLiteral("deviceType")));
    connection.deviceName = text(object.value(QStringLiteral("deviceName")));
    connection.state = number(object.value(QStringLiteral("state")), ras::StateConnected);
    connection.ip = text(object.value(QStringLiteral("ip")));
    connection.dialPid = static_cast<std::int64_t>(object.value(QStringLiteral("dialPid")).toDouble(0));
    connection.traffic.received = static_cast<std::uint64_t>(object.value(QStringLiteral("rxBytes")).toDouble(0));
    connection.traffic.sent = static_cast<std::uint64_t>(object.value(QStringLiteral("txBytes")).toDouble(0));
    return connection;
}

QJsonDocument toDocument(const SimState& state)
{
    QJsonArray entries;
    for (const SimEntry& entry : state.entries)
        entries.append(toJson(entry));
    QJsonArray connections;
    for (const SimConnection& connection : state.connections)
        connections.append(toJson(connection));
    return QJsonDocument(QJsonObject{{QStringLiteral("version"), FormatVersion},
                                     {QStringLiteral("nextHandle"), static_cast<double>(state.nextHandle)},
                                     {QStringLiteral("entries"), entries},
                                     {QStringLiteral("connections"), connections}});
}

SimState fromDocument(const QJsonObject& root)
{
    SimState state;
    state.nextHandle = number(root.value(QStringLiteral("nextHandle")), SimState::FirstHandle);
    for (const QJsonValue& value : root.value(QStringLiteral("entries")).toArray())
        state.entries.push_back(entryFromJson(value.toObject()));
    for (const QJsonValue& value : root.value(QStringLiteral("connections")).toArray())
        state.connections.push_back(connectionFromJson(value.toObject()));
    return state;
}

// An exclusive lock on `<state file>.lock` for as long as the object lives.
class FileLock {
public:
    explicit FileLock(const std::string& path)
        : m_fd(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666))
    {
        if (m_fd < 0) {
            m_error = std::strerror(errno);
            return;
        }
        while (::flock(m_fd, LOCK_EX) != 0)
            if (errno != EINTR) {
                m_error = std::strerror(errno);
                return;
            }
        m_locked = true;
    }
    ~FileLock()
    {
        if (m_fd >= 0)
            ::close(m_fd); // closing releases the lock
    }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    bool locked() const { return m_locked; }
    const std::string& error() const { return m_error; }

private:
    int m_fd;
    bool m_locked = false;
    std::string m_error;
};

} // namespace

SimStateFile::SimStateFile(std::string path) : m_path(std::move(path)) {}

// Writers replace the file in one step, so a reader needs no lock.
bool SimStateFile::read(SimState& state, std::string& error) const
{
    QFile file(text(m_path));
    if (!file.exists()) {
        state = SimState();
        return true;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        error = "cannot read " + m_path + ": " + file.errorString().toStdString();
        return false;
    }
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (!document.isObject()) {
        error = m_path + " is not a state file: " + parseError.errorString().toStdString();
        return false;
    }
    state = fromDocument(document.object());
    state.dropAbandonedDials();
    return true;
}

bool SimStateFile::update(const std::function<bool(SimState&)>& change, std::string& error) const
{
    const FileLock lock(m_path + ".lock");
    if (!lock.locked()) {
        error = "cannot lock " + m_path + ".lock: " + lock.error();
        return false;
    }
    SimState state;
    if (!read(state, error))
        return false;
    return !change(state) || write(state, error);
}

bool SimStateFile::write(const SimState& state, std::string& error) const
{
    QSaveFile file(text(m_path));
    if (!file.open(QIODevice::WriteOnly) || file.write(toDocument(state).toJson()) < 0 || !file.commit()) {
        error = "cannot write " + m_path + ": " + file.errorString().toStdString();
        return false;
    }
    return true;
}

} // namespace xr::platform
