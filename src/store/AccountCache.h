#pragma once
// This PC's copy of the shared server's accounts and allowances (XRUser, XRAllowance, XRGrant),
// which lets a person sign in here while the server is away.

#include <QSqlDatabase>

namespace xr {

// Reads the three tables from `server` and, where they differ from the local ones, makes the
// local ones the same in one transaction. When reading the server fails nothing changes here.
// Throws DatabaseError.
void cacheServerAccounts(const QSqlDatabase& server, const QSqlDatabase& local);

} // namespace xr
