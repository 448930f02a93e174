// What one poll of the connection notifier costs on the pppd back-end (enumerate the links,
// then ask each one's state) with 0, 1 and 4 links up, beside the simulated service's poll.
// The links are stand-in pppd processes started as a user's `pon` starts pppd (no link name, so
// each is named from its arguments); their ppp interfaces are answered by the loopback
// interface, which is up with an address.
#include "platform/PppRemoteAccess.h"
#include "platform/SimRemoteAccess.h"
#include "platform/SimStateFile.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include <csignal>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace {

using namespace xr::platform;
namespace fs = std::filesystem;

const std::string StandIn = XARVANE_SOURCE_DIR "/tests/support/stand-in-pppd.sh";
constexpr int Polls = 2000;

// Microseconds of one poll, averaged; `listed` gets the links one poll saw.
double pollMicroseconds(RemoteAccess& service, std::size_t& listed)
{
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < Polls; ++i) {
        std::vector<RasConnection> connections;
        std::size_t needed = 0;
        service.enumConnections(16, connections, needed);
        std::uint32_t state = 0;
        for (const RasConnection& connection : connections)
            service.getConnectStatus(connection.handle, state);
        listed = connections.size();
    }
    return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count() /
           Polls;
}

std::vector<char*> pointersTo(std::vector<std::string>& texts)
{
    std::vector<char*> pointers;
    for (std::string& text : texts)
        pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}

pid_t startLink(const std::string& interface)
{
    std::vector<std::string> arguments = {StandIn, "call", "Office", "nodetach"};
    std::vector<std::string> environment = {"STANDIN_PPPD_IFNAME=" + interface};
    for (char** variable = environ; *variable; ++variable)
        environment.emplace_back(*variable);
    std::vector<char*> argv = pointersTo(arguments);
    std::vector<char*> envp = pointersTo(environment);
    pid_t pid = 0;
    return posix_spawn(&pid, StandIn.c_str(), nullptr, nullptr, argv.data(), envp.data()) == 0 ? pid : 0;
}

} // namespace

int main()
{
    const fs::path folder = fs::temp_directory_path() / ("bench-ppp-" + std::to_string(::getpid()));
    fs::create_directories(folder / "peers");
    fs::create_directories(folder / "run");
    std::ofstream(folder / "peers" / "Office") << "/dev/ttyS0\nuser alice\n";
    ::setenv("XARVANE_PPP_PEERS", (folder / "peers").c_str(), 1);
    ::setenv("XARVANE_PPP_RUN", (folder / "run").c_str(), 1);
    ::setenv("STANDIN_PPPD_DELAY", "0", 1);

    PppRemoteAccess ppp({(folder / "peers").string(), folder.string(), {(folder / "run").string()}, StandIn},
                        [](const std::string&) { return lookUpInterface("lo"); });
    std::vector<pid_t> links;
    std::printf("pppd back-end, one poll = enumerate + a state query per link (%d polls each):\n", Polls);
    for (std::size_t wanted : {0u, 1u, 4u}) {
        while (links.size() < wanted)
            links.push_back(startLink("ppp" + std::to_string(links.size())));
        std::size_t listed = 0;
        for (int tries = 0; tries < 100 && listed < wanted; ++tries) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            pollMicroseconds(ppp, listed);
        }
        const double us = pollMicroseconds(ppp, listed);
        std::printf("  %zu links up: %8.1f us per poll (%zu listed)\n", wanted, us, listed);
    }
    for (pid_t pid : links) {
        ::kill(pid, SIGTERM);
        ::waitpid(pid, nullptr, 0);
    }

    const std::string statePath = (folder / "SimRas.json").string();
    std::string error;
    SimStateFile(statePath).update(
        [](SimState& state) {
            state.entries.push_back({"Office", "alice", "secret", "16300", 0, 0});
            state.addConnection("Office", ras::StateConnected, "10.0.0.2", 0);
            return true;
        },
        error);
    SimRemoteAccess sim(statePath);
    std::size_t listed = 0;
    const double us = pollMicroseconds(sim, listed);
    std::printf("simulated service for comparison:\n  %zu link up:  %8.1f us per poll\n", listed, us);
    fs::remove_all(folder);
    return 0;
}
