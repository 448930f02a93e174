#pragma once
// Which database file a heartbeat belongs to: its absolute path and the moment the file was
// created. A restored or newly installed database is a new file, so it has another creation.

#include <QString>

namespace xr {

struct DatabaseIdentity {
    QString path;    // absolute path of the database file
    QString created; // creation moment (UTC, milliseconds); empty where the file system keeps none

    bool operator==(const DatabaseIdentity&) const = default;
};

DatabaseIdentity databaseIdentity(const QString& databaseFile);

} // namespace xr
