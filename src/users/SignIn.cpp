#include "users/SignIn.h"

#include "common/AppContext.h"
#include "connections/Recorder.h"
#include "store/Identifiers.h"
#include "users/LoginMode.h"

namespace xr {

namespace {
const QString kFirstPasswordMissing =
    QStringLiteral("首次登录必须先设置新密码！\r\r没有设置新密码，本次登录没有完成。");
const QString kFirstPasswordAway =
    QStringLiteral("服务器不可用，现在不能设置新密码，本次登录没有完成。请稍后再试。");
} // namespace

SignIn::SignIn(AppContext& context, const Database& db, Recorder& recorder,
               FirstPasswordRequest askFirstPassword)
    : m_context(context), m_accounts(context.server, db), m_recorder(recorder),
      m_askFirstPassword(std::move(askFirstPassword))
{
}

SignInOutcome SignIn::attempt(int loginMode, bool connected, const QString& typedName,
                              const std::optional<QString>& typedPassword)
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
    const QList<UserAccount> accounts = matchingAccounts(name, typedPassword);
    if (accounts.size() != 1) {
        m_context.prompter.warn(QStringLiteral("不正确的用户名或密码！"));
        return SignInOutcome::NoMatch;
    }
    const UserAccount& account = accounts.constFirst();
    if (!account.Enabled) {
        m_context.prompter.warn(QStringLiteral("该用户已经被禁用！请与系统管理员联系！"));
        return SignInOutcome::AccountDisabled;
    }
    if (account.PwReset && !replaceFirstPassword(account))
        return SignInOutcome::FirstPasswordMissing;
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

QList<UserAccount> SignIn::matchingAccounts(const QString& name,
                                            const std::optional<QString>& typedPassword) const
{
    return m_accounts.read([&](const QSqlDatabase& db) {
        return typedPassword ? findAccounts(db, name, typedPassword->trimmed()) : accountsNamed(db, name);
    });
}

// Told why when the account's new password was not set.
bool SignIn::replaceFirstPassword(const UserAccount& account)
{
    if (!m_accounts.changeable()) {
        m_context.prompter.inform(kFirstPasswordAway);
        return false;
    }
    if (m_askFirstPassword(account))
        return true;
    m_context.prompter.warn(kFirstPasswordMissing);
    return false;
}

} // namespace xr
