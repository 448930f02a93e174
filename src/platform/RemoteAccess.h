#pragma once
// The dial-up (remote access) service as the program sees it: eight operations that answer
// with the service's numeric result codes. Back-ends: the simulated service, pppd, Win32.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace xr::platform {

using ConnHandle = std::uint32_t;

// Result codes the program relies on.
namespace ras {
constexpr std::uint32_t Success = 0;
constexpr std::uint32_t ErrorInvalidHandle = 6;
constexpr std::uint32_t ErrorNotEnoughMemory = 8;
constexpr std::uint32_t ErrorNotSupported = 50;
constexpr std::uint32_t ErrorInvalidParameter = 87;
constexpr std::uint32_t ErrorInvalidPortHandle = 601;
constexpr std::uint32_t ErrorPortAlreadyOpen = 602;
constexpr std::uint32_t ErrorBufferTooSmall = 603;
constexpr std::uint32_t ErrorCannotOpenPhonebook = 621;
constexpr std::uint32_t ErrorCannotFindPhonebookEntry = 623;
constexpr std::uint32_t ErrorPortDisconnected = 619;
constexpr std::uint32_t ErrorPortNotAvailable = 633;
constexpr std::uint32_t ErrorAuthenticationFailure = 691;
constexpr std::uint32_t ErrorNoAnswer = 678;
constexpr std::uint32_t ErrorNoDialTone = 680;
constexpr std::uint32_t ErrorLineBusy = 676;
constexpr std::uint32_t ErrorNoProjection = 719;
constexpr std::uint32_t ErrorProjectionNotComplete = 730;

// Connection states reported by state queries and dial notifications.
constexpr std::uint32_t StateOpenPort = 0;
constexpr std::uint32_t StatePortOpened = 1;
constexpr std::uint32_t StateConnectDevice = 2;
constexpr std::uint32_t StateDeviceConnected = 3;
constexpr std::uint32_t StateAllDevicesConnected = 4;
constexpr std::uint32_t StateAuthenticate = 5;
constexpr std::uint32_t StateAuthenticated = 14;
constexpr std::uint32_t StateConnected = 0x2000;
constexpr std::uint32_t StateDisconnected = 0x2001;

// Message number the dial notification carries (kind 0 notification function).
constexpr unsigned DialEventMessage = 0xCCCD;
} // namespace ras

// One active connection as enumerated.
struct RasConnection {
    ConnHandle handle = 0;
    std::string entryName;  // up to 256 characters
    std::string deviceType; // up to 16
    std::string deviceName; // up to 128
};

// What a connection has moved since its interface was made, as the interface's counters say.
struct ByteCounts {
    std::uint64_t received = 0;
    std::uint64_t sent = 0;

    bool operator==(const ByteCounts&) const = default;
};

// An entry's stored dial parameters.
struct RasDialParams {
    std::string entryName;
    std::string phoneNumber;
    std::string callbackNumber;
    std::string userName;
    std::string password;
    std::string domain;
    // False for entries that carry no credentials of their own (a wired or Wi-Fi profile):
    // they are dialled without the user-name and password checks.
    bool credentialsRequired = true;
};

// Dial progress and result: (message, connection state, error code). Error 0 means progress
// or success. May be called on a thread other than the caller's.
using RasDialNotifier = std::function<void(unsigned message, std::uint32_t state, std::uint32_t error)>;

class RemoteAccess {
public:
    virtual ~RemoteAccess() = default;

    // The back-end's name as a person reads it (start-up message, about box).
    virtual std::string name() const = 0;

    // Active connections. When more than `room` are active the answer is ErrorBufferTooSmall
    // and `needed` holds the room required; otherwise `connections` holds them all.
    virtual std::uint32_t enumConnections(std::size_t room, std::vector<RasConnection>& connections,
                                          std::size_t& needed) = 0;
    // State of one connection; ErrorInvalidHandle or ErrorInvalidPortHandle once it has vanished.
    virtual std::uint32_t getConnectStatus(ConnHandle handle, std::uint32_t& state) = 0;
    // Names of the phonebook entries in the platform's order; ErrorBufferTooSmall past `room`.
    virtual std::uint32_t enumEntries(std::size_t room, std::vector<std::string>& names) = 0;
    virtual std::uint32_t getEntryDialParams(const std::string& entryName, RasDialParams& params) = 0;
    // Starts a dial and returns at once with the new connection's handle.
    virtual std::uint32_t dial(const RasDialParams& params, RasDialNotifier notifier, ConnHandle& handle) = 0;
    // Ends a dial in progress or a connection.
    virtual std::uint32_t hangUp(ConnHandle handle) = 0;
    virtual std::uint32_t getErrorString(std::uint32_t code, std::string& text) = 0;
    // IP address (dotted text) of the connection's PPP IP projection.
    virtual std::uint32_t getProjectionIp(ConnHandle handle, std::string& address) = 0;
    // The bytes the connection has received and sent; ErrorNotSupported where the back-end
    // cannot tell.
    virtual std::uint32_t getConnectionStatistics(ConnHandle, ByteCounts&) { return ras::ErrorNotSupported; }

    // Whether wired and wireless network connections count as dial-up connections (the
    // RecordLan setting), from the next answer on. Back-ends without them ignore it.
    virtual void setRecordLan(bool) {}
    // How many saved wired or wireless connections the phonebook leaves out because they do not
    // count; 0 for back-ends without them.
    virtual std::size_t uncountedLanEntries() { return 0; }
};

} // namespace xr::platform
