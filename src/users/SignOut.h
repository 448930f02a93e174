#pragma once
// Sign-out, from the tray or the main window: refused while a connection is up, confirmed by
// the user, then nobody is signed in.

namespace xr {

struct AppContext;

// True when the user was signed out; the caller then closes the main window.
bool SignOut(AppContext& context, bool connected);

} // namespace xr
