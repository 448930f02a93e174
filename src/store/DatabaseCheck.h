#pragma once
// Whether a file is a database of this program: it opens as SQLite, passes SQLite's quick
// check, and holds both tables with their columns and both reserved accounts. A file of an
// older schema version is one (it is converted when it is opened); one of a newer version is
// told apart, since this program cannot use it.

#include <QString>

namespace xr {

enum class DatabaseFileCheck { Ours, NotOurs, Newer };

DatabaseFileCheck checkDatabaseFile(const QString& fileName);

} // namespace xr
