#include "notices/Notices.h"

#include "browser/utMain.h"
#include "common/AppContext.h"
#include "notices/HelpCommands.h"
#include "notices/ProgramFiles.h"
#include "users/utLogin.h"

namespace xr {

Notices::Notices(AppContext& context, platform::Sound& sound, platform::DesktopShell& shell)
    : m_context(context), m_shell(shell), m_popups(context, sound), m_floatingDisplay(context)
{
}

void Notices::connectMainWindow(TwinMain& winMain)
{
    connect(&winMain, &TwinMain::floatWinToggled, &m_floatingDisplay, &FloatingDisplay::mmiFloatWinClick);
    connect(&winMain, &TwinMain::aboutRequested, this, [this, &winMain] { showAbout(&winMain); });
    connect(&winMain, &TwinMain::helpRequested, this, &Notices::ShowHelp);
    connect(&winMain, &TwinMain::mailRequested, this,
            [this] { openSupportMail(m_shell, m_context.prompter, m_context.settings.SupportMail); });
    connect(&winMain, &TwinMain::calculatorRequested, this,
            [this] { startCalculator(m_shell, m_context.prompter); });
}

void Notices::connectLogin(TwinLogin& winLogin)
{
    connect(&winLogin, &TwinLogin::floatingDisplayWanted, &m_floatingDisplay, &FloatingDisplay::OpenFloatWin);
}

void Notices::showAbout(QWidget* owner)
{
    if (m_winAbout)
        return;
    m_winAbout = new TwinAbout(m_shell, m_context.prompter, m_context.settings.SupportMail,
                               m_context.remoteAccess.name(), owner);
    m_winAbout->exec();
}

// The help that came with this program: beside it, or in the installed program's shared folder,
// which an upgrade keeps current.
void Notices::ShowHelp()
{
    xr::ShowHelp(m_shell, m_context.prompter, programFilesSource(m_context.programFolder) + QLatin1Char('/'));
}

} // namespace xr
