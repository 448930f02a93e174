#pragma once
// Long work over the database (report pages, printing, PDF and CSV export) runs on a thread of
// its own, through a read-only connection of its own to the database file, while the
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

// Runs `job` over the database file `databaseFile`, its progress window (window-modal over
// `parent`) showing `texts`, and returns when the job has ended: true when it ran to its end,
// false when it was cancelled, also by the program ending meanwhile. The job's error (or the
// database's, when the file does not open) is thrown again here.
bool runLongWork(const LongWorkTexts& texts, QWidget* parent, const QString& databaseFile,
                 const LongWorkJob& job);

} // namespace xr
