#pragma once
// Copies the database file as a whole over a target, which is replaced only once the copy is
// complete. Between statements the live file alone is the whole database (rollback journal),
// so the copy is consistent.

#include <QString>

namespace xr {

bool copyDatabaseFile(const QString& source, const QString& target);

} // namespace xr
