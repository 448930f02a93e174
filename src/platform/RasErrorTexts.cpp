#include "platform/RasErrorTexts.h"

#include "platform/RemoteAccess.h"

#include <map>

namespace xr::platform {

bool rasErrorText(std::uint32_t code, std::string& text)
{
    static const std::map<std::uint32_t, std::string> texts = {
        {ras::ErrorInvalidHandle, "连接句柄无效，该连接已经不存在。"},
        {ras::ErrorNotEnoughMemory, "内存不足，无法完成操作。"},
        {ras::ErrorInvalidParameter, "参数不正确。"},
        {ras::ErrorInvalidPortHandle, "端口句柄无效。"},
        {ras::ErrorPortAlreadyOpen, "该连接的端口已经打开，连接正在拨号或已经连接。"},
        {ras::ErrorBufferTooSmall, "缓冲区太小，无法容纳全部结果。"},
        {ras::ErrorPortDisconnected, "端口已经断开，拨号被中止。"},
        {ras::ErrorCannotOpenPhonebook, "无法打开电话簿文件。"},
        {ras::ErrorCannotFindPhonebookEntry, "在电话簿中找不到该连接。"},
        {ras::ErrorPortNotAvailable, "调制解调器或其他拨号设备已被占用或没有正确配置。"},
        {ras::ErrorLineBusy, "电话占线。"},
        {ras::ErrorNoAnswer, "对方没有应答。"},
        {ras::ErrorNoDialTone, "没有拨号音。"},
        {ras::ErrorAuthenticationFailure, "用户名或密码无效，远程服务器拒绝了访问。"},
        {ras::ErrorNoProjection, "远程服务器没有为连接分配网络协议。"},
        {ras::ErrorProjectionNotComplete, "连接尚未完成网络协议的协商。"},
    };
    const auto it = texts.find(code);
    if (it == texts.end())
        return false;
    text = it->second;
    return true;
}

} // namespace xr::platform
