#pragma once
// Where the accounts and the allowances are kept now: on the shared server while one is set and
// answers (one account, one allowance, every PC's records), else in this PC's own database. While
// a set server is away, the PC's database holds the last copy of the server's accounts: it may
// be read (a person still signs in) but not changed, so that nothing is lost when the server's
// copy comes back over it.

#include <QSqlDatabase>

#include <functional>
#include <optional>

namespace xr {

class Database;
class ServerLink;

class AccountStore {
public:
    using Work = std::function<void(const QSqlDatabase& db)>;

    AccountStore(ServerLink& server, const Database& local);

    // The result of `read(db)` on the server when it answers, else on the PC's database (also when
    // the server stops answering during the read). Throws DatabaseError when a statement fails
    // for another reason.
    template <class Read> auto read(Read read) const
    {
        std::optional<decltype(read(QSqlDatabase()))> result;
        readWith([&](const QSqlDatabase& db) { result.emplace(read(db)); });
        return std::move(*result);
    }
    void readWith(const Work& work) const;

    // Whether accounts and allowances may be changed now: not while a set server is away.
    bool changeable() const;

    // Runs `change(db)` as one transaction where accounts are kept. False, with nothing changed,
    // when the server is away or stops answering during it. Throws DatabaseError when a statement
    // fails for another reason (nothing is changed then either).
    bool change(const Work& change) const;

private:
    QSqlDatabase changeDatabase() const;

    ServerLink& m_server;
    const Database& m_local;
};

} // namespace xr
