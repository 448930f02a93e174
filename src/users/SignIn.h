#pragma once
// Signing in: checks the typed name and password against the accounts, sets the signed-in
// user and, while connected, hands the open record over or splits it by the dialog's mode. With a
// shared server the accounts are the server's, and its last copy in this PC's database while it
// is away.

#include "store/AccountStore.h"
#include "users/Accounts.h"

#include <QString>

#include <functional>
#include <optional>

namespace xr {

struct AppContext;
class Database;
class Recorder;

enum class SignInOutcome {
    NameMissing,          // refused; the name wants typing
    NameReserved,         // refused; the anonymous account's name
    NoMatch,              // refused; wrong name or password (also when several accounts match)
    AccountDisabled,      // told so; nobody was signed in
    FirstPasswordMissing, // refused; the account's empty password was not replaced
    SignedIn,
};

// The sign-in dialog's saved password, given instead of a typed one: the account with the name
// is trusted without a password, as the dialog's "保存密码" promises.
inline constexpr std::nullopt_t kSavedPassword = std::nullopt;

// Asks for the new password of an account whose empty password is to be replaced, and stores
// it; false when none was given.
using FirstPasswordRequest = std::function<bool(const UserAccount& account)>;

class SignIn {
public:
    SignIn(AppContext& context, const Database& db, Recorder& recorder,
           FirstPasswordRequest askFirstPassword);

    // Name and password are taken without surrounding blanks. Refusals are shown through the
    // context's prompter. An account marked to replace its empty password gets its new one
    // before anything else happens (refused while the server is away, as the new one could not
    // be kept). Throws DatabaseError when a statement fails.
    SignInOutcome attempt(int loginMode, bool connected, const QString& typedName,
                          const std::optional<QString>& typedPassword);

private:
    QList<UserAccount> matchingAccounts(const QString& name,
                                        const std::optional<QString>& typedPassword) const;
    bool replaceFirstPassword(const UserAccount& account);

    AppContext& m_context;
    AccountStore m_accounts;
    Recorder& m_recorder;
    FirstPasswordRequest m_askFirstPassword;
};

} // namespace xr
