#pragma once
// Stops the statements that a worker runs on a connection of its own, from another thread: a
// long read whose answer nobody wants any more ends soon with an "interrupted" DatabaseError,
// also a statement that had not started yet.

#include <QSqlDatabase>

#include <atomic>

namespace xr {

class StatementInterrupt {
public:
    // Watches the worker's open connection while this lives (it must go before the
    // connection closes).
    class Attachment {
    public:
        Attachment(StatementInterrupt& interrupt, const QSqlDatabase& db);
        ~Attachment();
        Attachment(const Attachment&) = delete;
        Attachment& operator=(const Attachment&) = delete;

    private:
        QSqlDatabase m_db;
    };

    // From any thread.
    void interrupt() { m_interrupted = true; }
    bool interrupted() const { return m_interrupted; }

private:
    std::atomic<bool> m_interrupted{false};
};

} // namespace xr
