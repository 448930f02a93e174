#pragma once
// Copies of the database made with SQLite's online backup: a copy is the whole database as it
// stood at one moment, also while the program writes to it, and an ordinary database file of
// its own. The target is replaced only once its copy is complete.

#include <QSqlDatabase>
#include <QString>

namespace xr {

// Copies the open database `source` to the file `target`. False when the copy cannot be made,
// or when `target` is the source's own file.
bool backupDatabase(const QSqlDatabase& source, const QString& target);

// Copies the database file `source`, opened for reading only, to `target`. False when the
// source does not open as a database, the copy cannot be made, or both name the same file.
bool copyDatabaseFile(const QString& source, const QString& target);

} // namespace xr
