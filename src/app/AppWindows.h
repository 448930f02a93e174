#pragma once
// The application's windows as the tray controller and the recorder reach them: the start-up
// windows are registered here once they exist; a window not registered yet is left alone.

#include "store/RecorderWindows.h"

#include <QPointer>

namespace xr {

class TwinDialStatus;
class TwinLogin;
class TwinMain;

class AppWindows : public RecorderWindows {
public:
    void setLogin(TwinLogin* winLogin);
    void setMainWindow(TwinMain* winMain);
    TwinLogin* winLogin() const;
    void setDialStatus(TwinDialStatus* winDialStatus);

    // A connection came up: the dial status window closes if it is showing.
    void closeDialStatus() override;

    // Sets the sign-in dialog's LoginMode and shows it: modally for a change of user,
    // otherwise without waiting.
    void showLogin(int loginMode) override;
    void showConnectionInMain(const QString& connName, double sdt) override;
    void syncMainConnectionCommands(bool connected) override;
    virtual void showMainWindow();
    virtual void closeMainWindowIfShowing();
    // Whether the floating display exists; it is never registered here yet.
    virtual bool floatWinExists() const { return false; }

private:
    QPointer<TwinLogin> m_winLogin;
    QPointer<TwinMain> m_winMain;
    QPointer<TwinDialStatus> m_winDialStatus;
};

} // namespace xr
