#pragma once
// What the program reads from a pppd peer's options: the account it logs in with, the name of
// the peer for the secrets lookup, the connect command (whose chat script holds the number)
// and whether the link runs over Ethernet (PPPoE) or a modem.

#include <optional>
#include <string>
#include <vector>

namespace xr::platform {

struct PppPeer {
    std::string user;
    std::string remoteName;
    std::optional<std::string> password; // a `password` option in the options themselves
    std::string connect;                 // the connect command, as written
    bool pppoe = false;

    // The device type the connection list shows.
    std::string deviceType() const { return pppoe ? "PPPoE" : "modem"; }
};

// The peer described by the words of its options file (later options win, as in pppd).
PppPeer parsePppPeer(const std::vector<std::string>& words);

// Where the connect command finds its chat conversation.
struct ChatSource {
    std::string scriptFile;               // `chat -f FILE`, empty when the conversation is inline
    std::vector<std::string> inlineWords; // the conversation written on the command line
    std::string telephone;                // `chat -T NUMBER`, the number `\T` stands for
};
ChatSource chatSource(const std::string& connectCommand);

// The number dialled by the first ATD command of a chat conversation; empty when none.
std::string chatPhoneNumber(const std::vector<std::string>& chatWords, const std::string& telephone);

} // namespace xr::platform
