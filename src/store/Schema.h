#pragma once
// The database's tables, index and reserved accounts, as the installation step creates them.
//
// XRUser.UserPw holds a salted Argon2id hash of the password (PasswordHash.h), never the
// password; the empty password of a new account is a hash too. XRUser.PwReset is 1 for an
// account whose empty password is to be replaced at its first sign-in (the administrator of an
// installation that asked for it), else 0. XRRecord.RxBytes and TxBytes are the bytes the
// record's connection received and sent while it lasted, NULL where the dial-up service could not
// tell. XRRecord.Station names the PC that recorded the row; Revision and CopiedRevision tell
// whether the row has changed since it was last copied to the shared server (RecordCopyTables.h).
// SchemaVersion holds one row: the schema version the file is at (SchemaUpgrade.h converts
// older files when they are opened). XRAllowance and XRGrant hold the online-time allowances and
// the extra time given (Allowances.h).

#include "store/PasswordHash.h"

#include <QSqlDatabase>
#include <QString>

namespace xr {

inline constexpr int kSchemaVersion = 5;

// Whether the built-in administrator's password is to be replaced at the first sign-in (only an
// empty one is).
enum class AdminPassword { Kept, ReplacedAtFirstSignIn };

// Creates the tables at the newest version, their indexes, the version table and the two
// reserved accounts in an empty database. Throws DatabaseError on failure.
void createSchema(QSqlDatabase& db, const QString& adminPassword, AdminPassword admin = AdminPassword::Kept,
                  HashCost cost = HashCost::Interactive);

} // namespace xr
