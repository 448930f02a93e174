#pragma once
// The schema-version mechanism. A database file records the schema version it is at in the
// table SchemaVersion; a file of ours from before that table is at version 1. Opening a file
// runs the steps it lacks, each taking it from one version to the next, in one transaction:
// an older file and a restored old backup are converted, and a failed conversion leaves the
// file as it was. A file newer than this program is refused untouched.
//
// A new version is one more step function in the list of SchemaUpgrade.cpp, kSchemaVersion
// raised by one (Schema.h), and createSchema making the new version directly.

#include <QSqlDatabase>

namespace xr {

// The version the open database is at. Throws DatabaseError.
int schemaVersion(const QSqlDatabase& db);

// Brings the open database of ours to kSchemaVersion. Throws DatabaseError with a text for the
// user when the file is newer than this program, when it needs converting but cannot be
// written, or when a step fails.
void upgradeSchema(const QSqlDatabase& db);

} // namespace xr
