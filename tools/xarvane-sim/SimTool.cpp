#include "SimTool.h"

namespace xr::tools {

using namespace platform;

namespace {
std::string noEntry(const std::string& name)
{
    return "no phonebook entry named '" + name + "'";
}
} // namespace

SimTool::SimTool(const SimStateFile& file, std::FILE* out, std::FILE* err)
    : m_file(file), m_out(out), m_err(err)
{
}

SimTool::ExitCode SimTool::run(const SimToolRequest& request)
{
    switch (request.command) {
    case SimToolRequest::Command::Help:
        std::fputs(SimToolRequest::usage().toUtf8().constData(), m_out);
        return Done;
    case SimToolRequest::Command::Entries:
        return listEntries();
    case SimToolRequest::Command::AddEntry:
        return addEntry(request.entry);
    case SimToolRequest::Command::RemoveEntry:
        return removeEntry(request.entry.name);
    case SimToolRequest::Command::FailNext:
        return failNext(request.entry.name, request.entry.failNextCode);
    case SimToolRequest::Command::Connect:
        return connect(request.entry.name, request.ip.toStdString());
    case SimToolRequest::Command::Disconnect:
        return disconnect(request.entry.name, request.all);
    case SimToolRequest::Command::Traffic:
        return addTraffic(request.entry.name, request.traffic);
    case SimToolRequest::Command::Status:
        return listConnections();
    }
    return BadArguments;
}

const char* SimTool::stateName(std::uint32_t state)
{
    switch (state) {
    case ras::StateOpenPort:
        return "open-port";
    case ras::StatePortOpened:
        return "port-opened";
    case ras::StateConnectDevice:
        return "connect-device";
    case ras::StateDeviceConnected:
        return "device-connected";
    case ras::StateAllDevicesConnected:
        return "all-devices-connected";
    case ras::StateAuthenticate:
        return "authenticate";
    case ras::StateAuthenticated:
        return "authenticated";
    case ras::StateConnected:
        return "connected";
    default:
        return "unknown";
    }
}

SimTool::ExitCode SimTool::listEntries()
{
    SimState state;
    std::string error;
    if (!m_file.read(state, error))
        return fail(error);
    for (const SimEntry& e : state.entries)
        std::fprintf(m_out, "%s\t%s\t%s\t%s\t%u\t%u\n", e.name.c_str(), e.userName.c_str(),
                     e.password.c_str(), e.phoneNumber.c_str(), e.dialMs, e.failCode);
    return Done;
}

SimTool::ExitCode SimTool::listConnections()
{
    SimState state;
    std::string error;
    if (!m_file.read(state, error))
        return fail(error);
    for (const SimConnection& c : state.connections)
        std::fprintf(m_out, "%u\t%s\t%s\t%s\t%llu\t%llu\n", c.handle, c.entryName.c_str(), stateName(c.state),
                     c.state == ras::StateConnected ? c.ip.c_str() : "-",
                     static_cast<unsigned long long>(c.traffic.received),
                     static_cast<unsigned long long>(c.traffic.sent));
    return Done;
}

SimTool::ExitCode SimTool::addEntry(const SimEntry& entry)
{
    return change([&entry](SimState& state) {
        if (SimEntry* existing = state.findEntry(entry.name))
            *existing = entry;
        else
            state.entries.push_back(entry);
        return std::string();
    });
}

SimTool::ExitCode SimTool::removeEntry(const std::string& name)
{
    return change([&name](SimState& state) {
        const auto removed =
            std::erase_if(state.entries, [&name](const SimEntry& entry) { return entry.name == name; });
        return removed ? std::string() : noEntry(name);
    });
}

SimTool::ExitCode SimTool::failNext(const std::string& name, std::uint32_t code)
{
    return change([&](SimState& state) {
        SimEntry* entry = state.findEntry(name);
        if (!entry)
            return noEntry(name);
        entry->failNextCode = code;
        return std::string();
    });
}

SimTool::ExitCode SimTool::addTraffic(const std::string& name, const ByteCounts& traffic)
{
    return change([&](SimState& state) {
        bool found = false;
        for (SimConnection& connection : state.connections)
            if (connection.entryName == name && connection.state == ras::StateConnected) {
                connection.traffic.received += traffic.received;
                connection.traffic.sent += traffic.sent;
                found = true;
            }
        return found ? std::string() : "'" + name + "' is not connected";
    });
}

SimTool::ExitCode SimTool::connect(const std::string& name, const std::string& ip)
{
    ConnHandle handle = 0;
    const ExitCode result = change([&](SimState& state) {
        if (!state.findEntry(name))
            return noEntry(name);
        if (state.entryInUse(name))
            return "'" + name + "' is already connected or dialing";
        handle = state.addConnection(name, ras::StateConnected, ip, 0).handle;
        return std::string();
    });
    if (result == Done)
        std::fprintf(m_out, "%u\n", handle);
    return result;
}

SimTool::ExitCode SimTool::disconnect(const std::string& name, bool all)
{
    return change([&](SimState& state) {
        if (all) {
            state.connections.clear();
            return std::string();
        }
        return state.removeConnectionsOf(name) ? std::string() : "'" + name + "' is not connected";
    });
}

SimTool::ExitCode SimTool::change(const std::function<std::string(SimState&)>& change)
{
    std::string refusal;
    std::string error;
    if (!m_file.update(
            [&](SimState& state) {
                refusal = change(state);
                return refusal.empty();
            },
            error))
        return fail(error);
    return refusal.empty() ? Done : fail(refusal);
}

SimTool::ExitCode SimTool::fail(const std::string& message)
{
    std::fprintf(m_err, "xarvane-sim: %s\n", message.c_str());
    return Failed;
}

} // namespace xr::tools
