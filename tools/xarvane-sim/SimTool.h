#pragma once
// Carries out one xarvane-sim request on the simulated service's state file.

#include "SimToolRequest.h"

#include "platform/SimStateFile.h"

#include <cstdio>
#include <functional>
#include <string>

namespace xr::tools {

class SimTool {
public:
    enum ExitCode { Done = 0, Failed = 1, BadArguments = 2 };

    SimTool(const platform::SimStateFile& file, std::FILE* out, std::FILE* err);

    ExitCode run(const SimToolRequest& request);

    // The word `status` prints for a connection state.
    static const char* stateName(std::uint32_t state);

private:
    ExitCode listEntries();
    ExitCode addEntry(const platform::SimEntry& entry);
    ExitCode removeEntry(const std::string& name);
    ExitCode failNext(const std::string& name, std::uint32_t code);
    ExitCode connect(const std::string& name, const std::string& ip);
    ExitCode disconnect(const std::string& name, bool all);
    ExitCode addTraffic(const std::string& name, const platform::ByteCounts& traffic);
    ExitCode listConnections();
    // Applies `change` to the state; it answers an empty text to have the state written, or
    // the reason it refuses.
    ExitCode change(const std::function<std::string(platform::SimState&)>& change);
    ExitCode fail(const std::string& message);

    const platform::SimStateFile& m_file;
    std::FILE* m_out;
    std::FILE* m_err;
};

} // namespace xr::tools
