#include "app/XarvaneProgram.h"

#include "app/CompanionStarts.h"
#include "browser/DurationText.h"
#include "browser/PrintCommands.h"
#include "browser/utMain.h"
#include "connections/ConnSettingCommand.h"
#include "connections/ConnectCommand.h"
#include "connections/Dialer.h"
#include "connections/HangUp.h"
#include "connections/utDialStatus.h"
#include "platform/PlatformServices.h"
#include "settings/utOption.h"
#include "settings/utSyn.h"
#include "users/LoginMode.h"
#include "users/utAllowance.h"
#include "users/utLogin.h"

#include <QAction>

namespace xr {

XarvaneProgram::XarvaneProgram(AppContext& context, platform::PlatformServices& platform)
    : m_context(context), m_platform(platform), m_notices(context, platform.sound(), platform.shell()),
      m_windows(m_notices), m_session(context, m_windows)
{
}

XarvaneProgram::~XarvaneProgram() = default;

void XarvaneProgram::createStartupWindows()
{
    m_winLogin = std::make_unique<TwinLogin>(m_context, m_session.adoConnMain(), m_session.adocommSql(),
                                             m_session.recorder(), m_session.RASNotify());
    m_windows.setLogin(m_winLogin.get());
    m_winMain = std::make_unique<TwinMain>(m_context, m_session.adoConnMain(), m_session.adocommSql(),
                                           m_session.RASNotify());
    m_windows.setMainWindow(m_winMain.get());
    m_dialer = std::make_unique<Dialer>(m_context);
    m_winDialStatus = std::make_unique<TwinDialStatus>(*m_dialer);
    m_windows.setDialStatus(m_winDialStatus.get());
    m_connSetting = std::make_unique<ConnSettingCommand>(m_context, m_session.RASNotify(), *m_dialer);

    connectWindows();
    connectDialing();
    connectMainCommands();
    connectNotices();
    connectAllowance();
    connectCompanionStarts(m_context, *m_winLogin, m_platform.fileOpener());
}

// What one window asks of another. Commands of features still to come stay unconnected.
void XarvaneProgram::connectWindows()
{
    TwinMain& winMain = *m_winMain;
    QObject::connect(m_winLogin.get(), &TwinLogin::mainWindowWanted, &m_session,
                     [this] { m_windows.showMainWindow(); });
    QObject::connect(&winMain, &TwinMain::changeUserRequested, &m_session,
                     [this] { m_windows.showLogin(kLoginModeChangeUser); });
    QObject::connect(&winMain, &TwinMain::hangUpRequested, &m_session,
                     [this] { actDisConnExecute(m_context, m_session.RASNotify()); });
    QObject::connect(&winMain, &TwinMain::backupRequested, &m_session,
                     [this] { m_session.backupRestore().actBackupExecute(); });
    QObject::connect(&winMain, &TwinMain::restoreRequested, &m_session,
                     [this] { m_session.backupRestore().actComebackExecute(); });
    // A restore closes the main window, with its list, before the database closes.
    QObject::connect(&m_session.backupRestore(), &BackupRestore::databaseClosing, &m_session,
                     [this] { m_windows.closeMainWindowIfShowing(); });
}

// Where dials start: the main window's connect command and its connection settings, the tray
// menu's "拨号连接(&C)" and the sign-in's automatic dial all reach the one dialer.
void XarvaneProgram::connectDialing()
{
    Dialer& dialer = *m_dialer;
    QObject::connect(m_winMain.get(), &TwinMain::dialRequested, &dialer,
                     [this] { actConnectExecute(m_session.RASNotify(), *m_dialer, m_context.prompter); });
    QObject::connect(m_winMain.get(), &TwinMain::connectionSettingsRequested, &dialer,
                     [this] { m_connSetting->actConnSettingExecute(*m_winMain); });
    QObject::connect(m_session.winTray().trayMenu().pmiDial(), &QAction::triggered, &dialer,
                     &Dialer::DialDefaultConn);
    QObject::connect(m_winLogin.get(), &TwinLogin::dialWanted, &dialer, &Dialer::DialEntry);
}

// The main window's commands whose dialogs and services live outside it: the options dialog,
// the companion program list, printing and exporting the listed records.
void XarvaneProgram::connectMainCommands()
{
    TwinMain& winMain = *m_winMain;
    QObject::connect(&winMain, &TwinMain::optionsRequested, &winMain, [this] { openOptions(); });
    QObject::connect(&winMain, &TwinMain::allowancesRequested, &winMain, [this] { openAllowances(); });
    QObject::connect(&winMain, &TwinMain::companionProgramsRequested, &winMain, [this] {
        TwinSyn winSyn(m_context.appPath, m_context.prompter, m_winMain.get());
        winSyn.exec();
    });
    // A server that goes away while its list prints leaves this PC's list in the window.
    QObject::connect(&winMain, &TwinMain::printRequested, &winMain, [this] {
        m_winMain->workOnList([this] {
            PrintCommands(m_context, m_session.RASNotify())
                .actPrintExecute(m_winMain->list(), m_winMain->totalText(), m_winMain.get());
        });
    });
    QObject::connect(&winMain, &TwinMain::exportRequested, &winMain, [this] {
        m_winMain->workOnList([this] {
            PrintCommands(m_context, m_session.RASNotify())
                .actExportExecute(m_winMain->list(), m_winMain->totalText(), m_winMain.get());
        });
    });
}

// The options dialog, modal over the main window; its OK reaches the record timer, the main
// window's lists, its total and a floating display that is showing (its size may have changed).
void XarvaneProgram::openOptions()
{
    TwinMain& winMain = *m_winMain;
    TwinOption winOption(m_context, m_session.adoConnMain(), m_platform.autoStart(), &winMain);
    QObject::connect(&winOption, &TwinOption::recordTimerPeriodChanged, &m_session,
                     &XarvaneSession::setRecordTimerPeriod);
    QObject::connect(&winOption, &TwinOption::queryListsChanged, &winMain, &TwinMain::applyQueryOptions);
    QObject::connect(&winOption, &TwinOption::totalWanted, &winMain, &TwinMain::CalcTotalTime);
    QObject::connect(&winOption, &TwinOption::floatWinRefreshWanted, &winMain, [this] {
        if (TwinFloatWin* winFloatWin = m_notices.floatingDisplay().winFloatWin();
            winFloatWin && winFloatWin->isVisible())
            winFloatWin->FormShow();
    });
    winOption.exec();
}

// The allowance of the person at the PC: no dial starts without time left, the warnings come
// as notices, and the time left shows in the tray icon's tip, the main window's status bar and,
// when chosen, the floating display.
void XarvaneProgram::connectAllowance()
{
    AllowanceWatch& allowance = m_session.allowance();
    m_dialer->setRefusal([&allowance] { return allowance.refusesDial(); });
    QObject::connect(&allowance, &AllowanceWatch::warningDue, &m_session,
                     [this](const QString& text) { m_notices.popups().ShowWarning(text); });
    QObject::connect(&allowance, &AllowanceWatch::timeLeftChanged, &m_session, [this] { showTimeLeft(); });
    m_notices.floatingDisplay().setTimeLeft([&allowance] { return allowance.timeLeft(); });
    showTimeLeft();
}

void XarvaneProgram::showTimeLeft()
{
    const QString text = TimeLeftText(m_session.allowance().timeLeft());
    m_session.winTray().showTimeLeft(text);
    m_winMain->showTimeLeft(text);
}

// A stored allowance or a grant counts at once.
void XarvaneProgram::openAllowances()
{
    TwinAllowance winAllowance(m_context, m_session.adoConnMain(), m_winMain.get());
    QObject::connect(&winAllowance, &TwinAllowance::allowancesChanged, &m_session,
                     [this] { m_session.allowance().recompute(); });
    winAllowance.exec();
    m_winMain->showAllowanceSummary();
}

void XarvaneProgram::connectNotices()
{
    m_session.winTray().trayMenu().connectNotices(m_notices);
    m_notices.connectMainWindow(*m_winMain);
    m_notices.connectLogin(*m_winLogin);
}

} // namespace xr
