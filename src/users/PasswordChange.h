#pragma once
// The signed-in user's new password: typed twice, trimmed of blanks, stored as typed.

#include <QString>

namespace xr {

struct AppContext;
class SqlCommand;

// Refuses an empty text and two texts that differ (letter case counts) with a warning;
// otherwise stores the password for the signed-in account. True when stored: the dialog closes.
// Throws DatabaseError.
bool changePassword(AppContext& context, SqlCommand& adocommSql, const QString& first, const QString& second);

} // namespace xr
