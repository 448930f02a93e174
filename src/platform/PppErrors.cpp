#include "platform/PppErrors.h"

#include <array>
#include <cerrno>

namespace xr::platform::ppp {

namespace {

// What each of pppd's documented exit statuses means, indexed by the status.
constexpr std::array<const char*, 20> ExitStatusTexts = {
    "连接已被对方终止。",
    "pppd 发生致命错误（系统调用失败或内存不足）。",
    "拨号连接的选项有错误，请检查该连接在 peers 文件夹中的配置文件。",
    "pppd 没有以 root 身份运行的权限（不是 setuid-root），当前用户也不是 root。请让系统管理员检查 ppp "
    "软件包的安装。",
    "系统内核不支持 PPP（没有 PPP 驱动，或无法打开 /dev/ppp 设备）。",
    "pppd 收到终止信号，连接已被中止。",
    "无法锁定串口，调制解调器可能正被其他程序使用。",
    "无法打开串口，请检查调制解调器是否连接好。",
    "连接脚本执行失败：可能是电话占线、对方没有应答或没有拨号音。",
    "无法运行 pty 选项指定的命令。",
    "PPP 协商失败，没有建立任何网络协议。",
    "对方系统没有通过身份验证（或拒绝验证）。",
    "连接因空闲时间过长而被断开。",
    "连接已达到最长连接时间而被断开。",
    "已协商回拨，请等待对方回拨。",
    "对方不再响应回显请求，连接已被断开。",
    "调制解调器已挂断，连接被断开。",
    "检测到串口环回，PPP 协商失败。",
    "初始化脚本执行失败。",
    "用户名或密码无效，远程服务器拒绝了身份验证。",
};

} // namespace

std::uint32_t startFailureCode(int error)
{
    switch (error) {
    case EACCES:
    case EPERM:
        return ErrorNotPermitted;
    case ENOENT:
    case ENOTDIR:
        return ErrorPppdMissing;
    default:
        return ErrorPppdNotStarted;
    }
}

std::optional<std::string> errorText(std::uint32_t code)
{
    if (code >= ExitStatusBase && code < ExitStatusBase + ExitStatusTexts.size()) {
        const std::uint32_t status = code - ExitStatusBase;
        return std::string(ExitStatusTexts[status]) + "（pppd 退出状态 " + std::to_string(status) + "）";
    }
    switch (code) {
    case ErrorNotPermitted:
        return "没有运行 pppd 的权限。请让系统管理员把您的操作系统用户加入 dip 组"
               "（adduser 用户名 dip），然后注销并重新登录。";
    case ErrorPppdMissing:
        return "找不到 pppd 程序。请让系统管理员安装 ppp 软件包。";
    case ErrorPppdNotStarted:
        return "无法启动 pppd。";
    case ErrorHangUpNotPermitted:
        return "没有权限断开该连接：它由其他用户启动。";
    default:
        return std::nullopt;
    }
}

} // namespace xr::platform::ppp
