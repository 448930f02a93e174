#pragma once
// A new password, typed twice, trimmed of blanks and stored as its hash where the accounts are
// kept.

#include <QString>

namespace xr {

class AccountStore;
class Prompter;

// Refuses an empty text and two texts that differ (letter case counts) with a warning, and a
// change while the shared server is away with a message; otherwise stores the hash of the
// password for the account `userId`, which then no longer has an empty password to replace. True
// when stored: the dialog closes. Throws DatabaseError.
bool changePassword(Prompter& prompter, const AccountStore& accounts, const QString& userId,
                    const QString& first, const QString& second);

} // namespace xr
