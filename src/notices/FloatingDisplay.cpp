#include "notices/FloatingDisplay.h"

#include "browser/DurationText.h"
#include "common/AppContext.h"
#include "settings/SettingsStore.h"

#include <QSystemTrayIcon>

namespace xr {

FloatingDisplay::FloatingDisplay(AppContext& context) : m_context(context) {}

FloatingDisplay::~FloatingDisplay()
{
    delete m_winFloatWin;
}

void FloatingDisplay::OpenFloatWin()
{
    if (m_winFloatWin)
        return;
    m_winFloatWin = new TwinFloatWin(m_context, m_pmTray);
    connect(m_winFloatWin, &TwinFloatWin::LEDDisplay1DblClick, this, &FloatingDisplay::managerWanted);
    m_winFloatWin->show();
}

// Closing frees the window, which clears the reference.
void FloatingDisplay::CloseFloatWin()
{
    if (m_winFloatWin)
        m_winFloatWin->close();
}

void FloatingDisplay::pmiFWClick()
{
    switchTo(!exists());
}

void FloatingDisplay::mmiFloatWinClick(bool checked)
{
    switchTo(checked);
}

void FloatingDisplay::switchTo(bool open)
{
    if (open)
        OpenFloatWin();
    else
        CloseFloatWin();
    storeFloatWin(open);
}

void FloatingDisplay::storeFloatWin(bool open)
{
    m_context.settings.FloatWin = open;
    writeSettings(m_context.registry, m_context.settings, {&TSettings::FloatWin});
}

void FloatingDisplay::showOnlineTime(double sdt, double now)
{
    if (!showing())
        return;
    const TimeLeft left = m_timeLeft ? m_timeLeft() : TimeLeft{};
    if (m_context.settings.FWTimeLeft && left.limited)
        m_winFloatWin->showCounter(CompactTimeLeft(left));
    else
        m_winFloatWin->showOnlineTime(sdt, now);
}

void FloatingDisplay::showIdleBanner()
{
    if (showing())
        m_winFloatWin->showBanner();
}

} // namespace xr
