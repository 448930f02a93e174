#include "users/SignOut.h"

#include "common/AppContext.h"

namespace xr {

bool SignOut(AppContext& context, bool connected)
{
    if (connected) {
        context.prompter.inform(QStringLiteral("在连接状态下用户不可以注销！"));
        return false;
    }
    if (!context.prompter.confirm(QStringLiteral("注销吗？")))
        return false;
    ClearCurrentUser(context.currentConnection);
    return true;
}

} // namespace xr
