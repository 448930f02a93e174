#pragma once
// A new password, typed twice, trimmed of blanks and stored as its hash.

#include <QString>

namespace xr {

class Prompter;
class SqlCommand;

// Refuses an empty text and two texts that differ (letter case counts) with a warning;
// otherwise stores the hash of the password for the account `userId`, which then no longer has
// an empty password to replace. True when stored: the dialog closes. Throws DatabaseError.
bool changePassword(Prompter& prompter, SqlCommand& adocommSql, const QString& userId, const QString& first,
                    const QString& second);

} // namespace xr
