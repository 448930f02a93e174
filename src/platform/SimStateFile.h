#pragma once
// The file that holds the simulated dial-up service's state, shared by every process that uses
// the service (the program, xarvane-sim, tests). Each change is a read-modify-write under an
// exclusive lock on a side file (`<file>.lock`), and the new content replaces the file in one
// step, so readers never see half a file and no concurrent change is lost.

#include "platform/SimState.h"

#include <functional>
#include <string>

namespace xr::platform {

class SimStateFile {
public:
    explicit SimStateFile(std::string path);

    const std::string& path() const { return m_path; }

    // Reads the state; a missing file is an empty state. False with `error` set when the
    // file cannot be read or is not a state file.
    bool read(SimState& state, std::string& error) const;
    // Reads the state under the lock and hands it to `change`; when `change` answers true the
    // new state is written. A file that cannot be read is never overwritten.
    bool update(const std::function<bool(SimState&)>& change, std::string& error) const;

private:
    bool write(const SimState& state, std::string& error) const;

    std::string m_path;
};

} // namespace xr::platform
