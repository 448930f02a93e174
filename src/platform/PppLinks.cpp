#include "platform/PppLinks.h"

#include "platform/PppPeerFolder.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <csignal>
#include <filesystem>
#include <map>
#include <sstream>

namespace xr::platform {

namespace fs = std::filesystem;

namespace {

bool isUnitInterface(std::string_view name)
{
    return name.size() > 3 && name.starts_with("ppp") &&
           std::all_of(name.begin() + 3, name.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The process id and the interface line of a pid file; pid 0 when the file holds none.
std::pair<int, std::string> readPidFile(const fs::path& file)
{
    int error = 0;
    std::istringstream text(readTextFile(file.string(), error));
    std::string pidLine;
    std::string interface;
    std::getline(text, pidLine);
    std::getline(text, interface);
    int pid = 0;
    const auto [end, result] = std::from_chars(pidLine.data(), pidLine.data() + pidLine.size(), pid);
    if (result != std::errc() || pid <= 0)
        pid = 0;
    return {pid, interface};
}

void addPidFile(std::map<int, PppLink>& links, const fs::path& file)
{
    const std::string stem = file.stem().string();
    const bool named = stem.starts_with("ppp-") && stem.size() > 4;
    if (file.extension() != ".pid" || !(named || isUnitInterface(stem)))
        return;
    auto [pid, interface] = readPidFile(file);
    if (pid == 0)
        return;
    PppLink& link = links[pid];
    link.pid = pid;
    if (named)
        link.linkName = stem.substr(4);
    else
        interface = stem;
    if (link.interface.empty())
        link.interface = interface;
}

bool interfaceOrder(const PppLink& a, const PppLink& b)
{
    if (a.interface.size() != b.interface.size())
        return a.interface.size() < b.interface.size();
    return a.interface != b.interface ? a.interface < b.interface : a.pid < b.pid;
}

} // namespace

std::vector<PppLink> readPppLinks(const std::vector<std::string>& runFolders)
{
    std::map<int, PppLink> byPid;
    for (const std::string& folder : runFolders) {
        std::error_code error;
        for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
            addPidFile(byPid, it->path());
    }
    std::vector<PppLink> links;
    for (auto& [pid, link] : byPid)
        links.push_back(std::move(link));
    std::sort(links.begin(), links.end(), interfaceOrder);
    return links;
}

bool processAlive(int pid)
{
    return pid > 0 && (::kill(pid, 0) == 0 || errno == EPERM);
}

std::vector<std::string> processArguments(int pid)
{
    int error = 0;
    std::istringstream text(readTextFile("/proc/" + std::to_string(pid) + "/cmdline", error));
    std::vector<std::string> arguments;
    for (std::string argument; std::getline(text, argument, '\0');)
        arguments.push_back(argument);
    return arguments;
}

bool runsPppd(const std::vector<std::string>& arguments, const std::string& pppdProgram)
{
    if (arguments.empty())
        return true;
    const std::string configured = fs::path(pppdProgram).filename().string();
    // The program itself, or the script an interpreter runs.
    const std::size_t count = std::min<std::size_t>(arguments.size(), 2);
    return std::any_of(arguments.begin(), arguments.begin() + static_cast<std::ptrdiff_t>(count),
                       [&](const std::string& argument) {
                           const std::string name = fs::path(argument).filename().string();
                           return name.find("pppd") != std::string::npos || name == configured;
                       });
}

std::string calledPeer(const std::vector<std::string>& arguments)
{
    const auto call = std::find(arguments.begin(), arguments.end(), "call");
    return call != arguments.end() && call + 1 != arguments.end() ? *(call + 1) : std::string();
}

} // namespace xr::platform
