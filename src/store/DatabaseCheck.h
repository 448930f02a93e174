#pragma once
// Whether a file is a database of this program: it opens as SQLite, passes SQLite's quick
// check, and holds both tables with their columns and both reserved accounts.

#include <QString>

namespace xr {

bool isProgramDatabase(const QString& fileName);

} // namespace xr
