// NetworkManager's states, reasons, errors and profile types in the dial-up service's terms.
#include "platform/NmMapping.h"
#include "platform/RemoteAccess.h"

#include <gtest/gtest.h>

#include <set>

namespace xr::platform {
namespace {

TEST(NmMapping, ActivatedIsConnectedActivatingIsDiallingEndingIsGone)
{
    std::uint32_t state = 12345;
    ASSERT_TRUE(nm::connectState(nm::ActiveActivated, state));
    EXPECT_EQ(state, ras::StateConnected);
    ASSERT_TRUE(nm::connectState(nm::ActiveActivating, state));
    EXPECT_NE(state, ras::StateConnected);
    ASSERT_TRUE(nm::connectState(nm::ActiveUnknown, state));
    EXPECT_NE(state, ras::StateConnected);
    EXPECT_FALSE(nm::connectState(nm::ActiveDeactivating, state));
    EXPECT_FALSE(nm::connectState(nm::ActiveDeactivated, state));
}

TEST(NmMapping, EveryReasonHasItsOwnCodeAndChineseTextExceptTheUsersOwnHangUp)
{
    EXPECT_EQ(nm::errorForReason(nm::ReasonUserDisconnected), ras::ErrorPortDisconnected);
    std::set<std::uint32_t> codes;
    for (std::uint32_t reason = 0; reason <= nm::ReasonDeviceRemoved; ++reason) {
        if (reason == nm::ReasonUserDisconnected)
            continue;
        const std::uint32_t code = nm::errorForReason(reason);
        std::string text;
        EXPECT_TRUE(nm::errorText(code, text)) << "reason " << reason;
        EXPECT_FALSE(text.empty());
        codes.insert(code);
    }
    EXPECT_EQ(codes.size(), 14U) << "each reason has a code of its own";
    std::string text;
    ASSERT_TRUE(nm::errorText(nm::errorForReason(nm::ReasonLoginFailed), text));
    EXPECT_EQ(text, "用户名或密码无效，登录失败。");
    EXPECT_EQ(nm::errorForReason(999), nm::ErrorActivationBase) << "a reason of a newer service is unknown";
    EXPECT_FALSE(nm::errorText(ras::ErrorPortDisconnected, text)) << "the service's own codes are not ours";
    EXPECT_FALSE(nm::errorText(1000, text));
}

TEST(NmMapping, AFailedDeviceGivesItsOwnCauseWhereItHasOne)
{
    constexpr std::uint32_t kNoSecrets = 7, kPppFailed = 14, kModemBusy = 23, kSimPinRequired = 46;
    constexpr std::uint32_t kUserRequested = 39;
    std::set<std::uint32_t> codes;
    for (const auto& [reason, text] : std::vector<std::pair<std::uint32_t, std::string>>{
             {kNoSecrets, "需要密码或密钥，但没有提供。"},
             {kPppFailed, "PPP 连接失败，请检查用户名和密码。"},
             {kModemBusy, "线路忙。"},
             {kSimPinRequired, "需要 SIM 卡的 PIN 码。"}}) {
        const std::uint32_t code = nm::errorForDeviceReason(reason);
        EXPECT_EQ(code, nm::ErrorDeviceBase + reason);
        std::string shown;
        ASSERT_TRUE(nm::errorText(code, shown)) << reason;
        EXPECT_EQ(shown, text);
        codes.insert(code);
    }
    for (std::uint32_t code : codes)
        EXPECT_GT(code, nm::ErrorAlreadyActive) << "no clash with the activation and call codes";
    EXPECT_EQ(nm::errorForDeviceReason(kUserRequested), 0U) << "a person's own disconnection is no failure";
    EXPECT_EQ(nm::errorForDeviceReason(0), 0U);
    std::string text;
    EXPECT_FALSE(nm::errorText(nm::ErrorDeviceBase + kUserRequested, text));
}

TEST(NmMapping, DialUpKindsCountAndWiredAndWirelessOnlyWhenRecorded)
{
    for (const char* type : {"pppoe", "gsm", "cdma", "vpn", "wireguard"})
        EXPECT_TRUE(nm::recordedProfile({type, {}, -1}, false)) << type;
    EXPECT_TRUE(nm::recordedProfile({"bluetooth", "dun", -1}, false));
    EXPECT_FALSE(nm::recordedProfile({"bluetooth", "panu", -1}, false));
    EXPECT_TRUE(nm::recordedProfile({"802-11-wireless", {}, 1}, false)) << "metered: costs by use";
    EXPECT_FALSE(nm::recordedProfile({"802-11-wireless", {}, 0}, false));
    EXPECT_FALSE(nm::recordedProfile({"802-3-ethernet", {}, -1}, false));
    EXPECT_TRUE(nm::recordedProfile({"802-3-ethernet", {}, -1}, true));
    EXPECT_TRUE(nm::recordedProfile({"802-11-wireless", {}, -1}, true));
    EXPECT_FALSE(nm::recordedProfile({"bridge", {}, -1}, true)) << "only wired and Wi-Fi are added";
}

TEST(NmMapping, APasswordIsStoredUnlessItIsNeverSaved)
{
    EXPECT_EQ(nm::storedPasswordMark(0), "********") << "kept by NetworkManager";
    EXPECT_EQ(nm::storedPasswordMark(nm::SecretAgentOwned), "********") << "kept by the user's agent";
    EXPECT_EQ(nm::storedPasswordMark(nm::SecretNotSaved), "");
    EXPECT_EQ(nm::storedPasswordMark(nm::SecretNotSaved | nm::SecretNotRequired), "********") << "none needed";
}

TEST(NmMapping, CallErrorsByName)
{
    EXPECT_EQ(nm::errorForCall("org.freedesktop.NetworkManager.UnknownConnection"),
              ras::ErrorCannotFindPhonebookEntry);
    EXPECT_EQ(nm::errorForCall("org.freedesktop.NetworkManager.ConnectionNotAvailable"), nm::ErrorNoDevice);
    EXPECT_EQ(nm::errorForCall("org.freedesktop.NetworkManager.PermissionDenied"), nm::ErrorPermissionDenied);
    EXPECT_EQ(nm::errorForCall("org.freedesktop.DBus.Error.ServiceUnknown"), nm::ErrorServiceUnavailable);
    EXPECT_EQ(nm::errorForCall("org.freedesktop.DBus.Error.NoReply"), nm::ErrorServiceUnavailable);
    EXPECT_EQ(nm::errorForCall("org.freedesktop.DBus.Error.Disconnected"), nm::ErrorServiceUnavailable);
    EXPECT_EQ(nm::errorForCall("org.freedesktop.NetworkManager.Failed"), nm::ErrorActivationRefused);
    for (std::uint32_t code : {nm::ErrorServiceUnavailable, nm::ErrorActivationRefused,
                               nm::ErrorPermissionDenied, nm::ErrorNoDevice, nm::ErrorAlreadyActive}) {
        std::string text;
        EXPECT_TRUE(nm::errorText(code, text)) << code;
    }
}

TEST(NmMapping, ProfileTypesInPlainWords)
{
    EXPECT_EQ(nm::plainType("802-3-ethernet"), "ethernet");
    EXPECT_EQ(nm::plainType("802-11-wireless"), "wifi");
    EXPECT_EQ(nm::plainType("pppoe"), "pppoe");
    EXPECT_EQ(nm::plainType("gsm"), "gsm");
    EXPECT_EQ(nm::plainType("vpn"), "vpn");
    EXPECT_EQ(nm::plainType("wireguard"), "wireguard");
    EXPECT_EQ(nm::plainType("a-type-of-a-later-release"), "a-type-of-a-late") << "16 characters at most";
}

TEST(NmMapping, OnlyConnectionsAPersonChoseAreWatchedAndListed)
{
    constexpr std::uint32_t ip4Ready = 0x8;
    EXPECT_TRUE(nm::chosenConnection("802-3-ethernet", "eth0", false, ip4Ready));
    EXPECT_TRUE(nm::chosenConnection("pppoe", "ppp0", false, 0));
    EXPECT_FALSE(nm::chosenConnection("loopback", "lo", false, 0));
    EXPECT_FALSE(nm::chosenConnection("802-3-ethernet", "lo", false, 0));
    EXPECT_FALSE(nm::chosenConnection("802-3-ethernet", "eth1", true, 0)) << "port of a bridge";
    EXPECT_FALSE(nm::chosenConnection("802-3-ethernet", "eth1", false, nm::FlagIsPort));
    EXPECT_FALSE(nm::chosenConnection("bridge", "docker0", false, nm::FlagExternal | ip4Ready));

    EXPECT_TRUE(nm::listedProfile("802-11-wireless", false));
    EXPECT_FALSE(nm::listedProfile("loopback", false));
    EXPECT_FALSE(nm::listedProfile("802-3-ethernet", true));
}

TEST(NmMapping, CredentialsAreCheckedForLoginsOnly)
{
    EXPECT_TRUE(nm::needsCredentials("pppoe", ""));
    EXPECT_TRUE(nm::needsCredentials("gsm", "card"));
    EXPECT_FALSE(nm::needsCredentials("gsm", ""));
    EXPECT_FALSE(nm::needsCredentials("802-3-ethernet", ""));
    EXPECT_FALSE(nm::needsCredentials("802-11-wireless", ""));
}

} // namespace
} // namespace xr::platform
