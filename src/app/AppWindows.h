#pragma once
// The application's windows as the tray controller and the recorder reach them: the start-up
// windows are registered here once they exist; a window not registered yet is left alone.

#include "connections/RecorderWindows.h"

#include <QPointer>

namespace xr {

class TwinDialStatus;
class Notices;
class TwinLogin;
class TwinMain;

class AppWindows : public RecorderWindows {
public:
    AppWindows() = default;
    explicit AppWindows(Notices& notices) : m_notices(&notices) {}

    void setLogin(TwinLogin* winLogin);
    void setMainWindow(TwinMain* winMain);
    // The notice popup and the floating display; registered before the tray controller starts.
    void setNotices(Notices* notices);
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
    virtual bool floatWinExists() const;
    bool noticeExists() const override;
    void showNotice(TNoticeKind kind) override;
    void playNoticeSound(TNoticeKind kind) override;
    void showOnlineTime(double sdt, double now) override;
    void showIdleBanner() override;

private:
    QPointer<TwinLogin> m_winLogin;
    QPointer<TwinMain> m_winMain;
    QPointer<TwinDialStatus> m_winDialStatus;
    Notices* m_notices = nullptr;
};

} // namespace xr
