#include "users/PasswordChange.h"

#include "common/AppContext.h"
#include "store/SqlCommand.h"

namespace xr {

bool changePassword(AppContext& context, SqlCommand& adocommSql, const QString& first, const QString& second)
{
    const QString password = first.trimmed();
    const QString again = second.trimmed();
    if (password.isEmpty() || again.isEmpty()) {
        context.prompter.warn(QStringLiteral("密码不可以是空的！"));
        return false;
    }
    if (password != again) {
        context.prompter.warn(QStringLiteral("两次输入的密码不一致！"));
        return false;
    }
    // Bound, never spliced into the statement: the text is stored exactly as typed.
    adocommSql.setCommandText(QStringLiteral("update XRUser set UserPw = :p where UserId = :u"));
    adocommSql.setParameter(QStringLiteral(":p"), password);
    adocommSql.setParameter(QStringLiteral(":u"), context.currentConnection.UserId);
    adocommSql.execute();
    return true;
}

} // namespace xr
