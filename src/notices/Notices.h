#pragma once
// The notices and displays of a running program: the notice popup, the floating display, the
// about box and the help, mail and calculator commands, wired to the tray menu, the main
// window and the sign-in dialog that reach them.

#include "notices/FloatingDisplay.h"
#include "notices/NoticePopups.h"
#include "notices/utAbout.h"

#include <QObject>
#include <QPointer>

class QMenu;

namespace xr {

struct AppContext;
class TrayMenu;
class TwinLogin;
class TwinMain;

class Notices : public QObject {
    Q_OBJECT
public:
    Notices(AppContext& context, platform::Sound& sound, platform::DesktopShell& shell);

    NoticePopups& popups() { return m_popups; }
    FloatingDisplay& floatingDisplay() { return m_floatingDisplay; }

    // The tray menu's floating-display, about and help items; the display carries `pmTray`
    // and its double-click does what the menu's "open the usage browser" does.
    void connectTray(TrayMenu& trayMenu, QMenu& pmTray);
    void connectMainWindow(TwinMain& winMain);
    // After a sign-in with FloatWin set, the display opens.
    void connectLogin(TwinLogin& winLogin);

    // A new about box, shown modally, unless one is open.
    void showAbout(QWidget* owner);
    void ShowHelp();

private:
    AppContext& m_context;
    platform::DesktopShell& m_shell;
    NoticePopups m_popups;
    FloatingDisplay m_floatingDisplay;
    QPointer<TwinAbout> m_winAbout;
};

} // namespace xr
