#include "store/AccountStore.h"

#include "common/ServerLink.h"
#include "store/Database.h"
#include "store/DatabaseError.h"
#include "store/Transaction.h"

namespace xr {

namespace {

const QString kChangeAccounts = QStringLiteral("修改用户");

} // namespace

AccountStore::AccountStore(ServerLink& server, const Database& local) : m_server(server), m_local(local) {}

void AccountStore::readWith(const Work& work) const
{
    if (m_server.isSet()) {
        const QSqlDatabase server = m_server.connection();
        if (server.isValid()) {
            try {
                work(server);
                return;
            } catch (const DatabaseError&) {
                if (!m_server.wentAway())
                    throw;
            }
        }
    }
    work(m_local.connection());
}

bool AccountStore::changeable() const
{
    return changeDatabase().isValid();
}

bool AccountStore::change(const Work& change) const
{
    const QSqlDatabase db = changeDatabase();
    if (!db.isValid())
        return false;
    try {
        // The server's transaction is rolled back before anybody asks it whether it still
        // answers: an aborted transaction refuses every statement until then.
        runInTransaction(db, kChangeAccounts, [&] { change(db); });
    } catch (const DatabaseError&) {
        if (m_server.isSet() && m_server.wentAway())
            return false;
        throw;
    }
    return true;
}

// The server's connection (invalid while it is away), or the PC's database without a server.
QSqlDatabase AccountStore::changeDatabase() const
{
    return m_server.isSet() ? m_server.connection() : m_local.connection();
}

} // namespace xr
