#include "platform/NmMapping.h"

#include "platform/RemoteAccess.h"

#include <map>

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
    const auto it = texts().find(code);
    if (it == texts().end())
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

bool needsCredentials(const std::string& profileType, const std::string& userName)
{
    return profileType == "pppoe" || !userName.empty();
}

} // namespace xr::platform::nm
