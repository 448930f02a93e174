#pragma once
// Signing in: checks the typed name and password against the accounts, sets the signed-in
// user and, while connected, hands the open record over or splits it by the dialog's mode.

#include <QString>

namespace xr {

struct AppContext;
class Database;
class Recorder;

enum class SignInOutcome {
    NameMissing,     // refused; the name wants typing
    NameReserved,    // refused; the anonymous account's name
    NoMatch,         // refused; wrong name or password (also when several accounts match)
    AccountDisabled, // told so; nobody was signed in
    SignedIn,
};

class SignIn {
public:
    SignIn(AppContext& context, const Database& db, Recorder& recorder);

    // Name and password are taken without surrounding blanks. Refusals are shown through the
    // context's prompter. Throws DatabaseError when a statement fails.
    SignInOutcome attempt(int loginMode, bool connected, const QString& typedName,
                          const QString& typedPassword);

private:
    AppContext& m_context;
    const Database& m_db;
    Recorder& m_recorder;
};

} // namespace xr
