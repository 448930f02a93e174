#pragma once
// NetworkManager's numbers and names in the dial-up service's terms: the states of an active
// connection, the reasons an activation ends and the errors of its calls as our result codes
// (each with a Chinese text), profile types in plain words, and which connections and profiles
// a person chose. Plain C++, so that the rules are tested without a bus.

#include <cstdint>
#include <string>

namespace xr::platform::nm {

// NMActiveConnectionState
constexpr std::uint32_t ActiveUnknown = 0;
constexpr std::uint32_t ActiveActivating = 1;
constexpr std::uint32_t ActiveActivated = 2;
constexpr std::uint32_t ActiveDeactivating = 3;
constexpr std::uint32_t ActiveDeactivated = 4;

// NMActivationStateFlags that matter here.
constexpr std::uint32_t FlagIsPort = 0x2;
constexpr std::uint32_t FlagExternal = 0x80;

// NMActiveConnectionStateReason
constexpr std::uint32_t ReasonUserDisconnected = 2;
constexpr std::uint32_t ReasonDeviceDisconnected = 3;
constexpr std::uint32_t ReasonLoginFailed = 10;
constexpr std::uint32_t ReasonDeviceRemoved = 14;

// Our result codes for what NetworkManager reports. An ended activation answers
// ErrorActivationBase + its reason (a person's own hang-up answers the service's "port
// disconnected" code instead, so that it is not shown as an error).
constexpr std::uint32_t ErrorActivationBase = 3000;
constexpr std::uint32_t ErrorServiceUnavailable = 3100; // nobody answers on the system bus
constexpr std::uint32_t ErrorActivationRefused = 3101;  // the activation was refused at once
constexpr std::uint32_t ErrorPermissionDenied = 3102;
constexpr std::uint32_t ErrorNoDevice = 3103; // no device can carry the profile
constexpr std::uint32_t ErrorAlreadyActive = 3104;
// A failed device answers ErrorDeviceBase + its NMDeviceStateReason: for a profile on a device
// the active connection only says "device disconnected", the device says why.
constexpr std::uint32_t ErrorDeviceBase = 3200;

// NMDeviceState that ends a failed activation.
constexpr std::uint32_t DeviceFailed = 120;

// NMSettingSecretFlags
constexpr std::uint32_t SecretAgentOwned = 0x1;
constexpr std::uint32_t SecretNotSaved = 0x2;
constexpr std::uint32_t SecretNotRequired = 0x4;

// What decides whether a saved profile is a dial-up connection.
struct ProfileKind {
    std::string type;          // connection.type
    std::string bluetoothType; // bluetooth.type: "dun" dials a phone, "panu" joins its network
    int metered = -1;          // connection.metered: -1 default, 0 no, 1 yes
};

// The dial-up state of an active connection in `activeState`: answers false when the
// connection is ending or gone, so its handle is no longer valid.
bool connectState(std::uint32_t activeState, std::uint32_t& rasState);

// Whether an active connection in `activeState` is ending or gone (it never comes back).
bool ending(std::uint32_t activeState);

// The code a dial reports when its activation ended with `reason`.
std::uint32_t errorForReason(std::uint32_t reason);

// The code for a device that failed with `deviceReason`; 0 when that reason has no text of its
// own (the active connection's reason is shown then).
std::uint32_t errorForDeviceReason(std::uint32_t deviceReason);

// The code for a failed call, from the D-Bus error name (org.freedesktop.NetworkManager.*,
// org.freedesktop.DBus.Error.*).
std::uint32_t errorForCall(const std::string& errorName);

// Sets `text` to the Chinese text of one of the codes above; false for any other code.
bool errorText(std::uint32_t code, std::string& text);

// The profile type in plain words ("802-3-ethernet" → "ethernet", "802-11-wireless" → "wifi").
std::string plainType(const std::string& profileType);

// Whether an active connection is a way onto the network a person chose: not loopback, not a
// port of another connection, not one NetworkManager only watches (a container bridge).
bool chosenConnection(const std::string& profileType, const std::string& interfaceName, bool hasMaster,
                      std::uint32_t stateFlags);

// Whether a saved profile is listed as an entry: not loopback, not a port of another.
bool listedProfile(const std::string& profileType, bool hasMaster);

// Whether a profile is a dial-up style connection: PPPoE, mobile broadband, Bluetooth dial-up,
// VPN, WireGuard, or any profile marked metered (it costs by use). Wired and Wi-Fi profiles
// count as well when `recordLan` says so.
bool recordedProfile(const ProfileKind& kind, bool recordLan);

// Whether a profile is a wired or Wi-Fi network connection.
bool lanProfile(const std::string& profileType);

// What the dialer is shown for a password with `secretFlags`: a stand-in for a password that
// NetworkManager or the user's agent keeps (or that is not needed), empty for one never saved.
// The secret itself is not read: an ordinary user may not read a system profile's secrets.
std::string storedPasswordMark(std::uint32_t secretFlags);

// Whether dialling a profile needs a user name and password: PPPoE always, other types when
// they store a user name (a modem or VPN login).
bool needsCredentials(const std::string& profileType, const std::string& userName);

} // namespace xr::platform::nm
