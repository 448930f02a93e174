#pragma once
// The pppd configuration as files: the peer names of the peers folder and the dial parameters
// gathered from a peer's options, the secrets files and its chat script.

#include "platform/PppLocations.h"
#include "platform/RemoteAccess.h"

#include <string>
#include <vector>

namespace xr::platform {

struct PppPeer;

// A file's text; `error` is 0 or the errno of the failed read (ENOENT, EACCES, ...).
std::string readTextFile(const std::string& path, int& error);

// True for a folder entry that names a peer: not hidden, not an editor's or the package
// manager's backup.
bool isPeerFileName(const std::string& name);

class PppPeerFolder {
public:
    explicit PppPeerFolder(PppLocations locations) : m_locations(std::move(locations)) {}

    const PppLocations& locations() const { return m_locations; }

    // The peer names in byte order. Success (no folder: no peers) or ErrorCannotOpenPhonebook.
    std::uint32_t peerNames(std::vector<std::string>& names) const;
    // Success, ErrorCannotFindPhonebookEntry (no such peer) or ErrorCannotOpenPhonebook
    // (the options cannot be read).
    std::uint32_t readPeer(const std::string& name, std::string& optionsText) const;
    // The entry's user name, password and phone number.
    std::uint32_t dialParams(const std::string& name, RasDialParams& params) const;
    // "modem" or "PPPoE"; "modem" when the peer cannot be read.
    std::string deviceType(const std::string& name) const;

    // What an unreadable secrets file gives as the password: the secret is stored, and pppd,
    // which reads the file with its own rights, uses it; the program never needs it.
    static constexpr const char* HiddenPassword = "********";

private:
    std::string password(const PppPeer& peer) const;
    std::string phoneNumber(const PppPeer& peer) const;

    PppLocations m_locations;
};

} // namespace xr::platform
