#pragma once
// The notices and displays of a running program: the notice popup, the floating display, the
// about box and the help, mail and calculator commands, wired to the main window and the
// sign-in dialog that reach them (the tray menu, above them, wires its own items).

#include "notices/FloatingDisplay.h"
#include "notices/NoticePopups.h"
#include "notices/utAbout.h"

#include <QObject>
#include <QPointer>

namespace xr {

struct AppContext;
class TwinLogin;
class TwinMain;

class Notices : public QObject {
    Q_OBJECT
public:
    Notices(AppContext& context, platform::Sound& sound, platform::DesktopShell& shell);

    NoticePopups& popups() { return m_popups; }
    FloatingDisplay& floatingDisplay() { return m_floatingDisplay; }

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
