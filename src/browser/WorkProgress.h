#pragma once
// How far a long piece of work has come, shared by the thread that does it and the window that
// shows it, with the window's request that it stop.

#include <QtGlobal>

#include <atomic>

namespace xr {

class WorkProgress {
public:
    // What the work counts (records, pages), all of it and done so far.
    void setTotal(qint64 total) { m_total.store(total, std::memory_order_relaxed); }
    qint64 total() const { return m_total.load(std::memory_order_relaxed); }
    void setDone(qint64 done) { m_done.store(done, std::memory_order_relaxed); }
    qint64 done() const { return m_done.load(std::memory_order_relaxed); }

    // Asks the work to stop; it looks often enough to stop within a moment.
    void cancel() { m_cancelled.store(true, std::memory_order_relaxed); }
    bool cancelled() const { return m_cancelled.load(std::memory_order_relaxed); }

private:
    std::atomic<qint64> m_total{0};
    std::atomic<qint64> m_done{0};
    std::atomic<bool> m_cancelled{false};
};

} // namespace xr
