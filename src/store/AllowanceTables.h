#pragma once
// The tables of the online-time allowances, made by the installation and by the schema step
// that brings an older file to them: XRAllowance (one row per person with a limit; NULL minutes
// mean no limit for that period), XRGrant (each one-off extra for a day, with who gave it), and
// the index on XRRecord(UserId, Edt) that finds a person's records of the present month without
// reading the rest of them.

#include <QSqlDatabase>

namespace xr {

// Throws DatabaseError.
void createAllowanceTables(const QSqlDatabase& db);

} // namespace xr
