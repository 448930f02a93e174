#pragma once
// The links pppd reports through its pid files in the run folders: `ppp-NAME.pid` for a link
// with `linkname NAME` (process id, then the interface), `pppN.pid` for every link (process
// id). A process's files are merged into one link.

#include <string>
#include <vector>

namespace xr::platform {

struct PppLink {
    int pid = 0;
    std::string linkName;  // empty when the link has no linkname
    std::string interface; // ppp0, ...; empty when no file names it yet
};

// Every process the pid files of these folders name, ordered by interface (ppp0, ppp1, ...,
// ppp10); whether each is still alive is the caller's question.
std::vector<PppLink> readPppLinks(const std::vector<std::string>& runFolders);

// True while the process exists (also when it belongs to another user, as pppd does).
bool processAlive(int pid);

// The arguments a process was started with; empty when it is gone or hidden from this user.
std::vector<std::string> processArguments(int pid);

// True unless a process's arguments show another program than pppd (`pppdProgram` or a
// program named like pppd): a stale pid file's number may since have gone to any process.
// A process whose arguments this user may not see is taken at its pid file's word.
bool runsPppd(const std::vector<std::string>& arguments, const std::string& pppdProgram);

// The peer a pppd process was started for: NAME of `call NAME` among its arguments.
std::string calledPeer(const std::vector<std::string>& arguments);

} // namespace xr::platform
