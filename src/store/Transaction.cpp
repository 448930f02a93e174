#include "store/Transaction.h"

#include "store/DatabaseError.h"

namespace xr {

void runInTransaction(QSqlDatabase db, const QString& operation, const std::function<void()>& work)
{
    if (!db.transaction())
        throw DatabaseError(db.lastError(), operation);
    try {
        work();
    } catch (...) {
        db.rollback(); // on a connection that has gone away the server rolls back by itself
        throw;
    }
    if (!db.commit()) {
        const QSqlError error = db.lastError();
        db.rollback();
        throw DatabaseError(error, operation);
    }
}

} // namespace xr
