#pragma once
// Giving an anonymous usage record to a real user: which list it may come from, the accounts
// it may go to, and the question asked before.

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

namespace xr {

class RecordQuery;

struct AssignableUsers {
    QStringList names;
    QStringList ids; // parallel to names
};

// The list's statement filters by user (":u") and that user is the anonymous account.
bool listsAnonymousRecords(const RecordQuery& list);

// Every account but the anonymous one, the built-in account included, in the table's order.
// Throws DatabaseError.
AssignableUsers assignableUsers(const QSqlDatabase& db);

// "把该匿名用户的上网记录指定给用户： NAME 吗？"
QString moveRecordQuestion(const QString& userName);

} // namespace xr
