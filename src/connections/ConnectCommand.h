#pragma once
// The main window's connect command: dials the default connection unless one is up already.

namespace xr {

class Dialer;
class Prompter;
class TRASNotify;

void actConnectExecute(const TRASNotify& notify, Dialer& dialer, Prompter& prompter);

} // namespace xr
