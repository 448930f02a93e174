#pragma once
// Work done in one transaction: all of it is committed, or none of it.

#include <QSqlDatabase>
#include <QString>

#include <functional>

namespace xr {

// Runs `work` in a transaction on `db` and commits it; when `work` throws, or the commit fails,
// the transaction is rolled back and a DatabaseError (or what `work` threw) leaves. `operation`
// says what is done, in the user's words, for the error's text.
void runInTransaction(QSqlDatabase db, const QString& operation, const std::function<void()>& work);

} // namespace xr
