#include "app/MainCommands.h"

#include "app/utTray.h"
#include "browser/PrintCommands.h"
#include "browser/utMain.h"
#include "notices/FloatingDisplay.h"
#include "settings/CompanionPrograms.h"
#include "settings/utOption.h"
#include "settings/utSyn.h"
#include "users/utLogin.h"

namespace xr {

namespace {

// The options dialog, modal over the main window; its OK reaches the record timer, the main
// window's lists, its total and a floating display that is showing (its size may have changed).
void openOptions(AppContext& context, TwinTray& winTray, TwinMain& winMain, platform::AutoStart& autoStart,
                 FloatingDisplay& floatingDisplay)
{
    TwinOption winOption(context, winTray.adoConnMain(), autoStart, &winMain);
    QObject::connect(&winOption, &TwinOption::recordTimerPeriodChanged, &winTray.tmRecord(),
                     [&winTray](int ms) { winTray.tmRecord().setInterval(ms); });
    QObject::connect(&winOption, &TwinOption::queryListsChanged, &winMain, &TwinMain::applyQueryOptions);
    QObject::connect(&winOption, &TwinOption::totalWanted, &winMain, &TwinMain::CalcTotalTime);
    QObject::connect(&winOption, &TwinOption::floatWinRefreshWanted, &winMain, [&floatingDisplay] {
        if (TwinFloatWin* winFloatWin = floatingDisplay.winFloatWin(); winFloatWin && winFloatWin->isVisible())
            winFloatWin->FormShow();
    });
    winOption.exec();
}

} // namespace

void connectMainCommands(AppContext& context, TwinTray& winTray, TwinMain& winMain,
                         platform::AutoStart& autoStart, FloatingDisplay& floatingDisplay)
{
    QObject::connect(&winMain, &TwinMain::optionsRequested, &winMain,
                     [&context, &winTray, &winMain, &autoStart, &floatingDisplay] {
                         openOptions(context, winTray, winMain, autoStart, floatingDisplay);
                     });
    QObject::connect(&winMain, &TwinMain::companionProgramsRequested, &winMain, [&context, &winMain] {
        TwinSyn winSyn(context.appPath, context.prompter, &winMain);
        winSyn.exec();
    });
    QObject::connect(&winMain, &TwinMain::printRequested, &winMain, [&context, &winTray, &winMain] {
        PrintCommands(context, winTray.adoConnMain(), winTray.RASNotify())
            .actPrintExecute(winMain.list(), winMain.totalText(), &winMain);
    });
    QObject::connect(&winMain, &TwinMain::exportRequested, &winMain, [&context, &winTray, &winMain] {
        PrintCommands(context, winTray.adoConnMain(), winTray.RASNotify())
            .actExportExecute(winMain.list(), winMain.totalText());
    });
}

void connectCompanionStarts(AppContext& context, TwinLogin& winLogin, platform::FileOpener& opener)
{
    QObject::connect(&winLogin, &TwinLogin::companionProgramsWanted, &winLogin, [&context, &opener] {
        StartCompanionPrograms(context.appPath, context.prompter, opener);
    });
}

} // namespace xr
