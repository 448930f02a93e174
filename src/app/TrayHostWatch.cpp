#include "app/TrayHostWatch.h"

#include "common/Prompter.h"

namespace xr {

namespace {
constexpr int kCheckIntervalMs = 3000;
const QString kNoTrayMessage =
    QStringLiteral("没有找到系统通知区域（托盘），XarvaneXR 的图标无法显示。\r\r"
                   "悬浮窗口代替它：右键单击打开菜单，双击打开管理器。");
} // namespace

TrayHostWatch::TrayHostWatch(Prompter& prompter, Availability trayAvailable, std::function<void()> keepHandleOpen)
    : m_prompter(prompter), m_trayAvailable(std::move(trayAvailable)), m_keepHandleOpen(std::move(keepHandleOpen))
{
    m_timer.setInterval(kCheckIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &TrayHostWatch::check);
    m_timer.start();
    check();
}

// Without a notification area the handle is the only way to the program, so one closed by the
// user comes back at the next look.
void TrayHostWatch::check()
{
    if (m_trayAvailable())
        return;
    m_keepHandleOpen();
    if (!m_told) {
        m_told = true;
        m_prompter.inform(kNoTrayMessage);
    }
}

} // namespace xr
