#include "connections/ConnSettingCommand.h"

namespace xr {

ConnSettingCommand::ConnSettingCommand(AppContext& context, const TRASNotify& notify, Dialer& dialer)
    : m_context(context), m_notify(notify), m_dialer(dialer)
{
}

void ConnSettingCommand::actConnSettingExecute()
{
    if (m_winConnSetting)
        return;
    m_winConnSetting = new TwinConnSetting(m_context, m_notify, m_dialer);
    m_winConnSetting->exec();
}

} // namespace xr
