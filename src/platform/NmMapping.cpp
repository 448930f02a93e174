#include "platform/NmMapping.h"

#include "platform/RemoteAccess.h"

#include <map>
#include <set>

namespace xr::platform::nm {

namespace {

const std::string kLoopback = "loopback";

const std::map<std::uint32_t, std::string>& texts()
{
    static const std::map<std::uint32_t, std::string> table = {
        {ErrorActivationBase + 0, "网络连接失败，原因不明。"},
        {ErrorActivationBase + 1, "网络连接已经结束。"},
        {ErrorActivationBase + 3, "网络设备断开了连接。"},
        {ErrorActivationBase + 4, "为该连接服务的程序已经停止。"},
        {ErrorActivationBase + 5, "没有得到有效的 IP 配置。"},
        {ErrorActivationBase + 6, "连接超时。"},
        {ErrorActivationBase + 7, "为该连接服务的程序启动超时。"},
        {ErrorActivationBase + 8, "为该连接服务的程序启动失败。"},
        {ErrorActivationBase + 9, "缺少连接所需的密码或密钥。"},
        {ErrorActivationBase + ReasonLoginFailed, "用户名或密码无效，登录失败。"},
        {ErrorActivationBase + 11, "该连接已经被删除。"},
        {ErrorActivationBase + 12, "该连接所依赖的连接失败。"},
        {ErrorActivationBase + 13, "无法创建该连接所需的虚拟设备。"},
        {ErrorActivationBase + ReasonDeviceRemoved, "网络设备已经被移除。"},
        {ErrorServiceUnavailable, "NetworkManager 服务没有响应。"},
        {ErrorActivationRefused, "NetworkManager 拒绝启动该连接。"},
        {ErrorPermissionDenied, "没有启动或断开该连接的权限。"},
        {ErrorNoDevice, "没有可以使用该连接的网络设备。"},
        {ErrorAlreadyActive, "该连接已经启动。"},
    };
    return table;
}

// The device failures a person can act on, by NMDeviceStateReason. Reasons that are no failure
// (a person's own disconnection, a new activation, ...) have no text here.
const std::map<std::uint32_t, std::string>& deviceTexts()
{
    static const std::map<std::uint32_t, std::string> table = {
        {1, "网络设备出现未知错误。"},
        {4, "网络设备无法准备连接。"},
        {5, "没有得到 IP 地址（没有可用的地址或者超时）。"},
        {6, "IP 配置已经失效。"},
        {7, "需要密码或密钥，但没有提供。"},
        {8, "无线网络或 802.1X 认证中断。"},
        {9, "无线网络或 802.1X 认证的设置有误。"},
        {10, "无线网络或 802.1X 认证失败，请检查密码。"},
        {11, "无线网络或 802.1X 认证超时，请检查密码。"},
        {12, "PPP 服务无法启动。"},
        {13, "PPP 连接已经断开。"},
        {14, "PPP 连接失败，请检查用户名和密码。"},
        {15, "DHCP 客户端无法启动。"},
        {16, "DHCP 客户端出错。"},
        {17, "DHCP 没有分配到地址。"},
        {18, "共享连接服务无法启动。"},
        {19, "共享连接服务失败。"},
        {20, "AutoIP 服务无法启动。"},
        {21, "AutoIP 服务出错。"},
        {22, "AutoIP 服务失败。"},
        {23, "线路忙。"},
        {24, "没有拨号音。"},
        {25, "无法建立载波（对方没有应答）。"},
        {26, "拨号超时。"},
        {27, "拨号失败。"},
        {28, "调制解调器初始化失败。"},
        {29, "无法选择指定的接入点（APN）。"},
        {30, "调制解调器没有搜索网络。"},
        {31, "网络拒绝了注册。"},
        {32, "网络注册超时。"},
        {33, "无法注册到指定的网络。"},
        {34, "PIN 码检查失败。"},
        {35, "网络设备可能缺少所需的固件。"},
        {36, "网络设备已经被移除。"},
        {37, "NetworkManager 进入了休眠状态。"},
        {38, "该连接已经被删除。"},
        {40, "网线或链路状态发生了变化。"},
        {43, "找不到调制解调器。"},
        {44, "蓝牙连接失败或超时。"},
        {45, "没有插入 SIM 卡。"},
        {46, "需要 SIM 卡的 PIN 码。"},
        {47, "需要 SIM 卡的 PUK 码。"},
        {48, "SIM 卡不正确。"},
        {50, "该连接所依赖的连接失败。"},
        {51, "ADSL 以太网桥接（RFC 2684）出现问题。"},
        {52, "ModemManager 没有运行。"},
        {53, "找不到该无线网络。"},
        {54, "该连接的附属连接失败。"},
        {57, "调制解调器出现故障或已经不可用。"},
        {59, "SIM 卡的 PIN 码不正确。"},
        {64, "检测到重复的 IP 地址。"},
        {65, "不支持所选的 IP 配置方式。"},
        {67, "找不到 Wi-Fi 直连的对方设备。"},
    };
    return table;
}

std::string lastPart(const std::string& name)
{
    const auto dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(dot + 1);
}

} // namespace

bool connectState(std::uint32_t activeState, std::uint32_t& rasState)
{
    switch (activeState) {
    case ActiveActivated:
        rasState = ras::StateConnected;
        return true;
    case ActiveUnknown:
    case ActiveActivating:
        rasState = ras::StateConnectDevice;
        return true;
    default:
        return false;
    }
}

bool ending(std::uint32_t activeState)
{
    return activeState == ActiveDeactivating || activeState == ActiveDeactivated;
}

std::uint32_t errorForReason(std::uint32_t reason)
{
    if (reason == ReasonUserDisconnected)
        return ras::ErrorPortDisconnected;
    return reason <= ReasonDeviceRemoved ? ErrorActivationBase + reason : ErrorActivationBase;
}

std::uint32_t errorForDeviceReason(std::uint32_t deviceReason)
{
    return deviceTexts().contains(deviceReason) ? ErrorDeviceBase + deviceReason : 0;
}

std::uint32_t errorForCall(const std::string& errorName)
{
    static const std::map<std::string, std::uint32_t> byName = {
        {"UnknownConnection", ras::ErrorCannotFindPhonebookEntry},
        {"ConnectionNotAvailable", ErrorNoDevice},
        {"UnknownDevice", ErrorNoDevice},
        {"ConnectionAlreadyActive", ErrorAlreadyActive},
        {"PermissionDenied", ErrorPermissionDenied},
        {"AccessDenied", ErrorPermissionDenied},
        {"ServiceUnknown", ErrorServiceUnavailable},
        {"NameHasNoOwner", ErrorServiceUnavailable},
        {"NoReply", ErrorServiceUnavailable},
        {"NoServer", ErrorServiceUnavailable},
        {"Disconnected", ErrorServiceUnavailable},
        {"TimedOut", ErrorServiceUnavailable},
        {"Timeout", ErrorServiceUnavailable},
    };
    const auto it = byName.find(lastPart(errorName));
    return it == byName.end() ? ErrorActivationRefused : it->second;
}

bool errorText(std::uint32_t code, std::string& text)
{
    const auto& table = code >= ErrorDeviceBase ? deviceTexts() : texts();
    const auto it = table.find(code >= ErrorDeviceBase ? code - ErrorDeviceBase : code);
    if (it == table.end())
        return false;
    text = it->second;
    return true;
}

std::string plainType(const std::string& profileType)
{
    static const std::map<std::string, std::string> words = {
        {"802-3-ethernet", "ethernet"}, {"802-11-wireless", "wifi"}, {"802-11-olpc-mesh", "mesh"},
        {"wifi-p2p", "wifi-direct"},    {"ip-tunnel", "tunnel"},     {"6lowpan", "lowpan"},
    };
    const auto it = words.find(profileType);
    // The others (pppoe, gsm, cdma, vpn, wireguard, bluetooth, bridge, ...) are plain words already.
    return (it == words.end() ? profileType : it->second).substr(0, 16);
}

bool chosenConnection(const std::string& profileType, const std::string& interfaceName, bool hasMaster,
                      std::uint32_t stateFlags)
{
    return profileType != kLoopback && interfaceName != "lo" && !hasMaster &&
           (stateFlags & FlagIsPort) == 0 && (stateFlags & FlagExternal) == 0;
}

bool listedProfile(const std::string& profileType, bool hasMaster)
{
    return profileType != kLoopback && !hasMaster;
}

bool lanProfile(const std::string& profileType)
{
    return profileType == "802-3-ethernet" || profileType == "802-11-wireless";
}

bool recordedProfile(const ProfileKind& kind, bool recordLan)
{
    static const std::set<std::string> dialUp = {"pppoe", "gsm", "cdma", "vpn", "wireguard"};
    constexpr int kMeteredYes = 1;
    return dialUp.contains(kind.type) || (kind.type == "bluetooth" && kind.bluetoothType == "dun") ||
           kind.metered == kMeteredYes || (recordLan && lanProfile(kind.type));
}

std::string storedPasswordMark(std::uint32_t secretFlags)
{
    const bool kept = (secretFlags & SecretNotSaved) == 0 || (secretFlags & SecretNotRequired) != 0;
    return kept ? "********" : std::string();
}

bool needsCredentials(const std::string& profileType, const std::string& userName)
{
    return profileType == "pppoe" || !userName.empty();
}

} // namespace xr::platform::nm
