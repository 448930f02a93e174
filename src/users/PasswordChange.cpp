#include "users/PasswordChange.h"

#include "common/Prompter.h"
#include "store/AccountStore.h"
#include "store/PasswordHash.h"
#include "store/Statement.h"

namespace xr {

bool changePassword(Prompter& prompter, const AccountStore& accounts, const QString& userId,
                    const QString& first, const QString& second)
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
    const QString hash = hashPassword(password);
    const bool stored = accounts.change([&](const QSqlDatabase& db) {
        runStatement(db, QStringLiteral("update XRUser set UserPw = :p, PwReset = 0 where UserId = :u"),
                     {{QStringLiteral(":p"), hash}, {QStringLiteral(":u"), userId}});
    });
    if (!stored)
        prompter.inform(QStringLiteral("服务器不可用，现在不能修改密码。请稍后再试。"));
    return stored;
}

} // namespace xr
