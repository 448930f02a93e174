#pragma once
// Opens the default connection dialog from "连接设置(&O)...": modal to the main window, and only
// when none is open already.

#include "connections/utConnSetting.h"

#include <QPointer>

namespace xr {

class ConnSettingCommand {
public:
    ConnSettingCommand(AppContext& context, const TRASNotify& notify, Dialer& dialer);

    // `owner` is the main window, the one window the dialog blocks: the dial status window that
    // its dial button opens must keep taking the mouse and the keyboard.
    void actConnSettingExecute(QWidget& owner);
    // The open dialog, or none.
    TwinConnSetting* winConnSetting() const { return m_winConnSetting; }

private:
    AppContext& m_context;
    const TRASNotify& m_notify;
    Dialer& m_dialer;
    QPointer<TwinConnSetting> m_winConnSetting; // cleared when the dialog frees itself
};

} // namespace xr
