#pragma once
// Hanging up from the tray or the main window: after the question "断开连接吗？" the first
// listed connection is ended. The record is closed when the recorder sees it gone.

namespace xr {

struct AppContext;
class TRASNotify;

void hangUpFirstConnection(AppContext& context, const TRASNotify& notify);

// The main window's command: says so when nothing is connected, otherwise hangs up.
void actDisConnExecute(AppContext& context, const TRASNotify& notify);

} // namespace xr
