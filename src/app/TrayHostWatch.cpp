#include "app/TrayHostWatch.h"

#include "app/NoTrayHandle.h"
#include "common/Prompter.h"

namespace xr {

namespace {
constexpr int kCheckIntervalMs = 3000;
const QString kNoTrayMessage =
    QStringLiteral("没有找到系统通知区域（托盘），XarvaneXR 的图标无法显示。\r\r"
                   "屏幕右下角的 XarvaneXR 小窗口代替它：右键单击打开菜单，双击打开管理器。");
} // namespace

TrayHostWatch::TrayHostWatch(QMenu& pmTray, std::function<void()> openManager, Prompter& prompter,
                             Availability trayAvailable)
    : m_pmTray(pmTray), m_openManager(std::move(openManager)), m_prompter(prompter),
      m_trayAvailable(std::move(trayAvailable))
{
    m_timer.setInterval(kCheckIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &TrayHostWatch::check);
    m_timer.start();
    check();
}

TrayHostWatch::~TrayHostWatch() = default;

void TrayHostWatch::check()
{
    if (m_trayAvailable()) {
        m_handle.reset();
        return;
    }
    if (m_handle)
        return;
    m_handle = std::make_unique<NoTrayHandle>(m_pmTray, m_openManager);
    m_handle->placeInCorner();
    m_handle->show();
    if (!m_told) {
        m_told = true;
        m_prompter.inform(kNoTrayMessage);
    }
}

} // namespace xr
