#pragma once
// What the recorder asks of the windows (notice popup, sign-in dialog, main window, floating
// display, dial status). Each window fills its part; a window that does not exist does nothing.

#include <QString>

namespace xr {

// nkAllowance: the person's online time runs out soon.
enum class TNoticeKind { nkNoUser = 0, nkDisconnected = 1, nkUser = 2, nkAllowance = 3 };
inline constexpr int kLoginModeConnectionUp = 3;

class RecorderWindows {
public:
    virtual ~RecorderWindows() = default;

    virtual void closeDialStatus() {}
    virtual bool noticeExists() const { return false; }
    virtual void showNotice(TNoticeKind) {}
    // The sound of a notice, without the popup.
    virtual void playNoticeSound(TNoticeKind) {}
    virtual void showLogin(int /*loginMode*/) {}
    // The main window's status bar and clock, when it is showing.
    virtual void showConnectionInMain(const QString& /*connName*/, double /*sdt*/) {}
    // The main window's connect and disconnect commands, when it is showing.
    virtual void syncMainConnectionCommands(bool /*connected*/) {}
    // The floating display, when it is showing: the online time from `sdt` to `now` (day
    // counts), or the idle banner.
    virtual void showOnlineTime(double /*sdt*/, double /*now*/) {}
    virtual void showIdleBanner() {}
};

} // namespace xr
