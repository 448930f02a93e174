#include "connections/HangUp.h"

#include "common/AppContext.h"
#include "connections/RASNotify.h"

namespace xr {

void hangUpFirstConnection(AppContext& context, const TRASNotify& notify)
{
    if (context.prompter.confirm(QStringLiteral("断开连接吗？")))
        context.remoteAccess.hangUp(notify.Handles(0));
}

void actDisConnExecute(AppContext& context, const TRASNotify& notify)
{
    if (!notify.IsConnected()) {
        context.prompter.inform(QStringLiteral("当前没有连接到Internet！"));
        return;
    }
    hangUpFirstConnection(context, notify);
}

} // namespace xr
