#include "platform/SimRemoteAccess.h"

#include <map>
#include <unistd.h>

namespace xr::platform {

namespace {

const std::map<std::uint32_t, std::string>& errorTexts()
{
    static const std::map<std::uint32_t, std::string> texts = {
        {ras::ErrorInvalidHandle, "连接句柄无效，该连接已经不存在。"},
        {ras::ErrorNotEnoughMemory, "内存不足，无法完成操作。"},
        {ras::ErrorInvalidParameter, "参数不正确。"},
        {ras::ErrorInvalidPortHandle, "端口句柄无效。"},
        {ras::ErrorPortAlreadyOpen, "该连接的端口已经打开，连接正在拨号或已经连接。"},
        {ras::ErrorBufferTooSmall, "缓冲区太小，无法容纳全部结果。"},
        {ras::ErrorPortDisconnected, "端口已经断开，拨号被中止。"},
        {ras::ErrorCannotOpenPhonebook, "无法打开电话簿文件。"},
        {ras::ErrorCannotFindPhonebookEntry, "在电话簿中找不到该连接。"},
        {ras::ErrorPortNotAvailable, "调制解调器或其他拨号设备已被占用或没有正确配置。"},
        {ras::ErrorLineBusy, "电话占线。"},
        {ras::ErrorNoAnswer, "对方没有应答。"},
        {ras::ErrorNoDialTone, "没有拨号音。"},
        {ras::ErrorAuthenticationFailure, "用户名或密码无效，远程服务器拒绝了访问。"},
        {ras::ErrorNoProjection, "远程服务器没有为连接分配网络协议。"},
        {ras::ErrorProjectionNotComplete, "连接尚未完成网络协议的协商。"},
    };
    return texts;
}

} // namespace

SimRemoteAccess::SimRemoteAccess(std::string statePath) : m_file(std::move(statePath)) {}

SimRemoteAccess::~SimRemoteAccess()
{
    // Joined outside the lock: a notifier that is running may still call hangUp.
    std::vector<std::unique_ptr<SimDial>> dials;
    {
        std::lock_guard lock(m_dialsMutex);
        dials.swap(m_dials);
    }
    dials.clear();
}

std::uint32_t SimRemoteAccess::inspect(const std::function<std::uint32_t(const SimState&)>& query) const
{
    SimState state;
    std::string error;
    return m_file.read(state, error) ? query(state) : ras::ErrorCannotOpenPhonebook;
}

std::uint32_t SimRemoteAccess::modify(const std::function<std::uint32_t(SimState&)>& change)
{
    std::uint32_t result = ras::Success;
    std::string error;
    if (!m_file.update(
            [&](SimState& state) {
                result = change(state);
                return result == ras::Success;
            },
            error))
        return ras::ErrorCannotOpenPhonebook;
    return result;
}

std::uint32_t SimRemoteAccess::enumConnections(std::size_t room, std::vector<RasConnection>& connections,
                                               std::size_t& needed)
{
    connections.clear();
    return inspect([&](const SimState& state) {
        needed = state.connections.size();
        if (needed > room)
            return ras::ErrorBufferTooSmall;
        for (const SimConnection& c : state.connections)
            connections.push_back({c.handle, c.entryName, c.deviceType, c.deviceName});
        return ras::Success;
    });
}

std::uint32_t SimRemoteAccess::getConnectStatus(ConnHandle handle, std::uint32_t& state)
{
    return inspect([&](const SimState& s) {
        const SimConnection* connection = s.findConnection(handle);
        if (!connection)
            return ras::ErrorInvalidHandle;
        state = connection->state;
        return ras::Success;
    });
}

std::uint32_t SimRemoteAccess::enumEntries(std::size_t room, std::vector<std::string>& names)
{
    names.clear();
    return inspect([&](const SimState& state) {
        if (state.entries.size() > room)
            return ras::ErrorBufferTooSmall;
        for (const SimEntry& entry : state.entries)
            names.push_back(entry.name);
        return ras::Success;
    });
}

std::uint32_t SimRemoteAccess::getEntryDialParams(const std::string& entryName, RasDialParams& params)
{
    return inspect([&](const SimState& state) {
        const SimEntry* entry = state.findEntry(entryName);
        if (!entry)
            return ras::ErrorCannotFindPhonebookEntry;
        params = RasDialParams{entry->name, entry->phoneNumber, {}, entry->userName, entry->password, {}};
        return ras::Success;
    });
}

std::uint32_t SimRemoteAccess::dial(const RasDialParams& params, RasDialNotifier notifier, ConnHandle& handle)
{
    handle = 0;
    if (!notifier)
        return ras::ErrorInvalidParameter; // this service only dials asynchronously
    SimEntry entry;
    ConnHandle started = 0;
    const std::uint32_t result = modify([&](SimState& state) {
        SimEntry* found = state.findEntry(params.entryName);
        if (!found)
            return ras::ErrorCannotFindPhonebookEntry;
        if (state.entryInUse(found->name))
            return ras::ErrorPortAlreadyOpen;
        entry = *found;
        // A failure asked for the next dial is used up by this one.
        if (found->failNextCode != 0) {
            entry.failCode = found->failNextCode;
            found->failNextCode = 0;
        }
        started = state.addConnection(entry.name, ras::StateOpenPort, {}, ::getpid()).handle;
        return ras::Success;
    });
    if (result == ras::Success) {
        handle = started;
        startDial(started, entry, std::move(notifier));
    }
    return result;
}

void SimRemoteAccess::startDial(ConnHandle handle, const SimEntry& entry, RasDialNotifier notifier)
{
    std::lock_guard lock(m_dialsMutex);
    // Dials that have ended are joined here, so the list holds at most the ones still running.
    std::erase_if(m_dials, [](const std::unique_ptr<SimDial>& d) { return d->finished(); });
    m_dials.push_back(std::make_unique<SimDial>(m_file, handle, entry, std::move(notifier)));
}

std::uint32_t SimRemoteAccess::hangUp(ConnHandle handle)
{
    const std::uint32_t result = modify([handle](SimState& state) {
        return state.removeConnection(handle) ? ras::Success : ras::ErrorInvalidHandle;
    });
    wakeDial(handle);
    return result;
}

void SimRemoteAccess::wakeDial(ConnHandle handle)
{
    std::lock_guard lock(m_dialsMutex);
    for (const auto& dial : m_dials)
        if (dial->handle() == handle)
            dial->wake();
}

std::uint32_t SimRemoteAccess::getErrorString(std::uint32_t code, std::string& text)
{
    const auto& texts = errorTexts();
    const auto it = texts.find(code);
    if (it == texts.end())
        return ras::ErrorInvalidParameter;
    text = it->second;
    return ras::Success;
}

std::uint32_t SimRemoteAccess::getProjectionIp(ConnHandle handle, std::string& address)
{
    return inspect([&](const SimState& state) {
        const SimConnection* connection = state.findConnection(handle);
        if (!connection)
            return ras::ErrorInvalidHandle;
        if (connection->state != ras::StateConnected)
            return ras::ErrorProjectionNotComplete;
        address = connection->ip;
        return ras::Success;
    });
}

} // namespace xr::platform
