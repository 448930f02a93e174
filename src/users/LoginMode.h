#pragma once
// Why the sign-in dialog was opened; it decides the dialog's caption and what a sign-in does
// with an open record and the main window.

#include "connections/RecorderWindows.h"

namespace xr {

inline constexpr int kLoginModeTray = 0;        // the tray menu's sign-in item
inline constexpr int kLoginModeChangeUser = 1;  // change of user from the main window (modal)
inline constexpr int kLoginModeOpenManager = 2; // opening the main window while nobody is signed in
// kLoginModeConnectionUp (3): a connection came up while nobody was signed in.

// A change of user splits the open record; every other sign-in hands it over.
inline bool splitsOpenRecord(int loginMode)
{
    return loginMode == kLoginModeChangeUser;
}
// The main window follows a sign-in opened from it or for it.
inline bool showsMainWindowAfterSignIn(int loginMode)
{
    return loginMode == kLoginModeChangeUser || loginMode == kLoginModeOpenManager;
}

} // namespace xr
