#include "users/SignIn.h"

#include "common/AppContext.h"
#include "connections/Recorder.h"
#include "store/Identifiers.h"
#include "users/Accounts.h"
#include "users/LoginMode.h"

namespace xr {

SignIn::SignIn(AppContext& context, const Database& db, Recorder& recorder)
    : m_context(context), m_db(db), m_recorder(recorder)
{
}

SignInOutcome SignIn::attempt(int loginMode, bool connected, const QString& typedName,
                              const QString& typedPassword)
{
    const QString name = typedName.trimmed();
    if (name.isEmpty()) {
        m_context.prompter.inform(QStringLiteral("请输入用户名！"));
        return SignInOutcome::NameMissing;
    }
    if (name == kAnonymousUserName) {
        m_context.prompter.inform(QStringLiteral("该用户名为系统保留！用户不可以使用！"));
        return SignInOutcome::NameReserved;
    }
    const QList<UserAccount> accounts = findAccounts(m_db, name, typedPassword.trimmed());
    if (accounts.size() != 1) {
        m_context.prompter.warn(QStringLiteral("不正确的用户名或密码！"));
        return SignInOutcome::NoMatch;
    }
    const UserAccount& account = accounts.constFirst();
    if (!account.Enabled) {
        m_context.prompter.warn(QStringLiteral("该用户已经被禁用！请与系统管理员联系！"));
        return SignInOutcome::AccountDisabled;
    }
    TConnection& current = m_context.currentConnection;
    current.UserId = account.UserId;
    current.UserName = account.UserName;
    current.Admin = account.Admin;
    if (connected) {
        if (splitsOpenRecord(loginMode))
            m_recorder.splitOpenRecords();
        else
            m_recorder.handOverOpenRecords();
    }
    return SignInOutcome::SignedIn;
}

} // namespace xr
