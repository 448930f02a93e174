#include "users/PasswordChange.h"

#include "common/Prompter.h"
#include "store/PasswordHash.h"
#include "store/SqlCommand.h"

namespace xr {

bool changePassword(Prompter& prompter, SqlCommand& adocommSql, const QString& userId, const QString& first,
                    const QString& second)
{
    const QString password = first.trimmed();
    const QString again = second.trimmed();
    if (password.isEmpty() || again.isEmpty()) {
        prompter.warn(QStringLiteral("密码不可以是空的！"));
        return false;
    }
    if (password != again) {
        prompter.warn(QStringLiteral("两次输入的密码不一致！"));
        return false;
    }
    adocommSql.setCommandText(QStringLiteral("update XRUser set UserPw = :p, PwReset = 0 where UserId = :u"));
    adocommSql.setParameter(QStringLiteral(":p"), hashPassword(password));
    adocommSql.setParameter(QStringLiteral(":u"), userId);
    adocommSql.execute();
    return true;
}

} // namespace xr
