#pragma once
// Opens the default connection dialog from "连接设置(&O)...": modally, and only when none is
// open already.

#include "connections/utConnSetting.h"

#include <QPointer>

namespace xr {

class ConnSettingCommand {
public:
    ConnSettingCommand(AppContext& context, const TRASNotify& notify, Dialer& dialer);

    void actConnSettingExecute();
    // The open dialog, or none.
    TwinConnSetting* winConnSetting() const { return m_winConnSetting; }

private:
    AppContext& m_context;
    const TRASNotify& m_notify;
    Dialer& m_dialer;
    QPointer<TwinConnSetting> m_winConnSetting; // cleared when the dialog frees itself
};

} // namespace xr
