#pragma once
// Long work over the database (report pages, printing, PDF and CSV export) runs on a thread of
// its own, through a connection of its own (read-only to the database file, or to the shared
// server the list was read from), while the
// user-interface thread goes on with the notifier, the timers, the tray and the windows. Its
// progress window appears once the work has lasted half a second, and cancels it.

#include <QSqlDatabase>
#include <QString>

#include <functional>

class QWidget;

namespace xr {

class WorkProgress;

// The work, run on its thread: it reads through `db`, counts what it does in `progress`, and
// returns false when it stopped early because `progress` was cancelled.
using LongWorkJob = std::function<bool(const QSqlDatabase& db, WorkProgress& progress)>;

// What the progress window says: "正在导出…" and what the work counts ("条记录", "页").
struct LongWorkTexts {
    QString caption;
    QString unit;
};

// Runs `job` over the database that `listDb` (the usage list's connection) reads: the same file,
// or the same server. Its progress window (window-modal over `parent`) shows `texts`; returns
// when the job has ended: true when it ran to its end, false when it was cancelled, also by the
// program ending meanwhile. The job's error (or the database's, when it does not open) is
// thrown again here.
bool runLongWork(const LongWorkTexts& texts, QWidget* parent, const QSqlDatabase& listDb,
                 const LongWorkJob& job);

} // namespace xr
