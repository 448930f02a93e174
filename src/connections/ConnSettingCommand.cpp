#include "connections/ConnSettingCommand.h"

namespace xr {

ConnSettingCommand::ConnSettingCommand(AppContext& context, const TRASNotify& notify, Dialer& dialer)
    : m_context(context), m_notify(notify), m_dialer(dialer)
{
}

void ConnSettingCommand::actConnSettingExecute(QWidget& owner)
{
    if (m_winConnSetting)
        return;
    m_winConnSetting = new TwinConnSetting(m_context, m_notify, m_dialer, &owner);
    m_winConnSetting->setWindowModality(Qt::WindowModal);
    m_winConnSetting->exec();
}

} // namespace xr
