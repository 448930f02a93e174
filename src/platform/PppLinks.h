#pragma once
// The links pppd reports through its pid files in the run folder: `ppp-NAME.pid` for a link
// started with `linkname NAME` (process id, then the interface), `pppN.pid` for every link
// (process id). A process's files are merged into one link.

#include <string>
#include <vector>

namespace xr::platform {

struct PppLink {
    int pid = 0;
    std::string linkName;  // empty when the link has no linkname
    std::string interface; // ppp0, ...; empty when no file names it yet
};

// Every process the pid files name, ordered by interface (ppp0, ppp1, ..., ppp10); whether
// each is still alive is the caller's question.
std::vector<PppLink> readPppLinks(const std::string& runFolder);

// True while the process exists (also when it belongs to another user, as pppd does).
bool processAlive(int pid);

// True unless the process's arguments show another program than pppd (`pppdProgram` or a
// program named like pppd): a stale pid file's number may since have gone to any process.
// A process whose arguments this user may not see is taken at its pid file's word.
bool runsPppd(int pid, const std::string& pppdProgram);

// The peer a pppd process was started for: NAME of `call NAME` among its arguments.
std::string calledPeer(int pid);

} // namespace xr::platform
