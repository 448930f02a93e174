#pragma once
// The commands of the main window and the sign-in whose windows and services live outside
// them: the options dialog, the companion program list and its starts after a sign-in, printing
// and exporting the listed records.

namespace xr {

struct AppContext;
class FloatingDisplay;
class TwinLogin;
class TwinMain;
class TwinTray;
namespace platform {
class AutoStart;
class FileOpener;
} // namespace platform

void connectMainCommands(AppContext& context, TwinTray& winTray, TwinMain& winMain,
                         platform::AutoStart& autoStart, FloatingDisplay& floatingDisplay);
// A sign-in that asks for the companion programs starts them with `opener`.
void connectCompanionStarts(AppContext& context, TwinLogin& winLogin, platform::FileOpener& opener);

} // namespace xr
